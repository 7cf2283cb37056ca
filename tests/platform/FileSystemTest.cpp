// The file-system double answers as the real file system does: the same
// suite runs against the double and, on Windows, against real files through
// the Win32 binding, with names outside ASCII.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "report/ExistenceNotes.h"
#include "report/ReportFile.h"
#include "support/PlatformTest.h"

namespace velmora {
namespace {

class FileSystem : public testing_support::PlatformTest {};

// What the report says of a place, for places that are there and for ones
// that cannot be (where some platforms fail the question itself).
TEST_P(FileSystem, NotesTellFoldersFromFilesAndAnythingElseIsNotFound) {
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

// The report's way of writing a file: new beside the target, passing over a
// name someone else holds, then moved into its place. In a missing folder
// nothing is made.
TEST_P(FileSystem, AWholeFileReplacesTheOldOneAndLeavesNothingBeside) {
  const std::string target = Test().MakeFile("Földer\\Répört.txt", "old");
  const std::string taken = Test().MakeFile("Földer\\Répört.txt.~1.tmp", "not ours");
  const std::string bytes = report::EncodeReport("line\r\nGrüße \xF0\x9F\x98\x80\r\n");
  report::WriteWholeFile(Os().files, target, bytes);
  EXPECT_EQ(Test().ReadFile(target), bytes);
  EXPECT_EQ(Test().ReadFile(taken), "not ours");
  const std::string missing = Test().MakeFolder("Földer") + "\\missing\\r.txt";
  EXPECT_THROW(report::WriteWholeFile(Os().files, missing, "x"), platform::Failure);
  EXPECT_EQ(Test().ReadFile(target + ".~2.tmp"), std::nullopt);
}

VELMORA_ON_EVERY_BINDING(FileSystem);

}  // namespace
}  // namespace velmora
