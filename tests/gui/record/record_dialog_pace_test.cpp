// The record dialog's pace: worked out from the fields as they are typed, beside the distance, for
// runs and walks only.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/model/act_data.h"
#include "core/model/category_info.h"
#include "gui/record/record_dialogs.h"
#include "record_dialog_test_util.h"
#include "support/screenshot.h"

namespace hakuvo {
namespace {

class RecordDialogPace : public test::RecordDialogTest {};

TEST_F(RecordDialogPace, FollowsTheDistanceAndTimesAsTheyAreTyped) {
  auto info = std::make_unique<TEnergyConsumptionCategoryInfo>();
  info->SetCategory(ctJogging);
  TDateEnergyConsumptionRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  auto act = CreateActData(ctJogging);
  auto& record = dynamic_cast<TTimeRecord&>(*act->RecordData);
  record.StartTime = 7 / 24.0;
  record.EndTime = 8 / 24.0;
  record.SetData(12);
  dialog.SetActData(*act);
  ShowAndSettle(dialog);

  QLineEdit* pace = dialog.PaceEdit();
  EXPECT_TRUE(pace->isVisible());
  EXPECT_TRUE(pace->isReadOnly());
  EXPECT_EQ(dialog.CaptionOf(pace)->text(), QStringLiteral("ペース(分/km)"));
  EXPECT_EQ(pace->y(), dialog.RecordEdit()->y());
  EXPECT_GT(pace->x(), dialog.TaniEdit()->x() + dialog.TaniEdit()->width());
  EXPECT_EQ(pace->text(), QStringLiteral("5:00"));
  test::SaveScreenshot(dialog, QStringLiteral("record_dialog_pace"));
  dialog.RecordEdit()->setText(QStringLiteral("10"));
  EXPECT_EQ(pace->text(), QStringLiteral("6:00"));
  dialog.EndTimeEdit()->setText(QStringLiteral("07:55"));
  EXPECT_EQ(pace->text(), QStringLiteral("5:30"));
  dialog.RecordEdit()->setText(QStringLiteral("0"));
  EXPECT_EQ(pace->text(), QString());
  dialog.RecordEdit()->setText(QStringLiteral("abc"));
  EXPECT_EQ(pace->text(), QString());
  // Nothing the user could type goes into the record through it.
  dialog.RecordEdit()->setText(QStringLiteral("10"));
  EXPECT_EQ(dialog.ActData().RecordData->Data(), 10);
}

TEST_F(RecordDialogPace, CyclistsSeeNone) {
  auto info = std::make_unique<TEnergyConsumptionCategoryInfo>();
  info->SetCategory(ctBicycle);
  TDateEnergyConsumptionRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(*CreateActData(ctBicycle));
  ShowAndSettle(dialog);
  EXPECT_FALSE(dialog.PaceEdit()->isVisible());
}

}  // namespace
}  // namespace hakuvo
