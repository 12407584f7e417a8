#include "core/search/act_search.h"

#include <algorithm>

#include "core/common/text_util.h"
#include "core/expr/record_expression_calc.h"

namespace hakuvo {

namespace {

struct TConditionPart {
  std::string Text;
  int Offset;  // in characters of the whole condition, for pointing at an error
};

int CharacterCount(std::string_view utf8) {
  return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::vector<TConditionPart> SplitParts(const std::string& text) {
  std::vector<TConditionPart> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(';', start);
    parts.push_back({text.substr(start, end == std::string::npos ? std::string::npos : end - start),
                     CharacterCount(std::string_view(text).substr(0, start))});
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

const std::string& CellOf(const TActRow& row, std::size_t index) {
  static const std::string empty;
  return index < row.Cells.size() ? row.Cells[index] : empty;
}

int Sign(Extended a, Extended b) { return a < b ? -1 : (b < a ? 1 : 0); }

}  // namespace

bool TActStringSearch::TextMatches(const TActData& act, const std::string& text) const {
  return text.empty() || act.Find(text);
}

bool TActStringSearch::IsMatch(const TActData& act) { return TextMatches(act, FText); }

std::vector<TActColumn> TActStringSearch::ActColumns(const TActData& /*first*/) const {
  return {{"日付", 80, false, ckDate},      {"時刻", 60, false, ckTime},      {"タイトル", 150, false, ckText},
          {"カテゴリ", 110, false, ckText}, {"記録", 80, true, ckShownValue}, {"単位", 50, false, ckShownValue}};
}

TActRow TActStringSearch::ActRow(const std::string& dateText, TActData& act) const {
  const TRecordData& record = *act.RecordData;
  return {&act, {dateText, record.TimeStr(), act.Title, act.CategoryStr(), record.ViewDataStr(), record.ViewTani()}};
}

TActCategorySearch::TActCategorySearch(const std::string& categoryName, std::string condition,
                                       const TCategoryInfoList& infos, bool energyView)
    : TActStringSearch(std::move(condition)),
      FCategoryType(CategoryTypeFromName(categoryName)),
      FUserCategory(FCategoryType == ctUserCategory ? categoryName : std::string()),
      FInfos(infos),
      FEnergyView(energyView),
      FExpressionCalc(std::make_unique<TRecordExpressionCalc>()) {}

TActCategorySearch::~TActCategorySearch() = default;

bool TActCategorySearch::PartHolds(const TActData& act, const std::string& part, int offset) {
  if (part.empty() || part[0] != '=') return TextMatches(act, part);
  FExpressionCalc->SetRecordData(act.RecordData.get());
  try {
    return FExpressionCalc->Calc(std::string_view(part).substr(1)) != 0;
  } catch (const EExpressionError& error) {
    // The window marks the error in the whole condition, after the "=" and earlier parts.
    throw error.Shifted(offset + 1);
  }
}

bool TActCategorySearch::IsMatch(const TActData& act) {
  if (act.Category != FCategoryType) return false;
  if (FCategoryType == ctUserCategory && act.UserCategory != FUserCategory) return false;
  if (FText.empty()) return true;
  if (FText.find(';') == std::string::npos) return PartHolds(act, FText, 0);
  for (const TConditionPart& part : SplitParts(FText)) {
    if (!part.Text.empty() && !PartHolds(act, part.Text, part.Offset)) return false;
  }
  return true;
}

std::vector<std::string> ConditionTitles(const std::string& categoryName) {
  const std::unique_ptr<TActData> act = CreateActData(CategoryTypeFromName(categoryName));
  std::vector<std::string> titles;
  const TRecordData& record = *act->RecordData;
  for (int kind = 0; kind < record.RecordNumber(); ++kind) {
    // Appended rather than prefixed: GCC 12 at -O3 takes "literal + temporary" for an overlapping copy.
    std::string title = "[";
    title += record.ViewTitleAt(kind);
    title += ']';
    titles.push_back(std::move(title));
  }
  return titles;
}

bool TActCategorySearch::ShowsTime(const TActData& act) const {
  const TCategoryInfo* info = FInfos.GetCategoryItems(act.Category);
  return info != nullptr && info->IsTime();
}

std::vector<int> TActCategorySearch::ValueKinds(const TRecordData& record) const {
  std::vector<int> kinds;
  for (int kind = rkData; kind < record.RecordNumber(); ++kind) {
    if (FEnergyView || (kind != rkWeight && kind != rkEnergy)) kinds.push_back(kind);
  }
  return kinds;
}

std::vector<TActColumn> TActCategorySearch::ActColumns(const TActData& first) const {
  std::vector<TActColumn> columns = {{"日付", 80, false, ckDate}};
  if (ShowsTime(first)) {
    if (dynamic_cast<const TTimeAct*>(&first) != nullptr) {
      columns.push_back({"開始時刻", 60, false, ckTime});
      columns.push_back({"終了時刻", 60, false, ckText});
    } else {
      columns.push_back({"時刻", 60, false, ckTime});
    }
  }
  columns.push_back({"タイトル", 150, false, ckText});
  const TRecordData& record = *first.RecordData;
  for (int kind : ValueKinds(record)) {
    columns.push_back({record.ViewTitleAt(kind), 80, true, ckKindValue, kind});
    columns.push_back({"", 50, false, ckKindValue, kind});
  }
  return columns;
}

TActRow TActCategorySearch::ActRow(const std::string& dateText, TActData& act) const {
  const TRecordData& record = *act.RecordData;
  TActRow row{&act, {dateText}};
  if (ShowsTime(act)) {
    row.Cells.push_back(record.TimeStr());
    if (const auto* time = dynamic_cast<const TTimeRecord*>(&record)) row.Cells.push_back(time->EndTimeStr());
  }
  row.Cells.push_back(act.Title);
  for (int kind : ValueKinds(record)) {
    row.Cells.push_back(record.ViewDataStrAt(kind));
    row.Cells.push_back(record.ViewTaniAt(kind));
  }
  return row;
}

void FillActTable(TActTable& table, const TDayDataList& days, TActSearch& search) {
  table.Rows.clear();
  bool firstColumns = true;
  for (const auto& day : days) {
    const std::string dateText = day->DateStr();
    for (const auto& act : day->ActDataList) {
      if (!search.IsMatch(*act)) continue;
      if (firstColumns) {
        table.Columns = search.ActColumns(*act);
        firstColumns = false;
      }
      table.Rows.push_back(search.ActRow(dateText, *act));
    }
  }
}

int CompareActRows(const TActTable& table, const TActRow& a, const TActRow& b, int column) {
  if (column < 0 || static_cast<std::size_t>(column) >= table.Columns.size()) return 0;
  const TActColumn& sorted = table.Columns[static_cast<std::size_t>(column)];
  switch (sorted.Kind) {
    case ckDate:
    case ckTime:
      return CompareTextIgnoreCase(CellOf(a, 0) + " " + CellOf(a, 1), CellOf(b, 0) + " " + CellOf(b, 1));
    case ckText:
      return CompareTextIgnoreCase(CellOf(a, static_cast<std::size_t>(column)),
                                   CellOf(b, static_cast<std::size_t>(column)));
    case ckShownValue:
      return Sign(a.Act->RecordData->ViewData(), b.Act->RecordData->ViewData());
    case ckKindValue:
      return Sign(a.Act->RecordData->ViewDataAt(sorted.RecordKind), b.Act->RecordData->ViewDataAt(sorted.RecordKind));
  }
  return 0;
}

void SortActTable(TActTable& table, int column, int direction) {
  std::stable_sort(table.Rows.begin(), table.Rows.end(), [&](const TActRow& a, const TActRow& b) {
    return CompareActRows(table, a, b, column) * direction < 0;
  });
}

std::string CopyAllText(const TActTable& table) {
  std::string text;
  for (std::size_t i = 0; i < table.Columns.size(); ++i) {
    if (i > 0) text += '\t';
    text += table.Columns[i].Caption;
  }
  text += "\r\n";
  for (const TActRow& row : table.Rows) {
    text += CellOf(row, 0);
    text += '\t';
    for (std::size_t i = 1; i < row.Cells.size(); ++i) {
      if (i > 1) text += '\t';
      text += row.Cells[i];
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace hakuvo
