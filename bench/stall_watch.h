#pragma once

// The event-loop probe of the window benchmarks: the longest gap between ticks of a 10 ms timer on
// the thread that constructs it, i.e. the longest time that thread's event loop did not come
// round while some work ran. A gap well over 10 ms is a stall the user would feel. Beside it, the
// most processor time the thread used within one gap: on a busy machine a long gap may be a wait
// for a core, not work of the thread's own.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <ctime>

namespace hakuvo::bench {

class TStallWatch {
 public:
  TStallWatch() {
    FTimer.setInterval(10);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Tick(); });
    FTimer.start();
    FClock.start();
    FLastCpu = ThreadCpuMs();
  }
  void Tick() {
    const qint64 now = FClock.elapsed();
    FLongest = std::max(FLongest, now - FLast);
    FLast = now;
    const double cpu = ThreadCpuMs();
    FBusiest = std::max(FBusiest, cpu - FLastCpu);
    FLastCpu = cpu;
  }
  // Milliseconds of the thread's processor time in the busiest gap.
  double Busiest() {
    Tick();
    return FBusiest;
  }
  // Milliseconds; counts the time since the last tick too.
  qint64 Longest() {
    Tick();
    return FLongest;
  }

 private:
  static double ThreadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
  }
  QTimer FTimer;
  QElapsedTimer FClock;
  qint64 FLast = 0;
  qint64 FLongest = 0;
  double FLastCpu = 0;
  double FBusiest = 0;
};

}  // namespace hakuvo::bench
