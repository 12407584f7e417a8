#include "core/gps/speed_graph_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/gps/gps_file.h"
#include "core/gps/speed_graph_data.h"

namespace hakuvo {
namespace {

// A jog of `points` fixes, one every 2 seconds, about 3 m apart, the height rolling gently;
// `spikes` put a sprint (a long step) or a height jump at chosen fixes.
struct TSpike {
  int Index;
  double StepMetres;  // 0: the usual step
  double Altitude;    // NaN: the usual height
};

void Jog(TGpsFile& track, int points, const std::vector<TSpike>& spikes) {
  const TDateTime start = EncodeDateTime(2024, 5, 3, 7, 0, 0);
  long double latitude = 35;
  for (int i = 0; i < points; ++i) {
    double step = 3 + std::sin(i / 40.0);
    double altitude = 20 + 5 * std::sin(i / 700.0);
    for (const TSpike& spike : spikes) {
      if (spike.Index != i) continue;
      if (spike.StepMetres != 0) step = spike.StepMetres;
      if (!std::isnan(spike.Altitude)) altitude = spike.Altitude;
    }
    latitude += step / 111'000.0L;
    track.GpsList.Add(start + i * 2.0 / 86400, latitude, 139.5L, altitude);
  }
}

// Per pixel column, the lowest and highest y of the full series and of the drawn line must be the
// same; every drawn point is the value of the track point its id names; every gap of the series
// between two columns is an empty point of the line, and no line has more empty points than the
// series has gaps.
void ExpectLineKeepsColumns(const TSpeedGraphData& data, const std::vector<TSpeedGraphValue>& values,
                            const TThinnedLine& line, double keyMin, double keyMax, int columns,
                            const std::string& what) {
  ASSERT_EQ(line.Xs.size(), line.Ys.size()) << what;
  ASSERT_EQ(line.Xs.size(), line.Ids.size()) << what;
  const auto columnOf = [&](double key) {
    return std::clamp(static_cast<int>(std::floor((key - keyMin) / (keyMax - keyMin) * columns)), 0, columns);
  };
  std::vector<double> fullLow(columns + 1, INFINITY), fullHigh(columns + 1, -INFINITY);
  std::vector<double> drawnLow(columns + 1, INFINITY), drawnHigh(columns + 1, -INFINITY);
  std::size_t gaps = 0, gapsBetweenColumns = 0;
  int previousColumn = -1;
  for (const TSpeedGraphValue& value : values) {
    const int c = columnOf(SpeedGraphKey(data, value.X));
    fullLow[c] = std::min(fullLow[c], value.Y);
    fullHigh[c] = std::max(fullHigh[c], value.Y);
    if (value.GapBefore) ++gaps;
    if (value.GapBefore && c != previousColumn) ++gapsBetweenColumns;
    previousColumn = c;
  }
  std::map<int, const TSpeedGraphValue*> valueOfPoint;
  for (const TSpeedGraphValue& value : values) valueOfPoint[value.Point] = &value;
  std::size_t drawnGaps = 0;
  for (std::size_t i = 0; i < line.Xs.size(); ++i) {
    if (i > 0) {
      EXPECT_GE(line.Xs[i], line.Xs[i - 1]) << what << " at " << i;
    }
    if (line.Ids[i] < 0) {
      EXPECT_TRUE(std::isnan(line.Ys[i])) << what;
      ++drawnGaps;
      continue;
    }
    // An id names the track point; each point gives a series at most one value.
    const auto found = valueOfPoint.find(line.Ids[i]);
    ASSERT_NE(found, valueOfPoint.end()) << what << " point " << line.Ids[i];
    const TSpeedGraphValue* value = found->second;
    EXPECT_EQ(line.Xs[i], SpeedGraphKey(data, value->X)) << what;
    EXPECT_EQ(line.Ys[i], value->Y) << what;
    const int c = columnOf(line.Xs[i]);
    drawnLow[c] = std::min(drawnLow[c], line.Ys[i]);
    drawnHigh[c] = std::max(drawnHigh[c], line.Ys[i]);
  }
  EXPECT_GE(drawnGaps, gapsBetweenColumns) << what;
  EXPECT_LE(drawnGaps, gaps) << what;
  for (int c = 0; c <= columns; ++c) {
    EXPECT_EQ(drawnLow[c], fullLow[c]) << what << " column " << c;
    EXPECT_EQ(drawnHigh[c], fullHigh[c]) << what << " column " << c;
  }
}

TEST(ThinSpeedGraph, EveryPixelColumnKeepsItsPeaksAndTroughs) {
  const double usual = NAN;
  struct TCase {
    std::string What;
    TBottomAxisType Axis;
    double Limit;
    int Columns;
    std::vector<TSpike> Spikes;
  };
  const TCase cases[] = {
      {"a sprint and a height jump, by time", baTime, 0, 600, {{12'345, 40, usual}, {30'000, 0, 400}}},
      {"a dip in height and a stop, by distance", baDistance, 0, 800, {{5'000, 0, -30}, {22'222, 0.01, usual}}},
      {"sprints above the limit break the line",
       baTermMin,
       30,
       500,
       {{100, 60, usual}, {101, 60, usual}, {9'000, 80, 90}}},
      {"sprints break the line of a chart wider than the track's columns",
       baDistance,
       30,
       20'000,
       {{100, 60, usual}, {101, 60, usual}, {9'000, 80, 90}}},
      {"spikes at the first and the last fix", baTermHour, 0, 300, {{1, 50, 300}, {39'999, 45, -10}}},
      {"fewer values than columns", baTime, 0, 4'000, {{1'500, 30, 100}}},
  };
  for (const TCase& c : cases) {
    const int points = c.What == "fewer values than columns" ? 2'000 : 40'000;
    TSpeedGraphInfo info;
    info.SetBottomAxisKind(c.Axis);
    info.SetLimitSpeed(c.Limit);
    TGpsFile track;
    Jog(track, points, c.Spikes);
    const TSpeedGraphData data(track, info);
    const TSpeedGraphLines lines = ThinSpeedGraph(data, c.Columns);
    ASSERT_LT(lines.KeyMin, lines.KeyMax) << c.What;
    ExpectLineKeepsColumns(data, data.SpeedValues(), lines.Speed, lines.KeyMin, lines.KeyMax, c.Columns,
                           c.What + ", speed");
    ExpectLineKeepsColumns(data, data.AltitudeValues(), lines.Altitude, lines.KeyMin, lines.KeyMax, c.Columns,
                           c.What + ", altitude");
    if (points > 4 * c.Columns) {
      // A long track draws like a short one: a handful of points per column.
      EXPECT_LE(lines.Altitude.Xs.size(), static_cast<std::size_t>(4 * (c.Columns + 1))) << c.What;
    }
  }
}

// A smoothed series, and a track whose times run back, are worked out whole before they are
// thinned; the lines keep the same promises.
TEST(ThinSpeedGraph, SmoothedOrRunningBackTheLinesStillKeepTheColumns) {
  for (const bool smoothed : {true, false}) {
    TGpsFile track;
    Jog(track, 20'000, {{4'000, 45, 200}});
    TSpeedGraphInfo info;
    info.SetBottomAxisKind(baTime);
    info.SetLimitSpeed(20);
    if (smoothed) {
      info.SetSpeedMovingAverage(5);
    } else {
      // Point 700 is stamped before point 100.
      TGpsData* point = track.GpsList.Get(700);
      point->SetRecordTime(track.GpsList.Get(100)->RecordTime() - 1.0 / 86400);
    }
    const TSpeedGraphData data(track, info);
    const TSpeedGraphLines lines = ThinSpeedGraph(data, 300);
    const std::string what = smoothed ? "smoothed" : "running back";
    ASSERT_LT(lines.KeyMin, lines.KeyMax) << what;
    ExpectLineKeepsColumns(data, data.SpeedValues(), lines.Speed, lines.KeyMin, lines.KeyMax, 300, what + ", speed");
    ExpectLineKeepsColumns(data, data.AltitudeValues(), lines.Altitude, lines.KeyMin, lines.KeyMax, 300,
                           what + ", altitude");
    EXPECT_LE(lines.Altitude.Xs.size(), static_cast<std::size_t>(4 * 302)) << what;
  }
}

TEST(ThinSpeedGraph, AnEmptySeriesDrawsNothing) {
  const TSpeedGraphLines lines = ThinSpeedGraph(TSpeedGraphData(), 500);
  EXPECT_TRUE(lines.Speed.Xs.empty());
  EXPECT_TRUE(lines.Altitude.Xs.empty());
  EXPECT_GT(lines.KeyMin, lines.KeyMax);
}

}  // namespace
}  // namespace hakuvo
