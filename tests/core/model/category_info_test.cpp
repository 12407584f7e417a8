#include <gtest/gtest.h>

#include "core/model/category_info.h"
#include "core/model/category_info_list.h"

namespace hakuvo {
namespace {

TEST(CategoryType, NamesMapToKindsAndEverythingElseIsAUserCategory) {
  EXPECT_EQ(CategoryNames().size(), 17u);
  EXPECT_EQ(CategoryTypeFromName("ユーザー"), ctUserCategory);
  EXPECT_EQ(CategoryTypeFromName(""), ctUserCategory);
  EXPECT_EQ(CategoryTypeFromName("血圧"), ctBloodPressure);
  EXPECT_EQ(CategoryTypeFromName("旅館・ホテル"), ctHotel);
  EXPECT_EQ(CategoryTypeFromName("ジョギング "), ctUserCategory);
  EXPECT_TRUE(IsCategoryName("ユーザー"));
  EXPECT_FALSE(IsCategoryName("ヨガ"));
  EXPECT_EQ(CategoryDisplayName(ctUserCategory, "ヨガ"), "ヨガ");
  EXPECT_EQ(CategoryDisplayName(ctWalking, "ヨガ"), "ウォーキング");
}

// The defaults every kind of the standard list has after construction and its Category setter.
TEST(CategoryInfoList, StandardListHasEveryKindWithItsDefaults) {
  struct Expected {
    TCategoryType Kind;
    std::vector<std::string> Units;
    std::vector<TRecordCalcKind> Rules;
    bool IsTime;
    bool IsRecordData;
    int IndicationKind;
  };
  const auto T = ckTotal, A = ckAverage, W = ckWeightedAverage;
  const std::vector<Expected> table = {
      {ctUserCategory, {"回", ""}, {T, T}, false, true, 1},
      {ctJogging, {"回", "km", "km/h", "kg", "kcal"}, {T, T, W, A, T}, true, true, 1},
      {ctWalking, {"回", "km", "km/h", "kg", "kcal", "歩"}, {T, T, W, A, T, T}, true, true, 1},
      {ctSwimming, {"回", "m", "m/h", "kg", "kcal"}, {T, T, W, A, T}, true, true, 1},
      {ctBicycle, {"回", "km", "km/h", "kg", "kcal"}, {T, T, W, A, T}, true, true, 1},
      {ctFishing, {"回", "匹", "cm", "℃"}, {T, T, A, A}, false, true, 1},
      {ctShopping, {"回", "円"}, {T, T}, false, true, 1},
      {ctWeight, {"回", "kg"}, {T, A}, false, true, 1},
      {ctFile, {"個", "個"}, {T, T}, false, true, 1},
      {ctCalorie, {"回", "kcal"}, {T, T}, false, true, 1},
      {ctVehicle, {"回", "km", "km/h"}, {T, T, W}, true, false, 0},
      {ctHotel, {"回", ""}, {T, A}, false, false, 0},
      {ctSightseeing, {"回", ""}, {T, T}, false, false, 0},
      {ctRestaurant, {"軒", ""}, {T, A}, false, false, 0},
      {ctSweets, {"回", ""}, {T, A}, false, false, 0},
      {ctBook, {"冊", ""}, {T, A}, false, false, 0},
      {ctBloodPressure, {"回", "mmHg", "mmHg", "回/分"}, {T, A, A, A}, true, true, 1},
  };
  const auto list = TCategoryInfoList::CreateStandard();
  ASSERT_EQ(list->Count(), 17);
  for (const auto& e : table) {
    SCOPED_TRACE(CategoryNames()[e.Kind]);
    const TCategoryInfo* info = list->Items(e.Kind);
    ASSERT_EQ(info->Category(), e.Kind);
    EXPECT_EQ(info->RecordNumber(), static_cast<int>(e.Units.size()));
    EXPECT_EQ(info->Tani, e.Units);
    EXPECT_EQ(info->CalcKind, e.Rules);
    EXPECT_EQ(info->IsTime(), e.IsTime);
    EXPECT_EQ(info->IsRecordData(), e.IsRecordData);
    EXPECT_EQ(info->IndicationKind(), e.IndicationKind);
    EXPECT_FALSE(info->IsWeather() || info->IsTemperature() || info->IsWindDirection() || info->IsWindSpeed());
    EXPECT_EQ(info->GraphInfo().RecordAxisTitle.size(), e.Units.size());
    EXPECT_EQ(info->YearGraphInfo().DayAxisKind(), daAll);
  }
}

TEST(CategoryInfo, UnitsSetByTheCategorySetterOnly) {
  TWalkingCategoryInfo walking;
  EXPECT_EQ(walking.Tani[5], "");
  walking.SetCategory(ctWalking);
  EXPECT_EQ(walking.Tani[5], "歩");
  TBookCategoryInfo book;
  EXPECT_EQ(book.Tani[0], "回");
  book.SetCategory(ctBook);
  EXPECT_EQ(book.Tani[0], "冊");
  EXPECT_TRUE(book.IsAuthor());
}

TEST(CategoryInfo, AssignCopiesSubclassFlagsOnlyFromTheSameClass) {
  TFishingCategoryInfo source, target;
  source.SetIsDimension(true);
  source.SetIsWaterTemperature(true);
  source.SetIsWeather(true);
  source.Tani[1] = "尾";
  source.GraphInfo().SetAxisTerm(90);
  source.MapInfo().SetLineWidth(7);
  target.Assign(source);
  EXPECT_TRUE(target.IsDimension());
  EXPECT_TRUE(target.IsWaterTemperature());
  EXPECT_TRUE(target.IsWeather());
  EXPECT_EQ(target.Tani[1], "尾");
  EXPECT_EQ(target.GraphInfo().AxisTerm(), 90);
  EXPECT_EQ(target.MapInfo().LineWidth(), 7);

  TFishingCategoryInfo untouched;
  untouched.SetIsDimension(true);
  TCategoryInfo plain;
  plain.SetIsTime(true);
  untouched.Assign(plain);
  EXPECT_TRUE(untouched.IsDimension());
  EXPECT_TRUE(untouched.IsTime());
  EXPECT_EQ(untouched.Tani[3], "℃") << "indices the source lacks keep their unit";
  EXPECT_EQ(untouched.RecordNumber(), 4);
}

TEST(CategoryInfoList, CopyListMakesIndependentCopiesAndFindsByKind) {
  const auto list = TCategoryInfoList::CreateStandard();
  list->GetCategoryItems(ctWalking)->SetIsWeather(true);
  TCategoryInfoList copy;
  copy.CopyList(*list);
  ASSERT_EQ(copy.Count(), 17);
  TCategoryInfo* walking = copy.GetCategoryItems(ctWalking);
  ASSERT_NE(walking, nullptr);
  EXPECT_NE(walking, list->GetCategoryItems(ctWalking));
  EXPECT_NE(dynamic_cast<TWalkingCategoryInfo*>(walking), nullptr);
  EXPECT_TRUE(walking->IsWeather());
  EXPECT_EQ(walking->Tani[5], "歩");
  walking->SetIsWeather(false);
  EXPECT_TRUE(list->GetCategoryItems(ctWalking)->IsWeather());

  TCategoryInfoList partial;
  partial.Add(CreateCategoryInfo(ctFishing))->SetCategory(ctFishing);
  EXPECT_EQ(partial.GetCategoryItems(ctBook), nullptr);
  auto taken = partial.Remove(partial.Items(0));
  EXPECT_EQ(partial.Count(), 0);
  EXPECT_EQ(taken->Category(), ctFishing);
}

TEST(CategoryList, DefaultOrderEndsWithTheUserCategory) {
  const TCategoryList order = TCategoryList::DefaultOrder();
  ASSERT_EQ(order.Count(), 17);
  EXPECT_EQ(order.Items(0).Category, ctJogging);
  EXPECT_EQ(order.Items(15).Category, ctBloodPressure);
  EXPECT_EQ(order.Items(16).Category, ctUserCategory);
  EXPECT_EQ(order.IndexOf(ctUserCategory), 16);
}

TEST(CategoryInfo, TimeColumnsAndMapColours) {
  TEnergyConsumptionCategoryInfo jogging;
  jogging.SetIsTime(false);
  EXPECT_FALSE(IsCategoryTimeShown(ctJogging, jogging));
  TCategoryInfo shopping;
  EXPECT_TRUE(IsCategoryTimeShown(ctShopping, shopping));

  TMapInfo map;
  EXPECT_EQ(map.LineColorHtml(), 0x0000FF);
  map.SetLineColor(0x0000FF);
  EXPECT_EQ(map.LineColorHtml(), 0xFF0000);
  map.SetLineColor(0x123456);
  EXPECT_EQ(map.LineColorHtml(), 0x563412);
}

TEST(GraphInfo, DefaultsAndAssignKeepTheReceiversLength) {
  TGraphInfo graph;
  EXPECT_EQ(graph.EndDate(), Today());
  EXPECT_EQ(graph.StartDate(), IncMonth(Today(), -1));
  EXPECT_TRUE(graph.IsBarSeries());
  EXPECT_EQ(graph.SeriesColor(), 0xFF0000);
  TGraphInfo longer;
  longer.RecordAxisTitle = {"a", "b", "c"};
  longer.SetAxisTerm(12);
  graph.Assign(longer);
  EXPECT_EQ(graph.RecordAxisTitle, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(graph.AxisTerm(), 12);
}

}  // namespace
}  // namespace hakuvo
