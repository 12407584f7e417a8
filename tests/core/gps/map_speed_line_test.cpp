#include "core/gps/map_speed_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/gps/gps_file.h"
#include "core/gps/map_track.h"

namespace hakuvo {
namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr TDateTime kStart = 46000.25;
// Degrees of latitude per metre, near enough for the test's speeds (the bins are wide).
constexpr double kDegreesPerMetre = 1.0 / 111000;

// Due north, one fix every 10 seconds; each entry of `speeds` (km/h) is one segment.
std::unique_ptr<TGpsFile> Track(const std::vector<double>& speeds, bool timed = true) {
  auto owned = std::make_unique<TGpsFile>();
  TGpsFile& track = *owned;
  double latitude = 35.6;
  track.GpsList.Add(timed ? kStart : 0, latitude, 139.7, 0);
  for (std::size_t i = 0; i < speeds.size(); ++i) {
    latitude += speeds[i] / 3.6 * 10 * kDegreesPerMetre;
    track.GpsList.Add(timed ? kStart + static_cast<double>(i + 1) * 10 * kSecond : 0, latitude, 139.7, 0);
  }
  return owned;
}

std::vector<double> Repeat(std::vector<double> speeds, double speed, int count) {
  speeds.insert(speeds.end(), static_cast<std::size_t>(count), speed);
  return speeds;
}

std::vector<int> AllPoints(const TGpsFile& track) { return MapLineVertices(track, 0); }

TEST(MapSpeedLineTest, KnownSpeedsGiveTheirBinsAndARobustScale) {
  const std::vector<double> even = Repeat(Repeat(Repeat({}, 6, 20), 12, 20), 18, 20);
  std::vector<double> spiked = even;
  spiked[30] = 200;                                   // one wild fix among the 12 km/h ones
  std::vector<double> stopped = Repeat(even, 0, 30);  // five minutes at a crossing
  const struct {
    const char* name;
    std::vector<double> speeds;
    double low, high;
    std::vector<int> binsAt;  // the bins of segments 1, 25 and 50 (all 6, 12, 18 km/h)
  } cases[] = {
      {"three paces", even, 6, 18, {0, 5, 10}},
      {"a spike does not stretch the scale", spiked, 6, 18, {0, 5, 10}},
      {"a stop does not pull the slow end to 0", stopped, 6, 18, {0, 5, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto trackOwned = Track(c.speeds);
    const TGpsFile& track = *trackOwned;
    TMapSpeedLineOptions options;
    options.SmoothingSeconds = 0;
    const TMapSpeedLine line = MapSpeedLine(track, AllPoints(track), 0, options);
    ASSERT_TRUE(line.IsColored());
    EXPECT_EQ(line.Vertices, AllPoints(track)) << "a short track keeps every vertex";
    ASSERT_EQ(line.Bins.size(), line.Vertices.size());
    EXPECT_EQ(line.Bins[0], -1);
    EXPECT_NEAR(static_cast<double>(line.LowSpeed), c.low, 0.05);
    EXPECT_NEAR(static_cast<double>(line.HighSpeed), c.high, 0.05);
    EXPECT_EQ((std::vector<int>{line.Bins[1], line.Bins[25], line.Bins[50]}), c.binsAt);
    EXPECT_EQ(line.LegendLabels(), (std::vector<std::string>{"6.0", "12.0", "18.0"}));
  }
  // The spike itself takes the fastest colour, the stop the slowest.
  TMapSpeedLineOptions options;
  options.SmoothingSeconds = 0;
  const auto spikedTrackOwned = Track(spiked);
  const TGpsFile& spikedTrack = *spikedTrackOwned;
  EXPECT_EQ(MapSpeedLine(spikedTrack, AllPoints(spikedTrack), 0, options).Bins[31], MapSpeedColorCount - 1);
  const auto stoppedTrackOwned = Track(stopped);
  const TGpsFile& stoppedTrack = *stoppedTrackOwned;
  EXPECT_EQ(MapSpeedLine(stoppedTrack, AllPoints(stoppedTrack), 0, options).Bins.back(), 0);
}

TEST(MapSpeedLineTest, LimitSpeedLeavesTheJumpOutOfTheSpeedsToo) {
  // A 6 km/h walk whose fix 10 jumps 5 km east and back, each way in 10 seconds.
  const auto trackOwned = Track(Repeat({}, 6, 20));
  TGpsFile& track = *trackOwned;
  track.GpsList.Get(10)->SetLongitude(139.755);
  TMapSpeedLineOptions options;
  options.SmoothingSeconds = 0;
  const std::vector<int> vertices = MapLineVertices(track, 30);
  const TMapSpeedLine line = MapSpeedLine(track, vertices, 30, options);
  ASSERT_TRUE(line.IsColored());
  EXPECT_EQ(line.Vertices, vertices);
  // The stretch over the gap counts only its 6 km/h segments: one pace, the middle of its scale.
  for (std::size_t j = 1; j < line.Bins.size(); ++j) EXPECT_EQ(line.Bins[j], MapSpeedColorCount / 2) << j;
  EXPECT_NEAR(static_cast<double>(line.LowSpeed), 5.5, 0.05);
  EXPECT_NEAR(static_cast<double>(line.HighSpeed), 6.5, 0.05);
}

TEST(MapSpeedLineTest, SmoothingTakesTheSpeedOverItsWindow) {
  // Fixes a second apart that move only every other second: a minute at 6 km/h on average, then
  // a minute at 12 km/h.
  TGpsFile track;
  double latitude = 35.6;
  for (int i = 0; i <= 120; ++i) {
    const double speed = i <= 60 ? 12 : 24;
    if (i % 2 == 0 && i > 0) latitude += speed / 3.6 * kDegreesPerMetre;
    track.GpsList.Add(kStart + i * kSecond, latitude, 139.7, 0);
  }
  const int top = MapSpeedColorCount - 1;
  // Fix by fix, the line flickers between the two ends of the scale.
  TMapSpeedLineOptions raw;
  raw.SmoothingSeconds = 0;
  const TMapSpeedLine flicker = MapSpeedLine(track, AllPoints(track), 0, raw);
  ASSERT_TRUE(flicker.IsColored());
  EXPECT_EQ(flicker.Bins[80], top);
  EXPECT_EQ(flicker.Bins[81], 0);
  // Over ten seconds the two minutes show as two paces.
  const TMapSpeedLine line = MapSpeedLine(track, AllPoints(track), 0);
  ASSERT_TRUE(line.IsColored());
  for (int j = 8; j <= 52; ++j) EXPECT_LE(line.Bins[static_cast<std::size_t>(j)], 1) << j;
  for (int j = 68; j <= 112; ++j) EXPECT_GE(line.Bins[static_cast<std::size_t>(j)], top - 3) << j;
}

TEST(MapSpeedLineTest, WithoutTimesThePlainLineThroughEveryVertex) {
  const auto untimedOwned = Track(Repeat({}, 6, 30), false);
  const TGpsFile& untimed = *untimedOwned;
  const TMapSpeedLine line = MapSpeedLine(untimed, AllPoints(untimed), 0);
  EXPECT_FALSE(line.IsColored());
  EXPECT_TRUE(line.Bins.empty());
  EXPECT_EQ(line.Vertices, AllPoints(untimed));

  // Points without times in a timed track: their stretches have no speed and no colour.
  const auto mixedOwned = Track(Repeat(Repeat({}, 6, 10), 12, 10));
  TGpsFile& mixed = *mixedOwned;
  mixed.GpsList.Get(15)->SetRecordTime(0);
  TMapSpeedLineOptions options;
  options.SmoothingSeconds = 0;
  const TMapSpeedLine part = MapSpeedLine(mixed, AllPoints(mixed), 0, options);
  ASSERT_TRUE(part.IsColored());
  EXPECT_EQ(part.Bins[15], -1);
  EXPECT_EQ(part.Bins[16], -1);
  EXPECT_EQ(part.Bins[5], 0);
  EXPECT_EQ(part.Bins[19], MapSpeedColorCount - 1);

  const auto singleOwned = Track({});
  const TGpsFile& single = *singleOwned;
  EXPECT_FALSE(MapSpeedLine(single, AllPoints(single), 0).IsColored());
}

TEST(MapSpeedLineTest, LongTrackIsThinnedToTheStretchLimit) {
  const auto trackOwned = Track(Repeat(Repeat({}, 6, 5000), 12, 5000));
  const TGpsFile& track = *trackOwned;
  TMapSpeedLineOptions options;
  options.MaxStretches = 100;
  const TMapSpeedLine line = MapSpeedLine(track, AllPoints(track), 0, options);
  ASSERT_TRUE(line.IsColored());
  EXPECT_LE(line.Vertices.size(), 102u);
  EXPECT_GE(line.Vertices.size(), 90u);
  EXPECT_EQ(line.Vertices.front(), 0);
  EXPECT_EQ(line.Vertices.back(), 10000);
  // Each stretch spans about the same way: a third of the line is slow, two thirds fast.
  EXPECT_EQ(line.Bins[1], 0);
  EXPECT_EQ(line.Bins.back(), MapSpeedColorCount - 1);
  std::size_t slow = 0;
  for (const int bin : line.Bins) slow += bin == 0 ? 1 : 0;
  EXPECT_NEAR(static_cast<double>(slow) / static_cast<double>(line.Bins.size()), 1.0 / 3, 0.05);
}

TEST(MapSpeedLineTest, ScaleRunsFromBlueThroughGreenAndYellowToRed) {
  EXPECT_EQ(MapSpeedColor(0), 0x2050e0);
  EXPECT_EQ(MapSpeedColor(MapSpeedColorCount - 1), 0xe02020);
  EXPECT_EQ(MapSpeedColor(-3), MapSpeedColor(0));
  EXPECT_EQ(MapSpeedColor(99), MapSpeedColor(MapSpeedColorCount - 1));
  // Red rises and blue falls from one end to the other.
  for (int bin = 1; bin < MapSpeedColorCount; ++bin) {
    EXPECT_GE(MapSpeedColor(bin) >> 16, MapSpeedColor(bin - 1) >> 16) << bin;
    EXPECT_LE(MapSpeedColor(bin) & 0xFF, (MapSpeedColor(bin - 1) & 0xFF) + 0) << bin;
  }
}

}  // namespace
}  // namespace hakuvo
