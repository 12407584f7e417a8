#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

namespace hakuvo {

// Sets TZ for the life of the object and puts the previous setting back, so tests of local
// times do not depend on the machine's zone or on each other.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    FHadOld = std::getenv("TZ") != nullptr;
    if (FHadOld) FOld = std::getenv("TZ");
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (FHadOld) {
      setenv("TZ", FOld.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::string FOld;
  bool FHadOld = false;
};

}  // namespace hakuvo
