#pragma once

#include <QDate>
#include <QTime>

#include "core/common/date_time.h"

namespace hakuvo {

// The date pickers' calendar: what a picker can show and what ToQDate gives.
inline constexpr int kFirstPickerYear = 100;
inline constexpr int kLastPickerYear = 9999;

// Serials outside the pickers' calendar (or not numbers at all) show as today rather than as
// whatever the conversion would make of them.
QDate ToQDate(TDateTime value);
TDateTime FromQDate(const QDate& date);

// The time of day of a serial, to the second; the date part is ignored.
QTime ToQTime(TDateTime value);
TDateTime FromQTime(const QTime& time);

}  // namespace hakuvo
