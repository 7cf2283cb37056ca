// Start-up: caption, user label and the two entry lists, on the in-memory
// platform and on the real (fenced) registry and process environment alike.
#include <memory>
#include <string>
#include <vector>

#include "WindowFixture.h"
#include "environment/Identity.h"
#include "environment/Lookups.h"
#include "text/Text.h"
#include "window/ListEntry.h"
#include "support/RegistryWatch.h"
#include "support/TestPlatform.h"

namespace window_tests {
namespace {

using testing_support::Binding;
using testing_support::TestPlatform;

constexpr int kSystem = 1;
constexpr int kUser = 2;

class StartUp : public WindowTest, public ::testing::WithParamInterface<Binding> {
 protected:
  void SetUp() override {
    test_ = testing_support::MakeTestPlatform(GetParam());
    test_->CreateKey(platform::kCurrentUser, "Environment");
    test_->UnsetVariable("CLASSPATH");
  }
  void TearDown() override {
    form_.reset();
    test_.reset();
  }

  // The prepared registry and environment, with the recording user services.
  platform::Platform Os() {
    const platform::Platform os = test_->Services();
    return platform::Platform{os.registry, os.environment, os.identity,   os.files,
                              os.clock,    fake_.user,     os.sharedFiles};
  }
  void OpenPrepared() { OpenOn(Os()); }
  void UserValue(const char* name, const char* text, std::uint32_t type = platform::kRegSz) {
    test_->SetString(platform::kCurrentUser, "Environment", name, text, type);
  }

  std::unique_ptr<TestPlatform> test_;
};

TEST_P(StartUp, PathEntriesInVariableOrderMarkedByTheUsersOwnPath) {
  UserValue("Path", "c:\\tools;C:\\Data");
  test_->SetVariable("PATH", "C:\\Tools;C:\\Windows;C:\\Tools\\;C:\\DATA");
  OpenPrepared();
  EXPECT_EQ(Items(Ctl().lstPath), (std::vector<Item>{{"C:\\Tools", kUser, true},
                                                     {"C:\\Windows", kSystem, true},
                                                     {"C:\\Tools\\", kSystem, true},
                                                     {"C:\\DATA", kUser, true}}));
}

TEST_P(StartUp, EmptyPiecesAreKeptAndMarkedByThePlainUserPath) {
  // A plain user value is looked up as "value;" and so holds an empty piece.
  UserValue("PATH", "C:\\A");
  test_->SetVariable("PATH", "C:\\A;;C:\\B;");
  OpenPrepared();
  EXPECT_EQ(
      Items(Ctl().lstPath),
      (std::vector<Item>{
          {"C:\\A", kUser, true}, {"", kUser, true}, {"C:\\B", kSystem, true}, {"", kUser, true}}));
}

TEST_P(StartUp, WithoutAUserPathEveryEntryIsASystemEntry) {
  test_->SetVariable("PATH", "C:\\A;;C:\\A");
  OpenPrepared();
  EXPECT_EQ(
      Items(Ctl().lstPath),
      (std::vector<Item>{{"C:\\A", kSystem, true}, {"", kSystem, true}, {"C:\\A", kSystem, true}}));
}

TEST_P(StartUp, DuplicateEntriesAreListedTwiceWithTheSameMark) {
  UserValue("PATH", "C:\\Bin");
  test_->SetVariable("PATH", "C:\\Bin;C:\\Sys;c:\\bin");
  OpenPrepared();
  EXPECT_EQ(Items(Ctl().lstPath),
            (std::vector<Item>{
                {"C:\\Bin", kUser, true}, {"C:\\Sys", kSystem, true}, {"c:\\bin", kUser, true}}));
}

TEST_P(StartUp, ExpandableUserPathMarksTheExpandedEntry) {
  test_->SetVariable("VELMORA_TEST_HOME", "C:\\Users\\jdoe");
  UserValue("PATH", "%VELMORA_TEST_HOME%\\bin", platform::kRegExpandSz);
  test_->SetVariable("PATH", "C:\\Users\\jdoe\\bin;%VELMORA_TEST_HOME%\\bin");
  OpenPrepared();
  EXPECT_EQ(Items(Ctl().lstPath), (std::vector<Item>{{"C:\\Users\\jdoe\\bin", kUser, true},
                                                     {"%VELMORA_TEST_HOME%\\bin", kUser, true}}));
}

TEST_P(StartUp, PlainUserPathDoesNotMarkTheExpandedEntry) {
  test_->SetVariable("VELMORA_TEST_HOME", "C:\\Users\\jdoe");
  UserValue("PATH", "%VELMORA_TEST_HOME%\\bin");
  test_->SetVariable("PATH", "C:\\Users\\jdoe\\bin");
  OpenPrepared();
  EXPECT_EQ(Items(Ctl().lstPath), (std::vector<Item>{{"C:\\Users\\jdoe\\bin", kSystem, true}}));
}

TEST_P(StartUp, NoClasspathLeavesItsListEmpty) {
  UserValue("CLASSPATH", "x");
  OpenPrepared();
  EXPECT_TRUE(Items(Ctl().lstClasspath).empty());
}

struct ClasspathCase {
  const char* name;
  const char* userValue;  // nullptr: the user has no CLASSPATH
  int picture;
};

class ClasspathMarks : public StartUp {};

TEST_P(ClasspathMarks, OneMarkForTheWholeList) {
  const ClasspathCase cases[] = {{"absent", nullptr, kSystem},
                                 {"empty", "", kSystem},
                                 {"set", "x", kUser},
                                 {"unrelated", "D:\\other.jar", kUser}};
  for (const auto& sample : cases) {
    SCOPED_TRACE(sample.name);
    test_.reset();  // one fenced registry at a time
    test_ = testing_support::MakeTestPlatform(GetParam());
    test_->CreateKey(platform::kCurrentUser, "Environment");
    if (sample.userValue != nullptr) UserValue("ClassPath", sample.userValue);
    test_->SetVariable("CLASSPATH", "C:\\lib\\a.jar;;.");
    OpenPrepared();
    const int p = sample.picture;
    EXPECT_EQ(Items(Ctl().lstClasspath),
              (std::vector<Item>{{"C:\\lib\\a.jar", p, true}, {"", p, true}, {".", p, true}}));
    form_.reset();
  }
}

TEST_P(StartUp, CaptionAndUserLabel) {
  OpenPrepared();
  EXPECT_EQ(TextOf(Form().Handle()), "Velmora 1.0.24");
  const std::string name = modWinAPI::GetCurrentUserName(Os());
  EXPECT_EQ(TextOf(Ctl().labUser), "User (" + name + ")");
}

TEST_P(StartUp, EmptyProcessPathGivesNoItems) {
  test_->SetVariable("PATH", "");
  OpenPrepared();
  EXPECT_TRUE(Items(Ctl().lstPath).empty());
}

TEST_P(StartUp, SecondLoadAfterClearingGivesTheSameTextsInTheSameOrder) {
  UserValue("PATH", "C:\\B");
  test_->SetVariable("PATH", "C:\\C;C:\\B;;C:\\A");
  test_->SetVariable("CLASSPATH", "z.jar;a.jar");
  OpenPrepared();
  const auto path = Items(Ctl().lstPath);
  const auto classpath = Items(Ctl().lstClasspath);
  SendMessageA(Ctl().lstPath, LVM_DELETEALLITEMS, 0, 0);
  SendMessageA(Ctl().lstClasspath, LVM_DELETEALLITEMS, 0, 0);
  Form().Form_Load();
  EXPECT_EQ(Items(Ctl().lstPath), path);
  EXPECT_EQ(Items(Ctl().lstClasspath), classpath);
  EXPECT_EQ(TextOf(Form().Handle()), "Velmora 1.0.24");
}

TEST_P(StartUp, LoadAppendsWithoutClearing) {
  test_->SetVariable("PATH", "C:\\A;C:\\B");
  OpenPrepared();
  Form().Form_Load();
  EXPECT_EQ(Texts(Ctl().lstPath), (std::vector<std::string>{"C:\\A", "C:\\B", "C:\\A", "C:\\B"}));
}

TEST_P(StartUp, StartsWithThePathListShownAndTheSearchBoxFocused) {
  OpenPrepared();
  EXPECT_TRUE(Shown(Ctl().lstPath));
  EXPECT_FALSE(Shown(Ctl().lstClasspath));
  EXPECT_EQ(SendMessageA(Ctl().TabStrip1, TCM_GETCURSEL, 0, 0), 0);
  Form().Form_Activate();
  EXPECT_EQ(GetFocus(), Ctl().txtSearch);
  EXPECT_TRUE(fake_.user.messages.empty());
}

TEST_P(StartUp, EntriesAndUserNameInAnyScriptArriveWhole) {
  if (!test_->SetUserName("Jösé")) GTEST_SKIP() << "the user cannot be chosen here";
  UserValue("Path", "c:\\ünïcødé\\bin;D:\\山田\\😀");
  test_->SetVariable("PATH", "C:\\Ünïcødé\\bin;C:\\Αθήνα;D:\\山田\\😀;C:\\Shared Tools");
  test_->SetVariable("CLASSPATH", "C:\\Mördale\\x.jar;𝒳.jar");
  OpenPrepared();
  EXPECT_EQ(Items(Ctl().lstPath), (std::vector<Item>{{"C:\\Ünïcødé\\bin", kUser, true},
                                                     {"C:\\Αθήνα", kSystem, true},
                                                     {"D:\\山田\\😀", kUser, true},
                                                     {"C:\\Shared Tools", kSystem, true}}));
  EXPECT_EQ(Items(Ctl().lstClasspath),
            (std::vector<Item>{{"C:\\Mördale\\x.jar", kSystem, true}, {"𝒳.jar", kSystem, true}}));
  EXPECT_EQ(TextOf(Ctl().labUser), "User (Jösé)");
}

TEST_P(StartUp, TheLongestPathShowsEveryEntryWhole) {
  // 32,766 characters, most of them three bytes in UTF-8.
  constexpr std::size_t kLongest = 32766;
  std::vector<std::string> entries;
  std::size_t units = 0;
  for (int n = 0;; ++n) {
    std::string entry = "C:\\日本語\\" + std::to_string(n);
    const std::size_t more = modUtils::Utf8ToUtf16(entry).size() + (n == 0 ? 0 : 1);
    if (units + more > kLongest) {
      entries.back().append(kLongest - units, 'x');
      break;
    }
    units += more;
    entries.push_back(std::move(entry));
  }
  std::string path;
  for (const auto& entry : entries) path += (path.empty() ? "" : ";") + entry;
  test_->SetVariable("PATH", path);
  OpenPrepared();
  const std::vector<std::string> shown = Texts(Ctl().lstPath);
  ASSERT_EQ(shown.size(), entries.size());
  for (std::size_t at = 0; at < shown.size(); ++at) {
    if (shown[at] != entries[at]) FAIL() << "entry " << at << ": " << shown[at];
  }
}

TEST_P(StartUp, ThousandsOfEntriesAreListedWholeWithTheirMarks) {
  // Every third entry is the user's, in other letter case; some are empty.
  std::string path;
  std::string userPath;
  for (int i = 0; i < 3000; ++i) {
    const std::string entry = i % 500 == 7 ? "" : "C:\\E" + std::to_string(i);
    path += (i == 0 ? "" : ";") + entry;
    if (i % 3 == 0 && !entry.empty()) userPath += modUtils::UpperCase(entry) + ";";
  }
  userPath.pop_back();
  UserValue("PATH", userPath.c_str(), platform::kRegExpandSz);
  test_->SetVariable("PATH", path);
  OpenPrepared();
  // Marked as the rule reads for one entry at a time.
  const std::string lookup = modUtils::GetUserVariable(Os(), "PATH");
  std::vector<Item> expected;
  for (const std::string_view entry : modUtils::SplitSearchList(path)) {
    expected.push_back(
        {std::string(entry), modUtils::IsListMember(lookup, entry) ? kUser : kSystem, true});
  }
  EXPECT_EQ(Items(Ctl().lstPath), expected);
}

VELMORA_ON_EVERY_BINDING(StartUp);
VELMORA_ON_EVERY_BINDING(ClasspathMarks);

// The user's key holds two names that are one once upper-cased: the lookup
// fails, and start-up goes on as if the user had no such variable.
TEST_F(WindowTest, UnreadableUserVariablesStartAsAbsent) {
  const std::string value = "C:\\Mine";
  const std::vector<std::uint8_t> data(value.begin(), value.end());
  fake_.registry.AppendValue(platform::kCurrentUser, "Environment", "Path", platform::kRegSz, data);
  fake_.registry.AppendValue(platform::kCurrentUser, "Environment", "PATH", platform::kRegSz, data);
  fake_.registry.AppendValue(platform::kCurrentUser, "Environment", "CLASSPATH", platform::kRegSz,
                             data);
  fake_.environment.Set("PATH", "C:\\Mine;C:\\Other");
  fake_.environment.Set("CLASSPATH", "a.jar");
  Open();
  ASSERT_TRUE(Form().IsOpen());
  EXPECT_EQ(Items(Ctl().lstPath),
            (std::vector<Item>{{"C:\\Mine", kSystem, true}, {"C:\\Other", kSystem, true}}));
  EXPECT_EQ(Items(Ctl().lstClasspath), (std::vector<Item>{{"a.jar", kSystem, true}}));
  EXPECT_EQ(TextOf(Ctl().labUser), "User (jdoe)");
  EXPECT_TRUE(fake_.user.messages.empty()) << "start-up reports nothing";
  EXPECT_EQ(fake_.registry.OpenHandles(), 0);
}

TEST_F(WindowTest, StartUpReadsTheUsersKeyOnceForBothLists) {
  SetUserValue(fake_, "PATH", "C:\\Mine");
  SetUserValue(fake_, "CLASSPATH", "x");
  fake_.environment.Set("PATH", "C:\\Mine;C:\\Other");
  fake_.environment.Set("CLASSPATH", "a.jar");
  testing_support::RegistryWatch watch(fake_.registry);
  OpenOn(watch.Watching(fake_.Services()));
  EXPECT_EQ(watch.Opens("Environment"), 1);
  EXPECT_EQ(Items(Ctl().lstPath),
            (std::vector<Item>{{"C:\\Mine", kUser, true}, {"C:\\Other", kSystem, true}}));
  EXPECT_EQ(Items(Ctl().lstClasspath), (std::vector<Item>{{"a.jar", kUser, true}}));
}

TEST_F(WindowTest, AddListEntryPutsFurtherTextsIntoSubItems) {
  Open();
  modUtils::AddListEntry(Ctl().lstClasspath, true, {"first", "second"});
  modUtils::AddListEntry(Ctl().lstClasspath, false, {"third"});
  EXPECT_EQ(Items(Ctl().lstClasspath),
            (std::vector<Item>{{"first", kUser, true}, {"third", kSystem, true}}));
  char buffer[64] = {};
  LVITEMA item{};
  item.iSubItem = 1;
  item.pszText = buffer;
  item.cchTextMax = sizeof(buffer);
  SendMessageA(Ctl().lstClasspath, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buffer, "second");
}

}  // namespace
}  // namespace window_tests
