#include "support/TestPlatform.h"

#include "platform/FakePlatform.h"

namespace testing_support {
namespace {

class FakeTestPlatform final : public TestPlatform {
 public:
  platform::Platform Services() override { return fake_.Services(); }
  std::string Name() const override { return "Fake"; }

  void CreateKey(platform::KeyHandle root, std::string_view path) override {
    fake_.registry.CreateKey(root, path);
  }
  void SetValue(platform::KeyHandle root, std::string_view path, std::string_view name,
                std::uint32_t type, const std::vector<std::uint8_t>& data) override {
    fake_.registry.SetValue(root, path, name, type, data);
  }
  void SetVariable(std::string_view name, std::string_view value) override {
    fake_.environment.Set(name, value);
  }
  void UnsetVariable(std::string_view name) override { fake_.environment.Unset(name); }

 private:
  platform::FakePlatform fake_;
};

}  // namespace

std::unique_ptr<TestPlatform> MakeFakeTestPlatform() {
  return std::make_unique<FakeTestPlatform>();
}

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
  return MakeFakeTestPlatform();
}

std::string BindingName(const ::testing::TestParamInfo<Binding>& info) {
  return info.param == Binding::kFake ? "Fake" : "Win32";
}

}  // namespace testing_support
