#include "environment/Identity.h"

#include <cstddef>
#include <string_view>

#include "platform/Failure.h"
#include "text/Text.h"

namespace velmora::environment {
namespace {

// The platform's limit on a computer name, in UTF-16 units as its own buffer
// of 32 counts them.
constexpr std::size_t kComputerNameLength = 31;

std::string ProgramIn(const platform::Platform& os, const std::string& folder,
                      std::string_view fileName) {
  // Without its folder the name would be looked for where anyone may put a
  // file of that name: that is never tried.
  if (folder.empty()) {
    throw platform::Failure(platform::kErrorFileNotFound,
                            os.files.ErrorText(platform::kErrorFileNotFound));
  }
  return folder + (folder.back() == '\\' ? "" : "\\") + std::string(fileName);
}

}  // namespace

std::string GetCurrentUserName(const platform::Platform& os) {
  return os.identity.UserName().value_or(std::string());
}

std::string GetMachineName(const platform::Platform& os) {
  std::string name = os.identity.ComputerName().value_or(std::string());
  if (text::Utf8ToUtf16(name).size() > kComputerNameLength) return {};
  return name;
}

std::string GetTempFolder(const platform::Platform& os) {
  return os.identity.TempPath().value_or(std::string());
}

std::string GetWindowsFolder(const platform::Platform& os) {
  return os.identity.WindowsFolder().value_or(std::string());
}

std::string GetSystemFolder(const platform::Platform& os) {
  return os.identity.SystemFolder().value_or(std::string());
}

std::string GetNotepadPath(const platform::Platform& os) {
  return ProgramIn(os, GetSystemFolder(os), "notepad.exe");
}

std::string GetExplorerPath(const platform::Platform& os) {
  return ProgramIn(os, GetWindowsFolder(os), "explorer.exe");
}

}  // namespace velmora::environment
