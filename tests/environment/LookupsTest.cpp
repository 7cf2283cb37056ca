#include "environment/Lookups.h"

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#include "support/TestPlatform.h"

namespace {

using environment::kSystemEnvironmentKey;
using environment::kUserEnvironmentKey;
using modReport::ReadSystemEnvironment;
using modReport::ReadUserEnvironment;
using modUtils::GetUserVariable;
using modUtils::IsListMember;
using platform::kCurrentUser;
using platform::kLocalMachine;

class VariableLookups : public testing_support::PlatformTest {
 protected:
  void SetUser(std::string_view name, std::string_view text,
               std::uint32_t type = platform::kRegSz) {
    Test().SetString(kCurrentUser, kUserEnvironmentKey, name, text, type);
  }
};

TEST_P(VariableLookups, PlainUserVariableEndsWithOneEmptyEntry) {
  SetUser("Path", "C:\\A;C:\\B");
  EXPECT_EQ(GetUserVariable(Os(), "PATH"), "C:\\A;C:\\B;");
  SetUser("Empty", "");
  EXPECT_EQ(GetUserVariable(Os(), "EMPTY"), ";");
}

TEST_P(VariableLookups, ExpandableUserVariableHoldsBothForms) {
  Test().SetVariable("VELMORA_HOME", "C:\\U");
  SetUser("Tools", "%VELMORA_HOME%\\bin", platform::kRegExpandSz);
  EXPECT_EQ(GetUserVariable(Os(), "TOOLS"), "%VELMORA_HOME%\\bin;C:\\U\\bin");
  EXPECT_EQ(ReadUserEnvironment(Os(), "TOOLS"), "%VELMORA_HOME%\\bin");
}

TEST_P(VariableLookups, UndecodedTypeGivesTheSeparatorAlone) {
  Test().SetValue(kCurrentUser, kUserEnvironmentKey, "Count", platform::kRegDword, {1, 0, 0, 0});
  EXPECT_EQ(GetUserVariable(Os(), "Count"), ";");
  EXPECT_EQ(ReadUserEnvironment(Os(), "Count"), "");
}

TEST_P(VariableLookups, NamesAreFoundInAnyLetterCase) {
  SetUser("Path", "C:\\user");
  Test().SetString(kLocalMachine, kSystemEnvironmentKey, "ComSpec", "C:\\cmd.exe");
  for (const char* name : {"path", "PATH", "Path", "pAtH"}) {
    EXPECT_EQ(GetUserVariable(Os(), name), "C:\\user;") << name;
    EXPECT_EQ(ReadUserEnvironment(Os(), name), "C:\\user") << name;
  }
  EXPECT_EQ(ReadSystemEnvironment(Os(), "comspec"), "C:\\cmd.exe");
}

TEST_P(VariableLookups, AbsentVariableOrKeyGivesTheEmptyString) {
  EXPECT_EQ(GetUserVariable(Os(), "PATH"), "");
  EXPECT_EQ(ReadUserEnvironment(Os(), "PATH"), "");
  EXPECT_EQ(ReadSystemEnvironment(Os(), "PATH"), "");
  SetUser("Other", "x");
  Test().CreateKey(kLocalMachine, kSystemEnvironmentKey);
  EXPECT_EQ(GetUserVariable(Os(), "PATH"), "");
  EXPECT_EQ(ReadUserEnvironment(Os(), "PATH"), "");
  EXPECT_EQ(ReadSystemEnvironment(Os(), "PATH"), "");
}

TEST_P(VariableLookups, SystemValuesComeFromTheCurrentControlSet) {
  const std::string numbered = "SYSTEM\\ControlSet001\\Control\\Session Manager\\Environment";
  Test().SetString(kLocalMachine, numbered, "OnlyNumbered", "stale");
  Test().SetString(kLocalMachine, kSystemEnvironmentKey, "Path", "%SystemRoot%\\system32",
                   platform::kRegExpandSz);
  EXPECT_EQ(ReadSystemEnvironment(Os(), "PATH"), "%SystemRoot%\\system32");
  EXPECT_EQ(ReadSystemEnvironment(Os(), "OnlyNumbered"), "");
}

VELMORA_ON_EVERY_BINDING(VariableLookups);

TEST(VariableLookupsOnDouble, DuplicateNamesReachTheUserReadersCallersOnly) {
  platform::FakePlatform fake;
  for (const char* name : {"Path", "PATH"}) {
    fake.registry.AppendValue(kCurrentUser, kUserEnvironmentKey, name, platform::kRegSz, {'u', 0});
    fake.registry.AppendValue(kLocalMachine, kSystemEnvironmentKey, name, platform::kRegSz,
                              {'s', 0});
  }
  const auto os = fake.Services();
  EXPECT_THROW((void)GetUserVariable(os, "PATH"), platform::Failure);
  EXPECT_THROW((void)ReadUserEnvironment(os, "PATH"), platform::Failure);
  EXPECT_EQ(ReadSystemEnvironment(os, "PATH"), "");
  // Read once for many lookups, the keys behave alike.
  EXPECT_THROW((void)environment::ReadUserValues(os), platform::Failure);
  EXPECT_EQ(environment::ReadSystemValues(os).Count(), 0u);
}

struct MemberCase {
  const char* list;
  const char* entry;
  bool member;
};

void PrintTo(const MemberCase& c, std::ostream* out) {
  *out << "[" << c.list << "] holds [" << c.entry << "]: " << (c.member ? "yes" : "no");
}

class ListMembership : public ::testing::TestWithParam<MemberCase> {};

// The rule and its fast form, which start-up and the report use, answer alike.
TEST_P(ListMembership, Answers) {
  const MemberCase& c = GetParam();
  EXPECT_EQ(IsListMember(c.list, c.entry), c.member);
  EXPECT_EQ(modUtils::ListMembers(c.list).Contains(c.entry), c.member);
}

INSTANTIATE_TEST_SUITE_P(
    , ListMembership,
    ::testing::Values(
        MemberCase{"", "", false}, MemberCase{"", "C:\\A", false}, MemberCase{"C:\\A;", "", true},
        MemberCase{";C:\\A", "", true}, MemberCase{"C:\\A;;C:\\B", "", true},
        MemberCase{"C:\\A;C:\\B", "", false}, MemberCase{"c:\\windows", "C:\\WINDOWS", true},
        MemberCase{"c:\\windows", "C:\\WINDOWS\\", false},
        MemberCase{"c:\\windows", " c:\\windows", false}, MemberCase{"C:\\A;C:\\A", "c:\\a", true},
        MemberCase{"C:\\A;C:\\B", "C:\\B", true}, MemberCase{"C:\\A;C:\\B", "C:\\A;C:\\B", false},
        MemberCase{"C:\\Program Files\\Bin", "C:\\program files\\bin", true},
        MemberCase{"C:\\Bin64", "C:\\Bin", false}, MemberCase{"%HOME%\\bin", "C:\\U\\bin", false},
        MemberCase{"D:\\Ärger;E:\\x", "d:\\äRGER", true}, MemberCase{"D:\\Путь", "d:\\пУТЬ", true},
        MemberCase{"D:\\Ä", "D:\\A", false}));

}  // namespace
