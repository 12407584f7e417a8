#include "gui/graph/graph_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>

#include "graph_test_support.h"

namespace hakuvo::test {
namespace {

class GraphForm : public GraphFixture {
 protected:
  TGraphInfo& DayInfo() { return Document.CategoryInfoList().GetCategoryItems(ctJogging)->GraphInfo(); }
};

TEST_F(GraphForm, ClickOnADaysBarSelectsThatDay) {
  AddJog(EncodeDate(2014, 3, 5), 4);
  AddJog(EncodeDate(2014, 3, 7), 7);
  AddJog(EncodeDate(2014, 3, 9), 2);
  // Both layouts: dates across, and dates down the left side.
  for (bool vertical : {false, true}) {
    DayInfo().SetIsYAxisDate(vertical);
    DayInfo().SetIsBarSeries(true);
    DayInfo().SetDayAxisKind(daAll);
    TGraphForm form(Document, nullptr);
    ShowForm(form);
    ASSERT_EQ(form.Chart()->PointCount(0), 3) << vertical;
    QSignalSpy days(&Document, &TDiaryDocument::SelectDay);
    QTest::mouseClick(form.Chart(), Qt::LeftButton, {}, PointPixel(*form.Chart(), 0, 1, true));
    ASSERT_EQ(days.count(), 1) << vertical;
    EXPECT_EQ(days.first().first().value<TDateTime>(), EncodeDate(2014, 3, 7)) << vertical;
  }
}

TEST_F(GraphForm, DoubleClickTogglesTheValueLabels) {
  AddJog(EncodeDate(2014, 3, 5), 4);
  AddJog(EncodeDate(2014, 3, 7), 7);
  TGraphForm form(Document, nullptr);
  ShowForm(form);
  EXPECT_FALSE(form.Chart()->ValueLabelsVisible());
  const QPoint bar = PointPixel(*form.Chart(), 0, 0, true);
  // The pointing hand over a bar, the arrow beside it.
  QTest::mouseMove(form.Chart(), bar);
  EXPECT_EQ(form.Chart()->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(form.Chart(), QPoint(bar.x(), 2));
  EXPECT_EQ(form.Chart()->cursor().shape(), Qt::ArrowCursor);
  QTest::mouseDClick(form.Chart(), Qt::LeftButton, {}, bar);
  EXPECT_TRUE(form.Chart()->ValueLabelsVisible());
  EXPECT_EQ(form.Chart()->itemCount(), 2);
  QTest::mouseDClick(form.Chart(), Qt::LeftButton, {}, bar);
  EXPECT_FALSE(form.Chart()->ValueLabelsVisible());
  EXPECT_EQ(form.Chart()->itemCount(), 0);
}

TEST_F(GraphForm, TermKeepsTheLastDaysInChartAndCopyText) {
  const TScopedClock clock(EncodeDate(2014, 3, 31));
  for (int back : {45, 31, 30, 10, 0}) AddJog(EncodeDate(2014, 3, 31) - back, back + 1);
  DayInfo().SetDayAxisKind(daTerm);
  DayInfo().SetAxisTerm(30);
  DayInfo().SetIsBarSeries(true);
  TGraphForm form(Document, nullptr);
  ShowForm(form);
  EXPECT_EQ(form.Chart()->PointCount(0), 3);
  EXPECT_EQ(form.CopyText(), QStringLiteral("日\t記録\r\n2014/03/01\t31\r\n2014/03/21\t11\r\n2014/03/31\t1\r\n"));
  // The two context menu commands put the text and the picture on the clipboard.
  form.CopyDataAction()->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), form.CopyText());
  form.CopyPictureAction()->trigger();
  EXPECT_EQ(QApplication::clipboard()->pixmap().size(), form.Chart()->size());
  // A fixed axis of bars keeps 2 % of its length free at either end.
  EXPECT_EQ(form.Chart()->DateStartPercent(), 2);
  EXPECT_EQ(form.Chart()->DateEndPercent(), 98);
}

TEST_F(GraphForm, MonthAndYearGraphsLabelAndSelectTheirPeriod) {
  AddJog(EncodeDate(2013, 11, 20), 3);
  AddJog(EncodeDate(2014, 3, 7), 7);
  TMonthGraphForm months(Document, nullptr);
  ShowForm(months);
  // November to March: five months, the empty ones with 0.
  ASSERT_EQ(months.Chart()->PointCount(0), 5);
  QSignalSpy selected(&Document, &TDiaryDocument::SelectMonth);
  QTest::mouseClick(months.Chart(), Qt::LeftButton, {}, PointPixel(*months.Chart(), 0, 4, true));
  ASSERT_EQ(selected.count(), 1);
  EXPECT_EQ(selected.first().first().value<TDateTime>(), EncodeDate(2014, 3, 1));
  // Month labels read 2014/03, year labels 2014.
  QVector<double> ticks;
  QVector<QString> labels;
  months.Chart()->DateAxis()->ticker()->generate(months.Chart()->DateAxis()->range(), QLocale(), 'g', 6, ticks, nullptr,
                                                 &labels);
  EXPECT_TRUE(labels.contains(QStringLiteral("2014/03"))) << labels.join(' ').toStdString();

  TYearGraphForm years(Document, nullptr);
  ShowForm(years);
  ASSERT_EQ(years.Chart()->PointCount(0), 2);
  QSignalSpy yearSelected(&Document, &TDiaryDocument::SelectYear);
  QTest::mouseClick(years.Chart(), Qt::LeftButton, {}, PointPixel(*years.Chart(), 0, 0, true));
  ASSERT_EQ(yearSelected.count(), 1);
  EXPECT_EQ(yearSelected.first().first().value<TDateTime>(), EncodeDate(2013, 1, 1));
  labels.clear();
  years.Chart()->DateAxis()->ticker()->generate(years.Chart()->DateAxis()->range(), QLocale(), 'g', 6, ticks, nullptr,
                                                &labels);
  EXPECT_TRUE(labels.contains(QStringLiteral("2014"))) << labels.join(' ').toStdString();
}

TEST_F(GraphForm, HiddenWindowComputesNothingAndABurstCostsOneRecomputation) {
  AddJog(EncodeDate(2014, 3, 7), 7);
  TGraphForm form(Document, nullptr);
  for (int i = 0; i < 5; ++i) form.RefreshData();
  Settle();
  EXPECT_EQ(form.RecomputeCount(), 0);
  ShowForm(form);
  EXPECT_EQ(form.RecomputeCount(), 1);
  // Many messages in one turn of the event loop, as after a command that changes much.
  for (int i = 0; i < 5; ++i) form.RefreshData();
  form.SetCategory(form.Category());
  EXPECT_EQ(form.RecomputeCount(), 1);
  Settle();
  EXPECT_EQ(form.RecomputeCount(), 2);
  // Hidden again: stale but idle, until it is shown.
  form.hide();
  form.RefreshData();
  Settle();
  EXPECT_EQ(form.RecomputeCount(), 2);
  form.show();
  Settle();
  EXPECT_EQ(form.RecomputeCount(), 3);
}

TEST_F(GraphForm, ChoicesTravelWithTheDiaryFile) {
  TGraphForm day(Document, nullptr);
  TMonthGraphForm month(Document, nullptr);
  EXPECT_EQ(day.Category(), QStringLiteral("ジョギング"));
  day.SetCategory(QStringLiteral("自転車"));
  emit Document.AboutToSave();
  EXPECT_EQ(Document.DataFile().DayGraphCategory(), "自転車");
  EXPECT_EQ(Document.DataFile().MonthGraphCategory(), "ジョギング");
  // A diary opened with other choices: the windows take them.
  Document.DataFile().SetFileName("/tmp/opened.hkvj");
  Document.DataFile().SetMonthGraphCategory("ウォーキング");
  Document.DataFile().SetDayGraphCategory("");
  emit Document.DiaryReset();
  EXPECT_EQ(month.Category(), QStringLiteral("ウォーキング"));
  EXPECT_EQ(day.Category(), QStringLiteral("ジョギング"));
  EXPECT_EQ(month.CategoryType(), ctWalking);
  // A category chosen in the window's own combo is reported with its type.
  QSignalSpy chosen(&Document, &TDiaryDocument::CategoryChanged);
  day.CategoryCombo()->setCurrentIndex(day.CategoryCombo()->findText(QStringLiteral("自転車")));
  emit day.CategoryCombo()->activated(day.CategoryCombo()->currentIndex());
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen.first().first().value<TCategoryType>(), ctBicycle);
  EXPECT_EQ(day.CategoryType(), ctBicycle);
  // A new diary starts again from the program's category.
  Document.DataFile().SetFileName("");
  emit Document.DiaryReset();
  EXPECT_EQ(month.Category(), QStringLiteral("ジョギング"));
  EXPECT_EQ(day.Category(), QStringLiteral("ジョギング"));
}

// Settings that make no sense and diaries at the edges: the window shows what it can.
TEST_F(GraphForm, BadSettingsAndEdgeDiariesNeverBreakTheChart) {
  const TScopedClock clock(EncodeDate(2014, 3, 31));
  struct Case {
    const char* Name;
    TDayAxisType Kind;
    int Term;
    TDateTime Start, End;
    int BarWidth, LineWidth;
    bool IsAuto;
    double Min, Max;
  } cases[] = {
      {"backwards value axis", daAll, 30, 0, 0, 0, 2, false, 10, 5},
      {"empty value axis", daAll, 30, 0, 0, 0, 2, false, 5, 5},
      {"backwards dates", daDate, 30, EncodeDate(2014, 4, 1), EncodeDate(2014, 1, 1), 0, 2, true, 0, 0},
      {"negative widths", daAll, 30, 0, 0, -5, -3, true, 0, 0},
      {"zero widths", daAll, 30, 0, 0, 0, 0, true, 0, 0},
      {"term of 0 days", daTerm, 0, 0, 0, 0, 2, true, 0, 0},
      {"term of 100,000 days", daTerm, 100000, 0, 0, 0, 2, true, 0, 0},
      {"dates beyond the calendar", daDate, 30, -1e9, 1e9, 0, 2, true, 0, 0},
  };
  AddJog(EncodeDate(2014, 3, 7), 7);
  AddJog(EncodeDate(2014, 3, 31), 3);
  for (bool bars : {true, false}) {
    for (const Case& c : cases) {
      TGraphInfo& info = DayInfo();
      info.SetIsBarSeries(bars);
      info.SetDayAxisKind(c.Kind);
      info.SetAxisTerm(c.Term);
      info.SetStartDate(c.Start);
      info.SetEndDate(c.End);
      info.SetBarSeriesWidth(c.BarWidth);
      info.SetLineSeriesWidth(c.LineWidth);
      info.SetIsAutoRecordAxis(c.IsAuto);
      info.SetRecordAxisMin(c.Min);
      info.SetRecordAxisMax(c.Max);
      TGraphForm form(Document, nullptr);
      ShowForm(form);
      EXPECT_FALSE(form.Chart()->Picture().isNull()) << c.Name;
      const QCPRange dates = form.Chart()->DateAxis()->range();
      EXPECT_LT(dates.lower, dates.upper) << c.Name;
      const QCPRange values = form.Chart()->ValueAxis(0)->range();
      EXPECT_LT(values.lower, values.upper) << c.Name;
      if (bars) {
        EXPECT_GE(form.Chart()->BarWidth(0), 1) << c.Name;
      }
    }
  }
  // The term of 0 days is today alone; the backwards dates still show the March day.
  DayInfo().SetDayAxisKind(daTerm);
  DayInfo().SetAxisTerm(0);
  TGraphForm today(Document, nullptr);
  ShowForm(today);
  EXPECT_EQ(today.Chart()->PointCount(0), 1);
}

TEST_F(GraphForm, EmptyAndOneDayDiaries) {
  TGraphForm empty(Document, nullptr);
  ShowForm(empty);
  EXPECT_EQ(empty.RecomputeCount(), 0);
  EXPECT_EQ(empty.Chart()->PointCount(0), 0);
  EXPECT_EQ(empty.CopyText(), QStringLiteral("日\t記録\r\n"));
  EXPECT_FALSE(empty.Chart()->Picture().isNull());

  AddJog(EncodeDate(2014, 3, 7), 7);
  TMonthGraphForm month(Document, nullptr);
  TYearGraphForm year(Document, nullptr);
  TGraphForm day(Document, nullptr);
  for (TGraphForm* form : {static_cast<TGraphForm*>(&month), static_cast<TGraphForm*>(&year), &day}) {
    ShowForm(*form);
    EXPECT_EQ(form->Chart()->PointCount(0), 1) << form->Name().toStdString();
    EXPECT_GE(form->Chart()->BarWidth(0), 3) << form->Name().toStdString();
    EXPECT_FALSE(form->Chart()->Picture().isNull());
  }
}

}  // namespace
}  // namespace hakuvo::test
