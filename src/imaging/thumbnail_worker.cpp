#include "imaging/thumbnail_worker.h"

#include <exception>
#include <utility>

namespace hakuvo {

TThumbnailWorker::TThumbnailWorker(std::vector<TThumbnailJob> jobs, QSize size, TDeliver deliver)
    : FJobs(std::move(jobs)), FSize(size), FDeliver(std::move(deliver)) {
  FThread = std::thread([this] { Run(); });
}

TThumbnailWorker::~TThumbnailWorker() {
  Stop();
  Wait();
}

void TThumbnailWorker::Wait() {
  if (FThread.joinable()) FThread.join();
}

void TThumbnailWorker::Run() {
  for (int index = 0; index < JobCount(); ++index) {
    if (FStopRequested.load()) return;
    QImage image;
    try {
      image = MakeLinkThumbnail(FJobs[static_cast<std::size_t>(index)], FSize);
    } catch (const std::exception&) {
      // Nothing worse than a failed picture may end the run: the link keeps its place with a
      // plain white image and the later links still get theirs.
      image = NewThumbnailImage(FSize);
    }
    FDeliver(index, image);
  }
  FRunning.store(false);
}

}  // namespace hakuvo
