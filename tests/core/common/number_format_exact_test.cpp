// The quick paths of FormatGeneral and TryParseNumber must give exactly what the C library gives.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/common/number_format.h"

namespace hakuvo {
namespace {

// The reference: from_chars on long double, correctly rounded by the C library.
bool Reference(const std::string& text, Extended& value) {
  const char* begin = text.data();
  if (!text.empty() && text[0] == '+') ++begin;
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

void ExpectSameAsReference(const std::string& text) {
  Extended expected = 0;
  Extended actual = 0;
  const bool expectedOk = Reference(text, expected);
  ASSERT_EQ(TryParseNumber(text, actual), expectedOk) << text;
  if (!expectedOk) return;
  EXPECT_EQ(actual, expected) << text;
  EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << text;
}

TEST(TryParseNumberExact, EdgesOfTheQuickPathAgreeWithTheLibrary) {
  for (const char* text : {"0",
                           "-0",
                           "0.0",
                           "-0.000",
                           "1",
                           "-1",
                           "0.291666666666667",
                           "42095",
                           "42095.8125",
                           "1E-7",
                           "1e-7",
                           "2.5E+3",
                           "1e27",
                           "1e-27",
                           "1e28",
                           "1e-28",
                           "123456789012345678",
                           "9999999999999999999",
                           "-9999999999999999999.5",
                           "18446744073709551615",
                           "12345678901234567890123",
                           "0.000000000000000000000000000001",
                           ".5",
                           "5.",
                           "-.5",
                           "00012.500",
                           "1.000000000000000000001",
                           "35.6815",
                           "139.7664",
                           "1E0",
                           "1E0000",
                           "1E00001",
                           "1e",
                           "1.5e",
                           ".",
                           "-",
                           "1-2",
                           "--1",
                           "1e+",
                           "1e-",
                           "0e99999",
                           "1e4931",
                           "1e-4950",
                           "1e5000",
                           "4.9E-324"}) {
    ExpectSameAsReference(text);
  }
}

TEST(TryParseNumberExact, RandomDecimalsAgreeWithTheLibrary) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 300000; ++i) {
    const int length = 1 + static_cast<int>(random() % 21);
    std::string digits;
    for (int d = 0; d < length; ++d) digits += static_cast<char>('0' + random() % 10);
    std::string text = random() % 2 ? "-" : "";
    const std::size_t point = random() % (digits.size() + 1);
    text += digits.substr(0, point);
    if (random() % 3 != 0) text += "." + digits.substr(point);
    if (random() % 3 == 0) text += (random() % 2 ? "E" : "e") + std::to_string(static_cast<int>(random() % 61) - 30);
    ExpectSameAsReference(text);
    if (HasFailure()) return;
  }
}

// The general form from printf's own rounding to 15 digits.
std::string ReferenceGeneral(Extended value) {
  if (value == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14Le", value);
  const std::string text(buffer);
  const std::size_t ePos = text.find('e');
  const int exponent = std::atoi(text.c_str() + ePos + 1);
  const bool negative = text[0] == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
    if (text[i] != '.') digits += text[i];
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string result = negative ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    result += digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "") + "E" + std::to_string(exponent);
  } else if (exponent < 0) {
    result += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const auto intDigits = static_cast<std::size_t>(exponent) + 1;
    result += digits.size() <= intDigits ? digits + std::string(intDigits - digits.size(), '0')
                                         : digits.substr(0, intDigits) + "." + digits.substr(intDigits);
  }
  return result;
}

TEST(FormatGeneralExact, EdgesAgreeWithPrintf) {
  for (const Extended value : {1.0L,
                               -1.0L,
                               7.0L / 24,
                               0.5L / 1440,
                               42095.0L,
                               42095.8125L,
                               1e-5L,
                               0.99999999999999995e-5L,
                               1e-6L,
                               1e15L,
                               999999999999999.5L,
                               999999999999999.4L,
                               99999999999999.95L,
                               9.999999999999995L,
                               1.0000000000000005L,
                               1.8446744073709551615e19L,
                               9.2233720368547758e18L,
                               12.3L,
                               35.6815L,
                               139.7664L,
                               0.1L,
                               0.3L,
                               123456789012345.6L,
                               0.000123456789012345678L,
                               2.5e-7L,
                               1e300L,
                               1e-300L,
                               4e-4951L}) {
    EXPECT_EQ(FormatGeneral(value), ReferenceGeneral(value)) << static_cast<double>(value);
    EXPECT_EQ(FormatGeneral(-value), ReferenceGeneral(-value)) << static_cast<double>(value);
  }
}

TEST(FormatGeneralExact, RandomValuesAgreeWithPrintf) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 300000; ++i) {
    Extended value = 0;
    switch (i % 4) {
      case 0: {  // any significand, binary exponents around the quick path's range
        const std::uint64_t bits = random() | (std::uint64_t{1} << 63);
        value = std::ldexp(static_cast<Extended>(bits), static_cast<int>(random() % 140) - 64 - 80);
        break;
      }
      case 1:  // times of day by the minute and second
        value = static_cast<Extended>(random() % 86400) / 86400;
        break;
      case 2:  // decimals as typed, read back
        value = static_cast<Extended>(static_cast<std::int64_t>(random() % 100000000)) / 1000;
        break;
      default: {  // halfway between 15-digit decimals, where rounding is decided
        const auto base = static_cast<Extended>(100000000000000 + random() % 900000000000000);
        value = (base + 0.5L) * std::pow(10.0L, static_cast<int>(random() % 30) - 25);
        break;
      }
    }
    if (random() % 2 != 0) value = -value;
    ASSERT_EQ(FormatGeneral(value), ReferenceGeneral(value)) << static_cast<double>(value);
  }
}

}  // namespace
}  // namespace hakuvo
