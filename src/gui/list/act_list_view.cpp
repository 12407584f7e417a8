#include "gui/list/act_list_view.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QToolTip>
#include <algorithm>

#include "gui/list/act_list_model.h"

namespace hakuvo {

void TActListView::SetPlaceholderText(const QString& text) {
  if (FPlaceholderText == text) return;
  FPlaceholderText = text;
  viewport()->update();
}

void TActListView::paintEvent(QPaintEvent* event) {
  QTreeView::paintEvent(event);
  if (FPlaceholderText.isEmpty() || (model() != nullptr && model()->rowCount() > 0)) return;
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::PlaceholderText));
  painter.drawText(viewport()->rect(), Qt::AlignCenter, FPlaceholderText);
}

TActListView::TActListView(QWidget* parent) : QTreeView(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);  // lets the view skip measuring every row of a long diary
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  setDragEnabled(false);
  setTextElideMode(Qt::ElideRight);
  header()->setSectionsMovable(false);
  // The last column reaches the list's right edge instead of leaving white space after it.
  header()->setStretchLastSection(true);
  header()->setSortIndicatorShown(false);
  // The selected outing stays marked while the search box or a child window has the focus.
  QPalette colours = palette();
  for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  setPalette(colours);
}

TActListModel* TActListView::ActModel() const { return qobject_cast<TActListModel*>(model()); }

QList<int> TActListView::SelectedRows() const {
  QList<int> rows;
  if (selectionModel() == nullptr) return rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.append(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int TActListView::FirstSelectedRow() const {
  const QList<int> rows = SelectedRows();
  return rows.isEmpty() ? -1 : rows.first();
}

void TActListView::SelectRowAlone(int row) {
  if (model() == nullptr || row < 0 || row >= model()->rowCount()) return;
  const QModelIndex index = model()->index(row, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(index);
}

void TActListView::SetRowDropFormat(const QString& format) {
  FRowDropFormat = format;
  setAcceptDrops(!format.isEmpty());
  viewport()->setAcceptDrops(!format.isEmpty());
}

bool TActListView::IsRowDrop(const QDropEvent* event) const {
  return !FRowDropFormat.isEmpty() && event->mimeData() != nullptr && event->mimeData()->hasFormat(FRowDropFormat);
}

int TActListView::RowAt(const QPoint& position) const {
  const QModelIndex index = indexAt(position);
  return index.isValid() ? index.row() : -1;
}

void TActListView::dragEnterEvent(QDragEnterEvent* event) {
  // Ignored, the drag goes on to the window (files dropped from outside).
  if (!IsRowDrop(event)) {
    event->ignore();
    return;
  }
  // Taken whatever the point, so that the moves over the list come here and say where a drop lands.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TActListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!IsRowDrop(event)) {
    event->ignore();
    return;
  }
  // The view's own handling scrolls the list near its edges; whether the drop is taken is ours.
  QTreeView::dragMoveEvent(event);
  if (RowAt(event->position().toPoint()) >= 0) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TActListView::dropEvent(QDropEvent* event) {
  if (!IsRowDrop(event)) {
    event->ignore();
    return;
  }
  stopAutoScroll();
  setState(NoState);
  viewport()->update();
  const int row = RowAt(event->position().toPoint());
  if (row < 0) {
    event->ignore();
    return;
  }
  // A copy as far as the drag knows: the source must not take its rows away itself.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  emit RowDropped(row, event->mimeData());
}

void TActListView::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && event->key() == Qt::Key_Delete) {
    emit DeletePressed();
    return;
  }
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    emit EnterPressed();
    return;
  }
  QTreeView::keyPressEvent(event);
}

bool TActListView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.isValid() ? index.data(Qt::ToolTipRole).toString() : QString();
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QRect rowRect = visualRect(index);
      rowRect.setLeft(0);
      rowRect.setRight(viewport()->width());
      QToolTip::showText(help->globalPos(), text, viewport(), rowRect, TooltipMilliseconds);
    }
    return true;
  }
  return QTreeView::viewportEvent(event);
}

void TActListView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  QTreeView::mouseDoubleClickEvent(event);
  if (index.isValid()) emit RowDoubleClicked(index.row());
}

}  // namespace hakuvo
