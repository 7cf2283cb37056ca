// Reads every value of one registry key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace velmora::environment {

// One value of a key.
struct VariableItem {
  std::string name;        // as stored, not upper-cased
  std::string raw;         // the data as text, references left as written
  std::string expanded;    // the raw text expanded; "" unless an expandable string
  std::uint32_t type = 0;  // the registry type the value is stored as (REG_SZ, ...)

  bool operator==(const VariableItem&) const = default;
};

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

// Reads every value of root\subKey. A key that cannot be opened gives an empty
// dictionary; the enumeration ends at the first value that cannot be fetched,
// keeping what came before. A name that arrives twice byte for byte (stored
// names that differ only in unpaired surrogates) keeps its first value; two
// names that differ but are equal once upper-cased throw to the caller.
[[nodiscard]] VariableDictionary EnumRegistryValues(const platform::Platform& os,
                                                    platform::KeyHandle root,
                                                    const std::string& subKey);

}  // namespace velmora::environment
