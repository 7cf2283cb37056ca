#include "window/MarkWords.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/Win32Platform.h"
#include "window/Texts.h"
#include "window/resource.h"

namespace velmora::window {
namespace {

using environment::EntryMark;
using environment::ProgramCopy;

std::wstring CopyName(const ProgramCopy& copy) {
  const std::wstring name = platform::WideText(copy.file);
  return copy.executionAlias ? LoadText(IDS_EXECUTION_ALIAS, {name}) : name;
}

// The items joined, cut after kNamesShown with a count of the rest.
std::wstring Joined(const std::vector<std::wstring>& items) {
  std::wstring text;
  const std::size_t shown = std::min(items.size(), kNamesShown);
  for (std::size_t at = 0; at < shown; ++at) {
    if (at > 0) text += LoadText(IDS_LIST_SEPARATOR);
    text += items[at];
  }
  if (items.size() > shown) {
    text += L' ';
    text += LoadText(IDS_AND_MORE, {std::to_wstring(items.size() - shown)});
  }
  return text;
}

// Adds lines, at most kNamesShown of them and a count of the rest.
void AddLines(std::wstring& text, const std::vector<std::wstring>& lines) {
  for (std::size_t at = 0; at < lines.size(); ++at) {
    if (!text.empty()) text += L"\r\n";
    if (at == kNamesShown) {
      text += LoadText(IDS_AND_MORE, {std::to_wstring(lines.size() - at)});
      return;
    }
    text += lines[at];
  }
}

std::wstring NeverExpanded(const environment::EntryJudgement& judgement) {
  const std::wstring reference = platform::WideText(judgement.reference);
  if (!judgement.plainTextDefined) return LoadText(IDS_NEVER_EXPANDED, {reference});
  return LoadText(judgement.holder == environment::Holder::kSystem ? IDS_NEVER_EXPANDED_SYSTEM_SZ
                                                                   : IDS_NEVER_EXPANDED_USER_SZ,
                  {reference});
}

// The programs that never run: those beaten by a copy beside them one line
// each, the others one line for each entry that comes first.
std::vector<std::wstring> NeverRunLines(const environment::WhichCopy& programs, std::size_t entry,
                                        const EntryText& entryText) {
  std::vector<std::wstring> lines;
  std::vector<std::wstring> names;
  const auto& neverRun = programs.neverRun;
  for (std::size_t at = 0; at < neverRun.size(); ++at) {
    const environment::NeverRuns& never = neverRun[at];
    if (never.byEntry == entry) {
      lines.push_back(LoadText(IDS_NEVER_RUNS_BESIDE, {CopyName(never.copy), CopyName(never.by)}));
      continue;
    }
    names.push_back(CopyName(never.copy));
    if (at + 1 < neverRun.size() && neverRun[at + 1].byEntry == never.byEntry) continue;
    lines.push_back(
        LoadText(names.size() == 1 ? IDS_NEVER_RUNS_AFTER : IDS_NEVER_RUN_AFTER,
                 {Joined(names), std::to_wstring(never.byEntry), entryText(never.byEntry)}));
    names.clear();
  }
  return lines;
}

// The programs that run first, one line for each set of entries holding
// other copies.
std::vector<std::wstring> RunsFirstLines(const environment::WhichCopy& programs) {
  std::vector<std::pair<std::vector<std::size_t>, std::vector<std::wstring>>> groups;
  for (const environment::RunsFirst& runs : programs.runsFirst) {
    auto group = std::find_if(groups.begin(), groups.end(),
                              [&](const auto& known) { return known.first == runs.overEntries; });
    if (group == groups.end()) group = groups.insert(groups.end(), {runs.overEntries, {}});
    group->second.push_back(CopyName(runs.copy));
  }
  std::vector<std::wstring> lines;
  for (const auto& [entries, names] : groups) {
    std::vector<std::wstring> numbers;
    for (const std::size_t number : entries) numbers.push_back(std::to_wstring(number));
    const UINT holds = entries.size() > 1 ? IDS_HOLD_OTHER_COPIES
                       : names.size() > 1 ? IDS_HOLDS_OTHER_COPIES
                                          : IDS_HOLDS_ANOTHER_COPY;
    lines.push_back(LoadText(names.size() == 1 ? IDS_IS_USED : IDS_ARE_USED,
                             {Joined(names), LoadText(holds, {Joined(numbers)})}));
  }
  return lines;
}

}  // namespace

std::wstring MarkWords(const environment::EntryJudgement& judgement, environment::SearchList kind,
                       std::size_t entry, const EntryText& entryText) {
  std::wstring text;
  for (const EntryMark mark : environment::kMarkOrder) {
    if (!environment::Bears(judgement, mark)) continue;
    switch (mark) {
      case EntryMark::kNotFound:
        AddLines(text, {std::wstring(LoadText(kind == environment::SearchList::kPath
                                                  ? IDS_FOLDER_NOT_FOUND
                                                  : IDS_FILE_NOT_FOUND))});
        break;
      case EntryMark::kRepeated:
        AddLines(text, {LoadText(IDS_SAME_AS_ENTRY, {std::to_wstring(judgement.sameAs)})});
        break;
      case EntryMark::kEmpty:
        AddLines(text, {std::wstring(LoadText(IDS_EMPTY_ENTRY))});
        break;
      case EntryMark::kNeverExpanded:
        AddLines(text, {NeverExpanded(judgement)});
        break;
      case EntryMark::kUnbalancedQuote:
        AddLines(text, {std::wstring(LoadText(IDS_UNBALANCED_QUOTE))});
        break;
      case EntryMark::kNeverRuns:
        AddLines(text, NeverRunLines(judgement.programs, entry, entryText));
        break;
      case EntryMark::kNone:
        break;
    }
  }
  AddLines(text, RunsFirstLines(judgement.programs));
  return text;
}

}  // namespace velmora::window
