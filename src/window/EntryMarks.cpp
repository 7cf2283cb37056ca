// Marks on the entries that cannot serve: an overlay picture and a line in
// the info tip of each such row, and each list's summary on its tab's tool
// tip. What is wrong with an entry is judged in the environment room
// (EntryChecks.h); the existence tests run on a thread of their own and post
// their answers here, so that the window neither waits for a slow network path
// nor touches the file system itself.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "text/Text.h"
#include "window/ListView.h"
#include "window/frmMain.h"

namespace velmora::window {
namespace {

using environment::EntryMark;
using environment::SearchList;

constexpr SearchList kLists[] = {SearchList::kPath, SearchList::kClasspath};
constexpr int kTabCount = 2;

// An entry's list and key in one number, and the answer beside them.
std::uint64_t QuestionKey(SearchList kind, std::size_t key) {
  return std::uint64_t{key} * 2 + (kind == SearchList::kClasspath ? 1 : 0);
}

LPARAM AnswerParam(std::uint64_t question, bool found) {
  return static_cast<LPARAM>(question * 2 + (found ? 1 : 0));
}

std::wstring Wide(const std::string& text) {
  const std::u16string units = text::Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

// Puts a mark into an info tip. Where the row shows its text cut short, the
// list hands that text in and the mark follows it on a line of its own;
// where the row shows it whole, the mark stands alone.
template <class Tip, class Char>
void PutIntoTip(Tip& tip, const std::basic_string<Char>& mark) {
  if (mark.empty() || tip.pszText == nullptr || tip.cchTextMax <= 0) return;
  std::basic_string<Char> text;
  if ((tip.dwFlags & LVGIT_UNFOLDED) == 0 && tip.pszText[0] != 0) {
    text = tip.pszText;
    text += static_cast<Char>('\r');
    text += static_cast<Char>('\n');
  }
  text += mark;
  text.resize(std::min(text.size(), static_cast<std::size_t>(tip.cchTextMax - 1)));
  std::copy(text.begin(), text.end(), tip.pszText);
  tip.pszText[text.size()] = 0;
}

}  // namespace

HWND frmMain::ListOf(SearchList kind) const {
  return kind == SearchList::kPath ? ctl_.lstPath : ctl_.lstClasspath;
}

frmMain::ListMarks& frmMain::MarksOf(SearchList kind) {
  return kind == SearchList::kPath ? pathMarks_ : classpathMarks_;
}

const frmMain::ListMarks& frmMain::MarksOf(SearchList kind) const {
  return kind == SearchList::kPath ? pathMarks_ : classpathMarks_;
}

void frmMain::StopExistenceTests() {
  if (sweep_) sweep_->Stop();
  sweep_.reset();
  ++fill_;
}

void frmMain::JudgeList(SearchList kind, int firstKey, const std::vector<std::string_view>& entries,
                        const std::string& value) {
  ListMarks& marks = MarksOf(kind);
  std::vector<environment::EntryJudgement> judged =
      environment::JudgeEntries(kind, entries, os_.environment);
  marks.byKey.resize(static_cast<std::size_t>(std::max(firstKey, 0)));
  marks.byKey.insert(marks.byKey.end(), std::make_move_iterator(judged.begin()),
                     std::make_move_iterator(judged.end()));
  marks.characters = text::Utf8ToUtf16(value).size();
  for (std::size_t key = static_cast<std::size_t>(std::max(firstKey, 0)); key < marks.byKey.size();
       ++key) {
    if (marks.byKey[key].mark != EntryMark::kNone) ShowMark(kind, key);
  }
}

void frmMain::QueueJudgement(SearchList kind, int firstKey, std::string value) {
  // The entries from firstKey on are new: what was judged or waiting for
  // them belonged to entries since emptied out of the list.
  MarksOf(kind).byKey.resize(static_cast<std::size_t>(std::max(firstKey, 0)));
  std::erase_if(pendingFills_, [&](const PendingFill& pending) {
    return pending.kind == kind && pending.firstKey >= firstKey;
  });
  pendingFills_.push_back({kind, firstKey, std::move(value)});
}

void frmMain::OnStartTests(WPARAM fill) {
  // Only for the last fill: an earlier one's message finds its entries
  // judged with it.
  if (fill != static_cast<WPARAM>(fill_)) return;
  for (const PendingFill& pending : std::exchange(pendingFills_, {})) {
    JudgeList(pending.kind, pending.firstKey, text::SplitSearchList(pending.value), pending.value);
  }
  StartExistenceTests();
}

void frmMain::StartExistenceTests() {
  std::vector<environment::ExistenceQuestion> questions;
  for (const SearchList kind : kLists) {
    const auto& byKey = MarksOf(kind).byKey;
    for (std::size_t key = 0; key < byKey.size(); ++key) {
      if (!byKey[key].awaitingTest) continue;
      questions.push_back({QuestionKey(kind, key), byKey[key].place, byKey[key].wanted});
    }
  }
  if (questions.empty()) return;
  // The report holds nothing of the window's but its handle, and stops
  // posting before the window goes.
  const HWND target = hwnd_;
  const WPARAM fill = fill_;
  sweep_ = environment::ExistenceSweep::Start(
      os_.sharedFiles, std::move(questions), [target, fill](std::uint64_t question, bool found) {
        PostMessageA(target, kMessageEntryTested, fill, AnswerParam(question, found));
      });
}

void frmMain::OnEntryTested(WPARAM fill, LPARAM answer) {
  if (fill != static_cast<WPARAM>(fill_)) return;  // an answer for an earlier fill
  const auto bits = static_cast<std::uint64_t>(answer);
  const SearchList kind = ((bits >> 1) & 1) != 0 ? SearchList::kClasspath : SearchList::kPath;
  const auto key = static_cast<std::size_t>(bits >> 2);
  auto& byKey = MarksOf(kind).byKey;
  if (key >= byKey.size()) return;
  environment::TakeAnswer(byKey[key], (bits & 1) != 0);
  if (byKey[key].mark != EntryMark::kNone) ShowMark(kind, key);
}

void frmMain::ShowMark(SearchList kind, std::size_t key) {
  const HWND list = ListOf(kind);
  const int index = listview::FindKey(list, static_cast<LPARAM>(key), static_cast<int>(key));
  if (index < 0) return;
  listview::SetOverlay(list, index, static_cast<int>(MarksOf(kind).byKey[key].mark));
}

std::string frmMain::EntryTip(HWND list, int index) const {
  const SearchList kind = list == ctl_.lstPath ? SearchList::kPath : SearchList::kClasspath;
  const LPARAM key = listview::Key(list, index);
  const auto& byKey = MarksOf(kind).byKey;
  if (key < 0 || static_cast<std::size_t>(key) >= byKey.size()) return {};
  return environment::MarkText(kind, byKey[static_cast<std::size_t>(key)]);
}

void frmMain::OnGetInfoTip(HWND list, NMHDR& header) {
  if (header.code == LVN_GETINFOTIPA) {
    auto& tip = reinterpret_cast<NMLVGETINFOTIPA&>(header);
    PutIntoTip(tip, EntryTip(list, tip.iItem));
  } else if (header.code == LVN_GETINFOTIPW) {
    auto& tip = reinterpret_cast<NMLVGETINFOTIPW&>(header);
    PutIntoTip(tip, Wide(EntryTip(list, tip.iItem)));
  }
}

std::string frmMain::TabSummary(int tab) const {
  const SearchList kind = tab == 2 ? SearchList::kClasspath : SearchList::kPath;
  const ListMarks& marks = MarksOf(kind);
  return environment::ListSummary(kind, marks.byKey, marks.characters);
}

void frmMain::CreateTabTips() {
  // Owned by the window, and so destroyed with it. Without it the tabs
  // simply have no tips: nothing else depends on them.
  tabTipsTried_ = true;
  ctl_.TabStrip1Tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                       WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
  if (ctl_.TabStrip1Tips == nullptr) return;
  // One tool per tab header, its text asked for when it shows.
  for (int tab = 0; tab < kTabCount; ++tab) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = 0;  // the tab strip's hook relays the mouse to it
    tool.hwnd = ctl_.TabStrip1;
    tool.uId = static_cast<UINT_PTR>(tab);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(ctl_.TabStrip1Tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void frmMain::RelayToTabTips(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      break;
    default:
      return;
  }
  // Made when the mouse first comes to the tabs rather than at start-up.
  if (!tabTipsTried_) CreateTabTips();
  if (ctl_.TabStrip1Tips == nullptr) return;
  // The headers are placed anew before the tool tip sees where the mouse is.
  if (message == WM_MOUSEMOVE) PlaceTabTips();
  MSG relayed{};
  relayed.hwnd = ctl_.TabStrip1;
  relayed.message = message;
  relayed.wParam = wParam;
  relayed.lParam = lParam;
  relayed.time = static_cast<DWORD>(GetMessageTime());
  SendMessageA(ctl_.TabStrip1Tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void frmMain::PlaceTabTips() {
  for (int tab = 0; tab < kTabCount; ++tab) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = ctl_.TabStrip1;
    tool.uId = static_cast<UINT_PTR>(tab);
    if (!SendMessageA(ctl_.TabStrip1, TCM_GETITEMRECT, static_cast<WPARAM>(tab),
                      reinterpret_cast<LPARAM>(&tool.rect))) {
      continue;
    }
    SendMessageA(ctl_.TabStrip1Tips, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void frmMain::OnTabTip(NMHDR& header) {
  // The text must outlive the notification: the tool tip reads it afterwards.
  tabTip_ = TabSummary(static_cast<int>(header.idFrom) + 1);
  if (header.code == TTN_GETDISPINFOA) {
    auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
    info.hinst = nullptr;
    info.lpszText = tabTip_.data();
  } else {
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    tabTipWide_ = Wide(tabTip_);
    info.hinst = nullptr;
    info.lpszText = tabTipWide_.data();
  }
}

}  // namespace velmora::window
