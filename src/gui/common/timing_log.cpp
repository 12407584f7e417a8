#include "gui/common/timing_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace hakuvo {

bool IsTimingLogged() {
  static const bool logged = [] {
    const char* value = std::getenv("HAKUVO_TIMING");
    return value != nullptr && std::strcmp(value, "0") != 0 && *value != '\0';
  }();
  return logged;
}

void LogTiming(const std::string& what, double milliseconds) {
  std::fprintf(stderr, "hakuvo: %s: %.1f ms\n", what.c_str(), milliseconds);
}

}  // namespace hakuvo
