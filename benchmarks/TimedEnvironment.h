// The environment a timed program runs in: the user's stored variables in
// the registry, and the process environment it is started with.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Scenario.h"

namespace velmora::benchmarks {

// UTF-16 form of a UTF-8 text, for the wide entry points.
std::wstring Wide(const std::string& text);

// Values of the real HKCU\Environment, put back as they were when this ends.
class UserEnvironment {
 public:
  explicit UserEnvironment(const std::vector<StoredValue>& values);
  ~UserEnvironment();
  UserEnvironment(const UserEnvironment&) = delete;
  UserEnvironment& operator=(const UserEnvironment&) = delete;

 private:
  void Save(const std::wstring& name);

  HKEY key_ = nullptr;
  std::map<std::wstring, std::optional<std::pair<DWORD, std::vector<BYTE>>>> saved_;
};

// This process's environment with the scenario's PATH and variables, as a
// block for CreateProcessW.
std::wstring EnvironmentBlock(const Scenario& scenario);

}  // namespace velmora::benchmarks
