#pragma once

#include <optional>

#include "core/common/date_time.h"

namespace hakuvo::test {

// "Now" stands at a chosen moment for the life of the object, then follows the real clock again,
// also when the test fails half-way.
class TScopedClock {
 public:
  explicit TScopedClock(TDateTime now) { SetNowForTesting(now); }
  ~TScopedClock() { SetNowForTesting(std::nullopt); }
  TScopedClock(const TScopedClock&) = delete;
  TScopedClock& operator=(const TScopedClock&) = delete;

  // Moves the clock on (or back) while the test runs.
  void Set(TDateTime now) { SetNowForTesting(now); }
};

}  // namespace hakuvo::test
