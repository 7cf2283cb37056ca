// The registry of the in-memory double: keys and values held in memory,
// answering as RegOpenKeyEx, RegEnumValue and RegCloseKey do.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace velmora::platform {

class FakeRegistry final : public RegistryApi {
 public:
  // Creates root\path (and nothing else) when it is missing.
  void CreateKey(KeyHandle root, std::string_view path);
  // Stores a value, replacing one whose name differs only in letter case, as
  // the registry does. Creates the key when it is missing.
  void SetValue(KeyHandle root, std::string_view path, std::string_view name, std::uint32_t type,
                std::vector<std::uint8_t> data);
  // Stores a value beside any other, whatever its name: what the registry
  // hands out when two stored names become one on their way to the program.
  void AppendValue(KeyHandle root, std::string_view path, std::string_view name, std::uint32_t type,
                   std::vector<std::uint8_t> data);
  void DeleteKey(KeyHandle root, std::string_view path);
  // From this point on, EnumValue answers `error` for value `index` of every key.
  void FailValue(std::uint32_t index, std::int32_t error) { failures_[index] = error; }

  [[nodiscard]] int OpenHandles() const { return static_cast<int>(open_.size()); }

  std::int32_t OpenKeyEx(KeyHandle root, const char* subKey, std::uint32_t options,
                         std::uint32_t access, KeyHandle* key) override;
  std::int32_t QueryInfoKey(KeyHandle key, std::uint32_t* values, std::uint32_t* maxValueNameLength,
                            std::uint32_t* maxValueLength) override;
  std::int32_t EnumValue(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                         std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* dataLength) override;
  std::int32_t CloseKey(KeyHandle key) override;

 private:
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  using Values = std::vector<Value>;

  Values& Key(KeyHandle root, std::string_view path);

  std::map<std::string, Values> keys_;  // by root and upper-cased path
  std::map<KeyHandle, std::string> open_;
  std::map<std::uint32_t, std::int32_t> failures_;
  KeyHandle nextHandle_ = 0x1000;
};

}  // namespace velmora::platform
