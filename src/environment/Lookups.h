// Questions about the stored environment and about search lists.
//
// Each reader comes in two forms: one that reads the registry key itself, and
// one that answers from the key's values already read, for a caller that asks
// several questions of one key (the report, start-up). Both give the same
// answer for the same values.
#pragma once

#include <optional>
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

// The user's own value of a variable, as stored and as expanded.
struct UserVariable {
  std::string raw;
  std::string expanded;    // "" unless stored as an expandable string
  bool plainText = false;  // stored as REG_SZ, so nothing in it is ever expanded
};

// The user's own variable, or nothing when the user has no such variable. A
// duplicate name in the key throws to the caller.
[[nodiscard]] std::optional<UserVariable> GetUserVariable(const platform::Platform& os,
                                                          std::string_view name);
// The same, from the user's key already read.
[[nodiscard]] std::optional<UserVariable> GetUserVariable(const VariableDictionary& userValues,
                                                          std::string_view name);

// The pieces of search lists, for testing many entries against them at the
// cost of one lookup each instead of a walk through a list (a PATH may hold
// thousands of entries). An entry is a member when it equals a piece, letter
// case aside; pieces are compared whole: no trimming, no expansion.
class ListMembers {
 public:
  explicit ListMembers(std::string_view list);
  // The user's entries of a search list: the pieces of the variable's raw
  // text and those of its expanded text, where an empty text is one empty
  // piece (so an empty entry is the user's when either text is empty); none
  // when the user has no such variable.
  explicit ListMembers(const std::optional<UserVariable>& user);
  [[nodiscard]] bool Contains(std::string_view entry) const;

 private:
  void Add(std::string_view list);
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
