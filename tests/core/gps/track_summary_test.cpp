#include "core/gps/track_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/gps/gps_file.h"

namespace hakuvo {
namespace {

// Points heading north: about 1.11 m per 1e-5 degree of latitude.
TGpsDataList Track(int count, double stepDeg, double stepS, double (*altitude)(int)) {
  TGpsDataList list;
  const double start = 46000.0;
  for (int i = 0; i < count; ++i) list.Add(start + i * stepS / SecsPerDay, 35.0 + i * stepDeg, 139.0, altitude(i));
  return list;
}

// Altitude profiles over 41 points: a level start, a climb or none, a level end.
TEST(TrackSummaryTest, ClimbCountsLevelsNotNoise) {
  struct Case {
    const char* name;
    double (*altitude)(int);
    double ascent;
    double descent;
  };
  const Case cases[] = {
      {"flat with 3 m noise from the middle", [](int i) { return 100.0 + (i == 0  ? 0.0
                                                                          : i % 2 ? 3.0
                                                                                  : -3.0); }, 0, 0},
      {"flat with 3 m noise from a peak", [](int i) { return 100.0 + (i % 2 ? -3.0 : 3.0); }, 0, 0},
      {"flat with 3 m noise from a trough", [](int i) { return 100.0 + (i % 2 ? 3.0 : -3.0); }, 0, 0},
      {"slow noise, three points each way", [](int i) { return 100.0 + ((i / 3) % 2 ? -3.0 : 3.0); }, 0, 0},
      {"noise just inside 5 m either way", [](int i) { return 100.0 + (i % 2 ? -4.999 : 4.999); }, 0, 0},
      {"100 m climb in 5 m steps", [](int i) { return 100.0 + 5.0 * std::clamp(i - 9, 0, 20); }, 100, 0},
      {"100 m descent in 5 m steps", [](int i) { return 200.0 - 5.0 * std::clamp(i - 9, 0, 20); }, 0, 100},
      {"a 30 m step from a noisy level to a noisy level",
       [](int i) { return (i < 20 ? 100.0 : 130.0) + (i % 2 ? 3.0 : -3.0) * (i % 4 < 2 ? 1 : 0); }, 30, 0},
      {"up 100 m and down again, 10 m steps",
       [](int i) {
         const int up = std::clamp(i - 5, 0, 10), down = std::clamp(i - 20, 0, 10);
         return 100.0 + 10.0 * (up - down);
       },
       100, 100},
  };
  for (const Case& c : cases) {
    const TTrackSummary s = SummarizeTrack(Track(41, 1e-4, 5, c.altitude));
    EXPECT_NEAR(s.AscentM, c.ascent, 1e-9) << c.name;
    EXPECT_NEAR(s.DescentM, c.descent, 1e-9) << c.name;
  }
}

// Any noise within 5 m of the level, of any phase and pattern, adds nothing: random draws.
TEST(TrackSummaryTest, RandomNoiseWithinTheThresholdAddsNothing) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> noise(-5.0, 5.0);
  for (int run = 0; run < 200; ++run) {
    TGpsDataList list;
    for (int i = 0; i < 300; ++i) list.Add(46000.0 + i / SecsPerDay, 35.0 + i * 1e-5, 139.0, 50.0 + noise(random));
    const TTrackSummary s = SummarizeTrack(list);
    ASSERT_EQ(s.AscentM, 0) << run;
    ASSERT_EQ(s.DescentM, 0) << run;
  }
}

TEST(TrackSummaryTest, StopIsNotMovingTime) {
  // 100 points 5 s apart, each ~11 m further (8 km/h), then the walker stands for 5 minutes.
  TGpsDataList list = Track(101, 1e-4, 5, [](int) { return 0.0; });
  const TGpsData last = *list.Get(100);
  for (int i = 1; i <= 60; ++i) list.Add(last.RecordTime() + i * 5 / SecsPerDay, last.Latitude(), last.Longitude(), 0);
  const TTrackSummary s = SummarizeTrack(list);
  ASSERT_TRUE(s.HasTimes);
  EXPECT_NEAR(s.MovingS, 500, 1e-6);
  EXPECT_NEAR(s.MovingSpeedKmh, s.DistanceKm * 1000 / 500 * 3.6, 1e-9);
  EXPECT_NEAR(s.MaxSpeedKmh, s.MovingSpeedKmh, 0.05);
}

TEST(TrackSummaryTest, OneNoisyJumpDoesNotMakeTheFastestSpeed) {
  TGpsDataList list = Track(50, 1e-5, 1, [](int) { return 0.0; });  // ~4 km/h
  TGpsData jump = *list.Get(25);
  jump.SetLatitude(jump.Latitude() + 1e-4);  // one 11 m jump in 1 s: 40 km/h for a segment
  list.Put(25, jump);
  const TTrackSummary s = SummarizeTrack(list);
  EXPECT_LT(s.MaxSpeedKmh, 15);
  EXPECT_GT(s.MaxSpeedKmh, 3);
}

// The fastest window keeps only the points of its span, dropping the rest as the track goes on:
// over a long track with uneven steps, pauses and a sprint late in it, it must find what the two
// pointers over the whole track's cumulative sums find.
TEST(TrackSummaryTest, TheFastestSpeedOfALongTrackIsTheWholeTracksTwoPointerAnswer) {
  std::mt19937 random(25);
  std::uniform_real_distribution<double> step(0, 3e-5);
  std::uniform_int_distribution<int> gap(0, 40);
  TGpsDataList list;
  double time = 46000.0, latitude = 35.0;
  for (int i = 0; i < 30000; ++i) {
    const int g = gap(random);
    // Mostly a fix a second, now and then a pause, a burst of fixes a fifth of a second apart,
    // or a fix repeated at the same time.
    const double seconds = g == 0 ? 0 : g == 1 ? 30 : g < 5 ? 0.2 : 1;
    time += seconds / SecsPerDay;
    latitude += (i > 21000 && i < 21040 ? 3e-4 : step(random)) * (seconds > 0 ? 1 : 0);
    list.Add(time, latitude, 139.0, 0);
  }
  const auto points = list.Points();
  std::vector<double> metres(points.size(), 0), seconds(points.size(), 0);
  for (std::size_t i = 1; i < points.size(); ++i) {
    const TGpsData& a = points[i - 1];
    const TGpsData& b = points[i];
    const double d = TGpsFile::PointDistance(a.Latitude(), a.Longitude(), b.Latitude(), b.Longitude());
    metres[i] = metres[i - 1] + d;
    seconds[i] = seconds[i - 1] + (TermMilliseconds(b.RecordTime()) - TermMilliseconds(a.RecordTime())) / 1000;
  }
  double best = 0;
  std::size_t start = 0;
  for (std::size_t end = 1; end < points.size(); ++end) {
    while (start + 1 < end && seconds[end] - seconds[start + 1] >= 10) ++start;
    const double span = seconds[end] - seconds[start];
    if (span >= 10) best = std::max(best, (metres[end] - metres[start]) / span * 3.6);
  }
  const TTrackSummary s = SummarizeTrack(list);
  ASSERT_TRUE(s.HasTimes);
  EXPECT_GT(best, 100);  // the sprint's, far past the first points dropped
  EXPECT_EQ(s.MaxSpeedKmh, best);
  EXPECT_EQ(s.DistanceKm, metres.back() / 1000);
}

TEST(TrackSummaryTest, UntimedPointsGiveDistanceAndClimbOnly) {
  TGpsDataList list;
  for (int i = 0; i < 10; ++i) list.Add(0, 35.0 + i * 1e-3, 139.0, i * 20.0);
  const TTrackSummary s = SummarizeTrack(list);
  EXPECT_FALSE(s.HasTimes);
  EXPECT_GT(s.DistanceKm, 0.9);
  EXPECT_NEAR(s.AscentM, 180, 1e-9);
  EXPECT_EQ(s.MovingS, 0);
  EXPECT_EQ(s.MaxSpeedKmh, 0);
  EXPECT_EQ(s.HighestM, 180);
  EXPECT_EQ(s.LowestM, 0);
}

// The real tracks against a second computation of the same rules, written as a plain state
// machine over the altitudes and a brute-force search for the fastest span.
TEST(TrackSummaryTest, RealTracksAgreeWithAnIndependentComputation) {
  int checked = 0;
  double climbed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(HAKUVO_TESTDATA_DIR) + "/tracks")) {
    const auto track = CreateGpsFile(entry.path().string());
    if (!track) continue;
    track->SetFileName(entry.path().string());
    const auto& list = track->GpsList;
    if (list.Count() < 2) continue;
    SCOPED_TRACE(entry.path().filename().string());
    // Levels found by their first and last index, each level's median by a full sort.
    std::vector<double> medians;
    for (int first = 0; first < list.Count();) {
      int last = first;
      double low = list.Get(first)->Altitude(), high = low;
      while (last + 1 < list.Count()) {
        const double next = list.Get(last + 1)->Altitude();
        if (std::round((std::max(high, next) - std::min(low, next)) * 1000) / 1000 > 10) break;
        low = std::min(low, next);
        high = std::max(high, next);
        ++last;
      }
      std::vector<double> values;
      for (int i = first; i <= last; ++i) values.push_back(static_cast<double>(list.Get(i)->Altitude()));
      std::sort(values.begin(), values.end());
      const std::size_t n = values.size();
      medians.push_back(n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
      first = last + 1;
    }
    double up = 0, down = 0;
    for (std::size_t i = 1; i < medians.size(); ++i) {
      up += std::max(0.0, medians[i] - medians[i - 1]);
      down += std::max(0.0, medians[i - 1] - medians[i]);
    }
    climbed += up;
    const TTrackSummary s = SummarizeTrack(list);
    EXPECT_NEAR(s.AscentM, up, 1e-6);
    EXPECT_NEAR(s.DescentM, down, 1e-6);
    EXPECT_NEAR(s.DistanceKm, track->TotalDistance(), 1e-9);
    if (s.HasTimes && list.Count() < 5000) {
      double best = 0;
      for (int a = 0; a < list.Count(); ++a) {
        double metres = 0;
        for (int b = a + 1; b < list.Count(); ++b) {
          metres += track->Distance(b) * 1000;
          const double secs = (list.Get(b)->RecordTime() - list.Get(a)->RecordTime()) * SecsPerDay;
          if (secs >= 10 - 1e-6) {
            best = std::max(best, metres / secs * 3.6);
            break;  // longer spans from a only average the shortest qualifying one with slower ones
          }
        }
      }
      EXPECT_NEAR(s.MaxSpeedKmh, best, 1e-3);
    }
    ++checked;
  }
  EXPECT_GT(checked, 0);
  // The comparison means something only if some real track climbs.
  EXPECT_GT(climbed, 10);
}

}  // namespace
}  // namespace hakuvo
