#include "report/ReportFile.h"

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FakePlatform.h"

namespace velmora {
namespace {

using report::EncodeReport;
using report::WriteWholeFile;

// A character outside the Basic Multilingual Plane becomes a surrogate pair.
TEST(ReportEncoding, ByteOrderMarkThenUtf16LittleEndian) {
  EXPECT_EQ(EncodeReport("A\xC3\xA9\r\n\xF0\x9F\x98\x80"),
            std::string("\xFF\xFE"
                        "A\0\xE9\0\r\0\n\0\x3D\xD8\x00\xDE",
                        14));
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

// Each step failing in turn, for its own reason: the failure is reported
// with its number, the earlier report stays and no unfinished file is left.
TEST(WholeFile, AFailingStepLeavesTheEarlierReportAsItWas) {
  platform::FakeFileSystem files;
  files.AddFile("C:\\Reports\\old.txt", "the earlier report");
  ExpectFailure(files, "C:\\Nowhere\\r.txt", "x", platform::kErrorPathNotFound);
  const std::string big(200 * 1024, 'r');  // written in more than one piece
  files.FailWrite(2, platform::kErrorDiskFull, 100);
  ExpectFailure(files, "C:\\Reports\\old.txt", big, platform::kErrorDiskFull);
  files.FailFlush(platform::kErrorInvalidHandle);
  ExpectFailure(files, "C:\\Reports\\old.txt", big, platform::kErrorInvalidHandle);
  files.FailFlush(platform::kErrorSuccess);
  files.FailMove(platform::kErrorAccessDenied);
  ExpectFailure(files, "C:\\Reports\\old.txt", big, platform::kErrorAccessDenied);
  EXPECT_EQ(files.Content("C:\\Reports\\old.txt"), "the earlier report");
  EXPECT_EQ(files.FilesIn("C:\\").size(), 1u);
}

}  // namespace
}  // namespace velmora
