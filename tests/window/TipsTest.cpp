// The marks' words where a user meets them, read back through the tool tips'
// own messages: beside the pointer resting on a row (Wine's list view shows
// no info tips, so the window's own tool tip does), beside the selected row
// on F1, and the tab's summary against the lengths the platform documents.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <string>

#include "WindowFixture.h"
#include "support/WideText.h"

namespace velmora::window_tests {
namespace {

using Clock = std::chrono::steady_clock;

class Tips : public WindowTest {
 protected:
  void SetUp() override {
    fake_.files.AddFolder("C:\\Tools");
    // The pointer starts off the window: the mouse has not come to it yet.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  }

  // Rows 1 to 4: unmarked, not found, empty, repeated.
  void OpenMarked() {
    OpenWith("C:\\Tools;C:\\Missing;;C:\\TOOLS");
    ASSERT_TRUE(AllAnswered());
  }

  // The pointer comes to rest on a row, as the mouse brings it there.
  void PointAt(HWND list, int position) {
    RECT row{};
    ListView_GetItemRect(list, position - 1, &row, LVIR_LABEL);
    POINT at{row.left + 4, (row.top + row.bottom) / 2};
    POINT screen = at;
    ClientToScreen(list, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    Pump(Form());
  }

  // The words of the tip the rows' tool tip shows, "" while it shows none:
  // the pointer's current tool, else the tool placed by the program (F1's).
  std::string ShownTip() {
    const HWND tips = Form().RowTipsHandle();
    if (tips == nullptr || !IsWindowVisible(tips)) return "";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    bool found = SendMessageW(tips, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    for (WPARAM at = 0;
         !found && SendMessageW(tips, TTM_ENUMTOOLSW, at, reinterpret_cast<LPARAM>(&tool)) != 0;
         ++at) {
      found = (tool.uFlags & TTF_TRACK) != 0;
    }
    if (!found) return "(shown, but for no tool)";
    wchar_t text[1024] = {};
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
    return testing_support::Utf8Of(text);
  }

  // Long enough for a tip to have shown had it been going to.
  void WaitLongerThanATipDoes() {
    // A tool tip waits the double-click time before it shows.
    const auto until = Clock::now() + std::chrono::milliseconds(3 * GetDoubleClickTime());
    (void)PumpUntil([&] { return Clock::now() > until; });
  }
};

TEST_F(Tips, ThePointersTipFollowsItFromRowToRowAndShowsNothingOnAnUnmarkedOne) {
  OpenMarked();
  const struct {
    int position;
    const char* words;
  } kRests[] = {{2, "Folder not found"}, {1, ""}, {4, "Same as entry 1"}, {3, "Empty entry"}};
  for (const auto& rest : kRests) {
    SCOPED_TRACE(rest.position);
    PointAt(Ctl().lstPath, rest.position);
    if (*rest.words == 0) {
      EXPECT_EQ(ShownTip(), "") << "the last row's tip went as the pointer left it";
      WaitLongerThanATipDoes();
      EXPECT_EQ(ShownTip(), "");
    } else {
      EXPECT_TRUE(PumpUntil([&] { return ShownTip() == rest.words; })) << ShownTip();
    }
  }
}

// A list view that shows info tips itself (Windows' does) keeps a tool in
// its own tool tip, and asks for a row's words: either way the row would show
// two tips, and the window's own steps aside.
TEST_F(Tips, WhereTheListShowsItsOwnInfoTipsTheWindowsOwnShowNone) {
  enum class Own { kToolInItsToolTip, kAsksForTheWords };
  for (const Own own : {Own::kToolInItsToolTip, Own::kAsksForTheWords}) {
    SCOPED_TRACE(static_cast<int>(own));
    OpenMarked();
    const HWND list = Ctl().lstPath;
    if (own == Own::kToolInItsToolTip) {
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof(tool);
      tool.uFlags = TTF_IDISHWND;
      tool.hwnd = list;
      tool.uId = reinterpret_cast<UINT_PTR>(list);
      SendMessageW(ListView_GetToolTips(list), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
      PointAt(list, 1);  // the window's tips are made, and then step aside
      wchar_t words[INFOTIPSIZE] = {};
      NMLVGETINFOTIPW ask{};
      ask.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_GETINFOTIPW};
      ask.dwFlags = LVGIT_UNFOLDED;
      ask.pszText = words;
      ask.cchTextMax = INFOTIPSIZE;
      ask.iItem = 1;
      SendMessageW(Form().Handle(), WM_NOTIFY, ask.hdr.idFrom, reinterpret_cast<LPARAM>(&ask));
    }
    PointAt(list, 2);
    WaitLongerThanATipDoes();
    EXPECT_EQ(ShownTip(), "");
  }
}

// A screen reader says it runs, and says it no more after the test.
struct ScreenReader {
  ScreenReader() { SystemParametersInfoW(SPI_SETSCREENREADER, TRUE, nullptr, SPIF_SENDCHANGE); }
  ~ScreenReader() { SystemParametersInfoW(SPI_SETSCREENREADER, FALSE, nullptr, SPIF_SENDCHANGE); }
  ScreenReader(const ScreenReader&) = delete;
  ScreenReader& operator=(const ScreenReader&) = delete;
};

// With a screen reader running, the rows' descriptions are asked of the
// platform, which under Wine keeps none: the window goes on as before.
TEST_F(Tips, F1ShowsTheSelectedEntrysWordsBesideItUntilEscapeOrAnotherEntry) {
  const ScreenReader reader;
  OpenMarked();
  const HWND list = Ctl().lstPath;
  Select(list, 2);
  Press(list, VK_F1);
  EXPECT_EQ(ShownTip(), "Folder not found");
  RECT row{};
  RECT tip{};
  ListView_GetItemRect(list, 1, &row, LVIR_LABEL);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
  GetWindowRect(Form().RowTipsHandle(), &tip);
  EXPECT_GE(tip.top, row.bottom - 1) << "below the row, which it would hide";
  EXPECT_LE(tip.top, row.bottom + (row.bottom - row.top));
  Press(list, VK_ESCAPE);
  EXPECT_EQ(ShownTip(), "");

  Press(list, VK_F1);
  Press(list, VK_DOWN);
  EXPECT_EQ(SelectedPosition(list), 3);
  EXPECT_EQ(ShownTip(), "") << "the words were of another entry";
  Press(list, VK_F1);
  EXPECT_EQ(ShownTip(), "Empty entry");
  Select(list, 1);
  Press(list, VK_F1);
  EXPECT_EQ(ShownTip(), "") << "an entry without a mark has nothing to say";
  EXPECT_TRUE(IsWindow(Form().Handle())) << "F1 opened nothing else";
}

// Each limit in its words once the variable passes it, and not at its length.
TEST_F(Tips, TheTabsTipNamesEveryDocumentedLimitThePathPasses) {
  const struct {
    std::size_t characters;
    const char* passed;
  } kLengths[] = {
      {8191, "8,191 of 32,767 characters"},
      {8192, "8,192 of 32,767 characters; longer than the 8,191 characters a command prompt reads"},
      {32768,
       "32,768 of 32,767 characters; longer than the 32,767 characters a variable can hold; "
       "longer than the 8,191 characters a command prompt reads"},
  };
  for (const auto& length : kLengths) {
    SCOPED_TRACE(length.characters);
    OpenWith("C:\\Tools;" + std::string(length.characters - 9, 'x'));
    ASSERT_TRUE(AllAnswered());
    EXPECT_EQ(TabTip(1),
              std::string("Path: 2 entries, 1 not found, 0 repeated, 0 empty; ") + length.passed);
  }
}

}  // namespace
}  // namespace velmora::window_tests
