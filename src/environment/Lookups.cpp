#include "environment/Lookups.h"

#include <exception>

#include "text/Text.h"

namespace velmora::environment {
namespace {

// The item stored under name, in any letter case, or nullptr.
const VariableItem* FindItem(const VariableDictionary& values, std::string_view name) {
  return values.Find(text::UpperCase(name));
}

// The raw text stored under name, or "".
std::string RawText(const VariableDictionary& values, std::string_view name) {
  const auto* item = FindItem(values, name);
  return item == nullptr ? std::string() : item->raw;
}

}  // namespace

VariableDictionary ReadUserValues(const platform::Platform& os) {
  return EnumRegistryValues(os, platform::kCurrentUser, kUserEnvironmentKey);
}

VariableDictionary ReadSystemValues(const platform::Platform& os) {
  try {
    return EnumRegistryValues(os, platform::kLocalMachine, kSystemEnvironmentKey);
  } catch (const std::exception&) {
    return {};
  }
}

std::optional<UserVariable> GetUserVariable(const platform::Platform& os, std::string_view name) {
  return GetUserVariable(ReadUserValues(os), name);
}

std::optional<UserVariable> GetUserVariable(const VariableDictionary& userValues,
                                            std::string_view name) {
  const auto* item = FindItem(userValues, name);
  if (item == nullptr) return std::nullopt;
  return UserVariable{item->raw, item->expanded, item->type == platform::kRegSz};
}

// The one membership rule: an entry is a piece of the list when their
// upper-cased forms are equal.
ListMembers::ListMembers(std::string_view list) {
  Add(list);
}

ListMembers::ListMembers(const std::optional<UserVariable>& user) {
  if (!user) return;
  for (const std::string_view list :
       {std::string_view(user->raw), std::string_view(user->expanded)}) {
    if (list.empty()) {
      pieces_.emplace();
    } else {
      Add(list);
    }
  }
}

void ListMembers::Add(std::string_view list) {
  for (const std::string_view piece : text::SplitSearchList(list))
    pieces_.insert(text::UpperCase(piece));
}

bool ListMembers::Contains(std::string_view entry) const {
  return pieces_.contains(text::UpperCase(entry));
}

std::string ReadUserEnvironment(const platform::Platform& os, std::string_view name) {
  return ReadUserEnvironment(ReadUserValues(os), name);
}

std::string ReadUserEnvironment(const VariableDictionary& userValues, std::string_view name) {
  return RawText(userValues, name);
}

std::string ReadSystemEnvironment(const platform::Platform& os, std::string_view name) {
  return ReadSystemEnvironment(ReadSystemValues(os), name);
}

std::string ReadSystemEnvironment(const VariableDictionary& systemValues, std::string_view name) {
  return RawText(systemValues, name);
}

}  // namespace velmora::environment
