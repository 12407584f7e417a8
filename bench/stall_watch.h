#pragma once

// The event-loop probe of the window benchmarks: the longest gap between ticks of a 10 ms timer on
// the thread that constructs it, i.e. the longest time that thread's event loop did not come
// round while some work ran. A gap well over 10 ms is a stall the user would feel.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace hakuvo::bench {

class TStallWatch {
 public:
  TStallWatch() {
    FTimer.setInterval(10);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Tick(); });
    FTimer.start();
    FClock.start();
  }
  void Tick() {
    const qint64 now = FClock.elapsed();
    FLongest = std::max(FLongest, now - FLast);
    FLast = now;
  }
  // Milliseconds; counts the time since the last tick too.
  qint64 Longest() {
    Tick();
    return FLongest;
  }

 private:
  QTimer FTimer;
  QElapsedTimer FClock;
  qint64 FLast = 0;
  qint64 FLongest = 0;
};

}  // namespace hakuvo::bench
