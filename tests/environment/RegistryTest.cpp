#include "environment/Registry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/RegistryWatch.h"
#include "support/TestPlatform.h"

namespace {

using platform::kCurrentUser;
using Registry::EnumRegistryValues;
using Registry::VariableItem;
using testing_support::RegistryWatch;
using testing_support::StringData;

constexpr const char* kKey = "Environment";

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

class RegistryReader : public testing_support::PlatformTest {
 protected:
  Registry::VariableDictionary Read(const platform::Platform& os) {
    return EnumRegistryValues(os, kCurrentUser, kKey);
  }
  void Set(std::string_view name, std::uint32_t type, const std::vector<std::uint8_t>& data) {
    Test().SetValue(kCurrentUser, kKey, name, type, data);
  }

  // The item under key, or a failure that names the missing key.
  static VariableItem ItemOf(const Registry::VariableDictionary& values, const std::string& key) {
    const VariableItem* item = values.Find(key);
    if (item == nullptr) ADD_FAILURE() << "no item under " << key;
    return item == nullptr ? VariableItem{} : *item;
  }
};

TEST_P(RegistryReader, MissingOrEmptyKeyGivesAnEmptyDictionary) {
  EXPECT_EQ(EnumRegistryValues(Os(), kCurrentUser, "No\\Such\\Key").Count(), 0u);
  Test().CreateKey(kCurrentUser, kKey);
  EXPECT_EQ(Read(Os()).Count(), 0u);
}

// Every kind of value in one key, each found under its upper-cased name; a
// value the registry lists after the strange ones shows that they do not end
// the enumeration.
TEST_P(RegistryReader, EachValueIsDecodedByItsType) {
  struct Stored {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::string key;
    VariableItem item;
  };
  const std::string n255 = "M" + std::string(254, 'b');
  const std::string n300 = "N" + std::string(299, 'c');
  std::string big(70000, 'p');
  big.front() = 'A';
  big.back() = 'Z';
  const std::string text = "C:\\Ünïcödé\\\xE6\x97\xA5\xE6\x9C\xAC\\\xF0\x9F\x98\x80";
  const Stored values[] = {
      {"Temp", platform::kRegSz, StringData("C:\\tmp"), "TEMP", {"Temp", "C:\\tmp", ""}},
      {"", platform::kRegSz, StringData("default"), "", {"", "default", ""}},
      {"Blank", platform::kRegSz, StringData(""), "BLANK", {"Blank", "", ""}},
      // Without a terminator the last character stays; without data, texts are empty.
      {"Bare", platform::kRegSz, Bytes("C:\\abc"), "BARE", {"Bare", "C:\\abc", ""}},
      {"BareX", platform::kRegExpandSz, Bytes("x%"), "BAREX", {"BareX", "x%", "x%"}},
      {"A_None", platform::kRegSz, {}, "A_NONE", {"A_None", "", ""}},
      {"C_None", platform::kRegBinary, {}, "C_NONE", {"C_None", "", ""}},
      {"Defined",
       platform::kRegExpandSz,
       StringData("%VELMORA_HOME%\\bin"),
       "DEFINED",
       {"Defined", "%VELMORA_HOME%\\bin", "C:\\U\\bin"}},
      {"Mixed",
       platform::kRegExpandSz,
       StringData("%velmora_home%;%VELMORA_UNSET_X%"),
       "MIXED",
       {"Mixed", "%velmora_home%;%VELMORA_UNSET_X%", "C:\\U;%VELMORA_UNSET_X%"}},
      {"Nothing", platform::kRegExpandSz, StringData(""), "NOTHING", {"Nothing", "", ""}},
      {"Blob", platform::kRegBinary, {5, 0xAB, 0, 0xFF, 10}, "BLOB", {"Blob", "05AB00FF0A", ""}},
      {"Count", platform::kRegDword, {1, 0, 0, 0}, "COUNT", {"Count", "", ""}},
      {"Multi", platform::kRegMultiSz, Bytes({"a\0b\0", 5}), "MULTI", {"Multi", "", ""}},
      {n255, platform::kRegSz, StringData("255"), "M" + std::string(254, 'B'), {n255, "255", ""}},
      {n300, platform::kRegSz, StringData("300"), "N" + std::string(299, 'C'), {n300, "300", ""}},
      {"Big", platform::kRegSz, StringData(big), "BIG", {"Big", big, ""}},
      {"Größe", platform::kRegSz, StringData(text), "GRÖßE", {"Größe", text, ""}},
      {"путь", platform::kRegSz, StringData("ж"), "ПУТЬ", {"путь", "ж", ""}},
      {"Z_Last", platform::kRegSz, StringData("last"), "Z_LAST", {"Z_Last", "last", ""}},
  };
  Test().SetVariable("VELMORA_HOME", "C:\\U");
  for (const Stored& value : values) Set(value.name, value.type, value.data);
  const auto read = Read(Os());
  EXPECT_EQ(read.Count(), std::size(values));
  for (const Stored& value : values) {
    SCOPED_TRACE(value.name.substr(0, 20));
    EXPECT_EQ(ItemOf(read, value.key), value.item);
  }
  EXPECT_EQ(read.Find("Temp"), nullptr) << "keys compare exactly";
}

// The registry counts names and data in UTF-16 units, as it stores them; the
// largest value's narrow form is longer than that count (three UTF-8 bytes
// for each unit), beside a long name of two-byte letters and a large blob.
TEST_P(RegistryReader, ValuesLargerThanTheKeysCountsSuggestComeBackWhole) {
  std::string wide;
  for (int i = 0; i < 20000; ++i) wide += "日";
  std::string name;
  for (int i = 0; i < 200; ++i) name += "Ä";
  Set("A_Small", platform::kRegSz, StringData("x"));
  Set("B_Wide", platform::kRegSz, StringData(wide));
  Set(name, platform::kRegSz, StringData("named"));
  Set("D_Blob", platform::kRegBinary, std::vector<std::uint8_t>(30000, 0xAB));

  platform::RegistryApi& registry = Os().registry;
  platform::KeyHandle key = 0;
  ASSERT_EQ(registry.OpenKeyEx(kCurrentUser, kKey, 0, platform::kKeyQueryValue, &key),
            platform::kErrorSuccess);
  std::uint32_t count = 0;
  std::uint32_t longestName = 0;
  std::uint32_t longestData = 0;
  EXPECT_EQ(registry.QueryInfoKey(key, &count, &longestName, &longestData),
            platform::kErrorSuccess);
  (void)registry.CloseKey(key);
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(longestName, 200u) << "UTF-16 units, without the terminator";
  EXPECT_EQ(longestData, 40002u) << "bytes as stored: strings in UTF-16 with the terminator";

  const auto values = Read(Os());
  ASSERT_EQ(values.Count(), 4u);
  EXPECT_EQ(ItemOf(values, "A_SMALL")[1], "x");
  EXPECT_EQ(ItemOf(values, "B_WIDE")[1], wide);
  EXPECT_EQ(ItemOf(values, name)[1], "named");
  EXPECT_EQ(ItemOf(values, "D_BLOB")[1].size(), 60000u);
}

TEST_P(RegistryReader, ValueThatGrowsAfterTheSizeQueryIsReadWhole) {
  std::string grown(100000, 'g');
  grown.front() = 'A';
  grown.back() = 'Z';
  Set("A_Grows", platform::kRegSz, StringData("short"));
  Set("B_After", platform::kRegSz, StringData("after"));
  RegistryWatch watch(Os().registry);
  watch.AfterNextInfoQuery([&] { Set("A_Grows", platform::kRegSz, StringData(grown)); });
  const auto values = Read(watch.Watching(Os()));
  EXPECT_EQ(values.Count(), 2u);
  EXPECT_EQ(ItemOf(values, "A_GROWS")[1], grown);
  EXPECT_EQ(ItemOf(values, "B_AFTER")[1], "after");
}

TEST_P(RegistryReader, KeyThatCannotTellItsSizesIsStillReadWhole) {
  const std::string big(50000, 'b');
  Set("Big", platform::kRegSz, StringData(big));
  Set("Small", platform::kRegSz, StringData("s"));
  RegistryWatch watch(Os().registry);
  watch.FailInfoQueries(platform::kErrorAccessDenied);
  const auto values = Read(watch.Watching(Os()));
  EXPECT_EQ(ItemOf(values, "BIG")[1], big);
  EXPECT_EQ(ItemOf(values, "SMALL")[1], "s");
}

TEST_P(RegistryReader, NamesDifferingOnlyInUnpairedSurrogatesKeepOneValue) {
  // UTF-8 cannot hold an unpaired surrogate: both names arrive as "X" U+FFFD.
  Set("Path", platform::kRegSz, StringData("C:\\Tools"));
  Test().SetStringUtf16(kCurrentUser, kKey, u"X\xD800", "first");
  Test().SetStringUtf16(kCurrentUser, kKey, u"X\xDBFF", "second");
  const auto values = Read(Os());
  EXPECT_EQ(values.Count(), 2u);
  EXPECT_EQ(ItemOf(values, "PATH")[1], "C:\\Tools");
  const VariableItem kept = ItemOf(values, "X\xEF\xBF\xBD");
  EXPECT_TRUE(kept[1] == "first" || kept[1] == "second") << kept[1];
}

VELMORA_ON_EVERY_BINDING(RegistryReader);

// Failures inside the enumeration, names equal once upper-cased, and the key
// closed on every path are what only the double can show: they are the
// registry fuzz target's rules, checked with every replay of its corpus.

}  // namespace
