#pragma once

#include <QImage>
#include <QModelIndex>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/document/docking_form.h"
#include "gui/links/file_opener.h"

class QAbstractItemView;
class QDialog;
class QMimeData;
class QListView;
class QStackedWidget;
class QStandardItemModel;
class QTreeView;
class QToolButton;

namespace hakuvo {

class TDiaryDocument;
class TLinkData;
class TLinkDataList;
class TLinkPreviewForm;
class TLinkViewInfo;
class TChildWindowInfo;
class TMapPhotoFeeder;
class TThumbnailWorker;
struct TWindowPorts;

// "リンク": the links of the outing chosen in the main window, as thumbnails made in the
// background or as detail rows (名称, リンク, 備考). Choosing a link shows it in the preview and,
// for a file, on the map and in the speed graph; a double click opens it; dragging a link
// within the list reorders the outing's links, dragging rows onto another outing in the main
// window's list moves them there.
class TLinkForm : public TDockingForm {
  Q_OBJECT

 public:
  // The model's role that holds a row's finished thumbnail.
  static constexpr int ThumbnailRole = Qt::UserRole + 2;

  explicit TLinkForm(TDiaryDocument* document, QWidget* parent = nullptr);
  ~TLinkForm() override;

  // The outing's links (not owned; the drag reorders them). A list with links makes its first the
  // current link and hands it once to the preview, the map and the speed graph, shown or not; one
  // without clears them.
  void SetLinkDataList(TLinkDataList* list);
  TLinkDataList* LinkDataList() const { return FLinkDataList; }
  // Lets go of the links before their outing goes: the rows, the run, the preview's link.
  void ForgetLinks();
  // Rebuilds the rows and, as thumbnails, starts a new run of the worker; only while the window
  // is visible and has a list.
  void SetListView();
  TLinkData* CurrentLink() const { return FCurrentLink; }
  // Selects the row of that link alone.
  void SelectLink(const TLinkData* link);
  // The settings object the window shows by (not owned); its style and thumbnail size apply.
  void SetLinkViewInfo(TLinkViewInfo* info);
  TLinkViewInfo* LinkViewInfo() const { return FLinkViewInfo; }
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& category) { FCategory = category; }
  void SetPreviewForm(TLinkPreviewForm* preview);
  // The map and the speed graph are reached through the ports, looked up when needed, as they
  // may come and go.
  void SetPorts(const TWindowPorts* ports);
  // The offset of the outing's camera clock to its track, in seconds, for the photographs the
  // map shows with the next list.
  void SetCameraClockOffset(double seconds) { FCameraClockOffset = seconds; }
  // Puts the outing's photographs on the map (when it has a track).
  TMapPhotoFeeder* PhotoFeeder() const { return FPhotoFeeder; }
  // A photograph's marker on the map was clicked: its row is selected and the preview shows
  // it. The map, which shows it already, is left as it is: the track it draws stays.
  void SelectPhotoFromMap(const TLinkData* link);
  // The settings' layout record: the detail columns take its widths when it has them, and
  // give it theirs when the user changes them.
  void SetWindowInfo(TChildWindowInfo* info);

  void LinkViewChanged() override;
  // The photographs on the map follow a turned picture and a track's new range.
  void GpsRangeChanged() override;

  // The display settings button: the dialog on the settings object; on OK the window rebuilds
  // and the diary hears of it.
  void ViewSettingsCommand();
  // Moves the link of row `from` before the link of row `onto`, or to the end for -1; the order
  // is the outing's, so the diary hears of it.
  void MoveLink(int from, int onto);
  // A drag of row `from` dropped at a point of the shown view's viewport: onto a row, before
  // it; onto empty space, to the end.
  void DropLink(int from, const QPoint& viewportPos);

  // The format of a drag of rows out of this window. It names the links by their place in the
  // list and their GUID codes, together with the process and the showing of the list they were
  // taken from, so that a drop can tell whether they are still the links shown.
  static QString LinkDragFormat();
  // The drag of these rows (any columns; each row once, in list order).
  QMimeData* LinkDragData(const QModelIndexList& indexes) const;
  // The links a drag names, in its order, when every one of them is still where the drag took it
  // from in the list shown now; otherwise (another list, another program, links gone) none.
  std::vector<TLinkData*> DraggedLinks(const QMimeData* drag) const;
  // Takes the links out of the list shown (they went to another outing): the rows are rebuilt
  // and the preview and the map let go of what they showed.
  void TakeOutLinks(const std::vector<TLinkData*>& links);
  // The double click on a row: a file opens in the desktop's program, a thing or a person in
  // its dialog, read-only.
  void OpenRow(int row);
  // How a file is handed to the desktop and how a failure is told (tests record both).
  void SetOpener(TFileOpener opener) { FOpener = std::move(opener); }
  void SetOpenFailureReporter(TOpenFailureReporter report) { FReportOpenFailure = std::move(report); }
  // How a thing or person dialog is shown (exec unless a test says otherwise).
  void SetDialogRunner(std::function<void(QDialog&)> runner) { FDialogRunner = std::move(runner); }

  QStandardItemModel* Model() const { return FModel; }
  QListView* IconView() const { return FIconView; }
  QTreeView* ReportView() const { return FReportView; }
  QToolButton* SettingsButton() const { return FSettingsButton; }
  // The view in use, as the style says.
  QAbstractItemView* CurrentView() const;
  bool IsThumbnailRunning() const;
  // How many runs the window has started (a test sees a restart by it).
  int ThumbnailRunCount() const { return FRunCount; }
  QImage ThumbnailImage(int row) const;
  QSize ThumbnailSize() const;
  // Track rows whose distance, time and climb are still being read on a worker.
  int PendingTrackDetails() const { return FPendingDetails; }

 signals:
  // Emitted on the worker's thread with each finished image; heard queued on the window's own.
  void ThumbnailReady(int run, int index, const QImage& image);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyViewInfo();
  void StopThumbnails();
  void StartThumbnails();
  void ReceiveThumbnail(int run, int index, const QImage& image);
  // Reads each track row's distance, time and climb on a worker and fills them in as they come.
  void StartTrackDetails();
  void ReceiveTrackDetail(quint64 run, const TLinkData* link, const QStringList& texts);
  void OnSelectionChanged();
  void FeedOthers(TLinkData* link);
  // Has the feeder put the photographs of the links shown on the map, again.
  void ShowPhotosOnMap();
  void ClearOthers();
  TLinkData* RowLink(int row) const;
  // Highlights the current link's row without handing it on again.
  void SelectCurrentRowQuietly();

  TDiaryDocument* FDocument;
  TLinkDataList* FLinkDataList = nullptr;
  // The link the other windows show; highlighted again whenever the rows are rebuilt.
  TLinkData* FCurrentLink = nullptr;
  bool FIsSelectingQuietly = false;
  std::string FCategory;
  TLinkViewInfo* FLinkViewInfo = nullptr;
  QPointer<TLinkPreviewForm> FPreviewForm;
  const TWindowPorts* FPorts = nullptr;
  TMapPhotoFeeder* FPhotoFeeder;
  double FCameraClockOffset = 0;
  TChildWindowInfo* FWindowInfo = nullptr;
  bool FColumnsRestored = false;
  std::unique_ptr<TLinkViewInfo> FOwnViewInfo;

  QToolButton* FSettingsButton;
  QStackedWidget* FStack;
  QStandardItemModel* FModel;
  QListView* FIconView;
  QTreeView* FReportView;
  std::unique_ptr<TThumbnailWorker> FWorker;
  int FRunCount = 0;
  // Changes whenever the rows stop matching the links a drag named by their places.
  quint64 FShowing = 0;
  int FPendingDetails = 0;
  quint64 FDetailRun = 0;
  TFileOpener FOpener;
  TOpenFailureReporter FReportOpenFailure;
  std::function<void(QDialog&)> FDialogRunner;
};

}  // namespace hakuvo
