// The main window's list of outings: building, selecting, deleting, the energy view and the
// search box.
#include <QHeaderView>
#include <QLineEdit>
#include <algorithm>
#include <set>

#include "core/common/hakuvo_error.h"
#include "gui/common/timing_log.h"
#include "gui/common/wait_cursor.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/main_form.h"

namespace hakuvo {

void TMainForm::RebuildList() {
  const TTimingWatch watch;
  const bool energyView = FIsViewEnergyConsumption;
  // The rows' texts are made as the rows are first painted, so the first paint of a long diary
  // does not wait for all of them.
  FListModel->Reset(ActListColumns(energyView, FIsViewPace), DayDataList(), energyView, FIsViewPace);
  ApplyColumnWidths();
  watch.Log("list of " + std::to_string(FListModel->RowCount()) + " outings built");
}

int TMainForm::DefaultColumnWidth(int column) const {
  const std::vector<TActListColumn>& columns = FListModel->Columns();
  if (column < 0 || column >= static_cast<int>(columns.size())) return MinimumColumnWidth;
  // At least as wide as the heading at the program's font: "カロリー(kcal)" needs more than the
  // 80 pixels the list was designed with.
  return std::max(columns[static_cast<std::size_t>(column)].DefaultWidth, FListView->header()->sectionSizeHint(column));
}

namespace {

// The stored width of a column, found by what it shows: switching the pace or energy columns on
// or off moves the later columns but not their widths.
int* StoredWidth(TChildWindowInfo& saved, TActListColumnKey key) {
  switch (key) {
    case alDate:
      return &saved.ActListDate;
    case alTime:
      return &saved.ActListTime;
    case alEndTime:
      return &saved.ActListEndTime;
    case alTitle:
      return &saved.ActListTitle;
    case alData:
      return &saved.ActListData;
    case alSpeed:
      return &saved.ActListSpeed;
    case alPace:
      return &saved.ActListPace;
    case alWeight:
      return &saved.ActListWeight;
    case alEnergy:
      return &saved.ActListEnergyConsumption;
  }
  return nullptr;
}

// The six first columns' widths are stored as one set (a date width of 0 means none was stored);
// the optional columns' widths each on their own, kept from when they were last shown.
bool HasStoredWidth(const TChildWindowInfo& saved, TActListColumnKey key) {
  switch (key) {
    case alPace:
      return saved.ActListPace != 0;
    case alWeight:
    case alEnergy:
      return saved.ActListWeight != 0;
    default:
      return saved.ActListDate != 0;
  }
}

}  // namespace

void TMainForm::ApplyColumnWidths() {
  const std::vector<TActListColumn>& columns = FListModel->Columns();
  QHeaderView* header = FListView->header();
  const int count = static_cast<int>(columns.size());
  for (int i = 0; i < count; ++i) header->resizeSection(i, DefaultColumnWidth(i));
  FLastColumnWidth = count > 0 ? DefaultColumnWidth(count - 1) : 0;
  TChildWindowInfo& saved = FAppData->ChildWindowInfo;
  for (int i = 0; i < count; ++i) {
    const TActListColumnKey key = columns[static_cast<std::size_t>(i)].Key;
    if (!HasStoredWidth(saved, key)) continue;
    // A stored width too narrow to use (0 once a column was lost) stands for the column's
    // default: a column that is shown can always be seen.
    const int stored = *StoredWidth(saved, key);
    if (stored < MinimumColumnWidth) continue;
    // The last column is drawn stretched to the list's edge; its own width is what is stored.
    if (i == count - 1) FLastColumnWidth = stored;
    header->resizeSection(i, stored);
  }
}

void TMainForm::StoreColumnWidths() {
  const QHeaderView* header = FListView->header();
  const int count = header->count();
  const std::vector<TActListColumn>& columns = FListModel->Columns();
  if (count < 6 || static_cast<int>(columns.size()) != count) return;
  TChildWindowInfo& saved = FAppData->ChildWindowInfo;
  // The stretched last column keeps the width it was given, not the list's leftover space.
  const auto width = [&](int column) { return column == count - 1 ? FLastColumnWidth : header->sectionSize(column); };
  for (int i = 0; i < count; ++i) {
    const TActListColumnKey key = columns[static_cast<std::size_t>(i)].Key;
    const bool optional = key == alPace || key == alWeight || key == alEnergy;
    *StoredWidth(saved, key) = optional ? std::max(MinimumColumnWidth, width(i)) : width(i);
  }
}

void TMainForm::SelectByDate(TDateTime date) {
  FListView->clearSelection();
  const TDateTime day = DateOf(date);
  for (int row = 0; row < FListModel->RowCount(); ++row) {
    const TActData* act = FListModel->Act(row);
    if (act->DayData != nullptr && DateOf(act->DayData->DateData) == day) {
      FListView->SelectRowAlone(row);
      return;
    }
  }
}

void TMainForm::SelectRow(int row) {
  if (row < 0 || row >= FListModel->RowCount()) return;
  FListView->SelectRowAlone(row);
}

void TMainForm::SelectAct(const TActData* act) {
  const int row = FListModel->RowOfAct(act);
  if (row >= 0) FListView->SelectRowAlone(row);
}

void TMainForm::OnSelectionChanged(const QList<int>& newlySelected) {
  if (newlySelected.isEmpty()) return;
  TActData* act = FListModel->Act(newlySelected.first());
  if (act == nullptr) return;
  // The map starts empty; the link window then hands it the outing's first link, and a place of
  // its own, when the outing has one, is drawn instead.
  TMapPort* map = FPorts.Map;
  if (map != nullptr) map->ClearMap();
  ShowActLinks(act);
  const QString category = QString::fromStdString(act->CategoryStr());
  FCurrentCategory = FCategoryChoices.contains(category) ? category.toStdString() : std::string();
  const double latitude = static_cast<double>(act->Place.Latitude);
  const double longitude = static_cast<double>(act->Place.Longitude);
  if (map != nullptr && (latitude != 0 || longitude != 0)) {
    map->SetMapCategory(act->CategoryStr());
    map->PanTo(latitude, longitude, true);
    map->CreateMarker(latitude, longitude, true);
  }
}

void TMainForm::RefreshCategoryChoices() {
  QStringList choices;
  for (const std::string& name : UserCategoryNames()) choices << QString::fromStdString(name);
  for (const TCategoryData& entry : FCategoryList.Data()) {
    choices << QString::fromStdString(CategoryNames()[entry.Category]);
  }
  FCategoryChoices = choices;
}

void TMainForm::DeleteActCommand() {
  RunCommand([this] {
    const QList<int> rows = FListView->SelectedRows();
    const int first = rows.isEmpty() ? -1 : rows.first();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
      TActData* act = FListModel->Act(*it);
      ForgetActLinks(act);
      // The row goes first: the list must never refer to a freed action.
      FListModel->RemoveRow(*it);
      std::unique_ptr<TActData> owned;
      if (act->DayData != nullptr) owned = act->DayData->ActDataList.Remove(act);
      // Thumbnails and track caches of the outing's links; they are made again when needed.
      act->Delete();
    }
    if (first >= 0 && FListModel->RowCount() > 0) SelectRow(std::min(first, FListModel->RowCount() - 1));
    SetIsChange(true);
    emit FDocument->DataChanged();
  });
}

void TMainForm::EnergyViewCommand() {
  RunCommand([this] {
    FIsViewEnergyConsumption = !FIsViewEnergyConsumption;
    if (FIsViewEnergyConsumption) ApplyEnergyCategorySetting();
    const int row = FListView->FirstSelectedRow();
    const TActData* selected = row >= 0 ? FListModel->Act(row) : nullptr;
    // The widths the user gave the columns so far are kept for the columns that stay.
    StoreColumnWidths();
    RebuildList();
    if (selected != nullptr) SelectAct(selected);
  });
}

void TMainForm::PaceViewCommand() {
  RunCommand([this] {
    FIsViewPace = !FIsViewPace;
    const int row = FListView->FirstSelectedRow();
    const TActData* selected = row >= 0 ? FListModel->Act(row) : nullptr;
    StoreColumnWidths();
    RebuildList();
    if (selected != nullptr) SelectAct(selected);
  });
}

void TMainForm::SearchDownCommand() {
  RunCommand([this] { SearchFrom(+1); });
}

void TMainForm::SearchUpCommand() {
  RunCommand([this] { SearchFrom(-1); });
}

void TMainForm::SearchFrom(int direction) {
  const TWaitCursor wait;
  const std::string text = FSearchEdit->text().toStdString();
  int start = FListView->FirstSelectedRow();
  if (start < 0) start = 0;
  for (int row = start + direction; row >= 0 && row < FListModel->RowCount(); row += direction) {
    if (FListModel->Act(row)->Find(text)) {
      FListView->SelectRowAlone(row);
      return;
    }
  }
  throw EHakuvoError("[ " + text + " ]は見つかりませんでした");
}

}  // namespace hakuvo
