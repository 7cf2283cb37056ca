// UTF-16 and UTF-8 by the platform's own conversion, for tests that read back
// what the program shows or stores as another program would, apart from the
// program's own conversion.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace velmora::testing_support {

inline std::wstring Utf16Of(std::string_view text) {
  if (text.empty()) return {};
  const auto size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

inline std::string Utf8Of(std::wstring_view text) {
  if (text.empty()) return {};
  const auto size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace velmora::testing_support
