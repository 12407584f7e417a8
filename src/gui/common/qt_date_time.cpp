#include "gui/common/qt_date_time.h"

#include <cmath>

namespace hakuvo {

QDate ToQDate(TDateTime value) {
  // Years 1 to 9999; a serial beyond them is not even decoded.
  if (std::isfinite(value) && value >= -693593.0 && value < 2958466.0) {
    const TDateParts parts = DecodeDate(value);
    const QDate date(parts.Year, parts.Month, parts.Day);
    if (date.isValid() && date.year() >= kFirstPickerYear && date.year() <= kLastPickerYear) return date;
  }
  const TDateParts today = DecodeDate(Today());
  return QDate(today.Year, today.Month, today.Day);
}

TDateTime FromQDate(const QDate& date) { return EncodeDate(date.year(), date.month(), date.day()); }

QTime ToQTime(TDateTime value) {
  if (!std::isfinite(value)) return QTime(0, 0);
  const TTimeParts parts = DecodeTime(value);
  return QTime(parts.Hour, parts.Minute, parts.Second);
}

TDateTime FromQTime(const QTime& time) { return EncodeTime(time.hour(), time.minute(), time.second()); }

}  // namespace hakuvo
