#include "text/Text.h"

#include <cstddef>
#include <cstdint>

namespace velmora::text {
namespace {

// One code point read from UTF-8, or one raw byte where the text is not valid
// UTF-8 (such bytes are never letters and pass through unchanged).
struct CodePoint {
  char32_t value;
  std::size_t length;
  bool valid;
};

CodePoint Decode(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length = 0;
  char32_t value = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07u;
  } else {
    return {lead, 1, false};
  }
  if (at + length > text.size()) return {lead, 1, false};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return {lead, 1, false};
    value = (value << 6) | (next & 0x3Fu);
  }
  // An overlong form is no code point of its own.
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < smallest[length]) return {lead, 1, false};
  return {value, length, true};
}

void Encode(char32_t value, std::string& out) {
  if (value < 0x80) {
    out += static_cast<char>(value);
  } else if (value < 0x800) {
    out += static_cast<char>(0xC0 | (value >> 6));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    out += static_cast<char>(0xE0 | (value >> 12));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (value >> 18));
    out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  }
}

bool In(char32_t c, char32_t first, char32_t last) {
  return c >= first && c <= last;
}

// Blocks where upper and lower case alternate: upper on even code points when
// upperEven holds, on odd ones otherwise.
char32_t AlternatingUpper(char32_t c, bool upperEven) {
  const bool isEven = (c % 2) == 0;
  return isEven == upperEven ? c : c - 1;
}

char32_t Upper(char32_t c) {
  if (In(c, U'a', U'z')) return c - 0x20;
  if (c < 0xE0) return c;
  if (In(c, 0xE0, 0xFE)) return c == 0xF7 ? c : c - 0x20;
  if (c == 0xFF) return 0x178;
  if (In(c, 0x100, 0x12F) || In(c, 0x132, 0x137) || In(c, 0x14A, 0x177))
    return AlternatingUpper(c, true);
  if (In(c, 0x139, 0x148) || In(c, 0x179, 0x17E)) return AlternatingUpper(c, false);
  if (c == 0x3AC) return 0x386;
  if (In(c, 0x3AD, 0x3AF)) return c - 0x25;
  if (c == 0x3C2) return 0x3A3;
  if (In(c, 0x3B1, 0x3CB)) return c - 0x20;
  if (c == 0x3CC) return 0x38C;
  if (In(c, 0x3CD, 0x3CE)) return c - 0x3F;
  if (In(c, 0x430, 0x44F)) return c - 0x20;
  if (In(c, 0x450, 0x45F)) return c - 0x50;
  if (In(c, 0x460, 0x481) || In(c, 0x48A, 0x4BF) || In(c, 0x4D0, 0x52F))
    return AlternatingUpper(c, true);
  if (In(c, 0x4C1, 0x4CE)) return AlternatingUpper(c, false);
  return c;
}

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
}

}  // namespace

std::vector<std::string_view> SplitSearchList(std::string_view list) {
  std::vector<std::string_view> pieces;
  if (list.empty()) return pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = list.find(';', start);
    if (end == std::string_view::npos) {
      pieces.push_back(list.substr(start));
      return pieces;
    }
    pieces.push_back(list.substr(start, end - start));
    start = end + 1;
  }
}

std::string UpperCase(std::string_view text) {
  // ASCII, nearly every name a folder holds, upper-cased in place; from the
  // first other byte on, the text is decoded.
  std::string out(text);
  std::size_t at = 0;
  while (at < out.size() && static_cast<unsigned char>(out[at]) < 0x80) {
    out[at] = AsciiUpper(out[at]);
    ++at;
  }
  if (at == out.size()) return out;
  out.resize(at);
  while (at < text.size()) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      out += AsciiUpper(text[at++]);
      continue;
    }
    const CodePoint cp = Decode(text, at);
    if (cp.valid) {
      Encode(Upper(cp.value), out);
    } else {
      out += text[at];
    }
    at += cp.length;
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[j]);
    if (ca < 0x80 && cb < 0x80) {
      if (AsciiUpper(a[i]) != AsciiUpper(b[j])) return false;
      ++i;
      ++j;
      continue;
    }
    const CodePoint pa = Decode(a, i);
    const CodePoint pb = Decode(b, j);
    if (pa.valid != pb.valid) return false;
    if (pa.valid ? Upper(pa.value) != Upper(pb.value) : pa.value != pb.value) return false;
    i += pa.length;
    j += pb.length;
  }
  return i == a.size() && j == b.size();
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const CodePoint cp = Decode(text, at);
    at += cp.length;
    const bool scalar =
        cp.valid && cp.value <= 0x10FFFF && !(cp.value >= 0xD800 && cp.value <= 0xDFFF);
    const char32_t value = scalar ? cp.value : U'\uFFFD';
    if (value < 0x10000) {
      wide += static_cast<char16_t>(value);
    } else {
      wide += static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10));
      wide += static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF));
    }
  }
  return wide;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  // ASCII, nearly every name a folder holds, a byte for each unit; from the
  // first other unit on, each is encoded.
  std::size_t ascii = 0;
  while (ascii < text.size() && text[ascii] < 0x80) ++ascii;
  std::string narrow(ascii, '\0');
  for (std::size_t at = 0; at < ascii; ++at) narrow[at] = static_cast<char>(text[at]);
  if (ascii == text.size()) return narrow;
  narrow.reserve(text.size() + (text.size() - ascii) * 2);
  for (std::size_t at = ascii; at < text.size(); ++at) {
    char32_t value = text[at];
    const bool high = value >= 0xD800 && value <= 0xDBFF;
    const bool low = value >= 0xDC00 && value <= 0xDFFF;
    if (high && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF) {
      value = 0x10000 + ((value - 0xD800) << 10) + (text[++at] - 0xDC00);
    } else if (high || low) {
      value = U'\uFFFD';
    }
    Encode(value, narrow);
  }
  return narrow;
}

}  // namespace velmora::text
