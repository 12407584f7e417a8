#include <gtest/gtest.h>

#include "core/model/act_data.h"
#include "core/model/category_info.h"
#include "core/model/category_info_list.h"

namespace hakuvo {
namespace {

constexpr double kHour = 1.0 / 24.0;

TEST(ActData, FactoryMakesTheClassOfEachKind) {
  for (int i = 0; i < CategoryTypeCount; ++i) {
    const auto act = CreateActData(static_cast<TCategoryType>(i));
    EXPECT_EQ(act->Category, i);
    const auto info = CreateCategoryInfo(static_cast<TCategoryType>(i));
    EXPECT_EQ(act->RecordData->RecordNumber(), info->RecordNumber()) << CategoryNames()[static_cast<std::size_t>(i)];
  }
  EXPECT_NE(dynamic_cast<TVehicleAct*>(CreateActData(ctVehicle).get()), nullptr);
  EXPECT_NE(dynamic_cast<TEnergyConsumptionAct*>(CreateActData(ctBicycle).get()), nullptr);
  EXPECT_EQ(dynamic_cast<TEnergyConsumptionAct*>(CreateActData(ctWalking).get()), nullptr);
  EXPECT_NE(dynamic_cast<TTimeAct*>(CreateActData(ctSwimming).get()), nullptr);
  EXPECT_NE(dynamic_cast<TEvaluationAct*>(CreateActData(ctBook).get()), nullptr);
  EXPECT_NE(dynamic_cast<TQuantityAct*>(CreateActData(ctBloodPressure).get()), nullptr);
  EXPECT_NE(dynamic_cast<TWalkingRecord*>(CreateActData(ctWalking)->RecordData.get()), nullptr);
  EXPECT_EQ(typeid(*CreateActData(static_cast<TCategoryType>(200))), typeid(TActData));
  EXPECT_TRUE(IsFileCountAct(*CreateActData(ctFile)));
  EXPECT_TRUE(IsFileCountAct(*CreateActData(ctSightseeing)));
  EXPECT_FALSE(IsFileCountAct(*CreateActData(ctShopping)));
}

TEST(ActData, FindSearchesEveryTextCaseSensitively) {
  TActData user;
  user.UserCategory = "ヨガ";
  user.Memo = {"abc", "def"};
  EXPECT_TRUE(user.Find("cd")) << "a keyword may span a memo line break";
  EXPECT_TRUE(user.Find("ユー")) << "every user-category action matches its kind's name";
  EXPECT_TRUE(user.Find("ヨガ"));
  EXPECT_FALSE(user.Find(""));
  EXPECT_FALSE(user.Find("ABC"));

  TJoggingAct jogging;
  EXPECT_FALSE(jogging.Find("ユー"));
  EXPECT_TRUE(jogging.Find("ジョギ"));
  jogging.Place.Address = "東京都千代田区";
  EXPECT_TRUE(jogging.Find("千代田"));

  TVehicleAct vehicle;
  vehicle.DeparturePlace = "新宿";
  vehicle.ArrivalPlace = "渋谷";
  EXPECT_TRUE(vehicle.Find("渋谷"));
  TBookAct book;
  book.Author = "夏目";
  book.Url = "http://example.org/";
  EXPECT_TRUE(book.Find("夏目"));
  EXPECT_TRUE(book.Find("example"));
  TFishingAct fishing;
  fishing.FishSpecies = "アジ";
  EXPECT_TRUE(fishing.Find("アジ"));
  EXPECT_FALSE(fishing.Find(""));
}

TEST(ActData, HintFollowsTheCategoryFlagsInOrder) {
  auto infos = TCategoryInfoList::CreateStandard();
  TCategoryInfo& info = *infos->GetCategoryItems(ctJogging);
  TJoggingAct act;
  act.RecordData->Tani = info.Tani;
  act.Title = "朝ラン";
  act.Place.Title = "皇居";
  act.TimeRecord().StartTime = 7 * kHour;
  act.TimeRecord().EndTime = 8 * kHour;
  act.RecordData->SetData(10);
  act.Weather = "晴れ";
  act.Temperature = 12.5L;
  act.WindDirection = 0;
  act.WindSpeed = 3;
  act.Memo = {"快調"};
  info.SetIsWeather(true);
  info.SetIsTemperature(true);
  info.SetIsWindDirection(true);
  info.SetIsWindSpeed(true);
  EXPECT_EQ(act.GetHint(info),
            "朝ラン\r\n皇居\r\n07:00 - 08:00\r\n距離： 10 km\r\n晴れ\r\n気温： 12.5 ℃\r\n風向： 北\r\n"
            "風速： 3 m/s\r\n快調\r\n");
  act.WindDirection = -1;
  EXPECT_EQ(act.GetHint(info).find("風向"), std::string::npos);

  TCategoryInfo& vehicleInfo = *infos->GetCategoryItems(ctVehicle);
  TVehicleAct vehicle;
  vehicle.DeparturePlace = "新宿";
  vehicle.ArrivalPlace = "渋谷";
  vehicle.TimeRecord().StartTime = 9 * kHour;
  vehicle.TimeRecord().EndTime = 9.5 * kHour;
  EXPECT_EQ(vehicle.GetHint(vehicleInfo), "09:00 新宿\r\n09:30 渋谷\r\n");
}

TEST(ActData, AssignCopiesContentsAndSharesLinks) {
  TLinkData photo;
  TBookAct source;
  source.Title = "坊っちゃん";
  source.Author = "夏目漱石";
  source.Url = "u";
  source.Memo = {"a"};
  source.Place.Latitude = 35;
  source.RecordData->SetData(4);
  source.LinkDataList.Add(&photo);
  source.TempData = 1;
  TBookAct copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Title, "坊っちゃん");
  EXPECT_EQ(copy.Author, "夏目漱石");
  EXPECT_EQ(copy.Url, "u");
  EXPECT_EQ(copy.Memo, source.Memo);
  EXPECT_EQ(copy.Place.Latitude, 35);
  EXPECT_EQ(copy.RecordData->Data(), 4);
  ASSERT_EQ(copy.LinkDataList.Count(), 1);
  EXPECT_EQ(copy.LinkDataList[0], &photo);
  EXPECT_EQ(copy.TempData, 0);

  THotelAct hotel;
  hotel.Url = "keep";
  hotel.Assign(TActData());
  EXPECT_EQ(hotel.Url, "keep");

  auto clone = CloneActData(source);
  EXPECT_NE(dynamic_cast<TBookAct*>(clone.get()), nullptr);
  EXPECT_EQ(static_cast<TBookAct&>(*clone).Author, "夏目漱石");
}

}  // namespace
}  // namespace hakuvo
