#include "environment/Identity.h"

#include <string>

#include <gtest/gtest.h>

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

TEST_F(SystemIdentityOnDouble, TemporaryFolderOfAnyLengthComesBackWithItsBackslash) {
  fake_.identity.tempPath = "C:\\TEMP\\";
  EXPECT_EQ(GetTempFolder(os_), "C:\\TEMP\\");
  for (std::size_t length : {99u, 100u, 259u, 260u, 300u, 1000u}) {
    fake_.identity.tempPath = "C:\\" + std::string(length - 4, 't') + "\\";
    EXPECT_EQ(GetTempFolder(os_), fake_.identity.tempPath) << length;
  }
}

}  // namespace
