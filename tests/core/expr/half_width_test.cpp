#include "core/expr/half_width.h"

#include <gtest/gtest.h>

#include <string>

namespace hakuvo {
namespace {

TEST(HalfWidth, FullWidthAsciiAndSpaceBecomeAscii) {
  EXPECT_EQ(ToHalfWidth("！０９ＡＺａｚ～（）＋－＊／＾＜＝＞％［］＄"), "!09AZaz~()+-*/^<=>%[]$");
  EXPECT_EQ(ToHalfWidth("１　２"), "1 2");
  EXPECT_EQ(ToHalfWidth("￥１００￠"), "¥100¢");
}

TEST(HalfWidth, KatakanaBecomeHalfWidthWithSeparateSoundMarks) {
  EXPECT_EQ(ToHalfWidth("ジョギング"), "ｼﾞｮｷﾞﾝｸﾞ");
  EXPECT_EQ(ToHalfWidth("パン・ヴァ。「ー」、"), "ﾊﾟﾝ･ｳﾞｧ｡｢ｰ｣､");
  EXPECT_EQ(ToHalfWidth("ワヲンッ゛゜"), "ﾜｦﾝｯﾞﾟ");
  // No half-width form: kept.
  EXPECT_EQ(ToHalfWidth("ヵヶヰヱ"), "ヵヶヰヱ");
  EXPECT_EQ(ToHalfWidth(U"ヴ"), U"ｳﾞ");
}

TEST(HalfWidth, OtherTextIsKept) {
  EXPECT_EQ(ToHalfWidth("距離 ひらがな ｶﾀｶﾅ abc 1.5 π"), "距離 ひらがな ｶﾀｶﾅ abc 1.5 π");
  EXPECT_EQ(ToHalfWidth(""), "");
}

TEST(HalfWidth, InvalidUtf8IsKeptByteForByteOrReplacedWhenDecoded) {
  const std::string broken = std::string("Ａ\xff") + "\xe3\x82" + "Ｂ" + "\xed\xa0\x80" + "\xc0\xaf";
  EXPECT_EQ(ToHalfWidth(broken), std::string("A\xff") + "\xe3\x82" + "B" + "\xed\xa0\x80" + "\xc0\xaf");
  EXPECT_EQ(Utf8ToUtf32(broken), U"Ａ\uFFFD\uFFFD\uFFFDＢ\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf32("a\xf4\x8f\xbf\xbf"), U"a\U0010FFFF");
  EXPECT_EQ(Utf8ToUtf32("\xf4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(HalfWidth, Utf8RoundTrips) {
  const std::string text = "a¢距離😀";
  EXPECT_EQ(Utf8ToUtf32(text), U"a¢距離😀");
  EXPECT_EQ(Utf32ToUtf8(Utf8ToUtf32(text)), text);
  EXPECT_EQ(Utf32ToUtf8(std::u32string(1, char32_t{0xD800})), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace hakuvo
