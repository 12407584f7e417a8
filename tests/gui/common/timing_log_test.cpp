#include "gui/common/timing_log.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace hakuvo::test {
namespace {

TEST(TimingLog, ReadsTheStartTimeFromAStatLine) {
  // Fields after the name: state, ppid, pgrp, session, tty, tpgid, flags, minflt, cminflt, majflt,
  // cmajflt, utime, stime, cutime, cstime, priority, nice, threads, itrealvalue, starttime, vsize.
  const std::string tail = " S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 123456 99999 7\n";
  struct Case {
    std::string Line;
    std::optional<unsigned long long> Expected;
  };
  const Case cases[] = {
      {"4242 (hakuvo)" + tail, 123456},
      {"4242 (a b) c)" + tail, 123456},     // the name may hold spaces and parentheses
      {"4242 ((x) 1 2 3)" + tail, 123456},  // even what looks like fields
      {"4242 ()" + tail, 123456},
      {"4242 (hakuvo) S 1 2 3", std::nullopt},  // cut short
      {"4242 (hakuvo) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 12x456 9", std::nullopt},
      {"4242 (hakuvo) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 -5 9", std::nullopt},
      {"4242 hakuvo S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 123456 9", std::nullopt},  // no name
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ProcessStartTicks(c.Line), c.Expected) << c.Line;
}

TEST(TimingLog, CountsFromTheStartOfTheProcess) {
  // This process has been running since before the test began: a watch counting from its
  // start is ahead of one started now, and both read forward.
  const std::optional<double> age = ProcessAgeMilliseconds();
  ASSERT_TRUE(age.has_value()) << "/proc/self/stat gives the start of every Linux process";
  const TTimingWatch sinceStart = TTimingWatch::SinceProcessStart();
  const TTimingWatch sinceNow;
  const double fromNow = sinceNow.Milliseconds();
  const double fromStart = sinceStart.Milliseconds();
  EXPECT_GE(fromStart, *age);
  EXPECT_GE(fromStart, fromNow);
  EXPECT_GE(fromNow, 0.0);
}

}  // namespace
}  // namespace hakuvo::test
