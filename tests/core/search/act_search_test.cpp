#include "core/search/act_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/expr/expression.h"

namespace hakuvo {
namespace {

constexpr double kHour = 1.0 / 24.0;

class ActSearch : public ::testing::Test {
 protected:
  TActData& Add(int day, TCategoryType kind, double value, const char* title = "", double hours = 1) {
    const TDateTime date = EncodeDate(2024, 6, day);
    TDayData* found = Days.FindDate(date);
    if (found == nullptr) {
      auto fresh = std::make_unique<TDayData>();
      fresh->DateData = date;
      found = Days.Add(std::move(fresh));
      Days.DateSort();
    }
    TActData* act = found->AddAct(CreateActData(kind));
    act->Title = title;
    act->RecordData->SetData(value);
    if (const TCategoryInfo* info = Infos->GetCategoryItems(kind)) {
      act->RecordData->Tani = info->Tani;
      act->RecordData->IndicationKind = info->IndicationKind();
    }
    if (auto* time = dynamic_cast<TTimeRecord*>(act->RecordData.get())) {
      time->StartTime = (6 + day % 3) * kHour;
      time->EndTime = time->StartTime + hours * kHour;
    }
    return *act;
  }

  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Infos = TCategoryInfoList::CreateStandard();
};

TEST_F(ActSearch, StringSearchMatchesEverythingWhenEmptyAndFindsOtherwise) {
  Add(1, ctJogging, 5, "朝ラン");
  Add(2, ctShopping, 1200, "靴");
  TActTable table;
  TActStringSearch all("");
  FillActTable(table, Days, all);
  ASSERT_EQ(table.Rows.size(), 2u);
  ASSERT_EQ(table.Columns.size(), 6u);
  EXPECT_EQ(table.Rows[1].Cells, (std::vector<std::string>{"2024/06/02", "00:00", "靴", "買い物", "1200", "円"}));
  TActStringSearch shoes("靴");
  FillActTable(table, Days, shoes);
  ASSERT_EQ(table.Rows.size(), 1u);
  EXPECT_EQ(table.Rows[0].Act->Title, "靴");
}

TEST_F(ActSearch, ExtractByFormulaListsTheOutingsOfAtLeastFiveKilometres) {
  for (int day = 1; day <= 6; ++day) Add(day, ctJogging, day * 1.5);
  Add(3, ctWalking, 9);
  TActTable table;
  TActCategorySearch search("ジョギング", "=[距離] >= 5", *Infos, false);
  FillActTable(table, Days, search);
  ASSERT_EQ(table.Rows.size(), 3u);  // 6, 7.5 and 9 km
  for (const auto& row : table.Rows) EXPECT_GE(row.Act->RecordData->Data(), 5);
  EXPECT_EQ(table.Columns.size(), 8u);  // date, start, end, title, distance+unit, speed+unit
  EXPECT_EQ(table.Columns[4].Caption, "距離");
  EXPECT_EQ(table.Columns[6].Caption, "速度");
  EXPECT_EQ(table.Rows[0].Cells,
            (std::vector<std::string>{"2024/06/04", "07:00", "08:00", "", "6", "km", "6.0", "km/h"}));
}

TEST_F(ActSearch, ConditionPartsMustAllHoldAndEmptyPartsAreSkipped) {
  Add(1, ctJogging, 6, "皇居");
  Add(2, ctJogging, 3, "皇居");
  Add(3, ctJogging, 8, "公園");
  TActTable table;
  TActCategorySearch search("ジョギング", "皇居;;=[距離] > 5", *Infos, false);
  FillActTable(table, Days, search);
  ASSERT_EQ(table.Rows.size(), 1u);
  EXPECT_EQ(table.Rows[0].Act->RecordData->Data(), 6);
}

TEST_F(ActSearch, UserCategoryWithoutNameMatchesOnlyUnnamedUserActions) {
  Add(1, ctUserCategory, 1, "a").UserCategory = "";
  Add(1, ctUserCategory, 1, "b").UserCategory = "ヨガ";
  TActTable table;
  TActCategorySearch search("", "", *Infos, false);
  FillActTable(table, Days, search);
  ASSERT_EQ(table.Rows.size(), 1u);
  EXPECT_EQ(table.Rows[0].Act->Title, "a");
}

TEST_F(ActSearch, NoMatchKeepsThePreviousColumnsAndFormulaErrorsKeepEarlierRows) {
  Add(1, ctJogging, 6);
  Add(2, ctJogging, 7);
  TActTable table;
  TActCategorySearch all("ジョギング", "", *Infos, false);
  FillActTable(table, Days, all);
  const auto columns = table.Columns;
  TActCategorySearch none("ジョギング", "=[距離] > 100", *Infos, false);
  FillActTable(table, Days, none);
  EXPECT_TRUE(table.Rows.empty());
  EXPECT_EQ(table.Columns.size(), columns.size());

  TActCategorySearch broken("ジョギング", "=[高度] > 1", *Infos, false);
  EXPECT_THROW(FillActTable(table, Days, broken), EExpressionError);
  EXPECT_EQ(Days[0]->ActDataList[0]->RecordData->IndicationKind, 1);
}

TEST_F(ActSearch, WalkingColumnsFollowTheEnergyViewAndSortByWhatTheyShow) {
  TActData& a = Add(1, ctWalking, 5);
  TActData& b = Add(2, ctWalking, 3);
  TActData& c = Add(3, ctWalking, 4);
  static_cast<TWalkingRecord&>(*a.RecordData).Pedometer = 9000;
  static_cast<TWalkingRecord&>(*b.RecordData).Pedometer = 4000;
  static_cast<TWalkingRecord&>(*c.RecordData).Pedometer = 6000;
  static_cast<TWalkingRecord&>(*b.RecordData).Weight = 90;  // heaviest, but fewest steps
  TActTable table;
  TActCategorySearch search("ウォーキング", "", *Infos, false);
  FillActTable(table, Days, search);
  ASSERT_EQ(table.Columns.size(), 10u);
  EXPECT_EQ(table.Columns[8].Caption, "歩数");
  SortActTable(table, 8, 1);
  EXPECT_EQ(table.Rows[0].Act, &b);
  EXPECT_EQ(table.Rows[2].Act, &a);
  SortActTable(table, 9, -1);  // the unit column sorts like its value column
  EXPECT_EQ(table.Rows[0].Act, &a);
  SortActTable(table, 3, 1);  // titles are all empty: stable
  SortActTable(table, 0, -1);
  EXPECT_EQ(table.Rows[0].Act, &c);
  for (TActData* act : {&a, &b, &c}) EXPECT_EQ(act->RecordData->IndicationKind, 1);

  TActCategorySearch energy("ウォーキング", "", *Infos, true);
  FillActTable(table, Days, energy);
  EXPECT_EQ(table.Columns.size(), 14u);
  EXPECT_EQ(table.Columns[8].Caption, "体重");
}

// The error of a formula is placed in the whole condition as typed, so the window can select it.
TEST_F(ActSearch, AFormulaErrorPointsIntoTheWholeCondition) {
  Add(1, ctJogging, 6, "皇居");
  const struct {
    const char* Condition;
    TExpressionErrorDetail Detail;
    int Start;
    int Length;
  } cases[] = {
      {"=[高度]>1", edUnknownTitle, 1, 4},
      {"皇居;=[高度]>1", edUnknownTitle, 4, 4},
      {"皇居;;=[距離]>1;=[距離] >", edMissingOperand, 18, 1},
      {"=[距離]>0; =[距離]>0", edNone, 0, 0},  // " =..." is a search word, not a formula
      {"=距離>10", edBareTitle, 1, 2},
  };
  for (const auto& c : cases) {
    TActTable table;
    TActCategorySearch search("ジョギング", c.Condition, *Infos, false);
    if (c.Detail == edNone) {
      FillActTable(table, Days, search);
      EXPECT_TRUE(table.Rows.empty()) << c.Condition;
      continue;
    }
    try {
      FillActTable(table, Days, search);
      ADD_FAILURE() << c.Condition << " was accepted";
    } catch (const EExpressionError& error) {
      EXPECT_EQ(error.Detail(), c.Detail) << c.Condition;
      EXPECT_EQ(error.SourceStart(), c.Start) << c.Condition;
      EXPECT_EQ(error.SourceLength(), c.Length) << c.Condition;
    }
  }
}

TEST(ActSearchTitles, EachCategoryOffersItsRecordsValueTitles) {
  EXPECT_EQ(ConditionTitles("ジョギング"),
            (std::vector<std::string>{"[回数]", "[距離]", "[速度]", "[体重]", "[カロリー]"}));
  EXPECT_EQ(ConditionTitles("買い物"), (std::vector<std::string>{"[回数]", "[記録]"}));
  const auto walking = ConditionTitles("ウォーキング");
  EXPECT_NE(std::find(walking.begin(), walking.end(), "[歩数]"), walking.end());
}

TEST_F(ActSearch, CopyAllJoinsCellsWithTabs) {
  TActTable table;
  table.Columns = {{"日付"}, {"時刻"}};
  table.Rows = {{nullptr, {"2024/06/01", "07:00"}}, {nullptr, {"2024/06/02"}}};
  EXPECT_EQ(CopyAllText(table), "日付\t時刻\r\n2024/06/01\t07:00\r\n2024/06/02\t\r\n");
}

}  // namespace
}  // namespace hakuvo
