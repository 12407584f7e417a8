#include "core/gps/track_summary.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <span>
#include <utility>
#include <vector>

#include "core/common/number_format.h"
#include "core/gps/gps_file.h"

namespace hakuvo {

namespace {

double Median(std::vector<double>& values) {
  const std::size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
  const double upper = values[middle];
  if (values.size() % 2 != 0) return upper;
  return (*std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle)) + upper) / 2;
}

void AddClimb(std::span<const TGpsData> list, double threshold, TTrackSummary& summary) {
  std::vector<double> level;
  bool hasPrevious = false;
  double previous = 0;
  double low = 0, high = 0;
  const auto closeLevel = [&] {
    const double value = Median(level);
    if (hasPrevious) (value > previous ? summary.AscentM : summary.DescentM) += std::abs(value - previous);
    previous = value;
    hasPrevious = true;
    level.clear();
  };
  for (const TGpsData& point : list) {
    const double alt = point.Altitude();
    if (!level.empty()) {
      // Whole millimetres: altitudes stored as decimals would otherwise fall either side of a
      // band they meet exactly, depending on rounding.
      const double width = std::round((std::max(high, alt) - std::min(low, alt)) * 1000) / 1000;
      if (width > 2 * threshold) closeLevel();
    }
    if (level.empty()) low = high = alt;
    low = std::min(low, alt);
    high = std::max(high, alt);
    level.push_back(alt);
  }
  if (!level.empty()) closeLevel();
}

}  // namespace

TTrackSummary SummarizeTrack(const TGpsDataList& points, const TTrackSummaryOptions& options) {
  return SummarizeTrack(points, options, {});
}

TTrackSummary SummarizeTrack(const TGpsDataList& points, const TTrackSummaryOptions& options,
                             std::span<const double> segmentMetres) {
  TTrackSummary summary;
  const auto list = points.Points();
  if (list.empty()) return summary;
  summary.HasAltitude = true;
  summary.HighestM = summary.LowestM = list[0].Altitude();
  bool timed = list.size() > 1;
  for (std::size_t i = 1; i < list.size(); ++i)
    if (list[i].RecordTime() <= 0 || list[i].RecordTime() < list[i - 1].RecordTime()) timed = false;
  summary.HasTimes = timed;

  // Cumulative metres and seconds, for the segment rules and the sliding fastest window; the
  // window keeps only the points from its start on, not a track-sized array.
  double metres = 0, seconds = 0;
  std::deque<std::pair<double, double>> window;  // cumulative metres and seconds, start to end
  window.emplace_back(0, 0);
  double movingMetres = 0;
  constexpr std::size_t kBlock = 256;
  Extended segments[kBlock];
  const bool measured = segmentMetres.size() + 1 == list.size();
  for (std::size_t i = 1; i < list.size(); ++i) {
    if (!measured && (i - 1) % kBlock == 0) {
      TGpsFile::SegmentMetres(list, i, std::span<Extended>(segments, std::min(kBlock, list.size() - i)));
    }
    const TGpsData& a = list[i - 1];
    const TGpsData& b = list[i];
    const double d = measured ? segmentMetres[i - 1] : static_cast<double>(segments[(i - 1) % kBlock]);
    metres += d;
    const double alt = b.Altitude();
    summary.HighestM = std::max(summary.HighestM, alt);
    summary.LowestM = std::min(summary.LowestM, alt);
    if (!timed) continue;
    // Whole milliseconds, so that a span of seconds reads as whole seconds.
    const double dt = (TermMilliseconds(b.RecordTime()) - TermMilliseconds(a.RecordTime())) / 1000;
    seconds += dt;
    if (dt > 0 && dt <= options.MaxGapS && d / dt * 3.6 >= options.MovingThresholdKmh) {
      summary.MovingS += dt;
      movingMetres += d;
    }
    // The latest start that still leaves the window's span.
    window.emplace_back(metres, seconds);
    while (window.size() > 2 && seconds - window[1].second >= options.FastestWindowS) window.pop_front();
    const double span = seconds - window.front().second;
    if (span < options.FastestWindowS || span <= 0) continue;
    summary.MaxSpeedKmh = std::max(summary.MaxSpeedKmh, (metres - window.front().first) / span * 3.6);
  }
  summary.DistanceKm = metres / 1000;
  AddClimb(list, options.ClimbThresholdM, summary);
  if (!timed) return summary;
  if (summary.MovingS > 0) summary.MovingSpeedKmh = movingMetres / summary.MovingS * 3.6;
  return summary;
}

TTrackSummaryOptions TrackSummaryOptionsFor(TCategoryType category) {
  TTrackSummaryOptions options;
  if (category == ctBicycle) options.MovingThresholdKmh = 3;
  return options;
}

std::string TrackSummaryLine(const TTrackSummary& summary) {
  std::string line = "上昇 " + FormatFixed(summary.AscentM, 0) + " m　下降 " + FormatFixed(summary.DescentM, 0) + " m";
  if (!summary.HasTimes) return line;
  const long long seconds = std::llround(summary.MovingS);
  line += "　移動時間 " + std::to_string(seconds / 3600) + ":";
  AppendPadded(line, seconds / 60 % 60, 2);
  line += ':';
  AppendPadded(line, seconds % 60, 2);
  line += "　最高 " + FormatFixed(summary.MaxSpeedKmh, 1) + " km/h";
  return line;
}

}  // namespace hakuvo
