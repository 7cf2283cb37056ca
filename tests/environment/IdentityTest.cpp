// Paths past what the real platform can be made to produce, and a failing
// query, on the double; the common lengths and every script run on both
// bindings in tests/platform/TextQueriesTest.cpp.
#include "environment/Identity.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"

namespace velmora {
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
    EXPECT_EQ(environment::GetTempFolder(os_), fake_.identity.tempPath) << length;
    fake_.identity.windowsFolder = "C:\\" + std::string(length - 3, 'w');
    EXPECT_EQ(environment::GetWindowsFolder(os_), fake_.identity.windowsFolder) << length;
  }
}

TEST_F(SystemIdentity, FailedUserNameQueryGivesTheEmptyString) {
  fake_.identity.userNameFails = true;
  EXPECT_EQ(environment::GetCurrentUserName(os_), "");
}

}  // namespace
}  // namespace velmora
