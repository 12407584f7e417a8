#include "core/register/paste_route.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/register/register_fixtures.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

using test::TargetOf;

// A route with one change of trains, as the route-search page copies it.
const std::string kRoute =
    "\r\n駅探 乗換案内\r\n"
    "検索条件：2014年6月1日 10:00出発\r\n"
    "所要時間 40分\r\n"
    "●東京\r\n"
    "｜　　10:00発\r\n"
    "｜　　　　ＪＲ山手線[160円] 4番線\r\n"
    "｜　　10:10着\r\n"
    "○品川\r\n"
    "｜　　10:15発\r\n"
    "｜　　　　京急本線[300円]\r\n"
    "｜　　10:40着\r\n"
    "●横浜\r\n";

bool SameLeg(const TRouteLeg& a, const TRouteLeg& b) {
  return a.Departure == b.Departure && a.Arrival == b.Arrival && a.LineInfo == b.LineInfo &&
         a.DepartureTime == b.DepartureTime && a.ArrivalTime == b.ArrivalTime;
}

TEST(ParseRoute, AChangeOfTrainsGivesTwoLegsOnTheRouteDate) {
  const std::vector<TRouteLeg> legs = ParseRoute(kRoute);
  ASSERT_EQ(legs.size(), 2u);
  EXPECT_EQ(legs[0].Departure, "東京");
  EXPECT_EQ(legs[0].Arrival, "品川");
  EXPECT_EQ(legs[0].LineInfo, "ＪＲ山手線[160円] 4番線");
  EXPECT_NEAR(legs[0].DepartureTime, EncodeDateTime(2014, 6, 1, 10, 0, 0), 1e-9);
  EXPECT_NEAR(legs[0].ArrivalTime, EncodeDateTime(2014, 6, 1, 10, 10, 0), 1e-9);
  EXPECT_EQ(legs[1].Departure, "品川");
  EXPECT_EQ(legs[1].Arrival, "横浜");
  EXPECT_EQ(legs[1].LineInfo, "京急本線[300円]");
  EXPECT_NEAR(legs[1].DepartureTime, EncodeDateTime(2014, 6, 1, 10, 15, 0), 1e-9);
  EXPECT_NEAR(legs[1].ArrivalTime, EncodeDateTime(2014, 6, 1, 10, 40, 0), 1e-9);
}

TEST(ParseRoute, OnlyTheRouteSearchTextIsRead) {
  for (const std::string& text : {kRoute.substr(2), "\n" + kRoute.substr(2), " " + kRoute, std::string(),
                                  std::string("\r\n駅"), "\r\n駅探" + std::string("\xFF\xFE")}) {
    EXPECT_TRUE(ParseRoute(text).empty()) << text;
  }
}

TEST(ParseRoute, ABrokenTextGivesTheLegsCompleteBeforeTheBreak) {
  const std::vector<TRouteLeg> full = ParseRoute(kRoute);
  // Every prefix, and the text with one character spoilt, ends and gives a prefix of the legs.
  for (std::size_t length = 0; length <= kRoute.size(); ++length) {
    const std::vector<TRouteLeg> legs = ParseRoute(kRoute.substr(0, length));
    ASSERT_LE(legs.size(), full.size());
    for (std::size_t i = 0; i < legs.size(); ++i) EXPECT_TRUE(SameLeg(legs[i], full[i])) << length;
  }
  struct Case {
    const char* Name;
    std::string From;
    std::string To;
    std::size_t Legs;
  };
  const Case cases[] = {
      {"no search condition", "検索条件", "条件", 0},
      {"a month that does not exist", "6月", "13月", 0},
      {"a year that is no number", "2014年", "二〇一四年", 0},
      {"a second departure that is no time", "10:15発", "ten発", 1},
      {"an arrival past the day's last minute", "10:40着", "25:40着", 1},
  };
  for (const Case& c : cases) {
    std::string text = kRoute;
    text.replace(text.find(c.From), c.From.size(), c.To);
    EXPECT_EQ(ParseRoute(text).size(), c.Legs) << c.Name;
  }
}

TEST(AddRouteActs, MakesVehicleOutingsAppendedToTheDayOfTheRoute) {
  test::TTempFolder folder;
  TDiary diary(folder.Path("d.xml"));
  auto& existing = TargetOf(diary).FindOrAddDay(EncodeDate(2014, 6, 1));
  existing.AddAct(CreateActData(ctJogging))->RecordData->StartTime = EncodeTime(23, 0, 0);
  diary.Categories->GetCategoryItems(ctVehicle)->Tani = {"回", "km", "km/h"};
  diary.Categories->GetCategoryItems(ctVehicle)->SetIndicationKind(0);

  const std::vector<TActData*> acts = AddRouteActs(TargetOf(diary), ParseRoute(kRoute));
  ASSERT_EQ(acts.size(), 2u);
  ASSERT_EQ(diary.Days.Count(), 1);
  // Appended after the outing already there, not sorted in.
  ASSERT_EQ(existing.ActDataList.Count(), 3);
  EXPECT_EQ(existing.ActDataList[1], acts[0]);
  const auto& first = static_cast<const TVehicleAct&>(*acts[0]);
  EXPECT_EQ(first.Category, ctVehicle);
  EXPECT_EQ(first.Title, "東京 － 品川");
  EXPECT_EQ(first.DeparturePlace, "東京");
  EXPECT_EQ(first.ArrivalPlace, "品川");
  EXPECT_EQ(first.Memo, (TStringList{"ＪＲ山手線[160円]", " 4番線"}));
  EXPECT_NEAR(first.RecordData->StartTime, EncodeDateTime(2014, 6, 1, 10, 0, 0), 1e-9);
  EXPECT_NEAR(first.TimeRecord().EndTime, EncodeDateTime(2014, 6, 1, 10, 10, 0), 1e-9);
  EXPECT_EQ(first.RecordData->IndicationKind, 0);
  EXPECT_EQ(first.RecordData->Tani[1], "km");
  const auto& second = static_cast<const TVehicleAct&>(*acts[1]);
  EXPECT_EQ(second.Memo, (TStringList{"京急本線[300円]", ""}));
}

TEST(AddRouteActs, ALineWithoutBracketGoesWhollyOnTheSecondLine) {
  test::TTempFolder folder;
  TDiary diary(folder.Path("d.xml"));
  const auto acts = AddRouteActs(TargetOf(diary), {{"A", "B", "徒歩", EncodeDate(2014, 6, 1), EncodeDate(2014, 6, 1)}});
  EXPECT_EQ(acts[0]->Memo, (TStringList{"", "徒歩"}));
}

}  // namespace
}  // namespace hakuvo
