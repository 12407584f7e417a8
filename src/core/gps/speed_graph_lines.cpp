#include "core/gps/speed_graph_lines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "core/common/date_time.h"
#include "core/gps/gps_file.h"
#include "core/gps/speed_graph_data.h"

namespace hakuvo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One line fed value by value: an empty point goes between two values with a gap between them.
class TLineFeed {
 public:
  TLineFeed(double keyMin, double keyMax, int columns) : FThinner(keyMin, keyMax, columns) {}
  void Add(double key, double y, int point, bool gapBefore) {
    if (gapBefore && FAny) FThinner.Add((FPrevious + key) / 2, kNaN, -1);
    FThinner.Add(key, y, point);
    FPrevious = key;
    FAny = true;
  }
  TThinnedLine Finish() { return FThinner.Finish(); }

 private:
  TColumnThinner FThinner;
  double FPrevious = 0;
  bool FAny = false;
};

TThinnedLine ThinValues(const TSpeedGraphData& data, const std::vector<TSpeedGraphValue>& values, double keyMin,
                        double keyMax, int columns) {
  TLineFeed feed(keyMin, keyMax, columns);
  for (const TSpeedGraphValue& value : values)
    feed.Add(SpeedGraphKey(data, value.X), value.Y, value.Point, value.GapBefore);
  return feed.Finish();
}

// The series worked out whole, then thinned: for smoothed series and for x running back.
TSpeedGraphLines ThinWhole(const TSpeedGraphData& data, int columns) {
  TSpeedGraphLines lines;
  const std::vector<TSpeedGraphValue> speed = data.SpeedValues();
  const std::vector<TSpeedGraphValue> altitude = data.AltitudeValues();
  bool any = false;
  // The values run in ascending x, so the ends of each series bound it.
  for (const auto* values : {&speed, &altitude}) {
    if (values->empty()) continue;
    const double low = SpeedGraphKey(data, values->front().X);
    const double high = SpeedGraphKey(data, values->back().X);
    lines.KeyMin = any ? std::min(lines.KeyMin, low) : low;
    lines.KeyMax = any ? std::max(lines.KeyMax, high) : high;
    any = true;
  }
  if (!any) return lines;
  lines.Speed = ThinValues(data, speed, lines.KeyMin, lines.KeyMax, columns);
  lines.Altitude = ThinValues(data, altitude, lines.KeyMin, lines.KeyMax, columns);
  return lines;
}

// The keys of the first and the last point, known before the walk: the first point is where the
// hours and kilometres start, the last where they end. nullopt when they cannot be told.
std::optional<std::pair<double, double>> KeySpan(const TSpeedGraphData& data, const TGpsFile& track) {
  const double first = track.FirstDateTime(), last = track.EndDateTime();
  double low = 0, high = 0;
  switch (data.BottomAxisKind()) {
    case baTime:
      low = SpeedGraphKey(data, first);
      high = SpeedGraphKey(data, last);
      break;
    case baTermHour:
      high = (last - first) * 24;
      break;
    case baTermMin:
      high = (last - first) * 24 * 60;
      break;
    case baDistance:
      high = static_cast<double>(data.TotalDistance());
      break;
  }
  if (!std::isfinite(low) || !std::isfinite(high) || high < low) return std::nullopt;
  return std::make_pair(low, high);
}

}  // namespace

double SpeedGraphKey(const TSpeedGraphData& data, double x) {
  return data.BottomAxisKind() == baTime ? DateTimeToUnix(x) : x;
}

TSpeedGraphLines ThinSpeedGraph(const TSpeedGraphData& data, int columns) {
  const TGpsFile* track = data.Track();
  if (track == nullptr || data.PointCount() == 0 || data.IsSmoothed()) return ThinWhole(data, columns);
  const std::optional<std::pair<double, double>> span = KeySpan(data, *track);
  if (!span) return ThinWhole(data, columns);
  TSpeedGraphLines lines;
  TLineFeed speed(span->first, span->second, columns), altitude(span->first, span->second, columns);
  const bool speedShown = data.IsSpeedShown(), altitudeShown = data.IsAltitudeShown();
  TSpeedGraphSampler sampler(data);
  TSpeedGraphSample sample;
  bool seen = false, any = false, leftOut = false;
  double previous = 0;
  while (sampler.Next(sample)) {
    const double key = SpeedGraphKey(data, sample.X);
    // Times running back put values out of x order: the whole series is sorted first then.
    if (seen && key < previous) return ThinWhole(data, columns);
    previous = key;
    seen = true;
    bool drawnHere = altitudeShown;
    if (speedShown) {
      if (sample.SpeedDrawn) {
        speed.Add(key, sample.Speed, sample.Point, leftOut);
        leftOut = false;
        drawnHere = true;
      } else {
        leftOut = true;
      }
    }
    if (altitudeShown) altitude.Add(key, sample.Altitude, sample.Point, false);
    any = any || drawnHere;
  }
  if (!any) return lines;
  lines.Speed = speed.Finish();
  lines.Altitude = altitude.Finish();
  lines.KeyMin = span->first;
  lines.KeyMax = span->second;
  return lines;
}

}  // namespace hakuvo
