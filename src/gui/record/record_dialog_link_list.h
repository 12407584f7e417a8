#pragma once

#include <QStringList>
#include <QTreeWidget>

namespace hakuvo {

class TLinkData;

// The record dialog's list of links: rows reordered by dragging within the list, files dropped
// from the desktop handed on, the Delete key turned into a request. Each row carries its link.
class TLinkListView : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TLinkListView(QWidget* parent = nullptr);

  static TLinkData* ItemLink(const QTreeWidgetItem* item);
  TLinkData* RowLink(int row) const;
  // The link of the current row when it is selected, else nullptr.
  TLinkData* SelectedLink() const;
  // Rows in list order whose item is selected.
  QList<int> SelectedRows() const;
  void SetRow(QTreeWidgetItem* item, TLinkData* link);
  QTreeWidgetItem* AddRow(TLinkData* link);

  // The captions of the link kinds in the second column.
  static QString LinkTypeName(const TLinkData& link);

 signals:
  void RowMoved(int from, int to);
  void FilesDropped(const QStringList& fileNames);
  void DeleteRequested();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool AcceptsDrag(const QDropEvent* event) const;
};

// The local files among the URLs of a drop, in their order.
QStringList DroppedLocalFiles(const class QMimeData* mime);

}  // namespace hakuvo
