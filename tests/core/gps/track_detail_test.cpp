#include "core/gps/track_detail.h"

#include <gtest/gtest.h>

#include "core/gps/scoped_time_zone.h"
#include "core/model/link_data.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

TEST(TrackDetail, DistanceTimeAndClimbOfTheLinksPartOfTheTrack) {
  const ScopedTimeZone zone("UTC");
  test::TTempFolder folder;
  TGpsFileLink link;
  link.FileName =
      folder.Write("hill.gpx",
                   "<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>"
                   "<trkpt lat=\"35.0\" lon=\"139.0\"><ele>100</ele><time>2021-03-02T01:00:00Z</time></trkpt>"
                   "<trkpt lat=\"35.01\" lon=\"139.0\"><ele>130</ele><time>2021-03-02T01:10:05Z</time></trkpt>"
                   "<trkpt lat=\"35.02\" lon=\"139.0\"><ele>160</ele><time>2021-03-02T02:05:09Z</time></trkpt>"
                   "</trkseg></trk></gpx>");
  auto texts = TrackDetailTexts(link);
  EXPECT_EQ(texts[0], "2.22");
  EXPECT_EQ(texts[1], "1:05:09");
  EXPECT_EQ(texts[2], "60");
  // The link's range: the first two fixes only.
  link.StartPos = EncodeDate(2021, 3, 2) + EncodeTime(1, 0, 0);
  link.EndPos = EncodeDate(2021, 3, 2) + EncodeTime(1, 10, 5);
  texts = TrackDetailTexts(link);
  EXPECT_EQ(texts[0], "1.11");
  EXPECT_EQ(texts[1], "0:10:05");
  EXPECT_EQ(texts[2], "30");

  TGpsFileLink broken;
  broken.FileName = folder.Write("broken.gpx", "<gpx><trk><trkseg><trkpt lat=");
  EXPECT_EQ(TrackDetailTexts(broken), (std::array<std::string, 3>{}));
  TGpsFileLink gone;
  gone.FileName = folder.Path("gone.gpx");
  EXPECT_EQ(TrackDetailTexts(gone), (std::array<std::string, 3>{}));
}

}  // namespace
}  // namespace hakuvo
