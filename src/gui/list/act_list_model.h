#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/model/act_list_rows.h"

namespace hakuvo {

class TCategoryInfoList;

// The main window's list of outings as a table model: the row texts are built once per rebuild
// (BuildActListRows) and the view asks only for the rows it paints, so a diary of many years
// loads and scrolls without delay. Rows refer to their actions and own nothing.
class TActListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TActListModel(QObject* parent = nullptr);

  // The category settings the row hints are made with.
  void SetCategoryInfoList(const TCategoryInfoList* infos) { FInfos = infos; }

  // Replaces the columns and the rows.
  void Reset(std::vector<TActListColumn> columns, std::vector<TActListRow> rows);
  void Clear();
  // Writes new texts into one row without moving it.
  void UpdateRow(int row, std::vector<std::string> texts);
  void RemoveRow(int row);

  int RowCount() const { return static_cast<int>(FRows.size()); }
  const std::vector<TActListColumn>& Columns() const { return FColumns; }
  TActData* Act(int row) const;
  // The first row of the action, or -1.
  int RowOfAct(const TActData* act) const;
  // The text of one cell; empty beyond the row's texts.
  QString Text(int row, int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  QString Hint(const TActData& act) const;

  std::vector<TActListColumn> FColumns;
  std::vector<TActListRow> FRows;
  const TCategoryInfoList* FInfos = nullptr;
};

}  // namespace hakuvo
