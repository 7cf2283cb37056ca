// The real registry and process environment, fenced in for a test: the
// predefined roots are redirected to a scratch key that is removed afterwards,
// and every process variable a test touches is put back.
#include <windows.h>

#include <map>
#include <memory>
#include <type_traits>
#include <utility>
#include <optional>
#include <stdexcept>

#include "platform/Win32Platform.h"
#include "support/TestPlatform.h"

namespace testing_support {
namespace {

constexpr const char* kScratchParent = "Software\\Velmora Tests";

struct KeyCloser {
  void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

UniqueKey OpenOrCreate(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  const LSTATUS status =
      RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) throw platform::Win32Failure(static_cast<std::uint32_t>(status));
  return UniqueKey(key);
}

// The scratch key below the user's root: removed with everything in it when
// the test ends, also when the platform's constructor fails half-way.
class ScratchKey {
 public:
  explicit ScratchKey(std::string path)
      : path_(std::move(path)), key_(OpenOrCreate(HKEY_CURRENT_USER, path_)) {}
  ~ScratchKey() {
    key_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  [[nodiscard]] HKEY Get() const { return key_.get(); }

 private:
  std::string path_;
  UniqueKey key_;
};

// Redirects a predefined root to a key for as long as it lives.
class RootOverride {
 public:
  RootOverride(HKEY root, HKEY key) : root_(root) { RegOverridePredefKey(root_, key); }
  ~RootOverride() { RegOverridePredefKey(root_, nullptr); }
  RootOverride(const RootOverride&) = delete;
  RootOverride& operator=(const RootOverride&) = delete;

 private:
  HKEY root_;
};

class Win32TestPlatform final : public TestPlatform {
 public:
  Win32TestPlatform()
      : scratch_(std::string(kScratchParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++serial_)),
        user_(OpenOrCreate(scratch_.Get(), "HKCU")),
        machine_(OpenOrCreate(scratch_.Get(), "HKLM")),
        userOverride_(HKEY_CURRENT_USER, user_.get()),
        machineOverride_(HKEY_LOCAL_MACHINE, machine_.get()) {}

  ~Win32TestPlatform() override {
    for (const auto& [name, value] : savedVariables_) {
      SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
    }
  }

  Win32TestPlatform(const Win32TestPlatform&) = delete;
  Win32TestPlatform& operator=(const Win32TestPlatform&) = delete;

  platform::Platform Services() override { return win32_.Services(); }
  std::string Name() const override { return "Win32"; }

  void CreateKey(platform::KeyHandle root, std::string_view path) override {
    (void)OpenOrCreate(Root(root), std::string(path));
  }

  void SetValue(platform::KeyHandle root, std::string_view path, std::string_view name,
                std::uint32_t type, const std::vector<std::uint8_t>& data) override {
    const UniqueKey key = OpenOrCreate(Root(root), std::string(path));
    const std::string valueName(name);
    const LSTATUS status =
        RegSetValueExA(key.get(), valueName.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                       static_cast<DWORD>(data.size()));
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
    return root == platform::kCurrentUser ? user_.get() : machine_.get();
  }

  void Save(std::string_view name) {
    const std::string key(name);
    if (savedVariables_.contains(key)) return;
    savedVariables_[key] = win32_.environment.Variable(key);
  }

  static inline int serial_ = 0;
  platform::Win32Platform win32_;
  // Declared in the order they are made; they go in the reverse order.
  ScratchKey scratch_;
  UniqueKey user_;
  UniqueKey machine_;
  RootOverride userOverride_;
  RootOverride machineOverride_;
  std::map<std::string, std::optional<std::string>> savedVariables_;
};

}  // namespace

std::unique_ptr<TestPlatform> MakeWin32TestPlatform() {
  return std::make_unique<Win32TestPlatform>();
}

}  // namespace testing_support
