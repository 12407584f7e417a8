#pragma once

#include <chrono>
#include <string>

namespace hakuvo {

// With HAKUVO_TIMING=1 in the environment the program reports how long its start-up steps
// take on stderr, one line each ("hakuvo: <what>: <n> ms").
bool IsTimingLogged();
void LogTiming(const std::string& what, double milliseconds);

// Measures from construction; Log writes the time so far.
class TTimingWatch {
 public:
  TTimingWatch() : FStart(std::chrono::steady_clock::now()) {}
  double Milliseconds() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - FStart).count();
  }
  void Log(const std::string& what) const {
    if (IsTimingLogged()) LogTiming(what, Milliseconds());
  }

 private:
  std::chrono::steady_clock::time_point FStart;
};

}  // namespace hakuvo
