#include "text/TextBuffer.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

using modWinAPI::FillAnswer;
using modWinAPI::FillTextBuffer;

// A narrow entry point that counts sizes in UTF-16 units: it asks for too
// little, and into a buffer too small for the UTF-8 bytes it writes a cut text
// without terminator, leaving the rest of the buffer as it found it.
TEST(TextBufferFilling, GrowsUntilTheTerminatorFitsInside) {
  const std::string text = "\xC3\xA9\xC3\xA9\xC3\xA9";  // three characters, six bytes
  const auto unitCounting = [&](char* buffer, std::uint32_t capacity) {
    if (capacity <= 3) return FillAnswer{false, 4};
    std::memcpy(buffer, text.c_str(), std::min<std::size_t>(capacity - 1, text.size() + 1));
    return FillAnswer{true, 0};
  };
  for (std::uint32_t capacity : {1u, 5u, 6u}) {
    EXPECT_EQ(FillTextBuffer(capacity, unitCounting), text) << capacity;
  }
  const auto withNul = [](char* buffer, std::uint32_t) {
    std::memcpy(buffer, "ab\0cd", 6);
    return FillAnswer{true, 0};
  };
  EXPECT_EQ(FillTextBuffer(8, withNul), "ab");
}

TEST(TextBufferFilling, GivesTheEmptyStringWhenThePlatformGivesUpOrNeverFills) {
  EXPECT_EQ(FillTextBuffer(8, [](char*, std::uint32_t) { return FillAnswer{}; }), "");
  const auto alwaysMore = [](char*, std::uint32_t capacity) {
    return FillAnswer{false, capacity + 1};
  };
  EXPECT_EQ(FillTextBuffer(8, alwaysMore), "");
}

}  // namespace
