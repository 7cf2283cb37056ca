#include "platform/FakeEnvironment.h"

#include <algorithm>

#include "platform/Failure.h"
#include "text/Text.h"

namespace velmora::platform {
namespace {

// The platform's limit on an expansion, in UTF-16 units without terminator.
constexpr std::size_t kLongestExpansion = 32766;

}  // namespace

void FakeEnvironment::Set(std::string_view name, std::string_view value) {
  Unset(name);
  variables_.emplace_back(std::string(name), std::string(value));
}

void FakeEnvironment::Unset(std::string_view name) {
  std::erase_if(variables_,
                [&](const auto& variable) { return text::EqualsNoCase(variable.first, name); });
}

std::optional<std::string> FakeEnvironment::Variable(const std::string& name) {
  for (const auto& [key, value] : variables_) {
    if (text::EqualsNoCase(key, name)) return value;
  }
  return std::nullopt;
}

std::optional<std::string> FakeEnvironment::ExpandStrings(const std::string& source) {
  // %NAME% of a set variable is replaced by its value; any other %...% and a
  // lone % stay as written.
  const std::string_view text(source.c_str());
  std::string expanded;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] != '%') {
      const std::size_t next = std::min(text.find('%', at), text.size());
      expanded.append(text.substr(at, next - at));
      at = next;
      continue;
    }
    const std::size_t close = text.find('%', at + 1);
    if (close == std::string_view::npos) {
      expanded.append(text.substr(at));
      break;
    }
    const std::string name(text.substr(at + 1, close - at - 1));
    const auto value = name.empty() ? std::nullopt : Variable(name);
    expanded.append(value ? *value : std::string(text.substr(at, close - at + 1)));
    at = close + 1;
  }
  if (text::Utf8ToUtf16(expanded).size() > kLongestExpansion) return std::nullopt;
  return expanded;
}

}  // namespace velmora::platform
