// Which copy of a program runs, the marks of PATH entries that can never be
// used, the order of marks, and the sweep that keeps going past a server
// that never answers.
#include "environment/WhichCopy.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "environment/EntryChecks.h"
#include "environment/ExistenceSweep.h"
#include "environment/Lookups.h"
#include "support/PlatformTest.h"
#include "text/Text.h"

namespace velmora {
namespace {

using environment::EntryJudgement;
using environment::EntryMark;
using environment::SearchList;

// An entry's programs in short words: "java.exe<1" never runs, entry 1's
// copy comes first; "java.exe>2,3" runs over entries 2 and 3; "*" after an
// execution alias.
std::string ProgramsOf(const environment::WhichCopy& programs) {
  std::string words;
  const auto name = [](const environment::ProgramCopy& copy) {
    return copy.file + (copy.executionAlias ? "*" : "");
  };
  for (const auto& never : programs.neverRun) {
    words += (words.empty() ? "" : " ") + name(never.copy) + "<" + std::to_string(never.byEntry);
  }
  for (const auto& runs : programs.runsFirst) {
    words += (words.empty() ? "" : " ") + name(runs.copy) + ">";
    for (std::size_t at = 0; at < runs.overEntries.size(); ++at) {
      words += (at == 0 ? "" : ",") + std::to_string(runs.overEntries[at]);
    }
  }
  return words;
}

class ProgramResolution : public testing_support::PlatformTest {};

// Real folders on the real binding, the double's everywhere: PATH order,
// PATHEXT order inside one folder, letter case, identical copies (same size
// and bytes), same size but other bytes, files no PATHEXT names, and PATHEXT
// unset (the default list) or set.
TEST_P(ProgramResolution, EachProgramNameRunsItsFirstCopy) {
  const struct {
    const char* file;
    const char* content;
  } planted[] = {
      {"a\\java.exe", "v17"}, {"a\\tool.com", "c"},  {"a\\tool.exe", "e"},   {"a\\Case.EXE", "1"},
      {"a\\same.exe", "x"},   {"a\\size.exe", "ab"}, {"a\\run.vbs", "1"},    {"a\\notes.txt", "1"},
      {"b\\java.exe", "v8"},  {"b\\case.exe", "2"},  {"b\\same.exe", "x"},   {"b\\size.exe", "ba"},
      {"b\\run.vbs", "2"},    {"b\\notes.txt", "2"}, {"c\\java.exe", "v17"}, {"c\\javac.exe", "17"},
  };
  std::string folders[3];
  for (const auto& file : planted) {
    const std::string path = Test().MakeFile(file.file, file.content);
    folders[file.file[0] - 'a'] = path.substr(0, path.rfind('\\'));
  }
  // Entries 4 (missing) and 5 (a repeat of 1) hold nothing.
  const std::string value = folders[0] + ";" + folders[1] + ";" + folders[2] + ";" + folders[0] +
                            "\\missing;" + folders[0];
  const struct {
    const char* pathext;  // nullptr: unset
    std::vector<std::string> programs;
  } cases[] = {
      {nullptr,
       {"tool.exe<1 Case.EXE>2 java.exe>2 size.exe>2", "case.exe<1 java.exe<1 size.exe<1", "", "",
        ""}},
      {".exe;;.VBS;.com",
       {"tool.com<1 Case.EXE>2 java.exe>2 run.vbs>2 size.exe>2",
        "case.exe<1 java.exe<1 run.vbs<1 size.exe<1", "", "", ""}},
  };
  for (const auto& c : cases) {
    if (c.pathext == nullptr) {
      Test().UnsetVariable("PATHEXT");
    } else {
      Test().SetVariable("PATHEXT", c.pathext);
    }
    const auto judged = environment::JudgeAll(SearchList::kPath, value, Os(), {});
    ASSERT_EQ(judged.size(), c.programs.size());
    for (std::size_t at = 0; at < judged.size(); ++at) {
      EXPECT_EQ(ProgramsOf(judged[at].programs), c.programs[at]) << "entry " << at + 1;
      EXPECT_EQ(judged[at].mark == EntryMark::kNeverRuns, at < 2) << "entry " << at + 1;
    }
  }
}

// An execution alias is named as such and never compared byte for byte.
TEST(WhichCopyAlias, IsNamedAndNeverTakenForTheSameProgram) {
  platform::FakePlatform fake;
  fake.files.AddExecutionAlias("C:\\Users\\u\\AppData\\Local\\Microsoft\\WindowsApps\\python.exe");
  fake.files.AddFile("C:\\Python\\python.exe");  // zero bytes too
  const auto judged = environment::JudgeAll(
      SearchList::kPath, "C:\\Users\\u\\AppData\\Local\\Microsoft\\WindowsApps;C:\\Python",
      fake.Services(), {});
  ASSERT_EQ(judged.size(), 2u);
  EXPECT_EQ(ProgramsOf(judged[0].programs), "python.exe*>2");
  EXPECT_EQ(ProgramsOf(judged[1].programs), "python.exe<1");
  EXPECT_EQ(judged[1].programs.neverRun[0].by.executionAlias, true);
}

// Every pair of marks an entry can bear shows the one kMarkOrder puts first,
// whichever came first; taking one away shows the next.
TEST(MarkOrder, TheFirstMarkOfTheTableIsShown) {
  for (int first = 0; first < environment::kMarkKinds; ++first) {
    for (int second = first + 1; second < environment::kMarkKinds; ++second) {
      const EntryMark ahead = environment::kMarkOrder[first];
      const EntryMark behind = environment::kMarkOrder[second];
      EntryJudgement judgement;
      environment::SetMark(judgement, behind);
      environment::SetMark(judgement, ahead);
      EXPECT_EQ(judgement.mark, ahead);
      environment::SetMark(judgement, ahead, false);
      EXPECT_EQ(judgement.mark, behind);
    }
  }
}

class UnusableEntries : public testing_support::PlatformTest {};

// References and quotes in PATH entries, with the stored PATH on the real
// registry: a plain-text value holding a defined name is the value's fault.
TEST_P(UnusableEntries, ReferencesAndQuotesAreMarkedWithTheirCause) {
  Test().SetVariable("VELMORA_JAVA", "C:\\Java");
  Test().UnsetVariable("VELMORA_UNSET");
  Test().SetString(platform::kCurrentUser, environment::kUserEnvironmentKey, "Path",
                   "%VELMORA_JAVA%\\bin;%VELMORA_UNSET%\\bin;\"C:\\Program Files\\x");
  Test().SetString(platform::kLocalMachine, environment::kSystemEnvironmentKey, "Path",
                   "%VELMORA_JAVA%\\lib", platform::kRegExpandSz);
  const struct {
    const char* entry;
    EntryMark mark;
    const char* reference;
    environment::Holder holder;
    bool plainTextDefined;
  } cases[] = {
      {"%VELMORA_JAVA%\\bin", EntryMark::kNeverExpanded, "%VELMORA_JAVA%",
       environment::Holder::kUser, true},
      {"%VELMORA_UNSET%\\bin", EntryMark::kNeverExpanded, "%VELMORA_UNSET%",
       environment::Holder::kUser, false},
      {"%velmora_java%\\LIB", EntryMark::kNeverExpanded, "%velmora_java%",
       environment::Holder::kSystem, false},
      {"%VELMORA_JAVA%\\elsewhere", EntryMark::kNeverExpanded, "%VELMORA_JAVA%",
       environment::Holder::kUnknown, false},
      {"\"C:\\Program Files\\x", EntryMark::kUnbalancedQuote, "", environment::Holder::kUnknown,
       false},
      {"\"C:\\Program Files\\%VELMORA_JAVA%\"", EntryMark::kNeverExpanded, "%VELMORA_JAVA%",
       environment::Holder::kUnknown, false},
      {"100%", EntryMark::kNotFound, "", environment::Holder::kUnknown, false},
      {"%%", EntryMark::kNotFound, "", environment::Holder::kUnknown, false},
  };
  std::string value;
  for (const auto& c : cases) value += (value.empty() ? "" : ";") + std::string(c.entry);
  const auto judged =
      environment::JudgeAll(SearchList::kPath, value, Os(),
                            environment::StoredPathOf(environment::ReadUserValues(Os()),
                                                      environment::ReadSystemValues(Os())));
  ASSERT_EQ(judged.size(), std::size(cases));
  for (std::size_t at = 0; at < judged.size(); ++at) {
    EXPECT_EQ(judged[at].mark, cases[at].mark) << cases[at].entry;
    EXPECT_EQ(judged[at].reference, cases[at].reference) << cases[at].entry;
    EXPECT_EQ(judged[at].holder, cases[at].holder) << cases[at].entry;
    EXPECT_EQ(judged[at].plainTextDefined, cases[at].plainTextDefined) << cases[at].entry;
  }
  // The quote's entry is still tested; the reference's never is.
  EXPECT_TRUE(environment::Bears(judged[4], EntryMark::kNotFound));
  EXPECT_FALSE(environment::Bears(judged[0], EntryMark::kNotFound));
}

VELMORA_ON_EVERY_BINDING(ProgramResolution);
VELMORA_ON_EVERY_BINDING(UnusableEntries);

// Whether done() holds within ten seconds.
bool Within10s(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

// A server that never answers, asked second: every other answer and the
// programs' resolution still come; once the server answers, its own answer
// and its programs follow. Then a sweep stopped while its question hangs:
// nothing more is reported and the sweep lets go of what it held (the
// sanitizers of the native build see any use of freed memory).
TEST(ExistenceSweep, GoesOnPastAServerThatNeverAnswersAndLetsGoOnceStopped) {
  auto fake = std::make_unique<platform::FakePlatform>();
  fake->files.AddFile("C:\\a\\tool.exe", "1");
  fake->files.AddFile("\\\\server\\share\\tool.exe", "2");
  fake->files.AddFile("C:\\c\\tool.exe", "3");
  fake->files.HoldAnswers("\\\\server\\share");
  struct Reports {
    std::mutex mutex;
    std::vector<std::pair<std::uint64_t, bool>> answers;
    int resolutions = 0;
  };
  const auto reports = std::make_shared<Reports>();
  const auto taken = [reports] {
    const std::lock_guard lock(reports->mutex);
    return std::make_pair(reports->answers, reports->resolutions);
  };
  environment::SweepReports report{[reports](std::uint64_t key, bool found) {
                                     const std::lock_guard lock(reports->mutex);
                                     reports->answers.emplace_back(key, found);
                                   },
                                   [reports] {
                                     const std::lock_guard lock(reports->mutex);
                                     ++reports->resolutions;
                                   }};
  const std::vector<environment::ExistenceQuestion> questions{
      {1, "C:\\a", environment::Wanted::kFolder, 1},
      {2, "\\\\server\\share", environment::Wanted::kFolder, 2},
      {3, "C:\\c", environment::Wanted::kFolder, 3},
      {4, "C:\\missing", environment::Wanted::kFolder, 4}};
  auto sweep = environment::ExistenceSweep::Start(fake->sharedFiles, questions, {".EXE"}, report,
                                                  std::chrono::milliseconds(20));
  ASSERT_NE(sweep, nullptr);
  using Answers = std::vector<std::pair<std::uint64_t, bool>>;
  EXPECT_TRUE(Within10s([&] { return taken().second >= 1; }));
  EXPECT_EQ(taken().first, (Answers{{1, true}, {3, true}, {4, false}}));
  EXPECT_EQ(ProgramsOf(sweep->Programs()[3]), "tool.exe<1");
  fake->files.ReleaseAnswers();
  EXPECT_TRUE(Within10s([&] { return taken().second >= 2; }));
  EXPECT_EQ(taken().first, (Answers{{1, true}, {3, true}, {4, false}, {2, true}}));
  EXPECT_EQ(ProgramsOf(sweep->Programs()[2]), "tool.exe<1");
  EXPECT_EQ(ProgramsOf(sweep->Programs()[1]), "tool.exe>2,3");

  // The first question hangs: the watch is there for it too, and the rest go on.
  fake->files.HoldAnswers("C:\\a");
  sweep = environment::ExistenceSweep::Start(fake->sharedFiles, questions, {".EXE"}, report,
                                             std::chrono::milliseconds(20));
  ASSERT_TRUE(fake->files.WaitForHeldCalls(1, std::chrono::seconds(10)));
  EXPECT_TRUE(Within10s([&] { return taken().second >= 3; }));
  EXPECT_EQ(
      taken().first,
      (Answers{{1, true}, {3, true}, {4, false}, {2, true}, {2, true}, {3, true}, {4, false}}));
  const auto before = taken();
  sweep->Stop();  // returns at once, the test still hanging
  const std::weak_ptr<platform::FakeFileSystem> files = fake->sharedFiles;
  sweep.reset();
  fake.reset();
  ASSERT_FALSE(files.expired()) << "the hanging test still holds its file system";
  files.lock()->ReleaseAnswers();
  EXPECT_TRUE(Within10s([&] { return files.expired(); })) << "the sweep let go of the file system";
  EXPECT_EQ(taken(), before);

  // A sweep prepared for questions that never come ends once stopped.
  const auto idle = std::make_shared<platform::FakeFileSystem>();
  sweep = environment::ExistenceSweep::Prepare(idle, {".EXE"}, report);
  ASSERT_NE(sweep, nullptr);
  sweep->Stop();
  sweep.reset();
  const std::weak_ptr<platform::FakeFileSystem> idleFiles = idle;
  EXPECT_TRUE(Within10s([&] { return idleFiles.use_count() == 1; })) << "its thread let go";
  EXPECT_EQ(taken(), before);
}

}  // namespace
}  // namespace velmora
