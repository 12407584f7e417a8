#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <string>

#include "core/common/date_time.h"

namespace hakuvo {

class TActData;
class TDayDataList;

// Tells when the open diary's file may have been written by another program. The file and its
// folder are watched: a save replaces the file by renaming a new one over it, after which the
// file's own watch is gone and is set again. Bursts of events (a save's temporary file, the
// rename) come out as one ChangedOnDisk a moment after the last of them.
class TDiaryWatch : public QObject {
  Q_OBJECT

 public:
  explicit TDiaryWatch(QObject* parent = nullptr);

  // Empty stops watching.
  void SetFileName(const std::string& fileName);
  const QString& FileName() const { return FFileName; }

 signals:
  void ChangedOnDisk();

 private:
  void Rearm();
  void OnEvent();

  QFileSystemWatcher FWatcher;
  QTimer FSettle;
  QString FFileName;
};

// Which outing was selected, in words that survive reading the diary again: its day, its place
// among the day's outings and its title.
struct TActPlace {
  TDateTime Day = 0;
  int Index = -1;
  std::string Title;
};

TActPlace PlaceOfAct(const TActData& act);
// The same outing in a diary read again: same day and title, the nearest to its old place;
// nullptr when it is no longer there.
TActData* FindActAt(const TDayDataList& days, const TActPlace& place);

}  // namespace hakuvo
