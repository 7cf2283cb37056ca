// What is wrong with an entry of a search list, in the terms the window shows:
// an entry that names nothing there, one that repeats an earlier entry, or an
// empty piece. Judging is split in two: what the text alone tells (at once, on
// the caller's thread) and the existence test (a file-system question that
// may take long; see ExistenceSweep.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace velmora::environment {

enum class SearchList : std::uint8_t { kPath, kClasspath };

// The marks, numbered as the overlay pictures that show them. When more than
// one applies, an empty piece is an empty entry, and a repeat is a repeat
// whether or not the place exists: its first occurrence carries that mark.
enum class EntryMark : std::uint8_t { kNone = 0, kNotFound = 1, kRepeated = 2, kEmpty = 3 };

// What the existence test asks of a place.
enum class Wanted : std::uint8_t {
  kFolder,    // a PATH entry, a CLASSPATH folder or "dir\*"
  kFile,      // a CLASSPATH archive (.jar, .zip)
  kAnything,  // any other CLASSPATH entry: Java reads a file there as an archive
};

struct EntryJudgement {
  EntryMark mark = EntryMark::kNone;
  std::size_t sameAs = 0;     // for kRepeated: the earlier entry, counted from 1
  bool awaitingTest = false;  // the existence test is still to answer
  std::string place;          // what the existence test asks about
  Wanted wanted = Wanted::kFolder;
};

// Judges one list's entries, in order, from their text: empty pieces,
// repeats (compared once %NAME% references are expanded from the process
// environment, letter case aside, one closing backslash ignored), and for
// every other entry the existence test still to be made.
[[nodiscard]] std::vector<EntryJudgement> JudgeEntries(SearchList list,
                                                       const std::vector<std::string_view>& entries,
                                                       platform::EnvironmentApi& environment);

// The existence test: whether place names what is wanted. Never throws; a
// question the platform cannot answer counts as nothing there.
[[nodiscard]] bool NamesWhatIsWanted(platform::FileSystemApi& files, const std::string& place,
                                     Wanted wanted);

// Takes an existence test's answer into a judgement.
void TakeAnswer(EntryJudgement& judgement, bool found);

// The mark in words, as the entry's tip shows it; "" for an entry without one.
[[nodiscard]] std::string MarkText(SearchList list, const EntryJudgement& judgement);

// A count with a comma between groups of three digits: 32,767.
[[nodiscard]] std::string WithThousands(std::size_t number);

// The longest value a variable can hold, in characters.
inline constexpr std::size_t kVariableLimit = 32767;

// One list in a line: "Path: 57 entries, 2 not found, 1 repeated, 1 empty;
// 1,234 of 32,767 characters", and how many entries are still being checked
// while there are any. `characters` is the variable's length in UTF-16 units,
// as Windows counts it.
[[nodiscard]] std::string ListSummary(SearchList list,
                                      const std::vector<EntryJudgement>& judgements,
                                      std::size_t characters);

}  // namespace velmora::environment
