#include "platform/Win32Platform.h"

#include <windows.h>

#include "environment/TextBuffer.h"

namespace platform {
namespace {

// The predefined roots are sign-extended handle values on 64-bit Windows.
HKEY ToHkey(KeyHandle key) {
  if (key == kCurrentUser) return HKEY_CURRENT_USER;
  if (key == kLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

DWORD* AsDword(std::uint32_t* value) {
  static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
  return reinterpret_cast<DWORD*>(value);
}

}  // namespace

std::int32_t Win32Registry::OpenKeyEx(KeyHandle root, const char* subKey, std::uint32_t options,
                                      std::uint32_t access, KeyHandle* key) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExA(ToHkey(root), subKey, options, access, &opened);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<KeyHandle>(opened);
  return status;
}

std::int32_t Win32Registry::EnumValue(KeyHandle key, std::uint32_t index, char* name,
                                      std::uint32_t* nameLength, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* dataLength) {
  return RegEnumValueA(ToHkey(key), index, name, AsDword(nameLength), nullptr, AsDword(type), data,
                       AsDword(dataLength));
}

std::int32_t Win32Registry::CloseKey(KeyHandle key) {
  return RegCloseKey(ToHkey(key));
}

std::uint32_t Win32Environment::ExpandStrings(const char* source, char* destination,
                                              std::uint32_t size) {
  return ExpandEnvironmentStringsA(source, destination, size);
}

std::optional<std::string> Win32Environment::Variable(const std::string& name) {
  bool found = true;
  std::string value = modWinAPI::FillTextBuffer(256, [&](char* buffer, std::uint32_t capacity) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, capacity);
    if (length == 0) {
      // Zero is both "not set" and "set to the empty string".
      found = GetLastError() != ERROR_ENVVAR_NOT_FOUND;
      buffer[0] = '\0';
      return modWinAPI::FillAnswer{found, 0};
    }
    return modWinAPI::FillAnswer{length < capacity, length + 1};
  });
  if (!found) return std::nullopt;
  return value;
}

bool Win32Identity::UserName(char* buffer, std::uint32_t* size) {
  return GetUserNameA(buffer, AsDword(size)) != FALSE;
}

bool Win32Identity::ComputerName(char* buffer, std::uint32_t* size) {
  return GetComputerNameA(buffer, AsDword(size)) != FALSE;
}

std::uint32_t Win32Identity::TempPath(std::uint32_t size, char* buffer) {
  return GetTempPathA(size, buffer);
}

std::uint32_t Win32FileSystem::FileAttributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

LocalTime Win32Clock::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::string SystemMessage(std::uint32_t code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length == 0 ? std::string() : std::string(text, length);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  if (message.empty()) message = "Error " + std::to_string(code);
  return message;
}

Failure Win32Failure(std::uint32_t code) {
  return Failure(static_cast<std::int32_t>(code), SystemMessage(code));
}

}  // namespace platform
