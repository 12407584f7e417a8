#include "core/gps/display_track.h"

#include <gtest/gtest.h>

#include <string>

#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"
#include "core/gps/gps_file.h"
#include "core/gps/scoped_time_zone.h"
#include "core/model/link_data.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr TDateTime kStart = 46000.25;

const std::string kTracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";
const std::string kDamaged = std::string(HAKUVO_TESTDATA_DIR) + "/damaged/bad-cut-short.fit";
const std::string kPhoto = std::string(HAKUVO_TESTDATA_DIR) + "/photos/gps_DSCN0010.jpg";

// What a link points at. The track file "walk.gpx" holds three fixes of 2021; the sound view file
// five of its own, ten seconds apart from kStart, their altitudes 0 to 4, so the points tell
// which file they came from.
constexpr const char* kSoundView = "<sound view file>";
constexpr const char* kNoViewName = "<no view file name>";
constexpr const char* kGoneView = "<view file name of no file>";
constexpr int kNothing = -1;
constexpr int kThrows = -2;

const std::string kWalkGpx =
    "<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>"
    "<trkpt lat=\"35.1\" lon=\"139.1\"><time>2021-03-02T01:00:00Z</time></trkpt>"
    "<trkpt lat=\"35.2\" lon=\"139.2\"><time>2021-03-02T01:00:10Z</time></trkpt>"
    "<trkpt lat=\"35.3\" lon=\"139.3\"><time>2021-03-02T01:00:20Z</time></trkpt>"
    "</trkseg></trk></gpx>";

TEST(LoadDisplayTrackTest, ViewFileWhenSoundElseTheTrackFile) {
  const ScopedTimeZone zone("UTC");
  const test::TTempFolder folder;
  const std::string walk = folder.Write("walk.gpx", kWalkGpx);
  const std::string broken = folder.Write("broken.gpx", "<gpx><trk><trkseg><trkpt lat=");
  const std::string notes = folder.Write("notes.txt", "not a track");
  const std::string bike = kTracks + "bike_gpx.gpx";
  const std::unique_ptr<TGpsFile> bikeDirect = CreateGpsFile(bike);
  bikeDirect->SetFileName(bike);
  const int bikeCount = bikeDirect->GpsList.Count();
  ASSERT_GT(bikeCount, 3);

  const struct {
    const char* name;
    std::string file;
    std::string view;  // the view file's bytes, or one of the markers above
    bool ranged;       // the link's range is kStart + 10 s to kStart + 30 s, else the whole track
    int expected;      // the points, kNothing or kThrows
    double firstAltitude = -1;
  } cases[] = {
      {"sound view file, whole", walk, kSoundView, false, 5, 0},
      {"sound view file trimmed to the range", walk, kSoundView, true, 3, 1},
      {"sound view file, the track file gone", folder.Path("gone.gpx"), kSoundView, false, 5, 0},
      {"no view file name", walk, kNoViewName, false, 3},
      {"view file name of no file", walk, kGoneView, false, 3},
      {"view file cut short (5 points announced, 1 there)", walk,
       std::string("\x05\x00\x00\x00", 4) + std::string(38, '\0'), false, 3},
      {"view file of a count alone", walk, std::string("\x05\x00\x00\x00", 4), false, 3},
      {"view file announcing two billion points", walk, std::string("\xff\xff\xff\x7f", 4), false, 3},
      {"view file of a negative count", walk, std::string("\xff\xff\xff\xff", 4), false, 3},
      {"view file shorter than a count", walk, "old", false, 3},
      {"broken view file, real track file", bike, "abc", false, bikeCount},
      {"real track file read over the range (none of its points in it)", bike, kNoViewName, true, 0},
      {"a text file, even with a sound view file", notes, kSoundView, false, kNothing},
      {"a photograph", kPhoto, kNoViewName, false, kNothing},
      {"unreadable track file", broken, kNoViewName, false, kThrows},
      {"unreadable track file behind a broken view file", broken, "abc", false, kThrows},
      {"missing track file", folder.Path("missing.gpx"), kGoneView, false, kThrows},
      {"a watch's FIT file", kTracks + "four-chained-files.fit", kNoViewName, false, 1462},
      {"a TCX file", kTracks + "tcxparser-test.tcx", kNoViewName, false, 383},
      {"a damaged FIT file", kDamaged, kNoViewName, false, kThrows},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TGpsFileLink link;
    link.FileName = c.file;
    if (c.view == kSoundView) {
      TGpsDataList cache;
      for (int i = 0; i < 5; ++i) cache.Add(kStart + i * 10 * kSecond, 35.6 + i * 0.00009, 139.7, i);
      link.ViewFileName = folder.Path("cache.gps");
      cache.SaveToFile(link.ViewFileName);
    } else if (c.view == kGoneView) {
      link.ViewFileName = folder.Path("gone.gps");
    } else if (c.view != kNoViewName) {
      link.ViewFileName = folder.Write("cache.gps", c.view);
    }
    if (c.ranged) {
      link.StartPos = kStart + 10 * kSecond;
      link.EndPos = kStart + 30 * kSecond;
    }

    if (c.expected == kThrows) {
      EXPECT_THROW(LoadDisplayTrack(link), EHakuvoError);
      continue;
    }
    const std::unique_ptr<TGpsFile> track = LoadDisplayTrack(link);
    if (c.expected == kNothing) {
      EXPECT_EQ(track, nullptr);
      continue;
    }
    ASSERT_NE(track, nullptr);
    ASSERT_EQ(track->GpsList.Count(), c.expected);
    if (c.firstAltitude >= 0) {
      EXPECT_EQ(track->GpsList.Get(0)->Altitude(), c.firstAltitude);
    }
    // The track is the link's, whichever file gave its points.
    EXPECT_EQ(track->FileName(), c.file);
    if (c.ranged) {
      EXPECT_EQ(track->StartPos(), link.StartPos);
    }
  }
}

}  // namespace
}  // namespace hakuvo
