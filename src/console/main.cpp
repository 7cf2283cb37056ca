// VelmoraReport.exe: the console program. Binds the standard streams and the
// reading of files to Windows; the rest is Console.cpp.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/Console.h"
#include "platform/Win32Platform.h"
#include "text/Text.h"

namespace {

using velmora::platform::SystemMessage;
using velmora::platform::Utf8Text;
using velmora::platform::WideText;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// A console window takes characters; anything else (a pipe, a file, NUL)
// takes the bytes unchanged.
bool IsConsole(HANDLE stream) {
  DWORD mode = 0;
  return GetFileType(stream) == FILE_TYPE_CHAR && GetConsoleMode(stream, &mode) != 0;
}

bool WriteAll(HANDLE stream, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(stream, bytes.data(), size, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool WriteCharacters(HANDLE stream, std::string_view text) {
  const std::u16string wide = velmora::text::Utf8ToUtf16(text);
  std::u16string_view rest = wide;
  while (!rest.empty()) {
    // The console takes a few thousand characters at a time at most.
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 8192));
    DWORD written = 0;
    if (!WriteConsoleW(stream, rest.data(), size, &written, nullptr) || written == 0) return false;
    rest.remove_prefix(written);
  }
  return true;
}

class Win32ConsoleIo final : public velmora::console::ConsoleIo {
 public:
  bool WriteOut(std::string_view characters, std::string_view bytes) override {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
    return IsConsole(out) ? WriteCharacters(out, characters) : WriteAll(out, bytes);
  }

  void WriteError(std::string_view line) override {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
    const std::string text = std::string(line) + "\r\n";
    (void)(IsConsole(error) ? WriteCharacters(error, text) : WriteAll(error, text));
  }

  std::optional<std::string> ReadFile(const std::string& path, std::string& reason) override {
    const HANDLE opened = CreateFileW(WideText(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
      reason = SystemMessage(GetLastError());
      return std::nullopt;
    }
    const UniqueHandle file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
      reason = SystemMessage(GetLastError());
      return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t at = 0;
    while (at < bytes.size()) {
      DWORD read = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 20));
      if (!::ReadFile(file.get(), bytes.data() + at, want, &read, nullptr)) {
        reason = SystemMessage(GetLastError());
        return std::nullopt;
      }
      if (read == 0) break;  // the file grew shorter while being read
      at += read;
    }
    bytes.resize(at);
    return bytes;
  }
};

// The console shows no boxes, dialogs or programs, and so links no user32,
// whose loading would cost more than the whole report: a box's text goes to
// standard error, and the rest is refused.
class ConsoleUserServices final : public velmora::platform::UserServicesApi {
 public:
  explicit ConsoleUserServices(velmora::console::ConsoleIo& io) : io_(io) {}
  int ShowMessage(const std::string& text, const std::string&, std::uint32_t) override {
    io_.WriteError(text);
    return velmora::platform::kIdOk;
  }
  std::optional<std::string> AskSaveFileName(const velmora::platform::SaveDialogRequest&) override {
    throw Refused();
  }
  void StartProgram(const std::string&, const std::string&, int) override { throw Refused(); }
  void PutClipboardText(const std::string&) override { throw Refused(); }

 private:
  static velmora::platform::Failure Refused() {
    return velmora::platform::Win32Failure(ERROR_NOT_SUPPORTED);
  }
  velmora::console::ConsoleIo& io_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Before anything can load a library, as in Velmora.exe.
  (void)velmora::platform::HardenLibraryLoading();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8Text(argv[i]));
  Win32ConsoleIo io;
  velmora::platform::Win32Registry registry;
  velmora::platform::Win32Environment environment;
  velmora::platform::Win32Identity identity;
  const auto files = std::make_shared<velmora::platform::Win32FileSystem>();
  velmora::platform::Win32Clock clock;
  ConsoleUserServices user(io);
  return velmora::console::Run(
      velmora::platform::Platform{registry, environment, identity, *files, clock, user, files}, io,
      args);
}
