#include "core/gps/map_speed_line.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "core/common/number_format.h"
#include "core/gps/gps_file.h"

namespace hakuvo {

namespace {

constexpr double kHoursPerSecond = 1.0 / 3600;
// Times are differences of day serials: a stretch of exactly the smoothing time may come out a
// hair shorter, and must not pull in its neighbours for that.
constexpr double kToleranceHours = 0.001 * kHoursPerSecond;

// The way along the track that has a speed, and the time it took, summed from the first point:
// Km[k] and Hours[k] at point k. A segment counts only when both its points carry a time that
// runs forward and it is no faster than the limit speed. Untimed[k] counts the segments up to k
// whose points lack a time altogether.
struct TCumulative {
  std::vector<double> Km;
  std::vector<double> Hours;
  std::vector<int> Untimed;
};

TCumulative Accumulate(const TGpsFile& track, Extended limitSpeed) {
  const int count = track.GpsList.Count();
  TCumulative sums;
  sums.Km.assign(static_cast<std::size_t>(count), 0);
  sums.Hours.assign(static_cast<std::size_t>(count), 0);
  sums.Untimed.assign(static_cast<std::size_t>(count), 0);
  for (int k = 1; k < count; ++k) {
    const auto i = static_cast<std::size_t>(k);
    const bool timed = track.GpsList.Get(k - 1)->RecordTime() != 0 && track.GpsList.Get(k)->RecordTime() != 0;
    const double hours = timed ? track.Time(k) : 0;
    double km = 0;
    if (hours > 0) km = static_cast<double>(track.Distance(k));
    const bool counts = hours > 0 && (limitSpeed <= 0 || km / hours <= limitSpeed);
    sums.Km[i] = sums.Km[i - 1] + (counts ? km : 0);
    sums.Hours[i] = sums.Hours[i - 1] + (counts ? hours : 0);
    sums.Untimed[i] = sums.Untimed[i - 1] + (timed ? 0 : 1);
  }
  return sums;
}

// The line's vertices thinned to stretches of at least the line's length / maxStretches.
std::vector<int> Thin(const TGpsFile& track, const std::vector<int>& vertices, int maxStretches) {
  if (vertices.size() <= 2 || maxStretches <= 0 || vertices.size() <= static_cast<std::size_t>(maxStretches)) {
    return vertices;
  }
  std::vector<double> way(vertices.size(), 0);  // km along the drawn line to each vertex
  for (std::size_t j = 1; j < vertices.size(); ++j) {
    const TGpsData& a = *track.GpsList.Get(vertices[j - 1]);
    const TGpsData& b = *track.GpsList.Get(vertices[j]);
    way[j] = way[j - 1] +
             static_cast<double>(TGpsFile::PointDistance(a.Latitude(), a.Longitude(), b.Latitude(), b.Longitude()));
  }
  const double spacing = way.back() / maxStretches;
  std::vector<int> kept;
  kept.reserve(static_cast<std::size_t>(maxStretches) + 2);
  kept.push_back(vertices.front());
  double last = 0;
  for (std::size_t j = 1; j + 1 < vertices.size(); ++j) {
    if (way[j] - last >= spacing) {
      kept.push_back(vertices[j]);
      last = way[j];
    }
  }
  kept.push_back(vertices.back());
  return kept;
}

// Where the last smoothing window began and ended: stretches come in order along the track, so
// both only move forward, and finding them costs one walk over the points in all.
struct TWindowCursor {
  std::size_t Low = 0;
  std::size_t High = 0;
};

// km/h from point a to point b, widened around its middle to `smoothingHours` when shorter; a
// negative value when there is no speed to tell.
double StretchSpeed(const TCumulative& sums, int a, int b, double smoothingHours, TWindowCursor& cursor) {
  const auto ia = static_cast<std::size_t>(a);
  const auto ib = static_cast<std::size_t>(b);
  // A stretch through points without a time has no speed, however its neighbours went.
  if (sums.Untimed[ib] != sums.Untimed[ia]) return -1;
  const double own = sums.Hours[ib] - sums.Hours[ia];
  std::size_t low = ia;
  std::size_t high = ib;
  if (own + kToleranceHours < smoothingHours) {
    const double middle = (sums.Hours[ia] + sums.Hours[ib]) / 2;
    const double half = smoothingHours / 2 - kToleranceHours;
    const std::size_t last = sums.Hours.size() - 1;
    // The last point at or before the window's start, the first at or after its end.
    while (cursor.Low < last && sums.Hours[cursor.Low + 1] <= middle - half) ++cursor.Low;
    cursor.High = std::max(cursor.High, cursor.Low);
    while (cursor.High < last && sums.Hours[cursor.High] < middle + half) ++cursor.High;
    low = std::min(cursor.Low, ia);
    high = std::max(cursor.High, ib);
  }
  const double hours = sums.Hours[high] - sums.Hours[low];
  if (hours <= 0) return -1;
  return (sums.Km[high] - sums.Km[low]) / hours;
}

// The speeds below which `lowFraction` and `highFraction` of the weight lie; `speeds` holds
// (speed, weight) pairs and is sorted here.
std::pair<double, double> WeightedPercentiles(std::vector<std::pair<double, double>>& speeds, double lowFraction,
                                              double highFraction) {
  std::sort(speeds.begin(), speeds.end());
  double total = 0;
  for (const auto& [speed, weight] : speeds) total += weight;
  const auto at = [&](double fraction) {
    double sum = 0;
    for (const auto& [speed, weight] : speeds) {
      sum += weight;
      if (sum >= fraction * total) return speed;
    }
    return speeds.back().first;
  };
  return {at(lowFraction), at(highFraction)};
}

}  // namespace

int MapSpeedColor(int bin) {
  // Blue, green, yellow, red: the four stops of the scale, evenly spread.
  static constexpr std::array<int, 4> kStops = {0x2050e0, 0x20a040, 0xe0c020, 0xe02020};
  const int top = MapSpeedColorCount - 1;
  bin = std::clamp(bin, 0, top);
  const double position = static_cast<double>(bin) * (kStops.size() - 1) / top;
  const auto stop = std::min(static_cast<std::size_t>(position), kStops.size() - 2);
  const double t = position - static_cast<double>(stop);
  int color = 0;
  for (const int shift : {16, 8, 0}) {
    const int from = (kStops[stop] >> shift) & 0xFF;
    const int to = (kStops[stop + 1] >> shift) & 0xFF;
    color |= static_cast<int>(std::lround(from + (to - from) * t)) << shift;
  }
  return color;
}

std::vector<std::string> TMapSpeedLine::LegendLabels() const {
  return {FormatFixed(LowSpeed, 1), FormatFixed((LowSpeed + HighSpeed) / 2, 1), FormatFixed(HighSpeed, 1)};
}

TMapSpeedLine MapSpeedLine(const TGpsFile& track, const std::vector<int>& lineVertices, Extended limitSpeed,
                           const TMapSpeedLineOptions& options) {
  TMapSpeedLine line;
  if (lineVertices.size() < 2) {
    line.Vertices = lineVertices;
    return line;
  }
  const TCumulative sums = Accumulate(track, limitSpeed);
  std::vector<int> vertices = Thin(track, lineVertices, options.MaxStretches);
  const double smoothingHours = std::max(0.0, options.SmoothingSeconds) * kHoursPerSecond;

  std::vector<double> speeds(vertices.size(), -1);
  std::vector<std::pair<double, double>> moving;
  moving.reserve(vertices.size());
  bool anySpeed = false;
  TWindowCursor cursor;
  for (std::size_t j = 1; j < vertices.size(); ++j) {
    speeds[j] = StretchSpeed(sums, vertices[j - 1], vertices[j], smoothingHours, cursor);
    if (speeds[j] < 0) continue;
    anySpeed = true;
    const double weight =
        sums.Hours[static_cast<std::size_t>(vertices[j])] - sums.Hours[static_cast<std::size_t>(vertices[j - 1])];
    if (speeds[j] >= options.StopSpeed && weight > 0) moving.emplace_back(speeds[j], weight);
  }
  if (!anySpeed) {
    // Nothing to colour by: the plain line through every vertex it would have had.
    line.Vertices = lineVertices;
    return line;
  }
  if (moving.empty()) {
    // A track that never moved is scaled on what there is, stops and all.
    for (std::size_t j = 1; j < vertices.size(); ++j) {
      if (speeds[j] >= 0) moving.emplace_back(speeds[j], 1.0);
    }
  }
  auto [low, high] = WeightedPercentiles(moving, options.LowPercentile, options.HighPercentile);
  if (high - low < 1) {
    // An even pace: a scale of 1 km/h around it, so the line shows in the middle colours.
    const double middle = (low + high) / 2;
    low = std::max(0.0, middle - 0.5);
    high = low + 1;
  }
  line.LowSpeed = low;
  line.HighSpeed = high;
  line.Bins.assign(vertices.size(), -1);
  for (std::size_t j = 1; j < vertices.size(); ++j) {
    if (speeds[j] < 0) continue;
    const double position = (speeds[j] - low) / (high - low) * MapSpeedColorCount;
    line.Bins[j] = std::clamp(static_cast<int>(std::floor(position)), 0, MapSpeedColorCount - 1);
  }
  line.Vertices = std::move(vertices);
  return line;
}

}  // namespace hakuvo
