// The window object, its window procedure and the dispatch of messages to the
// typed handlers.
#include "window/frmMain.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <utility>

#include "environment/AppInfo.h"
#include "environment/ErrorReport.h"
#include "platform/Failure.h"
#include "platform/Win32Platform.h"
#include "report/ReportCommands.h"
#include "window/Layout.h"
#include "window/resource.h"

namespace velmora::window {
namespace {

constexpr const char* kClassName = "Velmora.frmMain";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, kClassName, &existing)) return;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  // No class icons: the window sets its own for its DPI as it is created,
  // and icons it would replace at once cost their drawing for nothing.
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExA(&windowClass)) throw platform::Win32Failure(GetLastError());
}

}  // namespace

frmMain::frmMain(const platform::Platform& os)
    : os_(os), marks_(os), tabTips_(marks_), rowTips_(marks_), accessibleWords_(marks_) {}

frmMain::~frmMain() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void frmMain::Create(HINSTANCE instance, int showCommand) {
  RegisterWindowClass(instance, &frmMain::WindowProc);
  LoadActionMenu();
  // The caption is the title until Form_Load adds the version.
  // Sized for the design client area at the system's DPI, so that it need
  // not be resized once its controls stand (OnCreate corrects the size where
  // the window's DPI or frame turn out otherwise).
  const UINT dpi = GetDpiForSystem();
  RECT outer{0, 0, TwipsToPixels(kDesignClientWidth, dpi), TwipsToPixels(kDesignClientHeight, dpi)};
  AdjustWindowRectExForDpi(&outer, kStyle, FALSE, kExStyle, dpi);
  const HWND created = CreateWindowExA(kExStyle, kClassName, environment::kTitle, kStyle,
                                       CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                       outer.bottom - outer.top, nullptr, nullptr, instance, this);
  if (created == nullptr) {
    // A failure of our own while the window was being built says why; the
    // system's last error would name something unrelated.
    if (createFailure_) std::rethrow_exception(std::exchange(createFailure_, nullptr));
    const DWORD error = GetLastError();
    throw platform::Failure(
        static_cast<std::int32_t>(error),
        "The window could not be created (" + platform::SystemMessage(error) + ")");
  }
  // Laid out while the lists are still empty: resizing a list of thousands of
  // items takes tens of milliseconds under Wine.
  OpenAtDesignSize();
  const int captionsExtra = fit_.extraClientWidth;
  Form_Load();
  // A long user name may have widened the legend, and the window with it.
  if (fit_.extraClientWidth != captionsExtra) OpenAtDesignSize();
  ShowWindow(hwnd_, showCommand);
  marks_.Prepare();
  UpdateWindow(hwnd_);
  accessibleWords_.StartIfReaderRuns(ctl_.lstPath, ctl_.lstClasspath);
}

LRESULT CALLBACK frmMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  // Handlers trap their own failures; what still arrives here is shown too,
  // and never crosses into the system's code.
  LRESULT result = 0;
  try {
    if (environment::Trapped(self->os_, "frmMain", "WindowProc",
                             [&] { result = self->HandleMessage(message, wParam, lParam); })) {
      return result;
    }
  } catch (...) {
    // Not even the error box could be shown.
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreateMessage();
    case WM_SIZE:
      Form_Resize();
      return 0;
    case WM_MOVE:
      // The keyboard's tip stands beside its row, not where the row was.
      rowTips_.HideKeyboardTip();
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
        Form_Activate();
        return 0;
      }
      break;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam),
                    POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(OnGetDefId(), DC_HASDEFID);
    case kMessageStartTests:
      marks_.OnStartTests(wParam);
      return 0;
    case kMessageEntryTested:
      marks_.OnEntryTested(wParam);
      return 0;
    case kMessageProgramsResolved:
      marks_.OnProgramsResolved(wParam);
      return 0;
    case WM_TIMER:
      if (wParam != kTimerSweepWatch) break;
      marks_.OnSweepWatchTimer();
      return 0;
    case kMessageOpeningAnswered:
      OnOpeningAnswered(wParam, lParam);
      return 0;
    case WM_SETTINGCHANGE:
      // A screen reader that starts now says so.
      if (wParam == SPI_SETSCREENREADER) {
        accessibleWords_.StartIfReaderRuns(ctl_.lstPath, ctl_.lstClasspath);
      }
      break;
    case WM_DESTROY:
      accessibleWords_.Stop();  // while the lists stand
      break;
    case WM_NCDESTROY:
      OnNcDestroy();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT frmMain::OnCreateMessage() {
  try {
    OnCreate();
    return 0;
  } catch (...) {
    createFailure_ = std::current_exception();
    return -1;  // CreateWindowExA fails, and Create passes the failure on
  }
}

int frmMain::OnGetDefId() const {
  // Enter presses the focused button, else the default button "View Report".
  const HWND focus = GetFocus();
  const bool onButton = focus == ctl_.cmdSave || focus == ctl_.cmdView || focus == ctl_.cmdClose;
  return onButton ? GetDlgCtrlID(focus) : IDC_CMDVIEW;
}

void frmMain::OnCommand(int id, int code) {
  switch (id) {
    case IDC_CMDSAVE:
      if (code == BN_CLICKED) cmdSave_Click();
      break;
    case IDC_CMDVIEW:
      if (code == BN_CLICKED) cmdView_Click();
      break;
    case IDC_CMDCLOSE:
      if (code == BN_CLICKED) cmdClose_Click();
      break;
    case IDC_IMGSEARCH:
      // A quick second click counts as a click of its own, as on a button.
      if (code == STN_CLICKED || code == STN_DBLCLK) {
        Trapped("imgSearch_Click", [&] { imgSearch_Click(); });
      }
      break;
    case IDC_IMGSORT:
      if (code == STN_CLICKED || code == STN_DBLCLK) {
        Trapped("imgSort_Click", [&] { imgSort_Click(); });
      }
      break;
    case IDM_MNUCOPY:
      Trapped("mnuCopy_Click", [&] { mnuCopy_Click(); });
      break;
    case IDM_MNUOPEN:
      Trapped("mnuOpen_Click", [&] { mnuOpen_Click(); });
      break;
    default:
      break;
  }
}

LRESULT frmMain::OnNotify(const NMHDR& header) {
  const bool isPath = header.hwndFrom == ctl_.lstPath;
  const bool isList = isPath || header.hwndFrom == ctl_.lstClasspath;
  if (header.hwndFrom == ctl_.TabStrip1 && header.code == TCN_SELCHANGE) {
    rowTips_.HideKeyboardTip();
    Trapped("TabStrip1_Click", [&] { TabStrip1_Click(); });
    return 0;
  }
  if (!isList) return 0;
  switch (header.code) {
    case NM_DBLCLK:
    case NM_RETURN:
      Trapped(isPath ? "lstPath_DblClick" : "lstClasspath_DblClick",
              [&] { isPath ? lstPath_DblClick() : lstClasspath_DblClick(); });
      return 0;
    case NM_CLICK:
    case NM_RCLICK: {
      // The list reports the release of the button where it happened.
      const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
      const int button = header.code == NM_RCLICK ? kButtonRight : kButtonLeft;
      const float x = PixelsToTwips(activate.ptAction.x, dpi_);
      const float y = PixelsToTwips(activate.ptAction.y, dpi_);
      Trapped(isPath ? "lstPath_MouseUp" : "lstClasspath_MouseUp",
              [&] { isPath ? lstPath_MouseUp(button, x, y) : lstClasspath_MouseUp(button, x, y); });
      return header.code == NM_RCLICK ? TRUE : 0;  // no second menu from WM_CONTEXTMENU
    }
    case LVN_GETINFOTIPA:
    case LVN_GETINFOTIPW:
      // The list hands in a buffer to fill: the notification is ours to write.
      // It shows the words itself, and the window's own tips step aside.
      rowTips_.ListShowsItsOwn();
      marks_.OnGetInfoTip(const_cast<NMHDR&>(header));
      return 0;
    case LVN_ITEMCHANGED: {
      // The keyboard's tip speaks of the selected row: another one hides it.
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) != 0 &&
          ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0) {
        rowTips_.HideKeyboardTip();
      }
      return 0;
    }
    case NM_KILLFOCUS:
      rowTips_.HideKeyboardTip();
      return 0;
    case LVN_DELETEALLITEMS:
      // Nothing here follows single items: the list need not report each.
      return TRUE;
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
      if (key.wVKey == 'C' && GetKeyState(VK_CONTROL) < 0) {
        Trapped("mnuCopy_Click", [&] { mnuCopy_Click(); });
      }
      return 0;
    }
    default:
      return 0;
  }
}

void frmMain::OnContextMenu(HWND source, POINT screen) {
  // Mouse releases reach the menu through MouseUp; only the keyboard's
  // context-menu request arrives here.
  if (screen.x != -1 || screen.y != -1) return;
  if (source == ctl_.lstPath || source == ctl_.lstClasspath) ShowActionMenuAtSelection(source);
}

void frmMain::OnNcDestroy() {
  // A test still under way ends on its own, unheard.
  marks_.Stop();
  StopOpenings();
  tabTips_.Forget();
  rowTips_.Forget();
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  ctl_ = Controls{};
  // Wakes the message loop, which ends once the window is gone.
  PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

// Subclassed through the window procedure itself rather than SetWindowSubclass:
// that one keeps its chain in a window property, and reading a property is a
// trip to the Wine server on every message a list receives.
void frmMain::Subclass(HWND control, ControlHook& hook) {
  hook.form = this;
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&hook));
  hook.original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmMain::ControlProc)));
}

LRESULT frmMain::PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* hook =
      reinterpret_cast<const ControlHook*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  return CallWindowProcW(hook->original, control, message, wParam, lParam);
}

LRESULT CALLBACK frmMain::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* hook = reinterpret_cast<const ControlHook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  try {
    if (environment::Trapped(hook->form->os_, "frmMain", "ControlProc", [&] {
          result = hook->form->HandleControlMessage(hwnd, message, wParam, lParam);
        })) {
      return result;
    }
  } catch (...) {
    // Not even the error box could be shown.
  }
  return CallWindowProcW(hook->original, hwnd, message, wParam, lParam);
}

LRESULT frmMain::HandleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  // The frames hold controls of their own and pass their reports on.
  if (control == ctl_.Frame1 || control == ctl_.Frame2) {
    if (message == WM_COMMAND || message == WM_NOTIFY) {
      return SendMessageA(hwnd_, message, wParam, lParam);
    }
  }
  if (control == ctl_.TabStrip1) {
    tabTips_.Relay(hwnd_, control, message, wParam, lParam);
    if (message == WM_NOTIFY && tabTips_.OnNotify(*reinterpret_cast<NMHDR*>(lParam))) return 0;
  }
  switch (message) {
    case WM_GETDLGCODE: {
      const LRESULT code = PassOn(control, message, wParam, lParam);
      const bool enter = lParam != 0 &&
                         reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
                         reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN;
      return OnGetDlgCode(control, enter, code);
    }
    case WM_CHAR:
      if (control != ctl_.txtSearch) break;
      if (const int keyAscii = OnSearchChar(static_cast<int>(wParam)); keyAscii == 0) {
        return 0;
      } else {
        wParam = static_cast<WPARAM>(keyAscii);
      }
      break;
    default:
      break;
  }
  return PassOn(control, message, wParam, lParam);
}

LRESULT frmMain::OnGetDlgCode(HWND control, bool enter, LRESULT code) const {
  // Enter belongs to the search box, not to the default button (the lists'
  // Enter is taken in PreTranslateMessage).
  return enter && control == ctl_.txtSearch ? code | DLGC_WANTALLKEYS : code;
}

int frmMain::OnSearchChar(int keyAscii) {
  Trapped("txtSearch_KeyPress", [&] { txtSearch_KeyPress(keyAscii); });
  return keyAscii;
}

void frmMain::OnListMiddleButtonUp(HWND list, int x, int y) {
  const float xTwips = PixelsToTwips(x, dpi_);
  const float yTwips = PixelsToTwips(y, dpi_);
  const bool isPath = list == ctl_.lstPath;
  Trapped(isPath ? "lstPath_MouseUp" : "lstClasspath_MouseUp", [&] {
    isPath ? lstPath_MouseUp(kButtonMiddle, xTwips, yTwips)
           : lstClasspath_MouseUp(kButtonMiddle, xTwips, yTwips);
  });
}

void frmMain::cmdSave_Click() {
  report::cmdSave_Click(os_);
}

void frmMain::cmdView_Click() {
  report::cmdView_Click(os_);
}

void DeliverMessage(frmMain& form, MSG& message) {
  if (form.PreTranslateMessage(message)) return;
  if (form.IsOpen() && IsDialogMessageA(form.Handle(), &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

int RunMessageLoop(frmMain& form) {
  MSG message{};
  while (form.IsOpen() && GetMessageA(&message, nullptr, 0, 0) > 0) {
    DeliverMessage(form, message);
  }
  return 0;
}

}  // namespace velmora::window
