// The main window's file commands: new, open, save, save as, the save prompt, the recent files,
// the caption, full screen, the about box and the category list settings.
#include <QCoreApplication>
#include <QDir>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <utility>

#include "core/datafile/diary_read.h"
#include "gui/common/error_box.h"
#include "gui/common/timing_log.h"
#include "gui/common/wait_cursor.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/about_dialog.h"
#include "gui/main/history_menu.h"
#include "gui/main/main_form.h"

namespace hakuvo {

namespace fs = std::filesystem;

namespace {

std::string FolderOf(const std::string& path) { return fs::path(path).parent_path().string(); }

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

bool IsFolder(const QString& path) {
  std::error_code error;
  return !path.isEmpty() && fs::is_directory(fs::path(path.toStdString()), error);
}

// Where the open and save dialogs start: the folder of the last diary, else the documents
// folder, else the home folder. A folder that does not exist is never handed to the dialog, as
// it would take the folder's name for the file's.
QString StartFolder(const std::string& dataFilePath) {
  const QString last = QString::fromStdString(dataFilePath);
  if (IsFolder(last)) return last;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (IsFolder(documents)) return documents;
  return QDir::homePath();
}

}  // namespace

QString TMainForm::CaptionFor(const std::string& fileName) {
  const std::string name = fs::path(fileName).stem().string();
  if (name.empty()) return AppTitle();
  return AppTitle() + QStringLiteral(" [") + QString::fromStdString(name) + QStringLiteral("]");
}

void TMainForm::UpdateCaption() { setWindowTitle(CaptionFor(FileName())); }

void TMainForm::ClearDiaryViews() {
  FListModel->Clear();
  // The graphs start again with the mode's category (for both data of the two-data graphs).
  const std::string modeName = CategoryNames()[FHakuvoCategory];
  FGraphChoices.DayGraphCategory = modeName;
  FGraphChoices.MonthGraphCategory = modeName;
  FGraphChoices.YearGraphCategory = modeName;
  FGraphChoices.MultiDayGraphCategory = modeName;
  FGraphChoices.MultiDayGraphCategory2 = modeName;
}

void TMainForm::ApplyEnergyCategorySetting() {
  if (auto* info =
          dynamic_cast<TEnergyConsumptionCategoryInfo*>(CategoryInfoList().GetCategoryItems(FHakuvoCategory))) {
    info->SetIsWeight(true);
  }
}

TFileDialogRequest TMainForm::FileDialogRequest(const QString& caption) const {
  TFileDialogRequest request;
  request.Caption = caption;
  request.Directory = StartFolder(FAppData->DataFilePath);
  request.Filter = ToQtFileFilter(FFileFilter);
  request.DefaultSuffix = FDefaultExt;
  return request;
}

void TMainForm::NewCommand() {
  RunCommand([this] {
    if (!QuerySave()) return;
    // The days and file links go; the list has let go of them first.
    FDocument->New();
    UpdateCaption();
    ClearDiaryViews();
    RefreshCategoryChoices();
    SetIsChange(false);
  });
}

void TMainForm::OpenCommand() {
  RunCommand([this] {
    if (!QuerySave()) return;
    const QString path = FHooks.OpenFileName(this, FileDialogRequest(QStringLiteral("開く")));
    if (path.isEmpty()) return;
    const std::string name = path.toStdString();
    if (OpenFile(name)) FHistoryMenu->Add(name);
  });
}

void TMainForm::PrepareDataFile() {
  TDayDataFile& file = FDocument->DataFile();
  file.SetComboCategory(FCurrentCategory);
  file.SetDayGraphCategory(FGraphChoices.DayGraphCategory);
  file.SetMonthGraphCategory(FGraphChoices.MonthGraphCategory);
  file.SetYearGraphCategory(FGraphChoices.YearGraphCategory);
  file.SetMultiDayGraphCategory(FGraphChoices.MultiDayGraphCategory);
  file.SetMultiDayGraphCategory2(FGraphChoices.MultiDayGraphCategory2);
  file.SetMultiDayGraphRecordKind(FGraphChoices.MultiDayGraphRecordKind);
  file.SetMultiDayGraphRecordKind2(FGraphChoices.MultiDayGraphRecordKind2);
  const QRect bounds = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
  file.SetLeft(bounds.x());
  file.SetTop(bounds.y());
  file.SetWidth(bounds.width());
  file.SetHeight(bounds.height());
}

bool TMainForm::OpenFile(const std::string& path) {
  const TWaitCursor wait;
  BeginOpen(path);
  return FinishReading().value_or(false);
}

void TMainForm::BeginOpen(const std::string& path, std::function<void(bool)> done) {
  // A read still running is dropped with what was to follow it.
  FReadDone = std::move(done);
  FReadOnlyIfUnchanged = false;
  // The reader starts from the shown diary's settings; copying them is quick.
  FDiaryLoader->Start(std::make_unique<TDiaryRead>(FDocument->Diary(), path));
  FListView->SetPlaceholderText(QStringLiteral("読み込み中…"));
}

bool TMainForm::IsReadingDiary() const { return FDiaryLoader->IsReading(); }

std::optional<bool> TMainForm::FinishReading() {
  if (!FDiaryLoader->IsReading()) return std::nullopt;
  const TWaitCursor wait;
  // What follows a failed read may start another (the diary used last after a named one).
  std::optional<bool> shown;
  while (FDiaryLoader->IsReading()) shown = ShowReadDiary(FDiaryLoader->Wait());
  return shown;
}

bool TMainForm::ShowReadDiary(TDiaryLoader::TOutcome outcome) {
  const std::function<void(bool)> done = std::exchange(FReadDone, {});
  FListView->SetPlaceholderText({});
  // A window changed the diary while its file was read again: the change is not thrown away
  // unasked; the next save asks what to do about the file.
  if (std::exchange(FReadOnlyIfUnchanged, false) && IsChange() && outcome.Read != nullptr) {
    FDiaryLoader->Dispose(std::move(outcome.Read));
    if (done) done(false);
    return false;
  }
  // A file that cannot be read leaves the diary, and the name it is saved under, as they were:
  // saving afterwards must not write the old diary over the file that failed to load.
  QString error = QString::fromStdString(outcome.Error);
  if (outcome.Read != nullptr) {
    try {
      const TTimingWatch watch;
      FDocument->Adopt(*outcome.Read);
      const TDayDataFile& file = FDocument->DataFile();
      ClearDiaryViews();
      UpdateCaption();
      RefreshCategoryChoices();
      FCurrentCategory = file.ComboCategory();
      FGraphChoices.DayGraphCategory = file.DayGraphCategory();
      FGraphChoices.MonthGraphCategory = file.MonthGraphCategory();
      FGraphChoices.YearGraphCategory = file.YearGraphCategory();
      // The action graph shows the mode's category for both data with the diary's two kinds.
      FGraphChoices.MultiDayGraphRecordKind = file.MultiDayGraphRecordKind();
      FGraphChoices.MultiDayGraphRecordKind2 = file.MultiDayGraphRecordKind2();
      if (FIsViewEnergyConsumption) ApplyEnergyCategorySetting();
      RebuildList();
      watch.Log("diary shown (" + std::to_string(DayDataList().Count()) + " days)");
      // From the process's start, as the first paint is: how long the user waits for the rows.
      static bool first = true;
      if (std::exchange(first, false)) TTimingWatch::SinceProcessStart().Log("diary read");
    } catch (const std::exception& failure) {
      error = QString::fromStdString(failure.what());
    }
    // The diary shown before goes with the read, away from this thread.
    FDiaryLoader->Dispose(std::move(outcome.Read));
  }
  if (!error.isEmpty()) {
    // The list may have been cleared before the failure; show the diary that is still there.
    if (FListModel->RowCount() == 0 && DayDataList().Count() > 0) RebuildList();
    ShowError(error);
    if (done) done(false);
    ScheduleCommandUpdate();
    return false;
  }
  FAppData->DataFilePath = FolderOf(outcome.Path);
  StoreWindowState();
  if (DayDataList().Count() > 0) {
    // A selection asked for by a child window before the diary changed must not win over this
    // one: the messages waiting for this window are handled first.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    SelectByDate(DayDataList()[DayDataList().Count() - 1]->DateData);
  }
  SetIsChange(false);
  ScheduleCommandUpdate();
  if (done) done(true);
  // The file may have changed again while it was read.
  if (std::exchange(FRecheckDisk, false)) QTimer::singleShot(0, this, [this] { OnDiaryChangedOnDisk(); });
  return true;
}

bool TMainForm::SaveToFile(const std::string& path) {
  try {
    const TWaitCursor wait;
    // The diary keeps the layout it is saved in: the column widths as dragged, the place of the
    // window; the dock manager stores the docking layout as the document is about to write.
    StoreWindowState();
    PrepareDataFile();
    FDocument->SaveAs(path);
  } catch (const EDiaryChangedOnDisk&) {
    return SaveOverChangesOnDisk(path);
  } catch (const std::exception& error) {
    ShowError(QString::fromStdString(error.what()));
    return false;
  }
  UpdateCaption();
  FAppData->DataFilePath = FolderOf(path);
  WriteSettingsFiles();
  return true;
}

bool TMainForm::SaveAsDialog(bool& cancelled) {
  TFileDialogRequest request = FileDialogRequest(QStringLiteral("名前を付けて保存"));
  // The diary's own name is proposed; never a folder's.
  if (!FileName().empty() && !IsFolder(QString::fromStdString(FileName())))
    request.FileName = QString::fromStdString(FileName());
  const QString path = FHooks.SaveFileName(this, request);
  cancelled = path.isEmpty();
  if (cancelled) return false;
  const std::string name = path.toStdString();
  if (!SaveToFile(name)) return false;
  FHistoryMenu->Add(name);
  SetIsChange(false);
  return true;
}

void TMainForm::SaveCommand() {
  RunCommand([this] {
    if (FileName().empty()) {
      bool cancelled = false;
      SaveAsDialog(cancelled);
      return;
    }
    // A copy: the name may change under a failed save's feet.
    const std::string name = FileName();
    if (!SaveToFile(name)) return;
    FHistoryMenu->Add(name);
    SetIsChange(false);
  });
}

void TMainForm::SaveAsCommand() {
  RunCommand([this] {
    bool cancelled = false;
    SaveAsDialog(cancelled);
  });
}

bool TMainForm::QuerySave() {
  if (!IsChange()) return true;
  const QMessageBox::StandardButton answer =
      FHooks.Question(this, QStringLiteral("設定の変更をファイルへ保存しますか？"),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::No) return true;
  if (answer != QMessageBox::Yes) return false;
  if (!FileName().empty()) {
    const std::string name = FileName();
    if (!SaveToFile(name)) return false;
    FHistoryMenu->Add(name);
    SetIsChange(false);
    return true;
  }
  // The user asked to keep the diary: without a name chosen, or when saving fails, the command
  // stops instead of throwing the diary away.
  bool cancelled = false;
  return SaveAsDialog(cancelled);
}

void TMainForm::OpenHistoryFile(const std::string& path) {
  RunCommand([this, path] {
    if (!QuerySave()) return;
    const std::string& name = path;
    if (!FileExists(name)) {
      const QMessageBox::StandardButton answer =
          FHooks.Question(this, QStringLiteral("選択されたファイルがありません\n履歴から削除しますか？"),
                          QMessageBox::Ok | QMessageBox::Cancel);
      if (answer != QMessageBox::Ok) return;
      FHistoryMenu->Remove(name);
      // The save prompt has had its answer already.
      SetIsChange(false);
      NewCommand();
      return;
    }
    OpenFile(name);
  });
}

void TMainForm::StoreWindowState() {
  TAppData& settings = *FAppData;
  settings.FileName = FileName();
  const QRect bounds = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
  settings.Left = bounds.x();
  settings.Top = bounds.y();
  settings.Width = bounds.width();
  settings.Height = bounds.height();
  settings.WindowState = isMinimized() ? wsMinimized : isMaximized() ? wsMaximized : wsNormal;
  StoreColumnWidths();
  settings.ChildWindowInfo.IsViewEnergyConsumption = FIsViewEnergyConsumption;
  settings.ChildWindowInfo.IsViewPace = FIsViewPace;
  settings.ComboCategory = FCurrentCategory;
  settings.DayGraphCategory = FGraphChoices.DayGraphCategory;
  settings.MonthGraphCategory = FGraphChoices.MonthGraphCategory;
  settings.YearGraphCategory = FGraphChoices.YearGraphCategory;
}

void TMainForm::FullScreenCommand() {
  FIsFullScreenDisplay = !FIsFullScreenDisplay;
  if (FIsFullScreenDisplay) {
    menuBar()->hide();
    FToolStrip->hide();
    showFullScreen();
  } else {
    showNormal();
    menuBar()->show();
    FToolStrip->show();
  }
  ScheduleCommandUpdate();
}

void TMainForm::AboutCommand() {
  TAboutDialog dialog(FHakuvoCategory, this);
  FHooks.RunDialog(dialog);
}

}  // namespace hakuvo
