#include "text/Text.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::string_literals;
using text::Utf16ToUtf8;
using text::Utf8ToUtf16;

TEST(SearchListSplitting, KeepsEveryPieceExactlyAsWritten) {
  const std::pair<std::string_view, std::vector<std::string_view>> cases[] = {
      {"", {}},
      {";", {"", ""}},
      {"a;;b", {"a", "", "b"}},
      {"C:\\A;C:\\B;", {"C:\\A", "C:\\B", ""}},
      {" a ; %X% ;B", {" a ", " %X% ", "B"}},
  };
  for (const auto& [list, pieces] : cases) EXPECT_EQ(text::SplitSearchList(list), pieces);
}

TEST(UpperCasing, FoldsTheCommonAlphabetsAndKeepsEveryOtherByte) {
  const std::pair<std::string, std::string> cases[] = {
      {"path_1;c:\\x", "PATH_1;C:\\X"},
      {"äöüéñÿ ąčęłńšžőű", "ÄÖÜÉÑŸ ĄČĘŁŃŠŽŐŰ"},
      {"αβγ ως путь ёж", "ΑΒΓ ΩΣ ПУТЬ ЁЖ"},
      {"ß÷×µ 日😀", "ß÷×µ 日😀"},
      {"a\xFF\xC3"s, "A\xFF\xC3"s},  // bytes that are not UTF-8 pass through
      {"x\0y"s, "X\0Y"s},
  };
  for (const auto& [text, upper] : cases) EXPECT_EQ(text::UpperCase(text), upper);
}

TEST(CaseInsensitiveEquality, ComparesWholeTexts) {
  const std::tuple<std::string, std::string, bool> cases[] = {
      {"", "", true},           {"C:\\Tools", "c:\\tOOLS", true},
      {"Größe", "GRÖßE", true}, {"a", "a\\", false},
      {"abc", "ab", false},     {"é", "e", false},
      {"\xFF", "\xFE", false},  {"\xC3", "\xC3\x83", false}};  // a cut "Ã" is no "Ã"
  for (const auto& [a, b, equal] : cases) EXPECT_EQ(text::EqualsNoCase(a, b), equal) << a;
}

TEST(Utf16Conversion, KeepsEveryCharacterBothWays) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"", u""},
      {"C:\\Grüße 日 😀", u"C:\\Grüße 日 😀"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"x\0y"s, u"x\0y"s},
  };
  for (const auto& [narrow, wide] : cases) {
    EXPECT_EQ(Utf8ToUtf16(narrow), wide);
    EXPECT_EQ(Utf16ToUtf8(wide), narrow);
  }
}

TEST(Utf16Conversion, MarksWhatTheOtherFormCannotHold) {
  EXPECT_EQ(Utf8ToUtf16("a\377b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");  // an overlong NUL
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");    // a surrogate
  EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), u"\uFFFD\uFFFD");  // cut short
  // Surrogates without their partner: at the end, first, and before a pair.
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"), "a\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00z"), "\uFFFDz");
  EXPECT_EQ(Utf16ToUtf8(u"\xD800\xD800\xDC00"), "\uFFFD\U00010000");
}

}  // namespace
}  // namespace velmora
