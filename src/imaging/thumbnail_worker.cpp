#include "imaging/thumbnail_worker.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace hakuvo {

int TThumbnailWorker::DefaultThreadCount() {
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores - 1, 1, 3);
}

TThumbnailWorker::TThumbnailWorker(std::vector<TThumbnailJob> jobs, QSize size, TDeliver deliver, int threads)
    : FJobs(std::move(jobs)), FSize(size), FDeliver(std::move(deliver)) {
  if (FJobs.empty()) {
    FRunning.store(false);
    return;
  }
  const int count = std::clamp(threads, 1, JobCount());
  for (int i = 0; i < count; ++i) FThreads.emplace_back([this] { Run(); });
}

TThumbnailWorker::~TThumbnailWorker() {
  Stop();
  Wait();
}

void TThumbnailWorker::Wait() {
  for (std::thread& thread : FThreads) {
    if (thread.joinable()) thread.join();
  }
}

void TThumbnailWorker::Run() {
  while (!FStopRequested.load()) {
    const int index = FNextJob.fetch_add(1);
    if (index >= JobCount()) return;
    QImage image;
    try {
      image = MakeLinkThumbnail(FJobs[static_cast<std::size_t>(index)], FSize);
    } catch (const std::exception&) {
      // Nothing worse than a failed picture may end the run: the link keeps its place with a
      // plain white image and the later links still get theirs.
      image = NewThumbnailImage(FSize);
    }
    Finish(index, std::move(image));
  }
}

void TThumbnailWorker::Finish(int index, QImage image) {
  const std::lock_guard lock(FDeliverMutex);
  FFinished.emplace(index, std::move(image));
  // Handed over under the lock, so that two threads never hand over out of order. A stopped run
  // hands over nothing more.
  for (auto next = FFinished.find(FNextDelivery); next != FFinished.end() && !FStopRequested.load();
       next = FFinished.find(FNextDelivery)) {
    FDeliver(FNextDelivery, next->second);
    FFinished.erase(next);
    ++FNextDelivery;
  }
  if (FNextDelivery == JobCount()) FRunning.store(false);
}

}  // namespace hakuvo
