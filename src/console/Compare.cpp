#include "console/Compare.h"

#include <algorithm>
#include <unordered_map>

#include "text/Text.h"

namespace velmora::console {
namespace {

using Kind = DifferenceKind;

const char* SourceWord(Source source) {
  return source == Source::kUser ? "user" : "system";
}

// Each entry's key: its text upper-cased and which repeat of that text it is.
std::vector<std::string> EntryKeys(const std::vector<Entry>& entries) {
  std::unordered_map<std::string, std::size_t> seen;
  std::vector<std::string> keys;
  keys.reserve(entries.size());
  for (const Entry& entry : entries) {
    std::string key = text::UpperCase(entry.text);
    const std::size_t repeat = seen[key]++;
    key += '\0';
    key += std::to_string(repeat);
    keys.push_back(std::move(key));
  }
  return keys;
}

// Which of the positions (other's, in baseline's order) belong to one
// longest increasing run: the entries that kept their order.
std::vector<bool> KeptInOrder(const std::vector<std::size_t>& positions) {
  std::vector<std::size_t> tails;                     // index into positions, per run length
  std::vector<std::size_t> before(positions.size());  // the previous member of the run
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const auto at =
        std::lower_bound(tails.begin(), tails.end(), positions[i],
                         [&](std::size_t t, std::size_t p) { return positions[t] < p; });
    before[i] = at == tails.begin() ? i : *(at - 1);
    if (at == tails.end()) {
      tails.push_back(i);
    } else {
      *at = i;
    }
  }
  std::vector<bool> kept(positions.size(), false);
  if (tails.empty()) return kept;
  for (std::size_t i = tails.back();; i = before[i]) {
    kept[i] = true;
    if (before[i] == i) break;
  }
  return kept;
}

std::string MarkWords(const std::vector<Mark>& marks) {
  std::string words;
  for (const Mark& mark : marks) words += (words.empty() ? "" : "; ") + mark.reason;
  return words.empty() ? "none" : words;
}

bool SameMarks(const std::vector<Mark>& a, const std::vector<Mark>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const Mark& x, const Mark& y) { return x.mark == y.mark; });
}

class Comparison {
 public:
  std::vector<Difference> differences;

  void Lists(const SearchListReport& a, const SearchListReport& b) {
    Entries(a, b);
    Value(a.name + " (system)", a.system, b.system);
    Value(a.name + " (user)", a.user, b.user);
  }

  void Products(const Product& a, const Product& b) {
    Value(a.name, a.value, b.value);
    if (a.value.empty() || b.value.empty()) return;
    if (a.source != b.source) {
      Add({Kind::kSourceChanged, a.name, b.value, SourceWord(a.source), SourceWord(b.source), 0,
           0});
    }
    if (a.exists == b.exists) return;
    const Kind kind = a.namesFile ? (b.exists ? Kind::kFileAppeared : Kind::kFileWent)
                                  : (b.exists ? Kind::kFolderAppeared : Kind::kFolderWent);
    Add({kind, a.name, b.value, {}, {}, 0, 0});
  }

  void Mordale(const Report& a, const Report& b) {
    const char* database = "%MordalePath%\\bin\\mordale.mdb";
    if (a.mordaleDatabase != b.mordaleDatabase) {
      Add({b.mordaleDatabase ? Kind::kFileAppeared : Kind::kFileWent,
           "MORDALEPATH",
           database,
           {},
           {},
           0,
           0});
    }
    if (a.mordaleBinInPath && b.mordaleBinInPath && *a.mordaleBinInPath != *b.mordaleBinInPath) {
      Add({Kind::kValueChanged, "MORDALEPATH", "%MordalePath%\\bin in PATH",
           *a.mordaleBinInPath ? "yes" : "no", *b.mordaleBinInPath ? "yes" : "no", 0, 0});
    }
  }

 private:
  void Add(Difference difference) { differences.push_back(std::move(difference)); }

  void Value(const std::string& subject, const std::string& a, const std::string& b) {
    if (a != b) Add({Kind::kValueChanged, subject, {}, a, b, 0, 0});
  }

  void Entries(const SearchListReport& a, const SearchListReport& b) {
    const std::vector<std::string> keysA = EntryKeys(a.entries);
    const std::vector<std::string> keysB = EntryKeys(b.entries);
    std::unordered_map<std::string_view, std::size_t> inB;
    for (std::size_t j = 0; j < keysB.size(); ++j) inB.emplace(keysB[j], j);
    std::vector<std::size_t> fromA;  // common entries, in a's order
    std::vector<std::size_t> toB;
    for (std::size_t i = 0; i < keysA.size(); ++i) {
      const auto found = inB.find(keysA[i]);
      if (found == inB.end()) {
        Add({Kind::kEntryRemoved, a.name, a.entries[i].text, {}, {}, i + 1, 0});
        continue;
      }
      fromA.push_back(i);
      toB.push_back(found->second);
      inB.erase(found);
    }
    const std::vector<bool> kept = KeptInOrder(toB);
    for (std::size_t k = 0; k < fromA.size(); ++k) {
      const Entry& was = a.entries[fromA[k]];
      const Entry& is = b.entries[toB[k]];
      if (!kept[k]) Add({Kind::kEntryMoved, a.name, is.text, {}, {}, fromA[k] + 1, toB[k] + 1});
      if (was.source != is.source) {
        Add({Kind::kSourceChanged, a.name, is.text, SourceWord(was.source), SourceWord(is.source),
             fromA[k] + 1, toB[k] + 1});
      }
      if (!SameMarks(was.marks, is.marks)) {
        Add({Kind::kMarksChanged, a.name, is.text, MarkWords(was.marks), MarkWords(is.marks),
             fromA[k] + 1, toB[k] + 1});
      }
    }
    // What is left of b's entries was added, reported in b's order.
    std::vector<std::size_t> added;
    for (const auto& entry : inB) added.push_back(entry.second);
    std::sort(added.begin(), added.end());
    for (const std::size_t j : added) {
      Add({Kind::kEntryAdded, a.name, b.entries[j].text, {}, {}, 0, j + 1});
    }
  }
};

template <class Item>
const Item* Named(const std::vector<Item>& items, const std::string& name) {
  const auto found =
      std::find_if(items.begin(), items.end(), [&](const Item& item) { return item.name == name; });
  return found == items.end() ? nullptr : &*found;
}

}  // namespace

std::vector<Difference> Compare(const Report& baseline, const Report& other) {
  Comparison comparison;
  for (const SearchListReport& list : baseline.lists) {
    const SearchListReport* match = Named(other.lists, list.name);
    comparison.Lists(list, match ? *match : SearchListReport{list.name, {}, {}, {}, {}});
  }
  for (const SearchListReport& list : other.lists) {
    if (!Named(baseline.lists, list.name)) {
      comparison.Lists(SearchListReport{list.name, {}, {}, {}, {}}, list);
    }
  }
  for (const Product& product : baseline.products) {
    const Product* match = Named(other.products, product.name);
    comparison.Products(
        product,
        match ? *match : Product{product.name, product.namesFile, {}, Source::kSystem, false});
  }
  for (const Product& product : other.products) {
    if (!Named(baseline.products, product.name)) {
      comparison.Products(Product{product.name, product.namesFile, {}, Source::kSystem, false},
                          product);
    }
  }
  comparison.Mordale(baseline, other);
  return std::move(comparison.differences);
}

const char* KindName(DifferenceKind kind) {
  switch (kind) {
    case Kind::kEntryAdded:
      return "entryAdded";
    case Kind::kEntryRemoved:
      return "entryRemoved";
    case Kind::kEntryMoved:
      return "entryMoved";
    case Kind::kSourceChanged:
      return "sourceChanged";
    case Kind::kMarksChanged:
      return "marksChanged";
    case Kind::kValueChanged:
      return "valueChanged";
    case Kind::kFolderAppeared:
      return "folderAppeared";
    case Kind::kFolderWent:
      return "folderWent";
    case Kind::kFileAppeared:
      return "fileAppeared";
    case Kind::kFileWent:
      return "fileWent";
  }
  return "unknown";
}

namespace {

std::string DifferenceLine(const Difference& d) {
  const std::string change = ": " + d.before + " -> " + d.after;
  const std::string at =
      d.entry + " (" + std::to_string(d.from) + " -> " + std::to_string(d.to) + ")";
  switch (d.kind) {
    case Kind::kEntryAdded:
      return "entry added at " + std::to_string(d.to) + ": " + d.entry;
    case Kind::kEntryRemoved:
      return "entry removed from " + std::to_string(d.from) + ": " + d.entry;
    case Kind::kEntryMoved:
      return "entry moved from " + std::to_string(d.from) + " to " + std::to_string(d.to) + ": " +
             d.entry;
    case Kind::kSourceChanged:
      return "source changed for " + d.entry + change;
    case Kind::kMarksChanged:
      return "marks changed for " + at + change;
    case Kind::kValueChanged:
      return "value changed" + (d.entry.empty() ? "" : " for " + d.entry) + change;
    case Kind::kFolderAppeared:
      return "folder appeared: " + d.entry;
    case Kind::kFolderWent:
      return "folder went: " + d.entry;
    case Kind::kFileAppeared:
      return "file appeared: " + d.entry;
    case Kind::kFileWent:
      return "file went: " + d.entry;
  }
  return {};
}

std::string Origin(const char* label, const Report& report) {
  return std::string(label) + report.machine + ", user " + report.user + ", " + report.date +
         "\r\n";
}

}  // namespace

std::string ComparisonText(const Report& baseline, const Report& other,
                           const std::vector<Difference>& differences) {
  std::string text = Origin("Baseline: machine ", baseline) + Origin("Compared: machine ", other);
  for (const Difference& difference : differences) {
    text += difference.subject + ": " + DifferenceLine(difference) + "\r\n";
  }
  const std::size_t count = differences.size();
  text += count == 0 ? std::string("No differences.")
                     : std::to_string(count) + (count == 1 ? " difference." : " differences.");
  return text + "\r\n";
}

}  // namespace velmora::console
