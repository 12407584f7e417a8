#include "core/model/act_list_rows.h"

#include <gtest/gtest.h>

namespace hakuvo {
namespace {

constexpr double kHour = 1.0 / 24.0;

TEST(ActListRows, TextsOfEveryKindWithAndWithoutEnergy) {
  TDayDataList days;
  auto day = std::make_unique<TDayData>();
  day->DateData = EncodeDate(2024, 4, 1);
  auto* walk = static_cast<TWalkingAct*>(day->AddAct(CreateActData(ctWalking)));
  walk->Title = "散歩";
  walk->TimeRecord().StartTime = 7 * kHour;
  walk->TimeRecord().EndTime = 8 * kHour;
  walk->RecordData->SetData(5);
  static_cast<TWalkingRecord&>(*walk->RecordData).Pedometer = 8250;
  walk->RecordData->IndicationKind = 4;
  TActData* shopping = day->AddAct(CreateActData(ctShopping));
  shopping->RecordData->SetData(1200);
  shopping->RecordData->StartTime = 12 * kHour;
  days.Add(std::move(day));

  const auto plain = BuildActListRows(days, false);
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ(plain[0].Act, walk);
  EXPECT_EQ(plain[0].Texts, (std::vector<std::string>{"2024/04/01", "07:00", "08:00", "散歩", "5", "5.0", "8250"}));
  EXPECT_EQ(plain[1].Texts, (std::vector<std::string>{"2024/04/01", "12:00", "", "", "1200"}));

  const auto energy = BuildActListRows(days, true);
  EXPECT_EQ(energy[0].Texts,
            (std::vector<std::string>{"2024/04/01", "07:00", "08:00", "散歩", "5", "5.0", "60", "203", "8250"}));
  EXPECT_EQ(walk->RecordData->IndicationKind, 4);

  EXPECT_EQ(ActListColumns(false).size(), 6u);
  EXPECT_EQ(ActListColumns(true).back().Caption, "カロリー(kcal)");
  EXPECT_TRUE(ActListColumns(true)[4].RightAligned);
  EXPECT_FALSE(ActListColumns(true)[3].RightAligned);
}

}  // namespace
}  // namespace hakuvo
