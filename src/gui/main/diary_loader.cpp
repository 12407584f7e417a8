#include "gui/main/diary_loader.h"

#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <utility>

#include "core/datafile/diary_read.h"

namespace hakuvo {

struct TDiaryLoader::TJob {
  TOutcome Outcome;
  std::atomic<bool> Done = false;
  std::thread Worker;
};

TDiaryLoader::TDiaryLoader(QObject* parent) : QObject(parent) {}

TDiaryLoader::~TDiaryLoader() {
  for (const std::shared_ptr<TJob>& job : FJobs) {
    if (job->Worker.joinable()) job->Worker.join();
  }
}

void TDiaryLoader::Start(std::unique_ptr<TDiaryRead> read) {
  Reap();
  auto job = std::make_shared<TJob>();
  job->Outcome.Path = read->Path();
  job->Outcome.Read = std::move(read);
  FCurrent = job;
  FJobs.push_back(job);
  // The worker owns nothing of the window: it reads into the job and posts its end to this
  // object, which the destructor keeps alive until every worker has ended.
  job->Worker = std::thread([this, job] {
    try {
      job->Outcome.Read->Read();
    } catch (const std::exception& error) {
      job->Outcome.Error = error.what();
      job->Outcome.Read.reset();
    }
    job->Done = true;
    QMetaObject::invokeMethod(
        this, [this, job] { OnJobDone(job); }, Qt::QueuedConnection);
  });
}

std::string TDiaryLoader::Path() const { return FCurrent != nullptr ? FCurrent->Outcome.Path : std::string(); }

void TDiaryLoader::OnJobDone(const std::shared_ptr<TJob>& job) {
  if (job == FCurrent) {
    emit Finished();
  } else {
    Reap();
  }
}

TDiaryLoader::TOutcome TDiaryLoader::Wait() {
  if (FCurrent == nullptr) return {};
  const std::shared_ptr<TJob> job = std::exchange(FCurrent, nullptr);
  if (job->Worker.joinable()) job->Worker.join();
  TOutcome outcome = std::move(job->Outcome);
  Reap();
  return outcome;
}

void TDiaryLoader::Dispose(std::unique_ptr<TDiaryRead> read) {
  if (read == nullptr) return;
  Reap();
  auto job = std::make_shared<TJob>();
  FJobs.push_back(job);
  job->Worker = std::thread([job, old = std::move(read)]() mutable {
    old.reset();
    job->Done = true;
  });
}

void TDiaryLoader::Reap() {
  std::erase_if(FJobs, [this](const std::shared_ptr<TJob>& job) {
    if (job == FCurrent || !job->Done) return false;
    if (job->Worker.joinable()) job->Worker.join();
    return true;
  });
}

}  // namespace hakuvo
