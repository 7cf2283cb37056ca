#include "text/TextBuffer.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

using modWinAPI::FillAnswer;
using modWinAPI::FillTextBuffer;

// A narrow entry point that reports its size in UTF-16 units and writes a cut
// text without terminator when the buffer is too small for the UTF-8 bytes.
struct UnitCountingCall {
  std::string text;  // UTF-8
  std::uint32_t units;
  int calls = 0;

  FillAnswer operator()(char* buffer, std::uint32_t capacity) {
    ++calls;
    if (capacity <= units) return {false, units};
    const std::size_t fits = std::min<std::size_t>(capacity, text.size() + 1);
    std::memcpy(buffer, text.c_str(), fits);
    return {true, 0};
  }
};

TEST(TextBufferFilling, GrowsUntilTheTerminatorFitsInside) {
  UnitCountingCall call{"\xC3\xA9\xC3\xA9\xC3\xA9", 4};  // three characters, six bytes
  EXPECT_EQ(FillTextBuffer(1, std::ref(call)), call.text);
  EXPECT_GT(call.calls, 2);
}

TEST(TextBufferFilling, TakesTheTextUpToItsFirstNul) {
  auto call = [](char* buffer, std::uint32_t) {
    std::memcpy(buffer, "ab\0cd", 6);
    return FillAnswer{true, 0};
  };
  EXPECT_EQ(FillTextBuffer(8, call), "ab");
}

TEST(TextBufferFilling, GivesTheEmptyStringWhenThePlatformGivesUp) {
  int calls = 0;
  EXPECT_EQ(FillTextBuffer(8,
                           [&](char*, std::uint32_t) {
                             ++calls;
                             return FillAnswer{};
                           }),
            "");
  EXPECT_EQ(calls, 1);
}

TEST(TextBufferFilling, StopsWhenThePlatformNeverFills) {
  int calls = 0;
  EXPECT_EQ(FillTextBuffer(8,
                           [&](char*, std::uint32_t capacity) {
                             ++calls;
                             return FillAnswer{false, capacity + 1};
                           }),
            "");
  EXPECT_LE(calls, 24);
}

}  // namespace
