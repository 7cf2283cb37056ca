#include "report/ReportCommands.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "environment/Identity.h"
#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#include "report/ReportFile.h"
#include "report/ReportTestSupport.h"

namespace {

using modReport::cmdSave_Click;
using modReport::cmdView_Click;
using report_testing::Names;
using testing_support::Binding;
using testing_support::MakeTestPlatform;

class ViewReport : public ::testing::TestWithParam<Binding> {};

// The report is written into the temporary folder, whatever its name holds,
// and the system's own Notepad started on it: the worked example, and the
// same with names outside ASCII. The user's key also holds two names that
// UTF-8 cannot tell apart: the report has no line for them and goes on.
TEST_P(ViewReport, WritesTheWorkedExampleAndStartsNotepadOnIt) {
  for (const Names& names :
       {report_testing::kWorkedNames, Names{"ПК-山田07", "Jösé", "Cörvane 山"}}) {
    SCOPED_TRACE(names.user);
    const auto test = MakeTestPlatform(GetParam());
    const auto corvane = report_testing::PrepareWorkedExample(*test, names);
    if (!corvane) GTEST_SKIP() << "the user and machine cannot be chosen here";
    const std::string temp = test->MakeFolder("Témp 日本") + "\\";
    test->SetTempPath(temp);
    test->SetStringUtf16(platform::kCurrentUser, environment::kUserEnvironmentKey, u"X\xD800", "1");
    test->SetStringUtf16(platform::kCurrentUser, environment::kUserEnvironmentKey, u"X\xDBFF", "2");

    platform::FakePlatform fake;  // the clock, and user services that record what is started
    const platform::Platform os = test->Services();
    cmdView_Click(platform::Platform{os.registry, os.environment, os.identity, os.files, fake.clock,
                                     fake.user, os.sharedFiles});

    for (const auto& box : fake.user.messages) ADD_FAILURE() << box.text;
    const std::string file =
        temp + "\\" + names.machine + "_" + names.user + "_2011-03-07_14-05.txt";
    EXPECT_EQ(test->ReadFile(file),
              modReport::EncodeReport(report_testing::WorkedExampleText(names, *corvane)));
    ASSERT_EQ(fake.user.started.size(), 1u);
    EXPECT_EQ(fake.user.started[0].application, modWinAPI::GetSystemFolder(os) + "\\notepad.exe");
    EXPECT_EQ(fake.user.started[0].commandLine, "Notepad.exe " + file);
    EXPECT_EQ(fake.user.started[0].showCommand, platform::kSwShowNormal);
  }
}

VELMORA_ON_EVERY_BINDING(ViewReport);

class SaveReport : public ::testing::Test {
 protected:
  SaveReport() { (void)report_testing::PrepareWorkedExample(*test_); }

  std::unique_ptr<testing_support::TestPlatform> test_ = MakeTestPlatform(Binding::kFake);
  platform::FakePlatform& fake_ = *test_->Double();
};

TEST_F(SaveReport, OffersTheProposedNameAndWritesTheChosenOneWithoutOuterBlanks) {
  fake_.clock.now = {2009, 1, 2, 3, 4, 59};
  fake_.user.saveAnswer = "  C:\\Reports\\my report.txt  ";
  fake_.files.AddFolder("C:\\Reports");
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

TEST_F(SaveReport, CancelledOrBlankWritesAndSaysNothing) {
  fake_.user.saveAnswer.reset();
  cmdSave_Click(fake_.Services());
  fake_.user.saveAnswer = "   ";
  cmdSave_Click(fake_.Services());
  fake_.user.failNext = {platform::kFailureDialogCancelled, "Cancel was selected."};
  cmdSave_Click(fake_.Services());
  EXPECT_TRUE(fake_.user.messages.empty());
  EXPECT_EQ(fake_.files.FilesIn("C:\\").size(), 1u) << "only the Mordale file";
}

// Each failure: one error box from the procedure that met it, no viewer
// started, and a report written only when the failure came after it (the
// Mordale file is there from the start).
TEST(ReportCommandFailures, AreReportedOnceByTheProcedureThatMetThem) {
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
       [](auto& fake) { fake.user.saveAnswer = "C:\\Nowhere\\r.txt"; },
       "The system cannot find the path specified. (error 3)", "doReport", 1},
      {"the disk is full", cmdSave_Click,
       [](auto& fake) {
         fake.user.saveAnswer = "C:\\r.txt";
         fake.files.FailWrite(1, platform::kErrorDiskFull, 10);
       },
       "(error 112)", "doReport", 1},
      {"the user's key names a variable twice", cmdSave_Click,
       [](auto& fake) {
         fake.user.saveAnswer = "C:\\r.txt";
         fake.registry.AppendValue(platform::kCurrentUser, environment::kUserEnvironmentKey, "path",
                                   platform::kRegSz, {'x', 0});
       },
       "(error 457)", "doReport", 1},
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
    const auto test = MakeTestPlatform(Binding::kFake);
    (void)report_testing::PrepareWorkedExample(*test);
    platform::FakePlatform& fake = *test->Double();
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

}  // namespace
