#include "environment/Identity.h"

#include <cstdint>

#include "environment/TextBuffer.h"

namespace modWinAPI {
namespace {

constexpr std::uint32_t kUserNameCapacity = 257;  // 256 characters and the terminator
constexpr std::uint32_t kComputerNameCapacity = 32;
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
  return std::string(buffer, size);
}

std::string GetTempFolder(const platform::Platform& os) {
  return FillTextBuffer(kTempPathCapacity, [&](char* buffer, std::uint32_t capacity) {
    const std::uint32_t length = os.identity.TempPath(capacity, buffer);
    if (length == 0) return FillAnswer{};
    return FillAnswer{length < capacity, length + 1};
  });
}

}  // namespace modWinAPI
