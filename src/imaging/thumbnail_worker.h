#pragma once

#include <QImage>
#include <QSize>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
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
//
// With more than one thread, several pictures are decoded at once; the images are still handed
// over one at a time, in link order (an image that is done early waits for those before it).
class TThumbnailWorker {
 public:
  using TDeliver = std::function<void(int index, const QImage& image)>;

  // The threads a run uses by default: one core is left to the user-interface thread, and
  // three at most, as the disk soon limits more.
  static int DefaultThreadCount();

  TThumbnailWorker(std::vector<TThumbnailJob> jobs, QSize size, TDeliver deliver, int threads = DefaultThreadCount());
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
  // Keeps a finished image and hands over every image that is now next in order.
  void Finish(int index, QImage image);

  const std::vector<TThumbnailJob> FJobs;
  const QSize FSize;
  const TDeliver FDeliver;
  std::atomic<bool> FStopRequested{false};
  std::atomic<bool> FRunning{true};
  std::atomic<int> FNextJob{0};
  std::mutex FDeliverMutex;
  std::map<int, QImage> FFinished;  // done, waiting for an earlier link
  int FNextDelivery = 0;
  std::vector<std::thread> FThreads;
};

}  // namespace hakuvo
