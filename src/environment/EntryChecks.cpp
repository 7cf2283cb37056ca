#include "environment/EntryChecks.h"

#include <algorithm>
#include <unordered_map>

#include "environment/AbsentPlaces.h"
#include "environment/Lookups.h"
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
  judgement.listPrograms = list == SearchList::kPath;
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

// The first %NAME% reference in an entry, or "".
std::string_view FirstReference(std::string_view entry) {
  const std::size_t open = entry.find('%');
  if (open == std::string_view::npos) return {};
  const std::size_t close = entry.find('%', open + 1);
  if (close == std::string_view::npos || close == open + 1) return {};
  return entry.substr(open, close - open + 1);
}

bool Holds(const std::optional<StoredValue>& value, std::string_view entry) {
  if (!value) return false;
  const auto pieces = text::SplitSearchList(value->raw);
  return std::any_of(pieces.begin(), pieces.end(),
                     [&](std::string_view piece) { return text::EqualsNoCase(piece, entry); });
}

// A PATH entry that a search for programs reads as written: a reference in
// it stays as it is, and a quote opens a stretch that only a second quote
// closes.
void JudgeText(std::string_view entry, platform::EnvironmentApi& environment,
               const StoredPath& stored, EntryJudgement& judgement) {
  if (std::count(entry.begin(), entry.end(), '"') % 2 != 0) {
    SetMark(judgement, EntryMark::kUnbalancedQuote);
  }
  const std::string_view reference = FirstReference(entry);
  if (reference.empty()) return;
  SetMark(judgement, EntryMark::kNeverExpanded);
  judgement.reference = reference;
  const std::optional<StoredValue>* holder = nullptr;
  if (Holds(stored.user, entry)) {
    judgement.holder = Holder::kUser;
    holder = &stored.user;
  } else if (Holds(stored.system, entry)) {
    judgement.holder = Holder::kSystem;
    holder = &stored.system;
  }
  const std::string name(reference.substr(1, reference.size() - 2));
  judgement.plainTextDefined =
      holder != nullptr && (*holder)->plainText && environment.Variable(name).has_value();
}

int Bit(EntryMark mark) {
  return 1 << (static_cast<int>(mark) - 1);
}

}  // namespace

bool Bears(const EntryJudgement& judgement, EntryMark mark) {
  return mark != EntryMark::kNone && (judgement.marks & Bit(mark)) != 0;
}

void SetMark(EntryJudgement& judgement, EntryMark mark, bool borne) {
  if (mark == EntryMark::kNone) return;
  judgement.marks =
      static_cast<std::uint8_t>(borne ? judgement.marks | Bit(mark) : judgement.marks & ~Bit(mark));
  judgement.mark = EntryMark::kNone;
  for (const EntryMark shown : kMarkOrder) {
    if (Bears(judgement, shown)) {
      judgement.mark = shown;
      break;
    }
  }
}

void TakePrograms(EntryJudgement& judgement, WhichCopy programs) {
  SetMark(judgement, EntryMark::kNeverRuns, !programs.neverRun.empty());
  judgement.programs = std::move(programs);
}

std::vector<EntryJudgement> JudgeEntries(SearchList list,
                                         const std::vector<std::string_view>& entries,
                                         platform::EnvironmentApi& environment,
                                         const StoredPath& stored) {
  std::vector<EntryJudgement> judged(entries.size());
  std::unordered_map<std::string, std::size_t> firstOf;  // place key to entry number
  firstOf.reserve(entries.size());
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const std::string_view entry = entries[index];
    EntryJudgement& judgement = judged[index];
    if (entry.empty()) {
      SetMark(judgement, EntryMark::kEmpty);
      continue;
    }
    std::string place(entry);
    if (list == SearchList::kPath) {
      JudgeText(entry, environment, stored, judgement);
    } else if (entry.find('%') != std::string_view::npos) {
      // Only an entry with a reference asks the platform.
      place = environment.ExpandStrings(place).value_or(std::string());
    }
    const auto [first, isFirst] = firstOf.emplace(PlaceKey(place), index + 1);
    if (!isFirst) {
      SetMark(judgement, EntryMark::kRepeated);
      judgement.sameAs = first->second;
      continue;
    }
    // A reference names no folder a search for programs looks in.
    if (Bears(judgement, EntryMark::kNeverExpanded)) continue;
    SetUpTest(list, std::move(place), judgement);
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
  if (!found) {
    SetMark(judgement, EntryMark::kNotFound);
    judgement.listPrograms = false;
  }
}

namespace {

std::optional<StoredValue> StoredPathValue(const VariableDictionary& values) {
  const VariableItem* item = values.Find("PATH");
  if (item == nullptr) return std::nullopt;
  return StoredValue{item->raw, item->type == platform::kRegSz};
}

}  // namespace

StoredPath StoredPathOf(const VariableDictionary& userValues,
                        const VariableDictionary& systemValues) {
  return {StoredPathValue(userValues), StoredPathValue(systemValues)};
}

std::vector<EntryJudgement> JudgeAll(SearchList list, std::string_view value,
                                     const platform::Platform& os, const StoredPath& stored) {
  std::vector<EntryJudgement> judged =
      JudgeEntries(list, text::SplitSearchList(value), os.environment, stored);
  // A long list's entries that listings show are not there need no test of their own.
  std::vector<std::string> places;
  std::vector<std::size_t> asking;  // entry index of each place
  for (std::size_t index = 0; index < judged.size(); ++index) {
    if (!judged[index].awaitingTest) continue;
    places.push_back(judged[index].place);
    asking.push_back(index);
  }
  const std::vector<bool> absent = CertainlyAbsent(os.files, places);
  for (std::size_t at = 0; at < asking.size(); ++at) {
    if (absent[at]) TakeAnswer(judged[asking[at]], false);
  }
  std::vector<ProgramListing> listings;
  for (std::size_t index = 0; index < judged.size(); ++index) {
    EntryJudgement& judgement = judged[index];
    if (!judgement.awaitingTest) continue;
    TakeAnswer(judgement, NamesWhatIsWanted(os.files, judgement.place, judgement.wanted));
    if (!judgement.listPrograms) continue;
    if (auto files = os.files.ListFolder(judgement.place)) {
      listings.push_back({index + 1, judgement.place, std::move(*files)});
    }
  }
  if (listings.empty()) return judged;
  std::vector<WhichCopy> resolved = ResolveCopies(
      listings, ProgramExtensions(os.environment.Variable("PATHEXT")),
      [&](const std::string& a, const std::string& b) { return os.files.SameBytes(a, b); });
  for (std::size_t at = 0; at < listings.size(); ++at) {
    TakePrograms(judged[listings[at].entry - 1], std::move(resolved[at]));
  }
  return judged;
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
    counts.notFound += Bears(judgement, EntryMark::kNotFound) ? 1 : 0;
    counts.repeated += Bears(judgement, EntryMark::kRepeated) ? 1 : 0;
    counts.empty += Bears(judgement, EntryMark::kEmpty) ? 1 : 0;
    counts.neverRuns += Bears(judgement, EntryMark::kNeverRuns) ? 1 : 0;
    counts.neverExpanded += Bears(judgement, EntryMark::kNeverExpanded) ? 1 : 0;
    counts.unbalancedQuote += Bears(judgement, EntryMark::kUnbalancedQuote) ? 1 : 0;
    counts.unchecked += judgement.awaitingTest ? 1 : 0;
  }
  return counts;
}

}  // namespace velmora::environment
