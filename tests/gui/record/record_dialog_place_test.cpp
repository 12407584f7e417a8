#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/model/act_data.h"
#include "core/model/place.h"
#include "gui/document/window_ports.h"
#include "record_dialog_test_util.h"

namespace hakuvo::test {
namespace {

// The map as the record dialog sees it: its place dialog answers with a prepared place.
class TFakeMap : public TMapPort {
 public:
  void SetMapCategory(const std::string&) override {}
  void SetMapLinkData(const TLinkData*) override {}
  void PanTo(double, double, bool) override {}
  void CreateMarker(double, double, bool) override {}
  void ClearMap() override {}
  bool EditPlace(QWidget* parent, TPlace& place) override {
    Parent = parent;
    Given.Assign(place);
    ++Calls;
    if (!Accept) return false;
    place.Title = "大阪駅";
    place.Latitude = 34.7025;
    place.Longitude = 135.4959;
    return true;
  }

  QWidget* Parent = nullptr;
  TPlace Given;
  int Calls = 0;
  bool Accept = true;
};

TEST_F(RecordDialogTest, DoubleClickOnThePlaceCaptionEditsThePlaceThroughTheMap) {
  auto info = FullCategory();
  TActData act;
  act.Place.Title = "東京駅";
  act.Place.Address = "千代田区丸の内";
  act.Place.Latitude = 35.6812;
  act.Place.Longitude = 139.7671;
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(act);
  ShowAndSettle(dialog);
  QLabel* caption = dialog.CaptionOf(dialog.PlaceEdit());
  ASSERT_NE(caption, nullptr);

  // Without a map the caption does nothing.
  QTest::mouseDClick(caption, Qt::LeftButton);
  EXPECT_EQ(dialog.PlaceEdit()->text(), QStringLiteral("東京駅"));

  TFakeMap map;
  map.Accept = false;
  dialog.SetMapPort(&map);
  dialog.PlaceEdit()->setText(QStringLiteral("東京駅 丸の内口"));
  QTest::mouseDClick(caption, Qt::LeftButton);
  ASSERT_EQ(map.Calls, 1);
  EXPECT_EQ(map.Parent, &dialog);
  // The dialog is given the field's text and the action's position.
  EXPECT_EQ(map.Given.Title, "東京駅 丸の内口");
  EXPECT_DOUBLE_EQ(static_cast<double>(map.Given.Latitude), 35.6812);
  EXPECT_EQ(dialog.PlaceEdit()->text(), QStringLiteral("東京駅 丸の内口")) << "cancel changes nothing";

  map.Accept = true;
  QTest::mouseDClick(caption, Qt::LeftButton);
  EXPECT_EQ(dialog.PlaceEdit()->text(), QStringLiteral("大阪駅"));
  const TActData& result = dialog.ActData();
  EXPECT_EQ(result.Place.Title, "大阪駅");
  EXPECT_EQ(result.Place.Address, "千代田区丸の内");
  EXPECT_DOUBLE_EQ(static_cast<double>(result.Place.Latitude), 34.7025);
  EXPECT_DOUBLE_EQ(static_cast<double>(result.Place.Longitude), 135.4959);
}

}  // namespace
}  // namespace hakuvo::test
