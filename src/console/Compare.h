// What differs between two environment reports, entry by entry.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "console/ReportModel.h"

namespace velmora::console {

enum class DifferenceKind {
  kEntryAdded,
  kEntryRemoved,
  kEntryMoved,
  kSourceChanged,
  kMarksChanged,
  kValueChanged,
  kFolderAppeared,  // a product's folder
  kFolderWent,
  kFileAppeared,  // OMRA_DOMAINS_FILE's file, or the Mordale database
  kFileWent,
};

// One difference. subject is a list ("PATH"), a stored value ("PATH (user)")
// or a variable; entry the entry or the value concerned. before and after
// are what changed (a value, a source, marks), empty where nothing is. An
// entry's positions count from 1, 0 where it has none on that side.
struct Difference {
  DifferenceKind kind = DifferenceKind::kValueChanged;
  std::string subject;
  std::string entry;
  std::string before;
  std::string after;
  std::size_t from = 0;
  std::size_t to = 0;
  bool operator==(const Difference&) const = default;
};

// The differences from baseline to other. Who wrote them, where and when is
// no difference: two machines are compared for what they hold. Entries are
// matched by their text, letter case aside, the n-th repeat of a text with
// the n-th; an entry is moved when it leaves the longest run of common
// entries kept in order.
[[nodiscard]] std::vector<Difference> Compare(const Report& baseline, const Report& other);

// The kind's name in the JSON form ("entryAdded", ...).
[[nodiscard]] const char* KindName(DifferenceKind kind);

// The comparison for a person: where each report came from, one line per
// difference, and their count. Lines end in CR LF.
[[nodiscard]] std::string ComparisonText(const Report& baseline, const Report& other,
                                         const std::vector<Difference>& differences);

}  // namespace velmora::console
