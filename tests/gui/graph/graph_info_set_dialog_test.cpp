#include "gui/graph/graph_info_set_dialog.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>

#include "gui/categories/category_set_dialog_pages.h"
#include "support/qt_application.h"

namespace hakuvo::test {
namespace {

class GraphInfoSetDialog : public ::testing::Test {
 protected:
  GraphInfoSetDialog() {
    Info.SetDayAxisKind(daTerm);
    Info.SetAxisTerm(30);
    Info.SetStartDate(EncodeDate(2014, 1, 1));
    Info.SetEndDate(EncodeDate(2014, 2, 1));
    Info.SetIsYAxisDate(true);
    Dialog.SetGraphInfo(&Info);
    Dialog.SetErrorHandler([this](const QString& message) { Errors << message; });
  }

  // The application must exist before the dialog member is built.
  bool FHasApplication = (EnsureQtApplication(), true);
  TGraphInfo Info;
  TGraphInfoSetDialog Dialog;
  QStringList Errors;
};

TEST_F(GraphInfoSetDialog, FieldsThatAreNotNumbersAreRefusedAndNothingIsStored) {
  TGraphSettingsPage* page = Dialog.Page();
  page->AllRadio()->setChecked(true);
  page->BarWidthEdit()->setText(QStringLiteral("太い"));
  page->TermCombo()->setEditText(QStringLiteral("x"));
  page->AutoAxisCheck()->setChecked(false);
  page->MaxEdit()->setText(QStringLiteral("1..2"));
  Dialog.accept();
  EXPECT_EQ(Errors, (QStringList{QStringLiteral("グラフの[表示期間]が数値ではありません"),
                                 QStringLiteral("グラフの[棒グラフ幅]が数値ではありません"),
                                 QStringLiteral("グラフの[記録軸最大値]が数値ではありません")}));
  EXPECT_EQ(Dialog.result(), QDialog::Rejected);
  EXPECT_EQ(Info.DayAxisKind(), daTerm);
  EXPECT_TRUE(Info.IsAutoRecordAxis());

  // Put right, the same dialog stores everything.
  Errors.clear();
  page->BarWidthEdit()->setText(QStringLiteral("12"));
  page->TermCombo()->setEditText(QStringLiteral("60"));
  page->MaxEdit()->setText(QStringLiteral("42.5"));
  Dialog.accept();
  EXPECT_TRUE(Errors.isEmpty());
  EXPECT_EQ(Dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Info.DayAxisKind(), daAll);
  EXPECT_EQ(Info.BarSeriesWidth(), 12);
  EXPECT_EQ(Info.AxisTerm(), 60);
  EXPECT_FALSE(Info.IsAutoRecordAxis());
  EXPECT_EQ(Info.RecordAxisMax(), 42.5L);
  // The orientation is not offered here and stays as it was.
  EXPECT_TRUE(Info.IsYAxisDate());
  EXPECT_FALSE(page->AxisGroup()->button(0)->isVisibleTo(&Dialog));
}

TEST_F(GraphInfoSetDialog, AllDisablesTheDateControls) {
  TGraphSettingsPage* page = Dialog.Page();
  page->AllRadio()->setChecked(true);
  EXPECT_FALSE(page->TermCombo()->isEnabled());
  EXPECT_FALSE(page->StartDateEdit()->isEnabled());
  EXPECT_FALSE(page->EndDateEdit()->isEnabled());
  page->DateRadio()->setChecked(true);
  EXPECT_TRUE(page->StartDateEdit()->isEnabled());
}

TEST_F(GraphInfoSetDialog, SecondChannelKeepsItsDateSettings) {
  Dialog.SetIsDateAxisSet(false);
  TGraphSettingsPage* page = Dialog.Page();
  EXPECT_FALSE(page->TermRadio()->isEnabled());
  EXPECT_FALSE(page->AllRadio()->isEnabled());
  EXPECT_FALSE(page->TermCombo()->isEnabled());
  page->SeriesGroup()->button(1)->setChecked(true);
  Dialog.accept();
  EXPECT_TRUE(Errors.isEmpty());
  EXPECT_TRUE(Info.IsBarSeries());
  EXPECT_EQ(Info.DayAxisKind(), daTerm);
  EXPECT_EQ(Info.AxisTerm(), 30);
  EXPECT_EQ(Info.StartDate(), EncodeDate(2014, 1, 1));
  EXPECT_EQ(Info.EndDate(), EncodeDate(2014, 2, 1));
}

}  // namespace
}  // namespace hakuvo::test
