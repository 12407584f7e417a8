#include "gui/list/act_list_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QToolTip>
#include <algorithm>

#include "gui/list/act_list_model.h"

namespace hakuvo {

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
  header()->setStretchLastSection(false);
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
