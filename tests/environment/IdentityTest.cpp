// Names and paths past what the real platform can be made to produce, on the
// double; the common lengths and every script run on both bindings in
// tests/platform/TextQueriesTest.cpp.
#include "environment/Identity.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FakePlatform.h"

namespace {

class SystemIdentity : public ::testing::Test {
 protected:
  platform::FakePlatform fake_;
  platform::Platform os_ = fake_.Services();
};

// Paths of 260 characters fill the first buffer with their terminator; any
// longer one needs another.
TEST_F(SystemIdentity, FoldersPastTheOldPathLimitComeBackWhole) {
  for (std::size_t length : {260u, 261u, 1000u}) {
    fake_.identity.tempPath = "C:\\" + std::string(length - 4, 't') + "\\";
    EXPECT_EQ(modWinAPI::GetTempFolder(os_), fake_.identity.tempPath) << length;
    fake_.identity.windowsFolder = "C:\\" + std::string(length - 3, 'w');
    EXPECT_EQ(modWinAPI::GetWindowsFolder(os_), fake_.identity.windowsFolder) << length;
  }
}

TEST_F(SystemIdentity, FailedUserNameQueryGivesTheEmptyString) {
  fake_.identity.userNameFails = true;
  EXPECT_EQ(modWinAPI::GetCurrentUserName(os_), "");
}

// A program without its folder would be looked for beside this program and in
// the current folder: an unknown folder is a program not found.
TEST_F(SystemIdentity, SystemProgramsLieInTheFoldersThePlatformNames) {
  const std::string cases[][4] = {
      {"C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\WINDOWS\\explorer.exe",
       "C:\\WINDOWS\\system32\\notepad.exe"},
      {"D:\\", "D:\\", "D:\\explorer.exe", "D:\\notepad.exe"},
      {"", "", "not found", "not found"},
  };
  const auto pathOf = [&](std::string (*lookup)(const platform::Platform&)) -> std::string {
    try {
      return lookup(os_);
    } catch (const platform::Failure& failure) {
      return failure.Number() == platform::kErrorFileNotFound ? "not found" : "failed";
    }
  };
  for (const auto& [windows, system, explorer, notepad] : cases) {
    fake_.identity.windowsFolder = windows;
    fake_.identity.systemFolder = system;
    EXPECT_EQ(pathOf(&modWinAPI::GetExplorerPath), explorer);
    EXPECT_EQ(pathOf(&modWinAPI::GetNotepadPath), notepad);
  }
}

}  // namespace
