#include "environment/EntryChecks.h"

#include <unordered_map>

#include "text/Text.h"

namespace velmora::environment {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         text::EqualsNoCase(text.substr(text.size() - end.size()), end);
}

bool IsDriveRoot(std::string_view place) {
  return place.size() == 3 && place[1] == ':' && place[2] == '\\';
}

// Two entries name the same place when these are equal. A drive's root keeps
// its backslash: "C:" is the drive's current folder, not its root.
std::string PlaceKey(std::string_view place) {
  if (place.ends_with('\\') && !IsDriveRoot(place)) place.remove_suffix(1);
  return text::UpperCase(place);
}

// The place to ask about and what it must be. A CLASSPATH entry "dir\*"
// stands for the archives in dir, so dir is asked about.
void SetUpTest(SearchList list, std::string expanded, EntryJudgement& judgement) {
  judgement.awaitingTest = true;
  judgement.wanted = Wanted::kFolder;
  if (list == SearchList::kClasspath) {
    if (expanded == "*") {
      expanded.assign(1, '.');  // the current folder
    } else if (expanded.ends_with("\\*") || expanded.ends_with("/*")) {
      expanded.pop_back();
    } else if (EndsWithNoCase(expanded, ".jar") || EndsWithNoCase(expanded, ".zip")) {
      judgement.wanted = Wanted::kFile;
    } else {
      judgement.wanted = Wanted::kAnything;
    }
  }
  judgement.place = std::move(expanded);
}

}  // namespace

std::vector<EntryJudgement> JudgeEntries(SearchList list,
                                         const std::vector<std::string_view>& entries,
                                         platform::EnvironmentApi& environment) {
  std::vector<EntryJudgement> judged(entries.size());
  std::unordered_map<std::string, std::size_t> firstOf;  // place key to entry number
  firstOf.reserve(entries.size());
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const std::string_view entry = entries[index];
    EntryJudgement& judgement = judged[index];
    if (entry.empty()) {
      judgement.mark = EntryMark::kEmpty;
      continue;
    }
    // Only an entry with a reference asks the platform.
    std::string expanded(entry);
    if (entry.find('%') != std::string_view::npos) {
      expanded = environment.ExpandStrings(expanded).value_or(std::string());
    }
    const auto [first, isFirst] = firstOf.emplace(PlaceKey(expanded), index + 1);
    if (!isFirst) {
      judgement.mark = EntryMark::kRepeated;
      judgement.sameAs = first->second;
      continue;
    }
    SetUpTest(list, std::move(expanded), judgement);
  }
  return judged;
}

bool NamesWhatIsWanted(platform::FileSystemApi& files, const std::string& place, Wanted wanted) {
  std::uint32_t attributes = platform::kInvalidFileAttributes;
  try {
    attributes = files.FileAttributes(place);
  } catch (...) {
    return false;
  }
  if (attributes == platform::kInvalidFileAttributes) return false;
  const bool isFolder = (attributes & platform::kFileAttributeDirectory) != 0;
  switch (wanted) {
    case Wanted::kFolder:
      return isFolder;
    case Wanted::kFile:
      return !isFolder;
    case Wanted::kAnything:
      return true;
  }
  return false;
}

void TakeAnswer(EntryJudgement& judgement, bool found) {
  if (!judgement.awaitingTest) return;
  judgement.awaitingTest = false;
  if (!found) judgement.mark = EntryMark::kNotFound;
}

std::string WithThousands(std::size_t number) {
  const std::string digits = std::to_string(number);
  std::string grouped;
  for (std::size_t at = 0; at < digits.size(); ++at) {
    if (at > 0 && (digits.size() - at) % 3 == 0) grouped += ',';
    grouped += digits[at];
  }
  return grouped;
}

MarkCounts CountMarks(const std::vector<EntryJudgement>& judgements) {
  MarkCounts counts;
  counts.entries = judgements.size();
  for (const EntryJudgement& judgement : judgements) {
    counts.notFound += judgement.mark == EntryMark::kNotFound ? 1 : 0;
    counts.repeated += judgement.mark == EntryMark::kRepeated ? 1 : 0;
    counts.empty += judgement.mark == EntryMark::kEmpty ? 1 : 0;
    counts.unchecked += judgement.awaitingTest ? 1 : 0;
  }
  return counts;
}

}  // namespace velmora::environment
