#include "environment/Identity.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/Text.h"
#include "text/TextBuffer.h"
#include "platform/Failure.h"

namespace velmora::environment {
namespace {

constexpr std::uint32_t kUserNameCapacity = 257;  // 256 characters and the terminator
// The platform's limit on a computer name, in UTF-16 units as its own buffer
// of 32 counts them, and the bytes such a name can take in UTF-8: up to three
// for a unit, four for the two units of a character outside the BMP.
constexpr std::size_t kComputerNameLength = 31;
constexpr std::uint32_t kComputerNameCapacity = kComputerNameLength * 3 + 1;
constexpr std::uint32_t kPathCapacity = 261;  // MAX_PATH and the terminator

using FolderQuery = std::uint32_t (platform::IdentityApi::*)(char*, std::uint32_t);

std::string Folder(const platform::Platform& os, FolderQuery query) {
  return text::FillTextBuffer(kPathCapacity, [&](char* buffer, std::uint32_t capacity) {
    const std::uint32_t length = (os.identity.*query)(buffer, capacity);
    if (length == 0) return text::FillAnswer{};
    return text::FillAnswer{length < capacity, length + 1};
  });
}

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
  return text::FillTextBuffer(kUserNameCapacity, [&](char* buffer, std::uint32_t capacity) {
    std::uint32_t size = capacity;
    if (os.identity.UserName(buffer, &size)) return text::FillAnswer{true, 0};
    return text::FillAnswer{false, size > capacity ? size : 0};
  });
}

std::string GetMachineName(const platform::Platform& os) {
  char buffer[kComputerNameCapacity];
  std::uint32_t size = kComputerNameCapacity;
  if (!os.identity.ComputerName(buffer, &size) || size >= kComputerNameCapacity) return {};
  std::string name(buffer, size);
  if (text::Utf8ToUtf16(name).size() > kComputerNameLength) return {};
  return name;
}

std::string GetTempFolder(const platform::Platform& os) {
  return text::FillTextBuffer(kPathCapacity, [&](char* buffer, std::uint32_t capacity) {
    const std::uint32_t length = os.identity.TempPath(capacity, buffer);
    if (length == 0) return text::FillAnswer{};
    return text::FillAnswer{length < capacity, length + 1};
  });
}

std::string GetWindowsFolder(const platform::Platform& os) {
  return Folder(os, &platform::IdentityApi::WindowsFolder);
}

std::string GetSystemFolder(const platform::Platform& os) {
  return Folder(os, &platform::IdentityApi::SystemFolder);
}

std::string GetNotepadPath(const platform::Platform& os) {
  return ProgramIn(os, GetSystemFolder(os), "notepad.exe");
}

std::string GetExplorerPath(const platform::Platform& os) {
  return ProgramIn(os, GetWindowsFolder(os), "explorer.exe");
}

}  // namespace velmora::environment
