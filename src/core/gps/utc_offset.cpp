#include "core/gps/utc_offset.h"

#include <cmath>
#include <ctime>

namespace hakuvo {

namespace {

constexpr double kUnixEpochSerial = 25569.0;  // 1970-01-01
// Far beyond any date a serial of the diary can hold (year 9999), yet well inside time_t.
constexpr double kLimitSeconds = 1e12;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

long UtcOffsetSeconds(std::int64_t unixSeconds) {
  const auto instant = static_cast<std::time_t>(unixSeconds);
  std::tm local{};
  if (localtime_r(&instant, &local) == nullptr) return 0;
  return local.tm_gmtoff;
}

TUtcToLocal::TUtcToLocal() { tzset(); }

TDateTime TUtcToLocal::Convert(TDateTime utc) {
  const double unrounded = (utc - kUnixEpochSerial) * SecsPerDay + 0.0005;
  if (!(std::fabs(unrounded) < 2 * kLimitSeconds)) return utc;
  // std::floor, without the call into the maths library for every point of a track.
  double seconds = static_cast<double>(static_cast<std::int64_t>(unrounded));
  if (seconds > unrounded) seconds -= 1;
  if (!(std::fabs(seconds) < kLimitSeconds)) return utc;
  const auto instant = static_cast<std::int64_t>(seconds);
  // Tested without a division, as nearly every point of a track falls in the minute before.
  if (FCached && instant >= FMinuteStart && instant - FMinuteStart < 60) return utc + FOffsetDays;
  const std::int64_t minuteStart = FloorDiv(instant, 60) * 60;
  const long first = UtcOffsetSeconds(minuteStart);
  const long last = UtcOffsetSeconds(minuteStart + 59);
  FCached = first == last;
  FMinuteStart = minuteStart;
  FOffsetDays = static_cast<double>(first) / SecsPerDay;
  return FCached ? utc + FOffsetDays : utc + static_cast<double>(UtcOffsetSeconds(instant)) / SecsPerDay;
}

}  // namespace hakuvo
