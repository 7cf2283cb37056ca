// The real registry and process environment, fenced in for a test: the
// predefined roots are redirected to a scratch key that is removed afterwards,
// and every process variable a test touches is put back.
#include <windows.h>

#include <map>
#include <optional>
#include <stdexcept>

#include "platform/Win32Platform.h"
#include "support/TestPlatform.h"

namespace testing_support {
namespace {

constexpr const char* kScratchParent = "Software\\Velmora Tests";

HKEY OpenOrCreate(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  const LSTATUS status =
      RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) throw platform::Win32Failure(static_cast<std::uint32_t>(status));
  return key;
}

class Win32TestPlatform final : public TestPlatform {
 public:
  Win32TestPlatform() {
    scratchPath_ = std::string(kScratchParent) + "\\" + std::to_string(GetCurrentProcessId()) +
                   "-" + std::to_string(++serial_);
    scratch_ = OpenOrCreate(HKEY_CURRENT_USER, scratchPath_);
    user_ = OpenOrCreate(scratch_, "HKCU");
    machine_ = OpenOrCreate(scratch_, "HKLM");
    RegOverridePredefKey(HKEY_CURRENT_USER, user_);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
  }

  ~Win32TestPlatform() override {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(user_);
    RegCloseKey(machine_);
    RegCloseKey(scratch_);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
    for (const auto& [name, value] : savedVariables_) {
      SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
    }
  }

  Win32TestPlatform(const Win32TestPlatform&) = delete;
  Win32TestPlatform& operator=(const Win32TestPlatform&) = delete;

  platform::Platform Services() override { return win32_.Services(); }
  std::string Name() const override { return "Win32"; }

  void CreateKey(platform::KeyHandle root, std::string_view path) override {
    RegCloseKey(OpenOrCreate(Root(root), std::string(path)));
  }

  void SetValue(platform::KeyHandle root, std::string_view path, std::string_view name,
                std::uint32_t type, const std::vector<std::uint8_t>& data) override {
    HKEY key = OpenOrCreate(Root(root), std::string(path));
    const std::string valueName(name);
    const LSTATUS status =
        RegSetValueExA(key, valueName.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                       static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) throw platform::Win32Failure(static_cast<std::uint32_t>(status));
  }

  void SetVariable(std::string_view name, std::string_view value) override {
    Save(name);
    SetEnvironmentVariableA(std::string(name).c_str(), std::string(value).c_str());
  }

  void UnsetVariable(std::string_view name) override {
    Save(name);
    SetEnvironmentVariableA(std::string(name).c_str(), nullptr);
  }

 private:
  HKEY Root(platform::KeyHandle root) const {
    return root == platform::kCurrentUser ? user_ : machine_;
  }

  void Save(std::string_view name) {
    const std::string key(name);
    if (savedVariables_.contains(key)) return;
    savedVariables_[key] = win32_.environment.Variable(key);
  }

  static inline int serial_ = 0;
  platform::Win32Platform win32_;
  std::string scratchPath_;
  HKEY scratch_ = nullptr;
  HKEY user_ = nullptr;
  HKEY machine_ = nullptr;
  std::map<std::string, std::optional<std::string>> savedVariables_;
};

}  // namespace

std::unique_ptr<TestPlatform> MakeWin32TestPlatform() {
  return std::make_unique<Win32TestPlatform>();
}

}  // namespace testing_support
