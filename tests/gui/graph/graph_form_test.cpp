#include "gui/graph/graph_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

#include "core/common/number_format.h"
#include "graph_test_support.h"
#include "gui/categories/category_set_dialog.h"
#include "gui/categories/category_set_dialog_pages.h"

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
  EXPECT_EQ(form.Chart()->ValueLabels().size(), 2);
  QTest::mouseDClick(form.Chart(), Qt::LeftButton, {}, bar);
  EXPECT_FALSE(form.Chart()->ValueLabelsVisible());
  EXPECT_TRUE(form.Chart()->ValueLabels().isEmpty());
}

// Whether a pixel of the picture near `at` has the labels' frame colour.
bool FramePixelNear(const QImage& image, QPointF at) {
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      const QPoint p(static_cast<int>(std::lround(at.x())) + dx, static_cast<int>(std::lround(at.y())) + dy);
      if (image.rect().contains(p) && image.pixelColor(p) == QColor(Qt::gray)) return true;
    }
  }
  return false;
}

TEST_F(GraphForm, ValueLabelsHangOnASixPixelArrowAwayFromZeroInEveryLayout) {
  AddJog(EncodeDate(2014, 3, 5), 4);
  AddJog(EncodeDate(2014, 3, 7), 7.5);
  AddJog(EncodeDate(2014, 3, 9), 2);
  struct Case {
    bool Vertical;
    bool Bars;
  };
  for (const Case& c : {Case{false, true}, Case{true, true}, Case{false, false}, Case{true, false}}) {
    const std::string what = std::string(c.Vertical ? "dates down, " : "dates across, ") + (c.Bars ? "bars" : "line");
    DayInfo().SetIsYAxisDate(c.Vertical);
    DayInfo().SetIsBarSeries(c.Bars);
    DayInfo().SetDayAxisKind(daAll);
    TGraphForm form(Document, nullptr);
    ShowForm(form);
    TGraphChart& chart = *form.Chart();
    EXPECT_TRUE(chart.ValueLabels().isEmpty()) << what;
    chart.SetValueLabelsVisible(true);
    const QVector<TValueLabel> labels = chart.ValueLabels();
    ASSERT_EQ(labels.size(), 3) << what;
    const QImage picture = chart.Picture().toImage();
    const QFontMetricsF metrics(chart.font());
    for (const TValueLabel& label : labels) {
      EXPECT_EQ(label.Text, QString::fromStdString(FormatGeneral(chart.PointValue(0, label.Index)))) << what;
      // The arrow starts on the point (the bar's end) and is 6 pixels long.
      const QPoint point = PointPixel(chart, 0, label.Index, false);
      EXPECT_NEAR(label.Point.x(), point.x(), 1) << what;
      EXPECT_NEAR(label.Point.y(), point.y(), 1) << what;
      EXPECT_DOUBLE_EQ(QLineF(label.Point, label.ArrowEnd).length(), TGraphChart::ValueLabelArrowLength) << what;
      // The box starts where the arrow ends, beyond the point (right of it with the dates down,
      // above it with the dates across), centred on the point's line. The automatic axis ends a
      // tick above the highest value, so even its label stands beyond its point.
      const double away = 1;
      const QRectF area = chart.axisRect()->rect();
      if (c.Vertical) {
        EXPECT_DOUBLE_EQ(label.ArrowEnd.x(), label.Point.x() + away * 6) << what;
        EXPECT_DOUBLE_EQ(away > 0 ? label.Box.left() : label.Box.right(), label.ArrowEnd.x()) << what;
        EXPECT_TRUE(label.Box.center().y() == label.Point.y() || label.Box.top() == area.top() ||
                    label.Box.bottom() == area.bottom())
            << what;
        EXPECT_LE(label.Box.right(), area.right() + 1) << what;
        EXPECT_GE(label.Box.top(), area.top()) << what;
      } else {
        EXPECT_DOUBLE_EQ(label.ArrowEnd.y(), label.Point.y() - away * 6) << what;
        EXPECT_DOUBLE_EQ(away > 0 ? label.Box.bottom() : label.Box.top(), label.ArrowEnd.y()) << what;
        // Centred on the point, but never out of the chart at its left and right edges.
        EXPECT_TRUE(label.Box.center().x() == label.Point.x() || label.Box.left() == area.left() ||
                    label.Box.right() == area.right())
            << what;
        EXPECT_GE(label.Box.left(), area.left()) << what;
        EXPECT_GE(label.Box.top(), area.top()) << what;
      }
      EXPECT_GT(label.Box.width(), 2 * TGraphChart::ValueLabelMargin) << what;
      // Drawn: the arrow's middle and the box's frame are on the picture.
      EXPECT_TRUE(FramePixelNear(picture, (label.Point + label.ArrowEnd) / 2))
          << what << ' ' << label.Index << ' ' << label.Point.x() << ',' << label.Point.y() << " area " << area.left()
          << ',' << area.top() << ',' << area.right() << ',' << area.bottom();
      EXPECT_TRUE(FramePixelNear(picture, QPointF(label.Box.right(), label.Box.center().y()))) << what;
    }
    chart.SetValueLabelsVisible(false);
    EXPECT_TRUE(chart.ValueLabels().isEmpty()) << what;
  }
}

TEST_F(GraphForm, CrowdedValueLabelsLeaveOutTheOnesThatWouldCoverOthers) {
  // Two years of daily values.
  for (int d = 0; d < 730; ++d) AddJog(EncodeDate(2012, 1, 1) + d, 1 + d % 17);
  for (bool vertical : {false, true}) {
    DayInfo().SetIsYAxisDate(vertical);
    DayInfo().SetIsBarSeries(true);
    DayInfo().SetDayAxisKind(daAll);
    TGraphForm form(Document, nullptr);
    ShowForm(form);
    TGraphChart& chart = *form.Chart();
    chart.SetValueLabelsVisible(true);
    const QVector<TValueLabel> labels = chart.ValueLabels();
    ASSERT_GT(labels.size(), 3) << vertical;
    EXPECT_LT(labels.size(), chart.PointCount(0) / 4) << vertical;
    for (qsizetype i = 1; i < labels.size(); ++i) {
      EXPECT_FALSE(labels[i].Box.intersects(labels[i - 1].Box)) << vertical << ' ' << i;
      EXPECT_GT(labels[i].Index, labels[i - 1].Index) << vertical;
    }
    // The first point gets its label; the last one drawn is near the end of the axis.
    EXPECT_EQ(labels.first().Index, 0) << vertical;
    EXPECT_GT(labels.last().Index, chart.PointCount(0) * 9 / 10) << vertical;
  }
  // A value below zero hangs its label on the far side of its bar, below or left of it.
  Document.DayDataList().Clear();
  AddJog(EncodeDate(2014, 1, 1), -2);
  AddJog(EncodeDate(2014, 1, 2), 3);
  DayInfo().SetIsAutoRecordAxis(false);
  DayInfo().SetRecordAxisMin(-5);
  DayInfo().SetRecordAxisMax(5);
  for (bool vertical : {false, true}) {
    DayInfo().SetIsYAxisDate(vertical);
    TGraphForm form(Document, nullptr);
    ShowForm(form);
    form.Chart()->SetValueLabelsVisible(true);
    const QVector<TValueLabel> labels = form.Chart()->ValueLabels();
    ASSERT_EQ(labels.size(), 2) << vertical;
    ASSERT_EQ(labels[0].Text, QStringLiteral("-2")) << vertical;
    if (vertical) {
      EXPECT_DOUBLE_EQ(labels[0].ArrowEnd.x(), labels[0].Point.x() - 6);
      EXPECT_DOUBLE_EQ(labels[0].Box.right(), labels[0].ArrowEnd.x());
    } else {
      EXPECT_DOUBLE_EQ(labels[0].ArrowEnd.y(), labels[0].Point.y() + 6);
      EXPECT_DOUBLE_EQ(labels[0].Box.top(), labels[0].ArrowEnd.y());
    }
  }
}

TEST_F(GraphForm, SettingsButtonOpensItsPeriodsPageAndOkRecomputesOnce) {
  AddJog(EncodeDate(2014, 3, 5), 4);
  TCategoryInfo& jogging = *Document.CategoryInfoList().GetCategoryItems(ctJogging);
  struct Case {
    std::function<std::unique_ptr<TGraphForm>()> Make;
    int Page;
    TGraphInfo* Edited;
  };
  const std::vector<Case> cases = {
      {[this] { return std::make_unique<TGraphForm>(Document, nullptr); }, TCategorySetDialog::piDayGraph,
       &jogging.GraphInfo()},
      {[this] { return std::make_unique<TMonthGraphForm>(Document, nullptr); }, TCategorySetDialog::piMonthGraph,
       &jogging.MonthGraphInfo()},
      {[this] { return std::make_unique<TYearGraphForm>(Document, nullptr); }, TCategorySetDialog::piYearGraph,
       &jogging.YearGraphInfo()},
  };
  for (const Case& c : cases) {
    for (bool ok : {false, true}) {
      for (TGraphInfo* info : {&jogging.GraphInfo(), &jogging.MonthGraphInfo(), &jogging.YearGraphInfo()}) {
        info->SetLineSeriesWidth(2);
      }
      std::unique_ptr<TGraphForm> form = c.Make();
      // The window hears the diary's changes as the dock manager passes them on.
      QObject::connect(&Document, &TDiaryDocument::DataChanged, form.get(), &TDockingForm::RefreshData,
                       Qt::QueuedConnection);
      ShowForm(*form);
      const int before = form->RecomputeCount();
      int opened = 0;
      form->SetDialogRunner([&](QDialog& dialog) {
        ++opened;
        auto* categories = dynamic_cast<TCategorySetDialog*>(&dialog);
        if (categories == nullptr) return static_cast<int>(QDialog::Rejected);
        EXPECT_EQ(categories->CategoryInfo(), &jogging) << c.Page;
        EXPECT_EQ(categories->ActivePage(), c.Page);
        categories->GraphPage(c.Page)->LineWidthEdit()->setText(QStringLiteral("7"));
        if (!ok) {
          dialog.reject();
        } else {
          dialog.accept();
        }
        return dialog.result();
      });
      QSignalSpy changed(&Document, &TDiaryDocument::DataChanged);
      form->SettingsAction()->trigger();
      Settle();
      ASSERT_EQ(opened, 1) << c.Page;
      EXPECT_EQ(changed.count(), ok ? 1 : 0) << c.Page << ok;
      EXPECT_EQ(form->RecomputeCount(), before + (ok ? 1 : 0)) << c.Page << ok;
      // Only the window's own record, and only on OK.
      for (TGraphInfo* info : {&jogging.GraphInfo(), &jogging.MonthGraphInfo(), &jogging.YearGraphInfo()}) {
        EXPECT_EQ(info->LineSeriesWidth(), ok && info == c.Edited ? 7 : 2) << c.Page << ok;
      }
    }
  }
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

// Records how many recomputations a window had made when a widget was first painted.
class TFirstPaintProbe : public QObject {
 public:
  explicit TFirstPaintProbe(const TGraphForm& form) : FForm(form) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && Seen < 0) Seen = FForm.RecomputeCount();
    return false;
  }
  int Seen = -1;

 private:
  const TGraphForm& FForm;
};

TEST_F(GraphForm, AWindowShownWithItsMainWindowRecomputesAfterTheFirstPaint) {
  for (int d = 0; d < 30; ++d) AddJog(EncodeDate(2014, 3, 1) + d, 1 + d % 5);
  QWidget main;
  auto* layout = new QVBoxLayout(&main);
  auto* list = new QWidget(&main);
  list->setMinimumSize(200, 100);
  layout->addWidget(list);
  auto* form = new TGraphForm(Document, nullptr, &main);
  layout->addWidget(form);
  TFirstPaintProbe probe(*form);
  list->installEventFilter(&probe);
  main.resize(624, 600);
  main.show();
  Settle();
  // The list showed before the chart was computed, and the chart was computed once after.
  EXPECT_EQ(probe.Seen, 0);
  EXPECT_EQ(form->RecomputeCount(), 1);
  EXPECT_EQ(form->Chart()->PointCount(0), 30);
  // Once on screen, a change recomputes at the next turn as before.
  form->RefreshData();
  Settle();
  EXPECT_EQ(form->RecomputeCount(), 2);
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
