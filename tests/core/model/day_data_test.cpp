#include <gtest/gtest.h>

#include "core/model/category_info_list.h"
#include "core/model/day_data.h"

namespace hakuvo {
namespace {

constexpr double kHour = 1.0 / 24.0;

TActData* AddWalk(TDayData& day, double startHour, double hours, double km) {
  auto* act = static_cast<TWalkingAct*>(day.AddAct(CreateActData(ctWalking)));
  act->TimeRecord().StartTime = startHour * kHour;
  act->TimeRecord().EndTime = (startHour + hours) * kHour;
  act->RecordData->SetData(km);
  return act;
}

TEST(DayData, CombinesByTheRuleOfTheIndex) {
  auto infos = TCategoryInfoList::CreateStandard();
  TDayData day;
  AddWalk(day, 7, 1, 5);
  AddWalk(day, 18, 0.5, 3);
  const TCategoryInfo& walking = *infos->GetCategoryItems(ctWalking);
  EXPECT_DOUBLE_EQ(static_cast<double>(day.GetCategoryData(ctWalking, "", walking, 2)), 5.375);
  EXPECT_DOUBLE_EQ(static_cast<double>(day.GetCategoryData(ctWalking, "", walking)), 8);
  EXPECT_DOUBLE_EQ(static_cast<double>(day.GetCategoryData(ctWalking, "", walking, 0)), 2);
  EXPECT_EQ(day.GetCategoryData(ctJogging, "", walking), 0);

  TDayData weights;
  for (double kg : {60.0, 62.0}) weights.AddAct(CreateActData(ctWeight))->RecordData->SetData(kg);
  EXPECT_DOUBLE_EQ(static_cast<double>(weights.GetCategoryData(ctWeight, "", *infos->GetCategoryItems(ctWeight))), 61);
}

TEST(DayData, UserCategoriesMatchByExactName) {
  auto infos = TCategoryInfoList::CreateStandard();
  TDayData day;
  for (const char* name : {"ヨガ", "ヨガ", "ヨガ教室"}) {
    TActData* act = day.AddAct(CreateActData(ctUserCategory));
    act->UserCategory = name;
    act->RecordData->SetData(2);
  }
  Extended total = -1, data = -1;
  day.CalcOneDayCategoryData(ctUserCategory, "ヨガ", total, data, *infos->Items(0));
  EXPECT_EQ(data, 4);
  EXPECT_EQ(total, 0);
}

TEST(DayData, IndexIsRestoredAfterAggregation) {
  auto infos = TCategoryInfoList::CreateStandard();
  TDayData day;
  TActData* walk = AddWalk(day, 7, 1, 5);
  walk->RecordData->IndicationKind = 4;
  (void)day.GetCategoryData(ctWalking, "", *infos->GetCategoryItems(ctWalking), 2);
  EXPECT_EQ(walk->RecordData->IndicationKind, 4);
  EXPECT_EQ(walk->DayData, &day);
}

TEST(DayData, DateTextIsEmptyForNegativeDates) {
  TDayData day;
  day.DateData = EncodeDate(2024, 5, 6);
  EXPECT_EQ(day.DateStr(), "2024/05/06");
  day.DateData = -3;
  EXPECT_EQ(day.DateStr(), "");
}

TEST(DayDataList, FindsSortsAndRemoves) {
  TDayDataList days;
  for (auto [y, m, d] : {std::tuple{2024, 3, 9}, {2023, 12, 31}, {2024, 3, 2}, {2024, 1, 5}}) {
    auto day = std::make_unique<TDayData>();
    day->DateData = EncodeDate(y, m, d);
    days.Add(std::move(day));
  }
  EXPECT_EQ(days.FindDate(EncodeDate(2024, 3, 2))->DateStr(), "2024/03/02");
  EXPECT_EQ(days.FindDate(EncodeDate(2024, 3, 3)), nullptr);
  EXPECT_EQ(days.FindMonth(EncodeDate(2024, 3, 31))->DateStr(), "2024/03/09") << "first in list order";
  days.DateSort();
  EXPECT_EQ(days[0]->DateStr(), "2023/12/31");
  EXPECT_EQ(days[3]->DateStr(), "2024/03/09");
  EXPECT_EQ(days.FindMonth(EncodeDate(2024, 3, 31))->DateStr(), "2024/03/02");
  EXPECT_EQ(days.FindYear(EncodeDate(2024, 12, 1))->DateStr(), "2024/01/05");
  EXPECT_EQ(days.FindYear(EncodeDate(2022, 1, 1)), nullptr);
  auto removed = days.Remove(days[0]);
  EXPECT_EQ(removed->DateStr(), "2023/12/31");
  EXPECT_EQ(days.Count(), 3);
}

TEST(DayDataList, ActionsSortByStartTime) {
  TDayData day;
  AddWalk(day, 18, 1, 1);
  AddWalk(day, 6, 1, 2);
  AddWalk(day, 12, 1, 3);
  day.ActDataList.DateSort();
  EXPECT_EQ(day.ActDataList[0]->RecordData->Data(), 2);
  EXPECT_EQ(day.ActDataList[2]->RecordData->Data(), 1);
}

TEST(DayDataList, SetCategoryInfoPushesIndexAndUnitsButNotToUserCategories) {
  auto infos = TCategoryInfoList::CreateStandard();
  TDayDataList days;
  TDayData* day = days.Add(std::make_unique<TDayData>());
  TActData* walk = AddWalk(*day, 7, 1, 5);
  TActData* user = day->AddAct(CreateActData(ctUserCategory));
  user->RecordData->Tani = {"回", "ページ"};
  TActData* shopping = day->AddAct(CreateActData(ctShopping));

  TCategoryInfo& walking = *infos->GetCategoryItems(ctWalking);
  walking.SetIndicationKind(5);
  walking.Tani[1] = "マイル";
  days.SetCategoryInfo(walking);
  EXPECT_EQ(walk->RecordData->IndicationKind, 5);
  EXPECT_EQ(walk->RecordData->Tani[1], "マイル");
  EXPECT_EQ(walk->RecordData->Tani[5], "歩");
  EXPECT_EQ(shopping->RecordData->IndicationKind, 1);

  TCategoryInfo& userInfo = *infos->GetCategoryItems(ctUserCategory);
  userInfo.SetIndicationKind(0);
  days.SetCategoryInfo(userInfo);
  EXPECT_EQ(user->RecordData->IndicationKind, 0);
  EXPECT_EQ(user->RecordData->Tani, (std::vector<std::string>{"回", "ページ"}));
}

}  // namespace
}  // namespace hakuvo
