#include "gui/list/act_list_model.h"

#include "core/common/text_util.h"
#include "core/model/category_info_list.h"

namespace hakuvo {

TActListModel::TActListModel(QObject* parent) : QAbstractTableModel(parent) {}

void TActListModel::Reset(std::vector<TActListColumn> columns, const TDayDataList& days, bool energyView,
                          bool paceView) {
  beginResetModel();
  FColumns = std::move(columns);
  FEnergyView = energyView;
  FPaceView = paceView;
  FRows.clear();
  for (const auto& day : days) {
    for (const auto& act : day->ActDataList) FRows.push_back({act.get(), day.get(), false, {}});
  }
  endResetModel();
}

void TActListModel::Clear() {
  beginResetModel();
  FRows.clear();
  endResetModel();
}

void TActListModel::UpdateRow(int row, std::vector<std::string> texts) {
  if (row < 0 || row >= RowCount()) return;
  TRow& target = FRows[static_cast<std::size_t>(row)];
  target.Texts = std::move(texts);
  target.Built = true;
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TActListModel::RemoveRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  beginRemoveRows(QModelIndex(), row, row);
  FRows.erase(FRows.begin() + row);
  endRemoveRows();
}

TActData* TActListModel::Act(int row) const {
  if (row < 0 || row >= RowCount()) return nullptr;
  return FRows[static_cast<std::size_t>(row)].Act;
}

int TActListModel::RowOfAct(const TActData* act) const {
  if (act == nullptr) return -1;
  for (int row = 0; row < RowCount(); ++row) {
    if (FRows[static_cast<std::size_t>(row)].Act == act) return row;
  }
  return -1;
}

const std::vector<std::string>& TActListModel::TextsOf(int row) const {
  TRow& target = FRows[static_cast<std::size_t>(row)];
  if (!target.Built) {
    // An outing moved to another day by an edit is listed under its new day.
    const TDayData* day = target.Act->DayData != nullptr ? target.Act->DayData : target.Day;
    target.Texts = ActListRowTexts(*day, *target.Act, FEnergyView, FPaceView);
    target.Built = true;
  }
  return target.Texts;
}

bool TActListModel::IsRowBuilt(int row) const {
  return row >= 0 && row < RowCount() && FRows[static_cast<std::size_t>(row)].Built;
}

QString TActListModel::Text(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0) return {};
  const auto& texts = TextsOf(row);
  if (static_cast<std::size_t>(column) >= texts.size()) return {};
  return QString::fromStdString(texts[static_cast<std::size_t>(column)]);
}

int TActListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowCount(); }

int TActListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(FColumns.size());
}

QVariant TActListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= RowCount() || index.column() >= columnCount()) return {};
  switch (role) {
    case Qt::DisplayRole: {
      // Cut before the view measures it: a title of a million characters would keep the window
      // busy for seconds on every paint.
      const auto& texts = TextsOf(index.row());
      if (static_cast<std::size_t>(index.column()) >= texts.size()) return QString();
      return QString::fromStdString(DisplayPrefix(texts[static_cast<std::size_t>(index.column())]));
    }
    case Qt::TextAlignmentRole:
      return FColumns[static_cast<std::size_t>(index.column())].RightAligned
                 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole:
      return Hint(*FRows[static_cast<std::size_t>(index.row())].Act);
    default:
      return {};
  }
}

QVariant TActListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  const TActListColumn& column = FColumns[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return QString::fromStdString(column.Caption);
  if (role == Qt::TextAlignmentRole) {
    return column.RightAligned ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                               : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  }
  return {};
}

Qt::ItemFlags TActListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QString TActListModel::Hint(const TActData& act) const {
  if (FInfos == nullptr || act.Category >= FInfos->Count()) return {};
  const TCategoryInfo* info = FInfos->GetCategoryItems(act.Category);
  if (info == nullptr) return {};
  // Hint lines end with CR LF; a tooltip wants plain line feeds and no trailing blank line.
  QString hint = QString::fromStdString(DisplayPrefix(act.GetHint(*info), 4 * kDisplayTextBytes));
  hint.remove(QLatin1Char('\r'));
  while (hint.endsWith(QLatin1Char('\n'))) hint.chop(1);
  return hint;
}

}  // namespace hakuvo
