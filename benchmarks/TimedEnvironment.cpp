#include "TimedEnvironment.h"

#include <stdexcept>

#include "text/Text.h"

namespace velmora::benchmarks {

std::wstring Wide(const std::string& text) {
  const std::u16string wide = text::Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

UserEnvironment::UserEnvironment(const std::vector<StoredValue>& values) {
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Environment", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key_, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("HKCU\\Environment cannot be opened");
  }
  for (const auto& value : values) {
    const std::wstring name = Wide(value.name);
    Save(name);
    const std::wstring text = Wide(value.text);
    RegSetValueExW(key_, name.c_str(), 0, value.expandable ? REG_EXPAND_SZ : REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
}

UserEnvironment::~UserEnvironment() {
  for (const auto& [name, saved] : saved_) {
    if (saved) {
      RegSetValueExW(key_, name.c_str(), 0, saved->first, saved->second.data(),
                     static_cast<DWORD>(saved->second.size()));
    } else {
      RegDeleteValueW(key_, name.c_str());
    }
  }
  RegCloseKey(key_);
}

void UserEnvironment::Save(const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    saved_[name] = std::nullopt;
    return;
  }
  std::vector<BYTE> data(size);
  RegQueryValueExW(key_, name.c_str(), nullptr, &type, data.data(), &size);
  data.resize(size);
  saved_[name] = std::make_pair(type, std::move(data));
}

std::wstring EnvironmentBlock(const Scenario& scenario) {
  std::map<std::wstring, std::wstring> variables;
  wchar_t* const strings = GetEnvironmentStringsW();
  for (const wchar_t* at = strings; *at != L'\0'; at += wcslen(at) + 1) {
    const std::wstring entry(at);
    const std::size_t equals = entry.find(L'=', 1);
    if (equals == std::wstring::npos) continue;
    variables[entry.substr(0, equals)] = entry.substr(equals + 1);
  }
  FreeEnvironmentStringsW(strings);
  auto set = [&](const std::string& name, const std::string& value) {
    const std::wstring wide = Wide(name);
    std::erase_if(variables, [&](const auto& variable) {
      return CompareStringOrdinal(variable.first.c_str(), -1, wide.c_str(), -1, TRUE) == CSTR_EQUAL;
    });
    variables[wide] = Wide(value);
  };
  set("PATH", scenario.effectivePath);
  for (const auto& [name, value] : scenario.processVariables) set(name, value);
  std::wstring block;
  for (const auto& [name, value] : variables) block += name + L"=" + value + L'\0';
  block += L'\0';
  return block;
}

}  // namespace velmora::benchmarks
