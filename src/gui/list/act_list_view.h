#pragma once

#include <QTreeView>

namespace hakuvo {

class TActListModel;

// The report view of the main window's outings: whole rows, several at once, nothing edited in
// place, no sorting by header, tooltips that stay up long enough to read an outing's memo.
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

 signals:
  void DeletePressed();
  void EnterPressed();
  void RowDoubleClicked(int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace hakuvo
