// The report's existence notes and its file, on the double and, on Windows,
// on real files through the Win32 binding, with names outside ASCII.
#include "report/ReportFile.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "report/ExistenceNotes.h"
#include "support/PlatformTest.h"

namespace velmora {
namespace {

using report::WriteWholeFile;

class ReportFile : public testing_support::PlatformTest {};

// What the report says of a place, for places that are there and for ones
// that cannot be (where some platforms fail the question itself).
TEST_P(ReportFile, NotesTellFoldersFromFilesAndAnythingElseIsNotFound) {
  const std::string folder = Test().MakeFolder("Földer");
  const std::string file = Test().MakeFile("Földer\\日本.txt", "x");
  const char* noFolder = " !! (Folder not found)";
  const char* noFile = " !! (File not found)";
  const struct {
    std::string path;
    const char* folderNote;
    const char* fileNote;
  } cases[] = {
      {folder, " (Folder exists)", noFile},
      {file, noFolder, " (File exists)"},
      {file + "\\inside", noFolder, noFile},
      {folder + "\\missing", noFolder, noFile},
      {folder + "\\missing\\deeper", noFolder, noFile},
      {folder + "\\fi|le.txt", noFolder, noFile},
      {folder + "\\fol<der>", noFolder, noFile},
      {std::string(5000, 'x'), noFolder, noFile},
      {"   ", noFolder, noFile},  // blanks are asked about, not skipped
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 80));
    EXPECT_EQ(report::FolderNote(Os(), c.path), c.folderNote);
    EXPECT_EQ(report::FileNote(Os(), c.path), c.fileNote);
  }
}

// The report's bytes: the byte-order mark, then UTF-16 little-endian (a
// character outside the Basic Multilingual Plane a surrogate pair). The file
// is written new beside the target, passing over a name someone else holds,
// then moved into its place. In a missing folder nothing is made.
TEST_P(ReportFile, AWholeFileReplacesTheOldOneAndLeavesNothingBeside) {
  const std::string target = Test().MakeFile("Földer\\Répört.txt", "old");
  const std::string taken = Test().MakeFile("Földer\\Répört.txt.~1.tmp", "not ours");
  WriteWholeFile(Os().files, target, report::EncodeReport("A\xC3\xA9\r\n\xF0\x9F\x98\x80"));
  EXPECT_EQ(Test().ReadFile(target), std::string("\xFF\xFE"
                                                 "A\0\xE9\0\r\0\n\0\x3D\xD8\x00\xDE",
                                                 14));
  EXPECT_EQ(Test().ReadFile(taken), "not ours");
  const std::string missing = Test().MakeFolder("Földer") + "\\missing\\r.txt";
  EXPECT_THROW(WriteWholeFile(Os().files, missing, "x"), platform::Failure);
  EXPECT_EQ(Test().ReadFile(target + ".~2.tmp"), std::nullopt);
}

VELMORA_ON_EVERY_BINDING(ReportFile);

// Each step failing in turn, for its own reason: the failure is reported
// with its number, no file is left open, the earlier report stays and no
// unfinished file is left.
TEST(WholeFile, AFailingStepLeavesTheEarlierReportAsItWas) {
  platform::FakeFileSystem files;
  files.AddFile("C:\\Reports\\old.txt", "the earlier report");
  const std::string big(200 * 1024, 'r');  // written in more than one piece
  const struct {
    void (*fail)(platform::FakeFileSystem&);
    std::int32_t number;
  } steps[] = {
      {[](auto& f) { f.FailWrite(2, platform::kErrorDiskFull, 100); }, platform::kErrorDiskFull},
      {[](auto& f) { f.FailFlush(platform::kErrorInvalidHandle); }, platform::kErrorInvalidHandle},
      {[](auto& f) {
         f.FailFlush(platform::kErrorSuccess);
         f.FailMove(platform::kErrorAccessDenied);
       },
       platform::kErrorAccessDenied},
  };
  for (const auto& step : steps) {
    step.fail(files);
    try {
      WriteWholeFile(files, "C:\\Reports\\old.txt", big);
      ADD_FAILURE() << "the write was reported as done";
    } catch (const platform::Failure& failure) {
      EXPECT_EQ(failure.Number(), step.number);
      EXPECT_FALSE(failure.Description().empty());
    }
    EXPECT_EQ(files.OpenFiles(), 0);
  }
  EXPECT_EQ(files.Content("C:\\Reports\\old.txt"), "the earlier report");
  EXPECT_EQ(files.FilesIn("C:\\").size(), 1u);
}

}  // namespace
}  // namespace velmora
