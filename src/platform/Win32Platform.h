// The real platform. The program runs with the UTF-8 active code page, so the
// narrow entry points carry UTF-8, but many of them cut or mis-size a text
// whose UTF-8 form is longer than its UTF-16 form: they count in UTF-16 units.
// Each call therefore goes to the wide entry point and converts here, at the
// seam; only the registry reader keeps the narrow entry points, which are
// exact for every character.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Failure.h"
#include "platform/Platform.h"

namespace velmora::platform {

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
  std::optional<std::string> ExpandStrings(const std::string& source) override;
  std::optional<std::string> Variable(const std::string& name) override;
};

class Win32Identity final : public IdentityApi {
 public:
  std::optional<std::string> UserName() override;
  std::optional<std::string> ComputerName() override;
  std::optional<std::string> TempPath() override;
  std::optional<std::string> WindowsFolder() override;
  std::optional<std::string> SystemFolder() override;
};

class Win32FileSystem final : public FileSystemApi {
 public:
  std::uint32_t FileAttributes(const std::string& path) override;
  std::optional<std::vector<FolderFile>> ListFolder(const std::string& folder) override;
  std::optional<std::vector<std::string>> ListNames(const std::string& folder) override;
  bool SameBytes(const std::string& first, const std::string& second) override;
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
  void StartProgram(const std::string& application, const std::string& commandLine,
                    int showCommand) override;
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
  // Shared, so that an existence test still under way on a thread of its own
  // never outlives the file system it asks.
  std::shared_ptr<Win32FileSystem> sharedFiles = std::make_shared<Win32FileSystem>();
  Win32FileSystem& files = *sharedFiles;
  Win32Clock clock;
  Win32UserServices user;

  [[nodiscard]] Platform Services() {
    return Platform{registry, environment, identity, files, clock, user, sharedFiles};
  }
};

// The program's UTF-8 text in the form the wide entry points take, and back.
[[nodiscard]] std::wstring WideText(std::string_view text);
[[nodiscard]] std::string Utf8Text(std::wstring_view text);

// Restricts the loading of libraries to the system folder and takes the
// current folder out of every library search, so that no library lying beside
// the program or in the current folder is ever loaded in place of the
// system's. Run first thing at start-up; true when both restrictions hold.
[[nodiscard]] bool HardenLibraryLoading();

// The system's message text for a Win32 error code, without its line break.
[[nodiscard]] std::string SystemMessage(std::uint32_t code);

// A Failure for a Win32 error code, carrying the system's message text.
[[nodiscard]] Failure Win32Failure(std::uint32_t code);

}  // namespace velmora::platform
