// The texts the window shows, from the program's string table (Texts.rc.in).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora::window {

// Text id of the string table, read in place: asked with no buffer, the
// system hands out the text inside the loaded program, and nothing is copied.
// "" when the table has no such text.
inline std::wstring_view LoadText(UINT id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text != nullptr ? std::wstring_view(text, static_cast<std::size_t>(length))
                                       : std::wstring_view();
}

// Text id with %1, %2, ... replaced by the values in order.
inline std::wstring LoadText(UINT id, std::initializer_list<std::wstring_view> values) {
  const std::wstring_view pattern = LoadText(id);
  std::wstring text;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    const wchar_t digit = at + 1 < pattern.size() ? pattern[at + 1] : L'\0';
    const auto value = static_cast<std::size_t>(digit - L'1');
    if (pattern[at] == L'%' && digit >= L'1' && value < values.size()) {
      text += values.begin()[value];
      ++at;
    } else {
      text += pattern[at];
    }
  }
  return text;
}

}  // namespace velmora::window
