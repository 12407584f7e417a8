#include "gui/record/record_dialog_link_list.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include "core/model/link_data.h"
#include "gui/common/qt_text.h"

namespace hakuvo {

namespace {

constexpr int kLinkRole = Qt::UserRole + 1;

}  // namespace

QStringList DroppedLocalFiles(const QMimeData* mime) {
  QStringList files;
  if (mime == nullptr || !mime->hasUrls()) return files;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

TLinkListView::TLinkListView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(3);
  setHeaderLabels({QStringLiteral("名称"), QStringLiteral("リンク"), QStringLiteral("備考")});
  header()->resizeSection(0, 100);
  header()->resizeSection(1, 70);
  header()->resizeSection(2, 150);
  header()->setStretchLastSection(false);
  setRootIsDecorated(false);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDropIndicatorShown(true);
  setContextMenuPolicy(Qt::CustomContextMenu);
}

TLinkData* TLinkListView::ItemLink(const QTreeWidgetItem* item) {
  if (item == nullptr) return nullptr;
  return reinterpret_cast<TLinkData*>(item->data(0, kLinkRole).value<quintptr>());
}

TLinkData* TLinkListView::RowLink(int row) const { return ItemLink(topLevelItem(row)); }

TLinkData* TLinkListView::SelectedLink() const {
  QTreeWidgetItem* item = currentItem();
  if (item == nullptr || !item->isSelected()) {
    const QList<int> rows = SelectedRows();
    return rows.isEmpty() ? nullptr : RowLink(rows.first());
  }
  return ItemLink(item);
}

QList<int> TLinkListView::SelectedRows() const {
  QList<int> rows;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    if (topLevelItem(i)->isSelected()) rows << i;
  }
  return rows;
}

QString TLinkListView::LinkTypeName(const TLinkData& link) {
  switch (link.LinkType()) {
    case ltFile:
      return QStringLiteral("ファイル");
    case ltThing:
      return QStringLiteral("物");
    case ltPerson:
      return QStringLiteral("人");
    case ltElse:
      break;
  }
  return QStringLiteral("その他");
}

void TLinkListView::SetRow(QTreeWidgetItem* item, TLinkData* link) {
  item->setText(0, ToQString(link->Title()));
  item->setText(1, LinkTypeName(*link));
  item->setText(2, ToQString(link->Note()));
  item->setData(0, kLinkRole, QVariant::fromValue(reinterpret_cast<quintptr>(link)));
}

QTreeWidgetItem* TLinkListView::AddRow(TLinkData* link) {
  auto* item = new QTreeWidgetItem(this);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
  SetRow(item, link);
  return item;
}

bool TLinkListView::AcceptsDrag(const QDropEvent* event) const {
  if (event->source() == this) return true;
  return event->source() == nullptr && !DroppedLocalFiles(event->mimeData()).isEmpty();
}

void TLinkListView::dragEnterEvent(QDragEnterEvent* event) {
  if (AcceptsDrag(event)) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TLinkListView::dragMoveEvent(QDragMoveEvent* event) {
  if (AcceptsDrag(event)) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TLinkListView::dropEvent(QDropEvent* event) {
  if (!AcceptsDrag(event)) {
    event->ignore();
    return;
  }
  // Reported as a copy, so that the view does not delete the dragged rows by itself: the
  // dialog reorders the action's links and the rows together.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (event->source() != this) {
    emit FilesDropped(DroppedLocalFiles(event->mimeData()));
    return;
  }
  QTreeWidgetItem* dragged = currentItem();
  if (dragged == nullptr || topLevelItemCount() == 0) return;
  const int from = indexOfTopLevelItem(dragged);
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  const int to = target != nullptr ? indexOfTopLevelItem(target) : topLevelItemCount() - 1;
  if (from >= 0 && to >= 0 && from != to) emit RowMoved(from, to);
}

void TLinkListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    emit DeleteRequested();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace hakuvo
