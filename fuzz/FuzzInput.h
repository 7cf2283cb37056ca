// Reads a fuzz input as a little program of operations on the platform
// double. Reading never fails: past the end every read answers zero or empty,
// so any bytes at all make a valid input.
//
//   Byte()   one byte
//   Word()   four bytes, little-endian
//   Bytes()  a length, then that many bytes (fewer at the end of the input);
//            the length is one byte below 0xF0, else (byte - 0xF0) * 256 plus
//            the next byte, up to 4095
//   Text()   Bytes() as a text
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::fuzzing {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  [[nodiscard]] bool Empty() const { return at_ >= size_; }

  std::uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }

  std::uint32_t Word() {
    std::uint32_t word = 0;
    for (int shift = 0; shift < 32; shift += 8) word |= std::uint32_t{Byte()} << shift;
    return word;
  }

  std::vector<std::uint8_t> Bytes() {
    std::size_t length = Byte();
    if (length >= 0xF0) length = ((length - 0xF0) << 8) | Byte();
    length = std::min(length, size_ - std::min(at_, size_));
    std::vector<std::uint8_t> bytes(data_ + at_, data_ + at_ + length);
    at_ += length;
    return bytes;
  }

  std::string Text() {
    const std::vector<std::uint8_t> bytes = Bytes();
    return std::string(bytes.begin(), bytes.end());
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// text up to its first NUL, as the platform keeps texts that cannot hold one.
inline std::string UpToNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

// Stops the run on a broken promise; libFuzzer keeps the input that did it.
[[noreturn]] void Fail(const char* what);

inline void Require(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace velmora::fuzzing
