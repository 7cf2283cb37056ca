// The keyboard habits of the window, on top of what its controls do:
//   F3           finds the next entry with the search text
//   Ctrl+F       puts the focus into the search box
//   Apps key, Shift+F10   open the menu "Action" at a list's selected entry
//   F1 in a list  shows the words of the selected entry's mark beside it;
//                 Escape, another entry or the focus elsewhere hides them
//   Enter in a list goes to the list, ahead of the default button
// Ctrl+C and Enter in a list arrive as the list's own notifications. The
// lists' middle button and the mouse's way over them (for the rows' tips)
// are taken here too: the lists are not hooked.
#include "window/frmMain.h"

#include <windowsx.h>

namespace velmora::window {
namespace {

bool IsDown(int key) {
  return GetKeyState(key) < 0;
}

}  // namespace

bool frmMain::PreTranslateMessage(MSG& message) {
  if (hwnd_ == nullptr || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  const bool overList = message.hwnd == ctl_.lstPath || message.hwnd == ctl_.lstClasspath;
  if (overList) rowTips_.OnListMouse(hwnd_, message.hwnd, message);
  const auto key = static_cast<int>(message.wParam);
  const HWND focus = GetFocus();
  const bool inList = focus == ctl_.lstPath || focus == ctl_.lstClasspath;
  // Shift+F10 arrives as a system key when Alt's menu logic sees it first.
  const bool menuKey = inList && (key == VK_APPS || (key == VK_F10 && IsDown(VK_SHIFT)));
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (menuKey) {
        ShowActionMenuAtSelection(focus);
        return true;
      }
      if (message.message == WM_SYSKEYDOWN) return false;
      if (key == VK_F1 && inList) {
        rowTips_.ShowForSelection(hwnd_, focus);
        return true;
      }
      if (key == VK_ESCAPE && inList && rowTips_.HideKeyboardTip()) return true;
      if (key == VK_F3) {
        Trapped("imgSearch_Click", [&] { imgSearch_Click(); });
        return true;
      }
      if (key == VK_RETURN && inList) {
        // Enter belongs to the list, which reports it (NM_RETURN), rather
        // than to the dialog keys pressing the default button.
        TranslateMessage(&message);
        DispatchMessageA(&message);
        return true;
      }
      if (key == 'F' && IsDown(VK_CONTROL)) {
        SetFocus(ctl_.txtSearch);
        SendMessageA(ctl_.txtSearch, EM_SETSEL, 0, -1);
        return true;
      }
      return false;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // Their releases must not open the menu a second time, nor the menu bar.
      return menuKey;
    case WM_MBUTTONUP:
      // A list reports no middle button of its own; the list still gets it.
      if (overList) {
        OnListMiddleButtonUp(message.hwnd, GET_X_LPARAM(message.lParam),
                             GET_Y_LPARAM(message.lParam));
      }
      return false;
    default:
      return false;
  }
}

}  // namespace velmora::window
