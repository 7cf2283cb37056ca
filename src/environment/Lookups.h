// Questions about the stored environment and about search lists.
//
// Each reader comes in two forms: one that reads the registry key itself, and
// one that answers from the key's values already read, for a caller that asks
// several questions of one key (the report, start-up). Both give the same
// answer for the same values.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "environment/Registry.h"
#include "platform/Platform.h"

namespace velmora::environment {

inline constexpr const char* kUserEnvironmentKey = "Environment";
// The current control set, whichever numbered set the machine started with.
inline constexpr const char* kSystemEnvironmentKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// The values of the user's environment key. A duplicate name in the key
// throws to the caller.
[[nodiscard]] VariableDictionary ReadUserValues(const platform::Platform& os);

// The values of the machine's environment key; empty when it cannot be read.
// Never throws.
[[nodiscard]] VariableDictionary ReadSystemValues(const platform::Platform& os);

// The user's own variable as a search list holding its entries both as stored
// and as expanded: raw text + ";" + expanded text, or "" when the user has no
// such variable. A duplicate name in the key throws to the caller.
[[nodiscard]] std::string GetUserVariable(const platform::Platform& os, std::string_view name);
// The same, from the user's key already read.
[[nodiscard]] std::string GetUserVariable(const VariableDictionary& userValues,
                                          std::string_view name);

// Whether entry is one of the ";"-separated pieces of list, ignoring letter
// case. Pieces are compared whole: no trimming, no expansion.
[[nodiscard]] bool IsListMember(std::string_view list, std::string_view entry);

// The pieces of one search list, for testing many entries against it: each
// test answers as IsListMember does, at the cost of one lookup instead of a
// walk through the list (a PATH may hold thousands of entries).
class ListMembers {
 public:
  explicit ListMembers(std::string_view list);
  [[nodiscard]] bool Contains(std::string_view entry) const;

 private:
  std::unordered_set<std::string> pieces_;  // upper-cased
};

// The user's own variable as stored, or "". A duplicate name in the key
// throws to the caller.
[[nodiscard]] std::string ReadUserEnvironment(const platform::Platform& os, std::string_view name);
// The same, from the user's key already read.
[[nodiscard]] std::string ReadUserEnvironment(const VariableDictionary& userValues,
                                              std::string_view name);

// The machine-wide variable as stored, or ""; never throws.
[[nodiscard]] std::string ReadSystemEnvironment(const platform::Platform& os,
                                                std::string_view name);
// The same, from the machine's key already read.
[[nodiscard]] std::string ReadSystemEnvironment(const VariableDictionary& systemValues,
                                                std::string_view name);

}  // namespace velmora::environment
