#include "core/gps/photo_position.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/gps/scoped_time_zone.h"
#include "core/model/act_data.h"
#include "core/model/link_data.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

const TDateTime kStart = EncodeDate(2024, 5, 3) + EncodeTime(7, 0, 0);

TDateTime At(double seconds) { return kStart + seconds / SecsPerDay; }

// Three fixes a minute apart, heading north-east.
TGpsDataList Walk() {
  TGpsDataList track;
  track.Add(At(0), 35.0, 139.0, 0);
  track.Add(At(60), 35.001, 139.002, 0);
  track.Add(At(120), 35.003, 139.002, 0);
  return track;
}

TEST(PhotoPosition, ExifFirstThenTheTracksTimeWithinItsSpan) {
  const TGpsDataList walk = Walk();
  TGpsDataList untimed;
  untimed.Add(0, 35.0, 139.0, 0);
  untimed.Add(0, 35.1, 139.1, 0);
  struct Case {
    const char* name;
    TDateTime shot;
    double exifLat, exifLon;
    std::vector<const TGpsDataList*> tracks;
    double offset;
    TPhotoPositionSource source;
    TPhotoMissReason reason;
    double lat, lon;
  };
  const Case cases[] = {
      {"30 s after the first fix: half way to the second", At(30), 0, 0, {&walk}, 0, psTrack, pmNone, 35.0005, 139.001},
      {"on a fix", At(60), 0, 0, {&walk}, 0, psTrack, pmNone, 35.001, 139.002},
      {"on the last fix", At(120), 0, 0, {&walk}, 0, psTrack, pmNone, 35.003, 139.002},
      {"on the first fix", At(0), 0, 0, {&walk}, 0, psTrack, pmNone, 35.0, 139.0},
      {"a quarter into the second minute", At(75), 0, 0, {&walk}, 0, psTrack, pmNone, 35.0015, 139.002},
      {"camera 90 s slow: shot 06:59:00 is 07:00:30", At(-60), 0, 0, {&walk}, 90, psTrack, pmNone, 35.0005, 139.001},
      {"camera 90 s fast", At(120), 0, 0, {&walk}, -90, psTrack, pmNone, 35.0005, 139.001},
      {"one second before the start", At(-1), 0, 0, {&walk}, 0, psNone, pmBeforeTrack, 0, 0},
      {"one second after the end", At(121), 0, 0, {&walk}, 0, psNone, pmAfterTrack, 0, 0},
      {"an offset that takes it past the end", At(100), 0, 0, {&walk}, 30, psNone, pmAfterTrack, 0, 0},
      {"no track", At(30), 0, 0, {}, 0, psNone, pmNoTrack, 0, 0},
      {"a track without times", At(30), 0, 0, {&untimed}, 0, psNone, pmTrackWithoutTimes, 0, 0},
      {"no shooting time", 0, 0, 0, {&walk}, 0, psNone, pmNoShotTime, 0, 0},
      {"its own position wins over the track", At(30), 43.5, 11.9, {&walk}, 0, psExif, pmNone, 43.5, 11.9},
      {"its own position without a track or time", 0, -33.9, 151.2, {}, 0, psExif, pmNone, -33.9, 151.2},
      {"the second track holds the moment", At(30), 0, 0, {&untimed, &walk}, 0, psTrack, pmNone, 35.0005, 139.001},
  };
  for (const Case& c : cases) {
    const TPhotoPosition p = PlacePhoto(c.shot, c.exifLat, c.exifLon, c.tracks, c.offset);
    EXPECT_EQ(p.Source, c.source) << c.name;
    EXPECT_EQ(p.Reason, c.reason) << c.name;
    EXPECT_NEAR(p.Latitude, c.lat, 1e-9) << c.name;
    EXPECT_NEAR(p.Longitude, c.lon, 1e-9) << c.name;
    if (c.source == psTrack) {
      EXPECT_NEAR(p.TrackTime, c.shot + c.offset / SecsPerDay, 1e-9) << c.name;
    }
  }
}

TEST(PhotoPosition, FixesWithoutTimeAndTracksRunningBackAreHandled) {
  TGpsDataList track = Walk();
  track.Add(0, 10, 10, 0);  // a fix the file gave no time: never a neighbour
  const TPhotoPosition p = PositionOnTrack(track, At(90));
  EXPECT_EQ(p.Source, psTrack);
  EXPECT_NEAR(p.Latitude, 35.002, 1e-9);
  // Two files joined the wrong way round: the later part first.
  TGpsDataList joined;
  joined.Add(At(600), 36.0, 140.0, 0);
  joined.Add(At(660), 36.001, 140.0, 0);
  for (const TGpsData* point : Walk()) joined.Add(*point);
  const TPhotoPosition early = PositionOnTrack(joined, At(30));
  EXPECT_EQ(early.Source, psTrack);
  EXPECT_NEAR(early.Latitude, 35.0005, 1e-9);
  const TPhotoPosition late = PositionOnTrack(joined, At(630));
  EXPECT_EQ(late.Source, psTrack);
  EXPECT_NEAR(late.Latitude, 36.0005, 1e-9);
  // In the span but between the two files: the walker's position is not known.
  EXPECT_EQ(PositionOnTrack(joined, At(300)).Source, psNone);
}

// An outing's photographs from its links: the real photographs of the test data, one with its own
// position and one without, and a track of the afternoon the second was taken.
TEST(PhotoPosition, OutingPhotographsFromTheirFiles) {
  const ScopedTimeZone zone("UTC");
  test::TTempFolder folder;
  // Canon_40D.jpg was taken at 2008-05-30 15:56:01 (camera time), without a position.
  const std::string gpx = folder.Write("walk.gpx",
                                       "<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>"
                                       "<trkpt lat=\"35.0\" lon=\"139.0\"><time>2008-05-30T15:55:00Z</time></trkpt>"
                                       "<trkpt lat=\"35.002\" lon=\"139.0\"><time>2008-05-30T15:57:00Z</time></trkpt>"
                                       "</trkseg></trk></gpx>");
  const std::string photos = std::string(HAKUVO_TESTDATA_DIR) + "/photos/";
  auto act = CreateActData(ctJogging);
  std::vector<std::unique_ptr<TFileLink>> owned;
  for (const std::string& file :
       {photos + "Canon_40D.jpg", photos + "gps_DSCN0010.jpg", gpx, folder.Write("broken.jpg", "not a photograph")}) {
    owned.push_back(CreateFileLink(file));
    act->LinkDataList.Add(owned.back().get());
  }
  auto result = PlaceActPhotos(*act);
  ASSERT_EQ(result.size(), 3u);
  EXPECT_EQ(result[0].Position.Source, psTrack);
  EXPECT_NEAR(result[0].Position.Latitude, 35.0 + 0.002 * 61 / 120, 1e-9);
  EXPECT_EQ(result[1].Position.Source, psExif);
  EXPECT_NEAR(result[1].Position.Latitude, 43.4674483333333, 1e-9);
  EXPECT_EQ(result[2].Position.Reason, pmUnreadable);
  EXPECT_FALSE(result[2].Error.empty());
  // A camera two minutes fast puts the first photograph before the track.
  act->CameraClockOffset = -120;
  result = PlaceActPhotos(*act);
  EXPECT_EQ(result[0].Position.Reason, pmBeforeTrack);
}

}  // namespace
}  // namespace hakuvo
