// Who and where, as the in-memory double answers: the user, the machine and
// the folders the platform names. An empty text stands for a query that
// fails.
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace velmora::platform {

class FakeIdentity final : public IdentityApi {
 public:
  std::string userName = "jdoe";
  std::string computerName = "BUILD07";
  std::string tempPath = "C:\\TEMP\\";
  std::string windowsFolder = "C:\\WINDOWS";
  std::string systemFolder = "C:\\WINDOWS\\system32";

  std::optional<std::string> UserName() override { return Answer(userName); }
  std::optional<std::string> ComputerName() override { return Answer(computerName); }
  std::optional<std::string> TempPath() override { return Answer(tempPath); }
  std::optional<std::string> WindowsFolder() override { return Answer(windowsFolder); }
  std::optional<std::string> SystemFolder() override { return Answer(systemFolder); }

 private:
  static std::optional<std::string> Answer(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return text;
  }
};

}  // namespace velmora::platform
