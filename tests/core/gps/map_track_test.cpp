#include "core/gps/map_track.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/common/date_time.h"
#include "core/gps/gps_file.h"

namespace hakuvo {
namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr TDateTime kStart = 46000.25;

// A walk due north, one point every 10 seconds, 10 metres apart (3.6 km/h); `spike` (if >= 0)
// jumps about 5 km east and back, 10 seconds each way (about 1,800 km/h).
void FillWalk(TGpsFile& track, int count, int spike = -1, double longitude = 139.7) {
  for (int i = 0; i < count; ++i) {
    const double east = i == spike ? 0.055 : 0.0;
    track.GpsList.Add(kStart + i * 10 * kSecond, 35.6 + i * 0.00009, longitude + east, 0);
  }
}

std::vector<int> Range(int first, int last) {
  std::vector<int> indices;
  for (int i = first; i <= last; ++i) indices.push_back(i);
  return indices;
}

TEST(MapLineVerticesTest, NoLimitKeepsEveryPointEvenASpike) {
  TGpsFile track;
  FillWalk(track, 12, 5);
  EXPECT_EQ(MapLineVertices(track, 0), Range(0, 11));
  EXPECT_EQ(MapLineVertices(track, -1), Range(0, 11));
}

TEST(MapLineVerticesTest, SpikeLeavesOutThePointsAroundIt) {
  TGpsFile track;
  FillWalk(track, 12, 5);
  // Segments 5 and 6 are fast: points 4 to 7 go, the rest stay.
  std::vector<int> expected = Range(0, 3);
  for (int i : Range(8, 11)) expected.push_back(i);
  EXPECT_EQ(MapLineVertices(track, 30), expected);
  // A limit above the spike's speed keeps everything.
  EXPECT_EQ(MapLineVertices(track, 5000), Range(0, 11));
}

TEST(MapLineVerticesTest, FirstAndLastStayWhenTheirSegmentsAreFast) {
  TGpsFile track;
  FillWalk(track, 6, 1);
  // Segments 1 and 2 are fast: points 0 to 3 would go, but the first stays.
  EXPECT_EQ(MapLineVertices(track, 30), (std::vector<int>{0, 4, 5}));

  TGpsFile end;
  FillWalk(end, 6, 5);
  // Segment 5 is fast: points 4 and 5 would go, but the last stays.
  EXPECT_EQ(MapLineVertices(end, 30), (std::vector<int>{0, 1, 2, 3, 5}));
}

TEST(MapLineVerticesTest, SmallAndTimelessTracks) {
  TGpsFile empty;
  EXPECT_TRUE(MapLineVertices(empty, 30).empty());
  TGpsFile one;
  FillWalk(one, 1);
  EXPECT_EQ(MapLineVertices(one, 30), (std::vector<int>{0}));
  TGpsFile two;
  FillWalk(two, 2, 1);
  EXPECT_EQ(MapLineVertices(two, 30), (std::vector<int>{0, 1}));

  // Without times every segment counts as speed 0, however far the points lie apart.
  TGpsFile timeless;
  for (int i = 0; i < 5; ++i) timeless.GpsList.Add(0, 35 + i, 139, 0);
  EXPECT_EQ(MapLineVertices(timeless, 30), Range(0, 4));
}

}  // namespace
}  // namespace hakuvo
