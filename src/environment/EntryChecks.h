// What is wrong with an entry of a search list: an entry that names nothing
// there, one that repeats an earlier entry, an empty piece, a PATH entry
// holding a reference no search for programs expands or an unbalanced quote,
// and a PATH entry with programs that never run (WhichCopy.h). The window puts
// the marks and their counts into words. Judging is split in two: what the text alone tells (at
// once, on the caller's thread) and the existence test (a file-system question that may take long;
// see ExistenceSweep.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "environment/Registry.h"
#include "environment/WhichCopy.h"
#include "platform/Platform.h"

namespace velmora::environment {

enum class SearchList : std::uint8_t { kPath, kClasspath };

// The marks, numbered as the overlay pictures that show them.
enum class EntryMark : std::uint8_t {
  kNone = 0,
  kNotFound = 1,
  kRepeated = 2,
  kEmpty = 3,
  kNeverRuns = 4,      // holds programs that never run: an earlier entry's copy comes first
  kNeverExpanded = 5,  // a PATH entry holding %NAME%, which no search for programs expands
  // A PATH entry with an odd number of quotes: a command prompt's search
  // reads on to the next quote, so the entries after it become part of this
  // one (as Wine's command prompt shows: "C:\none;C:\bin leaves C:\bin's
  // programs unfound).
  kUnbalancedQuote = 6,
};
inline constexpr int kMarkKinds = 6;

// The mark an entry shows when several apply: the first of these it bears.
// A repeat is a repeat whether or not the place exists (it is never tested),
// and a quote or a reference that breaks the entry says more than its place.
inline constexpr EntryMark kMarkOrder[kMarkKinds] = {
    EntryMark::kEmpty,    EntryMark::kUnbalancedQuote, EntryMark::kNeverExpanded,
    EntryMark::kRepeated, EntryMark::kNotFound,        EntryMark::kNeverRuns};

// Which stored value holds a PATH entry.
enum class Holder : std::uint8_t { kUnknown, kUser, kSystem };

// A stored value PATH is made of, as the registry keeps it.
struct StoredValue {
  std::string raw;
  bool plainText = false;  // REG_SZ: nothing in it is ever expanded
};
struct StoredPath {
  std::optional<StoredValue> user;
  std::optional<StoredValue> system;
};

// What the existence test asks of a place.
enum class Wanted : std::uint8_t {
  kFolder,    // a PATH entry, a CLASSPATH folder or "dir\*"
  kFile,      // a CLASSPATH archive (.jar, .zip)
  kAnything,  // any other CLASSPATH entry: Java reads a file there as an archive
};

struct EntryJudgement {
  EntryMark mark = EntryMark::kNone;  // the one shown (kMarkOrder)
  std::uint8_t marks = 0;             // every mark borne: bit (mark - 1)
  std::size_t sameAs = 0;             // for kRepeated: the earlier entry, counted from 1
  bool awaitingTest = false;          // the existence test is still to answer
  bool listPrograms = false;          // a PATH folder: its programs are listed once it is found
  std::string place;                  // what the existence test asks about
  Wanted wanted = Wanted::kFolder;
  // For kNeverExpanded: the first reference as written ("%JAVA_HOME%"), the
  // stored value that holds the entry, and whether that value is plain text
  // (REG_SZ) while the name is defined, so that only the value's type is wrong.
  std::string reference;
  Holder holder = Holder::kUnknown;
  bool plainTextDefined = false;
  // The entry's programs that conflict with another entry's (kNeverRuns
  // when some never run).
  WhichCopy programs;
};

[[nodiscard]] bool Bears(const EntryJudgement& judgement, EntryMark mark);
// Adds or takes away a mark; the one shown follows kMarkOrder.
void SetMark(EntryJudgement& judgement, EntryMark mark, bool borne = true);

// Judges one list's entries, in order, from their text: empty pieces,
// repeats (letter case aside, one closing backslash ignored; CLASSPATH
// entries compared once %NAME% references are expanded from the process
// environment, PATH entries as written, since no search for programs
// expands them), references and unbalanced quotes in PATH entries, and for
// every other entry the existence test still to be made. stored tells which
// stored value holds a PATH entry and how it is stored.
[[nodiscard]] std::vector<EntryJudgement> JudgeEntries(SearchList list,
                                                       const std::vector<std::string_view>& entries,
                                                       platform::EnvironmentApi& environment,
                                                       const StoredPath& stored = {});

// Takes the resolution of an entry's programs into its judgement.
void TakePrograms(EntryJudgement& judgement, WhichCopy programs);

// How the user's and the machine's stored PATH are kept, from their keys as
// read from the registry.
[[nodiscard]] StoredPath StoredPathOf(const VariableDictionary& userValues,
                                      const VariableDictionary& systemValues);

// Judges a list's entries completely on the calling thread, waiting for every
// answer, for a program without a window (the console report): marks,
// existence, and for PATH the programs that never run (PATHEXT from the
// process). The window does the same work off its own thread.
[[nodiscard]] std::vector<EntryJudgement> JudgeAll(SearchList list, std::string_view value,
                                                   const platform::Platform& os,
                                                   const StoredPath& stored);

// The existence test: whether place names what is wanted. Never throws; a
// question the platform cannot answer counts as nothing there.
[[nodiscard]] bool NamesWhatIsWanted(platform::FileSystemApi& files, const std::string& place,
                                     Wanted wanted);

// Takes an existence test's answer into a judgement.
void TakeAnswer(EntryJudgement& judgement, bool found);

// A count with a comma between groups of three digits: 32,767.
[[nodiscard]] std::string WithThousands(std::size_t number);

// The longest value a variable can hold, in characters.
inline constexpr std::size_t kVariableLimit = 32767;

// How many of a list's entries bear each mark, and how many are still being
// checked (their existence test has not answered yet).
struct MarkCounts {
  std::size_t entries = 0;
  std::size_t notFound = 0;
  std::size_t repeated = 0;
  std::size_t empty = 0;
  std::size_t neverRuns = 0;  // entries with programs that never run
  std::size_t neverExpanded = 0;
  std::size_t unbalancedQuote = 0;
  std::size_t unchecked = 0;
  bool operator==(const MarkCounts&) const = default;
};
[[nodiscard]] MarkCounts CountMarks(const std::vector<EntryJudgement>& judgements);

}  // namespace velmora::environment
