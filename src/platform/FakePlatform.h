// The in-memory double of the platform. It follows the documented Win32
// behaviour of the calls it stands for, down to the return codes and what the
// in/out lengths hold on every path, so that one test suite passes against it
// and against the real Windows binding alike.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace platform {

class FakeRegistry final : public RegistryApi {
 public:
  // Creates root\path (and nothing else) when it is missing.
  void CreateKey(KeyHandle root, std::string_view path);
  // Stores a value, replacing one whose name differs only in letter case, as
  // the registry does. Creates the key when it is missing.
  void SetValue(KeyHandle root, std::string_view path, std::string_view name, std::uint32_t type,
                std::vector<std::uint8_t> data);
  // Stores a value beside any other, whatever its name: what the registry
  // hands out when two stored names become one on their way to the program.
  void AppendValue(KeyHandle root, std::string_view path, std::string_view name, std::uint32_t type,
                   std::vector<std::uint8_t> data);
  void DeleteKey(KeyHandle root, std::string_view path);
  // From this point on, EnumValue answers `error` for value `index` of every key.
  void FailValue(std::uint32_t index, std::int32_t error) { failures_[index] = error; }

  [[nodiscard]] int OpenHandles() const { return static_cast<int>(open_.size()); }

  std::int32_t OpenKeyEx(KeyHandle root, const char* subKey, std::uint32_t options,
                         std::uint32_t access, KeyHandle* key) override;
  std::int32_t QueryInfoKey(KeyHandle key, std::uint32_t* values, std::uint32_t* maxValueNameLength,
                            std::uint32_t* maxValueLength) override;
  std::int32_t EnumValue(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                         std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* dataLength) override;
  std::int32_t CloseKey(KeyHandle key) override;

 private:
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  using Values = std::vector<Value>;

  Values& Key(KeyHandle root, std::string_view path);

  std::map<std::string, Values> keys_;  // by root and upper-cased path
  std::map<KeyHandle, std::string> open_;
  std::map<std::uint32_t, std::int32_t> failures_;
  KeyHandle nextHandle_ = 0x1000;
};

class FakeEnvironment final : public EnvironmentApi {
 public:
  void Set(std::string_view name, std::string_view value);
  void Unset(std::string_view name);

  std::uint32_t ExpandStrings(const char* source, char* destination, std::uint32_t size) override;
  std::optional<std::string> Variable(const std::string& name) override;

 private:
  std::vector<std::pair<std::string, std::string>> variables_;
};

class FakeIdentity final : public IdentityApi {
 public:
  std::string userName = "jdoe";
  std::string computerName = "BUILD07";
  std::string tempPath = "C:\\TEMP\\";
  bool userNameFails = false;

  bool UserName(char* buffer, std::uint32_t* size) override;
  bool ComputerName(char* buffer, std::uint32_t* size) override;
  std::uint32_t TempPath(std::uint32_t size, char* buffer) override;
};

// Folders and files by full Windows path, with the files' bytes; relative
// paths resolve against the current folder. Names compare without regard to
// case.
class FakeFileSystem final : public FileSystemApi {
 public:
  std::string currentFolder = "C:\\";

  void AddFolder(std::string_view path);
  void AddFile(std::string_view path, std::string content = {});
  // The bytes of the file at path, or nothing when there is no such file.
  [[nodiscard]] std::optional<std::string> Content(std::string_view path) const;
  // Every file below folder (its full, upper-cased path).
  [[nodiscard]] std::vector<std::string> FilesIn(std::string_view folder) const;
  // From now on, the n-th Write (1 for the next) fails with `error` after
  // storing `partial` of its bytes.
  void FailWrite(int n, std::int32_t error, std::uint32_t partial = 0);
  // From now on, every Flush or MoveReplacing fails with `error`.
  void FailFlush(std::int32_t error) { flushError_ = error; }
  void FailMove(std::int32_t error) { moveError_ = error; }

  [[nodiscard]] int OpenFiles() const { return static_cast<int>(open_.size()); }

  std::uint32_t FileAttributes(const std::string& path) override;
  std::int32_t CreateNew(const std::string& path, FileHandle* file) override;
  std::int32_t Write(FileHandle file, const void* data, std::uint32_t size) override;
  std::int32_t Flush(FileHandle file) override;
  std::int32_t Close(FileHandle file) override;
  std::int32_t MoveReplacing(const std::string& from, const std::string& to) override;
  std::int32_t Remove(const std::string& path) override;
  std::string ErrorText(std::int32_t code) override;

 private:
  struct Entry {
    std::uint32_t attributes;
    std::string content;
  };

  [[nodiscard]] std::string Normalize(std::string_view path) const;
  [[nodiscard]] bool IsFolder(const std::string& normalized) const;

  std::map<std::string, Entry> entries_;
  std::map<FileHandle, std::string> open_;
  FileHandle nextHandle_ = 0x100;
  int writesUntilFailure_ = 0;
  std::int32_t writeError_ = 0;
  std::uint32_t writePartial_ = 0;
  std::int32_t flushError_ = 0;
  std::int32_t moveError_ = 0;
};

class FakeClock final : public ClockApi {
 public:
  LocalTime now{2011, 3, 7, 14, 5, 9};
  LocalTime Now() override { return now; }
};

// Records what the program would have shown, asked or started, and answers
// as the test tells it to. Nothing ever blocks.
class RecordingUserServices final : public UserServicesApi {
 public:
  struct Message {
    std::string text;
    std::string caption;
    std::uint32_t style;
  };
  struct Started {
    std::string commandLine;
    int showCommand;
  };

  std::vector<Message> messages;
  std::vector<SaveDialogRequest> saveRequests;
  std::vector<Started> started;
  std::vector<std::string> clipboard;  // every text put on the clipboard

  // The Save dialog's answer: a path, or nothing for a cancel.
  std::optional<std::string> saveAnswer;
  // When set, the next StartProgram, AskSaveFileName or PutClipboardText throws it.
  std::optional<std::pair<std::int32_t, std::string>> failNext;

  int ShowMessage(const std::string& text, const std::string& caption,
                  std::uint32_t style) override;
  std::optional<std::string> AskSaveFileName(const SaveDialogRequest& request) override;
  void StartProgram(const std::string& commandLine, int showCommand) override;
  void PutClipboardText(const std::string& text) override;

 private:
  void ThrowIfFailing();
};

// All doubles together, as one platform.
struct FakePlatform {
  FakeRegistry registry;
  FakeEnvironment environment;
  FakeIdentity identity;
  FakeFileSystem files;
  FakeClock clock;
  RecordingUserServices user;

  [[nodiscard]] Platform Services() {
    return Platform{registry, environment, identity, files, clock, user};
  }
};

}  // namespace platform
