#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/common/date_time.h"
#include "core/model/act_data.h"
#include "gui/record/record_dialogs.h"
#include "record_dialog_test_util.h"

namespace hakuvo::test {
namespace {

using RecordDialogChecks = RecordDialogTest;

TEST_F(RecordDialogChecks, OkIsRefusedWithEveryFailedCheckInOrderAndTheDialogStaysOpen) {
  auto info = FullCategory();
  TRecordDialog dialog;
  CollectErrors(dialog);
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  ShowAndSettle(dialog);
  dialog.RecordEdit()->setText(QStringLiteral("abc"));
  dialog.TimeEdit()->clear();
  dialog.TemperatureEdit()->clear();
  dialog.WindSpeedEdit()->setText(QStringLiteral("3m"));

  dialog.accept();
  EXPECT_EQ(Errors,
            QStringList({QStringLiteral("[記録]が数値ではありません"), QStringLiteral("[時刻]が正しくありません"),
                         QStringLiteral("[温度]が数値ではありません"), QStringLiteral("[風速]が数値ではありません")}));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  // Mending the fields lets OK through.
  Errors.clear();
  dialog.RecordEdit()->setText(QStringLiteral("12.5"));
  dialog.TimeEdit()->setText(QStringLiteral("07:05"));
  dialog.TemperatureEdit()->setText(QStringLiteral("-3.5"));
  dialog.WindSpeedEdit()->setText(QStringLiteral("4"));
  dialog.accept();
  EXPECT_TRUE(Errors.isEmpty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(RecordDialogChecks, HiddenFieldsAreCheckedTooButHoldTheirLoadedValues) {
  auto info = BareCategory();
  TRecordDialog dialog;
  CollectErrors(dialog);
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  EXPECT_TRUE(dialog.CheckInput());
  EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(RecordDialogChecks, TimeFieldsAcceptOnlyWholeValidTimes) {
  struct TCase {
    const char* text;
    bool valid;
  };
  const TCase cases[] = {{"07:05", true}, {"7:05", true},   {" 7:05", true}, {"23:59", true},
                         {"", false},     {"24:00", false}, {"12:3", false}, {"12:60", false}};
  for (const TCase& c : cases) {
    auto info = FullCategory();
    TRecordDialog dialog;
    Errors.clear();
    CollectErrors(dialog);
    dialog.SetCategoryInfo(*info);
    dialog.SetActData(TActData());
    dialog.TimeEdit()->clear();
    dialog.TimeEdit()->insert(QString::fromUtf8(c.text));
    EXPECT_EQ(dialog.CheckInput(), c.valid) << c.text << " shown as " << dialog.TimeEdit()->displayText().toStdString();
    if (!c.valid) {
      EXPECT_EQ(Errors, QStringList{QStringLiteral("[時刻]が正しくありません")}) << c.text;
    }
  }
}

TEST_F(RecordDialogChecks, TheWalkingChecksFollowTheBaseChecksInTheOrderOfTheClassLine) {
  auto info = std::make_unique<TWalkingCategoryInfo>();
  info->SetCategory(ctWalking);
  TDateWalkingRecordDialog dialog;
  CollectErrors(dialog);
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TWalkingAct());
  dialog.RecordEdit()->setText(QStringLiteral("x"));
  dialog.EndTimeEdit()->clear();
  dialog.WeightEdit()->setText(QStringLiteral("六十"));
  dialog.PedometerEdit()->setText(QStringLiteral("12.5"));
  EXPECT_FALSE(dialog.CheckInput());
  EXPECT_EQ(Errors,
            QStringList({QStringLiteral("[記録]が数値ではありません"), QStringLiteral("[終了時刻]が正しくありません"),
                         QStringLiteral("[体重]が数値ではありません"), QStringLiteral("[歩数]が数値ではありません")}));
}

TEST_F(RecordDialogChecks, AWalkWith8250StepsAnd65Point5KilogramsShowsAndPassesUnchanged) {
  auto info = std::make_unique<TWalkingCategoryInfo>();
  info->SetCategory(ctWalking);
  info->SetIsWeight(true);
  TWalkingAct walk;
  walk.Title = "朝の散歩";
  auto& record = static_cast<TWalkingRecord&>(*walk.RecordData);
  record.Pedometer = 8250;
  record.Weight = 65.5L;
  record.SetData(5.2L);
  record.StartTime = EncodeTime(6, 30, 0);
  record.EndTime = EncodeTime(7, 45, 0);
  record.Tani = info->Tani;  // a new action takes its category's units

  TDateWalkingRecordDialog dialog;
  CollectErrors(dialog);
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(walk);
  dialog.SetDate(EncodeDate(2024, 5, 1));
  ShowAndSettle(dialog);

  EXPECT_EQ(dialog.PedometerEdit()->text(), QStringLiteral("8250"));
  EXPECT_EQ(dialog.PedometerTaniEdit()->text(), QStringLiteral("歩"));
  EXPECT_EQ(dialog.WeightEdit()->text(), QStringLiteral("65.5"));
  EXPECT_EQ(dialog.WeightTaniEdit()->text(), QStringLiteral("kg"));
  EXPECT_EQ(dialog.RecordEdit()->text(), QStringLiteral("5.2"));
  EXPECT_EQ(dialog.TaniEdit()->text(), QStringLiteral("km"));
  EXPECT_EQ(dialog.TimeEdit()->text(), QStringLiteral("06:30"));
  EXPECT_EQ(dialog.EndTimeEdit()->text(), QStringLiteral("07:45"));
  EXPECT_FALSE(dialog.WeightEdit()->isHidden());
  EXPECT_FALSE(dialog.PedometerEdit()->isHidden());

  dialog.accept();
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join(QStringLiteral(" / ")).toStdString();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Date(), EncodeDate(2024, 5, 1));

  TActData& result = dialog.ActData();
  const auto& stored = dynamic_cast<const TWalkingRecord&>(*result.RecordData);
  EXPECT_EQ(stored.Pedometer, 8250);
  EXPECT_EQ(stored.Weight, 65.5L);
  EXPECT_EQ(stored.Data(), 5.2L);
  EXPECT_EQ(TimeToStrHM(stored.StartTime), "06:30");
  EXPECT_EQ(TimeToStrHM(stored.EndTime), "07:45");
  EXPECT_EQ(result.Title, "朝の散歩");
  EXPECT_EQ(result.Category, ctWalking);
}

TEST_F(RecordDialogChecks, FieldsAreWrittenBackIntoTheWorkingCopyOnly) {
  auto info = FullCategory();
  TActData act;
  act.Title = "before";
  act.WindDirection = -1;
  act.Memo = {"line one", "line two"};
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(act);

  EXPECT_EQ(dialog.WindDirectionCombo()->currentIndex(), -1);
  EXPECT_EQ(dialog.WindDirectionCombo()->count(), 16);
  EXPECT_EQ(dialog.WindDirectionCombo()->itemText(0), QStringLiteral("北"));
  EXPECT_EQ(dialog.WindDirectionCombo()->itemText(15), QStringLiteral("北北西"));
  EXPECT_EQ(dialog.Memo()->toPlainText(), QStringLiteral("line one\nline two"));

  dialog.TitleEdit()->setText(QStringLiteral("after"));
  dialog.PlaceEdit()->setText(QStringLiteral("河川敷"));
  dialog.WeatherCombo()->setCurrentText(QStringLiteral("薄曇り"));
  TActData& result = dialog.ActData();
  EXPECT_EQ(result.Title, "after");
  EXPECT_EQ(result.Place.Title, "河川敷");
  EXPECT_EQ(result.Weather, "薄曇り");
  EXPECT_EQ(result.WindDirection, -1);
  EXPECT_EQ(result.Memo, (TStringList{"line one", "line two"}));
  EXPECT_EQ(act.Title, "before");

  dialog.WindDirectionCombo()->setCurrentIndex(4);
  EXPECT_EQ(dialog.ActData().WindDirection, 4);
}

TEST_F(RecordDialogChecks, UnitsOfABuiltInCategoryOverwriteTheActionsButAUserCategoryKeepsItsOwn) {
  TCategoryInfo shopping;
  shopping.SetCategory(ctShopping);
  shopping.Tani = {"件", "円"};
  TCategoryInfo user;
  user.Tani = {"件", "杯"};
  TActData act;
  act.RecordData->Tani = {"回", "ドル"};

  // Applied again after loading, as the category settings button does.
  TShoppingRecordDialog builtIn;
  builtIn.SetActData(act);
  builtIn.SetCategoryInfo(shopping);
  EXPECT_EQ(builtIn.TaniEdit()->text(), QStringLiteral("円"));
  EXPECT_EQ(builtIn.ActData().RecordData->Tani, (std::vector<std::string>{"件", "円"}));
  EXPECT_EQ(builtIn.CaptionOf(builtIn.RecordEdit())->text(), QStringLiteral("価格"));
  EXPECT_FALSE(builtIn.TaniEdit()->isReadOnly());

  TUserCategoryRecordDialog own;
  own.SetActData(act);
  own.SetCategoryInfo(user);
  EXPECT_EQ(own.TaniEdit()->text(), QStringLiteral("杯"));
  EXPECT_EQ(own.ActData().RecordData->Tani[0], "回");

  TTaniFixRecordDialog fixed;
  EXPECT_TRUE(fixed.TaniEdit()->isReadOnly());
  EXPECT_TRUE(fixed.CaptionOf(fixed.TaniEdit())->text().isEmpty());
}

TEST_F(RecordDialogChecks, AUserCategoryMayNotTakeABuiltInName) {
  TCategoryInfo user;
  TActData act;
  act.UserCategory = "ヨガ";
  TUserCategoryRecordDialog dialog;
  CollectErrors(dialog);
  dialog.SetCategoryInfo(user);
  dialog.SetUserCategoryList({"ヨガ", "将棋"});
  dialog.SetActData(act);
  EXPECT_EQ(dialog.CategoryCombo()->currentText(), QStringLiteral("ヨガ"));
  EXPECT_EQ(dialog.CategoryCombo()->count(), 2);

  for (const char* builtIn : {"釣り", "ユーザー"}) {
    Errors.clear();
    dialog.CategoryCombo()->setCurrentText(QString::fromUtf8(builtIn));
    EXPECT_FALSE(dialog.CheckInput());
    EXPECT_EQ(Errors, QStringList{QStringLiteral("カテゴリ[") + QString::fromUtf8(builtIn) +
                                  QStringLiteral("]はすでに登録されています\nカテゴリを変更してください")});
  }

  Errors.clear();
  dialog.CategoryCombo()->setCurrentText(QStringLiteral("ヨガ"));
  ShowAndSettle(dialog);
  dialog.accept();
  EXPECT_TRUE(Errors.isEmpty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.ActData().UserCategory, "ヨガ");
  EXPECT_EQ(dialog.ActData().Category, ctUserCategory);
}

TEST_F(RecordDialogChecks, TheExtraFieldsOfTheCategoryDialogsLoadAndStore) {
  TFishingCategoryInfo fishingInfo;
  fishingInfo.SetCategory(ctFishing);
  fishingInfo.SetIsDimension(true);
  TFishingAct fishing;
  fishing.FishSpecies = "アジ";
  static_cast<TFishingRecord&>(*fishing.RecordData).Dimension = 23.5L;
  TFishingRecordDialog fishingDialog;
  CollectErrors(fishingDialog);
  fishingDialog.SetCategoryInfo(fishingInfo);
  fishingDialog.SetActData(fishing);
  EXPECT_EQ(fishingDialog.FishSpeciesEdit()->text(), QStringLiteral("アジ"));
  EXPECT_EQ(fishingDialog.DimensionEdit()->text(), QStringLiteral("23.5"));
  EXPECT_FALSE(fishingDialog.DimensionEdit()->isHidden());
  EXPECT_TRUE(fishingDialog.WaterTemperatureEdit()->isHidden());
  fishingDialog.DimensionEdit()->setText(QStringLiteral("big"));
  fishingDialog.WaterTemperatureEdit()->clear();
  EXPECT_FALSE(fishingDialog.CheckInput());
  EXPECT_EQ(Errors, QStringList({QStringLiteral("[大きさ]が数値ではありません"),
                                 QStringLiteral("[水温]が数値ではありません")}));

  Errors.clear();
  TBloodPressureCategoryInfo pressureInfo;
  pressureInfo.SetCategory(ctBloodPressure);
  TBloodPressureRecordDialog pressure;
  CollectErrors(pressure);
  pressure.SetCategoryInfo(pressureInfo);
  pressure.SetActData(TBloodPressureAct());
  pressure.MinBloodPressureEdit()->setText(QStringLiteral("82"));
  pressure.PulseEdit()->setText(QStringLiteral("?"));
  EXPECT_FALSE(pressure.CheckInput());
  EXPECT_EQ(Errors, QStringList{QStringLiteral("[脈拍]が数値ではありません")});
  pressure.PulseEdit()->setText(QStringLiteral("64"));
  const auto& stored = dynamic_cast<const TBloodPressureRecord&>(*pressure.ActData().RecordData);
  EXPECT_EQ(stored.MinBloodPressure, 82);
  EXPECT_EQ(stored.Pulse, 64);

  TBookCategoryInfo bookInfo;
  bookInfo.SetCategory(ctBook);
  TBookAct book;
  book.Author = "夏目漱石";
  book.Url = "https://example.org/";
  TBookRecordDialog bookDialog;
  bookDialog.SetCategoryInfo(bookInfo);
  bookDialog.SetActData(book);
  EXPECT_EQ(bookDialog.AuthorEdit()->text(), QStringLiteral("夏目漱石"));
  EXPECT_FALSE(bookDialog.AuthorEdit()->isHidden());
  EXPECT_TRUE(bookDialog.UrlEdit()->isHidden());
  bookDialog.AuthorEdit()->setText(QStringLiteral("森鴎外"));
  const auto& storedBook = dynamic_cast<const TBookAct&>(bookDialog.ActData());
  EXPECT_EQ(storedBook.Author, "森鴎外");
  EXPECT_EQ(storedBook.Url, "https://example.org/");

  TVehicleCategoryInfo vehicleInfo;
  vehicleInfo.SetCategory(ctVehicle);
  TVehicleAct trip;
  trip.DeparturePlace = "東京";
  trip.ArrivalPlace = "大阪";
  TVehicleRecordDialog vehicle;
  vehicle.SetCategoryInfo(vehicleInfo);
  vehicle.SetActData(trip);
  EXPECT_EQ(vehicle.DeparturePlaceEdit()->text(), QStringLiteral("東京"));
  vehicle.ArrivalPlaceEdit()->setText(QStringLiteral("京都"));
  EXPECT_EQ(dynamic_cast<const TTimePlaceAct&>(vehicle.ActData()).ArrivalPlace, "京都");
  EXPECT_EQ(vehicle.ActData().Category, ctVehicle);
}

}  // namespace
}  // namespace hakuvo::test
