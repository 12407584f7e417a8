#include "core/common/text_util.h"

#include <gtest/gtest.h>

namespace hakuvo {
namespace {

TEST(TextUtil, LinesRoundTripThroughTheStoredText) {
  const TStringList lines{"abc", "", "日本語"};
  EXPECT_EQ(StringsText(lines), "abc\r\n\r\n日本語\r\n");
  EXPECT_EQ(SplitLines(StringsText(lines)), lines);
  EXPECT_EQ(SplitLines("a\nb\rc"), (TStringList{"a", "b", "c"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextUtil, CaseInsensitiveComparisonLeavesUtf8Alone) {
  EXPECT_EQ(CompareTextIgnoreCase("{ABC-def}", "{abc-DEF}"), 0);
  EXPECT_LT(CompareTextIgnoreCase("a", "B"), 0);
  EXPECT_GT(CompareTextIgnoreCase("ab", "A"), 0);
  EXPECT_EQ(AsciiLower("PHOTO.JPG 写真"), "photo.jpg 写真");
  EXPECT_TRUE(EndsWithIgnoreCase("a.GpX", ".gpx"));
  EXPECT_FALSE(EndsWithIgnoreCase("gpx", ".gpx"));
  EXPECT_EQ(ReplaceAll("a\r\nb\r\n", "\r\n", ""), "ab");
}

}  // namespace
}  // namespace hakuvo
