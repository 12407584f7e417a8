#pragma once

#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/model/category_info_list.h"
#include "core/model/day_data.h"
#include "core/model/graph_info.h"
#include "core/model/link_data.h"
#include "core/settings/app_data.h"
#include "gui/document/diary_document.h"
#include "gui/document/dock_manager.h"
#include "gui/document/window_ports.h"
#include "gui/main/command_line.h"
#include "gui/main/diary_loader.h"
#include "gui/main/main_form_hooks.h"

class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class QSessionManager;
class QDragEnterEvent;
class QDropEvent;
class QMimeData;

namespace hakuvo {

class TActForm;
class TActListModel;
class TProgressDialog;
class TActListView;
class TLinkForm;
class TThingListSetDialog;
class THistoryMenu;
class TRecordDialog;
class TViewMenuItems;

// The commands of the main window, for tests and for the idle-time state refresh.
enum TMainCommand : int {
  cmNew,
  cmOpen,
  cmSave,
  cmSaveAs,
  cmExit,
  cmCategorySearch,
  cmStringSearch,
  cmEnergyView,
  cmPaceView,
  cmActGraph,
  cmDayGraph,
  cmMonthGraph,
  cmYearGraph,
  cmFullScreen,
  cmAbout,
  cmAddAct,
  cmDeleteAct,
  cmEditAct,
  cmCategorySettings,
  cmCategoryListSettings,
  cmSearchDown,
  cmSearchUp,
  MainCommandCount
};

// Which category each graph shows; kept with the diary file and the settings.
struct TGraphChoices {
  std::string DayGraphCategory;
  std::string MonthGraphCategory;
  std::string YearGraphCategory;
  std::string MultiDayGraphCategory;
  std::string MultiDayGraphCategory2;
  int MultiDayGraphRecordKind = 1;
  int MultiDayGraphRecordKind2 = 2;
};

// The program's window: the one open diary (a TDiaryDocument), the commands over it (menus,
// tool strip, command states) and the docking of the child windows (a TDockManager). It shows
// the diary's outings as one list, runs the file commands and is where outings are added,
// edited and deleted. Child windows reach it only through the document's message signals, which
// it hears queued: a message is handled once the sender's own event is over.
class TDiaryWatch;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int DesignWidth = 942;
  static constexpr int DesignHeight = 731;
  static constexpr int RecentFileCount = 10;
  // The narrowest a column of the list gets; a stored width below it means the default.
  static constexpr int MinimumColumnWidth = 24;

  // `parameters` is the command line without the program's name; `programFolder` the folder
  // of the program (the settings live there while it is writable).
  TMainForm(const QStringList& parameters, const std::filesystem::path& programFolder,
            TMainFormHooks hooks = DefaultMainFormHooks(), QWidget* parent = nullptr);
  ~TMainForm() override;

  // ---- state ----
  TDiaryDocument& Document() { return *FDocument; }
  const std::string& FileName() const { return FDocument->FileName(); }
  bool IsChange() const { return FDocument->IsChange(); }
  void SetIsChange(bool value) { FDocument->SetIsChange(value); }
  TCategoryType HakuvoCategory() const { return FHakuvoCategory; }
  bool IsViewEnergyConsumption() const { return FIsViewEnergyConsumption; }
  bool IsViewPace() const { return FIsViewPace; }
  bool IsFullScreenDisplay() const { return FIsFullScreenDisplay; }
  bool IsAppDataFolder() const { return FIsAppDataFolder; }
  const std::string& AppDataFolder() const { return FAppDataFolder; }
  const TCommandLine& CommandLine() const { return FCommandLine; }
  TAppData& AppData() { return *FAppData; }
  // The diary's objects, all the document's.
  TDayDataList& DayDataList() { return FDocument->DayDataList(); }
  const TDayDataList& DayDataList() const { return FDocument->Diary().Days; }
  TCategoryInfoList& CategoryInfoList() { return FDocument->CategoryInfoList(); }
  TLinkDataOwner& FileList() { return FDocument->FileList(); }
  TLinkDataOwner& ThingList() { return FDocument->ThingList(); }
  TLinkDataOwner& PersonList() { return FDocument->PersonList(); }
  TGraphInfo& MultiGraphInfo1() { return FDocument->MultiGraphInfo1(); }
  TGraphInfo& MultiGraphInfo2() { return FDocument->MultiGraphInfo2(); }
  // The category order of the settings (read from and written to the settings file).
  TCategoryList& CategoryList() { return FCategoryList; }
  const TGraphChoices& GraphChoices() const { return FGraphChoices; }
  // The current category: a display name or a user category's name.
  const std::string& CurrentCategory() const { return FCurrentCategory; }
  // User categories in use (sorted), then the category list's names.
  const QStringList& CategoryChoices() const { return FCategoryChoices; }
  // The nine dockable child windows, in their fixed order.
  const std::vector<TDockingForm*>& DockingFormList() const { return FDocks->DockingFormList(); }
  TDockManager& Docks() const { return *FDocks; }
  // The link window, when the factory made one.
  TLinkForm* LinkForm() const;
  // The hidden commands of the thing and person lists and of the link display settings.
  void ThingListSetCommand();
  void PersonListSetCommand();
  void LinkViewInfoCommand();
  TViewMenuItems& ViewItems() const { return *FViewItems; }
  // "跳記(*.hkvj)|*.hkvj" and "hkvj" for the jogging mode.
  const QString& FileFilter() const { return FFileFilter; }
  const QString& DefaultExt() const { return FDefaultExt; }

  THistoryMenu& HistoryMenu() { return *FHistoryMenu; }
  TActListView* ListView() const { return FListView; }
  TActListModel* ListModel() const { return FListModel; }
  QLineEdit* SearchEdit() const { return FSearchEdit; }
  QToolBar* ToolStrip() const { return FToolStrip; }
  QToolBar* ActToolBar() const { return FActToolBar; }
  QMenu* FileMenu() const { return FFileMenu; }
  QMenu* ViewMenu() const { return FViewMenu; }
  QMenu* ListPopupMenu() const { return FListPopupMenu; }
  QAction* Action(TMainCommand command) const { return FActions.at(static_cast<std::size_t>(command)); }

  // The caption for a diary file: the title, then " [" + name without folder and extension + "]".
  static QString CaptionFor(const std::string& fileName);

  // ---- commands (each shows its own errors) ----
  void NewCommand();
  void OpenCommand();
  void SaveCommand();
  void SaveAsCommand();
  void FullScreenCommand();
  void AboutCommand();
  void CategoryListSettingsCommand();
  void AddActCommand();
  void EditActCommand();
  void DeleteActCommand();
  void EnergyViewCommand();
  void PaceViewCommand();
  void CategorySettingsCommand();
  // The search windows: Ctrl+F over every outing, "抽出" within the current category.
  void StringSearchCommand();
  void CategorySearchCommand();
  void SearchDownCommand();
  void SearchUpCommand();
  // A recent file chosen from the File menu.
  void OpenHistoryFile(const std::string& path);

  // Outside material and the view files of all links (main_form_drop.cpp): files dropped on the
  // window, a route pasted with Ctrl+V, thumbnails made (Ctrl+F10) and deleted (Shift+Ctrl+F10),
  // and the files changed on disk registered through "ファイル検索登録".
  void DropFilesCommand(const QStringList& files);
  // "ファイルの取り込み": the files chosen in a dialog go the way of a drop.
  void ImportFilesCommand();
  // Ctrl+V: files a file manager copied go the way of a drop; route text becomes rides.
  void PasteRouteCommand();
  void MakeThumbnailsCommand();
  void DeleteThumbnailsCommand();
  void RegisterUpdatedFilesCommand();
  QAction* PasteRouteAction() const { return FPasteRouteAction; }
  QAction* ImportFilesAction() const { return FImportFilesAction; }
  QAction* MakeThumbnailsAction() const { return FMakeThumbnailsAction; }
  QAction* DeleteThumbnailsAction() const { return FDeleteThumbnailsAction; }
  QAction* RegisterUpdatedFilesAction() const { return FRegisterUpdatedFilesAction; }
  // Called once the progress dialog of a long command is on the screen (tests press stop here).
  std::function<void(TProgressDialog&)> ProgressShown;

  // Opens a diary file into the window; false (the error shown, the diary and file name as
  // they were) when it cannot be read.
  bool OpenFile(const std::string& path);
  // Starts reading a diary file on a worker; the window goes on meanwhile, its list saying that
  // it reads. `done` is told whether the diary was opened; a failure is shown and the diary
  // stays as it was. A read still running is dropped.
  void BeginOpen(const std::string& path, std::function<void(bool)> done = {});
  // A diary is being read (the commands that need it wait for it).
  bool IsReadingDiary() const;
  // Waits for the diary being read and shows it now; what the read gave, nothing when none ran.
  std::optional<bool> FinishReading();
  // Saves the diary under the name; false (the error shown, the file name as it was) on failure.
  bool SaveToFile(const std::string& path);
  // The save prompt before a command that replaces or leaves the diary: true to go on.
  bool QuerySave();

  // ---- list ----
  void RebuildList();
  void SelectByDate(TDateTime date);
  void SelectRow(int row);
  void SelectAct(const TActData* act);
  void RefreshCategoryChoices();
  // Enables, disables and checks the commands; run whenever the application falls idle.
  void UpdateCommandStates();

  // The settings object takes the window's place, columns and choices.
  void StoreWindowState();
  // The operating system ends the session: save a named, modified diary without asking and
  // write the settings and the recent files. `mayInteract` allows error boxes.
  void CommitSessionData(bool mayInteract);

 protected:
  // The window offers no menu to hide its tool strip.
  QMenu* createPopupMenu() override { return nullptr; }
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Start-up (main_form.cpp).
  void CreateModel();
  void ConnectDocument();
  void ReadCommandLine(const QStringList& parameters);
  void ReadSettings();
  void ApplySavedBounds();
  void SetGraphAxisTitles();
  void FirstShow();
  void Shutdown();
  // Stores the window's state and writes the settings and the recent files; failures are shown.
  void WriteSettingsFiles();
  void ShowPendingErrors();
  void OnCommitDataRequest(QSessionManager& manager);
  // The settings take the docking layout as it is now; nothing before the stored one was
  // restored, as the windows have not been placed yet.
  void StoreDockLayout();
  void ScheduleCommandUpdate();

  // Widgets (main_form_menu.cpp).
  void CreateActions();
  void CreateMenus();
  void CreateToolStrip();
  void CreateActPanel();
  QAction* MakeAction(TMainCommand command, const QString& text, const QKeySequence& shortcut,
                      void (TMainForm::*handler)());
  bool eventFilter(QObject* watched, QEvent* event) override;

  // File commands (main_form_file.cpp).
  void UpdateCaption();
  void ClearDiaryViews();
  void ApplyEnergyCategorySetting();
  TFileDialogRequest FileDialogRequest(const QString& caption) const;
  // Save-as dialog and save; true when saved, false when cancelled or failed.
  bool SaveAsDialog(bool& cancelled);
  // The graph choices, the current category and the window's bounds go with the file.
  void PrepareDataFile();

  // List (main_form_list.cpp).
  void ApplyColumnWidths();
  // The designed width of a column, widened to its heading.
  int DefaultColumnWidth(int column) const;
  void StoreColumnWidths();
  void OnSelectionChanged(const QList<int>& newlySelected);
  void SearchFrom(int direction);

  // Drops, routes, thumbnails and registration (main_form_drop.cpp).
  void CreateRegisterActions();
  void ShowProgress(TProgressDialog& dialog);

  // Search windows (main_form_search.cpp).
  void RunActForm(TActForm& form);

  // Actions (main_form_acts.cpp).
  void PrepareRecordDialog(TRecordDialog& dialog, TCategoryInfo& info, const TActData& act);
  TDayData* FindOrAddDay(TDateTime date);
  // The names of the user categories in use, sorted, each once.
  TStringList UserCategoryNames() const;

  // Link window (main_form_links.cpp).
  void CreateLinkCommands();
  // The link window shows the outing's links (none for nullptr), after letting go of the old.
  void ShowActLinks(TActData* act);
  // Before an outing goes: the link window lets go of its links if it shows them.
  void ForgetActLinks(const TActData* act);
  // Links dragged from the link window onto a row of the list move to that row's outing.
  void DropLinksOnRow(int row, const QMimeData* drag);
  void RunLinkListDialog(TThingListSetDialog& dialog, TLinkDataOwner& owner);

  // The diary changed on disk (main_form_reload.cpp).
  void WatchDiaryFile();
  void OnDiaryChangedOnDisk();
  // Reads the diary's file again, keeping the selected outing where it is still there; in the
  // background, or at once (true when it was read).
  bool ReloadDiary(bool inBackground);
  // Asks what to do about a file another program wrote, and does it; true when saved.
  bool SaveOverChangesOnDisk(const std::string& path);

  // The diary read by the loader takes the place of the shown one (main_form_file.cpp).
  bool ShowReadDiary(TDiaryLoader::TOutcome outcome);
  void OpenLastDiary(const std::string& last, const std::string& failed);

  void RunCommand(const std::function<void()>& command);
  void ShowError(const QString& message);

  TMainFormHooks FHooks;
  TDiaryWatch* FDiaryWatch = nullptr;
  TDiaryLoader* FDiaryLoader = nullptr;
  // Told how the read being run ended.
  std::function<void(bool)> FReadDone;
  // The file changed on disk while it was being read: looked at again once it is shown.
  bool FRecheckDisk = false;
  // The read in the background is a reload: it is dropped if the diary was changed meanwhile.
  bool FReadOnlyIfUnchanged = false;
  // The map and speed graph as other windows reach them; filled as the windows are made.
  TWindowPorts FPorts;
  TCommandLine FCommandLine;
  // Outlives every window that refers to the diary: the dock manager and the list let go first.
  std::unique_ptr<TDiaryDocument> FDocument;
  std::unique_ptr<TAppData> FAppData;
  bool FIsAppDataFolder = false;
  std::string FAppDataFolder;
  bool FIsFullScreenDisplay = false;
  TCategoryType FHakuvoCategory = ctJogging;
  bool FIsViewEnergyConsumption = false;
  bool FIsViewPace = false;
  // The settings' category order; TAppData only refers to it.
  TCategoryList FCategoryList;
  TGraphChoices FGraphChoices;
  std::string FCurrentCategory;
  QStringList FCategoryChoices;
  TDockManager* FDocks = nullptr;
  TViewMenuItems* FViewItems = nullptr;
  QString FFileFilter;
  QString FDefaultExt;
  QStringList FPendingErrors;
  bool FFirstShown = false;
  // The stored docking layout has been applied to the windows; only then is the live one worth
  // storing.
  bool FLayoutRestored = false;
  // While set, errors wait in FPendingErrors for the window to be shown.
  bool FDeferErrors = false;
  bool FShutdownDone = false;

  std::array<QAction*, MainCommandCount> FActions{};
  QMenu* FFileMenu = nullptr;
  QMenu* FViewMenu = nullptr;
  QMenu* FListPopupMenu = nullptr;
  QToolBar* FToolStrip = nullptr;
  QLineEdit* FSearchEdit = nullptr;
  QToolButton* FSearchDownButton = nullptr;
  QToolButton* FSearchUpButton = nullptr;
  QWidget* FActPanel = nullptr;
  QToolBar* FActToolBar = nullptr;
  TActListView* FListView = nullptr;
  int FLastColumnWidth = 0;  // the last column's own width; it is drawn stretched
  TActListModel* FListModel = nullptr;
  THistoryMenu* FHistoryMenu = nullptr;
  QTimer FCommandTimer;
  QAction* FPasteRouteAction = nullptr;
  QAction* FImportFilesAction = nullptr;
  QAction* FMakeThumbnailsAction = nullptr;
  QAction* FDeleteThumbnailsAction = nullptr;
  QAction* FRegisterUpdatedFilesAction = nullptr;
};

}  // namespace hakuvo
