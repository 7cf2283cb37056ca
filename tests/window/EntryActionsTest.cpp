// Opening and copying entries, the popup menu "Action" and the Close button.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "WindowFixture.h"
#include "platform/Win32Platform.h"
#include "support/WideText.h"
#include "window/resource.h"

namespace velmora::window_tests {
namespace {

// The top-left corners of popup menus, in the window's client coordinates.
using Corners = std::vector<std::pair<LONG, LONG>>;

// Records where a popup menu of the window stands, and closes it again so
// that nothing waits for a user.
LRESULT CALLBACK RecordMenu(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR opened) {
  if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
    RECT menu{};
    GetWindowRect(reinterpret_cast<HWND>(lParam), &menu);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&menu), 1);
    reinterpret_cast<Corners*>(opened)->emplace_back(menu.left, menu.top);
    EndMenu();
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

class EntryActions : public WindowTest {
 protected:
  // A double-click on the list's item at position, as the mouse gives it,
  // and the wait for the start or the error box it ends in.
  void DoubleClick(HWND list, int position) {
    const std::size_t before = fake_.user.started.size() + fake_.user.messages.size();
    Select(list, position);
    RECT item{};
    ListView_GetItemRect(list, position - 1, &item, LVIR_LABEL);
    const LPARAM point = MAKELPARAM(item.left + 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
    EXPECT_TRUE(
        PumpUntil([&] { return fake_.user.started.size() + fake_.user.messages.size() > before; }));
  }

  [[nodiscard]] std::vector<std::string> Started() const {
    std::vector<std::string> lines;
    for (const auto& started : fake_.user.started) {
      EXPECT_EQ(started.application, "C:\\WINDOWS\\explorer.exe");
      EXPECT_EQ(started.showCommand, platform::kSwShowNoActivate);
      lines.push_back(started.commandLine);
    }
    return lines;
  }

  // Where the menus that ask opens stand.
  [[nodiscard]] Corners MenusOpenedBy(const std::function<void()>& ask) {
    Corners opened;
    SetWindowSubclass(Form().Handle(), &RecordMenu, 7, reinterpret_cast<DWORD_PTR>(&opened));
    ask();
    Pump(Form());
    RemoveWindowSubclass(Form().Handle(), &RecordMenu, 7);
    return opened;
  }
};

// The entry goes to the Explorer whole, quoted, never run: handed a file the
// Explorer would open it with its handler (for a program, run it), so a file
// is shown selected in its folder instead.
TEST_F(EntryActions, TheExplorerGetsTheEntryWholeAndNeverAFileToOpen) {
  fake_.files.AddFile("C:\\Tools\\setup.exe");
  const struct {
    std::string entry;
    std::string commandLine;
  } cases[] = {
      {"C:\\Program Files\\Common Files", "Explorer \"C:\\Program Files\\Common Files\""},
      {"C:\\a,b", "Explorer \"C:\\a,b\""},
      {"C:\\Tools\\", "Explorer \"C:\\Tools\\\""},
      {"\"C:\\Program Files\\Java\\bin\"", "Explorer \"C:\\Program Files\\Java\\bin\""},
      {"", "Explorer "},
      {"\"\"", "Explorer \"\""},
      {"\"C:\\Tools\\setup.exe\"", "Explorer /select,\"C:\\Tools\\setup.exe\""},
      {"C:\\Tools\\setup.exe\\", "Explorer \"C:\\Tools\\setup.exe\\\""},
  };
  std::string path;
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    path += (path.empty() ? "" : ";") + c.entry;
    expected.push_back(c.commandLine);
  }
  OpenWith(path);
  for (int position = 1; position <= static_cast<int>(std::size(cases)); ++position) {
    DoubleClick(Ctl().lstPath, position);
  }
  EXPECT_EQ(Started(), expected);
}

TEST_F(EntryActions, AStartThatFailsIsReportedOnceNamingTheHandler) {
  OpenWith("C:\\A");
  fake_.user.failNext =
      std::make_pair(2, std::string("The system cannot find the file specified."));
  DoubleClick(Ctl().lstPath, 1);
  // Without the Windows folder no Explorer is looked for by its name alone.
  fake_.identity.windowsFolder = "";
  DoubleClick(Ctl().lstPath, 1);
  EXPECT_TRUE(fake_.user.started.empty());
  ASSERT_EQ(fake_.user.messages.size(), 2u);
  for (const auto& box : fake_.user.messages) {
    EXPECT_NE(box.text.find("(error 2)\r\n in module frmMain, procedure lstPath_DblClick"),
              std::string::npos)
        << box.text;
  }
  EXPECT_TRUE(Form().IsOpen());
}

TEST_F(EntryActions, TheMenuAndItsKeysActOnTheShownListsSelectionIfAny) {
  OpenWith("C:\\P1;C:\\P2", "C:\\c1.jar;C:\\c2.jar");
  Form().mnuOpen_Click();
  Form().mnuCopy_Click();
  Form().lstClasspath_DblClick();
  EXPECT_TRUE(fake_.user.started.empty() && fake_.user.clipboard.empty()) << "nothing selected";
  Select(Ctl().lstPath, 2);
  Select(Ctl().lstClasspath, 1);
  SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDM_MNUOPEN, 0), 0);
  SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDM_MNUCOPY, 0), 0);
  TabCtrl_SetCurSel(Ctl().TabStrip1, 1);
  Form().TabStrip1_Click();
  Form().mnuOpen_Click();
  Form().mnuCopy_Click();
  Select(Ctl().lstClasspath, 2);
  Press(Ctl().lstClasspath, 'C', VK_CONTROL);
  Press(Ctl().lstClasspath, VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return fake_.user.started.size() == 3; }));
  // Each start waits for its own answer: they may come in any order.
  std::vector<std::string> started = Started();
  std::ranges::sort(started);
  EXPECT_EQ(started, (std::vector<std::string>{"Explorer \"C:\\P2\"", "Explorer \"C:\\c1.jar\"",
                                               "Explorer \"C:\\c2.jar\""}));
  EXPECT_EQ(fake_.user.clipboard, (std::vector<std::string>{"C:\\P2", "C:\\c1.jar", "C:\\c2.jar"}));
}

TEST_F(EntryActions, TheMenuOpensWhereTheRightButtonOrTheKeyboardAsksAndNowhereElse) {
  OpenWith("C:\\A;C:\\B", "C:\\c.jar");
  EXPECT_EQ(MenusOpenedBy([&] {
              Form().lstPath_MouseUp(window::kButtonLeft, 100, 50);
              Form().lstPath_MouseUp(window::kButtonMiddle, 100, 50);
            }),
            Corners{});
  // The keys open it below the selected item's text.
  Select(Ctl().lstPath, 2);
  RECT item{};
  ListView_GetItemRect(Ctl().lstPath, 1, &item, LVIR_LABEL);
  POINT below{item.left, item.bottom};
  MapWindowPoints(Ctl().lstPath, Form().Handle(), &below, 1);
  for (const auto& [key, modifier] : {std::pair{VK_APPS, 0}, std::pair{VK_F10, VK_SHIFT}}) {
    EXPECT_EQ(MenusOpenedBy([&] { Press(Ctl().lstPath, key, modifier); }),
              (Corners{{below.x, below.y}}));
  }
  // A right-click opens it where the pointer is. The list follows the button
  // itself until it is released.
  ChangeDpi(144);
  const POINT pointer{31, 27};
  EXPECT_EQ(MenusOpenedBy([&] {
              PostMessageA(Ctl().lstPath, WM_RBUTTONUP, 0, MAKELPARAM(pointer.x, pointer.y));
              SendMessageA(Ctl().lstPath, WM_RBUTTONDOWN, MK_RBUTTON,
                           MAKELPARAM(pointer.x, pointer.y));
            }),
            (Corners{{pointer.x, pointer.y + PlaceOf(Ctl().lstPath).top}}));
}

// The real clipboard, read back as another program would read it.
TEST_F(EntryActions, TheRealClipboardHoldsExactlyTheEntry) {
  // More bytes in UTF-8 than the list's first buffer of 256 holds, fewer
  // UTF-16 units, and a character across its 255th byte.
  std::string entry = "C:\\Entwürfe\\" + std::string(151, 'a');
  for (int n = 0; n < 40; ++n) entry += "日";
  fake_.environment.Set("CLASSPATH", entry);
  platform::Win32UserServices clipboard;
  OpenOn(WithUser(fake_.Services(), clipboard));

  // Whatever was there before, in any format, goes.
  const UINT custom = RegisterClipboardFormatA("Velmora test format");
  ASSERT_TRUE(OpenClipboard(Form().Handle()));
  EmptyClipboard();
  SetClipboardData(custom, GlobalAlloc(GMEM_MOVEABLE, 4));
  CloseClipboard();

  TabCtrl_SetCurSel(Ctl().TabStrip1, 1);
  Form().TabStrip1_Click();
  Select(Ctl().lstClasspath, 1);
  Form().mnuCopy_Click();

  ASSERT_TRUE(OpenClipboard(nullptr));
  const bool stale = IsClipboardFormatAvailable(custom);
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const std::wstring text(data == nullptr ? L"" : static_cast<const wchar_t*>(GlobalLock(data)));
  if (data != nullptr) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_FALSE(stale);
  EXPECT_EQ(text, testing_support::Utf16Of(entry));
}

TEST_F(EntryActions, TheButtonsRunTheReportCommandsAndCloseEndsTheWindow) {
  fake_.files.AddFolder(fake_.identity.tempPath);
  OpenWith("C:\\A");
  fake_.user.saveAnswer.reset();  // the user cancels the Save As dialog
  SendMessageA(Ctl().cmdSave, BM_CLICK, 0, 0);
  Pump(Form());
  EXPECT_EQ(fake_.user.saveRequests.size(), 1u);
  SendMessageA(Ctl().cmdView, BM_CLICK, 0, 0);
  Pump(Form());
  for (const auto& box : fake_.user.messages) ADD_FAILURE() << box.text;
  ASSERT_EQ(fake_.user.started.size(), 1u);
  EXPECT_EQ(fake_.user.started[0].commandLine.rfind("Notepad.exe ", 0), 0u);

  SendMessageA(Ctl().cmdClose, BM_CLICK, 0, 0);
  Pump(Form());
  EXPECT_FALSE(Form().IsOpen());
}

}  // namespace
}  // namespace velmora::window_tests
