#include "core/graph/graph_rules.h"

#include <gtest/gtest.h>

#include "core/graph/graph_calc_data.h"
#include "core/model/record_data.h"

namespace hakuvo {
namespace {

TGraphInfo Info(TDayAxisType kind, int term = 30, TDateTime start = 0, TDateTime end = 0) {
  TGraphInfo info;
  info.SetDayAxisKind(kind);
  info.SetAxisTerm(term);
  info.SetStartDate(start);
  info.SetEndDate(end);
  return info;
}

TEST(DateAxisRange, ByKind) {
  const TDateTime today = EncodeDate(2014, 3, 7);
  const TDateAxisRange term = DateAxisRange(Info(daTerm, 30), today);
  EXPECT_FALSE(term.IsAuto);
  EXPECT_EQ(term.Min, today - 30);
  EXPECT_EQ(term.Max, today);
  const TDateAxisRange dates = DateAxisRange(Info(daDate, 30, EncodeDate(2013, 1, 1), EncodeDate(2013, 2, 1)), today);
  EXPECT_EQ(dates.Min, EncodeDate(2013, 1, 1));
  EXPECT_EQ(dates.Max, EncodeDate(2013, 2, 1));
  EXPECT_TRUE(DateAxisRange(Info(daAll), today).IsAuto);
}

TEST(DateAxisRange, BadSettingsGiveADrawableRange) {
  const TDateTime today = EncodeDate(2014, 3, 7);
  // Backwards dates are turned round rather than giving an axis with min above max.
  const TDateAxisRange backwards =
      DateAxisRange(Info(daDate, 30, EncodeDate(2014, 2, 1), EncodeDate(2014, 1, 1)), today);
  EXPECT_EQ(backwards.Min, EncodeDate(2014, 1, 1));
  EXPECT_EQ(backwards.Max, EncodeDate(2014, 2, 1));
  // A term of 0 is the one day today; a negative one is the same.
  for (int term : {0, -5}) {
    const TDateAxisRange range = DateAxisRange(Info(daTerm, term), today);
    EXPECT_EQ(range.Min, today) << term;
    EXPECT_EQ(range.Max, today) << term;
  }
  // A term far beyond the calendar's start stops at its first day.
  const TDateAxisRange huge = DateAxisRange(Info(daTerm, 100000000), today);
  EXPECT_EQ(huge.Min, FirstDaySerial);
  // Dates out of the calendar are pulled into it.
  const TDateAxisRange far = DateAxisRange(Info(daDate, 30, -1e12, 1e12), today);
  EXPECT_EQ(far.Min, FirstDaySerial);
  EXPECT_EQ(far.Max, LastDaySerial);
}

TEST(DateLabels, FormatFollowsPeriodAndSpan) {
  const TDateTime start = EncodeDate(2013, 2, 1);
  const TDateTime march7 = EncodeDate(2014, 3, 7);
  struct Case {
    TGraphPeriod Period;
    double Span;
    const char* Label;
  } cases[] = {
      {gpDay, 400, "2014/3"},   {gpDay, 366, "2014/3"},     {gpDay, 365, "3/07"}, {gpDay, 200, "3/07"},
      {gpMonth, 10, "2014/03"}, {gpMonth, 4000, "2014/03"}, {gpYear, 10, "2014"},
  };
  for (const Case& c : cases) {
    const TDateLabelFormat format = DateLabelFormat(c.Period, start, start + c.Span);
    EXPECT_EQ(FormatDateLabel(march7, format), c.Label) << c.Period << " " << c.Span;
  }
}

TEST(DateLabels, TicksStayInRangeAndUnderTheLimit) {
  const TDateTime min = EncodeDate(2000, 1, 15);
  const TDateTime max = EncodeDate(2019, 12, 31);
  for (TDateLabelFormat format : {dfYearMonth, dfMonthDay, dfYearMonth2, dfYear}) {
    const std::vector<TDateTime> ticks = DateTicks(min, max, format, 12);
    ASSERT_FALSE(ticks.empty()) << format;
    EXPECT_LE(ticks.size(), 12U) << format;
    EXPECT_GE(ticks.front(), min) << format;
    EXPECT_LE(ticks.back(), max) << format;
  }
  // Year ticks fall on the first of January.
  for (TDateTime tick : DateTicks(min, max, dfYear, 30)) EXPECT_EQ(FormatDateTime("mm/dd", tick), "01/01");
  // A one-day axis has its one tick; a backwards one none.
  EXPECT_EQ(DateTicks(min, min, dfMonthDay, 10).size(), 1U);
  EXPECT_TRUE(DateTicks(max, min, dfMonthDay, 10).empty());
}

TEST(BarWidth, AutomaticWidthFromTheAxis) {
  // Ten days on a 500-pixel axis using 2 % to 98 %: 500 - 20 = 480, / 10 = 48, - 2 = 46,
  // × 0.55 = 25.3 -> 25.
  TBarWidthInput input;
  input.Units = UnitsInRange(gpDay, EncodeDate(2014, 3, 1), EncodeDate(2014, 3, 11));
  input.AxisLength = 500;
  input.StartPercent = 2;
  input.EndPercent = 98;
  EXPECT_EQ(input.Units, 10);
  EXPECT_EQ(BarWidth(input), 25);
  // Two bar series share: half of 25, rounded.
  input.IsHalf = true;
  EXPECT_EQ(BarWidth(input), 13);
  input.IsHalf = false;
  // Many units: never below 3; few: never above 100.
  input.Units = 7300;
  EXPECT_EQ(BarWidth(input), 3);
  input.Units = 1;
  EXPECT_EQ(BarWidth(input), 100);
  // No units (a span of 0): the last width, shrunk the same way.
  input.Units = 0;
  input.FallbackWidth = 46;
  EXPECT_EQ(BarWidth(input), 25);
}

TEST(BarWidth, SetWidthWinsAndBadWidthsStayVisible) {
  TBarWidthInput input;
  input.Units = 10;
  input.AxisLength = 500;
  input.SetWidth = 12;
  EXPECT_EQ(BarWidth(input), 12);
  input.SetWidth = -4;
  EXPECT_EQ(BarWidth(input), 1);
  // A chart with no length yet still gets a bar.
  input.SetWidth = 0;
  input.AxisLength = 0;
  EXPECT_EQ(BarWidth(input), 3);
}

TEST(UnitsInRange, ByPeriod) {
  const TDateTime start = EncodeDate(2014, 1, 1);
  EXPECT_EQ(UnitsInRange(gpMonth, start, start + 61), 2);
  EXPECT_EQ(UnitsInRange(gpMonth, start, start + 30), 0);
  EXPECT_EQ(UnitsInRange(gpYear, start, start + 800), 2);
  EXPECT_EQ(UnitsInRange(gpDay, start, start + 10.9), 10);
  EXPECT_EQ(UnitsInRange(gpDay, start, start - 5), 0);
}

// A small diary of jogs: the distance of each day is its day of the month.
class GraphRulesDiary : public ::testing::Test {
 protected:
  void AddJog(TDateTime date, double distance, const char* title = "") {
    TDayData* day = Days.FindDate(date);
    if (day == nullptr) {
      auto made = std::make_unique<TDayData>();
      made->DateData = date;
      day = Days.Add(std::move(made));
      Days.DateSort();
    }
    TActData* act = day->AddAct(CreateActData(ctJogging));
    act->Title = title;
    act->RecordData->SetData(distance);
    if (auto* time = dynamic_cast<TTimeRecord*>(act->RecordData.get())) {
      time->StartTime = 0.25;
      time->EndTime = 0.3;
    }
  }
  template <typename Calc>
  Calc Run(int kind = 1) {
    Calc calc;
    calc.SetDayDataList(&Days);
    calc.SetCategoryInfoList(Infos.get());
    calc.SetCategory(CategoryNames()[ctJogging]);
    calc.SetRecordKind(kind);
    calc.Calc();
    return calc;
  }

  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Infos = TCategoryInfoList::CreateStandard();
};

TEST_F(GraphRulesDiary, TermOf30KeepsTheLast30DaysInTheCopyText) {
  const TDateTime today = EncodeDate(2014, 3, 31);
  for (int back : {45, 31, 30, 10, 0}) AddJog(today - back, back + 1);
  // A day after today is outside the term too.
  AddJog(today + 1, 99);
  const TGraphCalcDayData calc = Run<TGraphCalcDayData>();
  const TDateAxisRange range = DateAxisRange(Info(daTerm, 30), today);
  EXPECT_EQ(PeriodCopyText(calc.TimeArray, calc.DataArray, range),
            "日\t記録\r\n2014/03/01\t31\r\n2014/03/21\t11\r\n2014/03/31\t1\r\n");
  EXPECT_EQ(PointsInRange(calc.TimeArray, range), (std::vector<int>{2, 3, 4}));
  // Automatic: everything.
  EXPECT_EQ(PointsInRange(calc.TimeArray, {}).size(), 6U);
}

TEST_F(GraphRulesDiary, PerActionWindowAndClickIndex) {
  const TDateTime today = EncodeDate(2014, 3, 31);
  // Three old actions (two on one day), then two inside the last 30 days, one of them untitled.
  AddJog(today - 90, 1, "古い1");
  AddJog(today - 90, 2, "古い2");
  AddJog(today - 40, 3, "古い3");
  AddJog(EncodeDate(2014, 3, 7), 4);
  AddJog(today, 5, "今日");
  const TGraphCalcActData calc = Run<TGraphCalcActData>();
  const TDateAxisRange window = ActDateWindow(Info(daTerm, 30), today);
  const std::vector<int> plotted = PointsInRange(calc.TimeArray, window);
  ASSERT_EQ(plotted, (std::vector<int>{3, 4}));
  EXPECT_EQ(calc.GetTitle(plotted[0]), "3/7");
  // The first plotted point is the fourth action of the list.
  EXPECT_EQ(ActRowIndex(calc.TimeArray, window, 0), 3);
  EXPECT_EQ(ActRowIndex(calc.TimeArray, window, 1), 4);
  EXPECT_EQ(ActRowIndex(calc.TimeArray, window, 2), -1);
  // All actions: the point is the row.
  EXPECT_EQ(ActRowIndex(calc.TimeArray, {}, 2), 2);
}

TEST(CopyText, TwoColumnsAndAShorterSecondSeries) {
  const TDateTime d = EncodeDate(2014, 3, 7);
  const TCopySeries first{{d, d + 1, d + 2}, {1, 2.5, 3}};
  const TCopySeries shorter{{d}, {10}};
  EXPECT_EQ(TwoDataCopyText(first, nullptr, {}),
            "日\t記録1\t記録2\r\n2014/03/07\t1\r\n2014/03/08\t2.5\r\n2014/03/09\t3\r\n");
  EXPECT_EQ(TwoDataCopyText(first, &shorter, {}),
            "日\t記録1\t記録2\r\n2014/03/07\t1\t10\r\n2014/03/08\t2.5\t\r\n2014/03/09\t3\t\r\n");
  // The range of the date axis limits the rows.
  EXPECT_EQ(TwoDataCopyText(first, &shorter, {false, d + 1, d + 1}), "日\t記録1\t記録2\r\n2014/03/08\t2.5\t\r\n");
}

TEST(CopyText, DateWithTimeShowsTheTime) {
  EXPECT_EQ(CopyDateText(EncodeDate(2014, 3, 7)), "2014/03/07");
  EXPECT_EQ(CopyDateText(EncodeDate(2014, 3, 7) + 0.5), "2014/03/07 12:00:00");
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

TEST(ShownDateSpan, HalfAnEntryWhereBarsStandOnYearAxesAndAroundOneMoment) {
  struct Case {
    const char* What;
    TDateTime Min, Max;
    TGraphPeriod Period;
    bool Bars, Auto;
    double Low, High;
  };
  const Case cases[] = {
      {"day line, several days", 100, 110, gpDay, false, true, 100, 110},
      {"day bars", 100, 110, gpDay, true, false, 99.5, 110.5},
      {"month bars", 100, 200, gpMonth, true, true, 84.75, 215.25},
      {"automatic year line", 365, 730, gpYear, false, true, 182.5, 912.5},
      {"fixed year line", 365, 730, gpYear, false, false, 365, 730},
      {"one year, bars", 365, 365, gpYear, true, true, 182.5, 547.5},
      {"one day, line", 45000, 45000, gpDay, false, true, 44999.5, 45000.5},
      {"backwards", 110, 100, gpDay, true, false, 99.5, 110.5},
  };
  for (const Case& c : cases) {
    const TShownSpan span = ShownDateSpan(c.Min, c.Max, c.Period, c.Bars, c.Auto);
    EXPECT_DOUBLE_EQ(span.Min, c.Low) << c.What;
    EXPECT_DOUBLE_EQ(span.Max, c.High) << c.What;
  }
}

TEST(AutoValueRange, UpToTheNextTickAboveTheHighestValue) {
  struct Case {
    double Min, Max;
    double Low, High;
  };
  const Case cases[] = {
      {0, 7.5, 0, 8},     // step 1
      {0, 10, 0, 12},     // on a tick: the next one
      {0, 42, 0, 50},     // step 10
      {0, 0.37, 0, 0.4},  // step 0.1
      {-3, 7, -4, 8},     // step 2: a tick below the lowest too
      {60, 70, 58, 72},   // a tick below a positive lowest value
      {0.5, 7.5, 0, 8},   // but not under 0
      {5, 5, 4, 6},       // one value in the middle
      {0, 0, 0, 1},       // nothing but zero
      {-8, -2, -9, -2},   // all below zero
  };
  for (const Case& c : cases) {
    const TShownSpan shown = AutoValueRange(c.Min, c.Max);
    EXPECT_NEAR(shown.Min, c.Low, 1e-9) << c.Min << ".." << c.Max;
    EXPECT_NEAR(shown.Max, c.High, 1e-9) << c.Min << ".." << c.Max;
    EXPECT_GT(shown.Max, shown.Min);
  }
}

TEST(ValueAxisTitle, SetTitleElseNameWithUnit) {
  const std::vector<std::string> units = {"回", "km", "km/h", "kg", "kcal"};
  EXPECT_EQ(CategoryValueAxisTitle(ctJogging, units, {}, 1), "距離(km)");
  EXPECT_EQ(CategoryValueAxisTitle(ctJogging, units, {"", "", ""}, 2), "速度(km/h)");
  EXPECT_EQ(CategoryValueAxisTitle(ctJogging, units, {"", "走行距離"}, 1), "走行距離");
  EXPECT_EQ(CategoryValueAxisTitle(ctJogging, units, {}, 4), "カロリー(kcal)");
  EXPECT_EQ(CategoryValueAxisTitle(ctJogging, units, {}, 9), "");
  EXPECT_EQ(ValueAxisTitle("", "記録", ""), "記録");
}

}  // namespace
}  // namespace hakuvo
