#include "gui/common/qt_date_time.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/scoped_clock.h"

namespace hakuvo::test {
namespace {

TEST(QtDateTime, DatesTheCalendarCannotShowBecomeToday) {
  const TScopedClock clock(EncodeDateTime(2024, 5, 20, 18, 30, 0));
  const QDate today(2024, 5, 20);
  struct Case {
    TDateTime Serial;
    QDate Expected;
  };
  const Case cases[] = {
      {EncodeDate(2021, 3, 4) + 0.75, QDate(2021, 3, 4)},  // the time of day is dropped
      {0, QDate(1899, 12, 30)},
      {-1.5, QDate(1899, 12, 29)},  // before the epoch the whole part counts the days
      {EncodeDate(100, 1, 1), QDate(100, 1, 1)},
      {EncodeDate(9999, 12, 31), QDate(9999, 12, 31)},
      {EncodeDate(99, 12, 31), today},  // before the pickers' first year
      {-693594.0, today},               // before year 1: not even decoded
      {2958466.0, today},               // after 9999
      {1e300, today},
      {std::numeric_limits<double>::quiet_NaN(), today},
      {std::numeric_limits<double>::infinity(), today},
      {-std::numeric_limits<double>::infinity(), today},
  };
  for (const Case& c : cases) EXPECT_EQ(ToQDate(c.Serial), c.Expected) << c.Serial;
}

TEST(QtDateTime, DatesAndTimesGoBackToTheSameSerial) {
  for (const TDateTime serial : {EncodeDateTime(2024, 2, 29, 23, 59, 59), EncodeDateTime(1900, 1, 1, 0, 0, 0),
                                 EncodeDateTime(1899, 12, 30, 12, 0, 1), EncodeDateTime(9999, 12, 31, 6, 7, 8)}) {
    EXPECT_EQ(FromQDate(ToQDate(serial)), DateOf(serial)) << serial;
    EXPECT_DOUBLE_EQ(FromQDate(ToQDate(serial)) + FromQTime(ToQTime(serial)), serial) << serial;
  }
  EXPECT_EQ(ToQTime(0.5), QTime(12, 0, 0));
  EXPECT_EQ(ToQTime(-1.25), QTime(6, 0, 0));  // a forward time of day also before the epoch
  EXPECT_EQ(ToQTime(std::numeric_limits<double>::quiet_NaN()), QTime(0, 0, 0));
}

}  // namespace
}  // namespace hakuvo::test
