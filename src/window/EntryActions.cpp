// What can be done with an entry: open it in the Explorer, copy it, and the
// popup menu "Action" that offers both.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "environment/EntryChecks.h"
#include "environment/Identity.h"
#include "window/Layout.h"
#include "window/ListView.h"
#include "window/frmMain.h"

namespace velmora::window {
namespace {

// The path the Explorer is given for an entry: the entry without its quotes,
// which cannot be part of a path.
std::string ExplorerTarget(std::string_view entry) {
  std::string path;
  std::ranges::copy_if(entry, std::back_inserter(path), [](char c) { return c != '"'; });
  return path;
}

// The Explorer's command line for an entry. The path goes in quotes, so that
// a comma (the Explorer's own switch separator) or a blank cannot cut it. An
// empty entry gives "Explorer " and nothing more. An entry that names a file
// opens its folder with the file selected: given the file itself, the
// Explorer would open it with its handler, which for a program means running
// it.
std::string ExplorerCommandLine(std::string_view entry, bool namesFile) {
  if (entry.empty()) return "Explorer ";
  return std::string("Explorer ") + (namesFile ? "/select," : "") + '"' + ExplorerTarget(entry) +
         '"';
}

}  // namespace

void frmMain::OpenEntry(HWND list) {
  // Nothing selected, nothing to open.
  const int selected = SelectedListItem(list);
  if (selected < 0) return;
  Opening opening{++openingsAsked_, list == ctl_.lstPath, environment::GetExplorerPath(os_),
                  ListItemText(list, selected), nullptr};
  if (opening.entry.empty()) {
    StartExplorer(opening, false);
    return;
  }
  // Whether the entry names a file is a question to the file system, which
  // for a path on a server that does not answer takes as long as the network
  // takes: it is asked on a thread of its own, and the Explorer started when
  // the answer comes (OnOpeningAnswered).
  const HWND target = hwnd_;
  opening.question = environment::ExistenceSweep::Start(
      os_.sharedFiles,
      {{opening.number, ExplorerTarget(opening.entry), environment::Wanted::kFile}}, {},
      {[target](std::uint64_t number, bool namesFile) {
         PostMessageA(target, kMessageOpeningAnswered, static_cast<WPARAM>(number), namesFile);
       },
       [] {}});
  if (!opening.question) {
    // Without a thread (none to be had, or no file system to share with one)
    // it is asked here: a file must never reach the Explorer unselected.
    StartExplorer(opening, environment::NamesWhatIsWanted(os_.files, ExplorerTarget(opening.entry),
                                                          environment::Wanted::kFile));
    return;
  }
  openings_.push_back(std::move(opening));
}

void frmMain::OnOpeningAnswered(WPARAM number, LPARAM namesFile) {
  const auto found = std::ranges::find(openings_, number, [](const Opening& opening) {
    return static_cast<WPARAM>(opening.number);
  });
  if (found == openings_.end()) return;
  const Opening opening = std::move(*found);
  openings_.erase(found);
  Trapped(opening.fromPath ? "lstPath_DblClick" : "lstClasspath_DblClick",
          [&] { StartExplorer(opening, namesFile != 0); });
}

void frmMain::StartExplorer(const Opening& opening, bool namesFile) {
  os_.user.StartProgram(opening.application, ExplorerCommandLine(opening.entry, namesFile),
                        platform::kSwShowNoActivate);
}

void frmMain::StopOpenings() {
  // A question still under way ends on its own, unheard.
  for (Opening& opening : openings_) opening.question->Stop();
  openings_.clear();
}

void frmMain::lstPath_DblClick() {
  OpenEntry(ctl_.lstPath);
}

void frmMain::lstClasspath_DblClick() {
  OpenEntry(ctl_.lstClasspath);
}

void frmMain::ListMouseUp(int button, float x, float y) {
  if ((button & kButtonRight) == 0) return;
  // x and y are the list's; the menu opens at that point taken in the
  // window's client area, lowered by the lists' top.
  ShowActionMenu(POINT{Px(x), Px(y + kMenuOffset)});
}

void frmMain::lstPath_MouseUp(int button, float x, float y) {
  ListMouseUp(button, x, y);
}

void frmMain::lstClasspath_MouseUp(int button, float x, float y) {
  ListMouseUp(button, x, y);
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

void frmMain::mnuCopy_Click() {
  const HWND list = ShownList();
  const int selected = SelectedListItem(list);
  if (selected < 0) return;
  os_.user.PutClipboardText(ListItemText(list, selected));
}

void frmMain::mnuOpen_Click() {
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
