#include "environment/Lookups.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

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
    const char* user;  // the user's raw text; nullptr: the user has no such variable
    const char* expanded;
    const char* system;
  } cases[] = {
      {"PATH", "C:\\A;C:\\B", "", "%SystemRoot%\\system32"},
      {"EMPTY", "", "", ""},
      {"tools", "%VELMORA_HOME%\\bin", "C:\\U\\bin", ""},
      {"Count", "", "", ""},  // a type that is not decoded
      {"comspec", nullptr, "", "C:\\cmd.exe"},
      {"OnlyNumbered", nullptr, "", ""},
      {"Absent", nullptr, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto own = GetUserVariable(Os(), c.name);
    ASSERT_EQ(own.has_value(), c.user != nullptr);
    if (own) {
      EXPECT_EQ(own->raw, c.user);
      EXPECT_EQ(own->expanded, c.expanded);
    }
    EXPECT_EQ(ReadUserEnvironment(Os(), c.name), c.user == nullptr ? "" : c.user);
    EXPECT_EQ(ReadSystemEnvironment(Os(), c.name), c.system);
  }
}

VELMORA_ON_EVERY_BINDING(VariableLookups);

// An entry is a member when it is a whole piece, letter case aside; the
// user's entries are those of the raw and of the expanded text, and an empty
// text of the two holds the empty entry.
TEST(ListMembership, AnEntryIsAWholePieceLetterCaseAside) {
  using environment::ListMembers;
  using environment::UserVariable;
  const ListMembers plain(UserVariable{"C:\\A;C:\\B", ""});
  const ListMembers expandable(UserVariable{"%HOME%\\bin", "C:\\U\\bin"});
  const struct {
    ListMembers members;
    const char* entry;
    bool member;
  } cases[] = {
      {ListMembers(""), "", false},
      {ListMembers("C:\\A;"), "", true},
      {ListMembers("C:\\A;;C:\\B"), "", true},
      {ListMembers("C:\\A;C:\\B"), "", false},
      {ListMembers("c:\\windows"), "C:\\WINDOWS", true},
      {ListMembers("c:\\windows"), "C:\\WINDOWS\\", false},
      {ListMembers("c:\\windows"), " c:\\windows", false},
      {ListMembers("C:\\Bin64"), "C:\\Bin", false},
      {ListMembers("D:\\Ärger\\ö;E:\\x"), "d:\\äRGER\\Ö", true},
      {ListMembers("D:\\Ä"), "D:\\A", false},
      {plain, "c:\\b", true},
      {plain, "", true},
      {plain, "C:\\A;C:\\B", false},
      {expandable, "c:\\u\\BIN", true},
      {expandable, "%home%\\bin", true},
      {expandable, "", false},
      {ListMembers(std::optional<UserVariable>()), "", false},
  };
  for (std::size_t index = 0; index < std::size(cases); ++index) {
    EXPECT_EQ(cases[index].members.Contains(cases[index].entry), cases[index].member)
        << "case " << index + 1;
  }
}

}  // namespace
}  // namespace velmora
