#pragma once

#include <QDialog>
#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/model/link_data.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace hakuvo {

class TActData;
class TAppData;
class TCategoryInfo;
class TGpsFile;
class TGpsFileLink;
class TLinkListView;
class TMapPort;
class TPicturePane;

// The dialog in which one action is entered or edited: its fields on the left (which ones show
// is the category's choice, and the rows close up over the hidden ones), its links to files,
// things and persons on the right. It always works on a private copy of the action.
class TRecordDialog : public QDialog {
  Q_OBJECT

 public:
  using TErrorHandler = std::function<void(const QString& message)>;
  // Runs a dialog this one opens over itself and returns its result; modally by default.
  using TDialogRunner = std::function<int(QDialog& dialog)>;

  // Rows of the record panel stand this far apart once the gaps of hidden rows are closed.
  static constexpr int RowPitch = 55;
  static constexpr int CaptionAbove = 19;
  static constexpr int MemoBottomMargin = 18;
  // The link panel and its preview never get smaller than this; a stored size below it (a
  // panel once dragged shut) means the default size.
  static constexpr int MinimumLinkPanelWidth = 150;
  static constexpr int DefaultLinkPanelWidth = 300;
  static constexpr int MinimumPreviewHeight = 60;
  static constexpr int DefaultPreviewHeight = 200;

  explicit TRecordDialog(QWidget* parent = nullptr);
  ~TRecordDialog() override;

  // Written by the caller before showing, in this order: CategoryInfo, FileList, ThingList,
  // PersonList, ActData, AppData.
  virtual void SetCategoryInfo(TCategoryInfo& info);
  TCategoryInfo* CategoryInfo() const { return FCategoryInfo; }
  // The diary's file links. The dialog edits a copy of the list; on OK it hands the links it
  // created over to `files`, destroys the ones it removed (after deleting their view files) and
  // leaves `files` in the order of the copy. Without a file list no file can be linked.
  void SetFileList(TLinkDataOwner& files);
  const TLinkDataList& FileList() const { return FFileList; }
  void SetThingList(const TLinkDataList* things) { FThingList = things; }
  void SetPersonList(const TLinkDataList* persons) { FPersonList = persons; }
  virtual void SetActData(const TActData& act);
  // Stores the controls into the working action and returns it.
  virtual TActData& ActData();
  void SetAppData(TAppData* appData) { FAppData = appData; }
  TAppData* AppData() const { return FAppData; }
  // The map whose place dialog a double click on the place caption opens; none: no command.
  void SetMapPort(TMapPort* map);
  TMapPort* MapPort() const { return FMapPort; }
  void SetDialogRunner(TDialogRunner runner) { FRunDialog = std::move(runner); }
  // The place dialog over the working action's place, the field's text as its address.
  void PlaceCommand();

  // Links created and links removed while the dialog is open.
  const TLinkDataList& AddFileList() const { return FAddFileList.List(); }
  const TLinkDataList& DeleteFileList() const { return FDeleteFileList; }

  // Messages of failed checks go here; by default into an error box titled with the program's
  // name. Every check runs on every OK, so several messages may follow each other.
  void SetErrorHandler(TErrorHandler handler) { FErrorHandler = std::move(handler); }
  // Runs every check; true when all passed.
  bool CheckInput();
  void done(int result) override;

  // Link commands; they act on the working action's links and keep the list in step.
  void AddFiles(const QStringList& fileNames);
  void AddFilesByDialog();
  void AddThingsCommand();
  void AddPersonsCommand();
  void DeleteSelectedLinks();
  void EditSelectedLink();
  // Replaces a file link by a new one for another file; the same name changes nothing.
  void ReplaceFileLink(TFileLink& link, const std::string& fileName);
  void MoveLink(int from, int to);
  void SortByShootingTime();
  void RotateSelectedPicture(int angle);
  void ReadGpsTimeCommand();
  void ReadGpsDistanceCommand();
  void ReadGpsPositionCommand();
  void GpsRouteRangeCommand();
  // The reduced copies of the selected link, as the link window shows them: a photograph's (or a
  // thing's photograph's) thumbnail, a track's .gps file.
  void MakeImageViewFileCommand();
  void MakeGpsViewFileCommand();
  void ReadJpegTimeCommand();
  void ReadJpegPositionCommand();
  void CategorySettingsCommand();
  // After the category's settings were edited: apply them again, close up the rows again and
  // tell the main window.
  void ReapplyCategory();
  // Shows the time row even when the category hides it.
  virtual void ShowTimeRow();
  // Puts every control of the record panel back where it was designed, then closes the gaps of
  // hidden rows and of hidden fields at the left of a row.
  void CompactLayout();
  void CompactVertically();
  void CompactHorizontally();

  // Layout kept in the settings. The "リンク" button shows and hides the link panel.
  bool IsLinkPanelVisible() const;
  void SetLinkPanelVisible(bool visible);
  // Widens the dialog by `extra`, as far as the screen allows, keeping it on the screen.
  void GrowWithinScreen(int extra);
  int LinkPanelWidth() const;
  void SetLinkPanelWidth(int width);
  int PreviewHeight() const;
  void SetPreviewHeight(int height);
  // Places the dialog at these bounds (frame position, client size) instead of centring it.
  void SetRestoredGeometry(const QRect& geometry);

  TLinkListView* LinkList() const { return FLinkList; }
  TPicturePane* Preview() const { return FPreview; }
  QWidget* RecordPanel() const { return FRecordPanel; }
  QMenu* LinkMenu() const { return FLinkMenu; }
  QPushButton* LinkButton() const { return FLinkButton; }
  QPushButton* OkButton() const { return FOkButton; }
  QPushButton* CancelButton() const { return FCancelButton; }
  // Builds the context menu's visible items for the selected link.
  void PrepareLinkMenu();
  QAction* AddThingAction() const { return FAddThingAction; }
  QAction* AddPersonAction() const { return FAddPersonAction; }
  QAction* AddFileAction() const { return FAddFileAction; }

  QLineEdit* TitleEdit() const { return FTitleEdit; }
  QLineEdit* PlaceEdit() const { return FPlaceEdit; }
  QLineEdit* RecordEdit() const { return FRecordEdit; }
  QLineEdit* TaniEdit() const { return FTaniEdit; }
  QLineEdit* TimeEdit() const { return FTimeEdit; }
  QComboBox* WeatherCombo() const { return FWeatherCombo; }
  QLineEdit* TemperatureEdit() const { return FTemperatureEdit; }
  QComboBox* WindDirectionCombo() const { return FWindDirectionCombo; }
  QLineEdit* WindSpeedEdit() const { return FWindSpeedEdit; }
  QPlainTextEdit* Memo() const { return FMemo; }
  // The offset of the outing's camera clock to its track, in seconds (the link panel's row).
  QLineEdit* CameraClockOffsetEdit() const { return FCameraClockOffsetEdit; }
  QLabel* CaptionOf(const QWidget* field) const;

 signals:
  // The category's settings changed: the diary is modified and every view should refresh.
  void DataChanged();
  // The category settings button, when no settings dialog can be built here.
  void CategorySettingsRequested();
  // The shown range of one of the diary's track links changed (the link is the diary's own, so
  // the change stands whatever becomes of this dialog): the map and the speed graph redraw it.
  void GpsRangeChanged();

 protected:
  virtual std::unique_ptr<TActData> MakeActData() const;
  // Fills the time field(s) from a read track.
  virtual void ReadGpsTime(const TGpsFile& track);
  // A track was just linked; a dialog whose record is an outing's distance takes its times and
  // distance while the fields still hold what the dialog opened with.
  virtual void TrackAdded(const TGpsFileLink& link);
  // Reads the part of the track the link names (errors reach the caller).
  std::unique_ptr<TGpsFile> ReadTrack(const TGpsFileLink& link) const;
  // Appends the message of every failed check; subclasses call the parent's first.
  virtual void CheckFields(QStringList& messages) const;

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

  TActData& WorkingAct();
  const TActData& WorkingAct() const;
  void ShowError(const QString& message) const;

  // Building the record panel. Every control is registered in creation order; fixed rows
  // (tag 1) never move. A caption stands 19 pixels above its field and focuses it; a caption
  // of a fixed row stands at the left edge, 3 pixels lower than the field; a unit label stands
  // 6 pixels right of the field, 3 pixels lower.
  QLineEdit* AddLineEdit(const QString& name, int top, int left, int width, int tag = 0);
  QLineEdit* AddNumberEdit(const QString& name, int top, int left, int width = 100);
  QLineEdit* AddTimeEdit(const QString& name, int top, int left);
  QLineEdit* AddUnitEdit(const QString& name, int top, int left = 126);
  QComboBox* AddComboBox(const QString& name, int top, int left, int width, bool editable, int tag = 0);
  void AddField(QWidget* field, const QString& name, int top, int left, int width, int height, int tag);
  QLabel* AddCaption(QWidget* field, const QString& text);
  QLabel* AddLeftCaption(QWidget* field, const QString& text);
  QLabel* AddUnitLabel(QWidget* field, const QString& text);
  void SetCaptionText(const QWidget* field, const QString& text);
  // A unit beside a value that the category fixes: read-only and coloured like the dialog.
  static void MakeUnitReadOnly(QLineEdit* edit);
  // Moves a field with its labels.
  void MoveField(QWidget* field, int top, int left);
  // Moves every control at or below `fromTop` down by `delta` (for extra rows).
  void ShiftRows(int fromTop, int delta);
  void SetFieldVisible(QWidget* field, bool visible);
  // Fields whose width follows the panel's right edge.
  void StretchToRight(QWidget* field) { FStretched.push_back(field); }
  // A double click on the widget runs the action.
  void OnDoubleClick(QWidget* widget, std::function<void()> action);

  // Text of numbers and times in the fields.
  static void SetNumberText(QLineEdit* edit, Extended value);
  static bool TryNumberOf(const QLineEdit* edit, Extended& value);
  static bool TryTimeOf(const QLineEdit* edit, TDateTime& value);
  static void SetTimeText(QLineEdit* edit, TDateTime value);
  // The unit at an index of a unit list, empty beyond its end.
  static QString UnitAt(const std::vector<std::string>& units, int index);

 private:
  struct TPanelControl {
    QWidget* Widget = nullptr;
    QWidget* Field = nullptr;  // a label's field
    int Tag = 0;
    int DesignTop = 0;
    int DesignLeft = 0;
  };

  void BuildRecordPanel();
  void BuildLinkPanel();
  void BuildButtons();
  void BuildCameraClockRow(QVBoxLayout* layout);
  void SetCameraClockText(Extended seconds);
  // False when the field holds no offset the outing can take; an empty field is no offset.
  bool TryCameraClockOffset(Extended& seconds, QString* problem = nullptr) const;
  void PrepareOnFirstShow();
  void StretchPanelControls();
  // Gives the shown link panel its width (the dialog grows when the record panel would get too
  // narrow) and the preview its height.
  void ApplyLinkPanelSizes();
  // Grows the dialog when the rows shown leave the memo too little room.
  void EnsureMemoRoom();
  // Tab runs through the fields row by row, whatever order they were made in.
  void ArrangeTabOrder();
  void MoveControlTop(TPanelControl& control, int top, int oldTop);
  void MoveControlLeft(TPanelControl& control, int left, int oldLeft);
  std::vector<TPanelControl*> LabelsOf(const QWidget* field);
  TPanelControl* ControlOf(const QWidget* widget);

  void FillLinkList();
  void ShowPreview(TLinkData* link);
  void RefreshSelectedRow();
  void RunCommand(const std::function<void()>& command);
  std::unique_ptr<TGpsFile> ReadSelectedTrack(const TGpsFileLink& link) const;
  void PrepareViewFileActions(const TLinkData* link);
  QString ChooseFileToReplace(const TFileLink& link);
  TThingLink* ChooseThing(const TLinkDataList* list, const QString& caption, TThingLink* preset);
  void AddChosenThings(const TLinkDataList* list, const QString& caption);
  void FinishAccepted();

  std::unique_ptr<TActData> FActData;
  TCategoryInfo* FCategoryInfo = nullptr;
  TLinkDataOwner* FFileOwner = nullptr;
  TLinkDataList FFileList;
  TLinkDataOwner FAddFileList;
  TLinkDataList FDeleteFileList;
  const TLinkDataList* FThingList = nullptr;
  const TLinkDataList* FPersonList = nullptr;
  TAppData* FAppData = nullptr;
  TErrorHandler FErrorHandler;
  TMapPort* FMapPort = nullptr;
  TDialogRunner FRunDialog;

  std::vector<TPanelControl> FControls;
  std::vector<QWidget*> FStretched;
  std::vector<QLabel*> FLeftCaptions;
  QHash<QObject*, std::function<void()>> FDoubleClickActions;
  bool FPrepared = false;
  bool FPositionRestored = false;
  int FLinkPanelWidth = DefaultLinkPanelWidth;
  int FPreviewHeight = DefaultPreviewHeight;

  QWidget* FRecordPanel = nullptr;
  QWidget* FLinkPanel = nullptr;
  QSplitter* FMainSplitter = nullptr;
  QSplitter* FLinkSplitter = nullptr;
  QLineEdit* FTitleEdit = nullptr;
  QLineEdit* FPlaceEdit = nullptr;
  QLineEdit* FRecordEdit = nullptr;
  QLineEdit* FTaniEdit = nullptr;
  QLineEdit* FTimeEdit = nullptr;
  QComboBox* FWeatherCombo = nullptr;
  QLineEdit* FTemperatureEdit = nullptr;
  QComboBox* FWindDirectionCombo = nullptr;
  QLineEdit* FWindSpeedEdit = nullptr;
  QPlainTextEdit* FMemo = nullptr;
  QLineEdit* FCameraClockOffsetEdit = nullptr;

  QToolBar* FToolBar = nullptr;
  QToolButton* FAddButton = nullptr;
  QAction* FAddFileAction = nullptr;
  QAction* FAddThingAction = nullptr;
  QAction* FAddPersonAction = nullptr;
  TLinkListView* FLinkList = nullptr;
  QStackedWidget* FPreviewPages = nullptr;
  TPicturePane* FPreview = nullptr;
  QMenu* FLinkMenu = nullptr;
  QMenu* FRotateMenu = nullptr;
  QActionGroup* FRotateGroup = nullptr;
  QAction* FRotateActions[4] = {};
  QAction* FJpegTimeAction = nullptr;
  QAction* FJpegPositionAction = nullptr;
  QAction* FJpegSortAction = nullptr;
  QAction* FRouteRangeAction = nullptr;
  QAction* FGpsDistanceAction = nullptr;
  QAction* FGpsTimeAction = nullptr;
  QAction* FGpsPositionAction = nullptr;
  QAction* FViewFileSeparator = nullptr;
  QAction* FImageViewFileAction = nullptr;
  QAction* FGpsViewFileAction = nullptr;
  QToolButton* FCategoryButton = nullptr;
  QPushButton* FLinkButton = nullptr;
  QPushButton* FOkButton = nullptr;
  QPushButton* FCancelButton = nullptr;
};

}  // namespace hakuvo
