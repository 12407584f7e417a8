#include "gui/main/main_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSessionManager>
#include <QStandardPaths>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "core/datafile/day_data_file.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_rect.h"
#include "gui/common/screen_bounds.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/history_menu.h"
#include "gui/main/window_messages.h"

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
  if (!hooks.RunDialog) hooks.RunDialog = defaults.RunDialog;
  if (!hooks.CreateRecordDialog) hooks.CreateRecordDialog = defaults.CreateRecordDialog;
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
  CreateActions();
  CreateMenus();
  CreateToolStrip();
  CreateActPanel();
  ReadCommandLine(parameters);
  ReadSettings(programFolder);

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
    StoreWindowState();
    try {
      FAppData->Write();
      FHistoryMenu->SetFileName(FAppData->GetIniFileName());
      FHistoryMenu->Save();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "hakuvo: %s\n", error.what());
    }
  }
  // The list refers to the actions; it must let go of them before the days go.
  FListModel->Clear();
}

void TMainForm::CreateModel() {
  FCategoryInfoList = TCategoryInfoList::CreateStandard();
  // The two graph settings of the two-data graph: the first draws bars, the second a thick red
  // line.
  FMultiGraphInfo1.SetIsBarSeries(false);
  FMultiGraphInfo2.SetIsBarSeries(false);
  FMultiGraphInfo2.SetSeriesColor(255);
  FMultiGraphInfo1.SetIsBarSeries(true);
  FMultiGraphInfo2.SetLineSeriesWidth(3);
  // The nine dockable child windows have fixed places; none of them exists yet.
  FDockingFormList.resize(9);
}

void TMainForm::ReadCommandLine(const QStringList& parameters) {
  std::vector<std::string> list;
  for (const QString& parameter : parameters) list.push_back(parameter.toStdString());
  FCommandLine = ParseCommandLine(list, IsExistingFile);
  FHakuvoCategory = FCommandLine.Mode;
}

void TMainForm::ReadSettings(const fs::path& programFolder) {
  FAppData = std::make_unique<TAppData>(programFolder);
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
  TCategoryInfo* info = FCategoryInfoList->GetCategoryItems(FHakuvoCategory);
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
  // reported and the start goes on as if none had been named.
  bool opened = false;
  std::string named;
  if (!FCommandLine.DiaryFileName.empty()) {
    named = fs::absolute(fs::path(FCommandLine.DiaryFileName)).lexically_normal().string();
    opened = OpenFile(named);
    if (opened) FHistoryMenu->Add(named);
  }
  // The last diary, unless it is the one that just failed.
  const std::string& last = FAppData->FileName;
  if (!opened && !last.empty() && last != named && IsExistingFile(last)) OpenFile(last);
  FDeferErrors = false;
  FIsChange = false;
  if (!FPendingErrors.isEmpty()) QTimer::singleShot(0, this, &TMainForm::ShowPendingErrors);
  ScheduleCommandUpdate();
}

void TMainForm::ShowPendingErrors() {
  QStringList errors;
  errors.swap(FPendingErrors);
  for (const QString& message : errors) ShowError(message);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!FShutdownDone) {
    if (!QuerySave()) {
      event->ignore();
      return;
    }
    FIsChange = false;
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
  // place of the window.
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
  if (FIsChange && !FFileName.empty()) {
    const std::string path = FFileName;
    try {
      TDayDataFile file;
      // The diary keeps the layout it is left in.
      StoreWindowState();
      PrepareDataFile(file, path);
      file.Save();
      FIsChange = false;
    } catch (const std::exception& error) {
      report(error);
    }
  }
  StoreWindowState();
  try {
    FAppData->Write();
    FHistoryMenu->SetFileName(FAppData->GetIniFileName());
    FHistoryMenu->Save();
  } catch (const std::exception& error) {
    report(error);
  }
}

bool TMainForm::event(QEvent* event) {
  if (event->type() == TWindowMessageEvent::EventType()) {
    HandleWindowMessage(static_cast<const TWindowMessageEvent&>(*event));
    return true;
  }
  return QMainWindow::event(event);
}

void TMainForm::HandleWindowMessage(const TWindowMessageEvent& message) {
  switch (message.Message()) {
    case WM_CHILD_CLOSED:
    case WM_LINK_ORDER_CHANGED:
    case WM_VIEW_SETTING_CHANGED:
      FIsChange = true;
      break;
    case WM_DATA_CHANGED:
      FIsChange = true;
      // The hints follow the category settings.
      FListView->viewport()->update();
      ForwardToDockingForms(message.Message());
      break;
    case WM_LINK_VIEW_CHANGED:
    case WM_GPS_RANGE_CHANGED:
      FIsChange = true;
      ForwardToDockingForms(message.Message());
      break;
    case WM_SELECT_DAY:
      SelectByDate(static_cast<TDateTime>(message.WParam()));
      break;
    case WM_SELECT_MONTH:
      if (const TDayData* day = FDayDataList.FindMonth(static_cast<TDateTime>(message.WParam()))) {
        SelectByDate(day->DateData);
      }
      break;
    case WM_SELECT_YEAR:
      if (const TDayData* day = FDayDataList.FindYear(static_cast<TDateTime>(message.WParam()))) {
        SelectByDate(day->DateData);
      }
      break;
    case WM_SELECT_ACT:
      SelectAct(message.Act());
      break;
    case WM_SELECT_ROW:
      if (message.LParam() >= 0 && message.LParam() <= INT_MAX) SelectRow(static_cast<int>(message.LParam()));
      break;
    default:  // WM_CATEGORY_CHANGED and anything unknown
      break;
  }
  ScheduleCommandUpdate();
}

void TMainForm::ForwardToDockingForms(int message) {
  for (const QPointer<QWidget>& form : FDockingFormList) {
    if (form) PostWindowMessage(form, message);
  }
}

void TMainForm::ScheduleCommandUpdate() {
  if (!FCommandTimer.isActive()) FCommandTimer.start();
}

void TMainForm::RunCommand(const std::function<void()>& command) {
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
