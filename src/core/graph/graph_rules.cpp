#include "core/graph/graph_rules.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/common/number_format.h"
#include "core/model/act_data.h"
#include "core/model/record_data.h"

namespace hakuvo {
namespace {

TDateTime ClampToCalendar(TDateTime value) {
  if (std::isnan(value)) return 0;
  return std::clamp(value, FirstDaySerial, LastDaySerial);
}

TDateAxisRange FixedRange(TDateTime a, TDateTime b) {
  a = ClampToCalendar(a);
  b = ClampToCalendar(b);
  if (b < a) std::swap(a, b);
  return {false, a, b};
}

// Months since year 0, for stepping by months.
int MonthNumber(TDateTime date) {
  const TDateParts parts = DecodeDate(date);
  return parts.Year * 12 + (parts.Month - 1);
}

TDateTime MonthStart(int number) { return EncodeDate(number / 12, number % 12 + 1, 1); }

int NiceStep(double rough, std::initializer_list<int> steps) {
  for (int step : steps) {
    if (step >= rough) return step;
  }
  // Beyond the list: multiples of the largest.
  const int largest = *(steps.end() - 1);
  return largest * static_cast<int>(std::ceil(rough / largest));
}

}  // namespace

double HalfUnitOfPeriod(TGraphPeriod period) {
  switch (period) {
    case gpMonth:
      return 30.5 / 2;
    case gpYear:
      return 365.0 / 2;
    case gpDay:
      break;
  }
  return 0.5;
}

TShownSpan ShownDateSpan(TDateTime min, TDateTime max, TGraphPeriod period, bool hasBars, bool isAuto) {
  if (!std::isfinite(min) || !std::isfinite(max)) return {0, 1};
  if (max < min) std::swap(min, max);
  const bool padded = hasBars || (isAuto && period == gpYear) || max - min < 1e-9;
  const double pad = padded ? HalfUnitOfPeriod(period) : 0;
  return {min - pad, max + pad};
}

double ValueTickStep(double span, int tickCount) {
  if (!(span > 0) || !std::isfinite(span)) return 1;
  const double exact = span / std::max(tickCount, 1);
  const double magnitude = std::pow(10.0, std::floor(std::log10(exact)));
  const double mantissa = exact / magnitude;
  // The readable mantissa nearest the exact one.
  double best = 1;
  for (double candidate : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    if (std::abs(candidate - mantissa) < std::abs(best - mantissa)) best = candidate;
  }
  return best * magnitude;
}

TShownSpan AutoValueRange(double min, double max, int tickCount) {
  if (!std::isfinite(min) || !std::isfinite(max)) return {0, 1};
  if (max < min) std::swap(min, max);
  // Nothing but zero: a plain axis of 0 to 1.
  if (std::abs(min) < 1e-12 && std::abs(max) < 1e-12) return {0, 1};
  double span = max - min;
  if (span < 1e-12) span = std::max(std::abs(max), 1.0);
  const double step = ValueTickStep(span, tickCount);
  TShownSpan shown{min, max};
  if (max > 0) shown.Max = (std::floor(max / step + 1e-9) + 1) * step;
  // Below the lowest value likewise, but a line of positive values does not dip under 0.
  if (min < 0) shown.Min = (std::ceil(min / step - 1e-9) - 1) * step;
  if (min > 0) shown.Min = std::max(0.0, (std::ceil(min / step - 1e-9) - 1) * step);
  // A single value of 0 (or one that no step lifts) still gets a range the chart can draw.
  if (shown.Max - shown.Min < 1e-12) {
    shown.Min -= step;
    shown.Max += step;
  }
  return shown;
}

std::string ValueAxisTitle(const std::string& setTitle, const std::string& valueTitle, const std::string& unit) {
  if (!setTitle.empty()) return setTitle;
  if (unit.empty()) return valueTitle;
  return valueTitle + "(" + unit + ")";
}

std::string CategoryValueAxisTitle(TCategoryType type, const std::vector<std::string>& units,
                                   const std::vector<std::string>& setTitles, int kind) {
  const std::unique_ptr<TActData> act = CreateActData(type);
  if (act == nullptr || act->RecordData == nullptr || kind < 0 || kind >= act->RecordData->RecordNumber()) return {};
  act->RecordData->Tani = units;
  const auto at = static_cast<std::size_t>(kind);
  return ValueAxisTitle(at < setTitles.size() ? setTitles[at] : std::string(), act->RecordData->ViewTitleAt(kind),
                        act->RecordData->ViewTaniAt(kind));
}

TDateAxisRange DateAxisRange(const TGraphInfo& info, TDateTime today) {
  switch (info.DayAxisKind()) {
    case daTerm:
      return FixedRange(today - std::max(info.AxisTerm(), 0), today);
    case daDate:
      return FixedRange(info.StartDate(), info.EndDate());
    default:
      return {};
  }
}

TDateAxisRange RangeOfPoints(const std::vector<TDateTime>& dates) {
  if (dates.empty()) return {true, 0, 0};
  const auto [low, high] = std::minmax_element(dates.begin(), dates.end());
  return {true, ClampToCalendar(*low), ClampToCalendar(*high)};
}

TDateLabelFormat DateLabelFormat(TGraphPeriod period, TDateTime min, TDateTime max) {
  switch (period) {
    case gpMonth:
      return dfYearMonth2;
    case gpYear:
      return dfYear;
    default:
      return max - min > 365 ? dfYearMonth : dfMonthDay;
  }
}

std::string FormatDateLabel(TDateTime date, TDateLabelFormat format) {
  switch (format) {
    case dfYearMonth:
      return FormatDateTime("yyyy/m", date);
    case dfMonthDay:
      return FormatDateTime("m/dd", date);
    case dfYearMonth2:
      return FormatDateTime("yyyy/mm", date);
    default:
      return FormatDateTime("yyyy", date);
  }
}

std::vector<TDateTime> DateTicks(TDateTime min, TDateTime max, TDateLabelFormat format, int maxTicks) {
  std::vector<TDateTime> ticks;
  min = ClampToCalendar(min);
  max = ClampToCalendar(max);
  if (max < min || maxTicks < 1) return ticks;
  const double limit = static_cast<double>(maxTicks);
  if (format == dfMonthDay) {
    const double days = std::floor(max) - std::ceil(min) + 1;
    const int step = NiceStep(days / limit, {1, 2, 5, 7, 14, 28});
    for (double day = std::ceil(min); day <= max; day += step) ticks.push_back(day);
    return ticks;
  }
  const bool years = format == dfYear;
  const int first = MonthNumber(min) + (MonthStart(MonthNumber(min)) < min ? 1 : 0);
  const int last = MonthNumber(max);
  const double months = last - first + 1;
  const int step = years ? 12 * NiceStep(months / 12.0 / limit, {1, 2, 5, 10, 20, 50, 100})
                         : NiceStep(months / limit, {1, 2, 3, 6, 12, 24, 60, 120});
  // Year labels and steps of whole years start at a January.
  int start = first;
  if (years || step % 12 == 0) start = (first + 11) / 12 * 12;
  for (int month = start; month <= last; month += step) ticks.push_back(MonthStart(month));
  return ticks;
}

int UnitsInRange(TGraphPeriod period, TDateTime min, TDateTime max) {
  const double days = max - min;
  if (!(days > 0)) return 0;
  switch (period) {
    case gpMonth:
      return static_cast<int>(days / 30.5);
    case gpYear:
      return static_cast<int>(days / 365.0);
    default:
      return static_cast<int>(days);
  }
}

int RawBarWidth(const TBarWidthInput& input) {
  if (input.Units <= 0) return input.FallbackWidth;
  const double length = input.AxisLength;
  const double margins = input.StartPercent + 100.0 - input.EndPercent;
  return static_cast<int>((length - length * margins / 100.0) / input.Units) - 2;
}

int BarWidth(const TBarWidthInput& input) {
  if (input.SetWidth != 0) return std::max(input.SetWidth, 1);
  int width = static_cast<int>(std::lround(RawBarWidth(input) * 0.55));
  width = std::clamp(width, 3, 100);
  if (input.IsHalf) width = static_cast<int>(std::lround(width / 2.0));
  return width;
}

std::vector<int> PointsInRange(const std::vector<TDateTime>& dates, const TDateAxisRange& range) {
  std::vector<int> kept;
  kept.reserve(dates.size());
  for (std::size_t i = 0; i < dates.size(); ++i) {
    if (range.Contains(dates[i])) kept.push_back(static_cast<int>(i));
  }
  return kept;
}

TDateAxisRange ActDateWindow(const TGraphInfo& info, TDateTime today) { return DateAxisRange(info, today); }

int ActRowIndex(const std::vector<TDateTime>& dates, const TDateAxisRange& window, int pointIndex) {
  const std::vector<int> kept = PointsInRange(dates, window);
  if (pointIndex < 0 || pointIndex >= static_cast<int>(kept.size())) return -1;
  if (window.IsAuto) return pointIndex;
  const auto before = std::count_if(dates.begin(), dates.end(), [&](TDateTime d) { return d < window.Min; });
  return pointIndex + static_cast<int>(before);
}

std::string CopyDateText(TDateTime value) {
  return value == std::floor(value) ? DateToStr(value) : DateTimeToStr(value);
}

std::string PeriodCopyText(const std::vector<TDateTime>& dates, const std::vector<Extended>& values,
                           const TDateAxisRange& range) {
  std::string text = "日\t記録\r\n";
  const std::size_t count = std::min(dates.size(), values.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (!range.Contains(dates[i])) continue;
    text += CopyDateText(dates[i]) + "\t" + FormatGeneral(values[i]) + "\r\n";
  }
  return text;
}

std::string TwoDataCopyText(const TCopySeries& first, const TCopySeries* second, const TDateAxisRange& range) {
  std::string text = "日\t記録1\t記録2\r\n";
  const std::size_t count = std::min(first.Dates.size(), first.Values.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (!range.Contains(first.Dates[i])) continue;
    text += CopyDateText(first.Dates[i]) + "\t" + FormatGeneral(first.Values[i]);
    if (second != nullptr) {
      text += "\t";
      if (i < second->Values.size()) text += FormatGeneral(second->Values[i]);
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace hakuvo
