#include "core/gps/gps_reader_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/common/number_format.h"

namespace hakuvo {
namespace {

// Same verdict and the same 80 bits as the general parser, or the shortcut is wrong.
// Both forms: the text as a view, and as the NUL-terminated value of an XML attribute or element.
void ExpectSameAsGeneralParser(const std::string& text) {
  Extended fast = 12345, terminated = 12345, general = 12345;
  const bool fastOk = TryParseGpsNumber(std::string_view(text), fast);
  const bool terminatedOk = TryParseGpsNumber(text.c_str(), terminated);
  const bool generalOk = TryParseNumber(text, general);
  ASSERT_EQ(fastOk, generalOk) << "'" << text << "'";
  ASSERT_EQ(terminatedOk, generalOk) << "'" << text << "'";
  if (fastOk) {
    EXPECT_EQ(std::memcmp(&fast, &general, 10), 0) << "'" << text << "'";
    EXPECT_EQ(std::memcmp(&terminated, &general, 10), 0) << "'" << text << "'";
  }
}

TEST(GpsReaderUtilTest, NumbersAgreeWithTheGeneralParserToTheBit) {
  const char* const special[] = {
      "0",
      "-0",
      "+3",
      "1.",
      ".5",
      "-.5",
      "35.681236",
      " 12.5\n",
      "\t-86.844139610\r",
      "",
      "-",
      ".",
      "1..2",
      "1.2.3",
      "0x10",
      "inf",
      "nan",
      "1e5",
      "-2.5E-3",
      "1 2",
      "12a",
      "--1",
      "+-1",
      "0.1",
      "0.3",
      "1e400",
      "4807.038",
      "00000000000000000000000001.5",
      "1234567890123456789",
      "12345678901234567890",
      "0.0000000000000000000000000001",
      "99999999999999999999.999",
      "3.141592653589793238462643",
  };
  for (const char* text : special) ExpectSameAsGeneralParser(text);

  // Plain decimals of every length a track writes, with and without sign and integer part.
  std::mt19937_64 random(20240601);
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    if (random() % 3 == 0) text += '-';
    const int integerDigits = static_cast<int>(random() % 6);
    const int fractionDigits = static_cast<int>(random() % 22);
    for (int d = 0; d < integerDigits; ++d) text += static_cast<char>('0' + random() % 10);
    if (fractionDigits > 0 || random() % 2) text += '.';
    for (int d = 0; d < fractionDigits; ++d) text += static_cast<char>('0' + random() % 10);
    ExpectSameAsGeneralParser(text);
  }
}

// Every second of a day, read from an ISO time, has the bits TryEncodeTime gives it (the reader
// computes it in line); the date is remembered from one time to the next, and a different date
// after it is read again.
TEST(GpsReaderUtilTest, IsoTimesHaveTheBitsOfTheEncodedTime) {
  for (const char* date : {"2021-03-02", "2021-03-02", "1999-12-31", "2021-03-02"}) {
    for (int second = 0; second < 86400; second += (second % 7 == 0 ? 1 : 13)) {
      char text[32];
      std::snprintf(text, sizeof text, "%sT%02d:%02d:%02dZ", date, second / 3600, second / 60 % 60, second % 60);
      TDateTime value = 0, expected = 0;
      std::string_view rest;
      ASSERT_TRUE(TryParseIsoDateTime(text, value, rest)) << text;
      const int year = std::atoi(date), month = std::atoi(date + 5), day = std::atoi(date + 8);
      expected = EncodeDate(year, month, day) + EncodeTime(second / 3600, second / 60 % 60, second % 60);
      ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
      EXPECT_EQ(rest, "Z");
    }
  }
  TDateTime value = 0;
  std::string_view rest;
  EXPECT_FALSE(TryParseIsoDateTime("2021-03-02T24:00:00Z", value, rest));
  EXPECT_FALSE(TryParseIsoDateTime("2021-03-02T23:60:00Z", value, rest));
  EXPECT_FALSE(TryParseIsoDateTime("2021-03-02T23:59:60Z", value, rest));
  EXPECT_FALSE(TryParseIsoDateTime("2021-02-30T00:00:00Z", value, rest));
}

TEST(GpsReaderUtilTest, IsoTimesAndOffsets) {
  TDateTime value = 0;
  std::string_view rest;
  ASSERT_TRUE(TryParseIsoDateTime("2021-03-02T09:30:40.993+09:00", value, rest));
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss", value), "2021/03/02 09:30:40");
  EXPECT_EQ(rest, ".993+09:00");
  EXPECT_EQ(SkipFraction(rest), "+09:00");
  EXPECT_EQ(SkipFraction(".Z"), ".Z");
  EXPECT_FALSE(TryParseIsoDateTime("2021-03-02T09:30", value, rest));
  EXPECT_FALSE(TryParseIsoDateTime("2021/03/02T09:30:40", value, rest));

  struct Case {
    const char* text;
    bool ok;
    int minutes;
  };
  const Case cases[] = {{"+09:00", true, 540}, {"-05:30", true, -330}, {"+0900", true, 540}, {"+09", true, 540},
                        {"Z", false, 0},       {"+9:00", false, 0},    {"+24:00", false, 0}, {"+09:60", false, 0},
                        {"+09:00x", false, 0}, {"", false, 0}};
  for (const Case& c : cases) {
    int minutes = 0;
    EXPECT_EQ(TryParseZoneOffset(c.text, minutes), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(minutes, c.minutes) << c.text;
    }
  }
}

}  // namespace
}  // namespace hakuvo
