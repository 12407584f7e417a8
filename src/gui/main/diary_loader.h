#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "core/datafile/diary_read.h"

namespace hakuvo {

// Reads diary files on a worker thread, so that the window paints and answers while a long
// diary is read. The latest read started is the one that counts: an older one still running
// is left to finish and dropped. Old diaries handed back (Dispose) are freed on a worker too.
class TDiaryLoader : public QObject {
  Q_OBJECT

 public:
  // How a read ended: the diary read, or the message of the failure (Read is then nullptr).
  struct TOutcome {
    std::unique_ptr<TDiaryRead> Read;
    std::string Error;
    std::string Path;
  };

  explicit TDiaryLoader(QObject* parent = nullptr);
  // Waits for every worker: none outlives the loader.
  ~TDiaryLoader() override;

  // Reads `read` (prepared on this thread) on a worker; Finished follows once it is read.
  void Start(std::unique_ptr<TDiaryRead> read);
  bool IsReading() const { return FCurrent != nullptr; }
  // The file being read; empty while nothing is.
  std::string Path() const;
  // Waits for the current read to end and returns how it ended; Finished then does not come
  // for it. Nothing is being read afterwards. An empty outcome when nothing was.
  TOutcome Wait();
  // Frees what a handed-over read holds (the diary shown before) away from the UI thread.
  void Dispose(std::unique_ptr<TDiaryRead> read);

 signals:
  // The current read has ended; Wait returns its outcome at once.
  void Finished();

 private:
  struct TJob;
  void OnJobDone(const std::shared_ptr<TJob>& job);
  // Joins the workers that are done and forgets them.
  void Reap();

  std::shared_ptr<TJob> FCurrent;
  std::vector<std::shared_ptr<TJob>> FJobs;
};

}  // namespace hakuvo
