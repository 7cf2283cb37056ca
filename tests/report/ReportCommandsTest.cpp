#include "report/ReportCommands.h"

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "report/ReportFile.h"
#include "report/ReportTestSupport.h"

#ifdef _WIN32
#include <windows.h>

#include "support/TestPlatform.h"
#include "support/WideText.h"
#endif

namespace {

using modReport::cmdSave_Click;
using modReport::cmdView_Click;

class ReportCommands : public ::testing::Test {
 protected:
  ReportCommands() {
    report_testing::PrepareWorkedExample(fake_);
    fake_.files.AddFolder("C:\\Reports");
  }

  platform::FakePlatform fake_;
};

TEST_F(ReportCommands, SaveOffersTheProposedNameAndWritesTheChosenOneWithoutOuterBlanks) {
  fake_.clock.now = {2009, 1, 2, 3, 4, 59};
  fake_.user.saveAnswer = "  C:\\Reports\\my report.txt  ";
  cmdSave_Click(fake_.Services());
  ASSERT_EQ(fake_.user.saveRequests.size(), 1u);
  const auto& request = fake_.user.saveRequests[0];
  EXPECT_EQ(request.filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
  EXPECT_EQ(request.filterIndex, 2);
  EXPECT_EQ(request.fileName, "BUILD07_jdoe_2009-01-02_03-04.txt");
  EXPECT_TRUE(fake_.files.Content("C:\\Reports\\my report.txt"));
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
  EXPECT_EQ(fake_.files.FilesIn("C:\\").size(), 1u) << "only the Mordale file";
}

// The report written into the temporary folder, whatever its name holds, and
// the system's own Notepad started on it.
TEST_F(ReportCommands, ViewOpensTheReportInNotepad) {
  for (const std::string temp :
       {"C:\\TEMP\\", "C:\\Documents and Settings\\jdoe\\Local Settings\\Temp\\"}) {
    fake_.identity.tempPath = temp;
    fake_.files.AddFolder(temp);
    cmdView_Click(fake_.Services());
    const std::string path = temp + "\\BUILD07_jdoe_2011-03-07_14-05.txt";
    EXPECT_EQ(fake_.files.Content(path),
              modReport::EncodeReport(report_testing::WorkedExampleText()));
    ASSERT_FALSE(fake_.user.started.empty());
    EXPECT_EQ(fake_.user.started.back().application, "C:\\WINDOWS\\system32\\notepad.exe");
    EXPECT_EQ(fake_.user.started.back().commandLine, "Notepad.exe " + path);
    EXPECT_EQ(fake_.user.started.back().showCommand, platform::kSwShowNormal);
  }
  EXPECT_TRUE(fake_.user.messages.empty());
}

// Each failure: one error box from the procedure that met it, no viewer
// started, and a report written only when the failure came after it.
TEST_F(ReportCommands, AFailureIsReportedOnceByTheProcedureThatMetIt) {
  const struct {
    const char* what;
    void (*command)(const platform::Platform&);
    void (*prepare)(platform::FakePlatform&);
    const char* detail;
    const char* procedure;
    std::size_t files;
  } cases[] = {
      {"the Save As dialog fails", cmdSave_Click,
       [](auto& fake) { fake.user.failNext.emplace(12290, "no dialog"); },
       "no dialog (error 12290)", "cmdSave_Click", 1},
      {"saved into a missing folder", cmdSave_Click,
       [](auto& fake) { fake.user.saveAnswer = "C:\\Nowhere\\r.txt"; }, "(error 3)", "doReport", 1},
      {"the temporary folder is gone", cmdView_Click,
       [](auto& fake) { fake.identity.tempPath = "C:\\Gone\\"; }, "(error 3)", "doReport", 1},
      {"no temporary folder", cmdView_Click, [](auto& fake) { fake.identity.tempPath = ""; },
       "(error 76)", "cmdView_Click", 1},
      {"Notepad cannot be started", cmdView_Click,
       [](auto& fake) { fake.user.failNext.emplace(2, "not there"); }, "not there (error 2)",
       "cmdView_Click", 2},
      // Never a search for Notepad by its bare name.
      {"no system folder", cmdView_Click, [](auto& fake) { fake.identity.systemFolder = ""; },
       "(error 2)", "cmdView_Click", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    platform::FakePlatform fake;
    report_testing::PrepareWorkedExample(fake);
    fake.files.AddFolder("C:\\TEMP");
    c.prepare(fake);
    c.command(fake.Services());
    ASSERT_EQ(fake.user.messages.size(), 1u);
    const std::string& text = fake.user.messages[0].text;
    EXPECT_NE(text.find(c.detail), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(std::string("procedure ") + c.procedure)) << text;
    EXPECT_TRUE(fake.user.started.empty());
    EXPECT_EQ(fake.files.FilesIn("C:\\").size(), c.files);
  }
}

#ifdef _WIN32
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
