// The process environment of the in-memory double, and its expansion of
// %NAME% references.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace velmora::platform {

class FakeEnvironment final : public EnvironmentApi {
 public:
  void Set(std::string_view name, std::string_view value);
  void Unset(std::string_view name);

  std::optional<std::string> ExpandStrings(const std::string& source) override;
  std::optional<std::string> Variable(const std::string& name) override;

 private:
  std::vector<std::pair<std::string, std::string>> variables_;
};

}  // namespace velmora::platform
