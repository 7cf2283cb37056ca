#include "report/ExistenceNotes.h"

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "support/ScratchFolder.h"

namespace {

using modReport::FileNote;
using modReport::FolderNote;

// The double for everything but the files, which are real.
TEST(ExistenceNotes, AFolderIsNoFileAFileNoFolderAndTheUnaskableIsNotFound) {
  testing_support::ScratchFolder scratch;
  scratch.MakeFolder("folder");
  scratch.MakeFile("file.txt", "x");
  platform::FakePlatform fake;
  const platform::Platform os{
      fake.registry, fake.environment, fake.identity, testing_support::RealFileSystem(),
      fake.clock,    fake.user,        nullptr};
  const std::string folder = scratch.Join("folder");
  const std::string file = scratch.Join("file.txt");
  EXPECT_EQ(FolderNote(os, folder), " (Folder exists)");
  EXPECT_EQ(FileNote(os, file), " (File exists)");
  EXPECT_EQ(FolderNote(os, file), " !! (Folder not found)");
  EXPECT_EQ(FileNote(os, folder), " !! (File not found)");
  EXPECT_EQ(FileNote(os, scratch.Join("file.txt/inside")), " !! (File not found)");
  EXPECT_EQ(FolderNote(os, std::string(5000, 'x')), " !! (Folder not found)");
  EXPECT_EQ(FolderNote(os, "   "), " !! (Folder not found)") << "blanks are tested, not skipped";
  EXPECT_EQ(FolderNote(os, "") + FileNote(os, ""), "") << "an empty path gets no note";
#ifdef _WIN32
  EXPECT_EQ(FileNote(os, scratch.Join("fi|le.txt")), " !! (File not found)");
  EXPECT_EQ(FolderNote(os, scratch.Join("fol<der>")), " !! (Folder not found)");
#endif
}

}  // namespace
