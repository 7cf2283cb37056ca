#include "environment/Registry.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "text/Text.h"
#include "platform/Failure.h"

namespace velmora::environment {
namespace {

using platform::KeyHandle;

// A UTF-16 unit of a name or of string data takes up to three bytes in UTF-8,
// so the narrow form of a value takes up to half as much again as the
// registry stores.
constexpr std::uint64_t kNarrowBytesPerUnit = 3;

// The longest value name the registry allows, in UTF-16 units, and room for
// it and the terminator.
constexpr std::uint32_t kLongestValueName = 16383;
constexpr std::uint32_t kNameBufferSize = kLongestValueName * kNarrowBytesPerUnit + 1;

// When the key cannot tell its largest value, data buffers start this large.
constexpr std::uint32_t kDefaultDataBufferSize = 1024;

// A value that keeps growing while it is read is given up after this many
// reads, like a value that cannot be read at all.
constexpr int kMaxReads = 16;

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
  VariableItem item{std::move(name), {}, {}, type};
  switch (type) {
    case platform::kRegSz:
      item.raw = StringData(data, length);
      break;
    case platform::kRegExpandSz:
      item.raw = StringData(data, length);
      item.expanded = os.environment.ExpandStrings(item.raw).value_or(std::string());
      break;
    case platform::kRegBinary:
      item.raw = HexPairs(data, length);
      break;
    default:
      break;
  }
  return item;
}

// Buffers for one key's values, large enough for its largest value as the key
// describes it, so that each value is read in one call.
struct ValueBuffers {
  std::vector<char> name;
  std::vector<std::uint8_t> data;
};

ValueBuffers BuffersFor(platform::RegistryApi& registry, KeyHandle key) {
  std::uint32_t longestName = 0;
  std::uint32_t longestData = 0;
  if (registry.QueryInfoKey(key, nullptr, &longestName, &longestData) != platform::kErrorSuccess) {
    return {std::vector<char>(kNameBufferSize), std::vector<std::uint8_t>(kDefaultDataBufferSize)};
  }
  const auto name = static_cast<std::size_t>(std::min<std::uint64_t>(
      std::uint64_t{longestName} * kNarrowBytesPerUnit + 1, kNameBufferSize));
  // The data's narrow form, and a byte for the terminator the platform adds
  // where there is room; never more than the platform can report in a length.
  const auto data = static_cast<std::size_t>(
      std::min<std::uint64_t>(std::uint64_t{longestData} * kNarrowBytesPerUnit / 2 + 2,
                              std::numeric_limits<std::uint32_t>::max()));
  return {std::vector<char>(name), std::vector<std::uint8_t>(data)};
}

// Reads value `index` into the buffers with RegEnumValueA, growing them while
// the platform says they are too small (the value grew since the key was
// asked about it). The platform's answer; on success nameLength and
// dataLength hold what was stored.
std::int32_t ReadValue(platform::RegistryApi& registry, KeyHandle key, std::uint32_t index,
                       ValueBuffers& buffers, std::uint32_t& nameLength, std::uint32_t& type,
                       std::uint32_t& dataLength) {
  std::int32_t status = platform::kErrorMoreData;
  for (int read = 0; read < kMaxReads && status == platform::kErrorMoreData; ++read) {
    nameLength = static_cast<std::uint32_t>(buffers.name.size());
    dataLength = static_cast<std::uint32_t>(buffers.data.size());
    status = registry.EnumValue(key, index, buffers.name.data(), &nameLength, &type,
                                buffers.data.data(), &dataLength);
    if (status != platform::kErrorMoreData) break;
    if (dataLength >= buffers.data.size()) {
      // At least what the platform asks for, and at least twice as much as
      // before, in case what it asks for is still too little.
      const std::uint64_t grown =
          std::max<std::uint64_t>(std::uint64_t{dataLength} + 1, buffers.data.size() * 2ull);
      buffers.data.resize(static_cast<std::size_t>(
          std::min<std::uint64_t>(grown, std::numeric_limits<std::uint32_t>::max())));
    } else {
      buffers.name.resize(kNameBufferSize);
    }
  }
  return status;
}

}  // namespace

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

  // One call per value: the buffers are sized for the key's largest value
  // before the enumeration starts.
  ValueBuffers buffers = BuffersFor(registry, key.Handle());
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t nameLength = 0;
    std::uint32_t type = 0;
    std::uint32_t dataLength = 0;
    if (ReadValue(registry, key.Handle(), index, buffers, nameLength, type, dataLength) !=
        platform::kErrorSuccess) {
      break;
    }
    // Never read past what the fetch stored, nor past the buffers.
    const auto stored =
        static_cast<std::uint32_t>(std::min<std::size_t>(dataLength, buffers.data.size()));
    std::string valueName(buffers.name.data(),
                          std::min<std::size_t>(nameLength, buffers.name.size() - 1));
    std::string upper = text::UpperCase(valueName);
    // The registry holds each name once, so a name that arrives again byte for
    // byte is a different one that UTF-8 cannot tell apart (it differed in an
    // unpaired surrogate). No lookup can name the one or the other: the first
    // is kept.
    if (const VariableItem* earlier = values.Find(upper);
        earlier != nullptr && earlier->name == valueName) {
      continue;
    }
    values.Add(std::move(upper),
               Decode(os, std::move(valueName), type, buffers.data.data(), stored));
  }
  return values;
}

}  // namespace velmora::environment
