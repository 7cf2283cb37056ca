#include "support/TestPlatform.h"

#include "text/Text.h"

namespace velmora::testing_support {
namespace {

class FakeTestPlatform final : public TestPlatform {
 public:
  platform::Platform Services() override { return fake_.Services(); }

  void CreateKey(platform::KeyHandle root, std::string_view path) override {
    fake_.registry.CreateKey(root, path);
  }
  void SetValue(platform::KeyHandle root, std::string_view path, std::string_view name,
                std::uint32_t type, const std::vector<std::uint8_t>& data) override {
    fake_.registry.SetValue(root, path, name, type, data);
  }
  void SetStringUtf16(platform::KeyHandle root, std::string_view path, std::u16string_view name,
                      std::string_view text) override {
    // The name as the registry hands it out in UTF-8, beside any other.
    fake_.registry.AppendValue(root, path, text::Utf16ToUtf8(name), platform::kRegSz,
                               StringData(text));
  }
  void SetVariable(std::string_view name, std::string_view value) override {
    fake_.environment.Set(name, value);
  }
  void UnsetVariable(std::string_view name) override { fake_.environment.Unset(name); }

  bool SetUserName(std::string_view name) override {
    fake_.identity.userName = name;
    return true;
  }
  bool SetMachineName(std::string_view name) override {
    fake_.identity.computerName = name;
    return true;
  }
  void SetTempPath(std::string_view path) override { fake_.identity.tempPath = path; }

  std::string MakeFolder(std::string_view name) override {
    fake_.files.AddFolder("C:\\" + std::string(name));
    return "C:\\" + std::string(name);
  }
  std::string MakeFile(std::string_view name, std::string_view content) override {
    fake_.files.AddFile("C:\\" + std::string(name), std::string(content));
    return "C:\\" + std::string(name);
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return fake_.files.Content(path);
  }

  platform::FakePlatform* Double() override { return &fake_; }

 private:
  platform::FakePlatform fake_;
};

}  // namespace

std::vector<Binding> AvailableBindings() {
#ifdef _WIN32
  return {Binding::kFake, Binding::kWin32};
#else
  return {Binding::kFake};
#endif
}

std::unique_ptr<TestPlatform> MakeTestPlatform(Binding binding) {
#ifdef _WIN32
  if (binding == Binding::kWin32) return MakeWin32TestPlatform();
#endif
  (void)binding;
  return std::make_unique<FakeTestPlatform>();
}

}  // namespace velmora::testing_support
