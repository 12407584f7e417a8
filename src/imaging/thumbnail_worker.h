#pragma once

#include <QImage>
#include <QSize>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "imaging/link_thumbnail.h"

namespace hakuvo {

// Makes the thumbnails of a list of links on a thread of its own, one image per link in link
// order, and hands each finished image to `deliver` (called on the worker's thread, with the
// link's index; the caller carries it over to its own thread). The jobs are copies made before
// the start, so the worker reads nothing the rest of the program may change meanwhile.
//
// It starts at once. A stop request is looked at before each link; destroying the worker stops
// it and waits for it, so `deliver` is never called after the destructor returned.
class TThumbnailWorker {
 public:
  using TDeliver = std::function<void(int index, const QImage& image)>;

  TThumbnailWorker(std::vector<TThumbnailJob> jobs, QSize size, TDeliver deliver);
  ~TThumbnailWorker();
  TThumbnailWorker(const TThumbnailWorker&) = delete;
  TThumbnailWorker& operator=(const TThumbnailWorker&) = delete;

  void Stop() { FStopRequested.store(true); }
  // Waits until the run has ended (all done or stopped).
  void Wait();
  // Set from the start until the loop has gone through every link; a stopped run stays set.
  bool IsRunning() const { return FRunning.load(); }
  int JobCount() const { return static_cast<int>(FJobs.size()); }

 private:
  void Run();

  const std::vector<TThumbnailJob> FJobs;
  const QSize FSize;
  const TDeliver FDeliver;
  std::atomic<bool> FStopRequested{false};
  std::atomic<bool> FRunning{true};
  std::thread FThread;
};

}  // namespace hakuvo
