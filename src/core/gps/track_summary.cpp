#include "core/gps/track_summary.h"

#include <algorithm>
#include <cmath>
#include <span>
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

// The fastest speed over spans of at least `span` seconds, point by point: for each new end, the
// latest start that still leaves the span (two pointers over the cumulative sums).
class TFastestWindow {
 public:
  explicit TFastestWindow(double span) : FSpan(span) {}

  // The end's cumulative seconds and metres; the fastest speed of a span ending there in km/h, 0
  // when none is long enough.
  double Add(double seconds, double metres) {
    FSeconds.push_back(seconds);
    FMetres.push_back(metres);
    const std::size_t end = FSeconds.size() - 1;
    if (end == 0) return 0;
    while (FStart + 1 < end && FSeconds[end] - FSeconds[FStart + 1] >= FSpan) ++FStart;
    const double span = FSeconds[end] - FSeconds[FStart];
    const double speed = span < FSpan || span <= 0 ? 0 : (FMetres[end] - FMetres[FStart]) / span * 3.6;
    // What lies before the start is never looked at again: dropped once it is most of the kept.
    if (FStart >= 4096 && FStart * 2 >= end) {
      const auto drop = static_cast<std::ptrdiff_t>(FStart);
      FSeconds.erase(FSeconds.begin(), FSeconds.begin() + drop);
      FMetres.erase(FMetres.begin(), FMetres.begin() + drop);
      FStart = 0;
    }
    return speed;
  }

 private:
  double FSpan;
  std::vector<double> FSeconds, FMetres;
  std::size_t FStart = 0;
};

}  // namespace

TTrackSummary SummarizeTrack(const TGpsDataList& points, const TTrackSummaryOptions& options) {
  TTrackSummary summary;
  const auto list = points.Points();
  if (list.empty()) return summary;
  summary.HasAltitude = true;
  summary.HighestM = summary.LowestM = list[0].Altitude();
  bool timed = list.size() > 1;
  for (std::size_t i = 1; i < list.size(); ++i)
    if (list[i].RecordTime() <= 0 || list[i].RecordTime() < list[i - 1].RecordTime()) timed = false;
  summary.HasTimes = timed;

  // Cumulative metres and seconds, for the segment rules and the sliding fastest window. Only
  // the points from the window's start on are kept: a long track would otherwise fill two arrays
  // of its length, whose page faults cost more than the sums.
  TFastestWindow window(options.FastestWindowS);
  double metres = 0, seconds = 0;
  double movingMetres = 0;
  if (timed) window.Add(0, 0);
  for (std::size_t i = 1; i < list.size(); ++i) {
    const TGpsData& a = list[i - 1];
    const TGpsData& b = list[i];
    const double d = TGpsFile::PointDistance(a.Latitude(), a.Longitude(), b.Latitude(), b.Longitude());
    metres += d;
    const double alt = b.Altitude();
    summary.HighestM = std::max(summary.HighestM, alt);
    summary.LowestM = std::min(summary.LowestM, alt);
    if (!timed) continue;
    // Whole milliseconds, so that a span of seconds reads as whole seconds.
    const double dt = (TermMilliseconds(b.RecordTime()) - TermMilliseconds(a.RecordTime())) / 1000;
    seconds += dt;
    summary.MaxSpeedKmh = std::max(summary.MaxSpeedKmh, window.Add(seconds, metres));
    if (dt <= 0 || dt > options.MaxGapS) continue;
    if (d / dt * 3.6 >= options.MovingThresholdKmh) {
      summary.MovingS += dt;
      movingMetres += d;
    }
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
