// What is wrong with an entry of a search list: an entry that names nothing
// there, one that repeats an earlier entry, or an empty piece. The window puts
// the marks and their counts into words. Judging is split in two: what the text alone tells (at
// once, on the caller's thread) and the existence test (a file-system question that may take long;
// see ExistenceSweep.h).
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
  std::size_t unchecked = 0;
  bool operator==(const MarkCounts&) const = default;
};
[[nodiscard]] MarkCounts CountMarks(const std::vector<EntryJudgement>& judgements);

}  // namespace velmora::environment
