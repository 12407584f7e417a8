#pragma once

#include <cstdint>

#include "core/common/date_time.h"

namespace hakuvo {

// Seconds east of UTC in force on this computer at the given instant, daylight saving included
// (tm_gmtoff of localtime_r). 0 for an instant the C library cannot convert.
long UtcOffsetSeconds(std::int64_t unixSeconds);

// Turns UTC serials into local ones, each with the offset in force at its own instant, so that an
// outing recorded under summer time keeps its hours when it is read in winter. Track points come
// seconds apart, so the offset of the last minute asked for is remembered; a minute is cached only
// when the offset at its first and its last second agree, which keeps the answer exact across a
// change of the clocks.
class TUtcToLocal {
 public:
  // Re-reads the time zone (tzset), so that a reading started after TZ changed sees the change.
  TUtcToLocal();
  TDateTime Convert(TDateTime utc);

 private:
  std::int64_t FMinuteStart = 0;  // Unix seconds of the remembered minute
  double FOffsetDays = 0;         // its offset as a fraction of a day
  bool FCached = false;
};

}  // namespace hakuvo
