#include "environment/Identity.h"

#include <cstddef>
#include <cstdint>

#include "environment/Text.h"
#include "environment/TextBuffer.h"

namespace modWinAPI {
namespace {

constexpr std::uint32_t kUserNameCapacity = 257;  // 256 characters and the terminator
// The platform's limit on a computer name, in UTF-16 units as its own buffer
// of 32 counts them, and the bytes such a name can take in UTF-8: up to three
// for a unit, four for the two units of a character outside the BMP.
constexpr std::size_t kComputerNameLength = 31;
constexpr std::uint32_t kComputerNameCapacity = kComputerNameLength * 3 + 1;
constexpr std::uint32_t kTempPathCapacity = 261;  // MAX_PATH and the terminator

}  // namespace

std::string GetCurrentUserName(const platform::Platform& os) {
  return FillTextBuffer(kUserNameCapacity, [&](char* buffer, std::uint32_t capacity) {
    std::uint32_t size = capacity;
    if (os.identity.UserName(buffer, &size)) return FillAnswer{true, 0};
    return FillAnswer{false, size > capacity ? size : 0};
  });
}

std::string GetMachineName(const platform::Platform& os) {
  char buffer[kComputerNameCapacity];
  std::uint32_t size = kComputerNameCapacity;
  if (!os.identity.ComputerName(buffer, &size) || size >= kComputerNameCapacity) return {};
  std::string name(buffer, size);
  if (modUtils::Utf8ToUtf16(name).size() > kComputerNameLength) return {};
  return name;
}

std::string GetTempFolder(const platform::Platform& os) {
  return FillTextBuffer(kTempPathCapacity, [&](char* buffer, std::uint32_t capacity) {
    const std::uint32_t length = os.identity.TempPath(capacity, buffer);
    if (length == 0) return FillAnswer{};
    return FillAnswer{length < capacity, length + 1};
  });
}

}  // namespace modWinAPI
