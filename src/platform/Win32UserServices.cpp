// The user services of the real binding: message boxes, the Save As dialog,
// other programs and the clipboard. Kept apart from the other services, so
// that a program that needs none of them (the console program) links no
// user32, whose loading costs more than its whole work.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Win32Platform.h"

namespace velmora::platform {

namespace {

// Owns a kernel handle (a started process or thread).
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

// Owns global memory until the clipboard takes it.
using UniqueGlobal = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, decltype(&GlobalFree)>;

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
    constexpr int kAttempts = 10;
    constexpr DWORD kPauseMilliseconds = 20;
    for (int attempt = 0; attempt < kAttempts && !open_; ++attempt) {
      open_ = OpenClipboard(owner_.get()) != FALSE;
      if (!open_) Sleep(kPauseMilliseconds);
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
  return MessageBoxW(GetActiveWindow(), WideText(text).c_str(), WideText(caption).c_str(), style);
}

namespace {

// A function of a library loaded at run time, as its declared type. The type
// is named, never taken from the function's address: an unoptimised build
// keeps such an address, and with it an import that loads the library at
// start-up.
template <class Function>
Function* Entry(HMODULE module, const char* name) {
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
  const auto getSaveFileName = Entry<decltype(GetSaveFileNameW)>(dialogs, "GetSaveFileNameW");
  const auto extendedError = Entry<decltype(CommDlgExtendedError)>(dialogs, "CommDlgExtendedError");

  // "A|a|B|b" becomes "A\0a\0B\0b\0\0".
  std::wstring filter = WideText(request.filter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.append(2, L'\0');
  constexpr std::size_t kLongestPath = 32767;  // in UTF-16 units, without terminator
  std::vector<wchar_t> file(kLongestPath + 1, L'\0');
  const std::wstring proposed = WideText(request.fileName);
  std::copy_n(proposed.begin(), std::min(proposed.size(), file.size() - 1), file.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // The current folder stays where it was: relative paths in the environment
  // must mean the same before and after a save.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (getSaveFileName(&dialog)) return Utf8Text(file.data());
  const DWORD error = extendedError();
  if (error == 0) return std::nullopt;
  throw Failure(static_cast<std::int32_t>(error),
                "The Save As dialog failed (common dialog error " + std::to_string(error) + ")");
}

void Win32UserServices::StartProgram(const std::string& application, const std::string& commandLine,
                                     int showCommand) {
  // With the application named, CreateProcess starts exactly that file and
  // takes nothing from the command line to find it.
  const std::wstring program = WideText(application);
  // CreateProcessW may write into the command line: it gets a copy of its own.
  std::wstring line = WideText(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    throw Win32Failure(GetLastError());
  }
  // Not waited for: the handles are let go at once.
  const UniqueHandle process(started.hProcess, &CloseHandle);
  const UniqueHandle thread(started.hThread, &CloseHandle);
}

void Win32UserServices::PutClipboardText(const std::string& text) {
  // Unicode text, so that every character survives whatever code page the
  // reading program runs in; the platform offers the other text forms from it.
  const std::wstring wide = WideText(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes), &GlobalFree);
  if (!memory) throw Win32Failure(GetLastError());
  void* target = GlobalLock(memory.get());
  if (target == nullptr) throw Win32Failure(GetLastError());
  std::memcpy(target, wide.c_str(), bytes);
  GlobalUnlock(memory.get());

  const ClipboardLock clipboard;
  EmptyClipboard();
  if (SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) throw Win32Failure(GetLastError());
  // The clipboard owns the memory from here on.
  (void)memory.release();
}

}  // namespace velmora::platform
