#include "report/ReportFile.h"

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#include "support/ScratchFolder.h"

namespace {

using modReport::EncodeReport;
using modReport::WriteWholeFile;

TEST(ReportEncoding, ByteOrderMarkThenUtf16LittleEndian) {
  EXPECT_EQ(EncodeReport(""), "\xFF\xFE");
  EXPECT_EQ(EncodeReport("A\xC3\xA9\r\n"), std::string("\xFF\xFE"
                                                       "A\0\xE9\0\r\0\n\0",
                                                       10));
  // A character outside the Basic Multilingual Plane becomes a surrogate pair.
  EXPECT_EQ(EncodeReport("\xF0\x9F\x98\x80"), std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6));
}

// Writes and expects a failure with the given number, and no file left open.
void ExpectFailure(platform::FakeFileSystem& files, const std::string& path, std::string_view bytes,
                   std::int32_t number) {
  try {
    WriteWholeFile(files, path, bytes);
    ADD_FAILURE() << "the write was reported as done";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.Number(), number);
    EXPECT_FALSE(failure.Description().empty());
  }
  EXPECT_EQ(files.OpenFiles(), 0);
}

class WholeFile : public ::testing::Test {
 protected:
  WholeFile() { files_.AddFile("C:\\Reports\\old.txt", "the earlier report"); }

  platform::FakeFileSystem files_;
};

TEST_F(WholeFile, ReplacesTheTargetPassingOverATakenTemporaryName) {
  files_.AddFile("C:\\Reports\\old.txt.~1.tmp", "not ours");
  WriteWholeFile(files_, "C:\\Reports\\new.txt", "new");
  WriteWholeFile(files_, "C:\\Reports\\old.txt", "first");
  WriteWholeFile(files_, "C:\\Reports\\old.txt", "second");
  EXPECT_EQ(files_.Content("C:\\Reports\\new.txt"), "new");
  EXPECT_EQ(files_.Content("C:\\Reports\\old.txt"), "second");
  EXPECT_EQ(files_.Content("C:\\Reports\\old.txt.~1.tmp"), "not ours");
  EXPECT_EQ(files_.FilesIn("C:\\Reports").size(), 3u);
  EXPECT_EQ(files_.OpenFiles(), 0);
}

// Each step failing in turn, for its own reason: the failure is reported
// with its number, the earlier report stays and no unfinished file is left.
TEST_F(WholeFile, AFailingStepLeavesTheEarlierReportAsItWas) {
  ExpectFailure(files_, "C:\\Nowhere\\r.txt", "x", platform::kErrorPathNotFound);
  const std::string big(200 * 1024, 'r');  // written in more than one piece
  files_.FailWrite(2, platform::kErrorDiskFull, 100);
  ExpectFailure(files_, "C:\\Reports\\old.txt", big, platform::kErrorDiskFull);
  files_.FailFlush(platform::kErrorInvalidHandle);
  ExpectFailure(files_, "C:\\Reports\\old.txt", big, platform::kErrorInvalidHandle);
  files_.FailFlush(platform::kErrorSuccess);
  files_.FailMove(platform::kErrorAccessDenied);
  ExpectFailure(files_, "C:\\Reports\\old.txt", big, platform::kErrorAccessDenied);
  EXPECT_EQ(files_.Content("C:\\Reports\\old.txt"), "the earlier report");
  EXPECT_EQ(files_.FilesIn("C:\\").size(), 1u);
}

TEST(WholeFileOnRealFiles, ReplacesByteForByteAndCreatesNothingInAMissingFolder) {
  testing_support::ScratchFolder scratch;
  scratch.MakeFile("report.txt", "old");
  const std::string bytes = EncodeReport("line one\r\nGrüße \xF0\x9F\x98\x80\r\n");
  WriteWholeFile(testing_support::RealFileSystem(), scratch.Join("report.txt"), bytes);
  EXPECT_EQ(scratch.Read("report.txt"), bytes);
  EXPECT_THROW(
      WriteWholeFile(testing_support::RealFileSystem(), scratch.Join("missing") + "/r.txt", "x"),
      platform::Failure);
  EXPECT_EQ(scratch.EntryCount(), 1);
}

}  // namespace
