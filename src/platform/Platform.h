// The thin seam between the program and the operating system.
//
// Every service is one small interface shaped like the Win32 call it stands
// for, so that the logic above it can be read against the platform's own
// documentation. Win32Platform binds the real calls; FakePlatform is the
// in-memory double the tests run against on Linux and on Windows alike.
//
// Text crosses the seam as UTF-8. A text the platform answers with comes back
// whole, sized by the binding; only the registry enumeration fills buffers
// of its caller, and every size it reports counts UTF-8 bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::platform {

// A registry key handle as the platform hands it out. The predefined roots are
// fixed values and are never closed.
using KeyHandle = std::uintptr_t;
inline constexpr KeyHandle kCurrentUser = 0x80000001u;
inline constexpr KeyHandle kLocalMachine = 0x80000002u;

// Win32 error codes the program looks at.
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorPathNotFound = 3;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorInvalidParameter = 87;
inline constexpr std::int32_t kErrorMoreData = 234;
inline constexpr std::int32_t kErrorNoMoreItems = 259;

// Registry value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

inline constexpr std::uint32_t kKeyQueryValue = 0x0001;

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  // RegOpenKeyExA: 0 and a handle in *key, or an error code and *key untouched.
  [[nodiscard]] virtual std::int32_t OpenKeyEx(KeyHandle root, const char* subKey,
                                               std::uint32_t options, std::uint32_t access,
                                               KeyHandle* key) = 0;

  // RegQueryInfoKeyA, asked about the key's values only: their number, the
  // length of the longest value name in UTF-16 units without its terminator,
  // and the size in bytes of the longest value's data as the registry stores
  // it (strings in UTF-16, so their narrow form may need up to half as much
  // again). Any output may be null. 0 on success, or an error code and the
  // outputs untouched.
  [[nodiscard]] virtual std::int32_t QueryInfoKey(KeyHandle key, std::uint32_t* values,
                                                  std::uint32_t* maxValueNameLength,
                                                  std::uint32_t* maxValueLength) = 0;

  // RegEnumValueA. nameLength holds the name buffer's size in characters on the
  // way in and, on success only, the name's length without terminator on the
  // way out. dataLength holds the data buffer's size in bytes on the way in and
  // the value's size on the way out, also when the call fails with
  // kErrorMoreData. A failure on the data leaves the name buffer unwritten.
  [[nodiscard]] virtual std::int32_t EnumValue(KeyHandle key, std::uint32_t index, char* name,
                                               std::uint32_t* nameLength, std::uint32_t* type,
                                               std::uint8_t* data, std::uint32_t* dataLength) = 0;

  // RegCloseKey.
  virtual std::int32_t CloseKey(KeyHandle key) = 0;
};

class EnvironmentApi {
 public:
  virtual ~EnvironmentApi() = default;

  // ExpandEnvironmentStrings: source, up to its first NUL, with its %NAME%
  // references expanded; nothing when the platform cannot give the expansion
  // whole (it fails, or the expansion passes the platform's limit of 32K
  // characters; under Wine it holds at most 32,766).
  [[nodiscard]] virtual std::optional<std::string> ExpandStrings(const std::string& source) = 0;

  // A variable of the program's own process, its name matched without regard
  // to letter case; nothing when it is not set.
  [[nodiscard]] virtual std::optional<std::string> Variable(const std::string& name) = 0;
};

// Who and where, each answer whole or nothing when the platform cannot tell.
class IdentityApi {
 public:
  virtual ~IdentityApi() = default;

  // GetUserName and GetComputerName.
  [[nodiscard]] virtual std::optional<std::string> UserName() = 0;
  [[nodiscard]] virtual std::optional<std::string> ComputerName() = 0;

  // GetTempPath: the temporary folder with its closing "\".
  [[nodiscard]] virtual std::optional<std::string> TempPath() = 0;

  // GetSystemWindowsDirectory: the shared Windows folder (never a user's
  // private copy of it on a terminal server), and GetSystemDirectory: the
  // system folder.
  [[nodiscard]] virtual std::optional<std::string> WindowsFolder() = 0;
  [[nodiscard]] virtual std::optional<std::string> SystemFolder() = 0;
};

using FileHandle = std::uintptr_t;

inline constexpr std::int32_t kErrorFileExists = 80;
inline constexpr std::int32_t kErrorDiskFull = 112;

inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10u;
inline constexpr std::uint32_t kFileAttributeReparsePoint = 0x400u;
// IO_REPARSE_TAG_APPEXECLINK: an app execution alias, the zero-byte link that
// starts a packaged (Store) program by a name on PATH.
inline constexpr std::uint32_t kReparseTagAppExecLink = 0x8000001Bu;

// One file that a folder holds.
struct FolderFile {
  std::string name;  // as stored, without the folder
  std::uint64_t size = 0;
  bool executionAlias = false;  // an app execution alias
  bool operator==(const FolderFile&) const = default;
};

class FileSystemApi {
 public:
  virtual ~FileSystemApi() = default;

  // GetFileAttributes: kInvalidFileAttributes when nothing can be found at the
  // path or the path cannot be asked about. Relative paths resolve against the
  // process's current folder.
  [[nodiscard]] virtual std::uint32_t FileAttributes(const std::string& path) = 0;

  // FindFirstFileEx and FindNextFile over folder\*: the files (folders left
  // out) the folder holds, in the order the platform gives them; nothing when
  // the folder cannot be listed.
  [[nodiscard]] virtual std::optional<std::vector<FolderFile>> ListFolder(
      const std::string& folder) = 0;

  // FindFirstFileEx and FindNextFile over folder\*: the name of everything the
  // folder holds, files and folders, and the short name beside each that has
  // one; nothing when the folder cannot be listed.
  [[nodiscard]] virtual std::optional<std::vector<std::string>> ListNames(
      const std::string& folder) = 0;

  // Whether two files of equal size hold the same bytes, both read through;
  // false when either cannot be read.
  [[nodiscard]] virtual bool SameBytes(const std::string& first, const std::string& second) = 0;

  // CreateFile for writing, CREATE_NEW: 0 and an open file in *file, or an
  // error code (kErrorFileExists when the name is taken).
  [[nodiscard]] virtual std::int32_t CreateNew(const std::string& path, FileHandle* file) = 0;

  // WriteFile: 0 when all `size` bytes were written, or an error code.
  [[nodiscard]] virtual std::int32_t Write(FileHandle file, const void* data,
                                           std::uint32_t size) = 0;

  // FlushFileBuffers: 0 once the bytes are on the disk, or an error code.
  [[nodiscard]] virtual std::int32_t Flush(FileHandle file) = 0;

  // CloseHandle.
  virtual std::int32_t Close(FileHandle file) = 0;

  // MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH: puts
  // `from` in the place of `to` in one step, whether or not `to` exists.
  [[nodiscard]] virtual std::int32_t MoveReplacing(const std::string& from,
                                                   const std::string& to) = 0;

  // DeleteFile.
  virtual std::int32_t Remove(const std::string& path) = 0;

  // FormatMessage: the system's text for an error code.
  [[nodiscard]] virtual std::string ErrorText(std::int32_t code) = 0;
};

// The local date and time, as GetLocalTime gives it.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class ClockApi {
 public:
  virtual ~ClockApi() = default;
  [[nodiscard]] virtual LocalTime Now() = 0;
};

// MessageBox styles and answers the program uses.
inline constexpr std::uint32_t kMbOk = 0x0000u;
inline constexpr std::uint32_t kMbIconExclamation = 0x0030u;
inline constexpr int kIdOk = 1;

// ShowWindow commands for a started program.
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowNoActivate = 4;

// What the Save As dialog is opened with. The filter is written as the
// program's texts write it, "Description|pattern|Description|pattern".
struct SaveDialogRequest {
  std::string filter;
  int filterIndex = 1;  // 1 is the first pair
  std::string fileName;
};

// The services through which the program reaches the user: message boxes, the
// Save As dialog, other programs and the clipboard. Boxes and dialogs are
// modal to the program's active window.
class UserServicesApi {
 public:
  virtual ~UserServicesApi() = default;

  // MessageBox: the button the user pressed.
  virtual int ShowMessage(const std::string& text, const std::string& caption,
                          std::uint32_t style) = 0;

  // GetSaveFileName: the chosen path, or nothing when the user cancelled.
  // Throws Failure when the dialog itself fails.
  [[nodiscard]] virtual std::optional<std::string> AskSaveFileName(
      const SaveDialogRequest& request) = 0;

  // CreateProcess without waiting for the program; throws Failure when it
  // cannot be started. application is the program's full path and the only
  // file that is started: the platform never looks for it beside this program,
  // in the current folder or along PATH. The command line is what the started
  // program receives, passed as it is, never through a command interpreter.
  virtual void StartProgram(const std::string& application, const std::string& commandLine,
                            int showCommand) = 0;

  // Empties the clipboard and puts text on it as plain text; throws Failure
  // when the clipboard cannot be had.
  virtual void PutClipboardText(const std::string& text) = 0;
};

// The services the program reaches the operating system through. The members
// refer to objects owned elsewhere (the binding or the test fixture).
struct Platform {
  RegistryApi& registry;
  EnvironmentApi& environment;
  IdentityApi& identity;
  FileSystemApi& files;
  ClockApi& clock;
  UserServicesApi& user;
  // The same file system as `files`, owned together with whoever made this
  // Platform, for work on a thread of its own that may outlive them both (an
  // existence test that hangs on a network path). Empty where the binding
  // offers no such sharing; that work is then not done.
  std::shared_ptr<FileSystemApi> sharedFiles;
};

}  // namespace velmora::platform
