#include "environment/Identity.h"

#include <string>

#include <gtest/gtest.h>

#include "text/Text.h"
#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#ifdef _WIN32
#include "platform/Win32Platform.h"
#endif

namespace {

using modWinAPI::GetCurrentUserName;
using modWinAPI::GetMachineName;
using modWinAPI::GetTempFolder;

void ExpectWholeUnpaddedAnswers(const platform::Platform& os) {
  const std::string user = GetCurrentUserName(os);
  const std::string machine = GetMachineName(os);
  const std::string temp = GetTempFolder(os);
  EXPECT_FALSE(user.empty());
  EXPECT_EQ(user.find('\0'), std::string::npos);
  ASSERT_FALSE(machine.empty());
  EXPECT_LE(machine.size(), 31u);
  EXPECT_NE(machine.back(), ' ');
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_EQ(temp.find('\0'), std::string::npos);
}

// The identity queries read the machine's own settings, so the real binding is
// used here without the registry fence of the other suites.
TEST(SystemIdentity, AnswersAreWholeAndUnpadded) {
  platform::FakePlatform fake;
  ExpectWholeUnpaddedAnswers(fake.Services());
#ifdef _WIN32
  platform::Win32Platform win32;
  ExpectWholeUnpaddedAnswers(win32.Services());
#endif
}

#ifdef _WIN32
// The real system's folders hold its own Notepad and Explorer.
TEST(SystemIdentity, SystemProgramsAreFilesOfTheSystemsOwnFolders) {
  platform::Win32Platform win32;
  const platform::Platform os = win32.Services();
  const std::string windows = modWinAPI::GetWindowsFolder(os);
  const std::string system = modWinAPI::GetSystemFolder(os);
  ASSERT_FALSE(windows.empty());
  EXPECT_TRUE(modUtils::EqualsNoCase(system.substr(0, windows.size() + 1), windows + "\\"))
      << system;
  for (const std::string& program :
       {modWinAPI::GetNotepadPath(os), modWinAPI::GetExplorerPath(os)}) {
    const std::uint32_t attributes = win32.files.FileAttributes(program);
    EXPECT_NE(attributes, platform::kInvalidFileAttributes) << program;
    EXPECT_EQ(attributes & platform::kFileAttributeDirectory, 0u) << program;
  }
}
#endif

// Names and paths the real platform cannot be made to produce.
class SystemIdentityOnDouble : public ::testing::Test {
 protected:
  platform::FakePlatform fake_;
  platform::Platform os_ = fake_.Services();
};

TEST_F(SystemIdentityOnDouble, UserNamesPastTheOldHundredCharacterLimitComeBackWhole) {
  for (std::size_t length : {1u, 99u, 100u, 101u, 256u}) {
    fake_.identity.userName = std::string(length, 'u');
    EXPECT_EQ(GetCurrentUserName(os_), fake_.identity.userName) << length;
  }
  fake_.identity.userName = std::string(256, 'x') + "\xC3\xA9";  // more bytes than characters
  EXPECT_EQ(GetCurrentUserName(os_), fake_.identity.userName);
}

TEST_F(SystemIdentityOnDouble, FailedUserNameQueryGivesTheEmptyString) {
  fake_.identity.userNameFails = true;
  EXPECT_EQ(GetCurrentUserName(os_), "");
}

TEST_F(SystemIdentityOnDouble, ComputerNameKeepsItsLengthAndFitsIn32) {
  fake_.identity.computerName = "BUILD07";
  EXPECT_EQ(GetMachineName(os_), "BUILD07");
  fake_.identity.computerName = std::string(31, 'm');
  EXPECT_EQ(GetMachineName(os_), fake_.identity.computerName);
  fake_.identity.computerName = std::string(32, 'm');
  EXPECT_EQ(GetMachineName(os_), "");
}

TEST_F(SystemIdentityOnDouble, SystemProgramsLieInTheFoldersThePlatformNames) {
  const struct {
    const char* windows;
    const char* system;
    const char* explorer;
    const char* notepad;
  } cases[] = {
      {"C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\WINDOWS\\explorer.exe",
       "C:\\WINDOWS\\system32\\notepad.exe"},
      {"D:\\", "D:\\", "D:\\explorer.exe", "D:\\notepad.exe"},
  };
  for (const auto& c : cases) {
    fake_.identity.windowsFolder = c.windows;
    fake_.identity.systemFolder = c.system;
    EXPECT_EQ(modWinAPI::GetExplorerPath(os_), c.explorer);
    EXPECT_EQ(modWinAPI::GetNotepadPath(os_), c.notepad);
  }
  fake_.identity.windowsFolder = "C:\\" + std::string(300, 'w');
  EXPECT_EQ(modWinAPI::GetWindowsFolder(os_), fake_.identity.windowsFolder);
}

// A program without its folder would be looked for beside this program and in
// the current folder: an unknown folder is a program not found.
TEST_F(SystemIdentityOnDouble, UnknownSystemFoldersGiveNoProgramPath) {
  fake_.identity.windowsFolder = "";
  fake_.identity.systemFolder = "";
  for (const auto lookup : {&modWinAPI::GetExplorerPath, &modWinAPI::GetNotepadPath}) {
    try {
      const std::string path = lookup(os_);
      ADD_FAILURE() << path;
    } catch (const platform::Failure& failure) {
      EXPECT_EQ(failure.Number(), platform::kErrorFileNotFound);
    }
  }
}

TEST_F(SystemIdentityOnDouble, TemporaryFolderOfAnyLengthComesBackWithItsBackslash) {
  fake_.identity.tempPath = "C:\\TEMP\\";
  EXPECT_EQ(GetTempFolder(os_), "C:\\TEMP\\");
  for (std::size_t length : {99u, 100u, 259u, 260u, 300u, 1000u}) {
    fake_.identity.tempPath = "C:\\" + std::string(length - 4, 't') + "\\";
    EXPECT_EQ(GetTempFolder(os_), fake_.identity.tempPath) << length;
  }
}

}  // namespace
