#include "gui/main/main_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QSessionManager>
#include <QStandardPaths>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "core/model/pace.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_rect.h"
#include "gui/common/screen_bounds.h"
#include "gui/common/timing_log.h"
#include "gui/document/view_menu_items.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/docking_forms.h"
#include "gui/main/history_menu.h"

namespace hakuvo {

namespace fs = std::filesystem;

namespace {

// Unset hooks fall back to the real boxes and dialogs.
TMainFormHooks CompleteHooks(TMainFormHooks hooks) {
  const TMainFormHooks defaults = DefaultMainFormHooks();
  if (!hooks.Error) hooks.Error = defaults.Error;
  if (!hooks.Question) hooks.Question = defaults.Question;
  if (!hooks.OpenFileName) hooks.OpenFileName = defaults.OpenFileName;
  if (!hooks.SaveFileName) hooks.SaveFileName = defaults.SaveFileName;
  if (!hooks.OpenFileNames) hooks.OpenFileNames = defaults.OpenFileNames;
  if (!hooks.RunDialog) hooks.RunDialog = defaults.RunDialog;
  if (!hooks.CreateRecordDialog) hooks.CreateRecordDialog = defaults.CreateRecordDialog;
  if (!hooks.CreateMapWindow) hooks.CreateMapWindow = defaults.CreateMapWindow;
  return hooks;
}

std::string DataFileExtension(TCategoryType mode) {
  switch (mode) {
    case ctWalking:
      return "hkvw";
    case ctBicycle:
      return "hkvb";
    default:
      return "hkvj";
  }
}

bool IsExistingFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(fs::path(path), error);
}

}  // namespace

TMainForm::TMainForm(const QStringList& parameters, const fs::path& programFolder, TMainFormHooks hooks,
                     QWidget* parent)
    : QMainWindow(parent), FHooks(CompleteHooks(std::move(hooks))) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(AppTitle());
  resize(DesignWidth, DesignHeight);
  // Dates and times are always written "yyyy/mm/dd" and "hh:nn:ss": the core's formats are
  // fixed and never follow the desktop's locale.
  CreateModel();
  // The settings object exists from the start so that the View items can keep their switch in
  // it; it is read once the command line has chosen the mode.
  FAppData = std::make_unique<TAppData>(programFolder);
  // A diary reopens in the layout it was saved with: its window section is the settings' one.
  FDocument->SetChildWindowInfo(&FAppData->ChildWindowInfo);
  // The nine child windows, hidden and floating until the stored layout places them at first show.
  FDocks = new TDockManager(
      *this, FDocument.get(),
      MainDockingFormFactory({FDocument.get(), FAppData.get(), &FPorts, FHooks.CreateMapWindow, FHooks.Error}));
  CreateActions();
  CreateMenus();
  CreateLinkCommands();
  CreateToolStrip();
  CreateActPanel();
  ConnectDocument();
  WatchDiaryFile();
  FDiaryLoader = new TDiaryLoader(this);
  connect(FDiaryLoader, &TDiaryLoader::Finished, this, [this] { ShowReadDiary(FDiaryLoader->Wait()); });
  ReadCommandLine(parameters);
  ReadSettings();
  CreateRegisterActions();
  FViewItems->SetShowAll(FAppData->IsShowAll);

  FHistoryMenu = new THistoryMenu(this);
  FHistoryMenu->SetTargetMenu(FFileMenu);
  FHistoryMenu->SetHistoryNum(RecentFileCount);
  FHistoryMenu->SetFileName(FAppData->GetIniFileName());
  try {
    FHistoryMenu->Load();
  } catch (const std::exception& error) {
    FPendingErrors << QString::fromStdString(error.what());
  }
  connect(FHistoryMenu, &THistoryMenu::HistorySelected, this, &TMainForm::OpenHistoryFile);
  // A file just opened or saved is in the settings file at once, not only after a normal exit.
  connect(FHistoryMenu, &THistoryMenu::ListChanged, this, &TMainForm::WriteSettingsFiles);

  FDefaultExt = QString::fromStdString(DataFileExtension(FHakuvoCategory));
  FFileFilter = QStringLiteral("跳記(*.") + FDefaultExt + QStringLiteral(")|*.") + FDefaultExt;
  SetGraphAxisTitles();

  FCommandTimer.setSingleShot(true);
  FCommandTimer.setInterval(0);
  connect(&FCommandTimer, &QTimer::timeout, this, &TMainForm::UpdateCommandStates);
  if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(application, &QGuiApplication::commitDataRequest, this, &TMainForm::OnCommitDataRequest,
            Qt::DirectConnection);
  }
  UpdateCommandStates();
}

TMainForm::~TMainForm() {
  // A window destroyed without being closed (the application quit) still keeps its settings.
  if (!FShutdownDone) {
    StoreDockLayout();
    StoreWindowState();
    try {
      FAppData->Write();
      FHistoryMenu->SetFileName(FAppData->GetIniFileName());
      FHistoryMenu->Save();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "hakuvo: %s\n", error.what());
    }
  }
  // The list and the child windows refer to the diary; they let go of it before it goes.
  FListModel->Clear();
  delete FViewItems;
  FViewItems = nullptr;
  delete FDocks;
  FDocks = nullptr;
}

void TMainForm::CreateModel() {
  FDocument = std::make_unique<TDiaryDocument>();
  // The two graph settings of the two-data graph: the first draws bars, the second a thick red
  // line.
  TGraphInfo& first = MultiGraphInfo1();
  TGraphInfo& second = MultiGraphInfo2();
  first.SetIsBarSeries(false);
  second.SetIsBarSeries(false);
  second.SetSeriesColor(255);
  first.SetIsBarSeries(true);
  second.SetLineSeriesWidth(3);
}

void TMainForm::ConnectDocument() {
  TDiaryDocument* document = FDocument.get();
  // Sent directly: the list lets go of the actions before New or Open frees them.
  connect(document, &TDiaryDocument::DiaryAboutToBeReset, this, [this] { FListModel->Clear(); });
  // The window messages, each handled once the sender's own event is over. The document marks
  // itself modified for those that change the diary, and the dock manager hands DataChanged,
  // LinkViewChanged and GpsRangeChanged on to the child windows.
  connect(
      document, &TDiaryDocument::SelectDay, this, [this](TDateTime date) { SelectByDate(date); }, Qt::QueuedConnection);
  connect(
      document, &TDiaryDocument::SelectMonth, this,
      [this](TDateTime date) {
        if (const TDayData* day = DayDataList().FindMonth(date)) SelectByDate(day->DateData);
      },
      Qt::QueuedConnection);
  connect(
      document, &TDiaryDocument::SelectYear, this,
      [this](TDateTime date) {
        if (const TDayData* day = DayDataList().FindYear(date)) SelectByDate(day->DateData);
      },
      Qt::QueuedConnection);
  connect(
      document, &TDiaryDocument::SelectRow, this, [this](int row) { SelectRow(row); }, Qt::QueuedConnection);
  connect(
      document, &TDiaryDocument::SelectAct, this, [this](const TActData* act) { SelectAct(act); },
      Qt::QueuedConnection);
  connect(
      document, &TDiaryDocument::DataChanged, this,
      [this] {
        // The hints follow the category settings.
        FListView->viewport()->update();
        ScheduleCommandUpdate();
      },
      Qt::QueuedConnection);
  for (auto signal : {&TDiaryDocument::ChildClosed, &TDiaryDocument::LinkViewChanged, &TDiaryDocument::GpsRangeChanged,
                      &TDiaryDocument::LinkOrderChanged, &TDiaryDocument::ViewSettingChanged}) {
    connect(document, signal, this, &TMainForm::ScheduleCommandUpdate, Qt::QueuedConnection);
  }
}

void TMainForm::ReadCommandLine(const QStringList& parameters) {
  std::vector<std::string> list;
  for (const QString& parameter : parameters) list.push_back(parameter.toStdString());
  FCommandLine = ParseCommandLine(list, IsExistingFile);
  FHakuvoCategory = FCommandLine.Mode;
  // Cyclists read speed, not minutes per kilometre: the column would stay empty in their mode.
  Action(cmPaceView)->setVisible(HasPace(FHakuvoCategory));
}

void TMainForm::ReadSettings() {
  FIsAppDataFolder = FAppData->ChooseSettingsFolder(FCommandLine.IsAppDataFolder);
  if (FIsAppDataFolder) FAppDataFolder = UserSettingsFolder().string();
  FAppData->CategoryList = &FCategoryList;
  FAppData->SetMode(FHakuvoCategory);
  FAppData->DocumentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  try {
    FAppData->Read();
  } catch (const std::exception& error) {
    // The settings stay at their defaults; the file itself is left alone until the next write.
    FPendingErrors << QString::fromStdString(error.what());
  }
  if (FCategoryList.Count() == 0) FCategoryList = TCategoryList::DefaultOrder();
  ApplySavedBounds();
  if (FAppData->WindowState == wsMaximized) {
    setWindowState(Qt::WindowMaximized);
  } else if (FAppData->WindowState == wsMinimized) {
    setWindowState(Qt::WindowMinimized);
  }
  FIsViewEnergyConsumption = FAppData->ChildWindowInfo.IsViewEnergyConsumption;
  FIsViewPace = FAppData->ChildWindowInfo.IsViewPace;
}

void TMainForm::ApplySavedBounds() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect desktop = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, DesignWidth, DesignHeight);
  // Unplaced, the window starts in the middle of the desktop at its design size.
  QRect initial(0, 0, std::min(DesignWidth, desktop.width()), std::min(DesignHeight, desktop.height()));
  initial.moveCenter(desktop.center());
  setGeometry(FitSizeToScreen(ToQRect(FAppData->MainFormBounds(ToBounds(initial), ToBounds(desktop)))));
}

void TMainForm::SetGraphAxisTitles() {
  static const char* const titles[] = {"回数", "距離(km)", "速度(km/h)", "体重(kg)", "カロリー(kcal)"};
  TCategoryInfo* info = CategoryInfoList().GetCategoryItems(FHakuvoCategory);
  for (TGraphInfo* graph : {&info->GraphInfo(), &info->MonthGraphInfo(), &info->YearGraphInfo()}) {
    if (graph->RecordAxisTitle.size() < std::size(titles)) graph->RecordAxisTitle.resize(std::size(titles));
    for (std::size_t kind = 0; kind < std::size(titles); ++kind) graph->RecordAxisTitle[kind] = titles[kind];
  }
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!FFirstShown) {
    FFirstShown = true;
    FirstShow();
  }
}

void TMainForm::FirstShow() {
  const TTimingWatch watch;
  FDocks->RestoreLayout(FAppData->ChildWindowInfo);
  FLayoutRestored = true;
  // The list takes the room the panels leave it now, not at the next layout pass: the diary
  // opened below scrolls its selected row into that room.
  layout()->activate();
  watch.Log("docking layout restored");
  RefreshCategoryChoices();
  FListView->setFocus();
  const std::string modeName = CategoryNames()[FHakuvoCategory];
  FCurrentCategory = modeName;
  FGraphChoices = {modeName, modeName, modeName, modeName, modeName, 1, 2};
  RebuildList();
  if (FIsViewEnergyConsumption) ApplyEnergyCategorySetting();
  // Errors met while starting are shown over the window, once it is on the screen.
  FDeferErrors = true;
  // A diary named on the command line wins over the one used last; one that cannot be read is
  // reported and the start goes on as if none had been named. Both are read on a worker: the
  // window paints at once, its list saying that it reads.
  const std::string last = FAppData->FileName;
  if (!FCommandLine.DiaryFileName.empty()) {
    const std::string named = fs::absolute(fs::path(FCommandLine.DiaryFileName)).lexically_normal().string();
    BeginOpen(named, [this, named, last](bool opened) {
      if (opened) {
        FHistoryMenu->Add(named);
      } else {
        OpenLastDiary(last, named);
      }
    });
  } else {
    OpenLastDiary(last, {});
  }
  FDeferErrors = false;
  SetIsChange(false);
  if (!FPendingErrors.isEmpty()) QTimer::singleShot(0, this, &TMainForm::ShowPendingErrors);
  ScheduleCommandUpdate();
}

void TMainForm::OpenLastDiary(const std::string& last, const std::string& failed) {
  // The last diary, unless it is the one that just failed.
  if (!last.empty() && last != failed && IsExistingFile(last)) BeginOpen(last);
}

void TMainForm::ShowPendingErrors() {
  QStringList errors;
  errors.swap(FPendingErrors);
  for (const QString& message : errors) ShowError(message);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // The settings are written with the diary being read, not with the empty one before it.
  FinishReading();
  if (!FShutdownDone) {
    if (!QuerySave()) {
      event->ignore();
      return;
    }
    SetIsChange(false);
    Shutdown();
  }
  QMainWindow::closeEvent(event);
}

void TMainForm::Shutdown() {
  WriteSettingsFiles();
  FShutdownDone = true;
}

void TMainForm::WriteSettingsFiles() {
  // The settings file always gets the window as it is now: the widths the user dragged, the
  // place of the window and of its child windows.
  StoreDockLayout();
  StoreWindowState();
  RunCommand([this] {
    FAppData->Write();
    FHistoryMenu->SetFileName(FAppData->GetIniFileName());
    FHistoryMenu->Save();
  });
}

void TMainForm::OnCommitDataRequest(QSessionManager& manager) {
  CommitSessionData(false);
  // Saving without asking may still fail; tell the user when the session allows it.
  QStringList errors;
  errors.swap(FPendingErrors);
  if (!errors.isEmpty() && manager.allowsErrorInteraction()) {
    for (const QString& message : errors) FHooks.Error(this, message);
    manager.release();
  }
}

void TMainForm::CommitSessionData(bool mayInteract) {
  FinishReading();
  auto report = [&](const std::exception& error) {
    const QString message = QString::fromStdString(error.what());
    if (mayInteract) {
      ShowError(message);
    } else {
      FPendingErrors << message;
    }
  };
  // The session may end: a named diary is saved without asking. A diary that was never saved
  // has nowhere to go; it stays marked modified in case the session goes on after all.
  if (IsChange() && !FileName().empty()) {
    try {
      // The diary keeps the layout it is left in; the document stores the docking layout.
      StoreWindowState();
      PrepareDataFile();
      FDocument->Save();
    } catch (const std::exception& error) {
      report(error);
    }
  }
  StoreDockLayout();
  StoreWindowState();
  try {
    FAppData->Write();
    FHistoryMenu->SetFileName(FAppData->GetIniFileName());
    FHistoryMenu->Save();
  } catch (const std::exception& error) {
    report(error);
  }
}

void TMainForm::StoreDockLayout() {
  // Hidden, the main window has taken its floating windows out of sight too: their places would
  // be lost.
  if (!FLayoutRestored || !isVisible()) return;
  FDocks->StoreLayout(FAppData->ChildWindowInfo);
}

void TMainForm::ScheduleCommandUpdate() {
  if (!FCommandTimer.isActive()) FCommandTimer.start();
}

void TMainForm::RunCommand(const std::function<void()>& command) {
  // A command acts on the diary the user is waiting for, never on the empty one shown while it
  // is read.
  FinishReading();
  try {
    command();
  } catch (const std::exception& error) {
    ShowError(QString::fromStdString(error.what()));
  }
  ScheduleCommandUpdate();
}

void TMainForm::ShowError(const QString& message) {
  if (FDeferErrors) {
    FPendingErrors << message;
  } else {
    FHooks.Error(this, message);
  }
}

}  // namespace hakuvo
