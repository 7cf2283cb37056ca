#include "report/ReportFile.h"

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#include "support/ScratchFolder.h"

namespace {

using modReport::EncodeReport;
using modReport::WriteWholeFile;

TEST(ReportEncoding, ByteOrderMarkThenUtf16LittleEndian) {
  EXPECT_EQ(EncodeReport(""), std::string("\xFF\xFE", 2));
  EXPECT_EQ(EncodeReport("A\xC3\xA9\r\n"), std::string("\xFF\xFE"
                                                       "A\0\xE9\0\r\0\n\0",
                                                       10));
  // A character outside the Basic Multilingual Plane becomes a surrogate pair.
  EXPECT_EQ(EncodeReport("\xF0\x9F\x98\x80"), std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6));
}

class WholeFileOnDouble : public ::testing::Test {
 protected:
  WholeFileOnDouble() {
    files_.AddFolder("C:\\Reports");
    files_.AddFile("C:\\Reports\\old.txt", "the earlier report");
  }

  // Writes and expects a failure with the given number.
  void ExpectFailure(const std::string& path, std::string_view bytes, std::int32_t number) {
    try {
      WriteWholeFile(files_, path, bytes);
      ADD_FAILURE() << "the write was reported as done";
    } catch (const platform::Failure& failure) {
      EXPECT_EQ(failure.Number(), number);
      EXPECT_FALSE(failure.Description().empty());
    }
    EXPECT_EQ(files_.OpenFiles(), 0);
  }

  platform::FakeFileSystem files_;
};

TEST_F(WholeFileOnDouble, WritesANewFileAndLeavesNothingElse) {
  WriteWholeFile(files_, "C:\\Reports\\new.txt", "abc");
  EXPECT_EQ(files_.Content("C:\\Reports\\new.txt"), "abc");
  EXPECT_EQ(files_.FilesIn("C:\\Reports").size(), 2u);
  EXPECT_EQ(files_.OpenFiles(), 0);
}

TEST_F(WholeFileOnDouble, SecondWriteToTheSamePathLeavesOnlyTheSecond) {
  WriteWholeFile(files_, "C:\\Reports\\old.txt", "first");
  WriteWholeFile(files_, "C:\\Reports\\old.txt", "second");
  EXPECT_EQ(files_.Content("C:\\Reports\\old.txt"), "second");
  EXPECT_EQ(files_.FilesIn("C:\\Reports").size(), 1u);
}

TEST_F(WholeFileOnDouble, WriteFailingPartWayLeavesTheExistingFileAsItWas) {
  const std::string big(200 * 1024, 'r');  // written in more than one piece
  files_.FailWrite(2, platform::kErrorDiskFull, 100);
  ExpectFailure("C:\\Reports\\old.txt", big, platform::kErrorDiskFull);
  EXPECT_EQ(files_.Content("C:\\Reports\\old.txt"), "the earlier report");
  EXPECT_EQ(files_.FilesIn("C:\\Reports").size(), 1u) << "the unfinished file is removed";
}

TEST_F(WholeFileOnDouble, FailedFlushOrReplaceLeavesTheExistingFileAsItWas) {
  files_.FailFlush(platform::kErrorDiskFull);
  ExpectFailure("C:\\Reports\\old.txt", "new", platform::kErrorDiskFull);
  files_.FailFlush(0);
  files_.FailMove(platform::kErrorAccessDenied);
  ExpectFailure("C:\\Reports\\old.txt", "new", platform::kErrorAccessDenied);
  EXPECT_EQ(files_.Content("C:\\Reports\\old.txt"), "the earlier report");
  EXPECT_EQ(files_.FilesIn("C:\\Reports").size(), 1u);
}

TEST_F(WholeFileOnDouble, MissingFolderWritesNothing) {
  ExpectFailure("C:\\Nowhere\\r.txt", "x", platform::kErrorPathNotFound);
  EXPECT_FALSE(files_.Content("C:\\Nowhere\\r.txt"));
}

TEST_F(WholeFileOnDouble, ATakenTemporaryNameIsPassedOverAndKept) {
  files_.AddFile("C:\\Reports\\r.txt.~1.tmp", "not ours");
  WriteWholeFile(files_, "C:\\Reports\\r.txt", "report");
  EXPECT_EQ(files_.Content("C:\\Reports\\r.txt"), "report");
  EXPECT_EQ(files_.Content("C:\\Reports\\r.txt.~1.tmp"), "not ours");
}

TEST(WholeFileOnRealFiles, ReplacesAnExistingFileAndReadsBackByteForByte) {
  testing_support::ScratchFolder scratch;
  scratch.MakeFile("report.txt", "old");
  const std::string bytes = EncodeReport("line one\r\nGrüße \xF0\x9F\x98\x80\r\n");
  WriteWholeFile(testing_support::RealFileSystem(), scratch.Join("report.txt"), bytes);
  EXPECT_EQ(scratch.Read("report.txt"), bytes);
  EXPECT_EQ(scratch.EntryCount(), 1);
}

TEST(WholeFileOnRealFiles, MissingFolderFailsAndCreatesNothing) {
  testing_support::ScratchFolder scratch;
  EXPECT_THROW(
      WriteWholeFile(testing_support::RealFileSystem(), scratch.Join("missing") + "/r.txt", "x"),
      platform::Failure);
  EXPECT_EQ(scratch.EntryCount(), 0);
}

}  // namespace
