// A registry seen through a watch: every call goes on to the binding behind
// it (the double or the real one), and a test can change the registry between
// a key's size query and the reads of its values, or fail that query.
#pragma once

#include <functional>
#include <utility>

#include "platform/Platform.h"

namespace velmora::testing_support {

class RegistryWatch final : public platform::RegistryApi {
 public:
  explicit RegistryWatch(platform::RegistryApi& inner) : inner_(inner) {}

  // Run once, right after the next successful QueryInfoKey.
  void AfterNextInfoQuery(std::function<void()> change) { afterInfoQuery_ = std::move(change); }

  // From now on QueryInfoKey fails with error, as if the platform could not
  // tell a key's sizes.
  void FailInfoQueries(std::int32_t error) { infoError_ = error; }

  // The platform os with its registry seen through this watch.
  [[nodiscard]] platform::Platform Watching(const platform::Platform& os) {
    return platform::Platform{*this,    os.environment, os.identity,   os.files,
                              os.clock, os.user,        os.sharedFiles};
  }

  std::int32_t OpenKeyEx(platform::KeyHandle root, const char* subKey, std::uint32_t options,
                         std::uint32_t access, platform::KeyHandle* key) override {
    return inner_.OpenKeyEx(root, subKey, options, access, key);
  }

  std::int32_t QueryInfoKey(platform::KeyHandle key, std::uint32_t* values,
                            std::uint32_t* maxValueNameLength,
                            std::uint32_t* maxValueLength) override {
    if (infoError_ != platform::kErrorSuccess) return infoError_;
    const std::int32_t status =
        inner_.QueryInfoKey(key, values, maxValueNameLength, maxValueLength);
    if (status == platform::kErrorSuccess && afterInfoQuery_) {
      const auto change = std::exchange(afterInfoQuery_, nullptr);
      change();
    }
    return status;
  }

  std::int32_t EnumValue(platform::KeyHandle key, std::uint32_t index, char* name,
                         std::uint32_t* nameLength, std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* dataLength) override {
    return inner_.EnumValue(key, index, name, nameLength, type, data, dataLength);
  }

  std::int32_t CloseKey(platform::KeyHandle key) override { return inner_.CloseKey(key); }

 private:
  platform::RegistryApi& inner_;
  std::function<void()> afterInfoQuery_;
  std::int32_t infoError_ = platform::kErrorSuccess;
};

}  // namespace velmora::testing_support
