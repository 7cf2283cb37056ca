// Start-up: the caption, the user label and the two entry lists.
#include <string>
#include <string_view>
#include <vector>

#include "environment/AppInfo.h"
#include "environment/Identity.h"
#include "environment/Lookups.h"
#include "text/Text.h"
#include "platform/Failure.h"
#include "platform/Win32Platform.h"
#include "window/ListEntry.h"
#include "window/ListView.h"
#include "window/Owners.h"
#include "window/frmMain.h"

namespace velmora::window {

void AddListEntry(HWND list, bool isUser, std::initializer_list<std::string_view> texts) {
  if (texts.size() == 0) return;
  const int picture = isUser ? window::kPictureUser : window::kPictureSystem;
  const int index = listview::Append(list, *texts.begin(), picture - 1);
  if (index < 0) return;
  listview::SetChecked(list, index, true);
  int subItem = 1;
  for (auto text = texts.begin() + 1; text != texts.end(); ++text) {
    // The list keeps a sub-item's text only in a column of its own.
    listview::EnsureColumns(list, subItem + 1);
    listview::SetSubItemText(list, index, subItem++, *text);
  }
}

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

// Appends every piece of a search list to list, ticked, its mark given by
// isUser, as AddListEntry does for one; with redrawing off, room made for all
// of them at once, and the fewest messages a list of thousands can take.
template <class IsUser>
void FillList(HWND list, const std::vector<std::string_view>& pieces, IsUser isUser) {
  const RedrawPause pause(list);
  const int first = listview::Count(list);
  listview::Reserve(list, pieces.size());
  int key = first;
  for (const std::string_view piece : pieces) {
    const int picture = isUser(piece) ? kPictureUser : kPictureSystem;
    const int index = listview::Append(list, piece, picture - 1, key++);
    if (first != 0 && index >= 0) listview::SetChecked(list, index, true);
  }
  // Into an empty list, all the items are the new ones.
  if (first == 0) listview::SetAllChecked(list, true);
}

// Gives a window its text unless it shows that text already, as after a
// refill: the window's caption goes to the display server each time it is set.
void ShowText(HWND window, const std::string& text) {
  std::wstring shown(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  shown.resize(static_cast<std::size_t>(
      GetWindowTextW(window, shown.data(), static_cast<int>(shown.size()))));
  if (shown != platform::WideText(text)) SetWindowTextA(window, text.c_str());
}

}  // namespace

void frmMain::Form_Load() {
  ShowText(hwnd_, std::string(environment::kTitle) + " " + environment::VersionText());
  ShowText(ctl_.labUser, "User (" + environment::GetCurrentUserName(os_) + ")");
  RefitCaptions();

  // Answers still to come belong to the lists as they were.
  StopExistenceTests();
  // The user's key is read once, for both lists.
  const environment::VariableDictionary userValues = UserValuesOrEmpty();
  {
    const environment::ListMembers userPath(environment::GetUserVariable(userValues, "PATH"));
    const std::string value = os_.environment.Variable("path").value_or("");
    const std::vector<std::string_view> pieces = text::SplitSearchList(value);
    const int firstKey = listview::Count(ctl_.lstPath);
    FillList(ctl_.lstPath, pieces,
             [&](std::string_view piece) { return userPath.Contains(piece); });
    QueueJudgement(environment::SearchList::kPath, firstKey, value);
  }
  {
    // One mark for the whole list: the user has a CLASSPATH of their own
    // with something in it.
    const auto classpath = environment::GetUserVariable(userValues, "CLASSPATH");
    const bool isUser = classpath && !classpath->raw.empty();
    const std::string value = os_.environment.Variable("classpath").value_or("");
    const std::vector<std::string_view> pieces = text::SplitSearchList(value);
    const int firstKey = listview::Count(ctl_.lstClasspath);
    FillList(ctl_.lstClasspath, pieces, [&](std::string_view) { return isUser; });
    QueueJudgement(environment::SearchList::kClasspath, firstKey, value);
  }
  // The entries are judged and the file system asked (on another thread) once
  // both lists show, and the window with them: that work would otherwise
  // come before the showing or compete with it.
  PostMessageA(hwnd_, kMessageStartTests, static_cast<WPARAM>(fill_), 0);
}

void frmMain::Form_Activate() {
  SetFocus(ctl_.txtSearch);
}

}  // namespace velmora::window
