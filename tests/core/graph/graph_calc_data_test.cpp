#include "core/graph/graph_calc_data.h"

#include <gtest/gtest.h>

namespace hakuvo {
namespace {

constexpr double kHour = 1.0 / 24.0;

class GraphCalc : public ::testing::Test {
 protected:
  TDayData& Day(int y, int m, int d) {
    const TDateTime date = EncodeDate(y, m, d);
    if (TDayData* found = Days.FindDate(date)) return *found;
    auto day = std::make_unique<TDayData>();
    day->DateData = date;
    TDayData* added = Days.Add(std::move(day));
    Days.DateSort();
    return *added;
  }
  TActData& Act(TDayData& day, TCategoryType kind, double value, double hours = 1, const char* user = "") {
    TActData* act = day.AddAct(CreateActData(kind));
    act->UserCategory = user;
    act->RecordData->SetData(value);
    if (auto* time = dynamic_cast<TTimeRecord*>(act->RecordData.get())) {
      time->StartTime = 6 * kHour;
      time->EndTime = (6 + hours) * kHour;
    }
    return *act;
  }
  template <typename Calc>
  Calc Make(const std::string& category, int recordKind = -1) {
    Calc calc;
    calc.SetDayDataList(&Days);
    calc.SetCategoryInfoList(Infos.get());
    calc.SetCategory(category);
    calc.SetRecordKind(recordKind);
    calc.Calc();
    return calc;
  }

  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Infos = TCategoryInfoList::CreateStandard();
};

TEST_F(GraphCalc, DaySeriesCombinesByTheRuleOfTheIndex) {
  TDayData& day = Day(2024, 3, 7);
  Act(day, ctJogging, 3, 0.3);        // 10 km/h
  Act(day, ctJogging, 4, 1.0 / 3.0);  // 12 km/h
  auto distance = Make<TGraphCalcDayData>("ジョギング", 1);
  ASSERT_EQ(distance.DataCount(), 1);
  EXPECT_EQ(distance.GetTime(0), EncodeDate(2024, 3, 7));
  EXPECT_DOUBLE_EQ(static_cast<double>(distance.GetData(0)), 7);
  auto speed = Make<TGraphCalcDayData>("ジョギング", 2);
  EXPECT_NEAR(static_cast<double>(speed.GetData(0)), (10 * 3 + 12 * 4) / 7.0, 1e-9);
  Infos->GetCategoryItems(ctJogging)->CalcKind[1] = ckAverage;
  EXPECT_DOUBLE_EQ(static_cast<double>(Make<TGraphCalcDayData>("ジョギング", 1).GetData(0)), 3.5);
}

TEST_F(GraphCalc, ZeroDaysHaveNoDayEntryButTheirMonthHasOne) {
  Act(Day(2024, 1, 31), ctShopping, 500);
  Act(Day(2024, 2, 10), ctShopping, 0);
  Act(Day(2024, 3, 2), ctShopping, 300);
  Act(Day(2024, 3, 20), ctShopping, 200);
  auto days = Make<TGraphCalcDayData>("買い物");
  ASSERT_EQ(days.DataCount(), 3);
  EXPECT_EQ(days.GetTime(1), EncodeDate(2024, 3, 2));

  auto months = Make<TGraphCalcMonthData>("買い物");
  ASSERT_EQ(months.DataCount(), 3);
  EXPECT_EQ(months.GetTime(0), EncodeDate(2024, 1, 1));
  EXPECT_EQ(months.GetTime(1), EncodeDate(2024, 2, 1));
  EXPECT_EQ(months.GetData(1), 0);
  EXPECT_EQ(months.GetData(2), 500);
}

TEST_F(GraphCalc, MonthsAndYearsIncludeEmptyPeriodsAndAverageOverAllActions) {
  Act(Day(2022, 11, 5), ctWeight, 60);
  Act(Day(2022, 11, 20), ctWeight, 62);
  Act(Day(2022, 11, 20), ctWeight, 64);
  Act(Day(2024, 2, 1), ctWeight, 70);
  auto months = Make<TGraphCalcMonthData>("体重");
  ASSERT_EQ(months.DataCount(), 16);  // 2022-11 .. 2024-02
  EXPECT_DOUBLE_EQ(static_cast<double>(months.GetData(0)), 62);
  EXPECT_EQ(months.TotalDataArray[0], 3);
  EXPECT_EQ(months.GetData(5), 0);
  EXPECT_EQ(months.GetTime(15), EncodeDate(2024, 2, 1));

  auto years = Make<TGraphCalcYearData>("体重");
  ASSERT_EQ(years.DataCount(), 3);
  EXPECT_EQ(years.GetTime(1), EncodeDate(2023, 1, 1));
  EXPECT_EQ(years.GetData(1), 0);
  EXPECT_DOUBLE_EQ(static_cast<double>(years.GetData(2)), 70);
}

TEST_F(GraphCalc, UserCategoriesCountOnlyTheirOwnName) {
  TDayData& day = Day(2024, 5, 1);
  Act(day, ctUserCategory, 2, 1, "ヨガ");
  Act(day, ctUserCategory, 5, 1, "筋トレ");
  auto yoga = Make<TGraphCalcDayData>("ヨガ");
  ASSERT_EQ(yoga.DataCount(), 1);
  EXPECT_EQ(yoga.GetData(0), 2);
  EXPECT_EQ(Make<TGraphCalcActData>("ヨガ").DataCount(), 1);
}

TEST_F(GraphCalc, ActionSeriesHasTitlesSpeedsAndRestoresIndices) {
  TDayData& day = Day(2024, 3, 7);
  TActData& untitled = Act(day, ctWalking, 5, 1);
  TActData& titled = Act(day, ctWalking, 3, 0.5);
  titled.Title = "夕方";
  untitled.RecordData->IndicationKind = 3;
  titled.RecordData->IndicationKind = 0;
  auto acts = Make<TGraphCalcActData>("ウォーキング");
  ASSERT_EQ(acts.DataCount(), 2);
  EXPECT_EQ(acts.GetTitle(0), "3/7");
  EXPECT_EQ(acts.GetTitle(1), "夕方");
  EXPECT_EQ(acts.GetData(0), 60) << "-1 reads each record's own index (weight here)";
  EXPECT_EQ(acts.GetData(1), 1);
  EXPECT_DOUBLE_EQ(static_cast<double>(acts.GetSpeed(1)), 6);
  EXPECT_EQ(acts.ActArray, (std::vector<const TActData*>{&untitled, &titled}));
  EXPECT_EQ(untitled.RecordData->IndicationKind, 3);
  EXPECT_EQ(titled.RecordData->IndicationKind, 0);

  (void)Make<TGraphCalcMonthData>("ウォーキング", 2);
  (void)Make<TGraphCalcDayData>("ウォーキング", 4);
  EXPECT_EQ(untitled.RecordData->IndicationKind, 3);
  EXPECT_EQ(titled.RecordData->IndicationKind, 0);
}

// 23:30 to 00:30 is an hour's outing: the series see its speed and energy, never negative ones.
TEST_F(GraphCalc, OutingsPastMidnightCountTheirHoursAfterIt) {
  TDayData& day = Day(2024, 12, 31);
  TActData& late = Act(day, ctJogging, 10);
  auto& time = static_cast<TTimeRecord&>(*late.RecordData);
  time.StartTime = 23.5 * kHour;
  time.EndTime = 0.5 * kHour;
  auto speed = Make<TGraphCalcDayData>("ジョギング", 2);
  ASSERT_EQ(speed.DataCount(), 1);
  EXPECT_DOUBLE_EQ(static_cast<double>(speed.GetData(0)), 10);
  auto energy = Make<TGraphCalcMonthData>("ジョギング", 4);
  ASSERT_EQ(energy.DataCount(), 1);
  EXPECT_NEAR(static_cast<double>(energy.GetData(0)), 616.875, 1e-9);
  auto acts = Make<TGraphCalcActData>("ジョギング", 1);
  EXPECT_DOUBLE_EQ(static_cast<double>(acts.GetSpeed(0)), 10);
}

TEST_F(GraphCalc, EmptyDiaryGivesNoEntries) {
  EXPECT_EQ(Make<TGraphCalcDayData>("ジョギング").DataCount(), 0);
  EXPECT_EQ(Make<TGraphCalcMonthData>("ジョギング").DataCount(), 0);
  EXPECT_EQ(Make<TGraphCalcActData>("ジョギング").DataCount(), 0);
}

}  // namespace
}  // namespace hakuvo
