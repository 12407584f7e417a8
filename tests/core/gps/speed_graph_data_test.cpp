#include "core/gps/speed_graph_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/number_format.h"
#include "core/gps/gps_file.h"

namespace hakuvo {
namespace {

constexpr double kMinute = 1.0 / 1440;
const TDateTime kStart = EncodeDateTime(2024, 5, 3, 7, 0, 0);

// A fix: minutes after kStart (a negative value leaves the time unknown), latitude steps of
// 0.01 degree north of 35 N on one meridian, and an altitude.
struct TFix {
  double Minutes;
  double LatitudeSteps;
  double Altitude;
};

void Fill(TGpsFile& track, const std::vector<TFix>& fixes) {
  for (const TFix& fix : fixes) {
    const TDateTime time = fix.Minutes < 0 ? 0 : kStart + fix.Minutes * kMinute;
    track.GpsList.Add(time, 35 + fix.LatitudeSteps * 0.01L, 139.5L, fix.Altitude);
  }
}

double Km(double steps1, double steps2) {
  return static_cast<double>(TGpsFile::PointDistance(35 + steps1 * 0.01L, 139.5L, 35 + steps2 * 0.01L, 139.5L)) / 1000;
}

TSpeedGraphInfo Settings(TBottomAxisType axis, double limit = 0) {
  TSpeedGraphInfo info;
  info.SetBottomAxisKind(axis);
  info.SetLimitSpeed(limit);
  return info;
}

std::vector<int> PointsOf(const std::vector<TSpeedGraphValue>& values) {
  std::vector<int> points;
  for (const TSpeedGraphValue& value : values) points.push_back(value.Point);
  return points;
}

// 0.01 degree of latitude is about 1.11 km: in 6 minutes about 11 km/h, in 2 minutes about 33.
const std::vector<TFix> kRun = {{0, 0, 10}, {6, 1, 12}, {12, 2, 15}, {14, 3, 20}, {20, 4, 18}};

TEST(SpeedGraphDataTest, SpeedPerSegmentAndXByBottomAxisKind) {
  TGpsFile track;
  Fill(track, kRun);
  const double d1 = Km(0, 1), d2 = Km(1, 2), d3 = Km(2, 3), d4 = Km(3, 4);
  const std::vector<double> speeds = {0, d1 / 0.1, d2 / 0.1, d3 / (2.0 / 60), d4 / 0.1};
  struct TCase {
    TBottomAxisType Axis;
    std::vector<double> X;
  };
  const TCase cases[] = {
      {baDistance, {0, d1, d1 + d2, d1 + d2 + d3, d1 + d2 + d3 + d4}},
      {baTime, {kStart, kStart + 6 * kMinute, kStart + 12 * kMinute, kStart + 14 * kMinute, kStart + 20 * kMinute}},
      {baTermHour, {0, 0.1, 0.2, 14.0 / 60, 20.0 / 60}},
      {baTermMin, {0, 6, 12, 14, 20}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Axis));
    const TSpeedGraphData data(track, Settings(c.Axis));
    ASSERT_EQ(data.SpeedValues().size(), 5u);
    ASSERT_EQ(data.AltitudeValues().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
      // Times are day serials: a few minutes between them carry about nine significant digits.
      EXPECT_NEAR(data.SpeedValues()[i].X, c.X[i], 1e-6);
      EXPECT_NEAR(data.SpeedValues()[i].Y, speeds[i], 1e-6);
      EXPECT_EQ(data.SpeedValues()[i].X, data.AltitudeValues()[i].X);
      EXPECT_EQ(data.AltitudeValues()[i].Y, kRun[i].Altitude);
      EXPECT_FALSE(data.SpeedValues()[i].GapBefore);
    }
  }
  // The first point has no segment before it.
  EXPECT_EQ(TSpeedGraphData(track, Settings(baDistance)).SpeedValues()[0].Y, 0);
}

TEST(SpeedGraphDataTest, PointsWithoutTimesHaveNoSpeedAndSitAtZeroOnTheTimeAxis) {
  TGpsFile track;
  Fill(track, {{-1, 0, 5}, {-1, 1, 6}, {-1, 2, 7}});
  const TSpeedGraphData data(track, Settings(baTime, 20));
  ASSERT_EQ(data.SpeedValues().size(), 3u);
  for (const TSpeedGraphValue& value : data.SpeedValues()) {
    EXPECT_EQ(value.X, 0);
    EXPECT_EQ(value.Y, 0);
  }
  // Equal x keeps the track's order, so each value still names its own point.
  EXPECT_EQ(PointsOf(data.SpeedValues()), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(data.AltitudePoint(2)->Altitude, 7);
  EXPECT_EQ(data.Title(), "");
}

TEST(SpeedGraphDataTest, ASegmentAboveTheLimitBreaksTheSpeedLineOnly) {
  TGpsFile track;
  Fill(track, kRun);
  const TSpeedGraphData data(track, Settings(baDistance, 20));
  // Point 3 comes 33 km/h after point 2: gone from the speed line, not from the altitude.
  EXPECT_EQ(PointsOf(data.SpeedValues()), (std::vector<int>{0, 1, 2, 4}));
  EXPECT_EQ(PointsOf(data.AltitudeValues()), (std::vector<int>{0, 1, 2, 3, 4}));
  std::vector<bool> gaps;
  for (const TSpeedGraphValue& value : data.SpeedValues()) gaps.push_back(value.GapBefore);
  EXPECT_EQ(gaps, (std::vector<bool>{false, false, false, true}));
  for (const TSpeedGraphValue& value : data.AltitudeValues()) EXPECT_FALSE(value.GapBefore);

  // The value after the gap leads to its own point, not to the one the gap took away.
  const std::optional<TSpeedGraphPoint> point = data.SpeedPoint(3);
  ASSERT_TRUE(point.has_value());
  EXPECT_NEAR(point->Latitude, 35.04, 1e-12);
  EXPECT_EQ(point->Altitude, 18);
  EXPECT_NEAR(data.AltitudePoint(3)->Latitude, 35.03, 1e-12);
  EXPECT_FALSE(data.SpeedPoint(4).has_value());
  EXPECT_FALSE(data.SpeedPoint(-1).has_value());

  // A limit equal to a speed keeps it; a limit of 0 keeps everything.
  EXPECT_EQ(TSpeedGraphData(track, Settings(baDistance, data.SpeedValues()[1].Y)).SpeedValues().size(), 2u);
  EXPECT_EQ(TSpeedGraphData(track, Settings(baDistance, 0)).SpeedValues().size(), 5u);
}

TEST(SpeedGraphDataTest, TheFastEndOfATrackLeavesNoValueAfterIt) {
  TGpsFile track;
  Fill(track, {{0, 0, 1}, {1, 1, 2}, {7, 2, 3}, {8, 3, 4}, {9, 4, 5}});
  const TSpeedGraphData data(track, Settings(baTermMin, 20));
  // Point 1 (66 km/h) goes, and so do the fast points 3 and 4 at the end: nothing follows them.
  EXPECT_EQ(PointsOf(data.SpeedValues()), (std::vector<int>{0, 2}));
  EXPECT_TRUE(data.SpeedValues()[1].GapBefore);
}

TEST(SpeedGraphDataTest, AverageSpeedTitleOnlyWhenTheTimesDiffer) {
  TGpsFile track;
  Fill(track, kRun);
  const double expected = (Km(0, 1) + Km(1, 2) + Km(2, 3) + Km(3, 4)) / (20.0 / 60);
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", expected);
  EXPECT_EQ(TSpeedGraphData(track, Settings(baDistance)).Title(), std::string("平均速度： ") + text + " km/h");

  TSpeedGraphInfo off = Settings(baDistance);
  off.SetIsAverageSpeed(false);
  EXPECT_EQ(TSpeedGraphData(track, off).Title(), "");

  // First and last at one time (the points between do not count).
  TGpsFile sameEnds;
  Fill(sameEnds, {{5, 0, 1}, {8, 1, 1}, {5, 2, 1}});
  EXPECT_EQ(TSpeedGraphData(sameEnds, Settings(baDistance)).Title(), "");

  TGpsFile empty;
  EXPECT_EQ(TSpeedGraphData(empty, Settings(baDistance)).Title(), "");
}

// The summary stands beside the average speed, and goes with it.
TEST(SpeedGraphDataTest, SummaryBesideTheAverageSpeed) {
  TGpsFile track;
  Fill(track, {{0, 0, 100}, {6, 1, 120}, {12, 2, 140}, {14, 3, 140}, {20, 4, 100}});
  char fastest[32];
  std::snprintf(fastest, sizeof fastest, "%.1f", Km(2, 3) / (2.0 / 60));
  const TSpeedGraphData data(track, Settings(baDistance));
  // Fixes minutes apart are pauses in recording, not movement.
  EXPECT_EQ(data.Summary(), std::string("上昇 40 m　下降 40 m　移動時間 0:00:00　最高 ") + fastest + " km/h");
  TSpeedGraphInfo off = Settings(baDistance);
  off.SetIsAverageSpeed(false);
  EXPECT_EQ(TSpeedGraphData(track, off).Summary(), "");
  // A cyclist at 2 km/h is standing; a walker at that speed is moving. A fix every 30 s for an hour.
  std::vector<TFix> fixes;
  for (int i = 0; i <= 120; ++i) fixes.push_back({i * 0.5, i * 0.015, 0});  // 16.7 m each
  TGpsFile slow;
  Fill(slow, fixes);
  EXPECT_NE(
      TSpeedGraphData(slow, Settings(baDistance), TrackSummaryOptionsFor(ctWalking)).Summary().find("移動時間 1:00:00"),
      std::string::npos);
  EXPECT_NE(
      TSpeedGraphData(slow, Settings(baDistance), TrackSummaryOptionsFor(ctBicycle)).Summary().find("移動時間 0:00:00"),
      std::string::npos);
}

// On the pace axis the line holds minutes per kilometre; a standstill has none and breaks it.
TEST(SpeedGraphDataTest, PaceAxisHoldsMinutesPerKilometre) {
  TGpsFile track;
  Fill(track, {{0, 0, 0}, {6, 1, 0}, {12, 1, 0}, {14, 2, 0}});
  TSpeedGraphInfo info = Settings(baDistance);
  info.SetIsPaceAxis(true);
  const TSpeedGraphData data(track, info);
  EXPECT_TRUE(data.IsPace());
  // The first point (no segment) and the standing point 2 have no pace.
  ASSERT_EQ(PointsOf(data.SpeedValues()), (std::vector<int>{1, 3}));
  EXPECT_NEAR(data.SpeedValues()[0].Y, 6 / Km(0, 1), 1e-6);
  EXPECT_NEAR(data.SpeedValues()[1].Y, 2 / Km(1, 2), 1e-6);
  EXPECT_TRUE(data.SpeedValues()[1].GapBefore);
  EXPECT_EQ(data.CopyText(0, 100).substr(0, data.CopyText(0, 100).find("\r\n")), "日\tペース(分/km)\t高度(m)");
  EXPECT_FALSE(TSpeedGraphData(track, Settings(baDistance)).IsPace());
}

TEST(SpeedGraphDataTest, TracksOfNoneOrOnePoint) {
  TGpsFile empty;
  const TSpeedGraphData none(empty, Settings(baTime));
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_EQ(none.CopyText(-1e300, 1e300), "日\t速度(km/h)\t高度(m)\r\n");

  TGpsFile single;
  Fill(single, {{3, 0, 42}});
  const TSpeedGraphData one(single, Settings(baDistance));
  ASSERT_EQ(one.SpeedValues().size(), 1u);
  EXPECT_EQ(one.SpeedValues()[0].Y, 0);
  EXPECT_EQ(one.Title(), "");
  EXPECT_EQ(one.CopyText(0, 0), "日\t速度(km/h)\t高度(m)\r\n0\t0\t42\r\n");
}

TEST(SpeedGraphDataTest, TimesRunningBackKeepTheLineInXOrderWithItsOwnPoints) {
  TGpsFile track;
  Fill(track, {{10, 0, 1}, {20, 1, 2}, {5, 2, 3}, {30, 3, 4}});
  const TSpeedGraphData data(track, Settings(baTime));
  EXPECT_EQ(PointsOf(data.SpeedValues()), (std::vector<int>{2, 0, 1, 3}));
  EXPECT_EQ(PointsOf(data.AltitudeValues()), (std::vector<int>{2, 0, 1, 3}));
  for (std::size_t i = 1; i < data.SpeedValues().size(); ++i) {
    EXPECT_LT(data.SpeedValues()[i - 1].X, data.SpeedValues()[i].X);
  }
  // Point 2 came 15 minutes back: its segment's speed is negative, as the times say.
  EXPECT_LT(data.SpeedValues()[0].Y, 0);
}

TEST(SpeedGraphDataTest, SeriesSwitchedOff) {
  TGpsFile track;
  Fill(track, kRun);
  TSpeedGraphInfo info = Settings(baDistance);
  info.SetIsSpeedSeries(false);
  const TSpeedGraphData noSpeed(track, info);
  EXPECT_TRUE(noSpeed.SpeedValues().empty());
  EXPECT_EQ(noSpeed.AltitudeValues().size(), 5u);
  EXPECT_EQ(noSpeed.CopyText(-1e300, 1e300), "日\t速度(km/h)\t高度(m)\r\n");

  info.SetIsSpeedSeries(true);
  info.SetIsAltitudeSeries(false);
  const TSpeedGraphData noAltitude(track, info);
  EXPECT_EQ(noAltitude.SpeedValues().size(), 5u);
  EXPECT_TRUE(noAltitude.AltitudeValues().empty());
  // The copied rows still carry each point's altitude.
  EXPECT_NE(noAltitude.CopyText(0, 0).find("\t0\t10\r\n"), std::string::npos);
}

TEST(SpeedGraphDataTest, CopyTextTakesTheRowsInsideTheRangeWrittenByAxisKind) {
  TGpsFile track;
  Fill(track, {{0, 0, 10.5}, {6, 1, 12}, {12, 2, 15}});
  const std::string speed1 = FormatGeneral(Km(0, 1) / track.Time(1));
  const std::string speed2 = FormatGeneral(Km(1, 2) / track.Time(2));

  const TSpeedGraphData minutes(track, Settings(baTermMin));
  EXPECT_EQ(minutes.CopyText(5.99, 12.01),
            "日\t速度(km/h)\t高度(m)\r\n6.00\t" + speed1 + "\t12\r\n12.00\t" + speed2 + "\t15\r\n");
  EXPECT_EQ(minutes.CopyText(0.5, 11.9), "日\t速度(km/h)\t高度(m)\r\n6.00\t" + speed1 + "\t12\r\n");
  EXPECT_EQ(minutes.CopyText(13, 20), "日\t速度(km/h)\t高度(m)\r\n");

  const TSpeedGraphData hours(track, Settings(baTermHour));
  EXPECT_EQ(hours.CopyText(0, 0.11), "日\t速度(km/h)\t高度(m)\r\n0.00\t0\t10.5\r\n0.10\t" + speed1 + "\t12\r\n");

  const TSpeedGraphData km(track, Settings(baDistance));
  const double d1 = km.SpeedValues()[1].X;
  EXPECT_EQ(km.CopyText(d1, d1), "日\t速度(km/h)\t高度(m)\r\n" + FormatGeneral(d1) + "\t" + speed1 + "\t12\r\n");

  const TSpeedGraphData times(track, Settings(baTime));
  EXPECT_EQ(times.CopyText(kStart, kStart), "日\t速度(km/h)\t高度(m)\r\n2024/05/03 07:00:00\t0\t10.5\r\n");
  EXPECT_EQ(times.FormatX(EncodeDate(2024, 5, 3)), "2024/05/03");
  EXPECT_EQ(times.FormatX(EncodeDateTime(2024, 5, 3, 0, 0, 1)), "2024/05/03 00:00:01");
}

TEST(SpeedGraphDataTest, ALargeTrackIsOneValuePerPoint) {
  TGpsFile track;
  constexpr int kCount = 100000;
  track.GpsList.Reserve(kCount);
  for (int i = 0; i < kCount; ++i) track.GpsList.Add(kStart + i * kMinute / 60, 35 + i * 1e-5L, 139.5L, i % 50);
  const TSpeedGraphData data(track, Settings(baTime, 1000));
  ASSERT_EQ(data.SpeedValues().size(), static_cast<std::size_t>(kCount));
  EXPECT_EQ(data.SpeedValues().back().Point, kCount - 1);
  EXPECT_EQ(data.AltitudeValues()[kCount - 1].Y, (kCount - 1) % 50);
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

std::vector<TSpeedGraphValue> ValuesOf(const std::vector<double>& ys, const std::vector<int>& gapsBefore = {}) {
  std::vector<TSpeedGraphValue> values;
  for (std::size_t i = 0; i < ys.size(); ++i) {
    const bool gap = std::find(gapsBefore.begin(), gapsBefore.end(), static_cast<int>(i)) != gapsBefore.end();
    values.push_back({static_cast<double>(i), ys[i], static_cast<int>(i), gap});
  }
  return values;
}

TEST(CentredMovingAverage, AveragesEachRunBetweenGapsOnItsOwn) {
  struct Case {
    const char* What;
    std::vector<double> Ys;
    std::vector<int> Gaps;
    int Points;
    std::vector<double> Expected;
  };
  const Case cases[] = {
      {"raw with 0", {1, 9, 2}, {}, 0, {1, 9, 2}},
      {"raw with 1", {1, 9, 2}, {}, 1, {1, 9, 2}},
      {"three points, ends shrink", {3, 6, 9, 12}, {}, 3, {4.5, 6, 9, 10.5}},
      {"a spike is spread", {0, 0, 9, 0, 0}, {}, 3, {0, 3, 3, 3, 0}},
      {"even count leans after", {2, 4, 6, 8}, {}, 2, {3, 5, 7, 8}},
      {"not across a gap", {1, 1, 10, 10}, {2}, 3, {1, 1, 10, 10}},
      {"wider than the run", {2, 4}, {}, 9, {3, 3}},
  };
  for (const Case& c : cases) {
    std::vector<TSpeedGraphValue> values = ValuesOf(c.Ys, c.Gaps);
    CentredMovingAverage(values, c.Points);
    ASSERT_EQ(values.size(), c.Expected.size()) << c.What;
    for (std::size_t i = 0; i < values.size(); ++i) {
      EXPECT_DOUBLE_EQ(values[i].Y, c.Expected[i]) << c.What << " at " << i;
      EXPECT_EQ(values[i].Point, static_cast<int>(i)) << c.What;  // each still leads to its point
    }
  }
}

}  // namespace
}  // namespace hakuvo
