// The one place where the program sizes a text buffer that the platform fills.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace velmora::text {

// What one call of a filling function said.
struct FillAnswer {
  bool filled = false;       // the platform says the text is in the buffer
  std::uint32_t needed = 0;  // otherwise the size it asks for; 0 when it gave up
};

// Calls fill(buffer, capacity) with a buffer of `capacity` bytes, growing it
// until the text fits. A text counts as complete only when the platform says
// it filled the buffer and a NUL stands inside it: some narrow entry points
// report sizes in UTF-16 units, which is too little for UTF-8, and write a
// cut text without its terminator. The buffer starts as blanks so that such a
// cut text is never taken for a whole one. Gives the empty string when the
// platform gives up.
template <class Fill>
std::string FillTextBuffer(std::uint32_t capacity, Fill&& fill) {
  constexpr int kMaxAttempts = 24;
  constexpr std::uint32_t kMaxCapacity = 1u << 22;
  for (int attempt = 0; attempt < kMaxAttempts && capacity <= kMaxCapacity; ++attempt) {
    std::string buffer(capacity, ' ');
    const FillAnswer answer = fill(buffer.data(), capacity);
    if (answer.filled) {
      const auto end = buffer.find('\0');
      if (end != std::string::npos) {
        buffer.resize(end);
        return buffer;
      }
    } else if (answer.needed == 0) {
      return {};
    }
    capacity = std::max(answer.needed, capacity * 2);
  }
  return {};
}

}  // namespace velmora::text
