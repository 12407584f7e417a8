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

namespace hakuvo {
namespace {

TEST(DisplayPrefix, CutsLongTextsAtACharacterAndLeavesShortOnesWhole) {
  EXPECT_EQ(DisplayPrefix("短い題"), "短い題");
  const std::string exact(kDisplayTextBytes, 'a');
  EXPECT_EQ(DisplayPrefix(exact), exact);
  // 1,700,000 characters of three bytes each: the cut lands on a character's start.
  std::string title;
  for (int i = 0; i < 1'700'000; ++i) title += "走";
  const std::string shown = DisplayPrefix(title);
  EXPECT_LE(shown.size(), kDisplayTextBytes + 3);
  EXPECT_TRUE(shown.ends_with("\u2026"));
  const std::string body = shown.substr(0, shown.size() - 3);
  EXPECT_EQ(body.size() % 3, 0u);
  EXPECT_EQ(body, title.substr(0, body.size()));
}

}  // namespace
}  // namespace hakuvo
