// Outside material brought into the diary (files dropped on the window, a route pasted from a
// route-search page, the files changed on disk) and the view files of all links.
#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/gps/gps_view_file.h"
#include "core/register/all_view_files.h"
#include "core/register/drop_files.h"
#include "core/register/find_files.h"
#include "core/register/paste_route.h"
#include "gui/common/progress_dialog.h"
#include "gui/common/qt_text.h"
#include "gui/common/wait_cursor.h"
#include "gui/document/view_menu_items.h"
#include "gui/links/act_view_files.h"
#include "gui/links/find_file_dialog.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/main_form.h"
#include "imaging/view_file.h"

namespace hakuvo {

namespace {

QStringList LocalFiles(const QMimeData* data) {
  QStringList files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

QString RefusalText(const TDropFileResult& file) {
  switch (file.Refusal) {
    case drMissing:
      return QStringLiteral("ファイルがありません");
    case drFolder:
      return QStringLiteral("フォルダです");
    case drNotRegular:
      return QStringLiteral("通常のファイルではありません");
    case drDuplicate:
      return QStringLiteral("同じファイルが二度あります");
    case drUnreadable:
      return QStringLiteral("ファイルを読めません（%1）").arg(QString::fromLocal8Bit(std::strerror(file.SystemError)));
    case drAlreadyInDiary:
      return QStringLiteral("すでに日記にあります");
    case drTrackError:
    case drNone:
      break;
  }
  return {};
}

// Makes the view file of one link as the link window would; a failure is kept for the end.
void MakeViewFile(TLinkData& link, const TAppData& appData, QStringList& errors) {
  const TLinkViewInfo& view = appData.ChildWindowInfo.LinkViewInfo;
  try {
    if (auto* track = dynamic_cast<TGpsFileLink*>(&link)) {
      MakeGpsViewFile(*track, appData.ThumbnailFolder);
    } else {
      MakeImageViewFile(link, view.ThumbnailWidth(), view.ThumbnailHeight(), appData.ThumbnailFolder);
    }
  } catch (const std::exception& error) {
    errors << QString::fromStdString(error.what());
  }
}

QString JoinedErrors(const QStringList& errors) {
  // A long list is cut short: the box has to fit on the screen.
  constexpr int kShown = 10;
  QStringList shown = errors.mid(0, kShown);
  if (errors.size() > kShown) shown << QStringLiteral("ほか %1 件").arg(errors.size() - kShown);
  return shown.join(QStringLiteral("\n"));
}

}  // namespace

void TMainForm::CreateRegisterActions() {
  setAcceptDrops(true);
  FPasteRouteAction = new QAction(QStringLiteral("貼り付け(&V)"), this);
  FPasteRouteAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  connect(FPasteRouteAction, &QAction::triggered, this, &TMainForm::PasteRouteCommand);
  FMakeThumbnailsAction = new QAction(QStringLiteral("リンクの縮小ファイル作成(&T)..."), this);
  FMakeThumbnailsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F10));
  FMakeThumbnailsAction->setCheckable(true);
  FMakeThumbnailsAction->setChecked(FAppData->IsMakeThumbnail);
  // The check mark follows the setting, not the click.
  connect(FMakeThumbnailsAction, &QAction::triggered, this, [this] {
    MakeThumbnailsCommand();
    FMakeThumbnailsAction->setChecked(FAppData->IsMakeThumbnail);
  });
  FDeleteThumbnailsAction = new QAction(QStringLiteral("リンクの縮小ファイル削除(&D)..."), this);
  FDeleteThumbnailsAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F10));
  connect(FDeleteThumbnailsAction, &QAction::triggered, this, &TMainForm::DeleteThumbnailsCommand);
  // Shortcut-only commands still belong to the window to be heard.
  addAction(FPasteRouteAction);
  addAction(FMakeThumbnailsAction);
  addAction(FDeleteThumbnailsAction);

  FRegisterUpdatedFilesAction = new QAction(QStringLiteral("更新されたファイルを登録(&F)..."), this);
  FRegisterUpdatedFilesAction->setToolTip(QStringLiteral("更新されたファイルを登録"));
  FRegisterUpdatedFilesAction->setStatusTip(QStringLiteral("更新されたファイルを登録"));
  connect(FRegisterUpdatedFilesAction, &QAction::triggered, this, &TMainForm::RegisterUpdatedFilesCommand);
  // Hidden at start like the diary's other day-list commands: no menu shows it and it has no key.
  FRegisterUpdatedFilesAction->setObjectName(QStringLiteral("RegisterUpdatedFilesAction"));
  addAction(FRegisterUpdatedFilesAction);

  // Dragging is not for every desk (touchpads, remote desktops, tiling window managers): the
  // same registering from a file dialog.
  FImportFilesAction = new QAction(QStringLiteral("ファイルの取り込み(&I)..."), this);
  FImportFilesAction->setObjectName(QStringLiteral("ImportFilesAction"));
  FImportFilesAction->setToolTip(QStringLiteral("ファイルの取り込み"));
  connect(FImportFilesAction, &QAction::triggered, this, &TMainForm::ImportFilesCommand);
  addAction(FImportFilesAction);
  // Both stand before the recent files, which the history menu puts before the last separator.
  const QList<QAction*> items = FFileMenu->actions();
  const qsizetype exit = items.indexOf(Action(cmExit));
  QAction* separator = exit > 0 ? items.at(exit - 1) : Action(cmExit);
  FFileMenu->insertAction(separator, FImportFilesAction);
  FFileMenu->insertAction(separator, FRegisterUpdatedFilesAction);
  FFileMenu->insertSeparator(FImportFilesAction);
  // Registering files changed on disk is one of the diary's extended commands.
  FViewItems->AddExtendedCommand(FRegisterUpdatedFilesAction);
}

void TMainForm::ImportFilesCommand() {
  TFileDialogRequest request;
  request.Caption = QStringLiteral("ファイルの取り込み");
  request.Directory = ToQString(FAppData->DataFilePath);
  request.Filter = QStringLiteral(
      "トラック・写真 (*.gpx *.kml *.nma *.nmea *.log *.fit *.tcx *.jpg *.jpeg *.jpe *.png *.gif *.bmp *.ico);;"
      "トラック (*.gpx *.kml *.nma *.nmea *.log *.fit *.tcx);;"
      "写真 (*.jpg *.jpeg *.jpe *.png *.gif *.bmp *.ico);;"
      "すべてのファイル (*)");
  const QStringList files = FHooks.OpenFileNames(this, request);
  if (files.isEmpty()) return;
  DropFilesCommand(files);
}

void TMainForm::ShowProgress(TProgressDialog& dialog) {
  dialog.ShowCentered();
  // The window takes the keyboard back when the dialog goes, so that its shortcuts work again.
  connect(&dialog, &QObject::destroyed, this, [this] { activateWindow(); });
  if (ProgressShown) ProgressShown(dialog);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QStringList files = LocalFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  DropFilesCommand(files);
}

void TMainForm::DropFilesCommand(const QStringList& files) {
  RunCommand([&] {
    TChildWindowInfo& choices = FAppData->ChildWindowInfo;
    TDropOptions options;
    const int rule = choices.DropFileDialogDestination;
    options.DateRule = rule == ddToday ? ddToday : rule == ddRememberedDate ? ddRememberedDate : ddFileDate;
    options.UseExifDate = choices.DropFileDialogJpeg;
    options.UseGpsDate = choices.DropFileDialogGps;
    options.RememberedDate = choices.DropFileDialogDate;
    options.Category = FHakuvoCategory;
    options.UserCategory = choices.DropFileDialogUserCategory;
    QStringList viewFileErrors;
    if (FAppData->IsMakeThumbnail) {
      options.MakeViewFiles = [&](TActData& act) { viewFileErrors << MakeActViewFiles(act, *FAppData, false); };
    }
    std::vector<std::string> names;
    for (const QString& file : files) names.push_back(ToStdString(file));

    TDropReport report;
    {
      TWaitCursor wait;
      TProgressDialog progress(this);
      ShowProgress(progress);
      report = DropFiles({DayDataList(), CategoryInfoList(), FileList()}, names, options, &progress);
    }
    // Whatever was registered before a stop or a failed track is shown and marked as changed.
    if (report.Changed) {
      const std::string modeName = CategoryNames()[FHakuvoCategory];
      FCurrentCategory = modeName;
      FGraphChoices.DayGraphCategory = modeName;
      FGraphChoices.MonthGraphCategory = modeName;
      FGraphChoices.YearGraphCategory = modeName;
      emit FDocument->GraphCategoriesReset();
      RebuildList();
      if (report.LastDate > 0) SelectByDate(report.LastDate);
      SetIsChange(true);
      emit FDocument->DataChanged();
    }
    choices.DropFileDialogOneAct = true;

    QStringList problems;
    for (const TDropFileResult& file : report.Files) {
      if (file.Outcome == doRefused && file.Refusal != drTrackError) {
        problems << ToQString(file.FileName) + QStringLiteral(": ") + RefusalText(file);
      }
    }
    if (report.Error) problems.prepend(ToQString(*report.Error));
    problems << viewFileErrors;
    if (!problems.isEmpty()) ShowError(JoinedErrors(problems));
  });
}

void TMainForm::PasteRouteCommand() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return;
  // Files a file manager copied come as a list of addresses; they are registered as a drop.
  const QStringList files = LocalFiles(clipboard->mimeData());
  if (!files.isEmpty()) {
    DropFilesCommand(files);
    return;
  }
  RunCommand([clipboard, this] {
    // Only the text a route-search page copies is read; anything else is passed over in silence.
    const std::vector<TRouteLeg> legs = ParseRoute(ToStdString(clipboard->text()));
    if (legs.empty()) return;
    const std::vector<TActData*> added = AddRouteActs({DayDataList(), CategoryInfoList(), FileList()}, legs);
    // A new day goes to its place: the graphs and the month and year look-ups read the days in
    // date order. The rides stay after the outings their day already had.
    DayDataList().DateSort();
    RebuildList();
    SelectAct(added.back());
    SetIsChange(true);
    emit FDocument->DataChanged();
  });
}

void TMainForm::MakeThumbnailsCommand() {
  if (FAppData->IsMakeThumbnail) {
    DeleteThumbnailsCommand();
    return;
  }
  RunCommand([this] {
    if (FHooks.Question(this,
                        QStringLiteral("リンクの縮小ファイルを作成します\r\nファイル数によっては時間がかかります"),
                        QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
      return;
    }
    std::error_code ignored;
    std::filesystem::create_directories(FAppData->ThumbnailFolder, ignored);
    QStringList errors;
    bool finished = false;
    {
      TWaitCursor wait;
      TProgressDialog progress(this);
      ShowProgress(progress);
      finished = MakeAllViewFiles(
          DayDataList(), [&](TLinkData& link) { MakeViewFile(link, *FAppData, errors); }, &progress);
    }
    if (finished) {
      FAppData->IsMakeThumbnail = true;
      SetIsChange(true);
      emit FDocument->LinkViewChanged();
    }
    if (!errors.isEmpty()) ShowError(JoinedErrors(errors));
  });
  if (FMakeThumbnailsAction != nullptr) FMakeThumbnailsAction->setChecked(FAppData->IsMakeThumbnail);
}

void TMainForm::DeleteThumbnailsCommand() {
  RunCommand([this] {
    if (FHooks.Question(this, QStringLiteral("縮小ファイルを削除します"), QMessageBox::Ok | QMessageBox::Cancel) !=
        QMessageBox::Ok) {
      return;
    }
    std::error_code ignored;
    std::filesystem::create_directories(FAppData->ThumbnailFolder, ignored);
    bool finished = false;
    {
      TWaitCursor wait;
      TProgressDialog progress(this);
      ShowProgress(progress);
      finished = DeleteAllViewFiles(DayDataList(), &progress);
    }
    if (finished) {
      FAppData->IsMakeThumbnail = false;
      SetIsChange(true);
      emit FDocument->LinkViewChanged();
    }
  });
  if (FMakeThumbnailsAction != nullptr) FMakeThumbnailsAction->setChecked(FAppData->IsMakeThumbnail);
}

void TMainForm::RegisterUpdatedFilesCommand() {
  RunCommand([this] {
    TChildWindowInfo& choices = FAppData->ChildWindowInfo;
    TAddActionFindFileDialog dialog(this);
    dialog.SetCategoryChoices(FCategoryChoices);
    dialog.SetFolders(choices.FileLinkSearchFolderList);
    dialog.SetPatterns(choices.FileLinkSearchFileNameList);
    dialog.SetSubFolders(choices.IsFileLinkSearchSubFolder);
    dialog.SetOneAct(choices.IsFileLinkSearchOneAct);
    dialog.PrepareForShow();
    if (FHooks.RunDialog(dialog) != QDialog::Accepted) return;

    // The lists typed in are kept even when the search fails.
    choices.FileLinkSearchFolderList = dialog.Folders();
    choices.FileLinkSearchFileNameList = dialog.Patterns();
    choices.IsFileLinkSearchSubFolder = dialog.SubFolders();
    choices.IsFileLinkSearchOneAct = dialog.OneAct();

    const int row = FListView->FirstSelectedRow();
    const TActData* current = row >= 0 ? FListModel->Act(row) : nullptr;
    const TDateTime currentDate = current != nullptr && current->DayData != nullptr ? current->DayData->DateData : 0;
    std::optional<std::string> failure;
    TFindFileResult result;
    {
      TWaitCursor wait;
      try {
        result = RegisterUpdatedFiles({DayDataList(), CategoryInfoList(), FileList()}, dialog.Options());
      } catch (const EFolderCheckError& error) {
        failure = error.what();
      }
    }
    // What was registered before a broken folder stays, shown and marked as changed.
    RefreshCategoryChoices();
    RebuildList();
    SelectByDate(currentDate);
    // After the selection, which sets the current category to its outing's.
    const QString category = dialog.CategoryText();
    if (FCategoryChoices.contains(category)) FCurrentCategory = ToStdString(category);
    SetIsChange(true);
    emit FDocument->DataChanged();
    if (failure) throw EHakuvoError(*failure);
  });
}

}  // namespace hakuvo
