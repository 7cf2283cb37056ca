// Start-up: the caption, the user label and the two entry lists.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "environment/AppInfo.h"
#include "environment/Identity.h"
#include "environment/Lookups.h"
#include "text/Text.h"
#include "platform/Failure.h"
#include "platform/Win32Platform.h"
#include "window/ListView.h"
#include "window/Owners.h"
#include "window/Texts.h"
#include "window/frmMain.h"
#include "window/resource.h"

namespace velmora::window {

// A user key that cannot be read (two stored names that are one once
// upper-cased) counts as empty: its entries show as system entries and the
// program starts as usual.
environment::VariableDictionary frmMain::UserValuesOrEmpty() const {
  try {
    return environment::ReadUserValues(os_);
  } catch (const platform::Failure&) {
    return {};
  }
}

namespace {

// The one way entries get into the lists: appends every piece of a search
// list to list, ticked, its picture given by isUser (2 for a user entry, 1
// for a system entry); with redrawing off, room made for all of them at once,
// and the fewest messages a list of thousands can take.
template <class IsUser>
void FillList(HWND list, const std::vector<std::string_view>& pieces, IsUser isUser) {
  const RedrawPause pause(list);
  const int first = ListCount(list);
  ReserveListItems(list, pieces.size());
  int key = first;
  for (const std::string_view piece : pieces) {
    const int picture = isUser(piece) ? kPictureUser : kPictureSystem;
    const int index = AppendListItem(list, piece, picture - 1, key++);
    if (first != 0 && index >= 0) SetListItemChecked(list, index, true);
  }
  // Into an empty list, all the items are the new ones.
  if (first == 0) SetListItemChecked(list, -1, true);
}

// Gives a window its text unless it shows that text already, as after a
// refill: the window's caption goes to the display server each time it is set.
void ShowText(HWND window, const std::wstring& text) {
  std::wstring shown(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  shown.resize(static_cast<std::size_t>(
      GetWindowTextW(window, shown.data(), static_cast<int>(shown.size()))));
  if (shown != text) SetWindowTextW(window, text.c_str());
}

}  // namespace

void frmMain::Form_Load() {
  ShowText(hwnd_,
           platform::WideText(std::string(environment::kTitle) + " " + environment::VersionText()));
  ShowText(ctl_.labUser,
           LoadText(IDS_USER_LABEL, {platform::WideText(environment::GetCurrentUserName(os_))}));
  RefitCaptions();

  // Answers still to come belong to the lists as they were.
  marks_.Stop();
  // The user's key is read once, for both lists.
  environment::VariableDictionary userValues = UserValuesOrEmpty();
  {
    const environment::ListMembers userPath(environment::GetUserVariable(userValues, "PATH"));
    const std::string value = os_.environment.Variable("path").value_or("");
    const std::vector<std::string_view> pieces = text::SplitSearchList(value);
    const int firstKey = ListCount(ctl_.lstPath);
    FillList(ctl_.lstPath, pieces,
             [&](std::string_view piece) { return userPath.Contains(piece); });
    marks_.Queue(environment::SearchList::kPath, firstKey, value);
  }
  {
    // One mark for the whole list: the user has a CLASSPATH of their own
    // with something in it.
    const auto classpath = environment::GetUserVariable(userValues, "CLASSPATH");
    const bool isUser = classpath && !classpath->raw.empty();
    const std::string value = os_.environment.Variable("classpath").value_or("");
    const std::vector<std::string_view> pieces = text::SplitSearchList(value);
    const int firstKey = ListCount(ctl_.lstClasspath);
    FillList(ctl_.lstClasspath, pieces, [&](std::string_view) { return isUser; });
    marks_.Queue(environment::SearchList::kClasspath, firstKey, value);
  }
  // The entries are judged and the file system asked (on another thread) once
  // both lists show, and the window with them.
  marks_.PostStart(std::move(userValues));
}

void frmMain::Form_Activate() {
  SetFocus(ctl_.txtSearch);
}

}  // namespace velmora::window
