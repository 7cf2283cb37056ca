#include "environment/Lookups.h"

#include <exception>

#include "text/Text.h"

namespace {

// The item stored under name, in any letter case, or nullptr.
const Registry::VariableItem* FindItem(const Registry::VariableDictionary& values,
                                       std::string_view name) {
  return values.Find(modUtils::UpperCase(name));
}

// The raw text stored under name, or "".
std::string RawText(const Registry::VariableDictionary& values, std::string_view name) {
  const auto* item = FindItem(values, name);
  return item == nullptr ? std::string() : (*item)[Registry::kItemRaw];
}

}  // namespace

namespace environment {

Registry::VariableDictionary ReadUserValues(const platform::Platform& os) {
  return Registry::EnumRegistryValues(os, platform::kCurrentUser, kUserEnvironmentKey);
}

Registry::VariableDictionary ReadSystemValues(const platform::Platform& os) {
  try {
    return Registry::EnumRegistryValues(os, platform::kLocalMachine, kSystemEnvironmentKey);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace environment

namespace modUtils {

std::string GetUserVariable(const platform::Platform& os, std::string_view name) {
  return GetUserVariable(environment::ReadUserValues(os), name);
}

std::string GetUserVariable(const Registry::VariableDictionary& userValues, std::string_view name) {
  const auto* item = FindItem(userValues, name);
  if (item == nullptr) return {};
  return (*item)[Registry::kItemRaw] + ";" + (*item)[Registry::kItemExpanded];
}

// The one membership rule: an entry is a piece of the list when their
// upper-cased forms are equal. ListMembers answers by the same rule.
bool IsListMember(std::string_view list, std::string_view entry) {
  const std::string key = UpperCase(entry);
  for (const std::string_view piece : SplitSearchList(list)) {
    if (UpperCase(piece) == key) return true;
  }
  return false;
}

ListMembers::ListMembers(std::string_view list) {
  for (const std::string_view piece : SplitSearchList(list)) pieces_.insert(UpperCase(piece));
}

bool ListMembers::Contains(std::string_view entry) const {
  return pieces_.contains(UpperCase(entry));
}

}  // namespace modUtils

namespace modReport {

std::string ReadUserEnvironment(const platform::Platform& os, std::string_view name) {
  return ReadUserEnvironment(environment::ReadUserValues(os), name);
}

std::string ReadUserEnvironment(const Registry::VariableDictionary& userValues,
                                std::string_view name) {
  return RawText(userValues, name);
}

std::string ReadSystemEnvironment(const platform::Platform& os, std::string_view name) {
  return ReadSystemEnvironment(environment::ReadSystemValues(os), name);
}

std::string ReadSystemEnvironment(const Registry::VariableDictionary& systemValues,
                                  std::string_view name) {
  return RawText(systemValues, name);
}

}  // namespace modReport
