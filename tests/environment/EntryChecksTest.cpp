// Judging the entries of a search list: the marks and their words, the
// summary line, and the existence tests on a thread of their own.
#include "environment/EntryChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// The mark in short words: "" none, "not found", "empty", "same as n", "never expanded".
std::string MarkOf(const EntryJudgement& judgement) {
  switch (judgement.mark) {
    case environment::EntryMark::kNotFound:
      return "not found";
    case environment::EntryMark::kRepeated:
      return "same as " + std::to_string(judgement.sameAs);
    case environment::EntryMark::kEmpty:
      return "empty";
    case environment::EntryMark::kNeverExpanded:
      return "never expanded";
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
      {kPath, "%SystemRoot%\\System32", "never expanded"},  // no search for programs expands it
      {kPath, "C:\\Windows\\system32", ""},
      {kPath, "C:\\Tools\\tool.exe", "not found"},  // a file is no folder
      {kPath, "C:\\Missing", "same as 2"},          // a repeat before a missing place
      {kPath, "%VELMORA_NOT_SET%\\bin", "never expanded"},
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
      {kClasspath, "%SystemRoot%\\System32", ""},  // Java's list is judged expanded
      {kClasspath, "C:\\Windows\\system32\\", "same as 11"},
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
  EXPECT_EQ(environment::CountMarks(waiting), (environment::MarkCounts{4, 1, 1, 1, 0, 0, 0, 1}));
  EXPECT_EQ(environment::WithThousands(7), "7");
  EXPECT_EQ(environment::WithThousands(1234567), "1,234,567");
}

}  // namespace
}  // namespace velmora
