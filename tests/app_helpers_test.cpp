// Text and number helpers: fields, extensions, thousands, hashing, and the small numeric helpers.
#include <gtest/gtest.h>

#include "base/math_util.h"
#include "base/text_util.h"

namespace spellcrypt {
namespace {

TEST(GetFieldTest, EmptyFieldsCountAndFieldsPastTheEndAreEmpty) {
  const std::string text = "a b  c";  // a, b, empty, c
  EXPECT_EQ(GetField(text, 1, ' '), "a");
  EXPECT_EQ(GetField(text, 2, ' '), "b");
  EXPECT_EQ(GetField(text, 3, ' '), "");
  EXPECT_EQ(GetField(text, 4, ' '), "c");
  EXPECT_EQ(GetField("x|y", 5, '|'), "");
  EXPECT_EQ(GetField("x|y", 0, '|'), "");
}

TEST(GetFieldTest, LineFeedsAreRemovedFromTheField) {
  EXPECT_EQ(GetField("E|127\n", 2, '|'), "127");
  EXPECT_EQ(GetField("E|1\n2", 2, '|'), "12");
  EXPECT_EQ(GetField("E|127", 3, '|'), "");
}

TEST(ReplaceAllTest, ReplacesEveryOccurrenceWithoutRescanningTheReplacement) {
  std::string text = "aaa";
  ReplaceAll("a", "aa", text);
  EXPECT_EQ(text, "aaaaaa");
  std::string crlf = "x\r\ny\r\n";
  ReplaceAll("\r\n", "\n", crlf);
  EXPECT_EQ(crlf, "x\ny\n");
  std::string untouched = "abc";
  ReplaceAll("", "z", untouched);
  EXPECT_EQ(untouched, "abc");
}

TEST(SetExtensionTest, ReplacesFromTheFirstDot) {
  EXPECT_EQ(SetExtension("data\\master_word_list.txt", "lft"), "data\\master_word_list.lft");
  EXPECT_EQ(SetExtension("words", "lft"), "words.lft");
  EXPECT_EQ(SetExtension(".hidden\\list.txt", "lft"), ".lft");
  EXPECT_EQ(SetExtension("a.b.c", "d"), "a.d");
}

TEST(FormatThousandsTest, GroupsDigitsAndCutsDecimals) {
  EXPECT_EQ(FormatThousands(1234567.891, 2), "1,234,567.89");
  EXPECT_EQ(FormatThousands(1234567.891, 0), "1,234,567");
  EXPECT_EQ(FormatThousands(999, 0), "999");
  EXPECT_EQ(FormatThousands(1000, 0), "1,000");
  EXPECT_EQ(FormatThousands(0, 0), "0");
  // Cut, not rounded: 0.999 with two decimals stays 0.99.
  EXPECT_EQ(FormatThousands(0.999, 2), "0.99");
  EXPECT_EQ(FormatThousands(-1234.5, 1), "-1,234.5");
}

TEST(HashStringTest, BytesCountAsSignedCharacters) {
  EXPECT_EQ(HashString("abc"), 2043u);
  EXPECT_EQ(HashString("a\xE9"), 0xFFFFFE6Du);
  EXPECT_EQ(HashString(""), 0u);
}

TEST(CopyTextTest, AlwaysTerminatesAndCuts) {
  char buffer[5];
  CopyText(buffer, sizeof buffer, "abcdefgh");
  EXPECT_STREQ(buffer, "abcd");
  CopyText(buffer, sizeof buffer, "ab");
  EXPECT_STREQ(buffer, "ab");
}

TEST(NumericHelpersTest, ApproachNeverPassesTheTarget) {
  float v = 0.0f;
  Approach(v, 1.0f, 0.4f);
  EXPECT_FLOAT_EQ(v, 0.4f);
  Approach(v, 1.0f, 0.7f);
  EXPECT_FLOAT_EQ(v, 1.0f);
  Approach(v, 0.5f, 2.0f);
  EXPECT_FLOAT_EQ(v, 0.5f);
  Approach(v, 0.5f, 2.0f);
  EXPECT_FLOAT_EQ(v, 0.5f);
}

TEST(NumericHelpersTest, PosModClampLerpAndRanges) {
  EXPECT_EQ(PosMod(-1, 5), 4);
  EXPECT_EQ(PosMod(7, 5), 2);
  EXPECT_EQ(PosMod(-7, -5), 3);
  int v = 12;
  Clamp(v, 0, 10);
  EXPECT_EQ(v, 10);
  Clamp(v, 11, 20);
  EXPECT_EQ(v, 11);
  EXPECT_FLOAT_EQ(Lerp(10.0f, 20.0f, 0.25f), 12.5f);
  EXPECT_TRUE(InRange(3, 3, 5));
  EXPECT_FALSE(InRange(6, 3, 5));
  EXPECT_TRUE(IsNear(10, 12, 2));
  EXPECT_FALSE(IsNear(10, 13, 2));
}

TEST(EqualsNoCaseTest, ComparesAsciiLettersWithoutCase) {
  EXPECT_TRUE(EqualsNoCase("-NoSound", "-NOSOUND"));
  EXPECT_FALSE(EqualsNoCase("-NOSOUND", "-NOSOUN"));
  EXPECT_FALSE(EqualsNoCase("a", "b"));
}

}  // namespace
}  // namespace spellcrypt
