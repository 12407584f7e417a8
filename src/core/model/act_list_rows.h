#pragma once

#include <string>
#include <vector>

#include "core/model/day_data.h"

namespace hakuvo {

// The main window's list of outings, as texts: the window and `hakuvo-cli list` both show it.
struct TActListColumn {
  std::string Caption;
  int DefaultWidth;
  bool RightAligned;
};

// Date, start, end, title, distance and speed; with the energy view also weight and energy.
std::vector<TActListColumn> ActListColumns(bool energyView);

// The texts of one action's row: the day's date, start, end (time records only), title, then the
// record's value texts for the kinds 1 .. RecordNumber-1 (3 and 4 only with the energy view).
// A row may hold more texts than there are columns (a walking record's steps); the list shows
// only as many as it has columns. The record's shown index is back as it was afterwards.
std::vector<std::string> ActListRowTexts(const TDayData& day, const TActData& act, bool energyView);

struct TActListRow {
  TActData* Act;
  std::vector<std::string> Texts;
};

// One row per action, days in list order and actions in their day's order.
std::vector<TActListRow> BuildActListRows(const TDayDataList& days, bool energyView);

}  // namespace hakuvo
