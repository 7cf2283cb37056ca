#include "platform/Win32Platform.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "environment/Text.h"
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

std::int32_t Win32Registry::QueryInfoKey(KeyHandle key, std::uint32_t* values,
                                         std::uint32_t* maxValueNameLength,
                                         std::uint32_t* maxValueLength) {
  return RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          AsDword(values), AsDword(maxValueNameLength), AsDword(maxValueLength),
                          nullptr, nullptr);
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

namespace {

HANDLE ToHandle(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

std::int32_t LastError() {
  return static_cast<std::int32_t>(GetLastError());
}

}  // namespace

std::int32_t Win32FileSystem::CreateNew(const std::string& path, FileHandle* file) {
  const HANDLE created = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return LastError();
  *file = reinterpret_cast<FileHandle>(created);
  return kErrorSuccess;
}

std::int32_t Win32FileSystem::Write(FileHandle file, const void* data, std::uint32_t size) {
  DWORD written = 0;
  if (!WriteFile(ToHandle(file), data, size, &written, nullptr)) return LastError();
  return written == size ? kErrorSuccess : kErrorDiskFull;
}

std::int32_t Win32FileSystem::Flush(FileHandle file) {
  return FlushFileBuffers(ToHandle(file)) ? kErrorSuccess : LastError();
}

std::int32_t Win32FileSystem::Close(FileHandle file) {
  return CloseHandle(ToHandle(file)) ? kErrorSuccess : LastError();
}

std::int32_t Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? kErrorSuccess
             : LastError();
}

std::int32_t Win32FileSystem::Remove(const std::string& path) {
  return DeleteFileA(path.c_str()) ? kErrorSuccess : LastError();
}

std::string Win32FileSystem::ErrorText(std::int32_t code) {
  return SystemMessage(static_cast<std::uint32_t>(code));
}

LocalTime Win32Clock::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// --- user services --------------------------------------------------------------

namespace {

// Owns a kernel handle (a started process or thread).
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

// Owns a window.
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)>;

// Holds the clipboard open for one change. The clipboard is opened for a
// message-only window of its own: opened for no window, emptying it leaves it
// without an owner and the platform then refuses the new text.
class ClipboardLock {
 public:
  ClipboardLock()
      : owner_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr),
               &DestroyWindow) {
    if (!owner_) throw Win32Failure(GetLastError());
    // Another program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner_.get()) != FALSE;
      if (!open_) Sleep(20);
    }
    if (!open_) throw Win32Failure(GetLastError());
  }
  ~ClipboardLock() { CloseClipboard(); }
  ClipboardLock(const ClipboardLock&) = delete;
  ClipboardLock& operator=(const ClipboardLock&) = delete;

 private:
  UniqueWindow owner_;
  bool open_ = false;
};

}  // namespace

int Win32UserServices::ShowMessage(const std::string& text, const std::string& caption,
                                   std::uint32_t style) {
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), style);
}

namespace {

// A function of a library loaded at run time, as its declared type.
template <class Function>
Function* Entry(HMODULE module, const char* name, Function*) {
  FARPROC found = GetProcAddress(module, name);
  if (found == nullptr) throw Win32Failure(GetLastError());
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(found));
}

}  // namespace

std::optional<std::string> Win32UserServices::AskSaveFileName(const SaveDialogRequest& request) {
  if (!commonDialogs_) {
    const HMODULE loaded = LoadLibraryW(L"comdlg32.dll");
    if (loaded == nullptr) throw Win32Failure(GetLastError());
    commonDialogs_.reset(loaded, [](void* module) { FreeLibrary(static_cast<HMODULE>(module)); });
  }
  const auto dialogs = static_cast<HMODULE>(commonDialogs_.get());
  const auto getSaveFileName = Entry(dialogs, "GetSaveFileNameA", &GetSaveFileNameA);
  const auto extendedError = Entry(dialogs, "CommDlgExtendedError", &CommDlgExtendedError);

  // "A|a|B|b" becomes "A\0a\0B\0b\0\0".
  std::string filter = request.filter;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter.append(2, '\0');
  std::vector<char> file(32768, '\0');
  std::memcpy(file.data(), request.fileName.data(),
              std::min(request.fileName.size(), file.size() - 1));

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // The current folder stays where it was: relative paths in the environment
  // must mean the same before and after a save.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (getSaveFileName(&dialog)) return std::string(file.data());
  const DWORD error = extendedError();
  if (error == 0) return std::nullopt;
  throw Failure(static_cast<std::int32_t>(error),
                "The Save As dialog failed (common dialog error " + std::to_string(error) + ")");
}

void Win32UserServices::StartProgram(const std::string& commandLine, int showCommand) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    throw Win32Failure(GetLastError());
  }
  // Not waited for: the handles are let go at once.
  const UniqueHandle process(started.hProcess, &CloseHandle);
  const UniqueHandle thread(started.hThread, &CloseHandle);
}

void Win32UserServices::PutClipboardText(const std::string& text) {
  // Unicode text, so that every character survives whatever code page the
  // reading program runs in; the platform offers the other text forms from it.
  const std::u16string wide = modUtils::Utf8ToUtf16(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) throw Win32Failure(GetLastError());
  void* target = GlobalLock(memory);
  std::memcpy(target, wide.c_str(), bytes);
  GlobalUnlock(memory);

  const ClipboardLock clipboard;
  EmptyClipboard();
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
    const DWORD error = GetLastError();
    GlobalFree(memory);
    throw Win32Failure(error);
  }
  // The clipboard owns the memory from here on.
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
