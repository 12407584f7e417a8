#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hakuvo {

// Days since 1899-12-30; the fraction is the time of day. For dates before that day the
// whole part counts back and the fraction still runs forward through the day.
using TDateTime = double;

constexpr double HoursPerDay = 24.0;
constexpr double MinsPerDay = 24.0 * 60.0;
constexpr double SecsPerDay = 24.0 * 60.0 * 60.0;
constexpr double MSecsPerDay = SecsPerDay * 1000.0;

// The calendar's range as serials: 0001-01-01 is the first day, 9999-12-31 the last. A serial
// further out names no day the program can show or store; DecodeDate and DecodeTime take it as
// the nearest end of the range (and an undefined value as the first moment of 1899-12-30).
constexpr TDateTime FirstDaySerial = -693593.0;
constexpr TDateTime LastDaySerial = 2958465.0;
// Any moment of a day of the calendar's range (for negative serials the time of day is the
// fraction counted forward, so all of -693593.x is the first day).
constexpr bool IsDateTimeInRange(TDateTime value) {
  return value > FirstDaySerial - 1.0 && value < LastDaySerial + 1.0;
}

struct TDateParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
};

struct TTimeParts {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int MilliSecond = 0;
};

bool IsValidDate(int year, int month, int day);
// Serial of a calendar date; throws EHakuvoError for a date that does not exist.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeTime(int hour, int minute, int second, int milliSecond = 0);
bool TryEncodeTime(int hour, int minute, int second, int milliSecond, TDateTime& result);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int milliSecond = 0);

// Splits a serial, rounded to the millisecond, into its calendar date and its time of day.
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);

// The whole day (time of day dropped) and the time of day alone.
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

int YearOf(TDateTime value);
int MonthOf(TDateTime value);
int DayOf(TDateTime value);
// The same day of the month `months` calendar months later (earlier when negative), clamped
// to the last day of a shorter month; the time of day is kept.
TDateTime IncMonth(TDateTime value, int months);
TDateTime IncYear(TDateTime value, int years);
TDateTime StartOfTheMonth(TDateTime value);
TDateTime StartOfTheYear(TDateTime value);
int DaysInMonth(int year, int month);

// Formats with the classic date-time pattern letters (case does not matter): yyyy yy, m mm
// (minutes when they follow an hour), d dd, ddddd (the short date "yyyy/mm/dd"), h hh, n nn,
// s ss, z zzz; text in quotes is copied as is; every other character stands for itself.
std::string FormatDateTime(std::string_view format, TDateTime value);

// The formats the program shows.
std::string DateToStr(TDateTime value);      // yyyy/mm/dd
std::string TimeToStrHM(TDateTime value);    // hh:mm
std::string TimeToStr(TDateTime value);      // hh:nn:ss
std::string DateTimeToStr(TDateTime value);  // yyyy/mm/dd hh:nn:ss
std::string MonthDayStr(TDateTime value);    // M/D
std::string MonthDay2Str(TDateTime value);   // M/DD
std::string YearMonthStr(TDateTime value);   // YYYY/M

// Reads "yyyy/m/d" (also with "-"), "h:n" or "h:n:s", and "yyyy/m/d h:n[:s]".
bool TryStrToDate(std::string_view text, TDateTime& result);
bool TryStrToTime(std::string_view text, TDateTime& result);
bool TryStrToDateTime(std::string_view text, TDateTime& result);

// The clock of the program. Tests may pin it; std::nullopt returns to the system clock.
TDateTime Now();
TDateTime Today();
void SetNowForTesting(std::optional<TDateTime> fixed);

// Seconds since 1970-01-01 UTC <-> serials, for converting between UTC and local time.
double DateTimeToUnix(TDateTime value);
TDateTime UnixToDateTime(double seconds);

}  // namespace hakuvo
