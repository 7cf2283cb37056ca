#include "environment/Registry.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/PlatformTest.h"

namespace velmora {
namespace {

using environment::EnumRegistryValues;
using environment::VariableItem;
using platform::kCurrentUser;
using testing_support::StringData;

constexpr const char* kKey = "Environment";

// The registry seen through a watch: every call goes on to the binding behind
// it, and a test can change the registry between a key's size query and the
// reads of its values, or fail that query.
class RegistryWatch final : public platform::RegistryApi {
 public:
  explicit RegistryWatch(platform::RegistryApi& inner) : inner_(inner) {}

  std::function<void()> afterInfoQuery;  // run once, after the next successful size query
  std::int32_t infoError = platform::kErrorSuccess;  // what every size query fails with

  std::int32_t OpenKeyEx(platform::KeyHandle root, const char* subKey, std::uint32_t options,
                         std::uint32_t access, platform::KeyHandle* key) override {
    return inner_.OpenKeyEx(root, subKey, options, access, key);
  }
  std::int32_t QueryInfoKey(platform::KeyHandle key, std::uint32_t* values,
                            std::uint32_t* maxNameLength, std::uint32_t* maxLength) override {
    if (infoError != platform::kErrorSuccess) return infoError;
    const std::int32_t status = inner_.QueryInfoKey(key, values, maxNameLength, maxLength);
    if (status == platform::kErrorSuccess && afterInfoQuery) {
      std::exchange(afterInfoQuery, nullptr)();
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
};

class RegistryReader : public testing_support::PlatformTest {
 protected:
  environment::VariableDictionary Read(const platform::Platform& os) {
    return EnumRegistryValues(os, kCurrentUser, kKey);
  }
  void Set(std::string_view name, std::uint32_t type, const std::vector<std::uint8_t>& data) {
    Test().SetValue(kCurrentUser, kKey, name, type, data);
  }
};

// The item under key; one that names the key when there is none.
VariableItem ItemOf(const environment::VariableDictionary& values, const std::string& key) {
  const VariableItem* item = values.Find(key);
  return item == nullptr ? VariableItem{"no item under " + key, "", ""} : *item;
}

// A missing or empty key gives an empty dictionary. Every kind of value in
// one key, each found under its upper-cased name; a value the registry lists
// after the strange ones shows that they do not end the enumeration. The
// double's decoding of arbitrary data is the registry fuzz target's; this
// table holds the real registry to the same rules.
TEST_P(RegistryReader, EachValueIsDecodedByItsType) {
  const struct {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::string key;
    std::string raw;
    std::string expanded;
  } values[] = {
      {"Temp", platform::kRegSz, StringData("C:\\tmp"), "TEMP", "C:\\tmp", ""},
      {"", platform::kRegSz, StringData("default"), "", "default", ""},
      // Without a terminator the last character stays; without data, texts are empty.
      {"Bare", platform::kRegSz, {'C', ':', '\\', 'a'}, "BARE", "C:\\a", ""},
      {"BareX", platform::kRegExpandSz, {'x', '%'}, "BAREX", "x%", "x%"},
      {"None", platform::kRegSz, {}, "NONE", "", ""},
      {"Mixed", platform::kRegExpandSz, StringData("%velmora_home%;%VELMORA_UNSET_X%"), "MIXED",
       "%velmora_home%;%VELMORA_UNSET_X%", "C:\\U;%VELMORA_UNSET_X%"},
      {"Nothing", platform::kRegExpandSz, StringData(""), "NOTHING", "", ""},
      {"Blob", platform::kRegBinary, {5, 0xAB, 0, 0xFF, 10}, "BLOB", "05AB00FF0A", ""},
      {"Count", platform::kRegDword, {1, 0, 0, 0}, "COUNT", "", ""},
      {"Multi", platform::kRegMultiSz, {'a', 0, 'b', 0, 0}, "MULTI", "", ""},
      {"Größe", platform::kRegSz, StringData("C:\\Ünï\\日本\\😀"), "GRÖßE", "C:\\Ünï\\日本\\😀", ""},
      {"Z_Last", platform::kRegSz, StringData("last"), "Z_LAST", "last", ""},
  };
  EXPECT_EQ(EnumRegistryValues(Os(), kCurrentUser, "No\\Such\\Key").Count(), 0u);
  Test().CreateKey(kCurrentUser, kKey);
  EXPECT_EQ(Read(Os()).Count(), 0u);
  Test().SetVariable("VELMORA_HOME", "C:\\U");
  for (const auto& value : values) Set(value.name, value.type, value.data);
  const auto read = Read(Os());
  EXPECT_EQ(read.Count(), std::size(values));
  for (const auto& value : values) {
    EXPECT_EQ(ItemOf(read, value.key),
              (VariableItem{value.name, value.raw, value.expanded, value.type}));
  }
  EXPECT_EQ(read.Find("Temp"), nullptr) << "keys compare exactly";
}

// The registry counts names and data in UTF-16 units, as it stores them; the
// largest value's narrow form is longer than that count (three UTF-8 bytes
// for each unit), beside a long name of two-byte letters and a large blob.
// Then a value grows between the key's size query and its reading, and the
// key cannot tell its sizes at all: each value still comes back whole.
TEST_P(RegistryReader, ValuesLargerThanTheKeysCountsSayOrThanItSaidComeBackWhole) {
  std::string wide;
  for (int i = 0; i < 20000; ++i) wide += "日";
  std::string name;
  for (int i = 0; i < 300; ++i) name += "Ä";
  Set("A_Small", platform::kRegSz, StringData("x"));
  Set("B_Wide", platform::kRegSz, StringData(wide));
  Set(name, platform::kRegSz, StringData("named"));
  Set("D_Blob", platform::kRegBinary, std::vector<std::uint8_t>(30000, 0xAB));
  const platform::Platform os = Os();
  RegistryWatch watch(os.registry);
  const auto expectWhole = [&](const std::string& small) {
    const auto values =
        Read({watch, os.environment, os.identity, os.files, os.clock, os.user, os.sharedFiles});
    ASSERT_EQ(values.Count(), 4u);
    EXPECT_EQ(ItemOf(values, "A_SMALL").raw, small);
    EXPECT_EQ(ItemOf(values, "B_WIDE").raw, wide);
    EXPECT_EQ(ItemOf(values, name).raw, "named");
    EXPECT_EQ(ItemOf(values, "D_BLOB").raw.size(), 60000u);
  };
  expectWhole("x");

  std::string grown(100000, 'g');
  grown.front() = 'A';
  grown.back() = 'Z';
  watch.afterInfoQuery = [&] { Set("A_Small", platform::kRegSz, StringData(grown)); };
  expectWhole(grown);
  watch.infoError = platform::kErrorAccessDenied;
  expectWhole(grown);
}

VELMORA_ON_EVERY_BINDING(RegistryReader);

// Failures inside the enumeration, names equal once upper-cased or repeated
// byte for byte, and the key closed on every path are the registry fuzz
// target's rules, checked on the double with every replay of its corpus.

}  // namespace
}  // namespace velmora
