// The main window with the real map window in its place (the program loads it as a module;
// here it is linked in): what a user sees after choosing an outing.
#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdlib>
#include <fstream>

#include "core/model/act_data.h"
#include "core/model/link_data.h"
#include "gui/list/act_list_model.h"
#include "gui/map/map_form.h"
#include "main/main_form_fixture.h"
#include "map/map_fixture.h"
#include "support/screenshot.h"

#include <QTest>

namespace hakuvo::test {
namespace {

class MainFormRealMapTest : public MainFormTest {
 protected:
  MainFormRealMapTest() {
    CreateMapWindow = [this](TAppData& appData, TCategoryInfoList& categories, QWidget* parent) {
      Map = new TMapForm(appData, categories, parent);
      return TMapWindow{Map, Map};
    };
  }

  TMainForm& OpenOutings() {
    const std::filesystem::path diary = Dir / "diary.hkvj";
    WriteDiary(diary, TenOutings());
    return MakeForm({QString::fromStdString(diary.string())});
  }

  // A short walk north from 35.6, 139.7, one point a minute.
  std::string WriteTrack(const std::string& name) {
    const std::filesystem::path path = Dir / name;
    std::ofstream out(path);
    out << "<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>";
    for (int i = 0; i < 6; ++i) {
      out << "<trkpt lat=\"" << 35.6 + 0.001 * i << "\" lon=\"139.7\"><time>2024-05-03T07:0" << i
          << ":00Z</time></trkpt>";
    }
    out << "</trkseg></trk></gpx>";
    return path.string();
  }

  TMapForm* Map = nullptr;
};

// An outing made by dropping a track has no place: choosing it draws its track, which the place
// (0, 0) must not wipe out. The link window stays hidden, as it is for a new user.
TEST_F(MainFormRealMapTest, ChoosingAnOutingWithATrackDrawsTheTrackOnTheShownMap) {
  TMainForm& form = OpenOutings();
  TDockingForm* dock = form.Docks().Form(QStringLiteral("GoogleMapForm"));
  ASSERT_NE(dock, nullptr);
  form.Docks().ShowForm(dock);
  for (int i = 0; i < 100 && Map == nullptr; ++i) QTest::qWait(10);
  ASSERT_NE(Map, nullptr) << "the map is made when it is first shown";
  TMapForm* map = Map;
  QSignalSpy loaded(map, &TMapForm::MapLoaded);
  ASSERT_TRUE(map->IsLoadMap() || loaded.count() > 0 || loaded.wait(30000)) << "the map page did not load";
  ASSERT_FALSE(form.Docks().IsFormShown(form.Docks().Form(QStringLiteral("LinkForm"))));

  auto track = std::make_unique<TGpsFileLink>();
  track->FileName = WriteTrack("run.gpx");
  TGpsFileLink* link = track.get();
  form.FileList().Add(std::move(track));
  TActData* outing = form.ListModel()->Act(2);
  outing->LinkDataList.Add(link);
  ASSERT_EQ(outing->Place.Latitude, 0);

  QSignalSpy shown(map, &TMapForm::TrackShown);
  form.SelectRow(2);
  EXPECT_EQ(map->LinkData(), link);
  ASSERT_TRUE(shown.count() > 0 || shown.wait(30000)) << "the track was not drawn";
  QVariantList line;
  for (int i = 0; i < 100 && line.size() < 6; ++i) {
    line = EvalInPage(*map, QStringLiteral("mapState().line")).toList();
    if (line.size() < 6) QTest::qWait(50);
  }
  ASSERT_EQ(line.size(), 6) << "every point of the track is on the page";
  EXPECT_NEAR(line.front().toList().value(0).toDouble(), 35.6, 1e-9);
  EXPECT_NEAR(line.back().toList().value(0).toDouble(), 35.605, 1e-9);
  QTest::qWait(300);
  SaveScreenshot(*map, QStringLiteral("map_after_selection"));

  // Choosing it again, with its link already the link window's first, draws it again.
  form.SelectRow(0);
  EXPECT_EQ(map->LinkData(), nullptr);
  form.SelectRow(2);
  EXPECT_EQ(map->LinkData(), link);
}

}  // namespace
}  // namespace hakuvo::test
