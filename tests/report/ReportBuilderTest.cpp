#include "report/ReportBuilder.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/ReportFile.h"
#include "report/ReportTestSupport.h"
#include "support/RegistryWatch.h"

namespace {

using modReport::doReport;
using modReport::ReportText;
using modReport::StarLine;
using report_testing::SetUser;

class Report : public ::testing::Test {
 protected:
  Report() { report_testing::PrepareWorkedExample(fake_); }

  std::vector<std::string> Lines() {
    const std::string text = ReportText(fake_.Services());
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = text.find("\r\n", at);
      EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
      if (end == std::string::npos) break;
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }

  // The lines from the one starting with `first` up to the end.
  std::vector<std::string> LinesFrom(const std::string& first) {
    const auto lines = Lines();
    for (auto it = lines.begin(); it != lines.end(); ++it) {
      if (it->starts_with(first)) return {it, lines.end()};
    }
    ADD_FAILURE() << "no line starts with " << first;
    return {};
  }

  bool HasLine(const std::string& line) {
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  const std::vector<std::string> MordaleLines() {
    auto lines = LinesFrom("         OMRA_DOMAINS_FILE");
    return {lines.begin() + 1, lines.end()};
  }

  platform::FakePlatform fake_;
};

TEST_F(Report, WorkedExampleByteForByte) {
  fake_.files.AddFolder("C:\\Reports");
  ASSERT_TRUE(doReport(fake_.Services(), "C:\\Reports\\BUILD07_jdoe_2011-03-07_14-05.txt"));
  EXPECT_EQ(fake_.files.Content("C:\\Reports\\BUILD07_jdoe_2011-03-07_14-05.txt"),
            modReport::EncodeReport(report_testing::WorkedExampleText()));
  EXPECT_TRUE(fake_.user.messages.empty());
}

TEST_F(Report, EachKeyIsReadOnceAndAfreshForEveryReport) {
  fake_.files.AddFolder("C:\\Reports");
  testing_support::RegistryWatch watch(fake_.registry);
  const platform::Platform os = watch.Watching(fake_.Services());
  const std::string path = "C:\\Reports\\r.txt";
  ASSERT_TRUE(doReport(os, path));
  EXPECT_EQ(fake_.files.Content(path),
            modReport::EncodeReport(report_testing::WorkedExampleText()));
  EXPECT_EQ(watch.Opens(environment::kUserEnvironmentKey), 1);
  EXPECT_EQ(watch.Opens(environment::kSystemEnvironmentKey), 1);

  // Nothing is kept between reports: the next one shows the keys as they are.
  SetUser(fake_, "PATH", "C:\\Windows");
  ASSERT_TRUE(doReport(os, path));
  std::string expected = report_testing::WorkedExampleText();
  for (const auto& [before, after] :
       {std::pair{"     SYS C:\\Windows\r\n", "     USR C:\\Windows\r\n"},
        std::pair{"     USR C:\\Tools\\bin\r\n", "     SYS C:\\Tools\\bin\r\n"},
        std::pair{"jdoe:\r\n     C:\\Tools\\bin\r\n", "jdoe:\r\n     C:\\Windows\r\n"}}) {
    const std::size_t at = expected.find(before);
    ASSERT_NE(at, std::string::npos) << before;
    expected.replace(at, std::string(before).size(), after);
  }
  EXPECT_EQ(fake_.files.Content(path), modReport::EncodeReport(expected));
  EXPECT_EQ(watch.Opens(environment::kUserEnvironmentKey), 2);
  EXPECT_EQ(watch.Opens(environment::kSystemEnvironmentKey), 2);
}

TEST_F(Report, PathEndingWithSeparatorGivesAnEmptyLastEntry) {
  fake_.environment.Set("PATH", "C:\\A;");
  EXPECT_EQ(LinesFrom("Effective path")[3], "     USR ")
      << "a plain user PATH ends in an empty entry";
  fake_.registry.DeleteKey(platform::kCurrentUser, environment::kUserEnvironmentKey);
  EXPECT_EQ(LinesFrom("Effective path")[3], "     SYS ");
}

TEST_F(Report, EntriesMatchTheUserPathWholeAndInAnyCase) {
  fake_.environment.Set("PATH", "c:\\tools\\BIN;C:\\Tools\\bin\\;C:\\Tools");
  const auto lines = LinesFrom("Effective path");
  EXPECT_EQ(lines[2], "     USR c:\\tools\\BIN");
  EXPECT_EQ(lines[3], "     SYS C:\\Tools\\bin\\");
  EXPECT_EQ(lines[4], "     SYS C:\\Tools");
}

TEST_F(Report, ExpandableUserPathMarksItsExpandedEntries) {
  fake_.environment.Set("VELMORA_HOME", "C:\\U");
  fake_.environment.Set("PATH", "C:\\U\\bin;%VELMORA_HOME%\\bin");
  SetUser(fake_, "PATH", "%VELMORA_HOME%\\bin", platform::kRegExpandSz);
  const auto lines = LinesFrom("Effective path");
  EXPECT_EQ(lines[2], "     USR C:\\U\\bin");
  EXPECT_EQ(lines[3], "     USR %VELMORA_HOME%\\bin");
  EXPECT_TRUE(HasLine("User PATH variable for jdoe:"));
  EXPECT_EQ(LinesFrom("User PATH variable")[1], "     %VELMORA_HOME%\\bin");
}

TEST_F(Report, SetClassPathIsListedFromEachSource) {
  fake_.environment.Set("CLASSPATH", ".;C:\\lib\\a.jar");
  report_testing::SetSystem(fake_, "CLASSPATH", "C:\\lib\\a.jar");
  SetUser(fake_, "ClassPath", ".;;x");
  const auto lines = LinesFrom("Effective ClassPath");
  const std::vector<std::string> expected = {"Effective ClassPath: .;C:\\lib\\a.jar",
                                             "",
                                             "System CLASSPATH variable:",
                                             "     C:\\lib\\a.jar",
                                             "",
                                             "User CLASSPATH variable for jdoe:",
                                             "     .",
                                             "     ",
                                             "     x",
                                             "",
                                             "MISC CORVANE PRODUCT VARIABLES"};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 11), expected);
}

TEST_F(Report, HeaderLinesOf39And40And41Characters) {
  fake_.identity.userName = std::string(31, 'u');  // "* User: " + 31 = 39
  EXPECT_EQ(Lines()[5], "* User: " + std::string(31, 'u') + "*");
  fake_.identity.userName = std::string(32, 'u');
  EXPECT_EQ(Lines()[5], "* User: " + std::string(32, 'u'));
  fake_.identity.userName = std::string(33, 'u');
  EXPECT_EQ(Lines()[5], "* User: " + std::string(33, 'u'));
}

TEST_F(Report, FramingCountsCharactersNotBytes) {
  EXPECT_EQ(StarLine("* User: Jürgen", 40), "* User: Jürgen" + std::string(25, ' ') + "*");
  EXPECT_EQ(StarLine("", 40), std::string(39, ' ') + "*");
  EXPECT_EQ(StarLine("*", 40), "*" + std::string(38, ' ') + "*");
}

TEST_F(Report, ProductVariablesTaggedByTheUsersPlainValue) {
  fake_.environment.Set("QUVPATH", "c:\\quv");
  SetUser(fake_, "QUVPATH", "C:\\QUV");
  fake_.environment.Set("VELMORA_ROOT", "C:\\Pux");
  fake_.environment.Set("PUX_HOME", "C:\\Pux");
  SetUser(fake_, "PUX_HOME", "%VELMORA_ROOT%", platform::kRegExpandSz);
  fake_.environment.Set("GOB_HOME", "C:\\Gob");
  EXPECT_TRUE(HasLine("     USR QUVPATH: c:\\quv\t !! (Folder not found)"));
  EXPECT_TRUE(HasLine("     SYS PUX_HOME: C:\\Pux\t !! (Folder not found)"));
  EXPECT_TRUE(HasLine("     SYS GOB_HOME: C:\\Gob\t !! (Folder not found)"));
  EXPECT_TRUE(HasLine("         TILBURPATH: "));
}

TEST_F(Report, DomainsFileGetsAFileNote) {
  fake_.environment.Set("OMRA_DOMAINS_FILE", "C:\\Corvane\\domains.xml");
  EXPECT_TRUE(
      HasLine("     SYS OMRA_DOMAINS_FILE: C:\\Corvane\\domains.xml\t !! (File not found)"));
  fake_.files.AddFile("C:\\Corvane\\domains.xml");
  EXPECT_TRUE(HasLine("     SYS OMRA_DOMAINS_FILE: C:\\Corvane\\domains.xml\t (File exists)"));
  fake_.environment.Set("OMRA_DOMAINS_FILE", "C:\\Corvane");
  EXPECT_TRUE(HasLine("     SYS OMRA_DOMAINS_FILE: C:\\Corvane\t !! (File not found)"));
}

TEST_F(Report, MordaleChecks) {
  const std::string exists = "    %MordalePath%\\bin\\mordale.mdb exists";
  const std::string inPath = "         %MordalePath%\\bin is in PATH";
  const std::string notInPath = "         %MordalePath%\\bin is not in PATH!";
  const std::string notFound = "         %MordalePath%\\bin\\mordale.mdb not found!";
  using Lines = std::vector<std::string>;

  fake_.environment.Set("PATH", "C:\\X;c:\\corvane\\mordale\\BIN\\;C:\\Y");
  EXPECT_EQ(MordaleLines(), (Lines{exists, inPath})) << "closing backslash, other case";
  fake_.environment.Set("PATH", "C:\\X;C:\\Corvane\\Mordale\\bin64");
  EXPECT_EQ(MordaleLines(), (Lines{exists, notInPath})) << "a neighbour is not the bin folder";
  fake_.environment.Set("PATH", "C:\\Corvane\\Mordale\\bin\\sub;C:\\Corvane\\Mordale");
  EXPECT_EQ(MordaleLines(), (Lines{exists, notInPath}));
  fake_.environment.Set("PATH", "");
  EXPECT_EQ(MordaleLines(), (Lines{exists, notInPath}));

  fake_.environment.Set("MORDALEPATH", "C:\\Elsewhere");
  EXPECT_EQ(MordaleLines(), (Lines{notFound}));
}

TEST_F(Report, UnsetMordalePathTestsNothingOnTheCurrentDrive) {
  fake_.environment.Unset("MORDALEPATH");
  fake_.files.currentFolder = "C:\\";
  fake_.files.AddFile("C:\\bin\\mordale.mdb");
  fake_.environment.Set("PATH", "\\bin");
  EXPECT_EQ(MordaleLines(),
            std::vector<std::string>{"         %MordalePath%\\bin\\mordale.mdb not found!"});
  EXPECT_TRUE(HasLine("         MORDALEPATH: "));
}

TEST_F(Report, NonAsciiNamesAndValuesComeOutExactly) {
  fake_.identity.userName = "Jürgen Øster";
  fake_.identity.computerName = "ПК-07";
  fake_.environment.Set("PATH",
                        "C:\\Programme\\Grüße;D:\\\xE6\x97\xA5\xE6\x9C\xAC\\\xF0\x9F\x98\x80");
  SetUser(fake_, "PATH", "d:\\\xE6\x97\xA5\xE6\x9C\xAC\\\xF0\x9F\x98\x80");
  const auto lines = Lines();
  EXPECT_EQ(lines[4], "* Machine name: ПК-07" + std::string(18, ' ') + "*");
  EXPECT_EQ(lines[5], "* User: Jürgen Øster" + std::string(19, ' ') + "*");
  EXPECT_TRUE(HasLine("     SYS C:\\Programme\\Grüße"));
  EXPECT_TRUE(HasLine("     USR D:\\\xE6\x97\xA5\xE6\x9C\xAC\\\xF0\x9F\x98\x80"));
  EXPECT_TRUE(HasLine("User PATH variable for Jürgen Øster:"));
}

TEST_F(Report, TargetInAMissingFolderGivesOneErrorBoxAndNoFile) {
  EXPECT_FALSE(doReport(fake_.Services(), "C:\\Missing\\report.txt"));
  ASSERT_EQ(fake_.user.messages.size(), 1u);
  EXPECT_NE(fake_.user.messages[0].text.find(
                "The system cannot find the path specified. (error 3)\r\n in module modReport, "
                "procedure doReport"),
            std::string::npos);
  EXPECT_FALSE(fake_.files.Content("C:\\Missing\\report.txt"));
}

TEST_F(Report, FailedWriteKeepsTheEarlierReportAndSaysSoOnce) {
  fake_.files.AddFile("C:\\Reports\\r.txt", "earlier");
  fake_.files.FailWrite(1, platform::kErrorDiskFull, 10);
  EXPECT_FALSE(doReport(fake_.Services(), "C:\\Reports\\r.txt"));
  EXPECT_EQ(fake_.user.messages.size(), 1u);
  EXPECT_EQ(fake_.files.Content("C:\\Reports\\r.txt"), "earlier");
  EXPECT_EQ(fake_.files.FilesIn("C:\\Reports").size(), 1u);
}

TEST_F(Report, DuplicateUserNamesEndTheReportWithOneErrorBox) {
  fake_.files.AddFolder("C:\\Reports");
  fake_.registry.AppendValue(platform::kCurrentUser, environment::kUserEnvironmentKey, "path",
                             platform::kRegSz, {'x', 0});
  EXPECT_FALSE(doReport(fake_.Services(), "C:\\Reports\\r.txt"));
  ASSERT_EQ(fake_.user.messages.size(), 1u);
  EXPECT_NE(fake_.user.messages[0].text.find("(error 457)"), std::string::npos);
  EXPECT_FALSE(fake_.files.Content("C:\\Reports\\r.txt"));
}

}  // namespace
