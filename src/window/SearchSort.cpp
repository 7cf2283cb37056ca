// Tabs, search and sort.
#include <windows.h>
#include <commctrl.h>

#include "environment/AppInfo.h"
#include "text/Text.h"
#include "platform/Win32Platform.h"
#include "window/ListView.h"
#include "window/Texts.h"
#include "window/frmMain.h"
#include "window/resource.h"

namespace velmora::window {
namespace {

constexpr int kEnter = 13;

// Whether an entry passes the search: it holds the text, letter case aside.
// An empty text passes every entry that is not empty itself.
bool Passes(std::string_view entry, const std::string& upperText) {
  if (entry.empty()) return false;
  return text::UpperCase(entry).find(upperText) != std::string::npos;
}

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

void frmMain::TabStrip1_Click() {
  const auto tab = static_cast<int>(SendMessageA(ctl_.TabStrip1, TCM_GETCURSEL, 0, 0)) + 1;
  ShowWindow(ctl_.lstClasspath, tab == 2 ? SW_SHOW : SW_HIDE);
  ShowWindow(ctl_.lstPath, tab == 1 ? SW_SHOW : SW_HIDE);
  SetWindowTextA(ctl_.txtSearch, "");
}

void frmMain::txtSearch_KeyPress(int& keyAscii) {
  if (keyAscii != kEnter) return;
  imgSearch_Click();
  keyAscii = 0;
}

void frmMain::imgSearch_Click() {
  // The list the user sees is the one searched.
  const HWND list = ShownList();
  const int count = ListCount(list);
  // With nothing selected the search starts at the first item.
  const int selected = SelectedListItem(list);
  const std::string text = text::UpperCase(WindowText(ctl_.txtSearch));
  for (int step = 1; step <= count; ++step) {
    const int index = (selected + step) % count;
    if (Passes(ListItemText(list, index), text)) {
      SelectListItem(list, index);
      return;
    }
  }
  (void)os_.user.ShowMessage(platform::Utf8Text(LoadText(IDS_STRING_NOT_FOUND)),
                             environment::kTitle, platform::kMbOk | platform::kMbIconExclamation);
}

void frmMain::imgSort_Click() {
  if (IsListSorted(ctl_.lstPath)) {
    // Emptied before their setting changes: changing a list's style takes
    // time in proportion to its items. Each list keeps redrawing off only for
    // its own fill: a pause held across emptying and filling makes the list
    // work out its scroll bar anew when redrawing resumes, which costs more
    // under Wine than losing the bar and getting it back. Nothing shows in
    // between either way: painting waits for the message loop.
    ClearList(ctl_.lstPath);
    ClearList(ctl_.lstClasspath);
    SetListSorted(ctl_.lstPath, false);
    SetListSorted(ctl_.lstClasspath, false);
    SetSortPicture(kPictureSort);
    Form_Load();
  } else {
    SetListSorted(ctl_.lstPath, true);
    SetListSorted(ctl_.lstClasspath, true);
    SetSortPicture(kPictureSorted);
  }
}

HWND frmMain::ShownList() const {
  // The list's own setting, whether or not the window is on the screen.
  const bool pathShown = (GetWindowLongPtrA(ctl_.lstPath, GWL_STYLE) & WS_VISIBLE) != 0;
  return pathShown ? ctl_.lstPath : ctl_.lstClasspath;
}

}  // namespace velmora::window
