#include "core/gps/speed_graph_data.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/common/date_time.h"
#include "core/common/number_format.h"
#include "core/gps/gps_file.h"
#include "core/model/pace.h"

namespace hakuvo {

namespace {

// While the series is built, a value's GapBefore means "left out" (a speed above the limit): such
// values stay until the series is in x order, so that the line breaks where they were. Then
// they go, in place, and GapBefore takes its own meaning; no second array of a long track's size.
void KeepDrawnValues(std::vector<TSpeedGraphValue>& values) {
  const auto byX = [](const TSpeedGraphValue& a, const TSpeedGraphValue& b) { return a.X < b.X; };
  // A track's times and distances almost always grow already; only times running back need it.
  if (!std::is_sorted(values.begin(), values.end(), byX)) std::stable_sort(values.begin(), values.end(), byX);
  std::size_t kept = 0;
  bool leftOut = false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i].GapBefore) {
      leftOut = true;
      continue;
    }
    TSpeedGraphValue value = values[i];
    value.GapBefore = leftOut && kept > 0;
    values[kept++] = value;
    leftOut = false;
  }
  values.resize(kept);
}

}  // namespace

void CentredMovingAverage(std::vector<TSpeedGraphValue>& values, int points) {
  if (points <= 1 || values.size() < 2) return;
  // Each run between two gaps is averaged on its own: a gap stands for values left out, and
  // averaging across it would draw the line through them after all.
  const auto before = static_cast<std::ptrdiff_t>((points - 1) / 2);
  const auto after = static_cast<std::ptrdiff_t>(points / 2);
  std::vector<double> sums;
  std::size_t runStart = 0;
  while (runStart < values.size()) {
    std::size_t runEnd = runStart + 1;
    while (runEnd < values.size() && !values[runEnd].GapBefore) ++runEnd;
    const auto count = static_cast<std::ptrdiff_t>(runEnd - runStart);
    sums.assign(static_cast<std::size_t>(count) + 1, 0);
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      sums[static_cast<std::size_t>(i + 1)] =
          sums[static_cast<std::size_t>(i)] + values[runStart + static_cast<std::size_t>(i)].Y;
    }
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      // Near the ends of a run the window shrinks to the values there are.
      const std::ptrdiff_t low = std::max<std::ptrdiff_t>(0, i - before);
      const std::ptrdiff_t high = std::min(count, i + after + 1);
      values[runStart + static_cast<std::size_t>(i)].Y =
          (sums[static_cast<std::size_t>(high)] - sums[static_cast<std::size_t>(low)]) /
          static_cast<double>(high - low);
    }
    runStart = runEnd;
  }
}

TSpeedGraphData::TSpeedGraphData(const TGpsFile& track, const TSpeedGraphInfo& info,
                                 const TTrackSummaryOptions& summary)
    : FBottomAxisKind(info.BottomAxisKind()), FIsPace(info.IsPaceAxis()) {
  const std::span<const TGpsData> points = track.GpsList.Points();
  const bool pace = FIsPace;
  const bool speedShown = info.IsSpeedSeries();
  const bool altitudeShown = info.IsAltitudeSeries();
  const Extended limit = info.LimitSpeed();

  if (speedShown) FSpeedValues.reserve(points.size());
  if (altitudeShown) FAltitudeValues.reserve(points.size());
  FPoints.reserve(points.size());

  Extended distance = 0;  // km from the first point
  double hours = 0;       // from the first point
  for (std::size_t i = 0; i < points.size(); ++i) {
    const int index = static_cast<int>(i);
    const TGpsData& point = points[i];
    const Extended d = track.Distance(index);
    const double t = track.Time(index);
    distance += d;
    hours += t;
    double x = 0;
    switch (FBottomAxisKind) {
      case baTime:
        x = point.RecordTime();
        break;
      case baTermHour:
        x = hours;
        break;
      case baTermMin:
        x = hours * 60;
        break;
      case baDistance:
        x = static_cast<double>(distance);
        break;
    }
    FPoints.push_back({static_cast<double>(point.Latitude()), static_cast<double>(point.Longitude()),
                       static_cast<double>(point.Altitude())});
    // A value with nowhere to go on the axis (a broken time) is drawn in neither line.
    if (!std::isfinite(x)) continue;
    if (speedShown) {
      const Extended speed = t != 0 ? d / t : 0;
      bool drawn = std::isfinite(static_cast<double>(speed)) && (limit == 0 || speed <= limit);
      double y = static_cast<double>(speed);
      if (pace) {
        // A standstill has no pace: the line breaks there instead of shooting off the axis.
        const std::optional<double> seconds = PaceSecondsFromSpeed(speed);
        drawn = drawn && seconds.has_value();
        y = seconds ? *seconds / 60 : 0;
      }
      FSpeedValues.push_back({x, y, index, !drawn});
    }
    if (altitudeShown) FAltitudeValues.push_back({x, static_cast<double>(point.Altitude()), index, false});
  }
  KeepDrawnValues(FSpeedValues);
  KeepDrawnValues(FAltitudeValues);
  CentredMovingAverage(FSpeedValues, info.SpeedMovingAverage());
  CentredMovingAverage(FAltitudeValues, info.AltitudeMovingAverage());

  if (info.IsAverageSpeed()) {
    const double totalHours = (track.EndDateTime() - track.FirstDateTime()) * 24;
    if (totalHours != 0) {
      FTitle = "平均速度： " + FormatFixed(track.TotalDistance() / totalHours, 1) + " km/h";
      FSummary = TrackSummaryLine(SummarizeTrack(track.GpsList, summary));
    }
  }
}

const TSpeedGraphPoint* TSpeedGraphData::SpeedPoint(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= static_cast<int>(FSpeedValues.size())) return nullptr;
  return &FPoints[static_cast<std::size_t>(FSpeedValues[static_cast<std::size_t>(valueIndex)].Point)];
}

const TSpeedGraphPoint* TSpeedGraphData::AltitudePoint(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= static_cast<int>(FAltitudeValues.size())) return nullptr;
  return &FPoints[static_cast<std::size_t>(FAltitudeValues[static_cast<std::size_t>(valueIndex)].Point)];
}

std::string TSpeedGraphData::FormatX(double x) const {
  switch (FBottomAxisKind) {
    case baTime:
      return TimeOf(x) == 0 ? DateToStr(x) : DateTimeToStr(x);
    case baTermHour:
    case baTermMin:
      return FormatFixed(x, 2);
    case baDistance:
      break;
  }
  return FormatGeneral(x);
}

std::string TSpeedGraphData::CopyText(double xMin, double xMax) const {
  std::string text = FIsPace ? "日\tペース(分/km)\t高度(m)\r\n" : "日\t速度(km/h)\t高度(m)\r\n";
  // The values are in x order: the rows in range are one run of them.
  const auto first = std::lower_bound(FSpeedValues.begin(), FSpeedValues.end(), xMin,
                                      [](const TSpeedGraphValue& value, double x) { return value.X < x; });
  for (auto value = first; value != FSpeedValues.end() && value->X <= xMax; ++value) {
    text += FormatX(value->X);
    text += '\t';
    AppendGeneral(text, value->Y);
    text += '\t';
    AppendGeneral(text, FPoints[static_cast<std::size_t>(value->Point)].Altitude);
    text += "\r\n";
  }
  return text;
}

}  // namespace hakuvo
