#include "gui/categories/category_set_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <functional>

#include "core/common/date_time.h"
#include "dialog_test_support.h"
#include "gui/categories/category_set_dialog_kinds.h"
#include "gui/categories/category_set_dialog_pages.h"

namespace hakuvo {
namespace {

using testing::Describe;
using testing::MakeCategoryInfo;

// Gives every setting a value other than its default, so that a field the dialog drops or mixes
// up with another shows in a comparison.
void FillNonDefault(TCategoryInfo& info) {
  info.SetIndicationKind(0);
  info.SetIsRecordData(!info.IsRecordData());
  info.SetIsTime(!info.IsTime());
  info.SetIsWindDirection(true);
  info.SetIsWindSpeed(true);
  info.SetIsWeather(false);
  info.SetIsTemperature(true);
  if (info.Tani.size() > 1) info.Tani[1] = "mi";
  info.CalcKind[0] = ckAverage;
  TGraphInfo* graphs[] = {&info.GraphInfo(), &info.MonthGraphInfo(), &info.YearGraphInfo()};
  for (int i = 0; i < 3; ++i) {
    TGraphInfo& g = *graphs[i];
    g.SetIsYAxisDate(i != 1);
    g.SetIsBarSeries(i == 1);
    g.SetSeriesColor(0x00336699 + i);
    g.SetLineSeriesWidth(3 + i);
    g.SetBarSeriesWidth(7 + i);
    g.SetDayAxisKind(static_cast<TDayAxisType>(i));
    g.SetAxisTerm(45 + i);
    g.SetStartDate(EncodeDate(2021, 3, 4 + i));
    g.SetEndDate(EncodeDate(2022, 11, 20 + i));
    g.SetIsAutoRecordAxis(i == 2);
    g.SetRecordAxisMax(12.5L + i);
    g.SetRecordAxisMin(-0.25L - i);
    if (g.RecordAxisTitle.size() > 1) g.RecordAxisTitle[1] = "axis" + std::to_string(i);
  }
  TSpeedGraphInfo& s = info.SpeedGraphInfo();
  s.SetSpeedLineSeriesWidth(5);
  s.SetAltitudeTransparency(70);
  s.SetRightAxisMin(-20);
  s.SetLimitSpeed(33);
  s.SetIsLeftAutoAxis(false);
  s.SetSpeedSeriesColor(0x00102030);
  s.SetIsRightAutoAxis(false);
  s.SetLeftAxisMax(25.5L);
  s.SetAltitudeSeriesColor(0x00405060);
  s.SetRightAxisMax(1200);
  s.SetLeftAxisMin(1.5L);
  s.SetSpeedMovingAverage(4);
  s.SetIsAltitudeSeries(false);
  s.SetIsSpeedSeries(false);
  s.SetAltitudeMovingAverage(6);
  s.SetBottomAxisKind(baTermMin);
  s.SetIsAverageSpeed(false);
  info.MapInfo().SetLineWidth(9);
  info.MapInfo().SetLineColor(0x00ABCDEF);
  info.MapInfo().SetLineOpacity(0.5L);
  info.MapInfo().SetLimitSpeed(12);
  info.MapInfo().SetIsSpeedColor(true);
  if (auto* e = dynamic_cast<TEnergyConsumptionCategoryInfo*>(&info)) e->SetIsWeight(!e->IsWeight());
  if (auto* w = dynamic_cast<TWalkingCategoryInfo*>(&info)) w->SetIsPedometer(!w->IsPedometer());
  if (auto* f = dynamic_cast<TFishingCategoryInfo*>(&info)) {
    f->SetIsWaterTemperature(true);
    f->SetIsDimension(false);
  }
  if (auto* b = dynamic_cast<TBloodPressureCategoryInfo*>(&info)) {
    b->SetIsPulse(false);
    b->SetIsMinBloodPressure(true);
  }
  if (auto* v = dynamic_cast<TEvaluationCategoryInfo*>(&info)) v->SetIsUrl(true);
  if (auto* k = dynamic_cast<TBookCategoryInfo*>(&info)) k->SetIsAuthor(!k->IsAuthor());
}

using CategorySetDialogTest = testing::CategorySetDialogFixture;

// ---- classes and texts by kind ----

TEST_F(CategorySetDialogTest, FactoryPicksTheDialogClassOfEachKind) {
  const char* expected[CategoryTypeCount] = {
      "TCategorySetDialog",
      "TEnergyConsumptionCategorySetDialog",  // jogging
      "TWalkingCategorySetDialog",
      "TEnergyConsumptionCategorySetDialog",  // swimming
      "TEnergyConsumptionCategorySetDialog",  // bicycle
      "TFishingCategorySetDialog",
      "TCategorySetDialog",  // shopping
      "TCategorySetDialog",  // weight
      "TCategorySetDialog",  // file
      "TCategorySetDialog",  // calorie
      "TVehicleCategorySetDialog",
      "TEvaluationCategorySetDialog",  // hotel
      "TCategorySetDialog",            // sightseeing
      "TEvaluationCategorySetDialog",  // restaurant
      "TEvaluationCategorySetDialog",  // sweets
      "TBookCategorySetDialog",
      "TBloodPressureCategorySetDialog",
  };
  for (int kind = 0; kind < CategoryTypeCount; ++kind) {
    auto dialog = CreateCategorySetDialog(nullptr, static_cast<TCategoryType>(kind));
    EXPECT_EQ(QString::fromLatin1(dialog->metaObject()->className()), QStringLiteral("hakuvo::") + expected[kind])
        << "kind " << kind;
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("設定"));
  }
}

TEST_F(CategorySetDialogTest, InputItemsAndValueKindsFollowTheKind) {
  const QStringList common = {QStringLiteral("時刻を入力する(&T)"), QStringLiteral("風向を入力する(&D)"),
                              QStringLiteral("風速を入力する(&S)"), QStringLiteral("天気を入力する(&W)"),
                              QStringLiteral("気温を入力する(&E)")};
  struct Case {
    TCategoryType Kind;
    QString RecordCheck;
    QStringList Extra;
    QStringList Items;
  };
  const Case cases[] = {
      {ctUserCategory, "記録を入力する(&R)", {}, {"回数", "記録"}},
      {ctShopping, "記録を入力する(&R)", {}, {"回数", "記録"}},
      {ctVehicle, "距離を入力する(&R)", {}, {"回数", "距離", "速度"}},
      {ctJogging, "距離を入力する(&R)", {"体重を入力する"}, {"回数", "距離", "速度", "体重", "カロリー"}},
      {ctWalking,
       "距離を入力する(&R)",
       {"体重を入力する", "歩数を入力する"},
       {"回数", "距離", "速度", "体重", "カロリー", "歩数"}},
      {ctFishing,
       "釣果を入力する(&R)",
       {"水温を入力する(&A)", "大きさを入力する(&M)"},
       {"回数", "釣果", "大きさ", "水温"}},
      {ctHotel, "評価を入力する(&R)", {"URLを入力する(&U)"}, {"回数(&T)", "評価(&R)"}},
      {ctBook, "評価を入力する(&R)", {"URLを入力する(&U)", "著者を入力する(&A)"}, {"回数(&T)", "評価(&R)"}},
      {ctBloodPressure,
       "最大血圧を入力する(&R)",
       {"脈拍を入力する(&P)", "最低血圧を入力する(&I)"},
       {"回数", "最大血圧", "最低血圧", "脈拍"}},
  };
  for (const Case& c : cases) {
    auto dialog = CreateCategorySetDialog(nullptr, c.Kind);
    QStringList texts;
    for (QCheckBox* check : dialog->InputChecks()) texts << check->text();
    EXPECT_EQ(texts, QStringList{c.RecordCheck} + common + c.Extra) << "kind " << int(c.Kind);
    EXPECT_EQ(dialog->IndicationItems(), c.Items) << "kind " << int(c.Kind);
  }
}

// ---- loading and storing ----

TEST_F(CategorySetDialogTest, LoadsTheControlsFromTheSettings) {
  auto info = MakeCategoryInfo(ctJogging);
  FillNonDefault(*info);
  auto dialog = Open(*info);

  EXPECT_EQ(dialog->IndicationGroup()->checkedId(), 0);
  EXPECT_NE(dialog->RecordCheck()->isChecked(), MakeCategoryInfo(ctJogging)->IsRecordData());
  EXPECT_TRUE(dialog->WindDirectionCheck()->isChecked());
  EXPECT_FALSE(dialog->WeatherCheck()->isChecked());
  EXPECT_TRUE(static_cast<TEnergyConsumptionCategorySetDialog*>(dialog.get())->WeightCheck()->isChecked());

  TGraphSettingsPage* day = dialog->GraphPage(TCategorySetDialog::piDayGraph);
  EXPECT_EQ(day->ColorButton()->Color(), 0x00336699);
  EXPECT_EQ(day->AxisGroup()->checkedId(), 1);
  EXPECT_EQ(day->SeriesGroup()->checkedId(), 0);
  EXPECT_EQ(day->LineWidthEdit()->text(), QStringLiteral("3"));
  EXPECT_EQ(day->BarWidthEdit()->text(), QStringLiteral("7"));
  EXPECT_TRUE(day->TermRadio()->isChecked());
  EXPECT_TRUE(day->TermCombo()->isEnabled());
  EXPECT_FALSE(day->StartDateEdit()->isEnabled());
  EXPECT_EQ(day->TermCombo()->currentText(), QStringLiteral("45"));
  EXPECT_EQ(day->StartDateEdit()->date(), QDate(2021, 3, 4));
  EXPECT_EQ(day->EndDateEdit()->date(), QDate(2022, 11, 20));
  EXPECT_FALSE(day->AutoAxisCheck()->isChecked());
  EXPECT_TRUE(day->MaxEdit()->isEnabled());
  EXPECT_EQ(day->MaxEdit()->text(), QStringLiteral("12.5"));
  EXPECT_EQ(day->MinEdit()->text(), QStringLiteral("-0.25"));

  TGraphSettingsPage* year = dialog->GraphPage(TCategorySetDialog::piYearGraph);
  EXPECT_TRUE(year->AllRadio()->isChecked());
  EXPECT_FALSE(year->TermCombo()->isEnabled());
  EXPECT_FALSE(year->EndDateEdit()->isEnabled());
  EXPECT_TRUE(year->AutoAxisCheck()->isChecked());
  EXPECT_FALSE(year->MinEdit()->isEnabled());

  TSpeedSettingsPage* speed = dialog->SpeedPage();
  EXPECT_EQ(speed->SpeedWidthEdit()->text(), QStringLiteral("5"));
  EXPECT_EQ(speed->TransparencyEdit()->text(), QStringLiteral("70"));
  EXPECT_EQ(speed->SpeedAxis().MaxEdit->text(), QStringLiteral("25.5"));
  EXPECT_TRUE(speed->SpeedAxis().MaxEdit->isEnabled());
  EXPECT_EQ(speed->AltitudeAxis().MaxEdit->text(), QStringLiteral("1200"));
  EXPECT_EQ(speed->AltitudeColorButton()->Color(), 0x00405060);
  EXPECT_EQ(speed->BottomAxisGroup()->checkedId(), int(baTermMin));
  EXPECT_FALSE(speed->AverageSpeedCheck()->isChecked());
}

// OK without touching anything must give back exactly what came in, for every kind: a field the
// dialog loads one way and stores another, or forgets, shows up here.
TEST_F(CategorySetDialogTest, OkWithoutChangesKeepsEverySettingOfEveryKind) {
  for (int kind = 0; kind < CategoryTypeCount; ++kind) {
    auto info = MakeCategoryInfo(static_cast<TCategoryType>(kind));
    FillNonDefault(*info);
    const std::string before = Describe(*info);
    auto dialog = Open(*info);
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(' ').toStdString();
    EXPECT_EQ(Describe(*info), before) << "kind " << kind;
  }
}

// Copies the state of every control of one dialog into the same control of a twin dialog.
void CopyControls(const TCategorySetDialog& from, TCategorySetDialog& to) {
  const QList<QWidget*> source = from.findChildren<QWidget*>();
  const QList<QWidget*> target = to.findChildren<QWidget*>();
  ASSERT_EQ(source.size(), target.size());
  for (qsizetype i = 0; i < source.size(); ++i) {
    QWidget* s = source[i];
    QWidget* t = target[i];
    ASSERT_STREQ(s->metaObject()->className(), t->metaObject()->className());
    if (auto* color = qobject_cast<TColorButton*>(s)) {
      static_cast<TColorButton*>(t)->SetColor(color->Color());
    } else if (auto* check = qobject_cast<QCheckBox*>(s)) {
      static_cast<QCheckBox*>(t)->setChecked(check->isChecked());
    } else if (auto* radio = qobject_cast<QRadioButton*>(s)) {
      if (radio->isChecked()) static_cast<QRadioButton*>(t)->setChecked(true);
    } else if (auto* date = qobject_cast<QDateEdit*>(s)) {
      static_cast<QDateEdit*>(t)->setDate(date->date());
    } else if (auto* combo = qobject_cast<QComboBox*>(s)) {
      static_cast<QComboBox*>(t)->setEditText(combo->currentText());
    } else if (auto* edit = qobject_cast<QLineEdit*>(s)) {
      // The editors inside combos and date pickers follow their owners.
      if (!qobject_cast<QComboBox*>(s->parent()) && !qobject_cast<QAbstractSpinBox*>(s->parent())) {
        static_cast<QLineEdit*>(t)->setText(edit->text());
      }
    }
  }
}

// Every shown setting must travel from the settings into a control and from the control back:
// a dialog loaded with one object's values and stored into a fresh object must reproduce them.
TEST_F(CategorySetDialogTest, EveryShownSettingIsLoadedAndStoredForEveryKind) {
  for (int kind = 0; kind < CategoryTypeCount; ++kind) {
    auto original = MakeCategoryInfo(static_cast<TCategoryType>(kind));
    FillNonDefault(*original);
    auto fresh = MakeCategoryInfo(static_cast<TCategoryType>(kind));
    // What no page shows is carried through untouched; give the fresh object the same.
    fresh->Tani = original->Tani;
    fresh->CalcKind = original->CalcKind;
    fresh->MapInfo().Assign(original->MapInfo());
    fresh->SpeedGraphInfo().SetSpeedMovingAverage(original->SpeedGraphInfo().SpeedMovingAverage());
    fresh->SpeedGraphInfo().SetAltitudeMovingAverage(original->SpeedGraphInfo().AltitudeMovingAverage());
    fresh->SpeedGraphInfo().SetLimitSpeed(original->SpeedGraphInfo().LimitSpeed());
    fresh->GraphInfo().RecordAxisTitle = original->GraphInfo().RecordAxisTitle;
    fresh->MonthGraphInfo().RecordAxisTitle = original->MonthGraphInfo().RecordAxisTitle;
    fresh->YearGraphInfo().RecordAxisTitle = original->YearGraphInfo().RecordAxisTitle;
    ASSERT_NE(Describe(*fresh), Describe(*original));

    auto loaded = Open(*original);
    auto storing = Open(*fresh);
    CopyControls(*loaded, *storing);
    storing->accept();
    ASSERT_EQ(storing->result(), QDialog::Accepted) << Errors.join(' ').toStdString();
    EXPECT_EQ(Describe(*fresh), Describe(*original)) << "kind " << kind;
  }
}

// Changes one control of each kind on every page; the settings change only with OK.
void ChangeEveryPage(TCategorySetDialog& dialog) {
  dialog.IndicationGroup()->button(2)->setChecked(true);
  dialog.WeatherCheck()->setChecked(true);
  dialog.TimeCheck()->setChecked(false);
  TGraphSettingsPage* day = dialog.GraphPage(TCategorySetDialog::piDayGraph);
  day->SeriesGroup()->button(1)->setChecked(true);
  day->AxisGroup()->button(0)->setChecked(true);
  day->ColorButton()->SetColor(0x0000FF00);
  day->LineWidthEdit()->setText(QStringLiteral("4"));
  day->BarWidthEdit()->setText(QStringLiteral(" 12 "));
  day->DateRadio()->setChecked(true);
  day->StartDateEdit()->setDate(QDate(2020, 1, 31));
  day->EndDateEdit()->setDate(QDate(2020, 2, 29));
  day->AutoAxisCheck()->setChecked(false);
  day->MaxEdit()->setText(QStringLiteral("1E3"));
  day->MinEdit()->setText(QStringLiteral("-2.75"));
  TGraphSettingsPage* month = dialog.GraphPage(TCategorySetDialog::piMonthGraph);
  month->TermRadio()->setChecked(true);
  month->TermCombo()->setEditText(QStringLiteral("180"));
  TSpeedSettingsPage* speed = dialog.SpeedPage();
  speed->SpeedWidthEdit()->setText(QStringLiteral("6"));
  speed->TransparencyEdit()->setText(QStringLiteral("15"));
  speed->AltitudeAxis().AutoCheck->setChecked(false);
  speed->AltitudeAxis().MinEdit->setText(QStringLiteral("-8"));
  speed->BottomAxisGroup()->button(baTime)->setChecked(true);
  speed->SpeedColorButton()->SetColor(0x00010203);
}

TEST_F(CategorySetDialogTest, OkCopiesTheControlsBackAndKeepsWhatNoPageShows) {
  auto info = MakeCategoryInfo(ctJogging);
  info->Tani[1] = "mi";
  info->CalcKind[3] = ckTotal;
  info->GraphInfo().RecordAxisTitle[1] = "距離軸";
  info->MapInfo().SetLineWidth(9);
  info->SpeedGraphInfo().SetSpeedMovingAverage(5);
  info->SpeedGraphInfo().SetLimitSpeed(3);
  auto dialog = Open(*info);
  ChangeEveryPage(*dialog);
  EXPECT_EQ(info->IndicationKind(), 1);  // untouched until OK
  EXPECT_FALSE(info->IsWeather());

  dialog->accept();
  ASSERT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(info->IndicationKind(), 2);
  EXPECT_TRUE(info->IsWeather());
  EXPECT_FALSE(info->IsTime());
  const TGraphInfo& day = info->GraphInfo();
  EXPECT_TRUE(day.IsBarSeries());
  EXPECT_FALSE(day.IsYAxisDate());
  EXPECT_EQ(day.SeriesColor(), 0x0000FF00);
  EXPECT_EQ(day.LineSeriesWidth(), 4);
  EXPECT_EQ(day.BarSeriesWidth(), 12);
  EXPECT_EQ(day.DayAxisKind(), daDate);
  EXPECT_EQ(day.StartDate(), EncodeDate(2020, 1, 31));
  EXPECT_EQ(day.EndDate(), EncodeDate(2020, 2, 29));
  EXPECT_FALSE(day.IsAutoRecordAxis());
  EXPECT_EQ(day.RecordAxisMax(), 1000.0L);
  EXPECT_EQ(day.RecordAxisMin(), -2.75L);
  EXPECT_EQ(info->MonthGraphInfo().DayAxisKind(), daTerm);
  EXPECT_EQ(info->MonthGraphInfo().AxisTerm(), 180);
  const TSpeedGraphInfo& speed = info->SpeedGraphInfo();
  EXPECT_EQ(speed.SpeedLineSeriesWidth(), 6);
  EXPECT_EQ(speed.AltitudeTransparency(), 15);
  EXPECT_FALSE(speed.IsRightAutoAxis());
  EXPECT_EQ(speed.RightAxisMin(), -8.0L);
  EXPECT_EQ(speed.BottomAxisKind(), baTime);
  EXPECT_EQ(speed.SpeedSeriesColor(), 0x00010203);
  // Not on any page: carried through as they were.
  EXPECT_EQ(info->Tani[1], "mi");
  EXPECT_EQ(info->CalcKind[3], ckTotal);
  EXPECT_EQ(info->GraphInfo().RecordAxisTitle[1], "距離軸");
  EXPECT_EQ(info->MapInfo().LineWidth(), 9);
  EXPECT_EQ(speed.SpeedMovingAverage(), 5);
  EXPECT_EQ(speed.LimitSpeed(), 3.0L);
}

TEST_F(CategorySetDialogTest, CancelLeavesTheSettingsUntouched) {
  auto info = MakeCategoryInfo(ctWalking);
  FillNonDefault(*info);
  const std::string before = Describe(*info);
  auto dialog = Open(*info);
  ChangeEveryPage(*dialog);
  static_cast<TWalkingCategorySetDialog*>(dialog.get())->PedometerCheck()->toggle();
  dialog->reject();
  EXPECT_EQ(Describe(*info), before);
}

TEST_F(CategorySetDialogTest, SubclassFlagsAreStored) {
  auto walking = MakeCategoryInfo(ctWalking);
  auto dialog = Open(*walking);
  auto* walkingDialog = static_cast<TWalkingCategorySetDialog*>(dialog.get());
  walkingDialog->WeightCheck()->setChecked(true);
  walkingDialog->PedometerCheck()->setChecked(false);
  dialog->IndicationGroup()->button(5)->setChecked(true);  // 歩数
  dialog->accept();
  auto& stored = static_cast<TWalkingCategoryInfo&>(*walking);
  EXPECT_TRUE(stored.IsWeight());
  EXPECT_FALSE(stored.IsPedometer());
  EXPECT_EQ(stored.IndicationKind(), 5);

  auto pressure = MakeCategoryInfo(ctBloodPressure);
  auto pressureDialog = Open(*pressure);
  auto* typed = static_cast<TBloodPressureCategorySetDialog*>(pressureDialog.get());
  typed->PulseCheck()->setChecked(true);
  typed->MinBloodPressureCheck()->setChecked(true);
  pressureDialog->accept();
  EXPECT_TRUE(static_cast<TBloodPressureCategoryInfo&>(*pressure).IsPulse());
  EXPECT_TRUE(static_cast<TBloodPressureCategoryInfo&>(*pressure).IsMinBloodPressure());
}

TEST_F(CategorySetDialogTest, DayAxisChoiceEnablesOnlyItsOwnControls) {
  auto info = MakeCategoryInfo(ctJogging);
  auto dialog = Open(*info);
  TGraphSettingsPage* page = dialog->GraphPage(TCategorySetDialog::piMonthGraph);
  struct Case {
    QRadioButton* Radio;
    bool Combo;
    bool Dates;
    TDayAxisType Stored;
  };
  for (const Case& c : {Case{page->DateRadio(), false, true, daDate}, Case{page->TermRadio(), true, false, daTerm},
                        Case{page->AllRadio(), false, false, daAll}}) {
    c.Radio->setChecked(true);
    EXPECT_EQ(page->TermCombo()->isEnabled(), c.Combo);
    EXPECT_EQ(page->StartDateEdit()->isEnabled(), c.Dates);
    EXPECT_EQ(page->EndDateEdit()->isEnabled(), c.Dates);
    dialog->accept();
    EXPECT_EQ(info->MonthGraphInfo().DayAxisKind(), c.Stored);
  }
  page->AutoAxisCheck()->setChecked(true);
  EXPECT_FALSE(page->MaxEdit()->isEnabled());
  page->AutoAxisCheck()->setChecked(false);
  EXPECT_TRUE(page->MaxEdit()->isEnabled());
  EXPECT_TRUE(page->MinEdit()->isEnabled());
}

// ---- pages and tabs ----

TEST_F(CategorySetDialogTest, TabsShowOnlyThePagesThatConcernTheCaller) {
  struct Case {
    int Page;
    std::vector<int> Tabs;  // visible tabs; none means no tab strip at all
  };
  const Case cases[] = {
      {TCategorySetDialog::piInput, {0}},        {TCategorySetDialog::piDisplay, {}},
      {TCategorySetDialog::piDayGraph, {1, 2}},  {TCategorySetDialog::piMonthGraph, {1, 3}},
      {TCategorySetDialog::piYearGraph, {1, 4}}, {TCategorySetDialog::piSpeedGraph, {}},
  };
  const QStringList captions = {"入力項目", "表示設定", "日グラフ", "月グラフ", "年グラフ", "速度グラフ"};
  for (const Case& c : cases) {
    auto info = MakeCategoryInfo(ctJogging);
    auto dialog = Open(*info);
    dialog->SetActivePage(c.Page);
    dialog->show();
    std::vector<int> visible;
    for (int i = 0; i < TCategorySetDialog::PageCount; ++i) {
      EXPECT_EQ(dialog->TabBar()->tabText(i), captions[i]);
      if (dialog->TabBar()->isTabVisible(i)) visible.push_back(i);
    }
    EXPECT_EQ(dialog->TabBar()->isVisible(), !c.Tabs.empty()) << "page " << c.Page;
    EXPECT_EQ(visible, c.Tabs) << "page " << c.Page;
    EXPECT_EQ(dialog->Pages()->currentIndex(), c.Page);
    if (!c.Tabs.empty()) {
      EXPECT_EQ(dialog->TabBar()->currentIndex(), c.Page);
    }
    dialog->hide();
  }
}

TEST_F(CategorySetDialogTest, TheDisplayTabBesideAGraphPageSwitchesToIt) {
  auto info = MakeCategoryInfo(ctJogging);
  auto dialog = Open(*info);
  dialog->SetActivePage(TCategorySetDialog::piMonthGraph);
  dialog->show();
  dialog->TabBar()->setCurrentIndex(TCategorySetDialog::piDisplay);
  EXPECT_EQ(dialog->Pages()->currentIndex(), int(TCategorySetDialog::piDisplay));
  dialog->TabBar()->setCurrentIndex(TCategorySetDialog::piMonthGraph);
  EXPECT_EQ(dialog->Pages()->currentIndex(), int(TCategorySetDialog::piMonthGraph));
  dialog->hide();
}

// ---- colours ----

TEST(CategorySetColors, StoredOrderIsBlueGreenRed) {
  EXPECT_EQ(ToQColor(0x00FF0000), QColor(0, 0, 255));
  EXPECT_EQ(ToQColor(0x000000FF), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(0x0080FF80), QColor(0x80, 0xFF, 0x80));
  EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412);
  for (TColor c : {0x00000000, 0x00FFFFFF, 0x00123456, 0x00ABCDEF}) EXPECT_EQ(FromQColor(ToQColor(c)), c);
}

}  // namespace
}  // namespace hakuvo
