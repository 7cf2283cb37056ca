// Marks on the entries that cannot serve, read back through the lists' and
// the tool tips' own messages: the overlay picture of each row, its info tip,
// and each tab's summary, while the existence tests answer from their thread.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "WindowFixture.h"
#include "support/TestPlatform.h"

namespace window_tests {
namespace {

using Clock = std::chrono::steady_clock;

struct Row {
  std::string text;
  int overlay;  // 0 none, 1 not found, 2 repeated, 3 empty
  bool operator==(const Row&) const = default;
};
void PrintTo(const Row& row, std::ostream* out) {
  *out << "{\"" << row.text << "\", " << row.overlay << "}";
}

std::vector<Row> Rows(HWND list) {
  std::vector<Row> rows;
  const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    const auto state = static_cast<UINT>(
        SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_OVERLAYMASK));
    rows.push_back(Row{Texts(list)[static_cast<std::size_t>(index)], static_cast<int>(state >> 8)});
  }
  return rows;
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class EntryMarks : public WindowTest {
 protected:
  void SetUp() override {
    fake_.files.AddFolder("C:\\Tools");
    fake_.files.AddFolder("C:\\Windows\\System32");
    fake_.files.AddFile("C:\\lib\\a.jar");
    fake_.files.AddFolder("C:\\Work");
    fake_.files.currentFolder = "C:\\Work";
    fake_.environment.Set("SystemRoot", "C:\\Windows");
  }

  // Delivers messages until the condition holds; false after ten seconds.
  bool PumpUntil(const std::function<bool()>& condition) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
      Pump(Form());
      if (condition()) return true;
      Sleep(2);
    }
    return false;
  }
  bool AllAnswered() {
    return PumpUntil([&] {
      return TabTip(1).find("being checked") == std::string::npos &&
             TabTip(2).find("being checked") == std::string::npos;
    });
  }

  // The tab's tool tip, asked for as the tool tip asks for it.
  std::string TabTip(int tab) {
    wchar_t buffer[1024] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Ctl().TabStrip1;
    tool.uId = static_cast<UINT_PTR>(tab - 1);
    tool.lpszText = buffer;
    SendMessageW(Ctl().TabStrip1Tips, TTM_GETTEXTW, sizeof(buffer) / sizeof(buffer[0]),
                 reinterpret_cast<LPARAM>(&tool));
    char narrow[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, buffer, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
  }

  // A row's info tip, asked for as the list asks for it: with the row's text
  // handed in where the row shows it cut short, empty where it shows whole.
  std::string InfoTip(HWND list, int position, bool cutShort) {
    char buffer[INFOTIPSIZE] = {};
    if (cutShort)
      lstrcpynA(buffer, Texts(list)[static_cast<std::size_t>(position - 1)].c_str(),
                sizeof(buffer));
    NMLVGETINFOTIPA tip{};
    tip.hdr.hwndFrom = list;
    tip.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    tip.hdr.code = LVN_GETINFOTIPA;
    tip.dwFlags = cutShort ? 0 : LVGIT_UNFOLDED;
    tip.pszText = buffer;
    tip.cchTextMax = sizeof(buffer);
    tip.iItem = position - 1;
    SendMessageA(Form().Handle(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
    return buffer;
  }
};

TEST_F(EntryMarks, EveryKindOnBothListsWithItsWordsAndTheSummaries) {
  fake_.environment.Set("PATH",
                        "C:\\Tools;C:\\Missing;c:\\TOOLS\\;;%SystemRoot%\\System32;"
                        "C:\\Windows\\system32;C:\\lib\\a.jar");
  fake_.environment.Set("CLASSPATH",
                        "C:\\lib\\a.jar;C:\\lib\\gone.jar;.;C:\\Entw\xC3\xBCrfe;C:\\LIB\\A.jar;");
  Open();
  ASSERT_TRUE(AllAnswered());

  EXPECT_EQ(Rows(Ctl().lstPath), (std::vector<Row>{{"C:\\Tools", 0},
                                                   {"C:\\Missing", 1},
                                                   {"c:\\TOOLS\\", 2},
                                                   {"", 3},
                                                   {"%SystemRoot%\\System32", 0},
                                                   {"C:\\Windows\\system32", 2},
                                                   {"C:\\lib\\a.jar", 1}}));
  EXPECT_EQ(Rows(Ctl().lstClasspath), (std::vector<Row>{{"C:\\lib\\a.jar", 0},
                                                        {"C:\\lib\\gone.jar", 1},
                                                        {".", 0},
                                                        {"C:\\Entw\xC3\xBCrfe", 1},
                                                        {"C:\\LIB\\A.jar", 2},
                                                        {"", 3}}));
  // The marks leave picture and tick as they were.
  for (const auto& item : Items(Ctl().lstPath)) {
    EXPECT_EQ(item.picture, 1) << item.text;
    EXPECT_TRUE(item.ticked) << item.text;
  }

  EXPECT_EQ(InfoTip(Ctl().lstPath, 2, false), "Folder not found");
  EXPECT_EQ(InfoTip(Ctl().lstPath, 3, true), "c:\\TOOLS\\\r\nSame as entry 1");
  EXPECT_EQ(InfoTip(Ctl().lstPath, 4, false), "Empty entry");
  EXPECT_EQ(InfoTip(Ctl().lstPath, 6, false), "Same as entry 5");
  EXPECT_EQ(InfoTip(Ctl().lstPath, 1, false), "") << "a sound entry has no tip of its own";
  EXPECT_EQ(InfoTip(Ctl().lstPath, 1, true), "C:\\Tools");
  EXPECT_EQ(InfoTip(Ctl().lstClasspath, 2, false), "File or folder not found");

  EXPECT_EQ(TabTip(1),
            "Path: 7 entries, 2 not found, 2 repeated, 1 empty; 85 of 32,767 characters");
  // "ü" is one character for Windows, two bytes here.
  EXPECT_EQ(TabTip(2),
            "ClassPath: 6 entries, 2 not found, 1 repeated, 1 empty; 56 of 32,767 characters");
}

TEST_F(EntryMarks, SortedAndRefilledEveryMarkStaysOnItsEntry) {
  fake_.environment.Set("PATH", "C:\\Zed;C:\\Missing;C:\\Tools;;C:\\ZED\\;C:\\Late");
  fake_.files.AddFolder("C:\\Zed");
  fake_.files.HoldAnswers("C:\\Late");
  Open();
  ASSERT_TRUE(fake_.files.WaitForHeldCalls(1, std::chrono::seconds(10)));
  Form().imgSort_Click();  // sorted while an answer is still to come
  fake_.files.ReleaseAnswers();
  ASSERT_TRUE(AllAnswered());
  EXPECT_EQ(Rows(Ctl().lstPath), (std::vector<Row>{{"", 3},
                                                   {"C:\\Late", 1},
                                                   {"C:\\Missing", 1},
                                                   {"C:\\Tools", 0},
                                                   {"C:\\Zed", 0},
                                                   {"C:\\ZED\\", 2}}));
  EXPECT_EQ(InfoTip(Ctl().lstPath, 6, false), "Same as entry 1") << "entries count in list order";

  Form().imgSort_Click();  // sorting off refills
  ASSERT_TRUE(AllAnswered());
  EXPECT_EQ(Rows(Ctl().lstPath), (std::vector<Row>{{"C:\\Zed", 0},
                                                   {"C:\\Missing", 1},
                                                   {"C:\\Tools", 0},
                                                   {"", 3},
                                                   {"C:\\ZED\\", 2},
                                                   {"C:\\Late", 1}}));
}

TEST_F(EntryMarks, AnAnswerForAnEarlierFillIsDropped) {
  fake_.environment.Set("PATH", "C:\\Gone");
  fake_.files.HoldAnswers("C:\\Gone");
  Open();
  ASSERT_TRUE(fake_.files.WaitForHeldCalls(1, std::chrono::seconds(10)));
  fake_.files.ReleaseAnswers();
  // The answer "not found" for entry 1 is queued, not yet taken in, when the
  // lists are refilled with an entry 1 that exists.
  MSG queued{};
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!PeekMessageA(&queued, Form().Handle(), window::kMessageEntryTested,
                       window::kMessageEntryTested, PM_NOREMOVE) &&
         Clock::now() < deadline) {
    Sleep(1);
  }
  fake_.environment.Set("PATH", "C:\\Tools");
  Form().imgSort_Click();
  Form().imgSort_Click();
  ASSERT_TRUE(AllAnswered());
  EXPECT_EQ(Rows(Ctl().lstPath), (std::vector<Row>{{"C:\\Tools", 0}}));
}

// A network path on a server that does not answer (the double holds its
// answer back; Wine answers such paths at once). The window shows its lists,
// takes the marks that come, answers the user and closes at once; the double
// goes away while the test still hangs, and the test's thread lets go of
// everything once the server answers.
TEST_F(EntryMarks, AServerThatDoesNotAnswerHoldsNothingUp) {
  // For comparison, the same window once every test has answered.
  fake_.environment.Set("PATH", "C:\\A;C:\\Gone;\\\\server\\share\\bin;C:\\After");
  Open();
  ASSERT_TRUE(AllAnswered());
  const auto answeredClosing = Clock::now();
  Form().cmdClose_Click();
  const double answeredCloseMs = MillisecondsSince(answeredClosing);
  form_.reset();

  auto fake = std::make_unique<platform::FakePlatform>();
  fake->files.AddFolder("C:\\A");
  fake->environment.Set("PATH", "C:\\A;C:\\Gone;\\\\server\\share\\bin;C:\\After");
  fake->environment.Set("CLASSPATH", "C:\\A");
  fake->files.HoldAnswers("\\\\server\\share\\bin");

  const auto opening = Clock::now();
  OpenOn(fake->Services());
  const double openMs = MillisecondsSince(opening);
  ASSERT_TRUE(fake->files.WaitForHeldCalls(1, std::chrono::seconds(10)));
  ASSERT_TRUE(PumpUntil([&] { return Rows(Ctl().lstPath)[1].overlay == 1; }));
  EXPECT_EQ(Rows(Ctl().lstPath),
            (std::vector<Row>{
                {"C:\\A", 0}, {"C:\\Gone", 1}, {"\\\\server\\share\\bin", 0}, {"C:\\After", 0}}));
  EXPECT_EQ(TabTip(1),
            "Path: 4 entries, 1 not found, 0 repeated, 0 empty; 40 of 32,767 characters; "
            "2 still being checked");

  // The user is answered meanwhile.
  SetWindowTextA(Ctl().txtSearch, "after");
  Form().imgSearch_Click();
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 4);
  SendMessageA(Ctl().TabStrip1, TCM_SETCURFOCUS, 1, 0);
  Pump(Form());
  EXPECT_TRUE(Shown(Ctl().lstClasspath));

  const auto closing = Clock::now();
  Form().cmdClose_Click();
  const double closeMs = MillisecondsSince(closing);
  EXPECT_FALSE(Form().IsOpen());
  EXPECT_EQ(fake->files.HeldCalls(), 1) << "closing does not wait for the test";
  std::cout << "[ figures  ] window shown in " << openMs << " ms; closed in " << closeMs
            << " ms while a test hangs (" << answeredCloseMs << " ms with every test answered)\n";

  form_.reset();
  const std::weak_ptr<platform::FakeFileSystem> files = fake->sharedFiles;
  fake.reset();
  files.lock()->ReleaseAnswers();
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!files.expired() && Clock::now() < deadline) Sleep(1);
  EXPECT_TRUE(files.expired()) << "the test's thread let go of the file system";
}

// The real file system, asked from the tests' thread: Wine's %SystemRoot%.
TEST_F(EntryMarks, TheRealFileSystemUnderTheSystemRoot) {
  auto real = testing_support::MakeTestPlatform(testing_support::Binding::kWin32);
  real->SetVariable("PATH", "%SystemRoot%;%SystemRoot%\\NoSuchFolder;C:\\WINDOWS\\");
  real->SetVariable("CLASSPATH", "%SystemRoot%\\notepad.exe;%SystemRoot%\\no.jar");
  const platform::Platform os = real->Services();
  OpenOn(platform::Platform{os.registry, os.environment, os.identity, os.files, os.clock,
                            fake_.user, os.sharedFiles});
  ASSERT_TRUE(AllAnswered());
  EXPECT_EQ(Rows(Ctl().lstPath),
            (std::vector<Row>{
                {"%SystemRoot%", 0}, {"%SystemRoot%\\NoSuchFolder", 1}, {"C:\\WINDOWS\\", 2}}));
  EXPECT_EQ(Rows(Ctl().lstClasspath),
            (std::vector<Row>{{"%SystemRoot%\\notepad.exe", 0}, {"%SystemRoot%\\no.jar", 1}}));
  form_.reset();
}

}  // namespace
}  // namespace window_tests
