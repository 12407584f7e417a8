#include "core/common/date_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/common/guid.h"
#include "core/common/hakuvo_error.h"

namespace hakuvo {
namespace {

TEST(DateTime, SerialsCountDaysFrom18991230) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
  EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EHakuvoError);
  const TDateParts d = DecodeDate(45351.75);
  EXPECT_EQ(d.Year, 2024);
  EXPECT_EQ(d.Month, 2);
  EXPECT_EQ(d.Day, 29);
}

TEST(DateTime, TimesRoundToTheMillisecondAndCarryIntoTheDate) {
  const TDateTime t = EncodeTime(7, 30, 15, 250);
  const TTimeParts p = DecodeTime(t);
  EXPECT_EQ(p.Hour, 7);
  EXPECT_EQ(p.Minute, 30);
  EXPECT_EQ(p.Second, 15);
  EXPECT_EQ(p.MilliSecond, 250);
  // A hair below midnight rounds up to the next day, not to 24:00.
  const TDateTime almost = EncodeDate(2020, 1, 1) + 0.9999999999;
  EXPECT_EQ(DateTimeToStr(almost), "2020/01/02 00:00:00");
  // Before the epoch the fraction is still a forward time of day.
  EXPECT_EQ(DateTimeToStr(-1.25), "1899/12/29 06:00:00");
}

TEST(DateTime, FormatsOfTheProgram) {
  const TDateTime v = EncodeDateTime(2021, 3, 2, 9, 5, 7);
  EXPECT_EQ(DateToStr(v), "2021/03/02");
  EXPECT_EQ(TimeToStrHM(v), "09:05");
  EXPECT_EQ(TimeToStr(v), "09:05:07");
  EXPECT_EQ(MonthDayStr(v), "3/2");
  EXPECT_EQ(MonthDay2Str(v), "3/02");
  EXPECT_EQ(YearMonthStr(v), "2021/3");
  EXPECT_EQ(FormatDateTime("hh:mm", v), "09:05");    // m after an hour is the minute
  EXPECT_EQ(FormatDateTime("YYYY/M", v), "2021/3");  // letters in either case
  EXPECT_EQ(FormatDateTime("ddddd", v), "2021/03/02");
  EXPECT_EQ(FormatDateTime("'m'm", v), "m3");
}

TEST(DateTime, MonthArithmeticClampsToTheLastDay) {
  EXPECT_EQ(DateToStr(IncMonth(EncodeDate(2021, 3, 31), -1)), "2021/02/28");
  EXPECT_EQ(DateToStr(IncMonth(EncodeDate(2024, 1, 31), 1)), "2024/02/29");
  EXPECT_EQ(DateToStr(IncMonth(EncodeDate(2020, 12, 15), 1)), "2021/01/15");
  EXPECT_EQ(DateToStr(IncYear(EncodeDate(2024, 2, 29), 1)), "2025/02/28");
  EXPECT_EQ(DateToStr(StartOfTheMonth(EncodeDate(2024, 2, 29) + 0.5)), "2024/02/01");
  EXPECT_EQ(DateToStr(StartOfTheYear(EncodeDate(2024, 2, 29))), "2024/01/01");
  EXPECT_EQ(TimeToStr(IncMonth(EncodeDateTime(2024, 1, 31, 8, 0, 0), 1)), "08:00:00");
}

TEST(DateTime, ParsesDatesAndTimes) {
  TDateTime v = -5;
  EXPECT_TRUE(TryStrToDate("2021/3/2", v));
  EXPECT_EQ(v, EncodeDate(2021, 3, 2));
  EXPECT_TRUE(TryStrToTime("7:05", v));
  EXPECT_DOUBLE_EQ(v, EncodeTime(7, 5, 0));
  EXPECT_TRUE(TryStrToDateTime("2021/03/02 07:05:09", v));
  EXPECT_EQ(DateTimeToStr(v), "2021/03/02 07:05:09");
  for (const char* bad : {"", "2021/13/01", "2021/02/30", "x/1/2", "2021//1", "25:00", "12:60", "1:2:3:4"}) {
    EXPECT_FALSE(TryStrToDateTime(bad, v)) << bad;
  }
}

TEST(DateTime, ClockCanBePinned) {
  SetNowForTesting(EncodeDateTime(2020, 5, 6, 12, 0, 0));
  EXPECT_EQ(Today(), EncodeDate(2020, 5, 6));
  SetNowForTesting(std::nullopt);
  EXPECT_GT(Today(), EncodeDate(2020, 5, 6));
}

TEST(Guid, BracedUpperCaseVersion4AndUnique) {
  const std::string a = NewGuidString();
  const std::string b = NewGuidString();
  EXPECT_TRUE(IsGuidString(a)) << a;
  EXPECT_NE(a, b);
  EXPECT_EQ(a[15], '4');
  EXPECT_NE(std::string("89AB").find(a[20]), std::string::npos);
  EXPECT_EQ(a.find_first_of("abcdef"), std::string::npos);
  EXPECT_FALSE(IsGuidString("{1234}"));
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

// Serials beyond the calendar (a damaged file, an overflowing sum) decode as the nearest end of
// its range instead of casting a huge double to an integer, which is undefined.
TEST(DateTime, SerialsOutsideTheCalendarDecodeAsItsNearestEnd) {
  EXPECT_EQ(DateToStr(FirstDaySerial), "0001/01/01");
  EXPECT_EQ(DateToStr(LastDaySerial), "9999/12/31");
  EXPECT_TRUE(IsDateTimeInRange(FirstDaySerial - 0.5));  // still the first day, at noon
  EXPECT_FALSE(IsDateTimeInRange(FirstDaySerial - 1));
  EXPECT_TRUE(IsDateTimeInRange(LastDaySerial + 0.999));
  EXPECT_FALSE(IsDateTimeInRange(LastDaySerial + 1));
  const struct {
    double Serial;
    const char* Text;
  } cases[] = {
      {HUGE_VAL, "9999/12/31 00:00:00"},     {-HUGE_VAL, "0001/01/01 00:00:00"}, {1e300, "9999/12/31 00:00:00"},
      {-1e19, "0001/01/01 00:00:00"},        {9.3e18, "9999/12/31 00:00:00"},    {3e6, "9999/12/31 00:00:00"},
      {std::nan(""), "1899/12/30 00:00:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTimeToStr(c.Serial), c.Text) << c.Serial;
    EXPECT_NO_THROW(IncMonth(c.Serial, 1)) << c.Serial;
    EXPECT_NO_THROW(StartOfTheYear(c.Serial)) << c.Serial;
  }
}

}  // namespace
}  // namespace hakuvo
