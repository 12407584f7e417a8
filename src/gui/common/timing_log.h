#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace hakuvo {

// With HAKUVO_TIMING=1 in the environment the program reports how long its start-up steps
// take on stderr, one line each ("hakuvo: <what>: <n> ms").
bool IsTimingLogged();
void LogTiming(const std::string& what, double milliseconds);

// The start time (field 22, in clock ticks since boot) from a line of /proc/<pid>/stat; nothing
// when the line is not one. The command name in field 2 may hold spaces and parentheses.
std::optional<unsigned long long> ProcessStartTicks(std::string_view statLine);

// How long this process has existed, from the kernel's record of its start, so that the time the
// loader spends mapping the libraries before main() counts too. The kernel keeps the start to
// one clock tick (10 ms with the usual 100 Hz), rounded down, so this may be up to a tick long.
// Nothing when /proc cannot tell.
std::optional<double> ProcessAgeMilliseconds();

// Measures from construction, or with SinceProcessStart from the start of the process; Log
// writes the time so far.
class TTimingWatch {
 public:
  TTimingWatch() : FStart(std::chrono::steady_clock::now()) {}
  // Falls back to the moment of the call where the process's start cannot be read.
  static TTimingWatch SinceProcessStart();
  double Milliseconds() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - FStart).count();
  }
  void Log(const std::string& what) const {
    if (IsTimingLogged()) LogTiming(what, Milliseconds());
  }

 private:
  explicit TTimingWatch(std::chrono::steady_clock::time_point start) : FStart(start) {}
  std::chrono::steady_clock::time_point FStart;
};

}  // namespace hakuvo
