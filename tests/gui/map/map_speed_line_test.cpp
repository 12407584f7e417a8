// The track line coloured by speed with its legend, beside the plain line of one colour.
#include <QRegularExpression>
#include <QVariant>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/gps/map_speed_line.h"
#include "core/model/category_info.h"
#include "core/model/link_data.h"
#include "map_fixture.h"
#include "support/screenshot.h"

namespace hakuvo::test {
namespace {

// Due north, one fix every 10 seconds, each entry of `speeds` (km/h) one segment; without
// `timed` the points carry no times.
std::string WriteRun(const TTempFolder& folder, const std::string& name, const std::vector<double>& speeds,
                     bool timed = true) {
  std::string gpx = "<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>";
  double latitude = 35.6;
  for (std::size_t i = 0; i <= speeds.size(); ++i) {
    if (i > 0) latitude += speeds[i - 1] / 3.6 * 10 / 111000;
    char point[200];
    if (timed) {
      std::snprintf(point, sizeof point,
                    "<trkpt lat=\"%.7f\" lon=\"139.7\"><time>2021-03-02T01:%02zu:%02zuZ</time></trkpt>", latitude,
                    i * 10 / 60, i * 10 % 60);
    } else {
      std::snprintf(point, sizeof point, "<trkpt lat=\"%.7f\" lon=\"139.7\"></trkpt>", latitude);
    }
    gpx += point;
  }
  gpx += "</trkseg></trk></gpx>";
  const std::string path = folder.Path(name);
  std::ofstream(path) << gpx;
  return path;
}

// Ten segments each at 6, 12 and 18 km/h.
std::vector<double> ThreePaces() {
  std::vector<double> speeds;
  for (const double speed : {6.0, 12.0, 18.0}) speeds.insert(speeds.end(), 10, speed);
  return speeds;
}

QString Hex(int rgb) { return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0')); }

class MapSpeedLineTest : public MapWindowTest {
 protected:
  TMapInfo& Line() { return categories->GetCategoryItems(ctJogging)->MapInfo(); }
  int LegendsInPage() { return Eval(QStringLiteral("document.querySelectorAll('.speed-legend').length")).toInt(); }
};

TEST_F(MapSpeedLineTest, OptionOnColoursTheLineAndShowsTheLegendOffDrawsOneColour) {
  ShowAndLoad();
  form->SetCategory(CategoryNames()[ctJogging]);
  TGpsFileLink link;
  link.FileName = WriteRun(folder, "run.gpx", ThreePaces());
  const int top = MapSpeedColorCount - 1;

  Line().SetIsSpeedColor(true);
  Calls.clear();
  ShowTrack(&link);
  ASSERT_EQ(Calls.size(), 5) << Calls.join('\n').toStdString();
  EXPECT_TRUE(Calls[2].startsWith(QStringLiteral("addPolyLineVertices([35.6,139.7,"))) << Calls[2].toStdString();
  EXPECT_TRUE(
      Calls[2].endsWith(QStringLiteral("],[-1,0,0,0,0,0,0,0,0,0,0,5,5,5,5,5,5,5,5,5,5,10,10,10,10,10,10,10,10,"
                                       "10,10])")))
      << Calls[2].toStdString();
  EXPECT_TRUE(Calls[3].startsWith(QStringLiteral("drawSpeedLine(\"#0000ff\",1,4,[\"#2050e0\",")))
      << Calls[3].toStdString();
  QVariantMap state = State();
  EXPECT_TRUE(state.value("lineStyle").isNull()) << "no plain line beside the coloured one";
  EXPECT_EQ(state.value("line").toList().size(), 31);
  const QVariantMap speedLine = state.value("speedLine").toMap();
  ASSERT_FALSE(speedLine.isEmpty());
  const QVariantList colors = speedLine.value("colors").toList();
  ASSERT_EQ(colors.size(), 30);
  EXPECT_EQ(colors[0].toString(), Hex(MapSpeedColor(0)));
  EXPECT_EQ(colors[15].toString(), Hex(MapSpeedColor(top / 2)));
  EXPECT_EQ(colors[29].toString(), Hex(MapSpeedColor(top)));
  EXPECT_EQ(speedLine.value("layers").toInt(), 3) << "one polyline per colour";
  const QVariantMap legend = speedLine.value("legend").toMap();
  EXPECT_EQ(legend.value("title").toString(), QStringLiteral("速度 (km/h)"));
  EXPECT_EQ(legend.value("labels").toStringList(), QStringList({"6.0", "12.0", "18.0"}));
  EXPECT_EQ(legend.value("colors").toList().size(), MapSpeedColorCount);
  EXPECT_TRUE(legend.value("shown").toBool());
  EXPECT_EQ(LegendsInPage(), 1);
  EXPECT_EQ(state.value("trackEnds").toList().size(), 2) << "the start and end marks stay";
  EXPECT_EQ(Eval(QStringLiteral("document.querySelector('.speed-legend').textContent")).toString(),
            QStringLiteral("速度 (km/h)6.012.018.0"));

  // Off: the plain line in the category's colour, and no legend.
  Line().SetIsSpeedColor(false);
  Calls.clear();
  ShowTrack(&link);
  ASSERT_EQ(Calls.size(), 5);
  EXPECT_EQ(Calls[3], QStringLiteral("drawPolyLine(\"#0000ff\",1,4)"));
  EXPECT_FALSE(Calls[2].contains(QStringLiteral("],[")));
  state = State();
  EXPECT_TRUE(state.value("speedLine").isNull());
  EXPECT_EQ(state.value("lineStyle").toMap().value("color").toString(), "#0000ff");
  EXPECT_EQ(state.value("line").toList().size(), 31);
  EXPECT_EQ(LegendsInPage(), 0);

  // Clearing the map takes the coloured line and its legend.
  Line().SetIsSpeedColor(true);
  ShowTrack(&link);
  ASSERT_EQ(LegendsInPage(), 1);
  form->ClearMap();
  state = State();
  EXPECT_TRUE(state.value("line").isNull());
  EXPECT_TRUE(state.value("speedLine").isNull());
  EXPECT_EQ(LegendsInPage(), 0);
}

TEST_F(MapSpeedLineTest, TrackWithoutTimesKeepsThePlainLine) {
  ShowAndLoad();
  form->SetCategory(CategoryNames()[ctJogging]);
  Line().SetIsSpeedColor(true);
  TGpsFileLink link;
  link.FileName = WriteRun(folder, "untimed.gpx", ThreePaces(), false);
  Calls.clear();
  ShowTrack(&link);
  ASSERT_EQ(Calls.size(), 5);
  EXPECT_EQ(Calls[3], QStringLiteral("drawPolyLine(\"#0000ff\",1,4)"));
  const QVariantMap state = State();
  EXPECT_TRUE(state.value("speedLine").isNull());
  EXPECT_EQ(state.value("line").toList().size(), 31);
  EXPECT_EQ(LegendsInPage(), 0);
}

TEST_F(MapSpeedLineTest, ColouredLineInPartsMatchesTheWholeOne) {
  ShowAndLoad();
  form->SetCategory(CategoryNames()[ctJogging]);
  Line().SetIsSpeedColor(true);
  TGpsFileLink link;
  link.FileName = WriteRun(folder, "run.gpx", ThreePaces());
  ShowTrack(&link);
  const QVariantMap whole = State();
  ASSERT_FALSE(whole.value("speedLine").isNull());
  form->ClearMap();
  form->SetTrackChunkVertices(4);
  Calls.clear();
  ShowTrack(&link);
  EXPECT_EQ(Calls.filter(QRegularExpression(QStringLiteral("^addPolyLineVertices\\("))).size(), 8);
  const QVariantMap inParts = State();
  EXPECT_EQ(inParts.value("line"), whole.value("line"));
  EXPECT_EQ(inParts.value("speedLine"), whole.value("speedLine"));
  EXPECT_EQ(inParts.value("pending").toInt(), 0);
}

// A real ride coloured by speed, for the eye (HAKUVO_SCREENSHOT_DIR).
TEST_F(MapSpeedLineTest, RealTrackColouredBySpeed) {
  ShowAndLoad();
  form->resize(800, 600);
  form->SetCategory(CategoryNames()[ctJogging]);
  Line().SetIsSpeedColor(true);
  TGpsFileLink link;
  link.FileName = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/bike_gpx.gpx";
  ShowTrack(&link);
  const QVariantMap state = State();
  const QVariantMap speedLine = state.value("speedLine").toMap();
  ASSERT_FALSE(speedLine.isEmpty());
  EXPECT_GT(speedLine.value("layers").toInt(), 3) << "a real ride varies its speed";
  const QStringList labels = speedLine.value("legend").toMap().value("labels").toStringList();
  ASSERT_EQ(labels.size(), 3);
  EXPECT_LT(labels[0].toDouble(), labels[2].toDouble());
  EXPECT_EQ(state.value("trackEnds").toList().size(), 2);
  Pump(500);
  SaveScreenshot(*form, QStringLiteral("map_speed_line"));
}

}  // namespace
}  // namespace hakuvo::test
