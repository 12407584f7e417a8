#pragma once

#include <QString>
#include <QTreeView>

class QMimeData;

namespace hakuvo {

class TActListModel;

// The report view of the main window's outings: whole rows, several at once, nothing edited in
// place, no sorting by header, tooltips that stay up long enough to read an outing's memo. Its
// rows are never dragged; drags of one chosen format can be dropped onto a row.
class TActListView : public QTreeView {
  Q_OBJECT

 public:
  static constexpr int TooltipMilliseconds = 20000;

  explicit TActListView(QWidget* parent = nullptr);

  TActListModel* ActModel() const;
  // The selected rows, ascending.
  QList<int> SelectedRows() const;
  // The first selected row, or -1.
  int FirstSelectedRow() const;
  // Selects one row alone, makes it current and scrolls it into view.
  void SelectRowAlone(int row);
  // Drags of this format may be dropped onto a row (RowDropped); every other drag, and this one
  // outside the rows, is left to the window around the list. Empty takes none.
  void SetRowDropFormat(const QString& format);
  const QString& RowDropFormat() const { return FRowDropFormat; }
  // A line shown in the middle of the list while it has no rows ("読み込み中…" while the diary
  // is read); empty shows nothing.
  void SetPlaceholderText(const QString& text);
  const QString& PlaceholderText() const { return FPlaceholderText; }

 signals:
  void DeletePressed();
  void EnterPressed();
  void RowDoubleClicked(int row);
  // Emitted while the drop is delivered: the data lives only as long as the drag.
  void RowDropped(int row, const QMimeData* drag);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool IsRowDrop(const QDropEvent* event) const;
  // The row under a point of the viewport, or -1.
  int RowAt(const QPoint& position) const;

  QString FRowDropFormat;
  QString FPlaceholderText;
};

}  // namespace hakuvo
