// A platform the tests prepare and then run the program's code against: the
// in-memory double everywhere, and the real Win32 binding on Windows. Suites
// written against this interface run on both, which is how we know the double
// tells the truth.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FakePlatform.h"

namespace velmora::testing_support {

// A string's bytes and its terminator, as programs store a string value.
inline std::vector<std::uint8_t> StringData(std::string_view text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

class TestPlatform {
 public:
  virtual ~TestPlatform() = default;

  [[nodiscard]] virtual platform::Platform Services() = 0;
  virtual void CreateKey(platform::KeyHandle root, std::string_view path) = 0;
  virtual void SetValue(platform::KeyHandle root, std::string_view path, std::string_view name,
                        std::uint32_t type, const std::vector<std::uint8_t>& data) = 0;

  // A string value under a UTF-16 name, which may hold what UTF-8 cannot (an
  // unpaired surrogate). The tests' UTF-16 names differ from each other.
  virtual void SetStringUtf16(platform::KeyHandle root, std::string_view path,
                              std::u16string_view name, std::string_view text) = 0;

  // The process environment, who and where the code under test runs, all
  // restored afterwards. False when the binding cannot be told who or where
  // (the real one outside Wine).
  virtual void SetVariable(std::string_view name, std::string_view value) = 0;
  virtual void UnsetVariable(std::string_view name) = 0;
  [[nodiscard]] virtual bool SetUserName(std::string_view name) = 0;
  [[nodiscard]] virtual bool SetMachineName(std::string_view name) = 0;
  virtual void SetTempPath(std::string_view path) = 0;

  // A new folder or file called name (which may name folders on the way) in
  // a scratch folder removed afterwards (C:\ on the double), and its path;
  // the bytes of a file, read past the binding under test.
  virtual std::string MakeFolder(std::string_view name) = 0;
  virtual std::string MakeFile(std::string_view name, std::string_view content) = 0;
  [[nodiscard]] virtual std::optional<std::string> ReadFile(const std::string& path) = 0;

  // The double behind this platform, for what only a double can do (fail a
  // call, hand out what a real registry never does); nullptr on a real one.
  [[nodiscard]] virtual platform::FakePlatform* Double() { return nullptr; }

  void SetString(platform::KeyHandle root, std::string_view path, std::string_view name,
                 std::string_view text, std::uint32_t type = platform::kRegSz) {
    SetValue(root, path, name, type, StringData(text));
  }
};

#ifdef _WIN32
std::unique_ptr<TestPlatform> MakeWin32TestPlatform();
#endif

enum class Binding { kFake, kWin32 };

inline void PrintTo(Binding binding, std::ostream* out) {
  *out << (binding == Binding::kFake ? "Fake" : "Win32");
}

// The double, and on Windows the real binding.
std::vector<Binding> AvailableBindings();
std::unique_ptr<TestPlatform> MakeTestPlatform(Binding binding);

}  // namespace velmora::testing_support
