// How the graphs lay their series out: nothing vanishes (a line of one point, the first and last
// bars), nothing touches the frame, and the axes say what they show.
#include <QImage>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "graph_test_support.h"
#include "gui/graph/graph_form.h"
#include "gui/graph/multi_graph_form.h"
#include "support/screenshot.h"

namespace hakuvo::test {
namespace {

// The blue the settings give a series by default (0xFF0000 as 0x00BBGGRR).
const QColor kSeriesBlue(0, 0, 255);

int PixelsOf(const QImage& image, const QColor& color) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == color ? 1 : 0;
  }
  return count;
}

class GraphLayout : public GraphFixture {
 protected:
  TCategoryInfo& Jogging() { return *Document.CategoryInfoList().GetCategoryItems(ctJogging); }
  void UseLine(TGraphInfo& info, bool vertical) {
    info.SetIsBarSeries(false);
    info.SetIsYAxisDate(vertical);
    info.SetSeriesColor(0xFF0000);
  }
};

TEST_F(GraphLayout, ALineOfOnePointInViewDrawsThePoint) {
  // A lone outing, and a lone outing in view of a 30-day term with older ones outside it.
  struct Case {
    const char* What;
    bool Vertical;
    bool Term;
  };
  AddJog(EncodeDate(2020, 1, 10), 3);
  AddJog(EncodeDate(2020, 1, 12), 9);
  AddJog(EncodeDate(2024, 5, 20), 5);
  const TScopedClock clock(EncodeDate(2024, 5, 31) + 0.5);
  // The term cases first; the whole-diary case then keeps only the last outing.
  for (const Case& c : {Case{"term, dates across", false, true}, Case{"term, dates down", true, true},
                        Case{"whole diary, dates across", false, false}}) {
    UseLine(Jogging().GraphInfo(), c.Vertical);
    Jogging().GraphInfo().SetDayAxisKind(c.Term ? daTerm : daAll);
    Jogging().GraphInfo().SetAxisTerm(30);
    if (!c.Term) {
      while (Document.DayDataList().Count() > 1) Document.DayDataList().Remove(Document.DayDataList()[0]);
    }
    TGraphForm form(Document, nullptr);
    ShowForm(form);
    ASSERT_EQ(form.Chart()->PointCount(0), 1) << c.What;
    // A marker of some size, not a stray pixel.
    const QImage picture = form.Chart()->Picture().toImage();
    if (const char* shot = std::getenv("HAKUVO_SHOT_ONE_POINT"); shot != nullptr && !c.Term) picture.save(shot);
    EXPECT_GE(PixelsOf(picture, kSeriesBlue), 20) << c.What;
  }
}

TEST_F(GraphLayout, ALineOfManyPointsIsALineWithoutMarkers) {
  for (int d = 1; d <= 5; ++d) AddJog(EncodeDate(2024, 5, d), d);
  UseLine(Jogging().GraphInfo(), false);
  TGraphForm form(Document, nullptr);
  ShowForm(form);
  EXPECT_FALSE(form.Chart()->IsPointMarked(0));
  EXPECT_GE(PixelsOf(form.Chart()->Picture().toImage(), kSeriesBlue), 100);
}

// Whether every bar of a channel lies wholly inside the plot along the date axis.
bool BarsInsideThePlot(TGraphChart& chart, int channel, std::string& why) {
  const QRect plot = chart.axisRect()->rect();
  QCPAxis* date = chart.DateAxis();
  const double half = chart.BarWidth(channel) / 2.0;
  for (int i = 0; i < chart.PointCount(channel); ++i) {
    const double centre = date->coordToPixel(chart.PointKey(channel, i));
    const double low = chart.IsDateAxisVertical() ? plot.top() : plot.left();
    const double high = chart.IsDateAxisVertical() ? plot.bottom() : plot.right();
    if (centre - half < low - 0.5 || centre + half > high + 0.5) {
      why = "bar " + std::to_string(i) + " spans " + std::to_string(centre - half) + ".." +
            std::to_string(centre + half) + " of " + std::to_string(low) + ".." + std::to_string(high);
      return false;
    }
  }
  return true;
}

TEST_F(GraphLayout, TheHighestBarKeepsHeadroomAndNoBarIsCutAtTheEnds) {
  AddJog(EncodeDate(2024, 5, 5), 4);
  AddJog(EncodeDate(2024, 5, 7), 7.5);
  AddJog(EncodeDate(2024, 5, 9), 2);
  const TScopedClock clock(EncodeDate(2024, 5, 9) + 0.5);
  struct Case {
    const char* What;
    TDayAxisType Axis;
    bool Vertical;
  };
  for (const Case& c : {Case{"whole diary", daAll, false}, Case{"term ending today", daTerm, false},
                        Case{"whole diary, dates down", daAll, true}}) {
    TGraphInfo& info = Jogging().GraphInfo();
    info.SetIsBarSeries(true);
    info.SetIsYAxisDate(c.Vertical);
    info.SetDayAxisKind(c.Axis);
    info.SetAxisTerm(4);
    info.SetBarSeriesWidth(30);
    TGraphForm form(Document, nullptr);
    ShowForm(form);
    TGraphChart& chart = *form.Chart();
    const QCPRange values = chart.ValueAxis(0)->range();
    // Up to the next tick above 7.5, no further than one tick step.
    EXPECT_GT(values.upper, 7.5) << c.What;
    EXPECT_LE(values.upper, 10) << c.What;
    EXPECT_DOUBLE_EQ(values.lower, 0) << c.What;
    std::string why;
    EXPECT_TRUE(BarsInsideThePlot(chart, 0, why)) << c.What << ": " << why;
  }
}

TEST_F(GraphLayout, TheTwoDataGraphsLastBarIsWhole) {
  for (int d = 1; d <= 6; ++d) AddJog(EncodeDate(2024, 5, d), d);
  Document.MultiGraphInfo1().SetIsBarSeries(true);
  Document.MultiGraphInfo1().SetDayAxisKind(daAll);
  Document.MultiGraphInfo1().SetBarSeriesWidth(40);
  Document.MultiGraphInfo2().SetIsBarSeries(true);
  Document.MultiGraphInfo2().SetDayAxisKind(daAll);
  TMultiGraphForm form(Document, nullptr);
  ShowForm(form);
  TGraphChart& chart = *form.Chart();
  ASSERT_TRUE(chart.IsSeriesActive(0));
  std::string why;
  EXPECT_TRUE(BarsInsideThePlot(chart, 0, why)) << why;
  EXPECT_GT(chart.ValueAxis(0)->range().upper, 6);
}

TEST_F(GraphLayout, AYearGraphOfOneYearSpansThatYear) {
  AddJog(EncodeDate(2024, 3, 5), 4);
  AddJog(EncodeDate(2024, 9, 7), 6);
  for (bool bars : {true, false}) {
    TGraphInfo& info = Jogging().YearGraphInfo();
    info.SetIsBarSeries(bars);
    info.SetIsYAxisDate(false);
    info.SetDayAxisKind(daAll);
    TYearGraphForm form(Document, nullptr);
    ShowForm(form);
    TGraphChart& chart = *form.Chart();
    ASSERT_EQ(chart.PointCount(0), 1) << bars;
    const QCPRange shown = chart.DateAxis()->range();
    const double year = EncodeDate(2024, 1, 1);
    EXPECT_NEAR(shown.lower, year - 182.5, 1) << bars;
    EXPECT_NEAR(shown.upper, year + 182.5, 1) << bars;
  }
}

TEST_F(GraphLayout, AYearAxisOfSeveralYearsHasHalfAYearAtEachEnd) {
  AddJog(EncodeDate(2021, 3, 5), 4);
  AddJog(EncodeDate(2024, 9, 7), 6);
  TGraphInfo& info = Jogging().YearGraphInfo();
  info.SetIsBarSeries(false);
  info.SetDayAxisKind(daAll);
  TYearGraphForm form(Document, nullptr);
  ShowForm(form);
  const QCPRange shown = form.Chart()->DateAxis()->range();
  EXPECT_NEAR(shown.lower, EncodeDate(2021, 1, 1) - 182.5, 1);
  EXPECT_NEAR(shown.upper, EncodeDate(2024, 1, 1) + 182.5, 1);
}

TEST_F(GraphLayout, TheValueAxisNamesTheValueAndItsUnit) {
  AddJog(EncodeDate(2024, 5, 5), 4);
  struct Case {
    int Kind;
    const char* Title;
  };
  for (const Case& c : {Case{1, "距離(km)"}, Case{2, "速度(km/h)"}, Case{4, "カロリー(kcal)"}, Case{0, "回数(回)"}}) {
    Jogging().SetIndicationKind(c.Kind);
    Jogging().GraphInfo().RecordAxisTitle.assign(5, std::string());
    TGraphForm form(Document, nullptr);
    ShowForm(form);
    EXPECT_EQ(form.Chart()->ValueAxis(0)->label(), QString::fromUtf8(c.Title)) << c.Kind;
  }
  // A title of the user's own wins.
  Jogging().SetIndicationKind(1);
  Jogging().GraphInfo().RecordAxisTitle[1] = "走った距離";
  TGraphForm form(Document, nullptr);
  ShowForm(form);
  EXPECT_EQ(form.Chart()->ValueAxis(0)->label(), QStringLiteral("走った距離"));
}

// The legend sits in a corner of the plot where it hides no bar and no point of the line, or
// above the plot when every corner would hide one.
TEST_F(GraphLayout, TheTwoDataLegendCoversNoBar) {
  struct TCase {
    const char* Name;
    std::vector<double> Distances;  // one run a day; the line is the speed, the same numbers
    TLegendPlace Expected;
  };
  const TCase cases[] = {
      {"even runs leave the top right free", {10, 10, 10, 10, 10, 10, 10, 10, 10}, lpTopRight},
      {"the longest run last", {3, 4, 3, 5, 4, 3, 4, 5, 20}, lpTopLeft},
      {"long runs at both ends", {20, 4, 3, 5, 4, 3, 4, 5, 20}, lpAbove},
  };
  for (const TCase& test : cases) {
    Document.DayDataList().Clear();
    for (std::size_t d = 0; d < test.Distances.size(); ++d) {
      AddJog(EncodeDate(2024, 5, static_cast<int>(d) + 1), test.Distances[d]);
    }
    Document.MultiGraphInfo1().SetIsBarSeries(true);
    Document.MultiGraphInfo1().SetDayAxisKind(daAll);
    Document.MultiGraphInfo2().SetIsBarSeries(false);
    Document.MultiGraphInfo2().SetDayAxisKind(daAll);
    // Fixed value axes: the bars reach the top, the line stays in the lower half.
    for (TGraphInfo* info : {&Document.MultiGraphInfo1(), &Document.MultiGraphInfo2()}) {
      info->SetIsAutoRecordAxis(false);
      info->SetRecordAxisMin(0);
      info->SetRecordAxisMax(info == &Document.MultiGraphInfo1() ? 20 : 40);
    }
    TMultiGraphForm form(Document, nullptr);
    ShowForm(form);
    TGraphChart& chart = *form.Chart();
    chart.replot();
    ASSERT_EQ(chart.legend->itemCount(), 2) << test.Name;
    EXPECT_EQ(chart.LegendPlace(), test.Expected) << test.Name;
    EXPECT_EQ(chart.IsLegendOutsidePlot(), test.Expected == lpAbove) << test.Name;
    const QRect legendBox = chart.legend->outerRect();
    for (int i = 0; i < chart.PointCount(0); ++i) {
      const QPoint top = PointPixel(chart, 0, i, false);
      const QPoint base(top.x(), chart.axisRect()->rect().bottom());
      const int half = chart.BarWidth(0) / 2;
      EXPECT_FALSE(QRect(QPoint(top.x() - half, top.y()), QPoint(top.x() + half, base.y())).intersects(legendBox))
          << test.Name << ": bar " << i;
      EXPECT_FALSE(legendBox.contains(PointPixel(chart, 1, i, false))) << test.Name << ": point " << i;
    }
    SaveScreenshot(form, QStringLiteral("legend_%1").arg(static_cast<int>(test.Expected)));
  }
  // Both axes name their value.
  Document.MultiGraphInfo1().SetIsAutoRecordAxis(true);
  Document.MultiGraphInfo2().SetIsAutoRecordAxis(true);
  TMultiGraphForm form(Document, nullptr);
  ShowForm(form);
  EXPECT_EQ(form.Chart()->ValueAxis(0)->label(), QStringLiteral("距離(km)"));
  EXPECT_EQ(form.Chart()->ValueAxis(1)->label(), QStringLiteral("速度(km/h)"));
}

}  // namespace
}  // namespace hakuvo::test
