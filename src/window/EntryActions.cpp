// What can be done with an entry: open it in the Explorer, copy it, and the
// popup menu "Action" that offers both.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "environment/Identity.h"
#include "window/Layout.h"
#include "window/ListView.h"
#include "window/frmMain.h"

namespace velmora::window {

// The Explorer's command line for an entry. The entry goes in quotes, so that
// a comma (the Explorer's own switch separator) or a blank cannot cut it; a
// quote inside an entry cannot be part of a path and is left out. An empty
// entry gives "Explorer " and nothing more. An entry that names a file opens
// its folder with the file selected: given the file itself, the Explorer
// would open it with its handler, which for a program means running it. The
// test is made on the path the Explorer will be given, quotes left out.
std::string ExplorerCommandLine(platform::FileSystemApi& files, std::string_view entry) {
  std::string line = "Explorer ";
  if (entry.empty()) return line;
  std::string path;
  for (const char c : entry) {
    if (c != '"') path += c;
  }
  const std::uint32_t attributes = files.FileAttributes(path);
  if (attributes != platform::kInvalidFileAttributes &&
      (attributes & platform::kFileAttributeDirectory) == 0) {
    line += "/select,";
  }
  return line + '"' + path + '"';
}

void frmMain::OpenEntry(HWND list) {
  // Nothing selected, nothing to open.
  const int selected = SelectedListItem(list);
  if (selected < 0) return;
  os_.user.StartProgram(environment::GetExplorerPath(os_),
                        ExplorerCommandLine(os_.files, ListItemText(list, selected)),
                        platform::kSwShowNoActivate);
}

void frmMain::lstPath_DblClick() {
  OpenEntry(ctl_.lstPath);
}

void frmMain::lstClasspath_DblClick() {
  OpenEntry(ctl_.lstClasspath);
}

void frmMain::ListMouseUp(HWND, int button, float x, float y) {
  if ((button & kButtonRight) == 0) return;
  // x and y are the list's; the menu opens at that point taken in the
  // window's client area, lowered by the lists' top.
  ShowActionMenu(POINT{Px(x), Px(y + kMenuOffset)});
}

void frmMain::lstPath_MouseUp(int button, int, float x, float y) {
  ListMouseUp(ctl_.lstPath, button, x, y);
}

void frmMain::lstClasspath_MouseUp(int button, int, float x, float y) {
  ListMouseUp(ctl_.lstClasspath, button, x, y);
}

void frmMain::ShowActionMenu(POINT client) {
  ClientToScreen(hwnd_, &client);
  TrackPopupMenu(GetSubMenu(mnuAction_.get(), 0), 0, client.x, client.y, 0, hwnd_, nullptr);
}

void frmMain::ShowActionMenuAtSelection(HWND list) {
  // Below the selected item's text, or at the list's corner when none is.
  POINT point{0, 0};
  const int selected = SelectedListItem(list);
  RECT item{};
  item.left = LVIR_LABEL;
  if (selected >= 0 && SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(selected),
                                    reinterpret_cast<LPARAM>(&item))) {
    point = POINT{item.left, item.bottom};
  }
  MapWindowPoints(list, hwnd_, &point, 1);
  ShowActionMenu(point);
}

void frmMain::mnuCopy_Click(int) {
  const HWND list = ShownList();
  const int selected = SelectedListItem(list);
  if (selected < 0) return;
  os_.user.PutClipboardText(ListItemText(list, selected));
}

void frmMain::mnuOpen_Click(int) {
  if (ShownList() == ctl_.lstPath) {
    lstPath_DblClick();
  } else {
    lstClasspath_DblClick();
  }
}

void frmMain::cmdClose_Click() {
  DestroyWindow(hwnd_);
}

}  // namespace velmora::window
