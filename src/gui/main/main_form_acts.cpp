// Adding and editing outings through the record dialogs, and the category settings commands.
#include <QDialog>
#include <set>

#include "gui/categories/category_list_dialogs.h"
#include "gui/categories/category_set_dialog.h"
#include "gui/links/act_view_files.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/main_form.h"
#include "gui/record/record_dialog_layout.h"
#include "gui/record/record_dialogs.h"

namespace hakuvo {

namespace {

// The dialogs of the program's modes carry the outing's day; the others do not.
bool DialogDate(const TRecordDialog& dialog, TDateTime& date) {
  if (const auto* energy = dynamic_cast<const TDateEnergyConsumptionRecordDialog*>(&dialog)) {
    date = energy->Date();
    return true;
  }
  if (const auto* walking = dynamic_cast<const TDateWalkingRecordDialog*>(&dialog)) {
    date = walking->Date();
    return true;
  }
  return false;
}

void SetDialogDate(TRecordDialog& dialog, TDateTime date) {
  if (auto* energy = dynamic_cast<TDateEnergyConsumptionRecordDialog*>(&dialog)) energy->SetDate(date);
  if (auto* walking = dynamic_cast<TDateWalkingRecordDialog*>(&dialog)) walking->SetDate(date);
}

const TEnergyConsumptionRecord* EnergyRecordOf(const TActData& act) {
  return dynamic_cast<const TEnergyConsumptionRecord*>(act.RecordData.get());
}

}  // namespace

void TMainForm::PrepareRecordDialog(TRecordDialog& dialog, TCategoryInfo& info, const TActData& act) {
  dialog.SetCategoryInfo(info);
  dialog.SetFileList(FileList());
  dialog.SetThingList(&ThingList().List());
  dialog.SetPersonList(&PersonList().List());
  // A user category's outing picks its category among the names in use.
  if (auto* user = dynamic_cast<TUserCategoryRecordDialog*>(&dialog)) user->SetUserCategoryList(UserCategoryNames());
  dialog.SetActData(act);
  dialog.SetAppData(FAppData.get());
  dialog.SetMapPort(FPorts.Map);
  RestoreRecordDialogLayout(dialog, *FAppData);
  // The dialog's category settings changed: every window hears of it through the document.
  connect(&dialog, &TRecordDialog::DataChanged, FDocument.get(), &TDiaryDocument::DataChanged);
  // A track's range set in the dialog shows on the map and the speed graph at once.
  connect(&dialog, &TRecordDialog::GpsRangeChanged, FDocument.get(), &TDiaryDocument::GpsRangeChanged);
  dialog.SetDialogRunner([this](QDialog& opened) { return FHooks.RunDialog(opened); });
  // The dialog's own button for the settings of its category.
  connect(&dialog, &TRecordDialog::CategorySettingsRequested, this, [this, &dialog] {
    TCategoryInfo* edited = dialog.CategoryInfo();
    if (edited == nullptr) return;
    std::unique_ptr<TCategorySetDialog> settings = CreateCategorySetDialog(&dialog, edited->Category());
    settings->SetCategoryInfo(edited);
    if (FHooks.RunDialog(*settings) != QDialog::Accepted) return;
    DayDataList().SetCategoryInfo(*edited);
    dialog.ReapplyCategory();
  });
}

TStringList TMainForm::UserCategoryNames() const {
  std::set<std::string> names;
  for (const auto& day : DayDataList()) {
    for (const auto& act : day->ActDataList) {
      if (act->Category == ctUserCategory) names.insert(act->UserCategory);
    }
  }
  return {names.begin(), names.end()};
}

TDayData* TMainForm::FindOrAddDay(TDateTime date) {
  if (TDayData* day = DayDataList().FindDate(date)) return day;
  auto fresh = std::make_unique<TDayData>();
  fresh->DateData = date;
  SetIsChange(true);
  return DayDataList().Add(std::move(fresh));
}

void TMainForm::AddActCommand() {
  RunCommand([this] {
    TCategoryInfo& info = *CategoryInfoList().GetCategoryItems(FHakuvoCategory);
    std::unique_ptr<TRecordDialog> dialog = FHooks.CreateRecordDialog(this, FHakuvoCategory);
    std::unique_ptr<TActData> act = CreateActData(FHakuvoCategory);
    act->RecordData->Tani = info.Tani;
    if (auto* energy = dynamic_cast<TEnergyConsumptionRecord*>(act->RecordData.get()))
      energy->Weight = FAppData->Weight;
    PrepareRecordDialog(*dialog, info, *act);
    SetDialogDate(*dialog, Today());
    if (FHooks.RunDialog(*dialog) != QDialog::Accepted) return;

    FListView->clearSelection();
    act->Assign(dialog->ActData());
    TDateTime date = Today();
    DialogDate(*dialog, date);
    TDayData* day = FindOrAddDay(DateOf(date));
    TActData* added = day->AddAct(std::move(act));
    DayDataList().DateSort();
    day->ActDataList.DateSort();
    if (const TEnergyConsumptionRecord* record = EnergyRecordOf(*added)) FAppData->Weight = record->Weight;
    RebuildList();
    SelectAct(added);
    SetIsChange(true);
    // The graphs follow the diary.
    emit FDocument->DataChanged();
    StoreRecordDialogLayout(*dialog, *FAppData);
    RefreshCategoryChoices();
    // The outing is in the diary whatever happens to its thumbnails.
    if (FAppData->IsMakeThumbnail) {
      for (const QString& message : MakeActViewFiles(*added, *FAppData, false)) ShowError(message);
    }
  });
}

void TMainForm::EditActCommand() {
  RunCommand([this] {
    const int row = FListView->FirstSelectedRow();
    TActData* act = FListModel->Act(row);
    if (act == nullptr) return;
    TCategoryInfo* info = CategoryInfoList().GetCategoryItems(act->Category);
    if (info == nullptr) return;
    std::unique_ptr<TRecordDialog> dialog = FHooks.CreateRecordDialog(this, act->Category);
    PrepareRecordDialog(*dialog, *info, *act);
    if (act->DayData != nullptr) SetDialogDate(*dialog, act->DayData->DateData);
    if (FHooks.RunDialog(*dialog) != QDialog::Accepted) return;

    // Only the dialogs of the modes can move an outing to another day; the others leave it on its own.
    TDateTime date = 0;
    if (DialogDate(*dialog, date) && act->DayData != nullptr && DateOf(date) != DateOf(act->DayData->DateData)) {
      std::unique_ptr<TActData> moving = act->DayData->ActDataList.Remove(act);
      FindOrAddDay(DateOf(date))->AddAct(std::move(moving));
      DayDataList().DateSort();
    }
    act->Assign(dialog->ActData());
    // The row keeps its place until the list is next built, also after a change of date.
    if (act->DayData != nullptr) {
      FListModel->UpdateRow(row, ActListRowTexts(*act->DayData, *act, FIsViewEnergyConsumption, FIsViewPace));
      act->DayData->ActDataList.DateSort();
    }
    if (const TEnergyConsumptionRecord* record = EnergyRecordOf(*act)) FAppData->Weight = record->Weight;
    // The dialog may have freed links the link window shows.
    ShowActLinks(act);
    SetIsChange(true);
    emit FDocument->DataChanged();
    StoreRecordDialogLayout(*dialog, *FAppData);
    FListView->scrollTo(FListModel->index(row, 0));
    RefreshCategoryChoices();
    if (FAppData->IsMakeThumbnail) {
      for (const QString& message : MakeActViewFiles(*act, *FAppData, true)) ShowError(message);
    }
  });
}

void TMainForm::CategorySettingsCommand() {
  RunCommand([this] {
    // An empty name, or one that is no built-in category, stands for the user category.
    const TCategoryType type = CategoryTypeFromName(FCurrentCategory);
    TCategoryInfo* info = CategoryInfoList().GetCategoryItems(type);
    if (info == nullptr) return;
    std::unique_ptr<TCategorySetDialog> dialog = CreateCategorySetDialog(this, type);
    dialog->SetCategoryInfo(info);
    dialog->SetActivePage(TCategorySetDialog::piDisplay);
    if (FHooks.RunDialog(*dialog) != QDialog::Accepted) return;
    DayDataList().SetCategoryInfo(*info);
    emit FDocument->DataChanged();
  });
}

void TMainForm::CategoryListSettingsCommand() {
  RunCommand([this] {
    TCategoryListSetDialog dialog(this);
    dialog.SetCategoryList(&FCategoryList);
    dialog.SetCategoryInfoList(&CategoryInfoList());
    if (FHooks.RunDialog(dialog) != QDialog::Accepted) return;
    for (int i = 0; i < CategoryInfoList().Count(); ++i) DayDataList().SetCategoryInfo(*CategoryInfoList().Items(i));
    RefreshCategoryChoices();
    emit FDocument->DataChanged();
  });
}

}  // namespace hakuvo
