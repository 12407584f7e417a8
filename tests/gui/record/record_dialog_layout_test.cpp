#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "core/model/act_data.h"
#include "core/settings/app_data.h"
#include "gui/record/record_dialog_layout.h"
#include "gui/record/record_dialog_link_list.h"
#include "gui/record/record_dialogs.h"
#include "record_dialog_test_util.h"
#include "support/screenshot.h"

namespace hakuvo::test {
namespace {

using RecordDialogLayout = RecordDialogTest;

int Bottom(const QWidget* widget) { return widget->y() + widget->height(); }

TEST_F(RecordDialogLayout, WithEveryFlagOffOnlyTitlePlaceAndMemoShowAndTheMemoFillsThePanel) {
  auto info = BareCategory();
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  ShowAndSettle(dialog);

  EXPECT_EQ(dialog.TitleEdit()->y(), 25);
  EXPECT_EQ(dialog.PlaceEdit()->y(), 62);
  EXPECT_EQ(dialog.Memo()->y(), dialog.PlaceEdit()->y() + 55);
  EXPECT_EQ(dialog.CaptionOf(dialog.Memo())->y(), dialog.Memo()->y() - 19);
  EXPECT_EQ(Bottom(dialog.Memo()), dialog.RecordPanel()->height() - 18);
  for (QWidget* field :
       std::initializer_list<QWidget*>{dialog.RecordEdit(), dialog.TaniEdit(), dialog.TimeEdit(), dialog.WeatherCombo(),
                                       dialog.TemperatureEdit(), dialog.WindDirectionCombo(), dialog.WindSpeedEdit()}) {
    EXPECT_TRUE(field->isHidden()) << field->objectName().toStdString();
    EXPECT_TRUE(dialog.CaptionOf(field)->isHidden()) << field->objectName().toStdString();
  }

  // The memo keeps reaching down to 18 pixels above the bottom when the dialog grows.
  dialog.resize(dialog.width() + 50, dialog.height() + 120);
  QCoreApplication::processEvents();
  EXPECT_EQ(Bottom(dialog.Memo()), dialog.RecordPanel()->height() - 18);
}

TEST_F(RecordDialogLayout, WithEveryFlagOnTheRowsStand55PixelsApartWithTheirLabels) {
  auto info = FullCategory();
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  ShowAndSettle(dialog);

  const int place = dialog.PlaceEdit()->y();
  EXPECT_EQ(dialog.RecordEdit()->y(), place + 55);
  EXPECT_EQ(dialog.TaniEdit()->y(), place + 55);
  EXPECT_EQ(dialog.TimeEdit()->y(), place + 55);
  EXPECT_EQ(dialog.WeatherCombo()->y(), place + 110);
  EXPECT_EQ(dialog.WindDirectionCombo()->y(), place + 165);
  EXPECT_EQ(dialog.Memo()->y(), place + 220);
  EXPECT_EQ(dialog.TimeEdit()->x(), 213);
  EXPECT_EQ(dialog.CaptionOf(dialog.TemperatureEdit())->y(), dialog.TemperatureEdit()->y() - 19);
  // The unit label beside the temperature stands 3 pixels lower than its field.
  const auto* celsius = dialog.RecordPanel()->findChild<QLabel*>(QStringLiteral("TemperatureEditUnit"));
  ASSERT_NE(celsius, nullptr);
  EXPECT_EQ(celsius->text(), QStringLiteral("℃"));
  EXPECT_EQ(celsius->y(), dialog.TemperatureEdit()->y() + 3);
  EXPECT_EQ(celsius->x(), dialog.TemperatureEdit()->x() + dialog.TemperatureEdit()->width() + 6);
}

TEST_F(RecordDialogLayout, TheTimeFieldSlidesOverHiddenColumnsWithItsCaption) {
  struct TCase {
    const char* name;
    bool hideRecord;
    bool hideTani;
    int taniLeft;
    int timeLeft;
  };
  const TCase cases[] = {
      {"both shown", false, false, 126, 213},
      {"unit hidden", false, true, 126, 213},
      {"record hidden", true, false, 20, 213},
      {"both hidden", true, true, 126, 20},
  };
  for (const TCase& c : cases) {
    auto info = FullCategory();
    TRecordDialog dialog;
    dialog.SetCategoryInfo(*info);
    dialog.SetActData(TActData());
    ShowAndSettle(dialog);
    dialog.RecordEdit()->setVisible(!c.hideRecord);
    dialog.TaniEdit()->setVisible(!c.hideTani);
    dialog.CompactLayout();
    EXPECT_EQ(dialog.TaniEdit()->x(), c.taniLeft) << c.name;
    EXPECT_EQ(dialog.TimeEdit()->x(), c.timeLeft) << c.name;
    EXPECT_EQ(dialog.CaptionOf(dialog.TimeEdit())->x(), c.timeLeft) << c.name;
  }
}

TEST_F(RecordDialogLayout, ACategoryWithoutRecordButWithTimeShowsTheTimeInTheFirstColumn) {
  auto info = BareCategory();
  info->SetIsTime(true);
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  ShowAndSettle(dialog);

  EXPECT_EQ(dialog.TimeEdit()->x(), 20);
  EXPECT_EQ(dialog.TimeEdit()->y(), dialog.PlaceEdit()->y() + 55);
  const QLabel* caption = dialog.CaptionOf(dialog.TimeEdit());
  EXPECT_EQ(caption->x(), 20);
  EXPECT_EQ(caption->y(), dialog.TimeEdit()->y() - 19);
  EXPECT_EQ(dialog.Memo()->y(), dialog.TimeEdit()->y() + 55);
}

TEST_F(RecordDialogLayout, DoubleClickOnTheRecordCaptionShowsTheTimeRow) {
  auto info = FullCategory();
  info->SetIsTime(false);
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  ShowAndSettle(dialog);
  ASSERT_TRUE(dialog.TimeEdit()->isHidden());

  QTest::mouseDClick(dialog.CaptionOf(dialog.RecordEdit()), Qt::LeftButton);
  EXPECT_FALSE(dialog.TimeEdit()->isHidden());
  EXPECT_FALSE(dialog.CaptionOf(dialog.TimeEdit())->isHidden());
  EXPECT_EQ(dialog.TimeEdit()->y(), dialog.RecordEdit()->y());
  EXPECT_EQ(dialog.TimeEdit()->x(), 213);
}

TEST_F(RecordDialogLayout, TheDateWalkingDialogDropsItsHiddenRowsAndKeepsThePitch) {
  auto info = std::make_unique<TWalkingCategoryInfo>();
  info->SetCategory(ctWalking);
  info->SetIsWeight(false);
  info->SetIsPedometer(false);
  TDateWalkingRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TWalkingAct());
  ShowAndSettle(dialog);

  EXPECT_TRUE(dialog.WeightEdit()->isHidden());
  EXPECT_TRUE(dialog.PedometerEdit()->isHidden());
  EXPECT_TRUE(dialog.PedometerTaniEdit()->isHidden());
  EXPECT_EQ(dialog.DateTimePicker()->y(), 25);
  EXPECT_EQ(dialog.TitleEdit()->y(), 61);
  EXPECT_EQ(dialog.PlaceEdit()->y(), 98);
  // Start and end times, then the distance; the memo follows the lowest shown row.
  EXPECT_EQ(dialog.TimeEdit()->y(), 98 + 55);
  EXPECT_EQ(dialog.EndTimeEdit()->y(), 98 + 55);
  EXPECT_EQ(dialog.RecordEdit()->y(), 98 + 110);
  EXPECT_EQ(dialog.Memo()->y(), dialog.RecordEdit()->y() + 55);
  EXPECT_EQ(Bottom(dialog.Memo()), dialog.RecordPanel()->height() - 18);
}

TEST_F(RecordDialogLayout, TheDateDialogsOfferThingsPersonsAndFilesToLink) {
  auto info = std::make_unique<TEnergyConsumptionCategoryInfo>();
  info->SetCategory(ctJogging);
  TDateEnergyConsumptionRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TJoggingAct());
  ShowAndSettle(dialog);
  EXPECT_TRUE(dialog.AddThingAction()->isVisible());
  EXPECT_TRUE(dialog.AddPersonAction()->isVisible());
  EXPECT_TRUE(dialog.AddFileAction()->isVisible());

  TFishingRecordDialog fishing;
  EXPECT_TRUE(fishing.AddThingAction()->isVisible());
}

TEST_F(RecordDialogLayout, CreateRecordDialogPicksTheClassOfTheCategory) {
  EnsureApplication();
  struct TCase {
    TCategoryType category;
    const char* className;
  };
  const TCase cases[] = {
      {ctJogging, "hakuvo::TDateEnergyConsumptionRecordDialog"},
      {ctBicycle, "hakuvo::TDateEnergyConsumptionRecordDialog"},
      {ctWalking, "hakuvo::TDateWalkingRecordDialog"},
      {ctSwimming, "hakuvo::TEnergyConsumptionRecordDialog"},
      {ctFishing, "hakuvo::TFishingRecordDialog"},
      {ctShopping, "hakuvo::TShoppingRecordDialog"},
      {ctWeight, "hakuvo::TTaniFixRecordDialog"},
      {ctFile, "hakuvo::TTaniFixRecordDialog"},
      {ctCalorie, "hakuvo::TTaniFixRecordDialog"},
      {ctVehicle, "hakuvo::TVehicleRecordDialog"},
      {ctHotel, "hakuvo::TEvaluationRecordDialog"},
      {ctRestaurant, "hakuvo::TEvaluationRecordDialog"},
      {ctSweets, "hakuvo::TEvaluationRecordDialog"},
      {ctSightseeing, "hakuvo::TSightseeingRecordDialog"},
      {ctBook, "hakuvo::TBookRecordDialog"},
      {ctBloodPressure, "hakuvo::TBloodPressureRecordDialog"},
      {ctUserCategory, "hakuvo::TUserCategoryRecordDialog"},
      {static_cast<TCategoryType>(40), "hakuvo::TUserCategoryRecordDialog"},
  };
  for (const TCase& c : cases) {
    std::unique_ptr<TRecordDialog> dialog = CreateRecordDialog(nullptr, c.category);
    EXPECT_STREQ(dialog->metaObject()->className(), c.className) << int(c.category);
  }
}

TEST_F(RecordDialogLayout, TheStoredLayoutIsRestoredAndStoredBack) {
  TAppData settings(QCoreApplication::applicationDirPath().toStdString());
  TChildWindowInfo& info = settings.ChildWindowInfo;
  info.RecordDialogLeft = 30;
  info.RecordDialogTop = 40;
  info.RecordDialogWidth = 700;
  info.RecordDialogHeight = 520;
  info.RecordDialogLinkPanelVisible = true;
  info.RecordDialogLinkPanelWidth = 260;
  info.RecordDialogLinkPreviewPanelHeight = 120;
  info.LinkListTitle = 90;
  info.LinkListLink = 60;
  info.LinkListNote = 140;

  auto category = FullCategory();
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*category);
  dialog.SetActData(TActData());
  RestoreRecordDialogLayout(dialog, settings);
  ShowAndSettle(dialog);
  EXPECT_EQ(dialog.pos(), QPoint(30, 40));
  EXPECT_EQ(dialog.size(), QSize(700, 520));
  EXPECT_TRUE(dialog.IsLinkPanelVisible());
  EXPECT_EQ(dialog.LinkPanelWidth(), 260);
  EXPECT_EQ(dialog.PreviewHeight(), 120);

  TAppData stored(QCoreApplication::applicationDirPath().toStdString());
  StoreRecordDialogLayout(dialog, stored);
  const TChildWindowInfo& back = stored.ChildWindowInfo;
  EXPECT_EQ(back.RecordDialogLeft, 30);
  EXPECT_EQ(back.RecordDialogTop, 40);
  EXPECT_EQ(back.RecordDialogWidth, 700);
  EXPECT_EQ(back.RecordDialogHeight, 520);
  EXPECT_TRUE(back.RecordDialogLinkPanelVisible);
  EXPECT_EQ(back.RecordDialogLinkPanelWidth, 260);
  EXPECT_EQ(back.RecordDialogLinkPreviewPanelHeight, 120);
  EXPECT_EQ(back.LinkListTitle, 90);
  EXPECT_EQ(back.LinkListLink, 60);
  EXPECT_EQ(back.LinkListNote, 140);
}

// リンク(&K) on a dialog on the screen: the form keeps its width, the dialog grows by the panel
// (no further than the screen) and shrinks back when the panel goes.
TEST_F(RecordDialogLayout, TheLinkPanelWidensTheDialogInsteadOfSqueezingTheForm) {
  auto category = FullCategory();
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*category);
  dialog.SetActData(TActData());
  dialog.SetLinkPanelWidth(280);
  dialog.SetLinkPanelVisible(false);
  // Narrow enough that the panel fits beside it on the smallest screen a test runs on.
  dialog.resize(440, 450);
  ShowAndSettle(dialog);
  ASSERT_FALSE(dialog.IsLinkPanelVisible());
  const int formWidth = dialog.RecordPanel()->width();
  const int dialogWidth = dialog.width();
  dialog.LinkButton()->click();
  ShowAndSettle(dialog);
  ASSERT_TRUE(dialog.IsLinkPanelVisible());
  EXPECT_EQ(dialog.RecordPanel()->width(), formWidth);
  EXPECT_EQ(dialog.LinkPanelWidth(), 280);
  EXPECT_GE(dialog.width(), dialogWidth + 280);
  SaveScreenshot(dialog, QStringLiteral("record_dialog_link_panel"));
  const QRect screen = dialog.screen()->availableGeometry();
  EXPECT_LE(dialog.frameGeometry().right(), screen.right());
  dialog.LinkButton()->click();
  ShowAndSettle(dialog);
  EXPECT_FALSE(dialog.IsLinkPanelVisible());
  EXPECT_EQ(dialog.width(), dialogWidth);
  EXPECT_EQ(dialog.RecordPanel()->width(), formWidth);

  // Where the screen ends, the dialog stops growing and stays on it.
  dialog.resize(screen.width() - 100, 450);
  ShowAndSettle(dialog);
  dialog.LinkButton()->click();
  ShowAndSettle(dialog);
  EXPECT_LE(dialog.frameGeometry().width(), screen.width());
  EXPECT_GE(dialog.frameGeometry().left(), screen.left());
  EXPECT_LE(dialog.frameGeometry().right(), screen.right());
}

TEST_F(RecordDialogLayout, NeverStoredBoundsKeepTheDialogCentredAndTheLinkPanelFollowsItsFlag) {
  TAppData settings(QCoreApplication::applicationDirPath().toStdString());
  settings.ChildWindowInfo.RecordDialogLinkPanelVisible = false;
  settings.ChildWindowInfo.RecordDialogLinkPanelWidth = 300;
  settings.ChildWindowInfo.RecordDialogLinkPreviewPanelHeight = 200;
  auto category = FullCategory();
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*category);
  dialog.SetActData(TActData());
  RestoreRecordDialogLayout(dialog, settings);
  ShowAndSettle(dialog);
  EXPECT_EQ(dialog.size(), QSize(624, 450));
  EXPECT_FALSE(dialog.IsLinkPanelVisible());
  // The record panel takes the whole width.
  EXPECT_GT(dialog.RecordPanel()->width(), 600);
}

}  // namespace
}  // namespace hakuvo::test
