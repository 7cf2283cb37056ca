// Judging the entries of a search list: the marks and their counts, and the
// existence tests on a thread of their own.
#include "environment/EntryChecks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
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

struct Case {
  const char* entry;
  const char* mark;  // "" none, "not found", "empty", "same as n" (a repeat of entry n)
};

std::string MarkOf(const EntryJudgement& judgement) {
  switch (judgement.mark) {
    case environment::EntryMark::kNone:
      return "";
    case environment::EntryMark::kNotFound:
      return "not found";
    case environment::EntryMark::kRepeated:
      return "same as " + std::to_string(judgement.sameAs);
    case environment::EntryMark::kEmpty:
      return "empty";
  }
  return "?";
}

class EntryChecks : public ::testing::Test {
 protected:
  EntryChecks() {
    fake_.files.AddFolder("C:\\Windows\\System32");
    fake_.files.AddFile("C:\\Tools\\tool.exe");
    fake_.files.AddFile("C:\\lib\\a.jar");
    fake_.files.AddFolder("C:\\lib\\classes.zip");
    fake_.files.AddFolder("C:\\Work");
    fake_.files.currentFolder = "C:\\Work";
    fake_.environment.Set("SystemRoot", "C:\\Windows");
  }

  // Judges a list as the window does: its text first, then each existence
  // test answered in order.
  std::vector<EntryJudgement> Judge(SearchList list, const std::string& value) {
    auto judged = environment::JudgeEntries(list, text::SplitSearchList(value), fake_.environment);
    for (auto& judgement : judged) {
      if (judgement.awaitingTest) {
        environment::TakeAnswer(judgement, environment::NamesWhatIsWanted(
                                               fake_.files, judgement.place, judgement.wanted));
      }
    }
    return judged;
  }

  void ExpectMarks(SearchList list, const std::vector<Case>& cases) {
    std::string value;
    for (const Case& sample : cases)
      value += (value.empty() ? "" : ";") + std::string(sample.entry);
    const auto judged = Judge(list, value);
    ASSERT_EQ(judged.size(), cases.size());
    for (std::size_t index = 0; index < cases.size(); ++index) {
      EXPECT_EQ(MarkOf(judged[index]), cases[index].mark)
          << "entry " << index + 1 << " \"" << cases[index].entry << "\"";
    }
  }

  platform::FakePlatform fake_;
};

TEST_F(EntryChecks, PathEntriesAreFoldersThatExistOnceEach) {
  ExpectMarks(SearchList::kPath,
              {{"C:\\Tools", ""},
               {"C:\\Missing", "not found"},
               {"c:\\TOOLS\\", "same as 1"},  // letter case, one closing backslash
               {"", "empty"},
               {"%SystemRoot%\\System32", ""},
               {"C:\\Windows\\system32", "same as 5"},  // the same place once expanded
               {"C:\\Tools\\tool.exe", "not found"},    // a file is no folder
               {"C:\\Missing", "same as 2"},            // a repeat before a missing place
               {"%VELMORA_NOT_SET%\\bin", "not found"},
               {"C:\\", ""},
               {"C:", ""},  // the drive's current folder is not its root
               {"C:\\\\", "same as 10"},
               {".", ""},
               {"", "empty"}});
}

TEST_F(EntryChecks, ClasspathArchivesAreFilesAndOtherEntriesAnythingThere) {
  ExpectMarks(SearchList::kClasspath,
              {{"C:\\lib\\a.jar", ""},
               {"C:\\lib\\gone.jar", "not found"},
               {"C:\\lib\\classes.ZIP", "not found"},  // a folder is no archive
               {".", ""},
               {"C:\\lib\\*", ""},  // the archives in a folder that exists
               {"C:\\nolib\\*", "not found"},
               {"C:\\Tools\\tool.exe", ""},
               {"C:\\Tools", ""},
               {"%SystemRoot%", ""},
               {"C:\\LIB\\A.JAR", "same as 1"},
               {"", "empty"}});
}

// Each kind counted once, and entries still waiting for their answer.
TEST_F(EntryChecks, CountsEachKindOnce) {
  auto waiting = environment::JudgeEntries(
      SearchList::kClasspath, text::SplitSearchList("a.jar;b.jar;a.jar;"), fake_.environment);
  environment::TakeAnswer(waiting[0], false);
  environment::TakeAnswer(waiting[0], true);  // a second answer changes nothing
  EXPECT_EQ(environment::CountMarks(waiting), (environment::MarkCounts{4, 1, 1, 1, 1}));
  EXPECT_EQ(environment::WithThousands(7), "7");
  EXPECT_EQ(environment::WithThousands(1234567), "1,234,567");
  EXPECT_EQ(environment::WithThousands(32767), "32,767");
}

// Collects a sweep's reports from its thread.
struct Reports {
  std::mutex mutex;
  std::condition_variable arrived;
  std::vector<std::pair<std::uint64_t, bool>> answers;

  void Take(std::uint64_t key, bool found) {
    const std::lock_guard lock(mutex);
    answers.emplace_back(key, found);
    arrived.notify_all();
  }
  // The answers so far, once there are `count` of them or after a wait for
  // answers that do not come.
  std::vector<std::pair<std::uint64_t, bool>> Taken(std::size_t count = 0) {
    std::unique_lock lock(mutex);
    arrived.wait_for(lock, std::chrono::seconds(10), [&] { return answers.size() >= count; });
    return answers;
  }
};

// Answers come in the questions' order, each test asking for what is wanted.
// Then a server that does not answer: the sweep is stopped and everything it
// was started with goes away while its test still hangs. Once the server
// answers, nothing more is reported and the sweep frees what it held (the
// sanitizers of the native build see any use of freed memory).
TEST(ExistenceSweep, AnswersInOrderAndOnceStoppedReportsNothingMoreAndLetsGo) {
  auto fake = std::make_unique<platform::FakePlatform>();
  fake->files.AddFolder("C:\\A");
  fake->files.AddFile("C:\\B\\x.jar");
  fake->files.HoldAnswers("\\\\server\\share\\bin");
  auto reports = std::make_shared<Reports>();
  auto sweep = environment::ExistenceSweep::Start(
      fake->sharedFiles,
      {{7, "C:\\A", environment::Wanted::kFolder},
       {3, "C:\\B\\x.jar", environment::Wanted::kFile},
       {5, "C:\\B\\x.jar", environment::Wanted::kFolder},
       {1, "C:\\Nothing", environment::Wanted::kAnything},
       {2, "\\\\SERVER\\share\\bin", environment::Wanted::kFolder},
       {4, "C:\\A", environment::Wanted::kFolder}},
      [reports](std::uint64_t key, bool found) { reports->Take(key, found); });
  ASSERT_NE(sweep, nullptr);
  const std::vector<std::pair<std::uint64_t, bool>> before{
      {7, true}, {3, true}, {5, false}, {1, false}};
  EXPECT_EQ(reports->Taken(4), before);
  ASSERT_TRUE(fake->files.WaitForHeldCalls(1, std::chrono::seconds(10)));

  sweep->Stop();  // returns at once, the test still hanging
  const std::weak_ptr<platform::FakeFileSystem> files = fake->sharedFiles;
  sweep.reset();
  fake.reset();
  ASSERT_FALSE(files.expired()) << "the hanging test still holds its file system";

  files.lock()->ReleaseAnswers();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!files.expired() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(files.expired()) << "the sweep let go of the file system once it ended";
  EXPECT_EQ(reports->Taken(), before);
}

}  // namespace
}  // namespace velmora
