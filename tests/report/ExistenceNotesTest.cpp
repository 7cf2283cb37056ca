#include "report/ExistenceNotes.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "support/ScratchFolder.h"

namespace {

using modReport::FileExists;
using modReport::FileNote;
using modReport::FolderExists;
using modReport::FolderNote;

// The double for everything but the files, which are real.
class ExistenceOnRealFiles : public ::testing::Test {
 protected:
  ExistenceOnRealFiles() {
    scratch_.MakeFolder("folder");
    scratch_.MakeFile("file.txt", "x");
  }

  platform::FakePlatform fake_;
  platform::Platform os_{
      fake_.registry, fake_.environment, fake_.identity, testing_support::RealFileSystem(),
      fake_.clock,    fake_.user,        nullptr};
  testing_support::ScratchFolder scratch_;
};

TEST_F(ExistenceOnRealFiles, FolderIsNoFileAndFileIsNoFolder) {
  const std::string folder = scratch_.Join("folder");
  const std::string file = scratch_.Join("file.txt");
  EXPECT_EQ(FolderNote(os_, folder), " (Folder exists)");
  EXPECT_EQ(FileNote(os_, file), " (File exists)");
  EXPECT_EQ(FolderNote(os_, file), " !! (Folder not found)");
  EXPECT_EQ(FileNote(os_, folder), " !! (File not found)");
  EXPECT_EQ(FolderNote(os_, scratch_.Join("missing")), " !! (Folder not found)");
  EXPECT_EQ(FileNote(os_, scratch_.Join("missing.txt")), " !! (File not found)");
}

TEST_F(ExistenceOnRealFiles, RelativePathsResolveAgainstTheCurrentFolder) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(scratch_.Path());
  const bool folder = FolderExists(os_, "folder");
  const bool file = FileExists(os_, "file.txt");
  const bool missing = FileExists(os_, "folder/file.txt");
  std::filesystem::current_path(previous);
  EXPECT_TRUE(folder);
  EXPECT_TRUE(file);
  EXPECT_FALSE(missing);
}

TEST_F(ExistenceOnRealFiles, QuestionsThatCannotBeAskedAnswerNotFound) {
  EXPECT_FALSE(FolderExists(os_, std::string(5000, 'x')));
#ifdef _WIN32
  EXPECT_FALSE(FileExists(os_, scratch_.Join("fi|le.txt")));
  EXPECT_FALSE(FolderExists(os_, scratch_.Join("fol<der>")));
#endif
  EXPECT_EQ(FileNote(os_, scratch_.Join("file.txt/inside")), " !! (File not found)");
  EXPECT_EQ(FolderNote(os_, "   "), " !! (Folder not found)") << "blanks are tested, not skipped";
}

TEST(ExistenceNotes, EmptyPathGetsNoNoteAndNoQuestion) {
  platform::FakePlatform fake;
  fake.files.currentFolder = "C:\\";
  EXPECT_EQ(FolderNote(fake.Services(), ""), "");
  EXPECT_EQ(FileNote(fake.Services(), ""), "");
}

TEST(ExistenceNotes, RejectedCharactersGiveTheNotFoundNote) {
  platform::FakePlatform fake;
  fake.files.AddFolder("C:\\Corvane");
  EXPECT_EQ(FolderNote(fake.Services(), "C:\\Corvane"), " (Folder exists)");
  EXPECT_EQ(FolderNote(fake.Services(), "C:\\Cor|vane"), " !! (Folder not found)");
  EXPECT_EQ(FileNote(fake.Services(), "C:\\a<b>.txt"), " !! (File not found)");
}

}  // namespace
