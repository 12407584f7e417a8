#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/day_data.h"

namespace hakuvo {

// The main window's list of outings, as texts: the window and `hakuvo-cli list` both show it.
// What a column shows, so that its stored width follows it whichever columns are switched on.
enum TActListColumnKey : std::uint8_t {
  alDate,
  alTime,
  alEndTime,
  alTitle,
  alData,
  alSpeed,
  alPace,
  alWeight,
  alEnergy
};

struct TActListColumn {
  std::string Caption;
  int DefaultWidth;
  bool RightAligned;
  TActListColumnKey Key = alDate;
};

// Date, start, end, title, distance and speed; with the pace view the pace beside the speed; with
// the energy view weight and energy after them.
std::vector<TActListColumn> ActListColumns(bool energyView, bool paceView = false);

// The texts of one row side by side in one buffer that is kept from row to row: once it has
// grown to the longest row, writing a row allocates nothing.
class TActListRowTexts {
 public:
  std::size_t Count() const { return FEnds.size(); }
  std::string_view operator[](std::size_t index) const;

 private:
  friend void WriteActListRowTexts(const TDayData& day, const TActData& act, bool energyView, TActListRowTexts& texts,
                                   bool paceView);
  void Clear();
  void EndText() { FEnds.push_back(FBuffer.size()); }

  std::string FBuffer;
  std::vector<std::size_t> FEnds;
};

// The texts of one action's row: the day's date, start, end (time records only), title, then the
// record's value texts for the kinds 1 .. RecordNumber-1 (3 and 4 only with the energy view, the
// pace after the speed with the pace view). A row may hold more texts than there are columns (a
// walking record's steps); the list shows only as many as it has columns. The record is only read.
void WriteActListRowTexts(const TDayData& day, const TActData& act, bool energyView, TActListRowTexts& texts,
                          bool paceView = false);
std::vector<std::string> ActListRowTexts(const TDayData& day, const TActData& act, bool energyView,
                                         bool paceView = false);

struct TActListRow {
  TActData* Act;
  std::vector<std::string> Texts;
};

// One row per action, days in list order and actions in their day's order.
std::vector<TActListRow> BuildActListRows(const TDayDataList& days, bool energyView, bool paceView = false);

}  // namespace hakuvo
