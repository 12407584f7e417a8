#include "gui/record/thing_list_select_dialog.h"

#include "core/model/link_data.h"
#include "record_dialog_test_util.h"

namespace hakuvo::test {
namespace {

class ThingListSelect : public RecordDialogTest {
 protected:
  void SetUp() override {
    Shoes.SetName("シューズ");
    Shoes.SetCategory("ジョギング;ウォーキング");
    Rod.SetName("釣り竿");
    Rod.SetCategory("釣り");
    Towel.SetName("タオル");
    Bike.SetName("ロードバイク");
    Bike.SetCategory("自転車;ジョギングX");
    for (TThingLink* thing : {&Shoes, &Rod, &Towel, &Bike}) Things.Add(thing);
  }

  static QStringList Titles(const TThingListSelectDialog& dialog) {
    QStringList titles;
    for (int row = 0; row < dialog.RowCount(); ++row) titles << QString::fromStdString(dialog.RowThing(row)->Title());
    return titles;
  }

  TThingLink Shoes, Rod, Towel, Bike;
  TLinkDataList Things;
};

TEST_F(ThingListSelect, OffersTheThingsOfTheCategoryAndThoseOfNone) {
  TThingListSelectDialog dialog;
  dialog.SetThingList(&Things);
  for (const auto& [category, expected] :
       std::initializer_list<std::pair<TCategoryType, QStringList>>{{ctJogging, {"シューズ", "タオル"}},
                                                                    {ctWalking, {"シューズ", "タオル"}},
                                                                    {ctFishing, {"釣り竿", "タオル"}},
                                                                    {ctBicycle, {"タオル", "ロードバイク"}}}) {
    dialog.SetCategory(category);
    dialog.FillRows();
    EXPECT_EQ(Titles(dialog), expected) << int(category);
  }
}

TEST_F(ThingListSelect, ThePresetIsSelectedByItsCodeAndOkNeedsASelection) {
  TThingListSelectDialog dialog;
  QStringList errors;
  dialog.SetErrorHandler([&](const QString& message) { errors << message; });
  dialog.SetThingList(&Things);
  dialog.SetCategory(ctJogging);
  dialog.FillRows();
  EXPECT_EQ(dialog.SelCount(), 0);
  EXPECT_EQ(dialog.ThingLink(), nullptr);
  EXPECT_FALSE(dialog.GetSelected(5));
  dialog.show();
  dialog.accept();
  EXPECT_EQ(errors, QStringList{QStringLiteral("リストを選択してください")});
  EXPECT_TRUE(dialog.isVisible());
  dialog.reject();

  TThingLink sameCode;
  sameCode.SetGuidCode(Towel.GuidCode());
  TThingListSelectDialog preset;
  preset.SetThingList(&Things);
  preset.SetCategory(ctJogging);
  preset.SetThingLink(&sameCode);
  preset.FillRows();
  EXPECT_EQ(preset.SelCount(), 1);
  EXPECT_TRUE(preset.GetSelected(1));
  EXPECT_EQ(preset.ThingLink(), &Towel);
}

}  // namespace
}  // namespace hakuvo::test
