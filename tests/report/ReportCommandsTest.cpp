#include "report/ReportCommands.h"

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "report/ReportBuilder.h"
#include "report/ReportFile.h"
#include "report/ReportTestSupport.h"
#include "support/ScratchFolder.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Win32Platform.h"
#include "support/TestPlatform.h"
#include "support/WideText.h"
#endif

namespace {

using modReport::cmdSave_Click;
using modReport::cmdView_Click;

constexpr const char* kProposed = "BUILD07_jdoe_2011-03-07_14-05.txt";

class ReportCommands : public ::testing::Test {
 protected:
  ReportCommands() {
    report_testing::PrepareWorkedExample(fake_);
    fake_.files.AddFolder("C:\\Reports");
    fake_.files.AddFolder("C:\\TEMP");
  }

  void ExpectOneError(const std::string& procedure, const std::string& detail) {
    ASSERT_EQ(fake_.user.messages.size(), 1u);
    const std::string& text = fake_.user.messages[0].text;
    EXPECT_NE(text.find(detail), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(procedure)) << text;
  }

  platform::FakePlatform fake_;
};

TEST_F(ReportCommands, SaveOffersTheProposedNameWithTextFilesSelected) {
  fake_.clock.now = {2009, 1, 2, 3, 4, 59};
  cmdSave_Click(fake_.Services());
  ASSERT_EQ(fake_.user.saveRequests.size(), 1u);
  const auto& request = fake_.user.saveRequests[0];
  EXPECT_EQ(request.filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
  EXPECT_EQ(request.filterIndex, 2);
  EXPECT_EQ(request.fileName, "BUILD07_jdoe_2009-01-02_03-04.txt");
}

TEST_F(ReportCommands, SaveWritesTheChosenNameWithoutItsOuterBlanks) {
  fake_.user.saveAnswer = "  C:\\Reports\\my report.txt  ";
  cmdSave_Click(fake_.Services());
  EXPECT_EQ(fake_.files.Content("C:\\Reports\\my report.txt"),
            modReport::EncodeReport(report_testing::WorkedExampleText()));
  EXPECT_TRUE(fake_.user.messages.empty());
  EXPECT_TRUE(fake_.user.started.empty());
}

TEST_F(ReportCommands, SaveCancelledOrBlankWritesAndSaysNothing) {
  fake_.user.saveAnswer.reset();
  cmdSave_Click(fake_.Services());
  fake_.user.saveAnswer = "   ";
  cmdSave_Click(fake_.Services());
  fake_.user.failNext = {platform::kFailureDialogCancelled, "Cancel was selected."};
  cmdSave_Click(fake_.Services());
  EXPECT_TRUE(fake_.user.messages.empty());
  EXPECT_TRUE(fake_.files.FilesIn("C:\\").size() == 1u) << "only the Mordale file";
}

TEST_F(ReportCommands, SaveReportsADialogFailure) {
  fake_.user.failNext = {12290, "The Save As dialog failed"};
  cmdSave_Click(fake_.Services());
  ExpectOneError("procedure cmdSave_Click", "The Save As dialog failed (error 12290)");
}

TEST_F(ReportCommands, SaveIntoAMissingFolderIsReportedByTheBuilderOnce) {
  fake_.user.saveAnswer = "C:\\Nowhere\\r.txt";
  cmdSave_Click(fake_.Services());
  ExpectOneError("procedure doReport", "(error 3)");
}

TEST_F(ReportCommands, ViewWritesIntoTheTemporaryFolderAndOpensNotepad) {
  cmdView_Click(fake_.Services());
  const std::string path = std::string("C:\\TEMP\\\\") + kProposed;
  EXPECT_EQ(fake_.files.Content(path),
            modReport::EncodeReport(report_testing::WorkedExampleText()));
  ASSERT_EQ(fake_.user.started.size(), 1u);
  EXPECT_EQ(fake_.user.started[0].application, "C:\\WINDOWS\\system32\\notepad.exe");
  EXPECT_EQ(fake_.user.started[0].commandLine, "Notepad.exe " + path);
  EXPECT_EQ(fake_.user.started[0].showCommand, platform::kSwShowNormal);
}

TEST_F(ReportCommands, ViewPassesATemporaryFolderWithBlanksWhole) {
  fake_.identity.tempPath = "C:\\Documents and Settings\\jdoe\\Local Settings\\Temp\\";
  fake_.files.AddFolder(fake_.identity.tempPath);
  cmdView_Click(fake_.Services());
  ASSERT_EQ(fake_.user.started.size(), 1u);
  EXPECT_EQ(fake_.user.started[0].commandLine,
            "Notepad.exe C:\\Documents and Settings\\jdoe\\Local Settings\\Temp\\\\" +
                std::string(kProposed));
}

TEST_F(ReportCommands, ViewOpensNoViewerOnAReportThatWasNotWritten) {
  fake_.identity.tempPath = "C:\\Gone\\";
  cmdView_Click(fake_.Services());
  EXPECT_TRUE(fake_.user.started.empty());
  ExpectOneError("procedure doReport", "(error 3)");
}

TEST_F(ReportCommands, ViewWithoutATemporaryFolderWritesNothingAnywhere) {
  fake_.identity.tempPath = "";
  cmdView_Click(fake_.Services());
  EXPECT_TRUE(fake_.user.started.empty());
  ExpectOneError("procedure cmdView_Click", "(error 76)");
  EXPECT_EQ(fake_.files.FilesIn("C:\\").size(), 1u) << "only the Mordale file";
}

TEST_F(ReportCommands, ViewReportsAViewerThatCannotBeStarted) {
  fake_.user.failNext = {2, "The system cannot find the file specified."};
  cmdView_Click(fake_.Services());
  ExpectOneError("procedure cmdView_Click", "The system cannot find the file specified. (error 2)");
}

TEST_F(ReportCommands, ViewWithoutTheSystemFolderNeverLooksForNotepadByName) {
  fake_.identity.systemFolder = "";
  cmdView_Click(fake_.Services());
  EXPECT_TRUE(fake_.user.started.empty());
  ExpectOneError("procedure cmdView_Click", "The system cannot find the file specified. (error 2)");
}

#ifdef _WIN32
// The real temporary folder, real files and the real clock: what Notepad would
// open is the report, byte for byte.
TEST(ReportCommandsOnWindows, ViewWritesARealReportIntoTheRealTemporaryFolder) {
  platform::FakePlatform fake;
  report_testing::PrepareWorkedExample(fake);
  platform::Win32Platform win32;
  const platform::Platform os{fake.registry, fake.environment, win32.identity,   win32.files,
                              fake.clock,    fake.user,        win32.sharedFiles};
  cmdView_Click(os);
  ASSERT_TRUE(fake.user.messages.empty()) << fake.user.messages[0].text;
  ASSERT_EQ(fake.user.started.size(), 1u);
  const std::string commandLine = fake.user.started[0].commandLine;
  ASSERT_TRUE(commandLine.starts_with("Notepad.exe "));
  const std::string path = commandLine.substr(12);
  const std::string expected = modReport::EncodeReport(modReport::ReportText(os));
  std::string written;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
      written.append(buffer, n);
    }
    std::fclose(file);
  }
  std::remove(path.c_str());
  EXPECT_EQ(written, expected);
}

// The machine, the user, the environment, the stored values and the folders
// all hold text outside ASCII; the report comes out whole, byte for byte as
// another program reads it. The user's key also holds two names that UTF-8
// cannot tell apart: the report has no line for them and is not stopped.
TEST(ReportCommandsOnWindows, ViewWritesTheWholeReportForANonAsciiMachine) {
  using platform::kCurrentUser;
  using platform::kLocalMachine;
  const auto test = testing_support::MakeWin32TestPlatform();
  const std::string machine = "一丁丂七丄丅丆万丈三上下丌不与";  // 45 bytes
  if (!test->SetUserName("Jösé") || !test->SetMachineName(machine)) {
    GTEST_SKIP() << "the user and machine cannot be chosen here";
  }
  const std::string temp = test->MakeFolder("Témp 日本") + "\\";
  test->SetTempPath(temp);
  const std::string mordale = test->MakeFolder("Mördale");
  CreateDirectoryW(testing_support::Utf16Of(mordale + "\\bin").c_str(), nullptr);
  CloseHandle(CreateFileW(testing_support::Utf16Of(mordale + "\\bin\\mordale.mdb").c_str(),
                          GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  const std::string path = "C:\\Ünïcødé\\bin;" + mordale + "\\bin;C:\\Shared Tools";
  test->SetVariable("PATH", path);
  test->SetVariable("CLASSPATH", "C:\\Mördale\\lib\\𝒳.jar");
  for (const char* name : {"TILBURPATH", "MORDALERTC", "QUVPATH", "DRXCONNECTORPATH",
                           "KWTCONNECTORPATH", "COMMON LIBRARIES", "ZENTARO_HOME", "PUX_HOME",
                           "GOB_HOME", "YEL_JAVA_HOME", "OMRA_DOMAINS_FILE"}) {
    test->UnsetVariable(name);
  }
  test->SetVariable("CORVANE_HOME", "C:\\Corvane 山");
  test->SetVariable("MORDALEPATH", mordale);
  const std::string system = environment::kSystemEnvironmentKey;
  test->SetString(kLocalMachine, system, "Path", "%SystemRoot%\\system32;C:\\Αθήνα",
                  platform::kRegExpandSz);
  test->SetString(kLocalMachine, system, "CORVANE_HOME", "C:\\Corvane 山");
  test->SetString(kCurrentUser, environment::kUserEnvironmentKey, "PATH", "C:\\Ünïcødé\\bin");
  test->SetString(kCurrentUser, environment::kUserEnvironmentKey, "MORDALEPATH", mordale);
  test->SetStringUtf16(kCurrentUser, environment::kUserEnvironmentKey, u"X\xD800", "1");
  test->SetStringUtf16(kCurrentUser, environment::kUserEnvironmentKey, u"X\xDBFF", "2");

  platform::FakePlatform fake;  // the clock, and the user services that record Notepad's start
  const platform::Platform real = test->Services();
  cmdView_Click(platform::Platform{real.registry, real.environment, real.identity, real.files,
                                   fake.clock, fake.user, real.sharedFiles});

  for (const auto& box : fake.user.messages) ADD_FAILURE() << box.text;
  const std::string file = temp + "\\" + machine + "_Jösé_2011-03-07_14-05.txt";
  ASSERT_EQ(fake.user.started.size(), 1u);
  EXPECT_EQ(fake.user.started[0].commandLine, "Notepad.exe " + file);
  const std::string lines[] = {
      "****************************************",
      "* Path Report by Velmora version 1.0.24*",
      "* Written for Corvane product support  *",
      "*                                      *",
      "* Machine name: " + machine + "        *",
      "* User: Jösé                           *",
      "* Date: 2011-03-07 14:05:09            *",
      "****************************************",
      "",
      "PATH",
      "Effective path: " + path,
      "",
      "     USR C:\\Ünïcødé\\bin",
      "     SYS " + mordale + "\\bin",
      "     SYS C:\\Shared Tools",
      "",
      "System PATH variable:",
      "     %SystemRoot%\\system32",
      "     C:\\Αθήνα",
      "",
      "User PATH variable for Jösé:",
      "     C:\\Ünïcødé\\bin",
      "",
      "Effective ClassPath: C:\\Mördale\\lib\\𝒳.jar",
      "",
      "System CLASSPATH variable:",
      "",
      "User CLASSPATH variable for Jösé:",
      "",
      "MISC CORVANE PRODUCT VARIABLES",
      "     SYS CORVANE_HOME: C:\\Corvane 山\t !! (Folder not found)",
      "         TILBURPATH: ",
      "     USR MORDALEPATH: " + mordale + "\t (Folder exists)",
      "         MORDALERTC: ",
      "         QUVPATH: ",
      "         DRXCONNECTORPATH: ",
      "         KWTCONNECTORPATH: ",
      "         COMMON LIBRARIES: ",
      "         ZENTARO_HOME: ",
      "         PUX_HOME: ",
      "         GOB_HOME: ",
      "         YEL_JAVA_HOME: ",
      "         OMRA_DOMAINS_FILE: ",
      "    %MordalePath%\\bin\\mordale.mdb exists",
      "         %MordalePath%\\bin is in PATH",
  };
  std::wstring text;
  for (const std::string& line : lines) text += testing_support::Utf16Of(line) + L"\r\n";
  const std::string expected =
      "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  EXPECT_EQ(test->ReadFile(file), expected);
}
#endif

}  // namespace
