#include "core/common/number_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <utility>

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
  EXPECT_EQ(FormatFixed(-1.25L, 1), "-1.3");
}

// Halves go away from zero, also where the binary value lies just below the decimal (1.45,
// 0.15) or a rounding of the arithmetic put it there (535.5 - an ulp).
TEST(FormatFixed, TiesRoundAwayFromZero) {
  const Extended ulp = std::numeric_limits<Extended>::epsilon();
  struct Case {
    Extended Value;
    int Decimals;
    const char* Text;
  };
  const Case cases[] = {
      {0.5L, 0, "1"},
      {1.5L, 0, "2"},
      {2.5L, 0, "3"},
      {-2.5L, 0, "-3"},
      {535.5L, 0, "536"},
      {535.5L * (1 - ulp), 0, "536"},
      {535.5L * (1 + ulp), 0, "536"},
      {0.05L, 1, "0.1"},
      {0.15L, 1, "0.2"},
      {0.25L, 1, "0.3"},
      {1.45L, 1, "1.5"},
      {1.45, 1, "1.5"},  // from a double, 1.4499999999999999556
      {11.25L, 1, "11.3"},
      {-11.25L, 1, "-11.3"},
      {2.675L, 2, "2.68"},
      {999.95L, 1, "1000.0"},
      {9.5L, 0, "10"},
      {0.45L, 0, "0"},
      {0.96L, 0, "1"},
      {1.4499L, 1, "1.4"},
      {0.0499L, 1, "0.0"},
      {-0.05L, 1, "-0.1"},
      {0, 1, "0.0"},
      {-0.0L, 0, "0"},
      {1e20L, 1, "100000000000000000000.0"},
      {123456789012345678.0L, 0, "123456789012346000"},
      {1.25e-7L, 1, "0.0"},
      {4e-4951L, 1, "0.0"},
      {0.000051L, 4, "0.0001"},
      {7, 3, "7.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatFixed(c.Value, c.Decimals), c.Text) << static_cast<double>(c.Value) << " " << c.Decimals;
  }
  EXPECT_EQ(FormatFixed(std::numeric_limits<Extended>::infinity(), 1), "INF");
  EXPECT_EQ(FormatFixed(std::numeric_limits<Extended>::quiet_NaN(), 0), "NAN");
}

// Decimals as the data file reads them (the nearest Extended to k / 1000) round like the decimal
// itself, by integer arithmetic on k.
TEST(FormatFixed, TypedDecimalsRoundLikeTheirDigits) {
  std::mt19937_64 random(5);
  for (int i = 0; i < 200000; ++i) {
    const auto k = static_cast<long long>(random() % 100000000) * (random() % 2 == 0 ? 1 : -1);
    Extended value = 0;
    ASSERT_TRUE(
        TryParseNumber(std::to_string(k / 1000) + "." + std::to_string(1000 + std::llabs(k % 1000)).substr(1), value));
    if (k < 0 && k > -1000) value = -value;  // "-0.xxx" lost its sign in the whole part
    for (const int decimals : {0, 1, 2}) {
      const long long unit = decimals == 0 ? 1000 : decimals == 1 ? 100 : 10;
      const long long rounded = (std::llabs(k) + unit / 2) / unit;  // half away from zero
      std::string expected = std::to_string(rounded);
      if (decimals > 0) {
        expected.insert(0, static_cast<std::size_t>(std::max(0, decimals + 1 - static_cast<int>(expected.size()))),
                        '0');
        expected.insert(expected.size() - static_cast<std::size_t>(decimals), ".");
      }
      if (k < 0 && rounded != 0) expected.insert(0, "-");
      ASSERT_EQ(FormatFixed(value, decimals), expected) << k << " " << decimals;
    }
  }
}

TEST(NearestDecimal15, ShortDecimalsComeBackExactly) {
  const Extended ulp = std::numeric_limits<Extended>::epsilon();
  for (const Extended decimal : {32.2L, 8.0L, 17.5L, 0.1L, 1e-5L, 123456.789L, 9.99999999999999L, 1e18L}) {
    EXPECT_EQ(NearestDecimal15(decimal), decimal);
    EXPECT_EQ(NearestDecimal15(decimal * (1 + 2 * ulp)), decimal) << static_cast<double>(decimal);
    EXPECT_EQ(NearestDecimal15(decimal * (1 - 2 * ulp)), decimal) << static_cast<double>(decimal);
    EXPECT_EQ(NearestDecimal15(-decimal * (1 + ulp)), -decimal);
  }
  EXPECT_EQ(NearestDecimal15(0), 0);
  EXPECT_TRUE(std::isinf(NearestDecimal15(std::numeric_limits<Extended>::infinity())));
  // 32.2 km in 60 minutes, multiplied before it is divided, misses 32.2 by a rounding.
  const Extended speed = 32.2L * 3600000 / 3600000;
  EXPECT_EQ(NearestDecimal15(speed), 32.2L);
}

TEST(AppendPadded, WidthCountsTheSignAsPrintfDoes) {
  const std::pair<long long, int> cases[] = {{7, 2}, {2024, 4}, {5, 4}, {-5, 4}, {123456, 2}, {0, 1}, {0, 0}, {-12, 0}};
  for (const auto& [value, width] : cases) {
    std::string text = "x";
    AppendPadded(text, value, width);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "x%0*lld", width, value);
    EXPECT_EQ(text, buffer);
  }
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
