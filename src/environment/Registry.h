// Reads every value of one registry key.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace velmora::environment {

// One value of a key: the name as stored, the raw text, and the expanded text
// (filled for expandable strings only).
using VariableItem = std::array<std::string, 3>;
inline constexpr std::size_t kItemName = 0;
inline constexpr std::size_t kItemRaw = 1;
inline constexpr std::size_t kItemExpanded = 2;

// Upper-cased value names mapped to their items. Keys compare exactly; lookups
// ignore case only because both sides are upper-cased.
class VariableDictionary {
 public:
  // Refuses a key that is already present: throws platform::Failure with
  // kFailureDuplicateKey. There is no replace.
  void Add(std::string key, VariableItem item);

  // The item under exactly this key, or nullptr.
  [[nodiscard]] const VariableItem* Find(std::string_view key) const;

  [[nodiscard]] std::size_t Count() const { return items_.size(); }

 private:
  std::map<std::string, VariableItem, std::less<>> items_;
};

// raw with its %NAME% references expanded from the process environment, as
// ExpandEnvironmentStringsA expands them: a reference to a variable that is
// not set stays as written. "" when the platform cannot expand it.
[[nodiscard]] std::string Expand(platform::EnvironmentApi& environment, const std::string& raw);

// Reads every value of root\subKey. A key that cannot be opened gives an empty
// dictionary; the enumeration ends at the first value that cannot be fetched,
// keeping what came before. A name that arrives twice byte for byte (stored
// names that differ only in unpaired surrogates) keeps its first value; two
// names that differ but are equal once upper-cased throw to the caller.
[[nodiscard]] VariableDictionary EnumRegistryValues(const platform::Platform& os,
                                                    platform::KeyHandle root,
                                                    const std::string& subKey);

}  // namespace velmora::environment
