// Text rules shared by the window, the lookups and the report. Text is UTF-8
// throughout the program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::text {

// Cuts a search list at every ";" from left to right. Empty pieces stay, a
// trailing ";" gives an empty last piece, and the empty string gives no pieces
// at all. Pieces are kept exactly as written.
[[nodiscard]] std::vector<std::string_view> SplitSearchList(std::string_view list);

// Upper-cases letters of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
// (the letters of the character sets Windows installations use for variable
// names and paths); every other byte is kept as it is.
[[nodiscard]] std::string UpperCase(std::string_view text);

// Whether two texts are equal when letter case is ignored.
[[nodiscard]] bool EqualsNoCase(std::string_view a, std::string_view b);

// UTF-16 form of a UTF-8 text, for the places where text leaves the program
// in that form (the report file, the clipboard, the platform's wide entry
// points). A byte that is not part of valid UTF-8 becomes U+FFFD.
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);

// UTF-8 form of a UTF-16 text, for text that arrives from the platform's wide
// entry points. A surrogate without its partner becomes U+FFFD, as in the
// platform's own conversion, so texts that differ only there arrive as one.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace velmora::text
