// Marks on the entries that cannot serve, read back through the lists' and
// the tool tips' own messages: the overlay picture of each row, its info tip,
// and each tab's summary, while the existence tests answer from their thread.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "WindowFixture.h"
#include "support/TestPlatform.h"
#include "support/WideText.h"

namespace velmora::window_tests {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono_literals::operator""s;

using Marks = std::vector<int>;

class EntryMarks : public WindowTest {
 protected:
  void SetUp() override {
    fake_.files.AddFolder("C:\\Tools");
    fake_.files.AddFile("C:\\lib\\a.jar");
  }
};

// Every mark, in its picture and its words, on both lists; the row's own
// text comes first in the tip where the row shows it cut short.
struct MarkCase {
  bool classpath;
  const char* entry;
  int overlay;      // 0 none, 1 not found, 2 repeated, 3 empty
  const char* tip;  // the info tip where the row shows whole
};
const MarkCase kMarks[] = {
    {false, "C:\\Tools", 0, ""},
    {false, "C:\\Missing", 1, "Folder not found"},
    {false, "c:\\TOOLS\\", 2, "Same as entry 1"},
    {false, "", 3, "Empty entry"},
    {true, "C:\\lib\\a.jar", 0, ""},
    {true, "C:\\Entw\xC3\xBCrfe", 1, "File or folder not found"},
    {true, "C:\\LIB\\A.jar", 2, "Same as entry 1"},
    {true, "", 3, "Empty entry"},
};

TEST_F(EntryMarks, EveryKindOnBothListsWithItsWordsAndTheSummaries) {
  std::string lists[2];
  bool started[2] = {false, false};
  for (const MarkCase& c : kMarks) {
    if (std::exchange(started[c.classpath], true)) lists[c.classpath] += ';';
    lists[c.classpath] += c.entry;
  }
  OpenWith(lists[0], lists[1]);
  ASSERT_TRUE(AllAnswered());
  int row[2] = {0, 0};
  for (const MarkCase& c : kMarks) {
    SCOPED_TRACE(c.entry);
    const HWND list = c.classpath ? Ctl().lstClasspath : Ctl().lstPath;
    const int position = ++row[c.classpath];
    EXPECT_EQ(Overlays(list).at(position - 1), c.overlay);
    EXPECT_EQ(InfoTip(Form(), list, position, false), c.tip);
    const std::string entry = c.entry;
    const std::string tip = c.tip;
    EXPECT_EQ(InfoTip(Form(), list, position, true),
              entry.empty() || tip.empty() ? entry + tip : entry + "\r\n" + tip);
  }
  // The marks leave picture and tick as they were.
  for (const auto& item : Items(Ctl().lstPath)) EXPECT_EQ(item, (Item{item.text, kSystem, true}));

  EXPECT_EQ(TabTip(1),
            "Path: 4 entries, 1 not found, 1 repeated, 1 empty; 30 of 32,767 characters");
  // "ü" is one character for Windows, two bytes here.
  EXPECT_EQ(TabTip(2),
            "ClassPath: 4 entries, 1 not found, 1 repeated, 1 empty; 38 of 32,767 characters");
}

TEST_F(EntryMarks, SortedTheMarksStayOnTheirEntriesAndUnsortedTheListsShowTodaysVariables) {
  fake_.files.AddFolder("C:\\Zed");
  fake_.files.HoldAnswers("C:\\Late");
  OpenWith("C:\\Zed;C:\\Missing;C:\\Tools;;C:\\ZED\\;C:\\Late", "z.jar;a.jar");
  const auto clickSortPicture = [&] {
    SendMessageA(Ctl().imgSort, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(Ctl().imgSort, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Pump(Form());
  };
  ASSERT_TRUE(fake_.files.WaitForHeldCalls(1, 10s));
  clickSortPicture();  // while an answer is still to come
  fake_.files.ReleaseAnswers();
  ASSERT_TRUE(AllAnswered());
  EXPECT_EQ(Items(Ctl().lstPath),
            Marked(";C:\\Late;C:\\Missing;C:\\Tools;C:\\Zed;C:\\ZED\\", "SSSSSS"));
  EXPECT_EQ(Overlays(Ctl().lstPath), (Marks{3, 1, 1, 0, 0, 2}));
  EXPECT_EQ(InfoTip(Form(), Ctl().lstPath, 6, false), "Same as entry 1")
      << "entries count in list order";
  EXPECT_EQ(Items(Ctl().lstClasspath), Marked("a.jar;z.jar", "SS"));

  // The user's variables change while the lists are sorted.
  for (const auto& [name, value] : {std::pair{"PATH", "C:\\Tools"}, std::pair{"CLASSPATH", "x"}}) {
    fake_.registry.SetValue(platform::kCurrentUser, "Environment", name, platform::kRegSz,
                            testing_support::StringData(value));
  }
  clickSortPicture();
  ASSERT_TRUE(AllAnswered());
  EXPECT_EQ(Items(Ctl().lstPath),
            Marked("C:\\Zed;C:\\Missing;C:\\Tools;;C:\\ZED\\;C:\\Late", "SSUUSS"));
  EXPECT_EQ(Overlays(Ctl().lstPath), (Marks{0, 1, 0, 3, 2, 1}));
  EXPECT_EQ(Items(Ctl().lstClasspath), Marked("z.jar;a.jar", "UU"));
}

TEST_F(EntryMarks, AnAnswerForAnEarlierFillIsDropped) {
  fake_.files.HoldAnswers("C:\\Gone");
  OpenWith("C:\\Gone");
  ASSERT_TRUE(fake_.files.WaitForHeldCalls(1, 10s));
  fake_.files.ReleaseAnswers();
  // The answer "not found" for entry 1 is queued, not yet taken in, when the
  // lists are refilled with an entry 1 that exists.
  MSG queued{};
  const auto deadline = Clock::now() + 10s;
  while (!PeekMessageA(&queued, Form().Handle(), window::kMessageEntryTested,
                       window::kMessageEntryTested, PM_NOREMOVE) &&
         Clock::now() < deadline) {
    Sleep(1);
  }
  fake_.environment.Set("PATH", "C:\\Tools");
  Form().imgSort_Click();
  Form().imgSort_Click();
  ASSERT_TRUE(AllAnswered());
  EXPECT_EQ(Overlays(Ctl().lstPath), (Marks{0}));
  EXPECT_EQ(TabTip(1), "Path: 1 entry, 0 not found, 0 repeated, 0 empty; 8 of 32,767 characters");
}

// A network path on a server that does not answer (the double holds its
// answer back; Wine answers such paths at once). The window shows its lists,
// takes the marks that come, answers the user, opens other entries and closes
// at once, while the entry's mark and the question whether it names a file
// (to open it) hang.
TEST_F(EntryMarks, AServerThatDoesNotAnswerHoldsNothingUp) {
  fake_.files.HoldAnswers("\\\\server\\share\\bin");
  OpenWith("C:\\Tools;C:\\Gone;\\\\server\\share\\bin;C:\\After", "C:\\Tools");
  ASSERT_TRUE(fake_.files.WaitForHeldCalls(1, 10s));
  // The sweep goes on past the server: every other entry settles.
  ASSERT_TRUE(PumpUntil([&] { return Overlays(Ctl().lstPath)[3] == 1; }));
  EXPECT_EQ(Overlays(Ctl().lstPath), (Marks{0, 1, 0, 1}));
  EXPECT_EQ(TabTip(1),
            "Path: 4 entries, 2 not found, 0 repeated, 0 empty; 44 of 32,767 characters; "
            "1 still being checked");

  // Once opening the entry hangs too, another program asks the window; should
  // the window be the one waiting, the asker gives up and lets the answers come.
  const HWND window = Form().Handle();
  std::future<bool> asked = std::async(std::launch::async, [&] {
    DWORD_PTR result = 0;
    const bool answered =
        fake_.files.WaitForHeldCalls(2, 10s) &&
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
    if (!answered) fake_.files.ReleaseAnswers();
    return answered;
  });
  Select(Ctl().lstPath, 3);
  Form().lstPath_DblClick();
  ASSERT_TRUE(PumpUntil([&] { return asked.wait_for(0s) == std::future_status::ready; }));
  ASSERT_TRUE(asked.get()) << "the window waited for the file system";

  SetWindowTextA(Ctl().txtSearch, "after");
  Form().imgSearch_Click();
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 4);
  Form().lstPath_DblClick();
  ASSERT_TRUE(PumpUntil([&] { return !fake_.user.started.empty(); }));
  EXPECT_EQ(fake_.user.started[0].commandLine, "Explorer \"C:\\After\"");
  SendMessageA(Ctl().TabStrip1, TCM_SETCURFOCUS, 1, 0);
  Pump(Form());
  EXPECT_TRUE(IsWindowVisible(Ctl().lstClasspath));

  Form().cmdClose_Click();
  EXPECT_FALSE(Form().IsOpen());
  EXPECT_EQ(fake_.files.HeldCalls(), 2) << "closing waits for no answer";
  fake_.files.ReleaseAnswers();
}

}  // namespace
}  // namespace velmora::window_tests
