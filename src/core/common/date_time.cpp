#include "core/common/date_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"

namespace hakuvo {

namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

constexpr sys_days kEpoch = sys_days(year(1899) / 12 / 30);
constexpr double kUnixEpochSerial = 25569.0;  // 1970-01-01

std::optional<TDateTime>& FixedNow() {
  static std::optional<TDateTime> fixed;
  return fixed;
}

// Whole days and milliseconds of the day, with the classic handling of negative serials:
// the whole part counts days, the fraction is always a forward time of day.
void SplitSerial(TDateTime value, long long& days, long long& ms) {
  // Converting a double beyond the range of long long is undefined; no day lies out there anyway.
  if (std::isnan(value)) value = 0;
  if (!IsDateTimeInRange(value)) value = value < 0 ? FirstDaySerial : LastDaySerial;
  double whole = std::trunc(value);
  double fraction = std::fabs(value - whole);
  ms = std::llround(fraction * MSecsPerDay);
  days = static_cast<long long>(whole);
  if (ms >= static_cast<long long>(MSecsPerDay)) {
    ms -= static_cast<long long>(MSecsPerDay);
    days += value < 0 ? -1 : 1;
  }
}

year_month_day YmdOf(TDateTime value) {
  long long days = 0, ms = 0;
  SplitSerial(value, days, ms);
  return year_month_day(kEpoch + std::chrono::days(days));
}

TDateTime SerialOf(const year_month_day& ymd) { return static_cast<TDateTime>((sys_days(ymd) - kEpoch).count()); }

TDateTime WithTimeOf(TDateTime date, TDateTime source) {
  const double time = TimeOf(source);
  return date >= 0 ? date + time : date - time;
}

void AppendNumber(std::string& out, int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  out += buffer;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool IsValidDate(int y, int m, int d) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  return year_month_day(year(y) / month(static_cast<unsigned>(m)) / day(static_cast<unsigned>(d))).ok();
}

bool TryEncodeDate(int y, int m, int d, TDateTime& result) {
  if (!IsValidDate(y, m, d)) return false;
  result = SerialOf(year(y) / month(static_cast<unsigned>(m)) / day(static_cast<unsigned>(d)));
  return true;
}

TDateTime EncodeDate(int y, int m, int d) {
  TDateTime result = 0;
  if (!TryEncodeDate(y, m, d, result)) throw EHakuvoError("日付が正しくありません", "not a valid date");
  return result;
}

bool TryEncodeTime(int h, int n, int s, int ms, TDateTime& result) {
  if (h < 0 || h > 23 || n < 0 || n > 59 || s < 0 || s > 59 || ms < 0 || ms > 999) return false;
  result = ((h * 3600000.0) + (n * 60000.0) + (s * 1000.0) + ms) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int h, int n, int s, int ms) {
  TDateTime result = 0;
  if (!TryEncodeTime(h, n, s, ms, result)) throw EHakuvoError("時刻が正しくありません", "not a valid time");
  return result;
}

TDateTime EncodeDateTime(int y, int m, int d, int h, int n, int s, int ms) {
  return EncodeDate(y, m, d) + EncodeTime(h, n, s, ms);
}

TDateParts DecodeDate(TDateTime value) {
  const year_month_day ymd = YmdOf(value);
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

TTimeParts DecodeTime(TDateTime value) {
  long long days = 0, ms = 0;
  SplitSerial(value, days, ms);
  TTimeParts parts;
  parts.Hour = static_cast<int>(ms / 3600000);
  parts.Minute = static_cast<int>(ms / 60000 % 60);
  parts.Second = static_cast<int>(ms / 1000 % 60);
  parts.MilliSecond = static_cast<int>(ms % 1000);
  return parts;
}

TDateTime DateOf(TDateTime value) { return std::trunc(value); }
TDateTime TimeOf(TDateTime value) { return std::fabs(value - std::trunc(value)); }

int YearOf(TDateTime value) { return DecodeDate(value).Year; }
int MonthOf(TDateTime value) { return DecodeDate(value).Month; }
int DayOf(TDateTime value) { return DecodeDate(value).Day; }

int DaysInMonth(int y, int m) {
  return static_cast<int>(static_cast<unsigned>(
      std::chrono::year_month_day_last(year(y), std::chrono::month_day_last(month(static_cast<unsigned>(m)))).day()));
}

TDateTime IncMonth(TDateTime value, int months) {
  const year_month_day ymd = YmdOf(value);
  std::chrono::year_month target = ymd.year() / ymd.month();
  target += std::chrono::months(months);
  const auto last = std::chrono::year_month_day_last(target.year(), std::chrono::month_day_last(target.month())).day();
  const day d = ymd.day() > last ? last : ymd.day();
  return WithTimeOf(SerialOf(target / d), value);
}

TDateTime IncYear(TDateTime value, int years) { return IncMonth(value, years * 12); }

TDateTime StartOfTheMonth(TDateTime value) {
  const year_month_day ymd = YmdOf(value);
  return SerialOf(ymd.year() / ymd.month() / 1);
}

TDateTime StartOfTheYear(TDateTime value) { return SerialOf(YmdOf(value).year() / 1 / 1); }

std::string FormatDateTime(std::string_view format, TDateTime value) {
  const TDateParts date = DecodeDate(value);
  const TTimeParts time = DecodeTime(value);
  std::string out;
  bool afterHour = false;  // "m" right after an hour means minutes
  std::size_t i = 0;
  const auto run = [&](char letter) {
    std::size_t n = 0;
    while (i + n < format.size() && Lower(format[i + n]) == letter) ++n;
    return n;
  };
  while (i < format.size()) {
    const char c = Lower(format[i]);
    if (format[i] == '"' || format[i] == '\'') {
      const char quote = format[i];
      std::size_t end = format.find(quote, i + 1);
      if (end == std::string_view::npos) end = format.size();
      out.append(format.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    std::size_t n = 0;
    switch (c) {
      case 'y':
        n = run('y');
        if (n <= 2) {
          AppendNumber(out, date.Year % 100, 2);
        } else {
          AppendNumber(out, date.Year, 4);
        }
        break;
      case 'm':
        n = run('m');
        if (afterHour && n <= 2) {
          AppendNumber(out, time.Minute, static_cast<int>(n));
        } else {
          AppendNumber(out, date.Month, n >= 2 ? 2 : 1);
        }
        break;
      case 'd':
        n = run('d');
        if (n == 5) {
          out += FormatDateTime("yyyy/mm/dd", value);
        } else {
          AppendNumber(out, date.Day, n >= 2 ? 2 : 1);
        }
        break;
      case 'h':
        n = run('h');
        AppendNumber(out, time.Hour, n >= 2 ? 2 : 1);
        afterHour = true;
        i += n;
        continue;
      case 'n':
        n = run('n');
        AppendNumber(out, time.Minute, n >= 2 ? 2 : 1);
        break;
      case 's':
        n = run('s');
        AppendNumber(out, time.Second, n >= 2 ? 2 : 1);
        break;
      case 'z':
        n = run('z');
        AppendNumber(out, time.MilliSecond, n >= 3 ? 3 : 1);
        break;
      default:
        out += format[i];
        i += 1;
        continue;  // separators keep an hour's claim on a following "m"
    }
    afterHour = false;
    i += n;
  }
  return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime("yyyy/mm/dd", value); }
std::string TimeToStrHM(TDateTime value) { return FormatDateTime("hh:nn", value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime("hh:nn:ss", value); }
std::string DateTimeToStr(TDateTime value) { return FormatDateTime("yyyy/mm/dd hh:nn:ss", value); }
std::string MonthDayStr(TDateTime value) { return FormatDateTime("m/d", value); }
std::string MonthDay2Str(TDateTime value) { return FormatDateTime("m/dd", value); }
std::string YearMonthStr(TDateTime value) { return FormatDateTime("yyyy/m", value); }

namespace {

// Reads up to three numbers split by any of the separators; returns how many were read.
int ReadFields(std::string_view text, std::string_view separators, int (&fields)[3]) {
  int count = 0;
  std::size_t start = 0;
  while (count < 3) {
    std::size_t end = text.find_first_of(separators, start);
    std::string_view part = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (part.empty()) return -1;
    for (char ch : part) {
      if (ch < '0' || ch > '9') return -1;
    }
    if (!TryParseInt(part, fields[count])) return -1;
    ++count;
    if (end == std::string_view::npos) return count;
    start = end + 1;
  }
  return -1;
}

std::string_view TrimView(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool TryStrToDate(std::string_view text, TDateTime& result) {
  int fields[3] = {0, 0, 0};
  if (ReadFields(TrimView(text), "/-", fields) != 3) return false;
  return TryEncodeDate(fields[0], fields[1], fields[2], result);
}

bool TryStrToTime(std::string_view text, TDateTime& result) {
  int fields[3] = {0, 0, 0};
  const int count = ReadFields(TrimView(text), ":", fields);
  if (count < 2) return false;
  return TryEncodeTime(fields[0], fields[1], count == 3 ? fields[2] : 0, 0, result);
}

bool TryStrToDateTime(std::string_view text, TDateTime& result) {
  text = TrimView(text);
  const std::size_t blank = text.find(' ');
  TDateTime date = 0, time = 0;
  if (blank == std::string_view::npos) {
    if (!TryStrToDate(text, date)) return false;
    result = date;
    return true;
  }
  if (!TryStrToDate(text.substr(0, blank), date) || !TryStrToTime(text.substr(blank + 1), time)) return false;
  result = date + time;
  return true;
}

TDateTime Now() {
  if (FixedNow()) return *FixedNow();
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms));
}

TDateTime Today() { return DateOf(Now()); }

void SetNowForTesting(std::optional<TDateTime> fixed) { FixedNow() = fixed; }

double DateTimeToUnix(TDateTime value) { return std::round((value - kUnixEpochSerial) * SecsPerDay * 1000.0) / 1000.0; }

TDateTime UnixToDateTime(double seconds) { return seconds / SecsPerDay + kUnixEpochSerial; }

}  // namespace hakuvo
