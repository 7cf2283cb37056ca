// An entry's marks in words, as its tip shows them: one line per reason in
// the order of the marks (kMarkOrder), then which of its programs run first.
// Long lists of names or entries are cut with a count ("and 14 more").
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "environment/EntryChecks.h"

namespace velmora::window {

// At most this many names or entry numbers in one line, and lines of one kind.
inline constexpr std::size_t kNamesShown = 5;

// The text of entry number n (from 1) of the same list.
using EntryText = std::function<std::wstring(std::size_t)>;

// The words for the judgement of entry number `entry` (from 1) of a list.
[[nodiscard]] std::wstring MarkWords(const environment::EntryJudgement& judgement,
                                     environment::SearchList kind, std::size_t entry,
                                     const EntryText& entryText);

}  // namespace velmora::window
