#include "gui/main/diary_watch.h"

#include <QFileInfo>
#include <cstdlib>

#include "core/model/act_data.h"
#include "core/model/day_data.h"

namespace hakuvo {

namespace {

// Long enough for a save's temporary file and rename to be over, short enough to feel at once.
constexpr int kSettleMilliseconds = 300;

}  // namespace

TDiaryWatch::TDiaryWatch(QObject* parent) : QObject(parent) {
  FSettle.setSingleShot(true);
  FSettle.setInterval(kSettleMilliseconds);
  connect(&FWatcher, &QFileSystemWatcher::fileChanged, this, [this] { OnEvent(); });
  connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { OnEvent(); });
  connect(&FSettle, &QTimer::timeout, this, [this] {
    Rearm();
    emit ChangedOnDisk();
  });
}

void TDiaryWatch::SetFileName(const std::string& fileName) {
  const QString name = QString::fromStdString(fileName);
  if (name == FFileName) return;
  if (!FWatcher.files().isEmpty()) FWatcher.removePaths(FWatcher.files());
  if (!FWatcher.directories().isEmpty()) FWatcher.removePaths(FWatcher.directories());
  FSettle.stop();
  FFileName = name;
  Rearm();
}

void TDiaryWatch::Rearm() {
  if (FFileName.isEmpty()) return;
  // The folder tells of a rename over the file (and of the file coming back after a removal).
  const QString folder = QFileInfo(FFileName).absolutePath();
  if (!FWatcher.directories().contains(folder)) FWatcher.addPath(folder);
  if (!FWatcher.files().contains(FFileName) && QFileInfo::exists(FFileName)) FWatcher.addPath(FFileName);
}

void TDiaryWatch::OnEvent() { FSettle.start(); }

TActPlace PlaceOfAct(const TActData& act) {
  TActPlace place;
  place.Title = act.Title;
  if (act.DayData != nullptr) {
    place.Day = act.DayData->DateData;
    const TActDataList& acts = act.DayData->ActDataList;
    for (int i = 0; i < acts.Count(); ++i) {
      if (acts[i] == &act) place.Index = i;
    }
  }
  return place;
}

TActData* FindActAt(const TDayDataList& days, const TActPlace& place) {
  for (int d = 0; d < days.Count(); ++d) {
    TDayData* day = days[d];
    if (DateOf(day->DateData) != DateOf(place.Day)) continue;
    TActData* best = nullptr;
    int bestDistance = 0;
    for (int i = 0; i < day->ActDataList.Count(); ++i) {
      TActData* act = day->ActDataList[i];
      if (act->Title != place.Title) continue;
      const int distance = std::abs(i - place.Index);
      if (best == nullptr || distance < bestDistance) {
        best = act;
        bestDistance = distance;
      }
    }
    return best;
  }
  return nullptr;
}

}  // namespace hakuvo
