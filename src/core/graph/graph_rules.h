#pragma once

#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/model/category_type.h"
#include "core/model/graph_info.h"

namespace hakuvo {

// The period one entry of a graph stands for.
enum TGraphPeriod : std::uint8_t { gpDay = 0, gpMonth, gpYear };

// The range of a date axis: automatic (taken from the points) or fixed.
struct TDateAxisRange {
  bool IsAuto = true;
  TDateTime Min = 0;
  TDateTime Max = 0;

  // Whether a date is shown: every date on an automatic axis, else Min..Max, both included.
  bool Contains(TDateTime date) const { return IsAuto || (date >= Min && date <= Max); }
};

// The date axis of a graph by its settings: daTerm runs from `today` minus AxisTerm days to
// `today`, daDate from StartDate to EndDate, daAll is automatic. A range given backwards is
// turned round, a negative term counts as 0, and both ends are kept inside the calendar, so
// that no setting can make an axis the chart cannot draw.
TDateAxisRange DateAxisRange(const TGraphInfo& info, TDateTime today);

// The range an automatic axis takes from its points (empty points give an empty range at 0).
TDateAxisRange RangeOfPoints(const std::vector<TDateTime>& dates);

// The date labels of an axis.
enum TDateLabelFormat : std::uint8_t {
  dfYearMonth = 0,  // 2014/3
  dfMonthDay,       // 3/07
  dfYearMonth2,     // 2014/03
  dfYear,           // 2014
};

// Day graphs label a span of more than 365 days by month, a shorter one by day; month and year
// graphs always by month and by year.
TDateLabelFormat DateLabelFormat(TGraphPeriod period, TDateTime min, TDateTime max);
std::string FormatDateLabel(TDateTime date, TDateLabelFormat format);
// Tick dates for an axis from `min` to `max` in the label's own unit (days, months or years),
// at a step that keeps the count at or below `maxTicks`.
std::vector<TDateTime> DateTicks(TDateTime min, TDateTime max, TDateLabelFormat format, int maxTicks);

// Half of one entry along a date axis: half a day, half a month (15.25 days) or half a year
// (182.5 days).
double HalfUnitOfPeriod(TGraphPeriod period);

// The part of a date axis that the chart shows for dates from `min` to `max`: half an entry more
// at both ends where bars stand (so that neither the first nor the last bar is cut at the frame),
// on an automatic year axis (one year is a year wide, not a dozen), and for a single moment of any
// graph (a line of one point still has room around it).
struct TShownSpan {
  double Min = 0;
  double Max = 0;
};
TShownSpan ShownDateSpan(TDateTime min, TDateTime max, TGraphPeriod period, bool hasBars, bool isAuto);

// The distance between value-axis ticks for a span at about `tickCount` ticks: 1, 2, 2.5 or 5 times
// a power of ten, as the chart's own readable ticks step.
double ValueTickStep(double span, int tickCount);
// The range an automatic value axis takes for values from `min` to `max`: up to the next tick
// above the highest value and down to the next below the lowest one (never under 0 for positive
// values; bars, which start at 0, keep 0), so that no bar or point touches the frame.
TShownSpan AutoValueRange(double min, double max, int tickCount = 5);

// The title of a graph's value axis: the title the settings give for that value kind, else the
// value's own name with its unit, as 距離(km) or カロリー(kcal); just the name when it has no unit.
std::string ValueAxisTitle(const std::string& setTitle, const std::string& valueTitle, const std::string& unit);

// ValueAxisTitle for value kind `kind` of a category's records: the title `setTitles` holds for it,
// else the record's name of that value with the category's unit. Empty for a kind the records
// do not have.
std::string CategoryValueAxisTitle(TCategoryType type, const std::vector<std::string>& units,
                                   const std::vector<std::string>& setTitles, int kind);

// How many entries the span of a date axis holds: days, days / 30.5 or days / 365, truncated.
int UnitsInRange(TGraphPeriod period, TDateTime min, TDateTime max);

// The width of one bar in pixels.
struct TBarWidthInput {
  int SetWidth = 0;         // the settings' bar width; 0 for automatic
  int Units = 0;            // UnitsInRange of the date axis
  int AxisLength = 0;       // the chart's length along the date axis in pixels
  double StartPercent = 0;  // the used part of the date axis, in percent of its length
  double EndPercent = 100;
  int FallbackWidth = 10;  // the width before shrinking when the units give none (span 0)
  bool IsHalf = false;     // two bar series side by side share the room
};
// The set width as it is (at least 1 pixel); otherwise the axis length without its margins
// divided by the units, truncated, minus 2, then × 0.55 rounded, kept within 3..100, and halved
// (rounded) for two bar series.
int BarWidth(const TBarWidthInput& input);
// The raw width (before shrinking) the units give, or the fallback when they give none; the
// window keeps it so that a span of 0 keeps the last width instead of shrinking at every draw.
int RawBarWidth(const TBarWidthInput& input);

// The indices of the dates a range shows, in order.
std::vector<int> PointsInRange(const std::vector<TDateTime>& dates, const TDateAxisRange& range);

// The date window of the per-action graph, by the first channel's settings (daAll: none).
TDateAxisRange ActDateWindow(const TGraphInfo& info, TDateTime today);
// The main list row of the `pointIndex`-th plotted point: its index plus the entries that lie
// before the window's start (none for an automatic window). -1 for a point that is not plotted.
int ActRowIndex(const std::vector<TDateTime>& dates, const TDateAxisRange& window, int pointIndex);

// A date-time as the copy texts show it: a whole day as yyyy/mm/dd, else with its time.
std::string CopyDateText(TDateTime value);

// The copy text of a day, month or year graph: a header line, then date and value of every
// entry in the range.
std::string PeriodCopyText(const std::vector<TDateTime>& dates, const std::vector<Extended>& values,
                           const TDateAxisRange& range);

// One series of the two-data graphs as plotted.
struct TCopySeries {
  std::vector<TDateTime> Dates;  // the dates of the points (per action: the action's day)
  std::vector<Extended> Values;
};
// The copy text of the two-data graphs: a header, then for every point of the first series
// within the range its date and value and, when there is a second series, the second series'
// value at the same position. Rows past the second series' last point have no second value.
std::string TwoDataCopyText(const TCopySeries& first, const TCopySeries* second, const TDateAxisRange& range);

}  // namespace hakuvo
