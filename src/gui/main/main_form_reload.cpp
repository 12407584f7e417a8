// The main window and a diary file written by another program while it is open (an import from
// the command line, a second copy of the program): nothing is written over it unasked, and with
// nothing unsaved the window simply shows the file as it is now.
#include <QApplication>
#include <filesystem>

#include "gui/common/wait_cursor.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/diary_watch.h"
#include "gui/main/history_menu.h"
#include "gui/main/main_form.h"

namespace hakuvo {

void TMainForm::WatchDiaryFile() {
  FDiaryWatch = new TDiaryWatch(this);
  FDiaryWatch->SetFileName(FileName());
  connect(FDocument.get(), &TDiaryDocument::FileNameChanged, FDiaryWatch,
          [this] { FDiaryWatch->SetFileName(FileName()); });
  connect(FDiaryWatch, &TDiaryWatch::ChangedOnDisk, this, [this] { OnDiaryChangedOnDisk(); });
}

void TMainForm::OnDiaryChangedOnDisk() {
  // The diary being read is looked at once it is shown: its file's state is taken then.
  if (IsReadingDiary()) {
    FRecheckDisk = true;
    return;
  }
  if (FileName().empty()) return;
  bool changed = false;
  try {
    changed = FDocument->IsChangedOnDisk();
  } catch (const std::exception&) {
    return;  // unreadable for a moment (being replaced); the next event or the save tells
  }
  // With unsaved changes the window keeps its diary; the next save asks what to do.
  if (!changed || IsChange()) return;
  // A file that is gone is left alone: the window still holds the whole diary to save again.
  std::error_code error;
  if (!std::filesystem::exists(FileName(), error)) return;
  // Not while a modal dialog (a record being edited) or another command runs.
  if (QApplication::activeModalWidget() != nullptr) return;
  ReloadDiary(true);
}

bool TMainForm::ReloadDiary(bool inBackground) {
  const int row = FListView->FirstSelectedRow();
  const TActData* selected = row >= 0 ? FListModel->Act(row) : nullptr;
  const bool hadSelection = selected != nullptr;
  const TActPlace place = hadSelection ? PlaceOfAct(*selected) : TActPlace{};
  BeginOpen(FileName(), [this, hadSelection, place](bool opened) {
    if (!opened || !hadSelection) return;
    if (TActData* again = FindActAt(DayDataList(), place)) SelectAct(again);
  });
  if (inBackground) {
    FReadOnlyIfUnchanged = true;
    return true;
  }
  const TWaitCursor wait;
  return FinishReading().value_or(false);
}

bool TMainForm::SaveOverChangesOnDisk(const std::string& path) {
  const QString name = QString::fromStdString(std::filesystem::path(path).filename().string());
  const QString text =
      QStringLiteral(
          "日記ファイル「%1」は、開いた後でほかのプログラムによって変更されています。\n\n"
          "読み込み直す: ファイルの内容を読み込み直します。この画面で保存していない変更はすべて失われます。\n"
          "上書き保存: この画面の日記で上書きします。ほかのプログラムによる変更は失われます。\n"
          "キャンセル: 保存しません。")
          .arg(name);
  switch (FHooks.DiskChange(this, text)) {
    case dcReload:
      ReloadDiary(false);
      return false;
    case dcOverwrite:
      try {
        const TWaitCursor wait;
        FDocument->SaveAs(path, true);
      } catch (const std::exception& error) {
        ShowError(QString::fromStdString(error.what()));
        return false;
      }
      UpdateCaption();
      WriteSettingsFiles();
      return true;
    case dcCancel:
      break;
  }
  return false;
}

}  // namespace hakuvo
