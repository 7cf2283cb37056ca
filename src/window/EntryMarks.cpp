#include "window/EntryMarks.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "environment/Lookups.h"
#include "platform/Win32Platform.h"
#include "text/Text.h"
#include "window/ListView.h"
#include "window/MarkWords.h"
#include "window/Texts.h"
#include "window/resource.h"

namespace velmora::window {
namespace {

using environment::EntryMark;
using environment::SearchList;

constexpr SearchList kLists[] = {SearchList::kPath, SearchList::kClasspath};

// An entry's list and key in one number, and the answer beside them.
std::uint64_t QuestionKey(SearchList kind, std::size_t key) {
  return std::uint64_t{key} * 2 + (kind == SearchList::kClasspath ? 1 : 0);
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

std::wstring Count(std::size_t number) {
  return platform::WideText(environment::WithThousands(number));
}

// The lengths the platform documents for a variable such as PATH; a list's
// summary names each one its variable passes.
struct LengthLimit {
  std::size_t characters;
  UINT words;  // who holds no more, in the string table
};
constexpr LengthLimit kLengthLimits[] = {
    // SetEnvironmentVariable (Microsoft Learn): "The maximum size of a
    // user-defined environment variable is 32,767 characters."
    {environment::kVariableLimit, IDS_LIMIT_VARIABLE},
    // "Command prompt (Cmd.exe) command-line string limitation" (Microsoft
    // Learn, KB830473): a command prompt takes strings of at most 8,191
    // characters, and this holds for "individual environment variables that
    // are inherited by other processes, such as the PATH variable" and for
    // every expansion of a variable.
    {8191, IDS_LIMIT_COMMAND_PROMPT},
};

}  // namespace

void EntryMarks::Attach(HWND window, HWND pathList, HWND classpathList) {
  window_ = window;
  pathList_ = pathList;
  classpathList_ = classpathList;
}

HWND EntryMarks::ListOf(SearchList kind) const {
  return kind == SearchList::kPath ? pathList_ : classpathList_;
}

EntryMarks::ListMarks& EntryMarks::MarksOf(SearchList kind) {
  return kind == SearchList::kPath ? path_ : classpath_;
}

const EntryMarks::ListMarks& EntryMarks::MarksOf(SearchList kind) const {
  return kind == SearchList::kPath ? path_ : classpath_;
}

void EntryMarks::Stop() {
  if (sweep_) {
    sweep_->Stop();
    KillTimer(window_, kTimerSweepWatch);
  }
  sweep_.reset();
  inbox_.reset();
  programsAwaited_ = false;
  ++fill_;
}

bool EntryMarks::Settled() const {
  if (!pending_.empty() || programsAwaited_) return false;
  return environment::CountMarks(path_.byKey).unchecked == 0 &&
         environment::CountMarks(classpath_.byKey).unchecked == 0;
}

void EntryMarks::Judge(const PendingFill& fill) {
  ListMarks& marks = MarksOf(fill.kind);
  const auto firstKey = static_cast<std::size_t>(std::max(fill.firstKey, 0));
  std::vector<environment::EntryJudgement> judged = environment::JudgeEntries(
      fill.kind, text::SplitSearchList(fill.value), os_.environment, stored_);
  marks.byKey.resize(firstKey);
  marks.byKey.insert(marks.byKey.end(), std::make_move_iterator(judged.begin()),
                     std::make_move_iterator(judged.end()));
  marks.characters = text::Utf8ToUtf16(fill.value).size();
  for (std::size_t key = firstKey; key < marks.byKey.size(); ++key) {
    if (marks.byKey[key].mark != EntryMark::kNone) ShowMark(fill.kind, key);
  }
}

void EntryMarks::Queue(SearchList kind, int firstKey, std::string value) {
  // The entries from firstKey on are new: what was judged or waiting for
  // them belonged to entries since emptied out of the list.
  MarksOf(kind).byKey.resize(static_cast<std::size_t>(std::max(firstKey, 0)));
  std::erase_if(pending_, [&](const PendingFill& pending) {
    return pending.kind == kind && pending.firstKey >= firstKey;
  });
  pending_.push_back({kind, firstKey, std::move(value)});
}

void EntryMarks::PostStart(environment::VariableDictionary userValues) {
  userValues_ = std::move(userValues);
  PostMessageA(window_, kMessageStartTests, static_cast<WPARAM>(fill_), 0);
}

void EntryMarks::OnStartTests(WPARAM fill) {
  // Only for the last fill: an earlier one's message finds its entries
  // judged with it.
  if (fill != static_cast<WPARAM>(fill_)) return;
  // How PATH is stored matters only to an entry holding a reference, and
  // reading the machine's key costs more than all the other judging.
  const bool references =
      std::any_of(pending_.begin(), pending_.end(), [](const PendingFill& pending) {
        return pending.kind == SearchList::kPath && pending.value.find('%') != std::string::npos;
      });
  stored_ = references ? environment::StoredPathOf(userValues_, environment::ReadSystemValues(os_))
                       : environment::StoredPath{};
  for (const PendingFill& pending : std::exchange(pending_, {})) Judge(pending);
  StartExistenceTests();
}

void EntryMarks::Prepare() {
  if (sweep_) return;
  // The report holds nothing of the window's but its handle, and stops
  // posting before the window goes.
  const HWND target = window_;
  const WPARAM fill = fill_;
  inbox_ = std::make_shared<Inbox>();
  environment::SweepReports reports{
      [target, fill, inbox = inbox_](std::uint64_t question, bool found) {
        bool first = false;
        {
          const std::lock_guard lock(inbox->mutex);
          first = inbox->answers.empty();
          inbox->answers.push_back({question, found});
        }
        if (first) PostMessageA(target, kMessageEntryTested, fill, 0);
      },
      [target, fill] { PostMessageA(target, kMessageProgramsResolved, fill, 0); }};
  // The window watches the sweep for a question that hangs: a thread to do
  // it would cost the sweep more than the sweep takes on a local PATH.
  sweep_ = environment::ExistenceSweep::Prepare(
      os_.sharedFiles, environment::ProgramExtensions(os_.environment.Variable("PATHEXT")),
      std::move(reports), environment::ExistenceSweep::kPatience,
      environment::ExistenceSweep::Watching::kByCaller);
}

void EntryMarks::StartExistenceTests() {
  std::vector<environment::ExistenceQuestion> questions;
  for (const SearchList kind : kLists) {
    const auto& byKey = MarksOf(kind).byKey;
    for (std::size_t key = 0; key < byKey.size(); ++key) {
      if (!byKey[key].awaitingTest) continue;
      questions.push_back({QuestionKey(kind, key), byKey[key].place, byKey[key].wanted,
                           byKey[key].listPrograms ? key + 1 : 0});
    }
  }
  programsAwaited_ = std::any_of(questions.begin(), questions.end(),
                                 [](const auto& question) { return question.programsOf != 0; });
  if (questions.empty()) {
    if (sweep_) sweep_->Stop();  // prepared for questions that never came
    sweep_.reset();
    return;
  }
  Prepare();
  if (!sweep_) {
    programsAwaited_ = false;
    return;
  }
  sweep_->Ask(std::move(questions));
  // Without the timer a hanging question holds up the rest until it ends.
  SetTimer(window_, kTimerSweepWatch,
           static_cast<UINT>(environment::ExistenceSweep::kPatience.count() / 4), nullptr);
}

void EntryMarks::OnSweepWatchTimer() {
  if (!sweep_ || Settled()) {
    KillTimer(window_, kTimerSweepWatch);
    return;
  }
  sweep_->CheckPatience();
}

void EntryMarks::OnEntryTested(WPARAM fill) {
  if (fill != static_cast<WPARAM>(fill_) || !inbox_) return;  // answers for an earlier fill
  std::vector<Answer> answers;
  {
    const std::lock_guard lock(inbox_->mutex);
    answers.swap(inbox_->answers);
  }
  for (const Answer& answer : answers) TakeAnswer(answer);
}

void EntryMarks::TakeAnswer(const Answer& answer) {
  const SearchList kind = (answer.question & 1) != 0 ? SearchList::kClasspath : SearchList::kPath;
  const auto key = static_cast<std::size_t>(answer.question >> 1);
  auto& byKey = MarksOf(kind).byKey;
  if (key >= byKey.size()) return;
  environment::TakeAnswer(byKey[key], answer.found);
  if (byKey[key].mark != EntryMark::kNone) ShowMark(kind, key);
}

void EntryMarks::OnProgramsResolved(WPARAM fill) {
  if (fill != static_cast<WPARAM>(fill_) || !sweep_) return;
  programsAwaited_ = false;
  std::map<std::size_t, environment::WhichCopy> programs = sweep_->Programs();
  auto& byKey = path_.byKey;
  for (std::size_t key = 0; key < byKey.size(); ++key) {
    const auto resolved = programs.find(key + 1);
    const bool had =
        !byKey[key].programs.neverRun.empty() || !byKey[key].programs.runsFirst.empty();
    if (resolved == programs.end() && !had) continue;
    const EntryMark before = byKey[key].mark;
    environment::TakePrograms(byKey[key], resolved == programs.end() ? environment::WhichCopy{}
                                                                     : std::move(resolved->second));
    if (byKey[key].mark != before) ShowMark(SearchList::kPath, key);
  }
}

void EntryMarks::ShowMark(SearchList kind, std::size_t key) {
  const HWND list = ListOf(kind);
  const int index = FindListItem(list, static_cast<LPARAM>(key), static_cast<int>(key));
  if (index < 0) return;
  SetListItemOverlay(list, index, static_cast<int>(MarksOf(kind).byKey[key].mark));
}

std::wstring EntryMarks::Tip(HWND list, int index) const {
  const SearchList kind = list == pathList_ ? SearchList::kPath : SearchList::kClasspath;
  const LPARAM key = ListItemKey(list, index);
  const auto& byKey = MarksOf(kind).byKey;
  if (key < 0 || static_cast<std::size_t>(key) >= byKey.size()) return {};
  const auto entry = static_cast<std::size_t>(key) + 1;
  return MarkWords(byKey[entry - 1], kind, entry, [&](std::size_t number) {
    return number > 0 && number <= byKey.size() ? platform::WideText(byKey[number - 1].place)
                                                : std::wstring();
  });
}

void EntryMarks::OnGetInfoTip(NMHDR& header) const {
  if (header.code == LVN_GETINFOTIPA) {
    auto& tip = reinterpret_cast<NMLVGETINFOTIPA&>(header);
    PutIntoTip(tip, platform::Utf8Text(Tip(header.hwndFrom, tip.iItem)));
  } else if (header.code == LVN_GETINFOTIPW) {
    auto& tip = reinterpret_cast<NMLVGETINFOTIPW&>(header);
    PutIntoTip(tip, Tip(header.hwndFrom, tip.iItem));
  }
}

std::wstring EntryMarks::Summary(SearchList kind) const {
  const ListMarks& marks = MarksOf(kind);
  const environment::MarkCounts counts = environment::CountMarks(marks.byKey);
  std::wstring text = LoadText(
      IDS_SUMMARY, {LoadText(kind == SearchList::kPath ? IDS_TAB_PATH : IDS_TAB_CLASSPATH),
                    Count(counts.entries), LoadText(counts.entries == 1 ? IDS_ENTRY : IDS_ENTRIES),
                    Count(counts.notFound), Count(counts.repeated), Count(counts.empty),
                    Count(marks.characters), Count(environment::kVariableLimit)});
  // The later marks are counted only where a list has them.
  const struct {
    std::size_t count;
    UINT words;
  } further[] = {{counts.neverRuns, IDS_COUNT_NEVER_RUNS},
                 {counts.neverExpanded, IDS_COUNT_NEVER_EXPANDED},
                 {counts.unbalancedQuote, IDS_COUNT_UNBALANCED_QUOTE}};
  for (const auto& [count, words] : further) {
    if (count == 0) continue;
    text += LoadText(words, {Count(count), LoadText(count == 1 ? IDS_ENTRY : IDS_ENTRIES)});
  }
  for (const LengthLimit& limit : kLengthLimits) {
    if (marks.characters <= limit.characters) continue;
    text += LoadText(IDS_OVER_LIMIT, {Count(limit.characters), LoadText(limit.words)});
  }
  if (counts.unchecked > 0) text += LoadText(IDS_STILL_CHECKED, {Count(counts.unchecked)});
  return text;
}

}  // namespace velmora::window
