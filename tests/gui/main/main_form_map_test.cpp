#include <QAction>
#include <QLineEdit>
#include <QRadioButton>

#include "core/model/act_data.h"
#include "core/model/category_type.h"
#include "gui/list/act_list_model.h"
#include "gui/map/google_map_form.h"
#include "gui/map/map_default_dialog.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

class MainFormMapTest : public MainFormTest {
 protected:
  TMainForm& OpenOutings() {
    const std::filesystem::path diary = Dir / "diary.hkvj";
    WriteDiary(diary, TenOutings());
    return MakeForm({QString::fromStdString(diary.string())});
  }
};

TEST_F(MainFormMapTest, SelectedOutingsPlaceIsMarkedAndAPlacelessOneClearsTheMap) {
  TMainForm& form = OpenOutings();
  auto* map = dynamic_cast<TGoogleMapForm*>(form.Docks().Form(QStringLiteral("GoogleMapForm")));
  ASSERT_NE(map, nullptr) << "the factory makes the real map window";
  TActData* placed = form.ListModel()->Act(2);
  placed->Place.Latitude = 35.1;
  placed->Place.Longitude = -0.25;
  form.SelectRow(2);
  EXPECT_DOUBLE_EQ(map->Latitude(), 35.1);
  EXPECT_DOUBLE_EQ(map->Longitude(), -0.25);
  EXPECT_EQ(map->CategoryType(), ctJogging);

  TFileLink shown;
  map->SetLinkData(&shown);
  form.SelectRow(0);
  EXPECT_EQ(map->LinkData(), nullptr) << "the map lets go of what it showed";
  EXPECT_DOUBLE_EQ(map->Latitude(), 35.1) << "a place of 0, 0 is not marked";
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
