#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/model/act_list_rows.h"

namespace hakuvo {

class TCategoryInfoList;

// The main window's list of outings as a table model. A rebuild only notes which action each row
// shows; a row's texts (ActListRowTexts) are made the first time the row is asked for, and the
// view asks only for the rows it paints, so the first paint of a diary of many years does not
// grow with it. Rows refer to their actions and own nothing.
class TActListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TActListModel(QObject* parent = nullptr);

  // The category settings the row hints are made with.
  void SetCategoryInfoList(const TCategoryInfoList* infos) { FInfos = infos; }

  // Replaces the columns, and the rows by one per action of the days, in list order.
  void Reset(std::vector<TActListColumn> columns, const TDayDataList& days, bool energyView, bool paceView = false);
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
  // Whether the row's texts have been made (tests look at how much a paint made).
  bool IsRowBuilt(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  struct TRow {
    TActData* Act = nullptr;
    const TDayData* Day = nullptr;  // the day the row was listed under
    bool Built = false;
    std::vector<std::string> Texts;
  };

  QString Hint(const TActData& act) const;
  const std::vector<std::string>& TextsOf(int row) const;

  std::vector<TActListColumn> FColumns;
  // Texts are filled in by the const readers as rows are first shown.
  mutable std::vector<TRow> FRows;
  bool FEnergyView = false;
  bool FPaceView = false;
  const TCategoryInfoList* FInfos = nullptr;
};

}  // namespace hakuvo
