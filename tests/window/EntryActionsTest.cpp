// Opening and copying entries, the popup menu "Action" and the Close button.
#include <windows.h>
#include <commctrl.h>

#include <string>
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
  void OpenWith(const std::string& path, const std::string& classpath) {
    fake_.environment.Set("PATH", path);
    fake_.environment.Set("CLASSPATH", classpath);
    Open();
  }

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

  [[nodiscard]] POINT ClientToScreenPoint(int x, int y) {
    POINT point{x, y};
    ClientToScreen(Form().Handle(), &point);
    return point;
  }
};

TEST_F(EntryActions, DoubleClickStartsTheExplorerWithTheEntryQuoted) {
  OpenWith("C:\\Windows;C:\\Program Files\\Common Files;C:\\a,b;;C:\\Tools\\", "");
  for (int position = 1; position <= 5; ++position) DoubleClick(Ctl().lstPath, position);
  EXPECT_EQ(Started(),
            (std::vector<std::string>{
                "Explorer \"C:\\Windows\"", "Explorer \"C:\\Program Files\\Common Files\"",
                "Explorer \"C:\\a,b\"", "Explorer ", "Explorer \"C:\\Tools\\\""}));
}

TEST_F(EntryActions, QuotesInsideAnEntryCannotEndItsQuoting) {
  OpenWith("\"C:\\Program Files\\Java\\bin\"", "");
  Select(Ctl().lstPath, 1);
  Form().lstPath_DblClick();
  EXPECT_EQ(Started(), (std::vector<std::string>{"Explorer \"C:\\Program Files\\Java\\bin\""}));
}

// Handed a file, the Explorer would open it with its handler: for a program,
// run it. A file is shown selected in its folder instead.
TEST_F(EntryActions, AnEntryNamingAFileOpensItsFolderWithTheFileSelected) {
  fake_.files.AddFile("C:\\Tools\\setup.exe");
  fake_.files.AddFile("C:\\Tools\\notes.txt");
  const struct {
    const char* entry;
    const char* commandLine;
  } cases[] = {
      {"C:\\Tools\\setup.exe", "Explorer /select,\"C:\\Tools\\setup.exe\""},
      {"c:\\tools\\SETUP.EXE", "Explorer /select,\"c:\\tools\\SETUP.EXE\""},
      {"\"C:\\Tools\\setup.exe\"", "Explorer /select,\"C:\\Tools\\setup.exe\""},
      {"C:\\Tools\\notes.txt", "Explorer /select,\"C:\\Tools\\notes.txt\""},
      {"C:\\Tools", "Explorer \"C:\\Tools\""},
      {"C:\\Tools\\setup.exe\\", "Explorer \"C:\\Tools\\setup.exe\\\""},
      {"C:\\Tools\\gone.exe", "Explorer \"C:\\Tools\\gone.exe\""},
      {"\"\"", "Explorer \"\""},
      {"", "Explorer "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(window::ExplorerCommandLine(fake_.files, c.entry), c.commandLine) << c.entry;
  }
  OpenWith("C:\\Tools;C:\\Tools\\setup.exe", "");
  DoubleClick(Ctl().lstPath, 2);
  EXPECT_EQ(Started(), (std::vector<std::string>{cases[0].commandLine}));
}

TEST_F(EntryActions, WithoutTheWindowsFolderNoExplorerIsLookedForByName) {
  fake_.identity.windowsFolder = "";
  OpenWith("C:\\A", "");
  DoubleClick(Ctl().lstPath, 1);
  EXPECT_TRUE(fake_.user.started.empty());
  ASSERT_EQ(fake_.user.messages.size(), 1u);
  EXPECT_NE(fake_.user.messages[0].text.find("(error 2)"), std::string::npos);
  EXPECT_NE(fake_.user.messages[0].text.find("procedure lstPath_DblClick"), std::string::npos);
}

TEST_F(EntryActions, NothingSelectedOrNoItemsStartsNothing) {
  OpenWith("C:\\A", "");
  Select(Ctl().lstPath, 0);
  Form().lstPath_DblClick();
  Form().lstClasspath_DblClick();
  Form().mnuOpen_Click(2);
  Form().mnuCopy_Click(1);
  EXPECT_TRUE(fake_.user.started.empty());
  EXPECT_TRUE(fake_.user.clipboard.empty());
  EXPECT_TRUE(fake_.user.messages.empty());
}

TEST_F(EntryActions, OpenFromTheMenuOpensTheShownListsEntry) {
  OpenWith("C:\\P1;C:\\P2", "C:\\c1.jar;C:\\c2.jar");
  Select(Ctl().lstPath, 2);
  Select(Ctl().lstClasspath, 1);
  SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDM_MNUOPEN, 0), 0);
  Form().mnuOpen_Click(2);
  TabCtrl_SetCurSel(Ctl().TabStrip1, 1);
  Form().TabStrip1_Click();
  Form().mnuOpen_Click(1);  // the index makes no difference
  EXPECT_EQ(Started(), (std::vector<std::string>{"Explorer \"C:\\P2\"", "Explorer \"C:\\P2\"",
                                                 "Explorer \"C:\\c1.jar\""}));
}

TEST_F(EntryActions, AFailedStartIsReportedOnceNamingTheHandler) {
  OpenWith("C:\\A", "");
  fake_.user.failNext =
      std::make_pair(2, std::string("The system cannot find the file specified."));
  DoubleClick(Ctl().lstPath, 1);
  ASSERT_EQ(fake_.user.messages.size(), 1u);
  EXPECT_NE(fake_.user.messages[0].text.find("in module frmMain, procedure lstPath_DblClick"),
            std::string::npos);
  EXPECT_TRUE(Form().IsOpen());
}

TEST_F(EntryActions, RightButtonOpensTheMenuBelowThePointerAt96Dpi) {
  OpenWith("C:\\A", "");
  MenuWatch watch(Form().Handle());
  Form().lstPath_MouseUp(window::kButtonRight, 0, 100, 50);
  ASSERT_EQ(watch.opened.size(), 1u);
  // (100, 650) twips in the client area: (7, 43) pixels.
  const POINT expected = ClientToScreenPoint(7, 43);
  EXPECT_EQ(watch.opened[0].x, expected.x);
  EXPECT_EQ(watch.opened[0].y, expected.y);
}

TEST_F(EntryActions, RightButtonOpensTheMenuBelowThePointerAt144Dpi) {
  OpenWith("C:\\A", "");
  RECT outer{};
  GetWindowRect(Form().Handle(), &outer);
  SendMessageA(Form().Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&outer));
  MenuWatch watch(Form().Handle());
  Form().lstClasspath_MouseUp(window::kButtonRight | window::kButtonLeft, 0, 100, 50);
  ASSERT_EQ(watch.opened.size(), 1u);
  const POINT expected = ClientToScreenPoint(10, 65);
  EXPECT_EQ(watch.opened[0].x, expected.x);
  EXPECT_EQ(watch.opened[0].y, expected.y);
}

TEST_F(EntryActions, LeftAndMiddleButtonsOpenNothing) {
  OpenWith("C:\\A", "");
  MenuWatch watch(Form().Handle());
  Form().lstPath_MouseUp(window::kButtonLeft, 0, 100, 50);
  Form().lstPath_MouseUp(window::kButtonMiddle, 0, 100, 50);
  SendMessageA(Ctl().lstPath, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(10, 10));
  SendMessageA(Ctl().lstPath, WM_MBUTTONUP, 0, MAKELPARAM(10, 10));
  Pump(Form());
  EXPECT_TRUE(watch.opened.empty());
}

TEST_F(EntryActions, ReleasingTheRightButtonOverTheListOpensTheMenu) {
  OpenWith("C:\\A;C:\\B", "");
  MenuWatch watch(Form().Handle());
  // The list follows the button itself until it is released.
  PostMessageA(Ctl().lstPath, WM_RBUTTONUP, 0, MAKELPARAM(30, 25));
  SendMessageA(Ctl().lstPath, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 25));
  Pump(Form());
  ASSERT_EQ(watch.opened.size(), 1u);
  const POINT expected = ClientToScreenPoint(30, 25 + 40);
  EXPECT_EQ(watch.opened[0].x, expected.x);
  EXPECT_EQ(watch.opened[0].y, expected.y);
}

TEST_F(EntryActions, ContextMenuKeyOpensTheMenuAtTheSelectedItem) {
  OpenWith("C:\\A;C:\\B", "");
  MenuWatch watch(Form().Handle());
  SetFocus(Ctl().lstPath);
  Select(Ctl().lstPath, 2);
  PostMessageA(Ctl().lstPath, WM_KEYDOWN, VK_APPS, 1);
  PostMessageA(Ctl().lstPath, WM_KEYUP, VK_APPS, 0xC0000001);
  Pump(Form());
  ASSERT_EQ(watch.opened.size(), 1u);
  RECT item{};
  item.left = LVIR_LABEL;
  SendMessageA(Ctl().lstPath, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  POINT expected{item.left, item.bottom};
  ClientToScreen(Ctl().lstPath, &expected);
  EXPECT_EQ(watch.opened[0].x, expected.x);
  EXPECT_EQ(watch.opened[0].y, expected.y);
}

TEST_F(EntryActions, ShiftF10OpensTheMenuLikeTheContextMenuKey) {
  OpenWith("C:\\A;C:\\B", "");
  MenuWatch watch(Form().Handle());
  SetFocus(Ctl().lstPath);
  Select(Ctl().lstPath, 1);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  PostMessageA(Ctl().lstPath, WM_SYSKEYDOWN, VK_F10, 1);
  PostMessageA(Ctl().lstPath, WM_SYSKEYUP, VK_F10, 0xC0000001);
  Pump(Form());
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(watch.opened.size(), 1u);
  EXPECT_EQ(GetMenu(Form().Handle()), nullptr);
}

TEST_F(EntryActions, CopyPutsTheShownListsEntryOnTheClipboard) {
  OpenWith("C:\\P1;C:\\P2", "C:\\c1.jar;C:\\c2.jar");
  Select(Ctl().lstPath, 1);
  Select(Ctl().lstClasspath, 2);
  Form().mnuCopy_Click(1);
  TabCtrl_SetCurSel(Ctl().TabStrip1, 1);
  Form().TabStrip1_Click();
  Form().mnuCopy_Click(2);
  EXPECT_EQ(fake_.user.clipboard, (std::vector<std::string>{"C:\\P1", "C:\\c2.jar"}));
}

TEST_F(EntryActions, CtrlCInAListCopiesItsEntry) {
  OpenWith("C:\\P1;C:\\P2", "");
  SetFocus(Ctl().lstPath);
  Select(Ctl().lstPath, 2);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageA(Ctl().lstPath, WM_KEYDOWN, 'C', 1);
  Pump(Form());
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(fake_.user.clipboard, (std::vector<std::string>{"C:\\P2"}));
}

TEST_F(EntryActions, EnterInAListOpensItsEntry) {
  OpenWith("C:\\P1;C:\\P2", "");
  SetFocus(Ctl().lstPath);
  Select(Ctl().lstPath, 1);
  PostMessageA(Ctl().lstPath, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(Ctl().lstPath, WM_KEYUP, VK_RETURN, 0xC0000001);
  Pump(Form());
  EXPECT_EQ(Started(), (std::vector<std::string>{"Explorer \"C:\\P1\""}));
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

TEST_F(EntryActions, ReportButtonsRunTheReportCommands) {
  fake_.files.AddFolder(fake_.identity.tempPath);
  OpenWith("C:\\A", "");
  fake_.user.saveAnswer.reset();  // the user cancels the Save As dialog
  SendMessageA(Ctl().cmdSave, BM_CLICK, 0, 0);
  Pump(Form());
  EXPECT_EQ(fake_.user.saveRequests.size(), 1u);
  SendMessageA(Ctl().cmdView, BM_CLICK, 0, 0);
  Pump(Form());
  for (const auto& box : fake_.user.messages) ADD_FAILURE() << box.text;
  ASSERT_EQ(fake_.user.started.size(), 1u);
  EXPECT_EQ(fake_.user.started[0].commandLine.rfind("Notepad.exe ", 0), 0u);
}

TEST_F(EntryActions, CloseEndsTheWindow) {
  OpenWith("C:\\A", "");
  const HWND window = Form().Handle();
  SendMessageA(Form().Ctl().cmdClose, BM_CLICK, 0, 0);
  Pump(Form());
  EXPECT_FALSE(Form().IsOpen());
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace window_tests
