#pragma once

#include <ctime>
#include <string>

#include "core/common/date_time.h"

namespace hakuvo {

// The local date and time of a moment given in seconds since 1970 (UTC), to the second; false
// for a moment the C library cannot convert.
bool LocalDateTimeOf(std::time_t seconds, TDateTime& result);

// The last-modified local date and time of a file (links followed); false when it cannot be read.
bool FileModifiedTime(const std::string& fileName, TDateTime& result);

}  // namespace hakuvo
