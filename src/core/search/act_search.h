#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/model/category_info_list.h"
#include "core/model/day_data.h"

namespace hakuvo {

class TRecordExpressionCalc;

// What a column of a result list shows, which also decides how it sorts.
enum TActColumnKind : std::uint8_t {
  ckDate,        // the date text (sorts with the next column's time)
  ckTime,        // the start time
  ckText,        // the end time, the title, the category: sorted as text
  ckShownValue,  // the value of the record's own display kind (and its unit)
  ckKindValue,   // the value of a fixed record kind (and its unit)
};

struct TActColumn {
  std::string Caption;
  int Width = 80;
  bool RightAligned = false;
  TActColumnKind Kind = ckText;
  int RecordKind = -1;  // for ckKindValue
};

struct TActRow {
  TActData* Act = nullptr;
  std::vector<std::string> Cells;  // the first cell is the date text
};

struct TActTable {
  std::vector<TActColumn> Columns;
  std::vector<TActRow> Rows;
};

// The condition and the presentation of one result list.
class TActSearch {
 public:
  virtual ~TActSearch() = default;
  virtual bool IsMatch(const TActData& act) = 0;
  virtual std::vector<TActColumn> ActColumns(const TActData& first) const = 0;
  virtual TActRow ActRow(const std::string& dateText, TActData& act) const = 0;
};

// Text search over every action: an empty text matches everything, otherwise the action's Find.
class TActStringSearch : public TActSearch {
 public:
  explicit TActStringSearch(std::string text) : FText(std::move(text)) {}
  bool IsMatch(const TActData& act) override;
  std::vector<TActColumn> ActColumns(const TActData& first) const override;
  TActRow ActRow(const std::string& dateText, TActData& act) const override;

 protected:
  bool TextMatches(const TActData& act, const std::string& text) const;
  std::string FText;
};

// Extraction of one category's actions by a condition of search words and "=" formulas,
// separated by ";" (every non-empty part must hold). A formula's error is raised with its place
// in the whole condition.
class TActCategorySearch : public TActStringSearch {
 public:
  // `categoryName` is the selector's text: a built-in display name, or a user category's name.
  TActCategorySearch(const std::string& categoryName, std::string condition, const TCategoryInfoList& infos,
                     bool energyView);
  ~TActCategorySearch() override;

  bool IsMatch(const TActData& act) override;
  std::vector<TActColumn> ActColumns(const TActData& first) const override;
  TActRow ActRow(const std::string& dateText, TActData& act) const override;

  TCategoryType CategoryType() const { return FCategoryType; }

 private:
  bool PartHolds(const TActData& act, const std::string& part, int offset);
  bool ShowsTime(const TActData& act) const;
  std::vector<int> ValueKinds(const TRecordData& record) const;

  TCategoryType FCategoryType;
  std::string FUserCategory;
  const TCategoryInfoList& FInfos;
  bool FEnergyView;
  std::unique_ptr<TRecordExpressionCalc> FExpressionCalc;
};

// The references a condition of a category can use, in the record's order: "[回数]", "[距離]", ...
std::vector<std::string> ConditionTitles(const std::string& categoryName);

// Refills the rows from the diary. The columns are built from the first matching action; when
// nothing matches the table keeps its previous columns. An error of a formula leaves the rows
// added before the failing action and goes to the caller.
void FillActTable(TActTable& table, const TDayDataList& days, TActSearch& search);

// Compares two rows by a column: date and time together, texts without regard to letter case,
// values as numbers (a unit column sorts like the value column before it).
int CompareActRows(const TActTable& table, const TActRow& a, const TActRow& b, int column);
// Sorts stably by a column; direction +1 ascending, -1 descending.
void SortActTable(TActTable& table, int column, int direction);

// Column captions, then every row, cells joined by tabs and lines ended by CR LF.
std::string CopyAllText(const TActTable& table);

}  // namespace hakuvo
