#include "text/Text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using modUtils::EqualsNoCase;
using modUtils::SplitSearchList;
using modUtils::UpperCase;

std::vector<std::string> Split(std::string_view list) {
  std::vector<std::string> pieces;
  for (std::string_view piece : SplitSearchList(list)) pieces.emplace_back(piece);
  return pieces;
}

using Pieces = std::vector<std::string>;

TEST(SearchListSplitting, KeepsEveryPieceExactlyAsWritten) {
  EXPECT_EQ(Split(""), Pieces{});
  EXPECT_EQ(Split("C:\\A"), Pieces{"C:\\A"});
  EXPECT_EQ(Split(";"), (Pieces{"", ""}));
  EXPECT_EQ(Split("a;;b"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(Split("C:\\A;C:\\B;"), (Pieces{"C:\\A", "C:\\B", ""}));
  EXPECT_EQ(Split(";lead"), (Pieces{"", "lead"}));
  EXPECT_EQ(Split(" a ; %X% ;B"), (Pieces{" a ", " %X% ", "B"}));
}

TEST(UpperCasing, FoldsLettersOfTheCommonAlphabets) {
  EXPECT_EQ(UpperCase("path_1;c:\\x"), "PATH_1;C:\\X");
  EXPECT_EQ(UpperCase("äöüéñÿ"), "ÄÖÜÉÑŸ");
  EXPECT_EQ(UpperCase("ąčęłńšžőű"), "ĄČĘŁŃŠŽŐŰ");
  EXPECT_EQ(UpperCase("αβγ ως"), "ΑΒΓ ΩΣ");
  EXPECT_EQ(UpperCase("путь ёж"), "ПУТЬ ЁЖ");
}

TEST(UpperCasing, LeavesEverythingElseByteForByte) {
  EXPECT_EQ(UpperCase("ß÷×µ"), "ß÷×µ");
  EXPECT_EQ(UpperCase("\xE6\x97\xA5\xF0\x9F\x98\x80"), "\xE6\x97\xA5\xF0\x9F\x98\x80");
  // Bytes that are not UTF-8 pass through unchanged.
  EXPECT_EQ(UpperCase(std::string("a\xFF\xC3", 3)), std::string("A\xFF\xC3", 3));
  EXPECT_EQ(UpperCase(std::string("x\0y", 3)), std::string("X\0Y", 3));
}

TEST(CaseInsensitiveEquality, ComparesWholeTexts) {
  EXPECT_TRUE(EqualsNoCase("", ""));
  EXPECT_TRUE(EqualsNoCase("C:\\Tools", "c:\\tOOLS"));
  EXPECT_TRUE(EqualsNoCase("Größe", "GRÖßE"));
  EXPECT_FALSE(EqualsNoCase("C:\\Tools", "C:\\Tools\\"));
  EXPECT_FALSE(EqualsNoCase("abc", "ab"));
  EXPECT_FALSE(EqualsNoCase("é", "e"));
  EXPECT_FALSE(EqualsNoCase(std::string("\xFF", 1), std::string("\xFE", 1)));
}

}  // namespace

namespace {

TEST(Utf16Conversion, KeepsEveryCharacterIncludingThoseOutsideTheBasicPlane) {
  EXPECT_EQ(modUtils::Utf8ToUtf16(""), u"");
  EXPECT_EQ(modUtils::Utf8ToUtf16("C:\\x;"), u"C:\\x;");
  EXPECT_EQ(modUtils::Utf8ToUtf16("Grüße \xE6\x97\xA5 \xF0\x9F\x98\x80"), u"Grüße 日 😀");
}

TEST(Utf16Conversion, MarksBytesThatAreNotUtf8) {
  EXPECT_EQ(modUtils::Utf8ToUtf16(std::string("a\xFF"
                                              "b",
                                              3)),
            u"a\uFFFDb");
  EXPECT_EQ(modUtils::Utf8ToUtf16(std::string("\xC0\x80", 2)), u"\uFFFD\uFFFD");  // overlong NUL
  EXPECT_EQ(modUtils::Utf8ToUtf16(std::string("\xED\xA0\x80", 3)), u"\uFFFD");    // surrogate
  EXPECT_EQ(modUtils::Utf8ToUtf16(std::string("\xE6\x97", 2)), u"\uFFFD\uFFFD");  // cut short
}

}  // namespace

namespace {

TEST(Utf8Conversion, KeepsEveryCharacterAndMarksLoneSurrogates) {
  struct Case {
    std::u16string wide;
    std::string narrow;
  };
  const Case cases[] = {
      {u"", ""},
      {u"C:\\Grüße 日 😀", "C:\\Grüße 日 😀"},
      {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
      {u"a\xD800", "a\xEF\xBF\xBD"},                            // high surrogate at the end
      {u"\xDC00z", "\xEF\xBF\xBDz"},                            // low surrogate first
      {u"\xD800\xD800\xDC00", "\xEF\xBF\xBD\xF0\x90\x80\x80"},  // a pair after a lone one
      {std::u16string(u"x\0y", 3), std::string("x\0y", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(modUtils::Utf16ToUtf8(c.wide), c.narrow) << c.narrow;
  }
}

}  // namespace
