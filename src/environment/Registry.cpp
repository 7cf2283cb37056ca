#include "environment/Registry.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "text/Text.h"
#include "text/TextBuffer.h"
#include "platform/Failure.h"

namespace Registry {
namespace {

using platform::KeyHandle;

// Room for the longest value name the registry allows: 16,383 UTF-16 units,
// each up to three bytes in UTF-8, and the terminator.
constexpr std::uint32_t kNameBufferSize = 16383 * 3 + 1;
constexpr std::uint32_t kProbeBufferSize = 255;

// Owns an open key and closes it on every path.
class OpenKey {
 public:
  OpenKey(platform::RegistryApi& api, KeyHandle handle) : api_(api), handle_(handle) {}
  ~OpenKey() { api_.CloseKey(handle_); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  [[nodiscard]] KeyHandle Handle() const { return handle_; }

 private:
  platform::RegistryApi& api_;
  KeyHandle handle_;
};

// A string value's text: its bytes without the terminator, which is dropped
// only when it is there.
std::string StringData(const std::uint8_t* data, std::uint32_t length) {
  if (length > 0 && data[length - 1] == 0) --length;
  return std::string(reinterpret_cast<const char*>(data), length);
}

std::string HexPairs(const std::uint8_t* data, std::uint32_t length) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(std::size_t{length} * 2);
  for (std::uint32_t i = 0; i < length; ++i) {
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 0x0F];
  }
  return text;
}

VariableItem Decode(const platform::Platform& os, std::string name, std::uint32_t type,
                    const std::uint8_t* data, std::uint32_t length) {
  VariableItem item{std::move(name), {}, {}};
  switch (type) {
    case platform::kRegSz:
      item[kItemRaw] = StringData(data, length);
      break;
    case platform::kRegExpandSz:
      item[kItemRaw] = StringData(data, length);
      item[kItemExpanded] = Expand(os.environment, item[kItemRaw]);
      break;
    case platform::kRegBinary:
      item[kItemRaw] = HexPairs(data, length);
      break;
    default:
      break;
  }
  return item;
}

}  // namespace

std::string Expand(platform::EnvironmentApi& environment, const std::string& raw) {
  // Starting with room for the terminator only asks the platform for the size.
  return modWinAPI::FillTextBuffer(1, [&](char* buffer, std::uint32_t capacity) {
    const std::uint32_t size = environment.ExpandStrings(raw.c_str(), buffer, capacity);
    if (size == 0) return modWinAPI::FillAnswer{};
    return modWinAPI::FillAnswer{size <= capacity, size + 1};
  });
}

void VariableDictionary::Add(std::string key, VariableItem item) {
  if (items_.contains(key)) {
    throw platform::Failure(platform::kFailureDuplicateKey,
                            "This key is already associated with an element of this collection");
  }
  items_.emplace(std::move(key), std::move(item));
}

const VariableItem* VariableDictionary::Find(std::string_view key) const {
  const auto found = items_.find(key);
  return found == items_.end() ? nullptr : &found->second;
}

VariableDictionary EnumRegistryValues(const platform::Platform& os, KeyHandle root,
                                      const std::string& subKey) {
  VariableDictionary values;
  platform::RegistryApi& registry = os.registry;
  KeyHandle handle = 0;
  if (registry.OpenKeyEx(root, subKey.c_str(), 0, platform::kKeyQueryValue, &handle) !=
      platform::kErrorSuccess) {
    return values;
  }
  const OpenKey key(registry, handle);

  const auto name = std::make_unique_for_overwrite<char[]>(kNameBufferSize);
  std::uint8_t probe[kProbeBufferSize];
  std::vector<std::uint8_t> data;
  for (std::uint32_t index = 0;; ++index) {
    // The probe asks for the data size only; its own result does not matter.
    std::uint32_t nameLength = kNameBufferSize;
    std::uint32_t type = 0;
    std::uint32_t dataLength = 0;
    (void)registry.EnumValue(key.Handle(), index, name.get(), &nameLength, &type, probe,
                             &dataLength);

    data.assign(std::size_t{dataLength} + 1, 0);
    nameLength = kNameBufferSize;
    if (registry.EnumValue(key.Handle(), index, name.get(), &nameLength, &type, data.data(),
                           &dataLength) != platform::kErrorSuccess) {
      break;
    }
    // Never read past what the fetch stored, nor past the buffers.
    const auto stored = static_cast<std::uint32_t>(std::min<std::size_t>(dataLength, data.size()));
    std::string valueName(name.get(), std::min(nameLength, kNameBufferSize - 1));
    std::string upper = modUtils::UpperCase(valueName);
    // The registry holds each name once, so a name that arrives again byte for
    // byte is a different one that UTF-8 cannot tell apart (it differed in an
    // unpaired surrogate). No lookup can name the one or the other: the first
    // is kept.
    if (const VariableItem* earlier = values.Find(upper);
        earlier != nullptr && (*earlier)[kItemName] == valueName) {
      continue;
    }
    values.Add(std::move(upper), Decode(os, std::move(valueName), type, data.data(), stored));
  }
  return values;
}

}  // namespace Registry
