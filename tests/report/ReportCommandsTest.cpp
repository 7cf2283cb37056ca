#include "report/ReportCommands.h"

#include <new>
#include <string>

#include <gtest/gtest.h>

#include "environment/Identity.h"
#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#include "report/ReportFile.h"
#include "report/ReportTestSupport.h"
#include "support/PlatformTest.h"

namespace velmora {
namespace {

using report::cmdSave_Click;
using report::cmdView_Click;
using report_testing::Names;
using testing_support::Binding;
using testing_support::MakeTestPlatform;

class ViewReport : public ::testing::TestWithParam<Binding> {};

// The report is written into the temporary folder, whatever its name holds,
// and the system's own Notepad started on it: the worked example, and the
// same with names outside ASCII of the same lengths in characters (the frame
// stays as it is). The user's key also holds two names that UTF-8 cannot
// tell apart: the report has no line for them and goes on.
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
              report::EncodeReport(report_testing::WorkedExampleText(names, *corvane)));
    ASSERT_EQ(fake.user.started.size(), 1u);
    EXPECT_EQ(fake.user.started[0].application, environment::GetSystemFolder(os) + "\\notepad.exe");
    EXPECT_EQ(fake.user.started[0].commandLine, "Notepad.exe " + file);
    EXPECT_EQ(fake.user.started[0].showCommand, platform::kSwShowNormal);
  }
}

VELMORA_ON_EVERY_BINDING(ViewReport);

// A clock that fails as no clock of the platform's does.
struct NoMemoryClock : platform::ClockApi {
  platform::LocalTime Now() override { throw std::bad_alloc(); }
};

// Each outcome of the two commands: one error box from the procedure that met
// a failure of whatever kind, or none for a cancel; no viewer started on a
// failure, and a report written only when it came before the failure (the
// Mordale file is there from the start).
TEST(ReportCommands, SaveWritesTheChosenFileAndEachFailureIsReportedOnceWhereItHappened) {
  using Fake = platform::FakePlatform;
  NoMemoryClock noMemory;
  const struct {
    const char* what;
    void (*command)(const platform::Platform&);
    void (*prepare)(Fake&);
    const char* detail;  // nullptr: no error box
    const char* procedure;
    std::size_t files;
    platform::ClockApi* clock = nullptr;  // the double's when not given
  } cases[] = {
      {"saved under a name with outer blanks", cmdSave_Click,
       [](Fake& fake) { fake.user.saveAnswer = "  C:\\my report.txt  "; }, nullptr, "", 2},
      {"Save As cancelled", cmdSave_Click, [](Fake& fake) { fake.user.saveAnswer.reset(); },
       nullptr, "", 1},
      {"a name of blanks", cmdSave_Click, [](Fake& fake) { fake.user.saveAnswer = "   "; }, nullptr,
       "", 1},
      {"Cancel selected", cmdSave_Click,
       [](Fake& fake) {
         fake.user.failNext = {platform::kFailureDialogCancelled, "Cancel"};
       },
       nullptr, "", 1},
      {"the Save As dialog fails", cmdSave_Click,
       [](Fake& fake) { fake.user.failNext.emplace(12290, "no dialog"); },
       "no dialog (error 12290)", "cmdSave_Click", 1},
      {"saved into a missing folder", cmdSave_Click,
       [](Fake& fake) { fake.user.saveAnswer = "C:\\Nowhere\\r.txt"; },
       "The system cannot find the path specified. (error 3)", "doReport", 1},
      {"the user's key names a variable twice", cmdSave_Click,
       [](Fake& fake) {
         fake.registry.AppendValue(platform::kCurrentUser, environment::kUserEnvironmentKey, "path",
                                   platform::kRegSz, {'x', 0});
       },
       "(error 457)", "doReport", 1},
      // The system's key is only listed: without it the report goes on.
      {"the system's key names a variable twice", cmdSave_Click,
       [](Fake& fake) {
         fake.registry.AppendValue(platform::kLocalMachine, environment::kSystemEnvironmentKey,
                                   "path", platform::kRegSz, {'x', 0});
       },
       nullptr, "", 2},
      {"the temporary folder is gone", cmdView_Click,
       [](Fake& fake) { fake.identity.tempPath = "C:\\Gone\\"; }, "(error 3)", "doReport", 1},
      {"no temporary folder", cmdView_Click, [](Fake& fake) { fake.identity.tempPath = ""; },
       "(error 76)", "cmdView_Click", 1},
      {"Notepad cannot be started", cmdView_Click,
       [](Fake& fake) { fake.user.failNext.emplace(2, "not there"); }, "not there (error 2)",
       "cmdView_Click", 2},
      // Never a search for Notepad by its bare name.
      {"no system folder", cmdView_Click, [](Fake& fake) { fake.identity.systemFolder = ""; },
       "(error 2)", "cmdView_Click", 2},
      {"no memory for the time", cmdSave_Click, [](Fake&) {}, "Out of memory (error 7)",
       "cmdSave_Click", 1, &noMemory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    report_testing::WorkedDouble example;
    Fake& fake = example.fake;
    fake.files.AddFolder("C:\\TEMP");
    fake.user.saveAnswer = "C:\\my report.txt";
    fake.clock.now = {2009, 1, 2, 3, 4, 59};
    c.prepare(fake);
    const platform::Platform os = fake.Services();
    c.command(c.clock == nullptr ? os
                                 : platform::Platform{os.registry, os.environment, os.identity,
                                                      os.files, *c.clock, os.user, os.sharedFiles});
    EXPECT_TRUE(fake.user.started.empty());
    EXPECT_EQ(fake.files.FilesIn("C:\\").size(), c.files);
    EXPECT_EQ(fake.files.Content("C:\\my report.txt").has_value(),
              c.command == cmdSave_Click && c.files == 2);
    for (const auto& request : fake.user.saveRequests) {
      EXPECT_EQ(request.fileName, "BUILD07_jdoe_2009-01-02_03-04.txt");
    }
    if (c.detail == nullptr) {
      EXPECT_TRUE(fake.user.messages.empty());
      continue;
    }
    ASSERT_EQ(fake.user.messages.size(), 1u);
    const std::string& text = fake.user.messages[0].text;
    EXPECT_NE(text.find(c.detail), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(std::string("procedure ") + c.procedure)) << text;
  }
}

}  // namespace
}  // namespace velmora
