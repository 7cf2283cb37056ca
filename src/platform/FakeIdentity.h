// Who and where, as the in-memory double answers: the user, the machine and
// the folders the platform names.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace velmora::platform {

class FakeIdentity final : public IdentityApi {
 public:
  std::string userName = "jdoe";
  std::string computerName = "BUILD07";
  std::string tempPath = "C:\\TEMP\\";
  std::string windowsFolder = "C:\\WINDOWS";  // "" for a query that fails
  std::string systemFolder = "C:\\WINDOWS\\system32";
  bool userNameFails = false;

  bool UserName(char* buffer, std::uint32_t* size) override;
  bool ComputerName(char* buffer, std::uint32_t* size) override;
  std::uint32_t TempPath(std::uint32_t size, char* buffer) override;
  std::uint32_t WindowsFolder(char* buffer, std::uint32_t size) override;
  std::uint32_t SystemFolder(char* buffer, std::uint32_t size) override;
};

}  // namespace velmora::platform
