// The start and end marks the map page sets on every line it draws.
#include <QVariant>
#include <fstream>

#include "core/model/link_data.h"
#include "map_fixture.h"
#include "support/screenshot.h"

namespace hakuvo::test {
namespace {

std::string WriteLine(const TTempFolder& folder, const std::string& name, int count) {
  std::string gpx = "<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>";
  for (int i = 0; i < count; ++i) {
    char point[200];
    std::snprintf(point, sizeof point, "<trkpt lat=\"%.5f\" lon=\"139.7\"><time>2021-03-02T01:00:%02dZ</time></trkpt>",
                  35.6 + i * 0.001, i);
    gpx += point;
  }
  gpx += "</trkseg></trk></gpx>";
  const std::string path = folder.Path(name);
  std::ofstream(path) << gpx;
  return path;
}

TEST_F(MapWindowTest, ATrackHasAStartAndAnEndMarkOfTheirOwnShapes) {
  ShowAndLoad();
  form->SetCategory(CategoryNames()[ctJogging]);
  TGpsFileLink link;
  link.FileName = WriteLine(folder, "line.gpx", 5);
  form->resize(400, 400);
  ShowTrack(&link);
  QVariantList ends = State().value("trackEnds").toList();
  ASSERT_EQ(ends.size(), 2);
  EXPECT_EQ(ends[0].toMap().value("kind").toString(), "track-end");
  EXPECT_EQ(ends[0].toMap().value("at").toList(), QVariantList({35.604, 139.7}));
  EXPECT_EQ(ends[1].toMap().value("kind").toString(), "track-start");
  EXPECT_EQ(ends[1].toMap().value("at").toList(), QVariantList({35.6, 139.7}));
  // Two shapes, not two colours of one: a round mark and a square one.
  EXPECT_NE(Eval("getComputedStyle(document.querySelector('.track-start span')).borderRadius").toString(),
            Eval("getComputedStyle(document.querySelector('.track-end span')).borderRadius").toString());

  SaveScreenshot(*form, QStringLiteral("map_track_ends"));

  // A one-point track starts and ends in one place: the start alone.
  TGpsFileLink one;
  one.FileName = WriteLine(folder, "one.gpx", 1);
  ShowTrack(&one);
  ends = State().value("trackEnds").toList();
  ASSERT_EQ(ends.size(), 1);
  EXPECT_EQ(ends[0].toMap().value("kind").toString(), "track-start");

  // Clearing the map takes the marks with the line.
  Eval("clearPolyLine()");
  EXPECT_TRUE(State().value("trackEnds").toList().isEmpty());
  EXPECT_EQ(Eval("document.querySelectorAll('.track-start, .track-end').length").toInt(), 0);
}

}  // namespace
}  // namespace hakuvo::test
