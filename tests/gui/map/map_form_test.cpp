#include "gui/map/map_form.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <cstdio>
#include <fstream>
#include <string>

#include "core/gps/jpeg_exif.h"
#include "core/model/category_info.h"
#include "core/model/category_type.h"
#include "core/model/link_data.h"
#include "gui/map/map_script.h"
#include "map_fixture.h"

namespace hakuvo::test {
namespace {

const std::string kPhotos = std::string(HAKUVO_TESTDATA_DIR) + "/photos/";

// A walk of `count` fixes 10 seconds and about 10 m apart, from (latitude, longitude) north;
// the fix `spike` (if any) jumps about 5 km east and back.
std::string WriteWalk(const TTempFolder& folder, const std::string& name, int count, int spike, double latitude,
                      double longitude) {
  std::string gpx = "<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>";
  for (int i = 0; i < count; ++i) {
    char point[200];
    std::snprintf(point, sizeof point, "<trkpt lat=\"%.5f\" lon=\"%.5f\"><time>2021-03-02T01:%02d:%02dZ</time></trkpt>",
                  latitude + i * 0.00009, longitude + (i == spike ? 0.055 : 0.0), i * 10 / 60, i * 10 % 60);
    gpx += point;
  }
  gpx += "</trkseg></trk></gpx>";
  const std::string path = folder.Path(name);
  std::ofstream(path) << gpx;
  return path;
}

QVariantList Pair(double a, double b) { return {a, b}; }

TEST_F(MapWindowTest, PageComesFromTheResourcesOnFirstShowAtTheDefaults) {
  EXPECT_EQ(form->Browser(), nullptr) << "no web engine before the window shows";
  ShowAndLoad();
  ASSERT_NE(form->Browser(), nullptr);
  EXPECT_EQ(form->Browser()->url(), TMapForm::PageUrl());
  ASSERT_GE(Calls.size(), 2);
  EXPECT_TRUE(Calls[0].startsWith(QStringLiteral("setTileSources({ROADMAP:{url:\"http://127.0.0.1:")));
  EXPECT_EQ(Calls[1], QStringLiteral("loadMap(\"map_canvas\",35.6815,139.7664,13,\"ROADMAP\")"));

  const QVariantMap state = State();
  EXPECT_EQ(state.value("zoom").toInt(), 13);
  const QVariantList center = state.value("center").toList();
  ASSERT_EQ(center.size(), 2);
  EXPECT_NEAR(center[0].toDouble(), 35.6815, 1e-4);
  EXPECT_NEAR(center[1].toDouble(), 139.7664, 1e-4);
  EXPECT_EQ(state.value("mapTypeId").toString(), "ROADMAP");
  // The attribution is shown as the text it is, markup characters and all.
  EXPECT_TRUE(state.value("attribution").toString().contains("Local <tiles> & co"))
      << state.value("attribution").toString().toStdString();
  QTRY_VERIFY_WITH_TIMEOUT(server.TileRequests() > 0, 10000);
  // The page reaches the host object's properties.
  EXPECT_EQ(Eval("host.Application").toString(), QStringLiteral("跳記"));
  EXPECT_EQ(Eval("host.Caption").toString(), QStringLiteral("地図"));
}

TEST_F(MapWindowTest, HiddenWindowOnlyStoresThenCatchesUpOnLoad) {
  form->CreateMarker(34.5, 135.25, true);
  EXPECT_TRUE(Calls.isEmpty());
  ShowAndLoad();
  // The stored position is loaded at the default zoom and marked.
  EXPECT_EQ(Calls.mid(1, 5), QStringList({"loadMap(\"map_canvas\",34.5,135.25,13,\"ROADMAP\")", "clearPolyLine()",
                                          "clearMarker()", "panTo(34.5,135.25)", "createMapMarker(34.5,135.25)"}));
  EXPECT_EQ(State().value("markers").toList(), QVariantList({Pair(34.5, 135.25)}));
}

TEST_F(MapWindowTest, MarkerAndPhotographPositions) {
  ShowAndLoad();
  Calls.clear();
  form->CreateMarker(-33.875, 151.2, true);
  EXPECT_EQ(Calls, QStringList(
                       {"clearPolyLine()", "clearMarker()", "panTo(-33.875,151.2)", "createMapMarker(-33.875,151.2)"}));
  EXPECT_EQ(State().value("markers").toList(), QVariantList({Pair(-33.875, 151.2)}));

  // A photograph with a position is marked there; one without, or a plain file, changes nothing.
  TImageFileLink photo;
  photo.FileName = kPhotos + "gps_DSCN0010.jpg";
  double latitude = 0;
  double longitude = 0;
  ASSERT_TRUE(ExifPosition(photo.FileName, latitude, longitude));
  Calls.clear();
  form->SetLinkData(&photo);
  ASSERT_FALSE(Calls.isEmpty());
  EXPECT_EQ(Calls.last(), QStringLiteral("createMapMarker(%1,%2)").arg(JsNumber(latitude), JsNumber(longitude)));
  const QVariantList marker = State().value("markers").toList().value(0).toList();
  ASSERT_EQ(marker.size(), 2);
  EXPECT_NEAR(marker[0].toDouble(), latitude, 1e-9);
  EXPECT_NEAR(marker[1].toDouble(), longitude, 1e-9);

  TImageFileLink noPosition;
  noPosition.FileName = kPhotos + "Canon_40D.jpg";
  TFileLink plain;
  plain.FileName = folder.Path("notes.txt");
  Calls.clear();
  form->SetLinkData(&noPosition);
  form->SetLinkData(&plain);
  EXPECT_TRUE(Calls.isEmpty()) << Calls.join('\n').toStdString();
  EXPECT_EQ(State().value("markers").toList().size(), 1);
}

TEST_F(MapWindowTest, TrackLineFollowsTheLimitSpeedInOneCall) {
  ShowAndLoad();
  TGpsFileLink link;
  link.FileName = WriteWalk(folder, "walk.gpx", 10, 4, 35.6, 139.7);
  TCategoryInfo* jogging = categories->GetCategoryItems(ctJogging);
  ASSERT_NE(jogging, nullptr);
  TMapInfo& line = jogging->MapInfo();
  ASSERT_EQ(line.LineColorHtml(), 0x0000FF);  // the default line: pure blue, width 4, opacity 1
  form->SetCategory(CategoryNames()[ctJogging]);

  const struct {
    double limit;
    QString vertices;
    int count;
  } cases[] = {
      {0,
       "addPolyLineVertices([35.6,139.7,35.60009,139.7,35.60018,139.7,35.60027,139.7,35.60036,139.755,35.60045,139.7,"
       "35.60054,139.7,35.60063,139.7,35.60072,139.7,35.60081,139.7])",
       10},
      // The spike at 4 takes 3 to 6 out of the line.
      {30,
       "addPolyLineVertices([35.6,139.7,35.60009,139.7,35.60018,139.7,35.60063,139.7,35.60072,139.7,35.60081,139.7])",
       6},
  };
  for (const auto& c : cases) {
    line.SetLimitSpeed(c.limit);
    Calls.clear();
    ShowTrack(&link);
    EXPECT_EQ(Calls, QStringList({"clearPolyLine()", "clearMarker()", c.vertices, "drawPolyLine(\"#0000ff\",1,4)",
                                  "mapFitBounds(35.6,35.60081,139.7,139.755)"}))
        << "limit " << c.limit;
    const QVariantMap state = State();
    EXPECT_EQ(state.value("line").toList().size(), c.count) << "limit " << c.limit;
    EXPECT_EQ(state.value("lineStyle").toMap().value("color").toString(), "#0000ff");
    EXPECT_EQ(state.value("lineStyle").toMap().value("weight").toInt(), 4);
    EXPECT_EQ(state.value("pending").toInt(), 0);
    // The view takes in the spike, which the line leaves out.
    EXPECT_GT(state.value("bounds").toList().value(3).toDouble(), 139.7549) << "limit " << c.limit;
  }

  // A track west of Greenwich is fitted to its own box, not stretched to longitude 0.
  TGpsFileLink west;
  west.FileName = WriteWalk(folder, "west.gpx", 3, -1, 51.5, -0.5);
  Calls.clear();
  ShowTrack(&west);
  ASSERT_FALSE(Calls.isEmpty());
  EXPECT_EQ(Calls.last(), QStringLiteral("mapFitBounds(51.5,51.50018,-0.5,-0.5)"));
  EXPECT_LT(State().value("bounds").toList().value(3).toDouble(), -0.4);

  // An unreadable track leaves the map cleared.
  TGpsFileLink broken;
  broken.FileName = folder.Path("missing.gpx");
  Calls.clear();
  ShowTrack(&broken);
  EXPECT_EQ(Calls, QStringList({"clearPolyLine()", "clearMarker()"}));
  EXPECT_TRUE(State().value("line").isNull());
}

TEST_F(MapWindowTest, TrackHandedOverInPartsDrawsTheSameLineAsWhole) {
  ShowAndLoad();
  TGpsFileLink link;
  link.FileName = WriteWalk(folder, "walk.gpx", 10, 4, 35.6, 139.7);
  TMapInfo& line = categories->GetCategoryItems(ctJogging)->MapInfo();
  line.SetLineColor(0x20A010);  // 0x00BBGGRR
  line.SetLineOpacity(0.5);
  line.SetLineWidth(6);
  form->SetCategory(CategoryNames()[ctJogging]);
  const auto parts = [this] {
    return Calls.filter(QRegularExpression(QStringLiteral("^addPolyLineVertices\\("))).size();
  };

  // With the limit the spike's neighbours are left out: the parts are cut from the vertices kept.
  for (const double limit : {0.0, 30.0}) {
    SCOPED_TRACE(limit);
    line.SetLimitSpeed(limit);
    form->SetTrackChunkVertices(1000);
    Calls.clear();
    ShowTrack(&link);
    ASSERT_EQ(parts(), 1);
    const QStringList wholeCalls = Calls;
    const QVariantMap whole = State();
    ASSERT_FALSE(whole.value("line").toList().isEmpty());

    for (const int size : {1, 3, 4}) {
      SCOPED_TRACE(size);
      form->ClearMap();
      form->SetTrackChunkVertices(size);
      Calls.clear();
      ShowTrack(&link);
      const int count = static_cast<int>(whole.value("line").toList().size());
      EXPECT_EQ(parts(), (count + size - 1) / size);
      // The same drawing and fitting follow the last part.
      EXPECT_EQ(Calls.mid(Calls.size() - 2), wholeCalls.mid(wholeCalls.size() - 2));
      const QVariantMap inParts = State();
      EXPECT_EQ(inParts.value("line"), whole.value("line"));
      EXPECT_EQ(inParts.value("lineStyle"), whole.value("lineStyle"));
      EXPECT_EQ(inParts.value("bounds"), whole.value("bounds"));
      EXPECT_EQ(inParts.value("pending").toInt(), 0);
    }
  }
  EXPECT_EQ(State().value("lineStyle").toMap().value("color").toString(), "#10a020");
}

// While a long line is handed to the page part by part, the window goes on with other work: a
// newer track or a clearing in between leaves no vertex of the old line on the page.
TEST_F(MapWindowTest, NewTrackOrClearingDuringTheHandoverLeavesNothingOfTheOldTrack) {
  ShowAndLoad();
  form->SetCategory(CategoryNames()[ctJogging]);
  TGpsFileLink old;
  old.FileName = WriteWalk(folder, "old.gpx", 40, -1, 35.6, 139.7);
  TGpsFileLink newer;
  newer.FileName = WriteWalk(folder, "new.gpx", 5, -1, 51.5, -0.5);
  form->SetTrackChunkVertices(2);  // the old line in 20 parts

  enum { kNewTrack, kClearing };
  for (const int interruption : {kNewTrack, kClearing}) {
    SCOPED_TRACE(interruption == kNewTrack ? "new track" : "clearing");
    form->ClearMap();
    Calls.clear();
    int oldParts = 0;
    bool interrupted = false;
    // The interruption comes through the event loop, as a click would, once two parts are out.
    form->SetScriptObserver([&](const QString& statement) {
      Calls << statement;
      if (statement.startsWith(QStringLiteral("addPolyLineVertices([35.6")) && ++oldParts == 2) {
        QTimer::singleShot(0, form.get(), [&] {
          interrupted = true;
          if (interruption == kNewTrack) {
            form->SetLinkData(&newer);
          } else {
            form->ClearMap();
          }
        });
      }
    });
    QSignalSpy shown(form.get(), &TMapForm::TrackShown);
    form->SetLinkData(&old);
    if (interruption == kNewTrack) {
      ASSERT_TRUE(shown.wait(30000));
    } else {
      QTRY_VERIFY_WITH_TIMEOUT(interrupted, 30000);
    }
    // Whatever was already under way has reached the page.
    Pump(300);
    const QVariantMap state = State();
    EXPECT_TRUE(interrupted);
    EXPECT_LT(oldParts, 20) << "the old line was handed over whole";
    EXPECT_EQ(state.value("pending").toInt(), 0);
    if (interruption == kNewTrack) {
      EXPECT_EQ(shown.count(), 1) << "only the new track is reported shown";
      const QVariantList line = state.value("line").toList();
      ASSERT_EQ(line.size(), 5);
      for (const QVariant& vertex : line) EXPECT_GE(vertex.toList().value(0).toDouble(), 51.5);
      EXPECT_EQ(Calls.last(), QStringLiteral("mapFitBounds(51.5,51.50036,-0.5,-0.5)"));
    } else {
      EXPECT_EQ(shown.count(), 0);
      EXPECT_TRUE(state.value("line").isNull());
      EXPECT_EQ(Calls.last(), QStringLiteral("clearMarker()")) << Calls.join('\n').toStdString();
    }
  }
}

TEST_F(MapWindowTest, ExternalMapOpensTheConfiguredAddressOfTheShownView) {
  appData.ChildWindowInfo.MapDefaultInfo.SetMapType("SATELLITE");
  appData.ChildWindowInfo.MapDefaultInfo.SetZoom(15);
  ShowAndLoad();
  // No satellite source is set: the road map's tiles stand in.
  EXPECT_TRUE(State().value("tileUrl").toString().startsWith(server.BaseUrl() + "/tiles/"));
  QUrl opened;
  form->SetUrlOpener([&](const QUrl& url) { opened = url; });
  form->OpenExternalMap();
  QTRY_VERIFY_WITH_TIMEOUT(!opened.isEmpty(), 10000);
  EXPECT_EQ(opened.toString(), "https://maps.google.com/?ll=35.6815,139.7664&z=15&t=k");
  EXPECT_EQ(form->MapTypeId(), "SATELLITE");
}

}  // namespace
}  // namespace hakuvo::test

namespace hakuvo::test {
namespace {

// A window closed before its page finished loading makes the map when it shows again.
TEST_F(MapWindowTest, PageLoadedWhileHiddenMakesTheMapOnTheNextShow) {
  QSignalSpy loaded(form.get(), &TMapForm::MapLoaded);
  form->show();
  form->hide();
  QTRY_VERIFY_WITH_TIMEOUT(form->Browser() != nullptr && Eval("typeof loadMap").toString() == "function", 30000);
  EXPECT_EQ(loaded.count(), 0);
  EXPECT_FALSE(form->IsLoadMap());
  form->show();
  EXPECT_EQ(loaded.count(), 1);
  EXPECT_EQ(State().value("zoom").toInt(), 13);
}

}  // namespace
}  // namespace hakuvo::test
