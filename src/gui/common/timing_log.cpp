#include "gui/common/timing_log.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

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

std::optional<unsigned long long> ProcessStartTicks(std::string_view statLine) {
  // The name ends at the last parenthesis: it is the only field that may hold one.
  const std::size_t nameEnd = statLine.rfind(')');
  if (nameEnd == std::string_view::npos) return std::nullopt;
  std::string_view rest = statLine.substr(nameEnd + 1);
  constexpr int kStartTimeField = 22;
  for (int field = 3; field <= kStartTimeField; ++field) {
    const std::size_t begin = rest.find_first_not_of(' ');
    if (begin == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(begin);
    const std::size_t end = std::min(rest.find(' '), rest.size());
    if (field == kStartTimeField) {
      unsigned long long ticks = 0;
      const auto [next, error] = std::from_chars(rest.data(), rest.data() + end, ticks);
      if (error != std::errc() || next != rest.data() + end) return std::nullopt;
      return ticks;
    }
    rest.remove_prefix(end);
  }
  return std::nullopt;
}

std::optional<double> ProcessAgeMilliseconds() {
  std::ifstream file("/proc/self/stat", std::ios::binary);
  const std::string line{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::optional<unsigned long long> startTicks = ProcessStartTicks(line);
  const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
  // The start is counted in the boot-time clock, which goes on during a suspend.
  timespec now{};
  if (!startTicks || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &now) != 0) return std::nullopt;
  const double nowMilliseconds = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
  const double age = nowMilliseconds - static_cast<double>(*startTicks) * 1000.0 / static_cast<double>(ticksPerSecond);
  if (age < 0) return std::nullopt;
  return age;
}

TTimingWatch TTimingWatch::SinceProcessStart() {
  const auto now = std::chrono::steady_clock::now();
  const std::optional<double> age = ProcessAgeMilliseconds();
  if (!age) return TTimingWatch(now);
  return TTimingWatch(now - std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                std::chrono::duration<double, std::milli>(*age)));
}

}  // namespace hakuvo
