// Judging the entries of a search list: the marks and their words, the
// summary line, and the existence tests on a thread of their own.
#include "environment/EntryChecks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "environment/ExistenceSweep.h"
#include "text/Text.h"
#include "platform/FakePlatform.h"

namespace velmora {
namespace {

using environment::EntryJudgement;
using environment::SearchList;

// One tree of sample places for every test here.
void PlantSamples(platform::FakePlatform& fake) {
  fake.files.AddFolder("C:\\Windows\\System32");
  fake.files.AddFile("C:\\Tools\\tool.exe");
  fake.files.AddFile("C:\\lib\\a.jar");
  fake.files.AddFolder("C:\\lib\\classes.zip");
  fake.files.AddFolder("C:\\Work");
  fake.files.currentFolder = "C:\\Work";
  fake.environment.Set("SystemRoot", "C:\\Windows");
}

// The mark in short words: "" none, "not found", "empty", "same as n".
std::string MarkOf(const EntryJudgement& judgement) {
  switch (judgement.mark) {
    case environment::EntryMark::kNotFound:
      return "not found";
    case environment::EntryMark::kRepeated:
      return "same as " + std::to_string(judgement.sameAs);
    case environment::EntryMark::kEmpty:
      return "empty";
    default:
      return "";
  }
}

// Each list's entries in order, judged as the window does (the text first,
// then each existence test answered in order): PATH entries are folders,
// CLASSPATH archives files and its other entries anything there; repeats
// compare expanded, letter case and one closing backslash aside.
TEST(EntryChecks, EachEntryGetsTheMarkItsTextAndPlaceCallFor) {
  platform::FakePlatform fake;
  PlantSamples(fake);
  const SearchList kPath = SearchList::kPath;
  const SearchList kClasspath = SearchList::kClasspath;
  const struct {
    SearchList list;
    const char* entry;
    const char* mark;  // "" none, "not found", "empty", "same as n" (a repeat of entry n)
  } cases[] = {
      {kPath, "C:\\Tools", ""},
      {kPath, "C:\\Missing", "not found"},
      {kPath, "c:\\TOOLS\\", "same as 1"},
      {kPath, "", "empty"},
      {kPath, "%SystemRoot%\\System32", ""},
      {kPath, "C:\\Windows\\system32", "same as 5"},
      {kPath, "C:\\Tools\\tool.exe", "not found"},  // a file is no folder
      {kPath, "C:\\Missing", "same as 2"},          // a repeat before a missing place
      {kPath, "%VELMORA_NOT_SET%\\bin", "not found"},
      {kPath, "C:\\", ""},
      {kPath, "C:", ""},  // the drive's current folder is not its root
      {kPath, "C:\\\\", "same as 10"},
      {kPath, ".", ""},
      {kPath, "", "empty"},  // never a repeat of the earlier empty one
      {kClasspath, "C:\\lib\\a.jar", ""},
      {kClasspath, "C:\\lib\\gone.jar", "not found"},
      {kClasspath, "C:\\lib\\classes.ZIP", "not found"},  // a folder is no archive
      {kClasspath, ".", ""},
      {kClasspath, "C:\\lib\\*", ""},  // the archives in a folder that exists
      {kClasspath, "C:\\nolib\\*", "not found"},
      {kClasspath, "C:\\Tools\\tool.exe", ""},
      {kClasspath, "C:\\Tools", ""},
      {kClasspath, "C:\\LIB\\A.JAR", "same as 1"},
      {kClasspath, "", "empty"},
  };
  for (const SearchList list : {kPath, kClasspath}) {
    std::vector<const char*> marks;
    std::string value;
    for (const auto& c : cases) {
      if (c.list != list) continue;
      value += (marks.empty() ? "" : ";") + std::string(c.entry);
      marks.push_back(c.mark);
    }
    auto judged = environment::JudgeEntries(list, text::SplitSearchList(value), fake.environment);
    for (auto& j : judged) {
      environment::TakeAnswer(
          j, j.awaitingTest && environment::NamesWhatIsWanted(fake.files, j.place, j.wanted));
    }
    ASSERT_EQ(judged.size(), marks.size());
    for (std::size_t index = 0; index < marks.size(); ++index) {
      EXPECT_EQ(MarkOf(judged[index]), marks[index]) << "entry " << index + 1 << " of " << value;
    }
  }
}

// Each kind counted once, and entries still waiting for their answer.
TEST(EntryChecks, CountsEachKindOnce) {
  platform::FakePlatform fake;
  auto waiting = environment::JudgeEntries(
      SearchList::kClasspath, text::SplitSearchList("a.jar;b.jar;a.jar;"), fake.environment);
  environment::TakeAnswer(waiting[0], false);
  environment::TakeAnswer(waiting[0], true);  // a second answer changes nothing
  EXPECT_EQ(environment::CountMarks(waiting), (environment::MarkCounts{4, 1, 1, 1, 1}));
  EXPECT_EQ(environment::WithThousands(7), "7");
  EXPECT_EQ(environment::WithThousands(1234567), "1,234,567");
}

// Whether done() holds within ten seconds.
bool Within10s(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

// Answers come in the questions' order, each test asking for what is wanted.
// Then a server that does not answer: the sweep is stopped and everything it
// was started with goes away while its test still hangs. Once the server
// answers, nothing more is reported and the sweep frees what it held (the
// sanitizers of the native build see any use of freed memory).
TEST(ExistenceSweep, AnswersInOrderAndOnceStoppedReportsNothingMoreAndLetsGo) {
  auto fake = std::make_unique<platform::FakePlatform>();
  PlantSamples(*fake);
  fake->files.HoldAnswers("\\\\server\\share\\bin");
  struct Reports {
    std::mutex mutex;
    std::vector<std::pair<std::uint64_t, bool>> answers;
  };
  const auto reports = std::make_shared<Reports>();
  const auto taken = [reports] {
    const std::lock_guard lock(reports->mutex);
    return reports->answers;
  };
  auto sweep = environment::ExistenceSweep::Start(
      fake->sharedFiles,
      {{7, "C:\\Work", environment::Wanted::kFolder},
       {3, "C:\\lib\\a.jar", environment::Wanted::kFile},
       {5, "C:\\lib\\a.jar", environment::Wanted::kFolder},
       {1, "C:\\Nothing", environment::Wanted::kAnything},
       {2, "\\\\SERVER\\share\\bin", environment::Wanted::kFolder},
       {4, "C:\\Work", environment::Wanted::kFolder}},
      [reports](std::uint64_t key, bool found) {
        const std::lock_guard lock(reports->mutex);
        reports->answers.emplace_back(key, found);
      });
  ASSERT_NE(sweep, nullptr);
  const std::vector<std::pair<std::uint64_t, bool>> before{
      {7, true}, {3, true}, {5, false}, {1, false}};
  EXPECT_TRUE(Within10s([&] { return taken().size() >= 4; }));
  EXPECT_EQ(taken(), before);
  ASSERT_TRUE(fake->files.WaitForHeldCalls(1, std::chrono::seconds(10)));

  sweep->Stop();  // returns at once, the test still hanging
  const std::weak_ptr<platform::FakeFileSystem> files = fake->sharedFiles;
  sweep.reset();
  fake.reset();
  ASSERT_FALSE(files.expired()) << "the hanging test still holds its file system";

  files.lock()->ReleaseAnswers();
  EXPECT_TRUE(Within10s([&] { return files.expired(); })) << "the sweep let go of the file system";
  EXPECT_EQ(taken(), before);
}

}  // namespace
}  // namespace velmora
