// Opening and copying entries, the popup menu "Action" and the Close button.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <tuple>
#include <vector>

#include "WindowFixture.h"
#include "platform/Win32Platform.h"
#include "support/WideText.h"
#include "window/resource.h"

namespace window_tests {
namespace {

// Watches the popup menus the window opens: where each one stood on the
// screen, after which it is closed again so that nothing waits for a user.
class MenuWatch {
 public:
  explicit MenuWatch(HWND window) : window_(window) {
    SetWindowSubclass(window_, &MenuWatch::Procedure, 7, reinterpret_cast<DWORD_PTR>(this));
  }
  ~MenuWatch() { RemoveWindowSubclass(window_, &MenuWatch::Procedure, 7); }
  MenuWatch(const MenuWatch&) = delete;
  MenuWatch& operator=(const MenuWatch&) = delete;

  std::vector<POINT> opened;  // top-left corners in screen coordinates

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self) {
    auto& watch = *reinterpret_cast<MenuWatch*>(self);
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
      RECT menu{};
      GetWindowRect(reinterpret_cast<HWND>(lParam), &menu);
      watch.opened.push_back(POINT{menu.left, menu.top});
      EndMenu();
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }

  HWND window_;
};

class EntryActions : public WindowTest {
 protected:
  // A double-click on the list's item at position, as the mouse gives it.
  void DoubleClick(HWND list, int position) {
    Select(list, position);
    RECT item{};
    item.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(position - 1),
                 reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM(item.left + 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
    Pump(Form());
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

  // Posts a key's press and release to the list, with a modifier held down.
  void PressKey(HWND list, UINT down, WPARAM key, int modifier = 0) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    if (modifier != 0) keys[modifier] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(list, down, key, 1);
    PostMessageA(list, down + 1, key, 0xC0000001);  // WM_KEYUP, WM_SYSKEYUP
    Pump(Form());
    if (modifier != 0) keys[modifier] = 0;
    SetKeyboardState(keys);
  }

  void ExpectMenuAt(const MenuWatch& watch, POINT screen) {
    ASSERT_EQ(watch.opened.size(), 1u);
    EXPECT_EQ(watch.opened[0].x, screen.x);
    EXPECT_EQ(watch.opened[0].y, screen.y);
  }

  [[nodiscard]] POINT ClientToScreenPoint(int x, int y) {
    POINT point{x, y};
    ClientToScreen(Form().Handle(), &point);
    return point;
  }
};

// The entry goes to the Explorer whole, quoted, never run: handed a file the
// Explorer would open it with its handler (for a program, run it), so a file
// is shown selected in its folder instead.
TEST_F(EntryActions, TheExplorerGetsTheEntryWholeAndNeverAFileToOpen) {
  fake_.files.AddFile("C:\\Tools\\setup.exe");
  const struct {
    const char* entry;
    const char* commandLine;
  } cases[] = {
      {"C:\\Program Files\\Common Files", "Explorer \"C:\\Program Files\\Common Files\""},
      {"C:\\a,b", "Explorer \"C:\\a,b\""},
      {"C:\\Tools\\", "Explorer \"C:\\Tools\\\""},
      {"\"C:\\Program Files\\Java\\bin\"", "Explorer \"C:\\Program Files\\Java\\bin\""},
      {"", "Explorer "},
      {"\"\"", "Explorer \"\""},
      {"c:\\tools\\SETUP.EXE", "Explorer /select,\"c:\\tools\\SETUP.EXE\""},
      {"\"C:\\Tools\\setup.exe\"", "Explorer /select,\"C:\\Tools\\setup.exe\""},
      {"C:\\Tools\\setup.exe\\", "Explorer \"C:\\Tools\\setup.exe\\\""},
      {"C:\\Tools\\gone.exe", "Explorer \"C:\\Tools\\gone.exe\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(window::ExplorerCommandLine(fake_.files, c.entry), c.commandLine) << c.entry;
  }
  OpenWith("C:\\Tools;C:\\Tools\\setup.exe;;C:\\a,b");
  for (int position = 1; position <= 4; ++position) DoubleClick(Ctl().lstPath, position);
  EXPECT_EQ(Started(), (std::vector<std::string>{"Explorer \"C:\\Tools\"",
                                                 "Explorer /select,\"C:\\Tools\\setup.exe\"",
                                                 "Explorer ", "Explorer \"C:\\a,b\""}));
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

TEST_F(EntryActions, NothingSelectedOrNoItemsDoesNothing) {
  OpenWith("C:\\A");
  Select(Ctl().lstPath, 0);
  Form().lstPath_DblClick();
  Form().lstClasspath_DblClick();
  Form().mnuOpen_Click(2);
  Form().mnuCopy_Click(1);
  EXPECT_TRUE(fake_.user.started.empty());
  EXPECT_TRUE(fake_.user.clipboard.empty());
  EXPECT_TRUE(fake_.user.messages.empty());
}

TEST_F(EntryActions, TheMenuActsOnTheShownListWhateverItsIndex) {
  OpenWith("C:\\P1;C:\\P2", "C:\\c1.jar;C:\\c2.jar");
  Select(Ctl().lstPath, 2);
  Select(Ctl().lstClasspath, 1);
  SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDM_MNUOPEN, 0), 0);
  SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDM_MNUCOPY, 0), 0);
  TabCtrl_SetCurSel(Ctl().TabStrip1, 1);
  Form().TabStrip1_Click();
  Form().mnuOpen_Click(1);
  Form().mnuCopy_Click(2);
  EXPECT_EQ(Started(),
            (std::vector<std::string>{"Explorer \"C:\\P2\"", "Explorer \"C:\\c1.jar\""}));
  EXPECT_EQ(fake_.user.clipboard, (std::vector<std::string>{"C:\\P2", "C:\\c1.jar"}));
}

TEST_F(EntryActions, OnlyTheRightButtonOpensTheMenuBelowThePointerAtEveryDpi) {
  OpenWith("C:\\A");
  {
    MenuWatch watch(Form().Handle());
    Form().lstPath_MouseUp(window::kButtonLeft, 0, 100, 50);
    Form().lstPath_MouseUp(window::kButtonMiddle, 0, 100, 50);
    SendMessageA(Ctl().lstPath, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(10, 10));
    SendMessageA(Ctl().lstPath, WM_MBUTTONUP, 0, MAKELPARAM(10, 10));
    Pump(Form());
    EXPECT_TRUE(watch.opened.empty());
  }
  {
    // (100, 650) twips in the client area: (7, 43) pixels at 96 dpi.
    MenuWatch watch(Form().Handle());
    Form().lstPath_MouseUp(window::kButtonRight, 0, 100, 50);
    ExpectMenuAt(watch, ClientToScreenPoint(7, 43));
  }
  ChangeDpi(144);
  MenuWatch watch(Form().Handle());
  Form().lstClasspath_MouseUp(window::kButtonRight | window::kButtonLeft, 0, 100, 50);
  ExpectMenuAt(watch, ClientToScreenPoint(10, 65));
}

TEST_F(EntryActions, ReleasingTheRightButtonOverTheListOpensTheMenu) {
  OpenWith("C:\\A;C:\\B");
  MenuWatch watch(Form().Handle());
  // The list follows the button itself until it is released.
  PostMessageA(Ctl().lstPath, WM_RBUTTONUP, 0, MAKELPARAM(30, 25));
  SendMessageA(Ctl().lstPath, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 25));
  Pump(Form());
  ExpectMenuAt(watch, ClientToScreenPoint(30, 25 + 40));
}

TEST_F(EntryActions, TheKeyboardOpensCopiesAndShowsTheMenuAtTheSelectedItem) {
  OpenWith("C:\\A;C:\\B");
  SetFocus(Ctl().lstPath);
  Select(Ctl().lstPath, 2);
  RECT item{};
  item.left = LVIR_LABEL;
  SendMessageA(Ctl().lstPath, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  POINT below{item.left, item.bottom};
  ClientToScreen(Ctl().lstPath, &below);
  for (const auto& [down, key, modifier] :
       {std::tuple{WM_KEYDOWN, VK_APPS, 0}, std::tuple{WM_SYSKEYDOWN, VK_F10, VK_SHIFT}}) {
    MenuWatch watch(Form().Handle());
    PressKey(Ctl().lstPath, down, key, modifier);
    ExpectMenuAt(watch, below);
  }
  PressKey(Ctl().lstPath, WM_KEYDOWN, 'C', VK_CONTROL);
  PressKey(Ctl().lstPath, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(fake_.user.clipboard, (std::vector<std::string>{"C:\\B"}));
  EXPECT_EQ(Started(), (std::vector<std::string>{"Explorer \"C:\\B\""}));
}

// The real clipboard, read back as another program would read it.
TEST_F(EntryActions, TheRealClipboardHoldsExactlyTheEntry) {
  platform::Win32UserServices clipboard;
  platform::Platform os = fake_.Services();
  fake_.environment.Set("PATH", "C:\\P1");
  // More bytes in UTF-8 than the list's first buffer of 256 holds, fewer
  // UTF-16 units, and a character across its 255th byte.
  std::string entry = "C:\\Entwürfe\\" + std::string(151, 'a');
  for (int n = 0; n < 40; ++n) entry += "日";
  fake_.environment.Set("CLASSPATH", entry);
  OpenOn(platform::Platform{os.registry, os.environment, os.identity, os.files, os.clock, clipboard,
                            os.sharedFiles});
  SetForegroundWindow(Form().Handle());
  SetActiveWindow(Form().Handle());

  // Whatever was there before, in any format, goes.
  const UINT custom = RegisterClipboardFormatA("Velmora test format");
  ASSERT_TRUE(OpenClipboard(Form().Handle()));
  EmptyClipboard();
  HGLOBAL before = GlobalAlloc(GMEM_MOVEABLE, 4);
  SetClipboardData(custom, before);
  CloseClipboard();

  TabCtrl_SetCurSel(Ctl().TabStrip1, 1);
  Form().TabStrip1_Click();
  Select(Ctl().lstClasspath, 1);
  Form().mnuCopy_Click(1);

  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(IsClipboardFormatAvailable(custom));
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(data, nullptr);
  const std::wstring text(static_cast<const wchar_t*>(GlobalLock(data)));
  GlobalUnlock(data);
  CloseClipboard();
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

  const HWND window = Form().Handle();
  SendMessageA(Form().Ctl().cmdClose, BM_CLICK, 0, 0);
  Pump(Form());
  EXPECT_FALSE(Form().IsOpen());
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace window_tests
