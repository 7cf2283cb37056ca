#include "environment/Registry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#include "support/RegistryWatch.h"
#include "support/TestPlatform.h"

namespace {

using platform::kCurrentUser;
using Registry::EnumRegistryValues;
using Registry::VariableItem;
using testing_support::PlatformTest;
using testing_support::RegistryWatch;

constexpr const char* kKey = "Environment";

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

class RegistryReader : public PlatformTest {
 protected:
  Registry::VariableDictionary Read() { return EnumRegistryValues(Os(), kCurrentUser, kKey); }

  // The item under key, or a failure that names the missing key.
  VariableItem ItemOf(const Registry::VariableDictionary& values, const std::string& key) {
    const VariableItem* item = values.Find(key);
    if (item == nullptr) {
      ADD_FAILURE() << "no item under " << key;
      return {};
    }
    return *item;
  }
};

TEST_P(RegistryReader, MissingKeyGivesEmptyDictionary) {
  EXPECT_EQ(EnumRegistryValues(Os(), kCurrentUser, "No\\Such\\Key").Count(), 0u);
}

TEST_P(RegistryReader, EmptyKeyGivesEmptyDictionary) {
  Test().CreateKey(kCurrentUser, kKey);
  EXPECT_EQ(Read().Count(), 0u);
}

TEST_P(RegistryReader, StringValueKeepsNameAsStoredUnderUpperCasedKey) {
  Test().SetString(kCurrentUser, kKey, "Temp", "C:\\tmp");
  const auto values = Read();
  ASSERT_EQ(values.Count(), 1u);
  EXPECT_EQ(ItemOf(values, "TEMP"), (VariableItem{"Temp", "C:\\tmp", ""}));
  EXPECT_EQ(values.Find("Temp"), nullptr) << "keys compare exactly";
}

TEST_P(RegistryReader, EmptyStringGivesEmptyTexts) {
  Test().SetString(kCurrentUser, kKey, "Blank", "");
  EXPECT_EQ(ItemOf(Read(), "BLANK"), (VariableItem{"Blank", "", ""}));
}

TEST_P(RegistryReader, StringWithoutTerminatorKeepsItsLastCharacter) {
  Test().SetValue(kCurrentUser, kKey, "Bare", platform::kRegSz, Bytes("C:\\abc"));
  Test().SetValue(kCurrentUser, kKey, "BareExpand", platform::kRegExpandSz, Bytes("x%"));
  const auto values = Read();
  EXPECT_EQ(ItemOf(values, "BARE")[1], "C:\\abc");
  EXPECT_EQ(ItemOf(values, "BAREEXPAND")[1], "x%");
}

TEST_P(RegistryReader, ValuesWithoutDataBytesDoNotEndTheEnumeration) {
  // Created in name order, so that the registry lists them in this order
  // whether it keeps creation order or name order.
  Test().SetValue(kCurrentUser, kKey, "A_Empty", platform::kRegSz, {});
  Test().SetString(kCurrentUser, kKey, "B_Path", "C:\\bin");
  Test().SetValue(kCurrentUser, kKey, "C_Empty", platform::kRegBinary, {});
  Test().SetString(kCurrentUser, kKey, "D_Last", "last");
  const auto values = Read();
  EXPECT_EQ(values.Count(), 4u);
  EXPECT_EQ(ItemOf(values, "A_EMPTY"), (VariableItem{"A_Empty", "", ""}));
  EXPECT_EQ(ItemOf(values, "B_PATH")[1], "C:\\bin");
  EXPECT_EQ(ItemOf(values, "C_EMPTY"), (VariableItem{"C_Empty", "", ""}));
  EXPECT_EQ(ItemOf(values, "D_LAST")[1], "last");
}

TEST_P(RegistryReader, ExpandableStringIsExpandedWithTheProcessEnvironment) {
  Test().SetVariable("VELMORA_HOME", "C:\\U");
  Test().SetString(kCurrentUser, kKey, "Defined", "%VELMORA_HOME%\\bin", platform::kRegExpandSz);
  Test().SetString(kCurrentUser, kKey, "Mixed", "%velmora_home%;%VELMORA_UNSET_X%\\lib",
                   platform::kRegExpandSz);
  const auto values = Read();
  EXPECT_EQ(ItemOf(values, "DEFINED"),
            (VariableItem{"Defined", "%VELMORA_HOME%\\bin", "C:\\U\\bin"}));
  EXPECT_EQ(ItemOf(values, "MIXED")[2], "C:\\U;%VELMORA_UNSET_X%\\lib");
}

TEST_P(RegistryReader, ExpansionToTheEmptyString) {
  Test().SetString(kCurrentUser, kKey, "Nothing", "", platform::kRegExpandSz);
  EXPECT_EQ(ItemOf(Read(), "NOTHING"), (VariableItem{"Nothing", "", ""}));
}

TEST_P(RegistryReader, ExpansionLongerThanTheRawTextComesBackWhole) {
  const std::string longValue(5000, 'x');
  Test().SetVariable("VELMORA_LONG", longValue);
  Test().SetString(kCurrentUser, kKey, "Long", "<%VELMORA_LONG%>", platform::kRegExpandSz);
  EXPECT_EQ(ItemOf(Read(), "LONG")[2], "<" + longValue + ">");
}

TEST_P(RegistryReader, ExpansionOfNonAsciiTextComesBackWhole) {
  // UTF-8 needs more bytes than UTF-16 needs units: the narrow entry point's
  // first answer is too small here on some platforms.
  const std::string text = "Grüße \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
  Test().SetVariable("VELMORA_WIDE", text);
  Test().SetString(kCurrentUser, kKey, "Wide", "%VELMORA_WIDE%\\é", platform::kRegExpandSz);
  EXPECT_EQ(ItemOf(Read(), "WIDE")[2], text + "\\é");
}

TEST_P(RegistryReader, BinaryValueGivesAllItsBytePairsInOrder) {
  Test().SetValue(kCurrentUser, kKey, "Blob", platform::kRegBinary, {0x05, 0xAB, 0x00, 0xFF, 0x0A});
  EXPECT_EQ(ItemOf(Read(), "BLOB"), (VariableItem{"Blob", "05AB00FF0A", ""}));
}

TEST_P(RegistryReader, OtherTypesGiveNameAndTwoEmptyTexts) {
  Test().SetValue(kCurrentUser, kKey, "Count", platform::kRegDword, {1, 0, 0, 0});
  Test().SetValue(kCurrentUser, kKey, "Multi", platform::kRegMultiSz,
                  Bytes(std::string("a\0b\0\0", 5)));
  const auto values = Read();
  EXPECT_EQ(ItemOf(values, "COUNT"), (VariableItem{"Count", "", ""}));
  EXPECT_EQ(ItemOf(values, "MULTI"), (VariableItem{"Multi", "", ""}));
}

TEST_P(RegistryReader, UnnamedDefaultValue) {
  Test().SetString(kCurrentUser, kKey, "", "default text");
  EXPECT_EQ(ItemOf(Read(), ""), (VariableItem{"", "default text", ""}));
}

TEST_P(RegistryReader, LongValueNamesAndEveryValueAfterThemArePresent) {
  const std::string n254 = "L" + std::string(253, 'a');
  const std::string n255 = "M" + std::string(254, 'b');
  const std::string n300 = "N" + std::string(299, 'c');
  Test().SetString(kCurrentUser, kKey, n254, "254");
  Test().SetString(kCurrentUser, kKey, n255, "255");
  Test().SetString(kCurrentUser, kKey, n300, "300");
  Test().SetString(kCurrentUser, kKey, "Z_After", "after");
  const auto values = Read();
  EXPECT_EQ(values.Count(), 4u);
  EXPECT_EQ(ItemOf(values, "L" + std::string(253, 'A'))[0], n254);
  EXPECT_EQ(ItemOf(values, "M" + std::string(254, 'B'))[1], "255");
  EXPECT_EQ(ItemOf(values, "N" + std::string(299, 'C'))[1], "300");
  EXPECT_EQ(ItemOf(values, "Z_AFTER")[1], "after");
}

TEST_P(RegistryReader, ValueLargerThan64KiB) {
  std::string big(70000, 'p');
  big[0] = 'A';
  big.back() = 'Z';
  Test().SetString(kCurrentUser, kKey, "Big", big);
  EXPECT_EQ(ItemOf(Read(), "BIG")[1], big);
}

TEST_P(RegistryReader, NonAsciiNamesAndDataRoundTrip) {
  const std::string data = "C:\\Ünïcödé\\\xE6\x97\xA5\xE6\x9C\xAC\\\xF0\x9F\x98\x80";
  Test().SetString(kCurrentUser, kKey, "Größe", data);
  Test().SetString(kCurrentUser, kKey, "путь", "ж");
  const auto values = Read();
  EXPECT_EQ(ItemOf(values, "GRÖßE"), (VariableItem{"Größe", data, ""}));
  EXPECT_EQ(ItemOf(values, "ПУТЬ"), (VariableItem{"путь", "ж", ""}));
}

TEST_P(RegistryReader, NamesDifferingOnlyInUnpairedSurrogatesKeepOneValue) {
  // UTF-8 cannot hold an unpaired surrogate: both names arrive as "X" U+FFFD.
  Test().SetString(kCurrentUser, kKey, "Path", "C:\\Tools");
  Test().SetStringUtf16(kCurrentUser, kKey, u"X\xD800", "first");
  Test().SetStringUtf16(kCurrentUser, kKey, u"X\xDBFF", "second");
  const auto values = Read();
  EXPECT_EQ(values.Count(), 2u);
  EXPECT_EQ(ItemOf(values, "PATH")[1], "C:\\Tools");
  const VariableItem kept = ItemOf(values, "X\xEF\xBF\xBD");
  EXPECT_TRUE(kept[1] == "first" || kept[1] == "second") << kept[1];
}

TEST_P(RegistryReader, KeyInfoCountsNamesAndDataAsTheRegistryStoresThem) {
  Test().SetString(kCurrentUser, kKey, "Größe", "日本");  // 5 units; 3 units with the terminator
  Test().SetValue(kCurrentUser, kKey, "Blob", platform::kRegBinary, std::vector<std::uint8_t>(9));
  Test().SetString(kCurrentUser, kKey, "Path", "C:\\bin");  // 7 units, 7 bytes in UTF-8
  platform::RegistryApi& registry = Os().registry;
  platform::KeyHandle key = 0;
  ASSERT_EQ(registry.OpenKeyEx(kCurrentUser, kKey, 0, platform::kKeyQueryValue, &key),
            platform::kErrorSuccess);
  std::uint32_t values = 0;
  std::uint32_t longestName = 0;
  std::uint32_t longestData = 0;
  EXPECT_EQ(registry.QueryInfoKey(key, &values, &longestName, &longestData),
            platform::kErrorSuccess);
  (void)registry.CloseKey(key);
  EXPECT_EQ(values, 3u);
  EXPECT_EQ(longestName, 5u) << "UTF-16 units, without the terminator";
  EXPECT_EQ(longestData, 14u) << "bytes as stored: strings in UTF-16";
}

TEST_P(RegistryReader, ValuesLargerThanTheirStoredCountSuggestsComeBackWhole) {
  // The largest value is text whose narrow form is longer than the
  // registry's own count (three UTF-8 bytes for each UTF-16 unit); a long
  // name of two-byte letters, and a large blob.
  std::string wide;
  for (int i = 0; i < 20000; ++i) wide += "日";
  std::string name;
  for (int i = 0; i < 200; ++i) name += "Ä";
  Test().SetString(kCurrentUser, kKey, "A_Small", "x");
  Test().SetString(kCurrentUser, kKey, "B_Wide", wide);
  Test().SetString(kCurrentUser, kKey, name, "named");
  Test().SetValue(kCurrentUser, kKey, "D_Blob", platform::kRegBinary,
                  std::vector<std::uint8_t>(30000, 0xAB));
  RegistryWatch watch(Os().registry);
  const auto values = EnumRegistryValues(watch.Watching(Os()), kCurrentUser, kKey);
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
  Test().SetString(kCurrentUser, kKey, "A_Grows", "short");
  Test().SetString(kCurrentUser, kKey, "B_After", "after");
  RegistryWatch watch(Os().registry);
  watch.AfterNextInfoQuery([&] { Test().SetString(kCurrentUser, kKey, "A_Grows", grown); });
  const auto values = EnumRegistryValues(watch.Watching(Os()), kCurrentUser, kKey);
  EXPECT_EQ(values.Count(), 2u);
  EXPECT_EQ(ItemOf(values, "A_GROWS")[1], grown);
  EXPECT_EQ(ItemOf(values, "B_AFTER")[1], "after");
}

TEST_P(RegistryReader, KeyThatCannotTellItsSizesIsStillReadWhole) {
  const std::string big(50000, 'b');
  Test().SetString(kCurrentUser, kKey, "Big", big);
  Test().SetString(kCurrentUser, kKey, "Small", "s");
  RegistryWatch watch(Os().registry);
  watch.FailInfoQueries(platform::kErrorAccessDenied);
  const auto values = EnumRegistryValues(watch.Watching(Os()), kCurrentUser, kKey);
  EXPECT_EQ(ItemOf(values, "BIG")[1], big);
  EXPECT_EQ(ItemOf(values, "SMALL")[1], "s");
}

VELMORA_ON_EVERY_BINDING(RegistryReader);

// What only the double can show: handles, failures inside the enumeration, and
// two stored names that are one once upper-cased (the registry itself keeps one
// value per name whatever its case, so only a lossy conversion on the way to
// the program could hand out such a pair).

TEST(RegistryReaderOnDouble, NamesEqualOnceUpperCasedRefuseTheSecondAdd) {
  platform::FakePlatform fake;
  fake.registry.SetValue(kCurrentUser, kKey, "Path", platform::kRegSz, {'1', 0});
  fake.registry.AppendValue(kCurrentUser, kKey, "PATH", platform::kRegSz, {'2', 0});
  try {
    (void)EnumRegistryValues(fake.Services(), kCurrentUser, kKey);
    FAIL() << "the duplicate key was accepted";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.Number(), platform::kFailureDuplicateKey);
    EXPECT_FALSE(failure.Description().empty());
  }
}

TEST(RegistryReaderOnDouble, ANameArrivingTwiceByteForByteKeepsItsFirstValue) {
  platform::FakePlatform fake;
  fake.registry.AppendValue(kCurrentUser, kKey, "X\xEF\xBF\xBD", platform::kRegSz, {'1', 0});
  fake.registry.AppendValue(kCurrentUser, kKey, "X\xEF\xBF\xBD", platform::kRegSz, {'2', 0});
  fake.registry.AppendValue(kCurrentUser, kKey, "After", platform::kRegSz, {'3', 0});
  const auto values = EnumRegistryValues(fake.Services(), kCurrentUser, kKey);
  EXPECT_EQ(values.Count(), 2u);
  EXPECT_EQ((*values.Find("X\xEF\xBF\xBD"))[1], "1");
  EXPECT_NE(values.Find("AFTER"), nullptr);
}

TEST(RegistryReaderOnDouble, ClosesTheKeyOnEveryPath) {
  platform::FakePlatform fake;
  auto os = fake.Services();
  fake.registry.SetValue(kCurrentUser, kKey, "A", platform::kRegSz, {'1', 0});
  (void)EnumRegistryValues(os, kCurrentUser, kKey);
  EXPECT_EQ(fake.registry.OpenHandles(), 0);

  fake.registry.AppendValue(kCurrentUser, kKey, "a", platform::kRegSz, {'2', 0});
  EXPECT_THROW((void)EnumRegistryValues(os, kCurrentUser, kKey), platform::Failure);
  EXPECT_EQ(fake.registry.OpenHandles(), 0);
}

class ThreeValuesOnDouble : public ::testing::Test {
 protected:
  ThreeValuesOnDouble() {
    for (const char* name : {"A", "B", "C"}) {
      fake_.registry.SetValue(kCurrentUser, kKey, name, platform::kRegSz, {'x', 0});
    }
  }
  Registry::VariableDictionary Read() {
    return EnumRegistryValues(fake_.Services(), kCurrentUser, kKey);
  }

  platform::FakePlatform fake_;
};

TEST_F(ThreeValuesOnDouble, FailedFetchEndsTheEnumerationKeepingEarlierValues) {
  fake_.registry.FailValue(1, platform::kErrorAccessDenied);
  const auto values = Read();
  EXPECT_EQ(values.Count(), 1u);
  EXPECT_NE(values.Find("A"), nullptr);
  EXPECT_EQ(fake_.registry.OpenHandles(), 0);
}

}  // namespace
