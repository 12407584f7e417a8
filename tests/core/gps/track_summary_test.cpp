#include "core/gps/track_summary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

TEST(TrackSummaryTest, ClimbFollowsTheHysteresis) {
  struct Case {
    const char* name;
    double (*altitude)(int);
    double ascent;
    double descent;
  };
  const Case cases[] = {
      {"flat with 3 m noise", [](int i) { return 100.0 + (i == 0  ? 0.0
                                                          : i % 2 ? 3.0
                                                                  : -3.0); }, 0, 0},
      {"100 m climb in 5 m steps", [](int i) { return 100.0 + 5.0 * std::min(i, 20); }, 100, 0},
      {"climb then down", [](int i) { return 100.0 + 10.0 * (i < 10 ? i : 20 - i); }, 100, 100},
  };
  for (const Case& c : cases) {
    const TTrackSummary s = SummarizeTrack(Track(21, 1e-4, 5, c.altitude));
    EXPECT_NEAR(s.AscentM, c.ascent, 1e-9) << c.name;
    EXPECT_NEAR(s.DescentM, c.descent, 1e-9) << c.name;
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

TEST(TrackSummaryTest, UntimedPointsGiveDistanceAndClimbOnly) {
  TGpsDataList list;
  for (int i = 0; i < 10; ++i) list.Add(0, 35.0 + i * 1e-3, 139.0, i * 10.0);
  const TTrackSummary s = SummarizeTrack(list);
  EXPECT_FALSE(s.HasTimes);
  EXPECT_GT(s.DistanceKm, 0.9);
  EXPECT_NEAR(s.AscentM, 90, 1e-9);
  EXPECT_EQ(s.MovingS, 0);
  EXPECT_EQ(s.MaxSpeedKmh, 0);
  EXPECT_EQ(s.HighestM, 90);
  EXPECT_EQ(s.LowestM, 0);
}

// The real tracks against a second computation of the same rules, written as a plain state
// machine over the altitudes and a brute-force search for the fastest span.
TEST(TrackSummaryTest, RealTracksAgreeWithAnIndependentComputation) {
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(HAKUVO_TESTDATA_DIR) + "/tracks")) {
    const auto track = CreateGpsFile(entry.path().string());
    if (!track) continue;
    track->SetFileName(entry.path().string());
    const auto& list = track->GpsList;
    if (list.Count() < 2) continue;
    SCOPED_TRACE(entry.path().filename().string());
    double up = 0, down = 0, anchor = list.Get(0)->Altitude();
    for (int i = 1; i < list.Count(); ++i) {
      const double delta = std::round((static_cast<double>(list.Get(i)->Altitude()) - anchor) * 1000) / 1000;
      if (std::abs(delta) > 5) {
        // Compared to the millimetre, but the climb itself is the altitudes' whole difference.
        (delta > 0 ? up : down) += std::abs(static_cast<double>(list.Get(i)->Altitude()) - anchor);
        anchor = list.Get(i)->Altitude();
      }
    }
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
}

}  // namespace
}  // namespace hakuvo
