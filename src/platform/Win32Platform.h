// The real platform: each call goes straight to its Win32 narrow-character
// entry point. The program runs with the UTF-8 active code page, so those
// entry points carry UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Failure.h"
#include "platform/Platform.h"

namespace platform {

class Win32Registry final : public RegistryApi {
 public:
  std::int32_t OpenKeyEx(KeyHandle root, const char* subKey, std::uint32_t options,
                         std::uint32_t access, KeyHandle* key) override;
  std::int32_t QueryInfoKey(KeyHandle key, std::uint32_t* values, std::uint32_t* maxValueNameLength,
                            std::uint32_t* maxValueLength) override;
  std::int32_t EnumValue(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                         std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* dataLength) override;
  std::int32_t CloseKey(KeyHandle key) override;
};

class Win32Environment final : public EnvironmentApi {
 public:
  std::uint32_t ExpandStrings(const char* source, char* destination, std::uint32_t size) override;
  std::optional<std::string> Variable(const std::string& name) override;
};

class Win32Identity final : public IdentityApi {
 public:
  bool UserName(char* buffer, std::uint32_t* size) override;
  bool ComputerName(char* buffer, std::uint32_t* size) override;
  std::uint32_t TempPath(std::uint32_t size, char* buffer) override;
};

class Win32FileSystem final : public FileSystemApi {
 public:
  std::uint32_t FileAttributes(const std::string& path) override;
  std::int32_t CreateNew(const std::string& path, FileHandle* file) override;
  std::int32_t Write(FileHandle file, const void* data, std::uint32_t size) override;
  std::int32_t Flush(FileHandle file) override;
  std::int32_t Close(FileHandle file) override;
  std::int32_t MoveReplacing(const std::string& from, const std::string& to) override;
  std::int32_t Remove(const std::string& path) override;
  std::string ErrorText(std::int32_t code) override;
};

class Win32Clock final : public ClockApi {
 public:
  LocalTime Now() override;
};

class Win32UserServices final : public UserServicesApi {
 public:
  int ShowMessage(const std::string& text, const std::string& caption,
                  std::uint32_t style) override;
  std::optional<std::string> AskSaveFileName(const SaveDialogRequest& request) override;
  void StartProgram(const std::string& commandLine, int showCommand) override;
  void PutClipboardText(const std::string& text) override;

 private:
  // The common dialog library (comdlg32), loaded when the Save As dialog is
  // first asked for and let go with this object. Loading it brings the shell
  // with it, which start-up has no use for.
  std::shared_ptr<void> commonDialogs_;
};

struct Win32Platform {
  Win32Registry registry;
  Win32Environment environment;
  Win32Identity identity;
  Win32FileSystem files;
  Win32Clock clock;
  Win32UserServices user;

  [[nodiscard]] Platform Services() {
    return Platform{registry, environment, identity, files, clock, user};
  }
};

// The system's message text for a Win32 error code, without its line break.
[[nodiscard]] std::string SystemMessage(std::uint32_t code);

// A Failure for a Win32 error code, carrying the system's message text.
[[nodiscard]] Failure Win32Failure(std::uint32_t code);

}  // namespace platform
