#include "platform/FakeIdentity.h"

#include <algorithm>
#include <cstring>

#include "platform/Failure.h"
#include "text/Text.h"

namespace velmora::platform {
bool FakeIdentity::UserName(char* buffer, std::uint32_t* size) {
  if (userNameFails) return false;
  const auto needed = static_cast<std::uint32_t>(userName.size() + 1);
  if (needed > *size) {
    *size = needed;
    return false;
  }
  std::memcpy(buffer, userName.c_str(), needed);
  *size = needed;
  return true;
}

bool FakeIdentity::ComputerName(char* buffer, std::uint32_t* size) {
  const auto needed = static_cast<std::uint32_t>(computerName.size() + 1);
  if (needed > *size) {
    *size = needed;
    return false;
  }
  std::memcpy(buffer, computerName.c_str(), needed);
  *size = needed - 1;
  return true;
}

namespace {

// The narrow path queries' contract: the length written, or the size needed.
std::uint32_t PathAnswer(const std::string& path, char* buffer, std::uint32_t size) {
  const auto needed = static_cast<std::uint32_t>(path.size() + 1);
  if (needed > size) return needed;
  std::memcpy(buffer, path.c_str(), needed);
  return needed - 1;
}

}  // namespace

std::uint32_t FakeIdentity::TempPath(std::uint32_t size, char* buffer) {
  return PathAnswer(tempPath, buffer, size);
}

std::uint32_t FakeIdentity::WindowsFolder(char* buffer, std::uint32_t size) {
  return windowsFolder.empty() ? 0 : PathAnswer(windowsFolder, buffer, size);
}

std::uint32_t FakeIdentity::SystemFolder(char* buffer, std::uint32_t size) {
  return systemFolder.empty() ? 0 : PathAnswer(systemFolder, buffer, size);
}

}  // namespace velmora::platform
