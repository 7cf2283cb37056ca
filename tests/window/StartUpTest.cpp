// Start-up: caption, user label and the two entry lists, on the in-memory
// platform and on the real (fenced) registry and process environment alike.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "WindowFixture.h"
#include "text/Text.h"
#include "support/PlatformTest.h"

namespace velmora::window_tests {
namespace {

class StartUp : public WindowTest, public ::testing::WithParamInterface<testing_support::Binding> {
 protected:
  void SetUp() override { Prepare(); }
  void TearDown() override {
    form_.reset();
    test_.reset();
  }

  // A fresh registry and environment: the user's key empty, no CLASSPATH.
  void Prepare() {
    form_.reset();
    test_.reset();  // one fenced registry at a time
    test_ = testing_support::MakeTestPlatform(GetParam());
    test_->CreateKey(platform::kCurrentUser, "Environment");
    test_->UnsetVariable("CLASSPATH");
  }
  void OpenPrepared() { OpenOn(WithUser(test_->Services(), fake_.user)); }
  // A value of the user's key; none when text is nullptr.
  void UserValue(const char* name, const char* text, std::uint32_t type = platform::kRegSz) {
    if (text != nullptr) test_->SetString(platform::kCurrentUser, "Environment", name, text, type);
  }

  std::unique_ptr<testing_support::TestPlatform> test_;
};

// What the user's key and the process hold, and the marks of each list.
struct StartCase {
  const char* name;
  const char* userPathName;  // as stored
  const char* userPath;      // nullptr: the user has no PATH
  std::uint32_t type;
  const char* path;
  const char* pathMarks;
  const char* userClasspath;  // nullptr: the user has no CLASSPATH
  const char* classpath;      // nullptr: unset
  const char* classpathMarks;
};

// clang-format off
const StartCase kStartCases[] = {
    // A plain value is looked up as "value;" and so holds an empty piece.
    {"EmptyPiecesMarkedByThePlainValue", "PATH", "C:\\A", platform::kRegSz,
     "C:\\A;;C:\\B;", "UUSU",
     "", "C:\\lib\\a.jar;;.", "SSS"},
    {"NoUserPath", "PATH", nullptr, platform::kRegSz,
     "C:\\A;;C:\\A", "SSS",
     "x", "C:\\lib\\a.jar;;.", "UUU"},
    {"ExpandableValueMarksTheExpandedEntry", "PATH", "%VELMORA_TEST_HOME%\\bin",
     platform::kRegExpandSz,
     "C:\\Users\\jdoe\\bin;%VELMORA_TEST_HOME%\\bin", "UU",
     "D:\\other.jar", "C:\\lib\\a.jar;;.", "UUU"},
    {"NothingInTheProcess", "PATH", "C:\\A", platform::kRegSz,
     "", "",
     "x", "", ""},
    {"AnyScript", "Path", "c:\\ünïcødé\\bin;D:\\山田\\😀", platform::kRegSz,
     "C:\\Ünïcødé\\bin;C:\\Αθήνα;D:\\山田\\😀;C:\\Shared Tools", "USUS",
     "𝒳", "C:\\Mördale\\x.jar;𝒳.jar", "UU"},
};
// clang-format on

TEST_P(StartUp, EachEntryMarkedAsTheUsersOwnVariablesSay) {
  for (const StartCase& c : kStartCases) {
    SCOPED_TRACE(c.name);
    Prepare();
    test_->SetVariable("VELMORA_TEST_HOME", "C:\\Users\\jdoe");
    UserValue(c.userPathName, c.userPath, c.type);
    UserValue("ClassPath", c.userClasspath);
    test_->SetVariable("PATH", c.path);
    if (c.classpath != nullptr) test_->SetVariable("CLASSPATH", c.classpath);
    OpenPrepared();
    EXPECT_EQ(Items(Ctl().lstPath), Marked(c.path, c.pathMarks));
    EXPECT_EQ(Items(Ctl().lstClasspath), Marked(c.classpath ? c.classpath : "", c.classpathMarks));
    EXPECT_TRUE(fake_.user.messages.empty());
  }
}

TEST_P(StartUp, TheLongestPathIsListedWholeAndLoadingAgainAppendsIt) {
  // 32,766 characters, most of them three bytes in UTF-8, in thousands of
  // entries, some empty.
  constexpr std::size_t kLongest = 32766;
  std::string path;
  std::size_t units = 0;  // UTF-16 units in path
  for (int n = 0; units + 16 < kLongest; ++n) {
    const std::string entry = n % 500 == 7 ? "" : "c:\\日本語\\e" + std::to_string(n);
    path += entry + ";";
    units += text::Utf8ToUtf16(entry).size() + 1;
  }
  path.append(kLongest - units, 'x');
  test_->SetVariable("PATH", path);
  test_->SetVariable("CLASSPATH", "z.jar;a.jar");
  const bool named = test_->SetUserName("Jösé");
  OpenPrepared();
  const std::vector<Item> listed =
      Marked(path, std::string(std::count(path.begin(), path.end(), ';') + 1, 'S'));
  EXPECT_EQ(Items(Ctl().lstPath), listed);
  if (named) {
    EXPECT_EQ(TextOf(Ctl().labUser), "User (Jösé)");
  }

  Form().Form_Load();
  std::vector<Item> twice = listed;
  twice.insert(twice.end(), listed.begin(), listed.end());
  EXPECT_EQ(Items(Ctl().lstPath), twice);
  EXPECT_EQ(Items(Ctl().lstClasspath), Marked("z.jar;a.jar;z.jar;a.jar", "SSSS"));
  EXPECT_EQ(TextOf(Form().Handle()), "Velmora 1.0.24");
}

VELMORA_ON_EVERY_BINDING(StartUp);

// The user's key holds two names that are one once upper-cased: the lookup
// fails, and start-up goes on as if the user had no such variable.
TEST_F(WindowTest, UnreadableUserVariablesStartAsAbsent) {
  for (const char* name : {"Path", "PATH", "CLASSPATH"}) {
    fake_.registry.AppendValue(platform::kCurrentUser, "Environment", name, platform::kRegSz,
                               testing_support::StringData("C:\\Mine"));
  }
  OpenWith("C:\\Mine;C:\\Other", "a.jar");
  ASSERT_TRUE(Form().IsOpen());
  EXPECT_EQ(Items(Ctl().lstPath), Marked("C:\\Mine;C:\\Other", "SS"));
  EXPECT_EQ(Items(Ctl().lstClasspath), Marked("a.jar", "S"));
  EXPECT_EQ(TextOf(Ctl().labUser), "User (jdoe)");
  EXPECT_TRUE(fake_.user.messages.empty()) << "start-up reports nothing";
  EXPECT_EQ(fake_.registry.OpenHandles(), 0);
}

}  // namespace
}  // namespace velmora::window_tests
