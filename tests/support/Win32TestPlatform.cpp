// The real registry, process environment and identity, fenced in for a test:
// the predefined roots are redirected to a scratch key that is removed
// afterwards, and every process variable a test touches is put back. Text
// goes in through the wide entry points, so that what the program reads back
// is the platform's own conversion, not a copy of the bytes it was given.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>

#include "platform/Win32Platform.h"
#include "support/ScratchFolder.h"
#include "support/TestPlatform.h"
#include "support/WideText.h"

namespace velmora::testing_support {
namespace {

// Where Wine keeps the computer name; it reads it through the predefined
// root, so the fence below holds it too.
constexpr const char* kComputerNameKey =
    "System\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";

using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)>;

UniqueKey OpenOrCreate(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  const LSTATUS status = RegCreateKeyExW(parent, Utf16Of(path).c_str(), 0, nullptr, 0,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) throw platform::Win32Failure(static_cast<std::uint32_t>(status));
  return UniqueKey(key, &RegCloseKey);
}

// Undoes a change to the process when it goes, also when the platform's
// constructor fails half-way.
struct Undo {
  std::function<void()> undo;
  ~Undo() { undo(); }
};

// Redirects a predefined root to key for as long as the answer lives.
Undo Override(HKEY root, const UniqueKey& key) {
  RegOverridePredefKey(root, key.get());
  return Undo{[root] { RegOverridePredefKey(root, nullptr); }};
}

bool IsWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::optional<std::wstring> ReadVariable(const std::wstring& name) {
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
  return value;
}

class Win32TestPlatform final : public TestPlatform {
 public:
  ~Win32TestPlatform() override {
    for (const auto& [name, value] : savedVariables_) {
      SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    }
  }

  platform::Platform Services() override { return win32_.Services(); }
  void CreateKey(platform::KeyHandle root, std::string_view path) override {
    (void)OpenOrCreate(Root(root), std::string(path));
  }

  void SetValue(platform::KeyHandle root, std::string_view path, std::string_view name,
                std::uint32_t type, const std::vector<std::uint8_t>& data) override {
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) {
      Store(root, path, Utf16Of(name), type, data.data(), data.size());
      return;
    }
    // Strings are stored in UTF-16, as programs store them.
    const std::wstring text =
        Utf16Of(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    Store(root, path, Utf16Of(name), type, text.data(), text.size() * sizeof(wchar_t));
  }

  void SetStringUtf16(platform::KeyHandle root, std::string_view path, std::u16string_view name,
                      std::string_view text) override {
    const std::wstring wide = Utf16Of(text);
    Store(root, path, std::wstring(name.begin(), name.end()), REG_SZ, wide.c_str(),
          (wide.size() + 1) * sizeof(wchar_t));
  }

  void SetVariable(std::string_view name, std::string_view value) override {
    SetEnvironmentVariableW(Save(name).c_str(), Utf16Of(value).c_str());
  }
  void UnsetVariable(std::string_view name) override {
    SetEnvironmentVariableW(Save(name).c_str(), nullptr);
  }

  // Wine takes the user's name from this variable of the process.
  bool SetUserName(std::string_view name) override {
    if (IsWine()) SetVariable("WINEUSERNAME", name);
    return IsWine();
  }
  bool SetMachineName(std::string_view name) override {
    if (IsWine()) SetString(platform::kLocalMachine, kComputerNameKey, "ComputerName", name);
    return IsWine();
  }
  void SetTempPath(std::string_view path) override { SetVariable("TMP", path); }

  std::string MakeFolder(std::string_view name) override {
    scratchFolder_.MakeFolder(name);
    return scratchFolder_.Join(name);
  }
  std::string MakeFile(std::string_view name, std::string_view content) override {
    scratchFolder_.MakeFile(name, content);
    return scratchFolder_.Join(name);
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    std::ifstream in(std::filesystem::path(Utf16Of(path)), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  HKEY Root(platform::KeyHandle root) const {
    return root == platform::kCurrentUser ? user_.get() : machine_.get();
  }

  void Store(platform::KeyHandle root, std::string_view path, const std::wstring& name,
             std::uint32_t type, const void* data, std::size_t size) {
    const UniqueKey key = OpenOrCreate(Root(root), std::string(path));
    const LSTATUS status = RegSetValueExW(key.get(), name.c_str(), 0, type,
                                          size == 0 ? nullptr : static_cast<const BYTE*>(data),
                                          static_cast<DWORD>(size));
    if (status != ERROR_SUCCESS) throw platform::Win32Failure(static_cast<std::uint32_t>(status));
  }

  std::wstring Save(std::string_view name) {
    std::wstring key = Utf16Of(name);
    if (!savedVariables_.contains(key)) savedVariables_[key] = ReadVariable(key);
    return key;
  }

  static inline int serial_ = 0;
  platform::Win32Platform win32_;
  // Made in the order declared, undone in the reverse order.
  std::string scratch_ = "Software\\Velmora Tests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++serial_);
  Undo removeScratch_{[this] { RegDeleteTreeW(HKEY_CURRENT_USER, Utf16Of(scratch_).c_str()); }};
  UniqueKey user_ = OpenOrCreate(HKEY_CURRENT_USER, scratch_ + "\\HKCU");
  UniqueKey machine_ = OpenOrCreate(HKEY_CURRENT_USER, scratch_ + "\\HKLM");
  Undo userOverride_ = Override(HKEY_CURRENT_USER, user_);
  Undo machineOverride_ = Override(HKEY_LOCAL_MACHINE, machine_);
  std::map<std::wstring, std::optional<std::wstring>> savedVariables_;
  // Made at once: where it goes depends on the process's TMP, which tests change.
  ScratchFolder scratchFolder_;
};

}  // namespace

std::unique_ptr<TestPlatform> MakeWin32TestPlatform() {
  return std::make_unique<Win32TestPlatform>();
}

}  // namespace velmora::testing_support
