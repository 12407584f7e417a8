// The link panel of the record dialog: its tool bar, list, context menu and preview, and the
// commands that add, remove, replace and reorder the working action's links.

#include <QAction>
#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

#include "core/model/act_data.h"
#include "gui/common/qt_text.h"
#include "gui/record/record_dialog.h"
#include "gui/record/record_dialog_link_list.h"
#include "gui/record/record_dialog_picture.h"
#include "gui/record/thing_list_select_dialog.h"

namespace hakuvo {

void TRecordDialog::BuildLinkPanel() {
  FLinkPanel = new QWidget;
  FLinkPanel->setObjectName(QStringLiteral("LinkPanel"));
  FLinkPanel->setMinimumWidth(MinimumLinkPanelWidth);
  auto* layout = new QVBoxLayout(FLinkPanel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  FToolBar = new QToolBar(FLinkPanel);
  FToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto* addMenu = new QMenu(FLinkPanel);
  FAddFileAction = addMenu->addAction(QStringLiteral("ファイル追加(&F)"), this, [this] { AddFilesByDialog(); });
  FAddFileAction->setEnabled(false);
  FAddThingAction = addMenu->addAction(QStringLiteral("物追加(&T)"), this, [this] { AddThingsCommand(); });
  FAddPersonAction = addMenu->addAction(QStringLiteral("人追加(&P)"), this, [this] { AddPersonsCommand(); });
  FAddButton = new QToolButton(FToolBar);
  FAddButton->setText(QStringLiteral("追加"));
  FAddButton->setMenu(addMenu);
  FAddButton->setPopupMode(QToolButton::InstantPopup);
  FToolBar->addWidget(FAddButton);
  FToolBar->addAction(QStringLiteral("削除(&D)"), this, [this] { DeleteSelectedLinks(); });
  FToolBar->addAction(QStringLiteral("編集(&E)"), this, [this] { EditSelectedLink(); });

  FLinkList = new TLinkListView;
  FLinkList->setObjectName(QStringLiteral("LinkListView"));
  FLinkList->setMinimumHeight(MinimumPreviewHeight);
  connect(FLinkList, &TLinkListView::RowMoved, this, [this](int from, int to) { MoveLink(from, to); });
  connect(FLinkList, &TLinkListView::FilesDropped, this, [this](const QStringList& files) { AddFiles(files); });
  connect(FLinkList, &TLinkListView::DeleteRequested, this, [this] { DeleteSelectedLinks(); });
  connect(FLinkList, &QTreeWidget::itemDoubleClicked, this, [this] { EditSelectedLink(); });
  connect(FLinkList, &QTreeWidget::itemSelectionChanged, this, [this] {
    TLinkData* link = FLinkList->SelectedLink();
    if (link != nullptr && !FLinkPanel->isHidden()) ShowPreview(link);
  });
  connect(FLinkList, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    PrepareLinkMenu();
    FLinkMenu->popup(FLinkList->viewport()->mapToGlobal(pos));
  });

  // One page whose tab never shows: the preview.
  FPreviewPages = new QStackedWidget;
  FPreviewPages->setMinimumHeight(MinimumPreviewHeight);
  FPreview = new TPicturePane;
  FPreviewPages->addWidget(FPreview);

  FLinkSplitter = new QSplitter(Qt::Vertical);
  FLinkSplitter->addWidget(FLinkList);
  FLinkSplitter->addWidget(FPreviewPages);
  FLinkSplitter->setChildrenCollapsible(false);
  FLinkSplitter->setStretchFactor(0, 1);
  FLinkSplitter->setStretchFactor(1, 0);
  layout->addWidget(FToolBar);
  layout->addWidget(FLinkSplitter, 1);
  BuildCameraClockRow(layout);

  FLinkMenu = new QMenu(this);
  FRotateMenu = FLinkMenu->addMenu(QStringLiteral("回転(&R)"));
  FRotateGroup = new QActionGroup(this);
  FRotateGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  const QString rotateTexts[4] = {QStringLiteral("0度(&0)"), QStringLiteral("90度(&1)"), QStringLiteral("180度(&2)"),
                                  QStringLiteral("270度(&3)")};
  for (int i = 0; i < 4; ++i) {
    FRotateActions[i] = FRotateMenu->addAction(rotateTexts[i], this, [this, i] { RotateSelectedPicture(i * 90); });
    FRotateActions[i]->setCheckable(true);
    FRotateGroup->addAction(FRotateActions[i]);
  }
  FLinkMenu->addSeparator();
  FJpegTimeAction =
      FLinkMenu->addAction(QStringLiteral("JPEGファイルの撮影時刻を取得(&R)"), this, [this] { ReadJpegTimeCommand(); });
  FJpegPositionAction = FLinkMenu->addAction(QStringLiteral("JPEGファイルの緯度経度を取得(&L)"), this,
                                             [this] { ReadJpegPositionCommand(); });
  FJpegSortAction = FLinkMenu->addAction(QStringLiteral("JPEGファイルの撮影日時で並び替え(&S)"), this,
                                         [this] { SortByShootingTime(); });
  FLinkMenu->addSeparator();
  FRouteRangeAction =
      FLinkMenu->addAction(QStringLiteral("地図ルート範囲設定(&M)..."), this, [this] { GpsRouteRangeCommand(); });
  FLinkMenu->addSeparator();
  FGpsDistanceAction =
      FLinkMenu->addAction(QStringLiteral("GPSファイルから距離を取得(&D)"), this, [this] { ReadGpsDistanceCommand(); });
  FGpsTimeAction =
      FLinkMenu->addAction(QStringLiteral("GPSファイルから時刻を取得(&T)"), this, [this] { ReadGpsTimeCommand(); });
  FGpsPositionAction = FLinkMenu->addAction(QStringLiteral("GPSファイルから緯度経度を取得(&L)"), this,
                                            [this] { ReadGpsPositionCommand(); });
  FViewFileSeparator = FLinkMenu->addSeparator();
  FImageViewFileAction =
      FLinkMenu->addAction(QStringLiteral("画像縮小ファイルの作成(&T)"), this, [this] { MakeImageViewFileCommand(); });
  FGpsViewFileAction =
      FLinkMenu->addAction(QStringLiteral("GPS縮小ファイルの作成(&G)"), this, [this] { MakeGpsViewFileCommand(); });
}

void TRecordDialog::PrepareLinkMenu() {
  FRotateMenu->menuAction()->setVisible(false);
  for (QAction* action : {FJpegTimeAction, FJpegPositionAction, FJpegSortAction, FRouteRangeAction, FGpsDistanceAction,
                          FGpsTimeAction, FGpsPositionAction}) {
    action->setVisible(false);
  }
  TLinkData* link = FLinkList->SelectedLink();
  if (auto* image = dynamic_cast<TImageFileLink*>(link)) {
    FRotateMenu->menuAction()->setVisible(true);
    for (QAction* action : FRotateActions) action->setChecked(false);
    const int angle = image->RotateAngle;
    if (angle == 0 || angle == 90 || angle == 180 || angle == 270) FRotateActions[angle / 90]->setChecked(true);
    FJpegTimeAction->setVisible(true);
    FJpegPositionAction->setVisible(true);
    FJpegSortAction->setVisible(true);
  } else if (dynamic_cast<TGpsFileLink*>(link) != nullptr) {
    FGpsDistanceAction->setVisible(true);
    FRouteRangeAction->setVisible(true);
    FGpsTimeAction->setVisible(true);
    FGpsPositionAction->setVisible(true);
  }
  PrepareViewFileActions(link);
}

void TRecordDialog::FillLinkList() {
  FLinkList->clear();
  for (TLinkData* link : WorkingAct().LinkDataList) FLinkList->AddRow(link);
}

void TRecordDialog::ShowPreview(TLinkData* link) {
  if (auto* image = dynamic_cast<TImageFileLink*>(link)) {
    FPreview->LoadFile(image->FileName, image->RotateAngle);
  } else if (auto* thing = dynamic_cast<TThingLink*>(link)) {
    // A thing without a photograph leaves the preview as it was.
    if (!thing->PhotoFileName().empty()) FPreview->LoadFile(thing->PhotoFileName(), thing->PhotoRotate());
  } else {
    FPreview->Clear();
  }
}

void TRecordDialog::AddFilesByDialog() {
  if (FFileOwner == nullptr) return;
  const QStringList files = QFileDialog::getOpenFileNames(this, QStringLiteral("ファイル追加"));
  AddFiles(files);
}

void TRecordDialog::AddFiles(const QStringList& fileNames) {
  if (FFileOwner == nullptr) return;
  QTreeWidgetItem* last = nullptr;
  const TGpsFileLink* firstTrack = nullptr;
  for (const QString& fileName : fileNames) {
    TLinkData* link = FAddFileList.Add(CreateFileLink(ToStdString(fileName)));
    WorkingAct().LinkDataList.Add(link);
    FFileList.Add(link);
    last = FLinkList->AddRow(link);
    if (firstTrack == nullptr) firstTrack = dynamic_cast<const TGpsFileLink*>(link);
  }
  if (firstTrack != nullptr) TrackAdded(*firstTrack);
  if (last != nullptr) {
    FLinkList->clearSelection();
    FLinkList->setCurrentItem(last);
    last->setSelected(true);
  }
  if (TLinkData* selected = FLinkList->SelectedLink()) {
    ShowPreview(selected);
  } else {
    FPreview->Clear();
  }
}

void TRecordDialog::TrackAdded(const TGpsFileLink&) {}

void TRecordDialog::AddChosenThings(const TLinkDataList* list, const QString& caption) {
  if (list == nullptr) return;
  TThingListSelectDialog dialog(this);
  if (!caption.isEmpty()) dialog.setWindowTitle(caption);
  dialog.SetMultiSelect(true);
  dialog.SetThingList(list);
  dialog.SetCategory(WorkingAct().Category);
  if (dialog.exec() != QDialog::Accepted || dialog.SelCount() == 0) return;
  for (int row = 0; row < dialog.RowCount(); ++row) {
    if (!dialog.GetSelected(row)) continue;
    TThingLink* thing = dialog.RowThing(row);
    WorkingAct().LinkDataList.Add(thing);
    FLinkList->AddRow(thing);
  }
}

void TRecordDialog::AddThingsCommand() { AddChosenThings(FThingList, QString()); }

void TRecordDialog::AddPersonsCommand() { AddChosenThings(FPersonList, QStringLiteral("人リスト選択")); }

void TRecordDialog::DeleteSelectedLinks() {
  const QList<int> rows = FLinkList->SelectedRows();
  for (qsizetype i = rows.size() - 1; i >= 0; --i) {
    std::unique_ptr<QTreeWidgetItem> item(FLinkList->takeTopLevelItem(rows[i]));
    TLinkData* link = TLinkListView::ItemLink(item.get());
    WorkingAct().LinkDataList.Remove(link);
    // Things and persons are only unlinked; a file link leaves the diary on OK.
    if (dynamic_cast<TFileLink*>(link) != nullptr) {
      FFileList.Remove(link);
      FDeleteFileList.Add(link);
    }
  }
  FPreview->Clear();
}

QString TRecordDialog::ChooseFileToReplace(const TFileLink& link) {
  const QFileInfo current(ToQString(link.FileName));
  return QFileDialog::getOpenFileName(this, QStringLiteral("ファイル変更"), current.absoluteFilePath());
}

void TRecordDialog::ReplaceFileLink(TFileLink& link, const std::string& fileName) {
  if (FFileOwner == nullptr || fileName.empty() || fileName == link.FileName) return;
  TLinkData* old = &link;
  FFileList.Remove(old);
  FDeleteFileList.Add(old);
  TLinkData* created = FAddFileList.Add(CreateFileLink(fileName));
  FFileList.Add(created);
  TLinkDataList& links = WorkingAct().LinkDataList;
  const int index = links.IndexOf(old);
  if (index >= 0) {
    links.SetItems(index, created);
  } else {
    links.Add(created);
  }
  for (int row = 0; row < FLinkList->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = FLinkList->topLevelItem(row);
    if (TLinkListView::ItemLink(item) == old) FLinkList->SetRow(item, created);
  }
}

TThingLink* TRecordDialog::ChooseThing(const TLinkDataList* list, const QString& caption, TThingLink* preset) {
  if (list == nullptr) return nullptr;
  TThingListSelectDialog dialog(this);
  if (!caption.isEmpty()) dialog.setWindowTitle(caption);
  dialog.SetThingList(list);
  dialog.SetCategory(WorkingAct().Category);
  dialog.SetThingLink(preset);
  if (dialog.exec() != QDialog::Accepted) return nullptr;
  return dialog.ThingLink();
}

void TRecordDialog::EditSelectedLink() {
  QTreeWidgetItem* item = FLinkList->currentItem();
  if (item == nullptr || !item->isSelected()) return;
  TLinkData* link = TLinkListView::ItemLink(item);
  if (auto* file = dynamic_cast<TFileLink*>(link)) {
    if (FFileOwner == nullptr) return;
    const QString chosen = ChooseFileToReplace(*file);
    if (!chosen.isEmpty()) ReplaceFileLink(*file, ToStdString(chosen));
  } else if (auto* thing = dynamic_cast<TThingLink*>(link)) {
    // A person is a kind of thing, so persons are told apart first.
    const bool isPerson = dynamic_cast<TPersonLink*>(link) != nullptr;
    TThingLink* chosen = isPerson ? ChooseThing(FPersonList, QStringLiteral("人リスト選択"), thing)
                                  : ChooseThing(FThingList, QString(), thing);
    if (chosen != nullptr && chosen != link) {
      TLinkDataList& links = WorkingAct().LinkDataList;
      const int index = links.IndexOf(link);
      if (index >= 0) links.SetItems(index, chosen);
      FLinkList->SetRow(item, chosen);
    }
  }
  RefreshSelectedRow();
}

void TRecordDialog::RefreshSelectedRow() {
  QTreeWidgetItem* item = FLinkList->currentItem();
  if (item == nullptr) return;
  TLinkData* link = TLinkListView::ItemLink(item);
  if (link == nullptr) return;
  FLinkList->SetRow(item, link);
  ShowPreview(link);
}

void TRecordDialog::MoveLink(int from, int to) {
  TLinkDataList& links = WorkingAct().LinkDataList;
  const int count = links.Count();
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  // By position, so that a thing linked twice moves the dragged entry, not its first twin.
  TLinkData* link = links.Items(from);
  const int step = from < to ? 1 : -1;
  for (int i = from; i != to; i += step) links.SetItems(i, links.Items(i + step));
  links.SetItems(to, link);
  QTreeWidgetItem* item = FLinkList->takeTopLevelItem(from);
  FLinkList->insertTopLevelItem(to, item);
  FLinkList->clearSelection();
  FLinkList->setCurrentItem(item);
  item->setSelected(true);
}

void TRecordDialog::SortByShootingTime() {
  RunCommand([this] {
    WorkingAct().LinkDataList.JpegDateTimeSort();
    FillLinkList();
  });
}

void TRecordDialog::RotateSelectedPicture(int angle) {
  auto* image = dynamic_cast<TImageFileLink*>(FLinkList->SelectedLink());
  if (image == nullptr) return;
  image->RotateAngle = angle;
  ShowPreview(image);
}

// ---- the link panel's place in the dialog ----

bool TRecordDialog::IsLinkPanelVisible() const { return !FLinkPanel->isHidden(); }

void TRecordDialog::SetLinkPanelVisible(bool visible) {
  if (FLinkButton->isChecked() != visible) {
    const QSignalBlocker blocker(FLinkButton);
    FLinkButton->setChecked(visible);
  }
  if (visible == !FLinkPanel->isHidden()) return;
  if (!visible) {
    // The sizes the user gave the panel come back when it is shown again.
    FLinkPanelWidth = LinkPanelWidth();
    FPreviewHeight = PreviewHeight();
  }
  // On the screen, the form keeps its width: the dialog grows by the panel and shrinks back.
  const bool onScreen = FPrepared && isVisible();
  const int extent = FLinkPanelWidth + FMainSplitter->handleWidth();
  const int recordWidth = FRecordPanel->width();
  FLinkPanel->setVisible(visible);
  if (onScreen) {
    if (visible) {
      GrowWithinScreen(extent);
    } else {
      // The margins around the splitter stay; the form keeps the width it had beside the panel.
      const int margins = width() - FMainSplitter->width();
      resize(std::max(minimumSizeHint().width(), recordWidth + margins), height());
    }
  }
  if (visible && FPrepared) ApplyLinkPanelSizes();
}

void TRecordDialog::GrowWithinScreen(int extra) {
  QRect available(0, 0, 1024, 768);
  if (const QScreen* shown = screen()) available = shown->availableGeometry();
  const int frame = frameGeometry().width() - width();
  const int wanted = std::min(width() + extra, available.width() - frame);
  resize(std::max(width(), wanted), height());
  // Pushed back from the right edge, never past the left one.
  const int overflow = x() + frameGeometry().width() - (available.x() + available.width());
  if (overflow > 0) move(std::max(available.x(), x() - overflow), y());
}

void TRecordDialog::ApplyLinkPanelSizes() {
  int total = FMainSplitter->width();
  const int needed = FRecordPanel->minimumWidth() + FMainSplitter->handleWidth() + FLinkPanelWidth;
  if (total < needed) {
    resize(width() + needed - total, height());
    total = needed;
  }
  total -= FMainSplitter->handleWidth();
  FMainSplitter->setSizes({std::max(1, total - FLinkPanelWidth), FLinkPanelWidth});
  // A panel that was hidden has no height of its own yet; its splitter is sized once the
  // layout has settled.
  QTimer::singleShot(0, this, [this] {
    const int linkTotal = FLinkSplitter->height() - FLinkSplitter->handleWidth();
    FLinkSplitter->setSizes({std::max(MinimumPreviewHeight, linkTotal - FPreviewHeight), FPreviewHeight});
  });
  const int linkTotal = FLinkSplitter->height() - FLinkSplitter->handleWidth();
  FLinkSplitter->setSizes({std::max(MinimumPreviewHeight, linkTotal - FPreviewHeight), FPreviewHeight});
}

int TRecordDialog::LinkPanelWidth() const {
  const bool live = FPrepared && !FLinkPanel->isHidden() && FLinkPanel->width() >= MinimumLinkPanelWidth;
  return live ? FLinkPanel->width() : FLinkPanelWidth;
}

void TRecordDialog::SetLinkPanelWidth(int width) {
  FLinkPanelWidth = width >= MinimumLinkPanelWidth ? width : DefaultLinkPanelWidth;
  if (FPrepared && !FLinkPanel->isHidden()) ApplyLinkPanelSizes();
}

int TRecordDialog::PreviewHeight() const {
  const bool live = FPrepared && !FLinkPanel->isHidden() && FPreviewPages->height() >= MinimumPreviewHeight;
  return live ? FPreviewPages->height() : FPreviewHeight;
}

void TRecordDialog::SetPreviewHeight(int height) {
  FPreviewHeight = height >= MinimumPreviewHeight ? height : DefaultPreviewHeight;
  if (FPrepared && !FLinkPanel->isHidden()) ApplyLinkPanelSizes();
}

}  // namespace hakuvo
