#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <cstdlib>
#include <fstream>

#include "core/common/hakuvo_error.h"
#include "core/model/act_data.h"
#include "core/model/category_type.h"
#include "core/model/link_data.h"
#include "core/model/place.h"
#include "gui/list/act_list_model.h"
#include "gui/main/map_dock.h"
#include "gui/map_settings/map_default_dialog.h"
#include "main_form_fixture.h"

#include <QTest>

namespace hakuvo::test {
namespace {

class MainFormMapTest : public MainFormTest {
 protected:
  TMainForm& OpenOutings() {
    const std::filesystem::path diary = Dir / "diary.hkvj";
    WriteDiary(diary, TenOutings());
    return MakeForm({QString::fromStdString(diary.string())});
  }

  static TMapDock& MapDock(TMainForm& form) {
    auto* dock = dynamic_cast<TMapDock*>(form.Docks().Form(QStringLiteral("GoogleMapForm")));
    EXPECT_NE(dock, nullptr);
    return *dock;
  }

  // Whether a library of the web engine is mapped into this process.
  static bool WebEngineLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return false;
    return maps.readAll().contains("libQt6WebEngine");
  }
};

// The main window drives the map through its port alone: before the map is first shown, the
// port remembers the last selection, and the map made at the first show is told it then.
TEST_F(MainFormMapTest, SelectionBeforeTheFirstShowReachesTheMapWhenItIsMade) {
  TMainForm& form = OpenOutings();
  TMapDock& dock = MapDock(form);
  TActData* placed = form.ListModel()->Act(2);
  placed->Place.Latitude = 35.1;
  placed->Place.Longitude = -0.25;
  form.SelectRow(2);
  form.SelectRow(0);  // no place: the map is cleared
  form.SelectRow(2);
  EXPECT_EQ(MapsMade, 0) << "a hidden map is not made";
  EXPECT_EQ(dock.Map(), nullptr);

  form.Docks().ShowForm(&dock);
  Settle();
  ASSERT_EQ(MapsMade, 1);
  EXPECT_EQ(dock.Map(), &MapPort);
  const std::string jogging = CategoryNames()[ctJogging];
  EXPECT_EQ(MapPort.Calls, (std::vector<std::string>{"ClearMap", "SetMapCategory " + jogging, "PanTo 35.1 -0.25 clear",
                                                     "CreateMarker 35.1 -0.25 clear"}));

  // Once made, every call goes straight on; a place of 0, 0 only clears the map.
  MapPort.Calls.clear();
  form.SelectRow(0);
  ASSERT_FALSE(MapPort.Calls.empty());
  for (const std::string& call : MapPort.Calls) EXPECT_EQ(call, "ClearMap");
  form.Docks().CloseForm(&dock);
  form.Docks().ShowForm(&dock);
  Settle();
  EXPECT_EQ(MapsMade, 1) << "the map is made once";
}

TEST_F(MainFormMapTest, TheMainWindowNeverLoadsTheWebEngineItself) {
  TMainForm& form = OpenOutings();
  for (TDockingForm* window : form.DockingFormList()) form.Docks().ShowForm(window);
  Settle();
  EXPECT_EQ(MapsMade, 1);
  EXPECT_FALSE(WebEngineLoaded()) << "only the map module brings the web engine";
}

// A map that cannot be made (a missing module) says why in its place, once, and the rest of
// the window goes on; a place edited through it reports the same instead of a dialog.
TEST_F(MainFormMapTest, AMapThatCannotBeMadeSaysWhyAndTheWindowGoesOn) {
  CreateMapWindow = [](TAppData&, TCategoryInfoList&, QWidget*) -> TMapWindow {
    throw EHakuvoError("地図のモジュールを読み込めません: libhakuvo_map.so が見つかりません");
  };
  TMainForm& form = OpenOutings();
  TMapDock& dock = MapDock(form);
  form.Docks().ShowForm(&dock);
  Settle();
  EXPECT_EQ(dock.Problem(), QStringLiteral("地図のモジュールを読み込めません: libhakuvo_map.so が見つかりません"));
  form.SelectRow(3);
  form.Docks().CloseForm(&dock);
  form.Docks().ShowForm(&dock);
  Settle();
  EXPECT_EQ(MapsMade, 1) << "a failure is not tried again at every show";
  TPlace place;
  EXPECT_FALSE(dock.EditPlace(&form, place));
  EXPECT_EQ(Errors, QStringList{dock.Problem()});
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
}

TEST_F(MainFormMapTest, MapDefaultsCommandEditsTheSettingsInPlace) {
  TMainForm& form = OpenOutings();
  QAction* command = form.findChild<QAction*>(QStringLiteral("MapDefaultCommand"));
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->text(), QStringLiteral("地図初期表示設定(&M)..."));
  EXPECT_TRUE(command->shortcut().isEmpty());
  int dialogs = 0;
  RunDialog = [&](QDialog& dialog) {
    ++dialogs;
    auto& defaults = dynamic_cast<TMapDefaultDialog&>(dialog);
    EXPECT_EQ(defaults.MapZoomEdit()->text(), "13");
    defaults.MapZoomEdit()->setText(QStringLiteral("zoom"));
    defaults.accept();
    EXPECT_EQ(defaults.result(), QDialog::Rejected) << "a failed check keeps it open";
    return defaults.result();
  };
  command->trigger();
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(Errors, QStringList{QStringLiteral("[ズーム]が数値ではありません")});
  EXPECT_EQ(form.AppData().ChildWindowInfo.MapDefaultInfo.Zoom(), 13);
}

}  // namespace
}  // namespace hakuvo::test
