#include "report/ReportBuilder.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "report/ReportTestSupport.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;
using platform::kCurrentUser;
using platform::kLocalMachine;
using report::ReportText;
using report_testing::SetStored;

// The worked example on the double, changed by each test.
class Report : public ::testing::Test {
 protected:
  // Whether the report holds these whole lines one after another, or ends
  // with them.
  ::testing::AssertionResult Holds(const Lines& lines, bool atEnd = false) {
    std::string block = "\n";
    for (const std::string& line : lines) block += line + "\r\n";
    const std::string text = "\n" + ReportText(fake_.Services());
    if (atEnd ? text.ends_with(block) : text.find(block) != std::string::npos) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "not in the report:" << block << "\nreport:" << text;
  }

  report_testing::WorkedDouble example_;
  testing_support::TestPlatform& test_ = *example_.test;
  platform::FakePlatform& fake_ = example_.fake;
};

// An effective entry is the user's when it is one of the user's PATH, as
// stored or as expanded (the rule itself: tests/environment/LookupsTest.cpp).
// The class path is listed from each source. A product variable is the
// user's when the user's plain value is the effective one; each gets a folder
// note but the domains file, a file note.
TEST_F(Report, EachSectionTellsTheUsersEntriesFromTheSystems) {
  fake_.environment.Set("VELMORA_HOME", "C:\\U");
  fake_.environment.Set("PATH", "C:\\U\\bin;%VELMORA_HOME%\\bin;C:\\A;");
  SetStored(test_, kCurrentUser, "PATH", "%VELMORA_HOME%\\bin", platform::kRegExpandSz);
  fake_.environment.Set("CLASSPATH", ".;C:\\lib\\a.jar");
  SetStored(test_, kLocalMachine, "CLASSPATH", "C:\\lib\\a.jar");
  SetStored(test_, kCurrentUser, "ClassPath", ".;;x");
  fake_.environment.Set("QUVPATH", "c:\\quv");
  SetStored(test_, kCurrentUser, "QUVPATH", "C:\\QUV");
  fake_.environment.Set("VELMORA_ROOT", "C:\\Pux");
  fake_.environment.Set("PUX_HOME", "C:\\Pux");
  SetStored(test_, kCurrentUser, "PUX_HOME", "%VELMORA_ROOT%", platform::kRegExpandSz);
  fake_.environment.Set("GOB_HOME", "C:\\Gob");
  fake_.environment.Set("OMRA_DOMAINS_FILE", "C:\\Corvane");
  EXPECT_TRUE(Holds({"Effective path: C:\\U\\bin;%VELMORA_HOME%\\bin;C:\\A;", "",
                     "     USR C:\\U\\bin", "     USR %VELMORA_HOME%\\bin", "     SYS C:\\A",
                     "     SYS ", "", "System PATH variable:"}));
  EXPECT_TRUE(Holds({"User PATH variable for jdoe:", "     %VELMORA_HOME%\\bin", ""}));
  EXPECT_TRUE(Holds({"Effective ClassPath: .;C:\\lib\\a.jar", "", "System CLASSPATH variable:",
                     "     C:\\lib\\a.jar", "", "User CLASSPATH variable for jdoe:", "     .",
                     "     ", "     x", "", "MISC CORVANE PRODUCT VARIABLES"}));
  EXPECT_TRUE(Holds({"     USR QUVPATH: c:\\quv\t !! (Folder not found)"}));
  EXPECT_TRUE(Holds({"     SYS PUX_HOME: C:\\Pux\t !! (Folder not found)",
                     "     SYS GOB_HOME: C:\\Gob\t !! (Folder not found)"}));
  EXPECT_TRUE(Holds({"     SYS OMRA_DOMAINS_FILE: C:\\Corvane\t !! (File not found)"}));
}

// A line of the header frame as wide as the frame or wider stays as it is;
// narrower ones, counted in characters, are padded (the worked example).
TEST(StarLine, LeavesALineAsWideAsTheFrameAsItIs) {
  for (const std::size_t length : {40u, 41u}) {
    const std::string text = "* User: " + std::string(length - 8, 'u');
    EXPECT_EQ(report::StarLine(text, 40), text) << length;
  }
}

// The database is looked for where MORDALEPATH names, never on the current
// drive when it is unset; its bin folder itself (not a neighbour such as
// bin64) must be an entry of PATH.
TEST_F(Report, MordaleChecks) {
  const std::string exists = "    %MordalePath%\\bin\\mordale.mdb exists";
  const std::string inPath = "         %MordalePath%\\bin is in PATH";
  const std::string notInPath = "         %MordalePath%\\bin is not in PATH!";
  const std::string notFound = "         %MordalePath%\\bin\\mordale.mdb not found!";
  const struct {
    const char* path;
    const char* mordale;  // nullptr: unset
    Lines checks;
  } cases[] = {
      {"C:\\X;c:\\corvane\\mordale\\BIN\\;C:\\Y", "C:\\Corvane\\Mordale", {exists, inPath}},
      {"C:\\Corvane\\Mordale\\bin64;C:\\Corvane\\Mordale\\bin\\sub;C:\\Corvane\\Mordale",
       "C:\\Corvane\\Mordale",
       {exists, notInPath}},
      {"C:\\Corvane\\Mordale\\bin", "C:\\Elsewhere", {notFound}},
      {"\\bin", nullptr, {notFound}},
  };
  fake_.files.AddFile("C:\\bin\\mordale.mdb");  // on the current drive
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + (c.mordale ? c.mordale : "unset"));
    fake_.environment.Set("PATH", c.path);
    if (c.mordale != nullptr) {
      fake_.environment.Set("MORDALEPATH", c.mordale);
    } else {
      fake_.environment.Unset("MORDALEPATH");
    }
    Lines expected{"         OMRA_DOMAINS_FILE: "};
    expected.insert(expected.end(), c.checks.begin(), c.checks.end());
    EXPECT_TRUE(Holds(expected, true));
  }
}

}  // namespace
}  // namespace velmora
