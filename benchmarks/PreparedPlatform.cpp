#include "PreparedPlatform.h"

#include <windows.h>

#include <utility>

#include "environment/Lookups.h"

namespace velmora::benchmarks {

std::unique_ptr<testing_support::TestPlatform> Prepare(const Scenario& scenario) {
  auto test = testing_support::MakeWin32TestPlatform();
  test->SetVariable("PATH", scenario.effectivePath);
  for (const auto& [name, value] : scenario.processVariables) test->SetVariable(name, value);
  for (const auto& [root, values] : {std::pair{platform::kCurrentUser, &scenario.userValues},
                                     std::pair{platform::kLocalMachine, &scenario.systemValues}}) {
    const char* key = root == platform::kCurrentUser ? environment::kUserEnvironmentKey
                                                     : environment::kSystemEnvironmentKey;
    for (const auto& value : *values) {
      test->SetString(root, key, value.name, value.text,
                      value.expandable ? platform::kRegExpandSz : platform::kRegSz);
    }
  }
  return test;
}

void Pump() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace velmora::benchmarks
