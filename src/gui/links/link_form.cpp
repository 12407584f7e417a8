#include "gui/links/link_form.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDesktopServices>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QListView>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QThreadPool>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <set>
#include <vector>

#include "core/gps/track_detail.h"
#include "core/model/link_data.h"
#include "core/model/link_view_info.h"
#include "core/settings/child_window_info.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_text.h"
#include "gui/common/tool_icons.h"
#include "gui/common/wait_cursor.h"
#include "gui/document/diary_document.h"
#include "gui/document/window_ports.h"
#include "gui/links/link_preview_form.h"
#include "gui/links/link_view_info_dialog.h"
#include "gui/links/map_photo_feeder.h"
#include "gui/links/thing_dialog.h"
#include "imaging/thumbnail_worker.h"

namespace hakuvo {

namespace {

constexpr int kLinkRole = Qt::UserRole + 1;
// Thumbnails larger than this would cost a good part of the memory for a few dozen links.
constexpr int kLargestThumbnail = 1024;

QString LinkTypeName(TLinkType type) {
  switch (type) {
    case ltFile:
      return QStringLiteral("ファイル");
    case ltThing:
      return QStringLiteral("物");
    case ltPerson:
      return QStringLiteral("人");
    default:
      return QStringLiteral("その他");
  }
}

// The desktop's icon of a file's type, found by the extension alone: the large icon, or the
// small one when the large is bigger than the thumbnail. Null when the desktop knows no type or
// no icon for it. Icons are looked up on the user-interface thread only.
QImage FileTypeIcon(const std::string& fileName, QSize thumbnail) {
  if (fileName.empty()) return {};
  static QHash<QString, QIcon> icons;
  const QMimeType type = QMimeDatabase().mimeTypeForFile(ToQString(fileName), QMimeDatabase::MatchExtension);
  if (!type.isValid() || type.isDefault()) return {};
  auto found = icons.find(type.name());
  if (found == icons.end()) {
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
    found = icons.insert(type.name(), icon);
  }
  if (found->isNull()) return {};
  const int side = thumbnail.width() >= 32 && thumbnail.height() >= 32 ? 32 : 16;
  return found->pixmap(side, side).toImage();
}

// Every showing of a link list in any link window gets its own number, so that a drag taken
// from one is never read against another.
quint64 NextShowing() {
  static quint64 showing = 0;
  return ++showing;
}

// The rows as a drag carries them: the window makes the data. Nothing is dropped into the model
// itself; the window's own drops reorder the links.
class TLinkRowModel : public QStandardItemModel {
 public:
  TLinkRowModel(int rows, int columns, QObject* parent) : QStandardItemModel(rows, columns, parent) {}
  std::function<QMimeData*(const QModelIndexList&)> MakeDragData;

  QStringList mimeTypes() const override { return {TLinkForm::LinkDragFormat()}; }
  QMimeData* mimeData(const QModelIndexList& indexes) const override {
    return MakeDragData ? MakeDragData(indexes) : nullptr;
  }
  bool canDropMimeData(const QMimeData*, Qt::DropAction, int, int, const QModelIndex&) const override { return false; }
  bool dropMimeData(const QMimeData*, Qt::DropAction, int, int, const QModelIndex&) override { return false; }
};

TThumbnailJob JobOf(const TLinkData* link, QSize thumbnail) {
  TThumbnailJob job;
  if (const auto* image = dynamic_cast<const TImageFileLink*>(link)) {
    job.Kind = TThumbnailKind::Picture;
    job.ViewFileName = image->ViewFileName;
    job.PictureFileName = image->FileName;
    job.Angle = image->RotateAngle;
  } else if (const auto* thing = dynamic_cast<const TThingLink*>(link)) {
    job.Kind = dynamic_cast<const TPersonLink*>(link) != nullptr ? TThumbnailKind::Person : TThumbnailKind::Thing;
    job.ViewFileName = thing->ViewFileName();
    job.PictureFileName = thing->PhotoFileName();
    job.Angle = thing->PhotoRotate();
  } else {
    job.Kind = TThumbnailKind::File;
    if (const auto* file = dynamic_cast<const TFileLink*>(link)) job.FileIcon = FileTypeIcon(file->FileName, thumbnail);
    // A track shows its own outline: a blank page says nothing of where the outing went.
    if (const auto* track = dynamic_cast<const TGpsFileLink*>(link)) {
      job.Kind = TThumbnailKind::Track;
      job.PictureFileName = track->FileName;
    }
  }
  return job;
}

}  // namespace

TLinkForm::TLinkForm(TDiaryDocument* document, QWidget* parent)
    : TDockingForm(QStringLiteral("LinkForm"), QStringLiteral("リンク"), parent),
      FDocument(document),
      FPhotoFeeder(new TMapPhotoFeeder(this)) {
  FOwnViewInfo = std::make_unique<TLinkViewInfo>();
  FLinkViewInfo = FOwnViewInfo.get();

  auto* tools = new QToolBar;
  tools->setObjectName(QStringLiteral("LinkToolBar"));
  tools->setIconSize(QSize(16, 16));
  FSettingsButton = new QToolButton;
  FSettingsButton->setObjectName(QStringLiteral("ViewSettingsButton"));
  FSettingsButton->setIcon(ToolIcon(tiSettings));
  FSettingsButton->setToolTip(QStringLiteral("表示設定"));
  FSettingsButton->setAutoRaise(true);
  tools->addWidget(FSettingsButton);
  connect(FSettingsButton, &QToolButton::clicked, this, &TLinkForm::ViewSettingsCommand);

  auto* rowModel = new TLinkRowModel(0, 3 + static_cast<int>(TrackDetailCaptions.size()), this);
  rowModel->MakeDragData = [this](const QModelIndexList& indexes) { return LinkDragData(indexes); };
  FModel = rowModel;
  QStringList captions = {QStringLiteral("名称"), QStringLiteral("リンク"), QStringLiteral("備考")};
  for (const char* caption : TrackDetailCaptions) captions << QString::fromUtf8(caption);
  FModel->setHorizontalHeaderLabels(captions);

  FReportView = new QTreeView;
  FReportView->setObjectName(QStringLiteral("ReportView"));
  FReportView->setModel(FModel);
  FReportView->setRootIsDecorated(false);
  FReportView->setUniformRowHeights(true);
  FReportView->setItemsExpandable(false);
  FReportView->header()->setSectionsClickable(false);
  FReportView->header()->setSortIndicatorShown(false);
  FReportView->setColumnWidth(0, 130);
  FReportView->setColumnWidth(1, 70);
  FReportView->setColumnWidth(2, 300);
  // A docked window is as wide as its panel: the type and the note take what they need and the
  // name takes the rest, rather than a name cut short beside an empty stretch of note.
  FReportView->header()->setStretchLastSection(false);
  FReportView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  FReportView->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  FReportView->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  for (int column = 3; column < FModel->columnCount(); ++column) {
    FReportView->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  connect(FReportView->header(), &QHeaderView::sectionResized, this, [this] {
    if (FWindowInfo == nullptr) return;
    FWindowInfo->LinkListTitle = FReportView->columnWidth(0);
    FWindowInfo->LinkListLink = FReportView->columnWidth(1);
    FWindowInfo->LinkListNote = FReportView->columnWidth(2);
  });

  FIconView = new QListView;
  FIconView->setObjectName(QStringLiteral("IconView"));
  FIconView->setModel(FModel);
  FIconView->setSelectionModel(FReportView->selectionModel());
  FIconView->setViewMode(QListView::IconMode);
  FIconView->setMovement(QListView::Static);
  FIconView->setResizeMode(QListView::Adjust);
  FIconView->setWrapping(true);
  FIconView->setUniformItemSizes(true);
  FIconView->setWordWrap(false);
  FIconView->setTextElideMode(Qt::ElideRight);

  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(FReportView), static_cast<QAbstractItemView*>(FIconView)}) {
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setDragEnabled(true);
    view->setAcceptDrops(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    // The drop itself reorders the links; a move would have the view take the row away too.
    view->setDefaultDropAction(Qt::CopyAction);
    view->setDropIndicatorShown(true);
    view->viewport()->installEventFilter(this);
    connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) { OpenRow(index.row()); });
  }
  connect(FReportView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (!selected.indexes().isEmpty()) OnSelectionChanged();
          });

  FStack = new QStackedWidget;
  FStack->addWidget(FIconView);
  FStack->addWidget(FReportView);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(tools);
  layout->addWidget(FStack, 1);

  connect(this, &TLinkForm::ThumbnailReady, this, &TLinkForm::ReceiveThumbnail, Qt::QueuedConnection);
  FOpener = OpenWithDesktop;
  FReportOpenFailure = [this](const QString& message) { ShowErrorBox(this, message); };
  FDialogRunner = [](QDialog& dialog) { dialog.exec(); };
  ApplyViewInfo();
}

TLinkForm::~TLinkForm() {
  // The worker hands its images to this window: it must be over before the window goes.
  StopThumbnails();
}

QAbstractItemView* TLinkForm::CurrentView() const {
  return FStack->currentWidget() == FReportView ? static_cast<QAbstractItemView*>(FReportView) : FIconView;
}

QSize TLinkForm::ThumbnailSize() const {
  return {std::clamp(FLinkViewInfo->ThumbnailWidth(), 1, kLargestThumbnail),
          std::clamp(FLinkViewInfo->ThumbnailHeight(), 1, kLargestThumbnail)};
}

void TLinkForm::SetPreviewForm(TLinkPreviewForm* preview) { FPreviewForm = preview; }

void TLinkForm::SetWindowInfo(TChildWindowInfo* info) {
  FWindowInfo = info;
  if (FWindowInfo != nullptr && FWindowInfo->LinkListTitle != 0) {
    FReportView->setColumnWidth(0, FWindowInfo->LinkListTitle);
    FReportView->setColumnWidth(1, FWindowInfo->LinkListLink);
    FReportView->setColumnWidth(2, FWindowInfo->LinkListNote);
  }
}

void TLinkForm::SetLinkViewInfo(TLinkViewInfo* info) {
  FLinkViewInfo = info != nullptr ? info : FOwnViewInfo.get();
  ApplyViewInfo();
}

void TLinkForm::ApplyViewInfo() {
  const bool report = FLinkViewInfo->ViewStyle() != vsIcon;
  FStack->setCurrentWidget(report ? static_cast<QWidget*>(FReportView) : FIconView);
  const QSize size = ThumbnailSize();
  FIconView->setIconSize(size);
  FIconView->setGridSize(QSize(size.width() + std::clamp(FLinkViewInfo->WidthBlank(), 0, kLargestThumbnail),
                               size.height() + std::clamp(FLinkViewInfo->HeightBlank(), 0, kLargestThumbnail)));
}

void TLinkForm::SetLinkDataList(TLinkDataList* list) {
  FLinkDataList = list;
  FShowing = NextShowing();
  // Taken from the list, not from the rows: a hidden window has none, and the map and the preview
  // must still show the outing. A row already highlighted would never announce itself again.
  FCurrentLink = list != nullptr && list->Count() > 0 ? (*list)[0] : nullptr;
  SetListView();
  if (FCurrentLink != nullptr) {
    FeedOthers(FCurrentLink);
  } else {
    ClearOthers();
  }
  ShowPhotosOnMap();
}

void TLinkForm::ForgetLinks() { SetLinkDataList(nullptr); }

void TLinkForm::SetListView() {
  StopThumbnails();
  FReportView->selectionModel()->clear();
  FModel->removeRows(0, FModel->rowCount());
  // A hidden window keeps no rows: they would refer to links that may go before it shows again.
  if (!isVisible() || FLinkDataList == nullptr) return;
  const TWaitCursor wait;
  ApplyViewInfo();
  for (int i = 0; i < FLinkDataList->Count(); ++i) {
    TLinkData* link = (*FLinkDataList)[i];
    auto* title = new QStandardItem(ToQString(link->Title()));
    title->setData(QVariant::fromValue(reinterpret_cast<quintptr>(link)), kLinkRole);
    title->setToolTip(ToQString(link->Title()));
    auto* type = new QStandardItem(LinkTypeName(link->LinkType()));
    auto* note = new QStandardItem(ToQString(link->Note()));
    QList<QStandardItem*> row = {title, type, note};
    for (std::size_t column = 0; column < TrackDetailCaptions.size(); ++column) {
      auto* detail = new QStandardItem;
      detail->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      row << detail;
    }
    for (QStandardItem* item : row) item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    FModel->appendRow(row);
  }
  SelectCurrentRowQuietly();
  StartTrackDetails();
  if (FLinkViewInfo->ViewStyle() == vsIcon) StartThumbnails();
}

void TLinkForm::StartTrackDetails() {
  FPendingDetails = 0;
  const quint64 showing = ++FDetailRun;
  QPointer<TLinkForm> self(this);
  for (int row = 0; row < FModel->rowCount(); ++row) {
    const auto* link = dynamic_cast<const TGpsFileLink*>(RowLink(row));
    if (link == nullptr) continue;
    // The job reads its own copy: the link may be edited or go while the track is read.
    auto copy = std::make_shared<TGpsFileLink>();
    copy->Assign(*link);
    ++FPendingDetails;
    QThreadPool::globalInstance()->start([self, showing, link, copy] {
      const auto texts = TrackDetailTexts(*copy);
      QStringList list;
      for (const std::string& text : texts) list << QString::fromStdString(text);
      QMetaObject::invokeMethod(
          qApp,
          [self, showing, link, list] {
            if (self) self->ReceiveTrackDetail(showing, link, list);
          },
          Qt::QueuedConnection);
    });
  }
}

void TLinkForm::ReceiveTrackDetail(quint64 run, const TLinkData* link, const QStringList& texts) {
  // Rows rebuilt since the job started belong to a newer job of their own.
  if (run != FDetailRun) return;
  FPendingDetails = std::max(0, FPendingDetails - 1);
  for (int row = 0; row < FModel->rowCount(); ++row) {
    if (RowLink(row) != link) continue;
    for (int i = 0; i < texts.size(); ++i) FModel->item(row, 3 + i)->setText(texts[i]);
  }
}

void TLinkForm::SelectCurrentRowQuietly() {
  if (FCurrentLink == nullptr) return;
  FIsSelectingQuietly = true;
  SelectLink(FCurrentLink);
  FIsSelectingQuietly = false;
}

void TLinkForm::StopThumbnails() { FWorker.reset(); }

void TLinkForm::StartThumbnails() {
  StopThumbnails();
  ++FRunCount;
  // A new run starts from no images. Each row holds an empty place of the thumbnail's size until
  // its image comes, so that the rows keep their size and places while the images arrive.
  QPixmap empty(ThumbnailSize());
  empty.fill(Qt::transparent);
  for (int row = 0; row < FModel->rowCount(); ++row) {
    QStandardItem* item = FModel->item(row, 0);
    item->setData(empty, Qt::DecorationRole);
    item->setData(QVariant(), ThumbnailRole);
  }
  if (FLinkDataList == nullptr) return;
  const QSize size = ThumbnailSize();
  std::vector<TThumbnailJob> jobs;
  jobs.reserve(static_cast<std::size_t>(FLinkDataList->Count()));
  for (const TLinkData* link : *FLinkDataList) jobs.push_back(JobOf(link, size));
  const int run = FRunCount;
  // On the worker's thread: the image travels to this window's thread by the queued signal; a
  // run that was replaced meanwhile is ignored there.
  FWorker = std::make_unique<TThumbnailWorker>(
      std::move(jobs), size, [this, run](int index, const QImage& image) { emit ThumbnailReady(run, index, image); });
}

void TLinkForm::ReceiveThumbnail(int run, int index, const QImage& image) {
  if (run != FRunCount || FWorker == nullptr) return;
  QStandardItem* item = FModel->item(index, 0);
  if (item == nullptr) return;
  item->setData(image, ThumbnailRole);
  item->setData(QPixmap::fromImage(image), Qt::DecorationRole);
}

bool TLinkForm::IsThumbnailRunning() const { return FWorker != nullptr && FWorker->IsRunning(); }

QImage TLinkForm::ThumbnailImage(int row) const {
  const QStandardItem* item = FModel->item(row, 0);
  return item == nullptr ? QImage() : item->data(ThumbnailRole).value<QImage>();
}

TLinkData* TLinkForm::RowLink(int row) const {
  const QStandardItem* item = FModel->item(row, 0);
  if (item == nullptr) return nullptr;
  return reinterpret_cast<TLinkData*>(item->data(kLinkRole).value<quintptr>());
}

void TLinkForm::SelectLink(const TLinkData* link) {
  QItemSelectionModel* selection = FReportView->selectionModel();
  selection->clear();
  for (int row = 0; row < FModel->rowCount(); ++row) {
    if (RowLink(row) != link) continue;
    const QModelIndex index = FModel->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    CurrentView()->scrollTo(index);
    return;
  }
}

void TLinkForm::OnSelectionChanged() {
  if (FIsSelectingQuietly) return;
  const QModelIndexList rows = FReportView->selectionModel()->selectedRows();
  if (rows.isEmpty()) return;
  const QModelIndex current = FReportView->selectionModel()->currentIndex();
  const int row = current.isValid() && FReportView->selectionModel()->isRowSelected(current.row()) ? current.row()
                                                                                                   : rows.last().row();
  TLinkData* link = RowLink(row);
  if (link != nullptr) FCurrentLink = link;
  FeedOthers(link);
}

void TLinkForm::FeedOthers(TLinkData* link) {
  if (link == nullptr) return;
  const bool file = dynamic_cast<TFileLink*>(link) != nullptr;
  if (!file && dynamic_cast<TThingLink*>(link) == nullptr) return;
  if (FPreviewForm) FPreviewForm->SetLinkData(link);
  if (!file || FPorts == nullptr) return;
  if (FPorts->Map != nullptr) {
    FPorts->Map->SetMapCategory(FCategory);
    FPorts->Map->SetMapLinkData(link);
  }
  if (FPorts->SpeedGraph != nullptr) {
    FPorts->SpeedGraph->SetSpeedCategory(FCategory);
    FPorts->SpeedGraph->SetSpeedLinkData(link);
  }
}

void TLinkForm::ClearOthers() {
  FPhotoFeeder->Cancel();
  if (FPreviewForm) {
    FPreviewForm->SetLinkData(nullptr);
    FPreviewForm->Clear();
  }
  if (FPorts == nullptr) return;
  if (FPorts->Map != nullptr) FPorts->Map->ClearMap();
  if (FPorts->SpeedGraph != nullptr) FPorts->SpeedGraph->ClearSpeedGraph();
}

void TLinkForm::LinkViewChanged() {
  ShowPhotosOnMap();
  if (!isVisible() || FLinkViewInfo->ViewStyle() != vsIcon || FModel->rowCount() == 0) return;
  const TWaitCursor wait;
  StartThumbnails();
}

void TLinkForm::showEvent(QShowEvent* event) {
  TDockingForm::showEvent(event);
  // The settings are read after the window is made: the saved widths apply when it first shows.
  if (!FColumnsRestored) {
    FColumnsRestored = true;
    SetWindowInfo(FWindowInfo);
  }
  SetListView();
}

void TLinkForm::ViewSettingsCommand() {
  TLinkViewInfoDialog dialog(this);
  dialog.SetLinkViewInfo(*FLinkViewInfo);
  if (dialog.exec() != QDialog::Accepted) return;
  FLinkViewInfo->Assign(dialog.LinkViewInfo());
  ApplyViewInfo();
  SetListView();
  if (FDocument != nullptr) emit FDocument->ViewSettingChanged();
}

void TLinkForm::MoveLink(int from, int onto) {
  if (FLinkDataList == nullptr || from < 0 || from >= FLinkDataList->Count() || from == onto) return;
  if (onto >= FLinkDataList->Count()) onto = -1;
  std::vector<TLinkData*> order = FLinkDataList->Data();
  TLinkData* moved = order[static_cast<std::size_t>(from)];
  const TLinkData* target = onto >= 0 ? order[static_cast<std::size_t>(onto)] : nullptr;
  order.erase(order.begin() + from);
  const auto place = target != nullptr ? std::find(order.begin(), order.end(), target) : order.end();
  order.insert(place, moved);
  if (order == FLinkDataList->Data()) return;
  FLinkDataList->Clear();
  for (TLinkData* link : order) FLinkDataList->Add(link);
  FShowing = NextShowing();
  if (FDocument != nullptr) emit FDocument->LinkOrderChanged();
  SetListView();
  SelectLink(moved);
}

void TLinkForm::DropLink(int from, const QPoint& viewportPos) {
  const QModelIndex onto = CurrentView()->indexAt(viewportPos);
  MoveLink(from, onto.isValid() ? onto.row() : -1);
}

QString TLinkForm::LinkDragFormat() { return QStringLiteral("application/x-hakuvo-link-rows"); }

QMimeData* TLinkForm::LinkDragData(const QModelIndexList& indexes) const {
  std::set<int> rows;
  for (const QModelIndex& index : indexes) {
    if (index.isValid() && RowLink(index.row()) != nullptr) rows.insert(index.row());
  }
  if (rows.empty() || FLinkDataList == nullptr) return nullptr;
  QByteArray bytes;
  QDataStream stream(&bytes, QIODevice::WriteOnly);
  stream << static_cast<qint64>(QCoreApplication::applicationPid()) << FShowing << static_cast<qint32>(rows.size());
  for (const int row : rows) stream << static_cast<qint32>(row) << ToQString(RowLink(row)->FindData());
  auto* drag = new QMimeData;
  drag->setData(LinkDragFormat(), bytes);
  return drag;
}

std::vector<TLinkData*> TLinkForm::DraggedLinks(const QMimeData* drag) const {
  if (drag == nullptr || FLinkDataList == nullptr || !drag->hasFormat(LinkDragFormat())) return {};
  QDataStream stream(drag->data(LinkDragFormat()));
  qint64 process = 0;
  quint64 showing = 0;
  qint32 count = 0;
  stream >> process >> showing >> count;
  if (stream.status() != QDataStream::Ok || process != QCoreApplication::applicationPid() || showing != FShowing ||
      count <= 0 || count > FLinkDataList->Count()) {
    return {};
  }
  std::vector<TLinkData*> links;
  for (qint32 i = 0; i < count; ++i) {
    qint32 place = -1;
    QString code;
    stream >> place >> code;
    if (stream.status() != QDataStream::Ok || place < 0 || place >= FLinkDataList->Count()) return {};
    TLinkData* link = (*FLinkDataList)[place];
    if (ToQString(link->FindData()) != code) return {};
    // A link the outing holds twice moves once.
    if (std::find(links.begin(), links.end(), link) == links.end()) links.push_back(link);
  }
  return links;
}

void TLinkForm::TakeOutLinks(const std::vector<TLinkData*>& links) {
  if (FLinkDataList == nullptr || links.empty()) return;
  for (const TLinkData* link : links) {
    while (FLinkDataList->IndexOf(link) >= 0) FLinkDataList->Remove(link);
  }
  if (FLinkDataList->IndexOf(FCurrentLink) < 0) FCurrentLink = nullptr;
  FShowing = NextShowing();
  SetListView();
  if (FPreviewForm) {
    FPreviewForm->SetLinkData(nullptr);
    FPreviewForm->Clear();
  }
  if (FPorts != nullptr && FPorts->Map != nullptr) FPorts->Map->ClearMap();
  // The photographs that stayed go back on the map.
  ShowPhotosOnMap();
}

void TLinkForm::OpenRow(int row) {
  TLinkData* link = RowLink(row);
  if (const auto* file = dynamic_cast<const TFileLink*>(link)) {
    OpenLinkedFile(ToQString(file->FileName), FOpener, FReportOpenFailure);
  } else if (auto* person = dynamic_cast<TPersonLink*>(link)) {
    TPersonDialog dialog(this);
    dialog.SetPersonLink(person);
    dialog.SetIsReadOnly(true);
    FDialogRunner(dialog);
  } else if (auto* thing = dynamic_cast<TThingLink*>(link)) {
    TThingDialog dialog(this);
    dialog.SetThingLink(thing);
    dialog.SetIsReadOnly(true);
    FDialogRunner(dialog);
  }
}

bool TLinkForm::eventFilter(QObject* watched, QEvent* event) {
  const bool ours = watched == FIconView->viewport() || watched == FReportView->viewport();
  if (!ours) return TDockingForm::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (drag->source() != FIconView && drag->source() != FReportView) return false;
      drag->setDropAction(Qt::CopyAction);
      drag->accept();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (drop->source() != FIconView && drop->source() != FReportView) return false;
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      const int from = CurrentView()->currentIndex().row();
      const QPoint at = drop->position().toPoint();
      // After the drag has finished with the rows it started from.
      QMetaObject::invokeMethod(
          this, [this, from, at] { DropLink(from, at); }, Qt::QueuedConnection);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace hakuvo
