#include "platform/FakeRegistry.h"

#include <algorithm>
#include <cstring>

#include "platform/Failure.h"
#include "text/Text.h"

namespace velmora::platform {
namespace {

bool IsString(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::string KeyPath(KeyHandle root, std::string_view path) {
  return std::to_string(root) + "\\" + text::UpperCase(path);
}

}  // namespace

FakeRegistry::Values& FakeRegistry::Key(KeyHandle root, std::string_view path) {
  return keys_[KeyPath(root, path)];
}

void FakeRegistry::CreateKey(KeyHandle root, std::string_view path) {
  (void)Key(root, path);
}

void FakeRegistry::SetValue(KeyHandle root, std::string_view path, std::string_view name,
                            std::uint32_t type, std::vector<std::uint8_t> data) {
  Values& values = Key(root, path);
  const auto same = std::find_if(values.begin(), values.end(), [&](const Value& value) {
    return text::EqualsNoCase(value.name, name);
  });
  if (same != values.end()) {
    same->type = type;
    same->data = std::move(data);
    return;
  }
  values.push_back(Value{std::string(name), type, std::move(data)});
}

void FakeRegistry::AppendValue(KeyHandle root, std::string_view path, std::string_view name,
                               std::uint32_t type, std::vector<std::uint8_t> data) {
  Key(root, path).push_back(Value{std::string(name), type, std::move(data)});
}

void FakeRegistry::DeleteKey(KeyHandle root, std::string_view path) {
  keys_.erase(KeyPath(root, path));
}

std::int32_t FakeRegistry::OpenKeyEx(KeyHandle root, const char* subKey, std::uint32_t,
                                     std::uint32_t, KeyHandle* key) {
  if (key == nullptr) return kErrorInvalidParameter;
  if (root != kCurrentUser && root != kLocalMachine) return kErrorInvalidHandle;
  const std::string path = KeyPath(root, subKey == nullptr ? "" : subKey);
  if (!keys_.contains(path)) return kErrorFileNotFound;
  *key = nextHandle_++;
  open_[*key] = path;
  return kErrorSuccess;
}

std::int32_t FakeRegistry::QueryInfoKey(KeyHandle key, std::uint32_t* values,
                                        std::uint32_t* maxValueNameLength,
                                        std::uint32_t* maxValueLength) {
  const auto open = open_.find(key);
  if (open == open_.end()) return kErrorInvalidHandle;
  const Values& stored = keys_[open->second];
  // Lengths as the registry keeps them: names and string data in UTF-16.
  std::uint32_t longestName = 0;
  std::uint32_t longestData = 0;
  for (const Value& value : stored) {
    const auto name = static_cast<std::uint32_t>(text::Utf8ToUtf16(value.name).size());
    const std::string_view bytes(reinterpret_cast<const char*>(value.data.data()),
                                 value.data.size());
    const auto data = static_cast<std::uint32_t>(
        IsString(value.type) ? text::Utf8ToUtf16(bytes).size() * sizeof(char16_t)
                             : value.data.size());
    longestName = std::max(longestName, name);
    longestData = std::max(longestData, data);
  }
  if (values != nullptr) *values = static_cast<std::uint32_t>(stored.size());
  if (maxValueNameLength != nullptr) *maxValueNameLength = longestName;
  if (maxValueLength != nullptr) *maxValueLength = longestData;
  return kErrorSuccess;
}

std::int32_t FakeRegistry::EnumValue(KeyHandle key, std::uint32_t index, char* name,
                                     std::uint32_t* nameLength, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* dataLength) {
  if ((data != nullptr && dataLength == nullptr) || name == nullptr || nameLength == nullptr) {
    return kErrorInvalidParameter;
  }
  const auto open = open_.find(key);
  if (open == open_.end()) return kErrorInvalidHandle;
  const Values& values = keys_[open->second];
  if (index >= values.size()) return kErrorNoMoreItems;
  if (const auto failure = failures_.find(index); failure != failures_.end()) {
    return failure->second;
  }

  const Value& value = values[index];
  const auto size = static_cast<std::uint32_t>(value.data.size());
  std::int32_t status = kErrorSuccess;
  if (IsString(value.type)) {
    if (data != nullptr && size > 0) {
      if (size > *dataLength) {
        status = kErrorMoreData;
      } else {
        std::memcpy(data, value.data.data(), size);
        // A string stored without its terminator gets one where there is room.
        if (size < *dataLength && data[size - 1] != 0) data[size] = 0;
      }
    }
  } else if (data != nullptr) {
    if (size > *dataLength) {
      status = kErrorMoreData;
    } else if (size > 0) {
      std::memcpy(data, value.data.data(), size);
    }
  }

  // The name is written only when the data went well.
  if (status == kErrorSuccess) {
    const auto length = static_cast<std::uint32_t>(value.name.size());
    if (length >= *nameLength) {
      status = kErrorMoreData;
      if (*nameLength > 0) {
        std::memcpy(name, value.name.data(), *nameLength - 1);
        name[*nameLength - 1] = '\0';
      }
    } else {
      std::memcpy(name, value.name.data(), length);
      name[length] = '\0';
      *nameLength = length;
    }
  }
  if (type != nullptr) *type = value.type;
  if (dataLength != nullptr) *dataLength = size;
  return status;
}

std::int32_t FakeRegistry::CloseKey(KeyHandle key) {
  return open_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace velmora::platform
