#include "core/common/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace hakuvo {
namespace {

TEST(FormatGeneral, ShortestFormUpTo15Digits) {
  const struct {
    Extended value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0L, "0"},
      {1, "1"},
      {-2.5L, "-2.5"},
      {0.1L, "0.1"},
      {0.1 + 0.2, "0.3"},  // double noise beyond 15 digits disappears
      {10, "10"},
      {616.9L, "616.9"},
      {1e-5L, "0.00001"},
      {1e-7L, "1E-7"},
      {1.5e-7L, "1.5E-7"},
      {123456789012345.0L, "123456789012345"},
      {1e15L, "1E15"},
      {1.23456789012345678e17L, "1.23456789012346E17"},
      {139.7664L, "139.7664"},
      {35.6815L, "35.6815"},
      {-0.000123L, "-0.000123"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text) << static_cast<double>(c.value);
}

TEST(FormatGeneral, NonFiniteValuesHaveNames) {
  EXPECT_EQ(FormatGeneral(std::numeric_limits<Extended>::infinity()), "INF");
  EXPECT_EQ(FormatGeneral(-std::numeric_limits<Extended>::infinity()), "-INF");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<Extended>::quiet_NaN()), "NAN");
}

TEST(FormatGeneral, ReadsBackToTheSameValueAt15Digits) {
  for (Extended v : {0.1L, 1.0L / 3.0L, 2.0L / 3.0L * 1e10L, 9.79L, 1e-300L, 6.02214076e23L}) {
    Extended back = 0;
    ASSERT_TRUE(TryParseNumber(FormatGeneral(v), back)) << FormatGeneral(v);
    EXPECT_NEAR(static_cast<double>(back / v), 1.0, 1e-14);
  }
}

TEST(FormatFixed, RoundsAndNeverShowsMinusZero) {
  EXPECT_EQ(FormatFixed(10, 1), "10.0");
  EXPECT_EQ(FormatFixed(616.93L, 0), "617");
  EXPECT_EQ(FormatFixed(-0.04L, 1), "0.0");
  EXPECT_EQ(FormatFixed(-1.25L, 1), "-1.2");
}

TEST(TryParseNumber, AcceptsPlainNumbersOnly) {
  Extended v = 0;
  EXPECT_TRUE(TryParseNumber(" 12.5 ", v));
  EXPECT_EQ(v, 12.5L);
  EXPECT_TRUE(TryParseNumber("+3", v));
  EXPECT_EQ(v, 3);
  EXPECT_TRUE(TryParseNumber("-1E-7", v));
  EXPECT_EQ(v, -1e-7L);
  for (const char* bad : {"", " ", "1,5", "abc", "1.2.3x", "inf", "nan", "1e99999", "--1", "0x10"}) {
    v = 42;
    EXPECT_FALSE(TryParseNumber(bad, v)) << bad;
    EXPECT_EQ(v, 42) << "a failed parse must not change the target";
  }
  int i = 0;
  EXPECT_TRUE(TryParseInt("-17", i));
  EXPECT_EQ(i, -17);
  EXPECT_FALSE(TryParseInt("1.5", i));
  EXPECT_FALSE(TryParseInt("99999999999", i));
}

}  // namespace
}  // namespace hakuvo
