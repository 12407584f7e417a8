// The main window's list of outings: building, selecting, deleting, the energy view and the
// search box.
#include <QHeaderView>
#include <QLineEdit>
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
  FListModel->Reset(ActListColumns(energyView), BuildActListRows(FDayDataList, energyView));
  ApplyColumnWidths();
  watch.Log("list of " + std::to_string(FListModel->RowCount()) + " outings built");
}

void TMainForm::ApplyColumnWidths() {
  const std::vector<TActListColumn>& columns = FListModel->Columns();
  QHeaderView* header = FListView->header();
  for (std::size_t i = 0; i < columns.size(); ++i) header->resizeSection(static_cast<int>(i), columns[i].DefaultWidth);
  const TChildWindowInfo& saved = FAppData->ChildWindowInfo;
  if (saved.ActListDate != 0) {
    const int widths[] = {saved.ActListDate,  saved.ActListTime, saved.ActListEndTime,
                          saved.ActListTitle, saved.ActListData, saved.ActListSpeed};
    for (int i = 0; i < 6 && i < static_cast<int>(columns.size()); ++i) header->resizeSection(i, widths[i]);
  }
  if (FIsViewEnergyConsumption && saved.ActListWeight != 0 && columns.size() >= 8) {
    header->resizeSection(6, saved.ActListWeight);
    header->resizeSection(7, saved.ActListEnergyConsumption);
  }
}

void TMainForm::StoreColumnWidths() {
  const QHeaderView* header = FListView->header();
  const int count = header->count();
  if (count < 6) return;
  TChildWindowInfo& saved = FAppData->ChildWindowInfo;
  saved.ActListDate = header->sectionSize(0);
  saved.ActListTime = header->sectionSize(1);
  saved.ActListEndTime = header->sectionSize(2);
  saved.ActListTitle = header->sectionSize(3);
  saved.ActListData = header->sectionSize(4);
  saved.ActListSpeed = header->sectionSize(5);
  if (count > 7) {
    saved.ActListWeight = header->sectionSize(6);
    saved.ActListEnergyConsumption = header->sectionSize(7);
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
  const TActData* act = FListModel->Act(newlySelected.first());
  if (act == nullptr) return;
  // The link window, its preview, the map and the speed graph follow the selected outing once
  // they exist; the current category follows it now.
  const QString category = QString::fromStdString(act->CategoryStr());
  FCurrentCategory = FCategoryChoices.contains(category) ? category.toStdString() : std::string();
}

void TMainForm::RefreshCategoryChoices() {
  std::set<std::string> userCategories;
  for (const auto& day : FDayDataList) {
    for (const auto& act : day->ActDataList) {
      if (act->Category == ctUserCategory) userCategories.insert(act->UserCategory);
    }
  }
  QStringList choices;
  for (const std::string& name : userCategories) choices << QString::fromStdString(name);
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
      // The row goes first: the list must never refer to a freed action.
      FListModel->RemoveRow(*it);
      std::unique_ptr<TActData> owned;
      if (act->DayData != nullptr) owned = act->DayData->ActDataList.Remove(act);
      // Thumbnails and track caches of the outing's links; they are made again when needed.
      act->Delete();
    }
    if (first >= 0 && FListModel->RowCount() > 0) SelectRow(std::min(first, FListModel->RowCount() - 1));
    FIsChange = true;
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
