// The file-system double answers as the real file system does: the same
// suite runs against the double and against real files (the Win32 binding
// under Wine, the POSIX one natively), with names outside ASCII.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#include "report/ExistenceNotes.h"
#include "report/ReportFile.h"
#include "support/ScratchFolder.h"

namespace velmora {
namespace {

enum class Files { kDouble, kReal };

void PrintTo(Files files, std::ostream* out) {
  *out << (files == Files::kDouble ? "Double" : "Real");
}

// A folder to work in, on either file system, and a way to look at it that
// does not go through the binding under test.
class FileSystem : public ::testing::TestWithParam<Files> {
 protected:
  FileSystem() { fake_.AddFolder(real_.Path()); }

  bool Real() const { return GetParam() == Files::kReal; }
  platform::FileSystemApi& Api() { return Real() ? testing_support::RealFileSystem() : fake_; }
  std::string Join(std::string_view name) const { return real_.Join(name); }
  void MakeFile(std::string_view name, std::string_view content) {
    Real() ? real_.MakeFile(name, content) : fake_.AddFile(Join(name), std::string(content));
  }
  std::optional<std::string> Read(std::string_view name) {
    return Real() ? testing_support::ReadRealFile(Join(name)) : fake_.Content(Join(name));
  }

 private:
  platform::FakeFileSystem fake_;
  const testing_support::ScratchFolder real_;
};

// What the report says of a place, for places that are there and for ones
// that cannot be (where some platforms fail the question itself).
TEST_P(FileSystem, NotesTellFoldersFromFilesAndAnythingElseIsNotFound) {
  MakeFile("Földer/日本.txt", "x");
  const std::string folder = Join("Földer");
  const std::string file = Join("Földer/日本.txt");
  const char* noFolder = " !! (Folder not found)";
  const char* noFile = " !! (File not found)";
  const struct {
    std::string path;
    const char* folderNote;
    const char* fileNote;
  } cases[] = {
      {folder, " (Folder exists)", noFile},
      {file, noFolder, " (File exists)"},
      {file + "/inside", noFolder, noFile},
      {Join("missing"), noFolder, noFile},
      {Join("missing/deeper"), noFolder, noFile},
      {Join("fi|le.txt"), noFolder, noFile},
      {Join("fol<der>"), noFolder, noFile},
      {std::string(5000, 'x'), noFolder, noFile},
      {"   ", noFolder, noFile},  // blanks are asked about, not skipped
      {"", "", ""},
  };
  platform::FakePlatform fake;  // everything but the files
  const platform::Platform os{fake.registry, fake.environment, fake.identity, Api(),
                              fake.clock,    fake.user,        nullptr};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 80));
    EXPECT_EQ(report::FolderNote(os, c.path), c.folderNote);
    EXPECT_EQ(report::FileNote(os, c.path), c.fileNote);
  }
}

// The report's way of writing a file: new beside the target, passing over a
// name someone else holds, then moved into its place. In a missing folder
// nothing is made.
TEST_P(FileSystem, AWholeFileReplacesTheOldOneAndLeavesNothingBeside) {
  MakeFile("Répört.txt", "old");
  MakeFile("Répört.txt.~1.tmp", "not ours");
  const std::string bytes = report::EncodeReport("line\r\nGrüße \xF0\x9F\x98\x80\r\n");
  report::WriteWholeFile(Api(), Join("Répört.txt"), bytes);
  EXPECT_EQ(Read("Répört.txt"), bytes);
  EXPECT_EQ(Read("Répört.txt.~1.tmp"), "not ours");
  EXPECT_THROW(report::WriteWholeFile(Api(), Join("missing/r.txt"), "x"), platform::Failure);
  EXPECT_EQ(Read("Répört.txt.~2.tmp"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(, FileSystem, ::testing::Values(Files::kDouble, Files::kReal),
                         ::testing::PrintToStringParamName());

}  // namespace
}  // namespace velmora
