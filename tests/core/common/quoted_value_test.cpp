#include "core/common/quoted_value.h"

#include <gtest/gtest.h>

#include <string>

namespace hakuvo {
namespace {

TEST(QuoteValue, ShowsAValueOnOneShortLine) {
  const struct {
    std::string Value;
    std::string Quoted;
  } cases[] = {
      {"", "\"\""},
      {"15,3", "\"15,3\""},
      {"南緯33.5", "\"南緯33.5\""},
      {"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
      {"say \"hi\" \\", "\"say \\\"hi\\\" \\\\\""},
      {std::string("\x1B[2J\0x", 6), "\"\\x1B[2J\\x00x\""},
      {"\x7F\xC2\x85", "\"\\x7F\\xC2\\x85\""},  // DEL and a C1 control
      {"\xFF\xE3\x81", "\"\\xFF\\xE3\\x81\""},  // bytes that are no UTF-8, and half a character
      {std::string(60, 'x'), "\"" + std::string(60, 'x') + "\""},
      {std::string(61, 'x'), "\"" + std::string(60, 'x') + "…\" (全 61 バイト)"},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteValue(c.Value), c.Quoted) << c.Value;
}

// A damaged file of megabytes in one attribute gives a message of a line, cut between characters.
TEST(QuoteValue, AHugeValueIsCutBetweenCharacters) {
  std::string value;
  for (int i = 0; i < 1000000; ++i) value += "日\n";
  const std::string quoted = QuoteValue(value);
  EXPECT_LT(quoted.size(), 200u);
  EXPECT_EQ(quoted.substr(0, 11), "\"日\\n日\\n");
  EXPECT_NE(quoted.find("(全 4000000 バイト)"), std::string::npos) << quoted;
  EXPECT_EQ(QuoteValue("日本語の値", 2), "\"日本…\" (全 15 バイト)");
}

}  // namespace
}  // namespace hakuvo
