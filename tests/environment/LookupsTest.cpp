#include "environment/Lookups.h"

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "support/PlatformTest.h"

namespace velmora {
namespace {

using environment::GetUserVariable;
using environment::kSystemEnvironmentKey;
using environment::kUserEnvironmentKey;
using environment::ReadSystemEnvironment;
using environment::ReadUserEnvironment;
using platform::kCurrentUser;
using platform::kLocalMachine;

class VariableLookups : public testing_support::PlatformTest {};

TEST_P(VariableLookups, AnswerFromTheirOwnKeyInAnyLetterCase) {
  Test().SetVariable("VELMORA_HOME", "C:\\U");
  Test().SetString(kCurrentUser, kUserEnvironmentKey, "Path", "C:\\A;C:\\B");
  Test().SetString(kCurrentUser, kUserEnvironmentKey, "Empty", "");
  Test().SetString(kCurrentUser, kUserEnvironmentKey, "Tools", "%VELMORA_HOME%\\bin",
                   platform::kRegExpandSz);
  Test().SetValue(kCurrentUser, kUserEnvironmentKey, "Count", platform::kRegDword, {1, 0, 0, 0});
  Test().SetString(kLocalMachine, kSystemEnvironmentKey, "Path", "%SystemRoot%\\system32",
                   platform::kRegExpandSz);
  Test().SetString(kLocalMachine, kSystemEnvironmentKey, "ComSpec", "C:\\cmd.exe");
  // Not the current control set, whichever numbered set that is.
  Test().SetString(kLocalMachine, "SYSTEM\\ControlSet001\\Control\\Session Manager\\Environment",
                   "OnlyNumbered", "stale");
  const struct {
    const char* name;
    const char* userVariable;  // GetUserVariable
    const char* user;          // ReadUserEnvironment
    const char* system;        // ReadSystemEnvironment
  } cases[] = {
      {"PATH", "C:\\A;C:\\B;", "C:\\A;C:\\B", "%SystemRoot%\\system32"},
      {"EMPTY", ";", "", ""},
      {"tools", "%VELMORA_HOME%\\bin;C:\\U\\bin", "%VELMORA_HOME%\\bin", ""},
      {"Count", ";", "", ""},  // a type that is not decoded
      {"comspec", "", "", "C:\\cmd.exe"},
      {"OnlyNumbered", "", "", ""},
      {"Absent", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetUserVariable(Os(), c.name), c.userVariable);
    EXPECT_EQ(ReadUserEnvironment(Os(), c.name), c.user);
    EXPECT_EQ(ReadSystemEnvironment(Os(), c.name), c.system);
  }
}

VELMORA_ON_EVERY_BINDING(VariableLookups);

// The rule and its fast form, which start-up and the report use, answer alike.
TEST(ListMembership, AnEntryIsAWholePieceLetterCaseAside) {
  const struct {
    const char* list;
    const char* entry;
    bool member;
  } cases[] = {
      {"", "", false},
      {"C:\\A;", "", true},
      {"C:\\A;;C:\\B", "", true},
      {"C:\\A;C:\\B", "", false},
      {"c:\\windows", "C:\\WINDOWS", true},
      {"c:\\windows", "C:\\WINDOWS\\", false},
      {"c:\\windows", " c:\\windows", false},
      {"C:\\A;C:\\B", "C:\\B", true},
      {"C:\\A;C:\\B", "C:\\A;C:\\B", false},
      {"C:\\Bin64", "C:\\Bin", false},
      {"%HOME%\\bin", "C:\\U\\bin", false},
      {"D:\\Ärger\\ö;E:\\x", "d:\\äRGER\\Ö", true},
      {"D:\\Ä", "D:\\A", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("[") + c.list + "] holds [" + c.entry + "]");
    EXPECT_EQ(environment::IsListMember(c.list, c.entry), c.member);
    EXPECT_EQ(environment::ListMembers(c.list).Contains(c.entry), c.member);
  }
}

}  // namespace
}  // namespace velmora
