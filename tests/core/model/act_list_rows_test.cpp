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

// The row writes dates and times from their parts; they must read as the day's and record's own
// texts, for dates before 1899-12-30 and times that round up to the next minute or day as well.
TEST(ActListRows, DatesAndTimesReadAsTheRecordsOwnTexts) {
  const TDateTime dates[] = {EncodeDate(2024, 4, 1), EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31), 0, -1, -0.5};
  const TDateTime times[] = {0,
                             7 * kHour,
                             EncodeTime(23, 59, 59, 999),
                             EncodeTime(23, 59, 59, 999) + 0.0004 / 86400,
                             EncodeTime(9, 5, 30, 0),
                             1 - 1e-12,
                             2.25};
  TActListRowTexts texts;
  for (const TDateTime date : dates) {
    for (const TDateTime start : times) {
      for (const TDateTime end : times) {
        TDayData day;
        day.DateData = date;
        auto act = CreateActData(ctJogging);
        auto& record = static_cast<TTimeRecord&>(*act->RecordData);
        record.StartTime = start;
        record.EndTime = end;
        WriteActListRowTexts(day, *act, false, texts);
        ASSERT_GE(texts.Count(), 3u);
        EXPECT_EQ(texts[0], day.DateStr()) << date;
        EXPECT_EQ(texts[1], record.TimeStr()) << start;
        EXPECT_EQ(texts[2], record.EndTimeStr()) << end;
      }
    }
  }
}

TEST(ActListRows, AnOutingPastMidnightShowsItsSpeedAndEnergy) {
  TDayDataList days;
  auto day = std::make_unique<TDayData>();
  day->DateData = EncodeDate(2024, 12, 31);
  auto* jog = static_cast<TJoggingAct*>(day->AddAct(CreateActData(ctJogging)));
  jog->TimeRecord().StartTime = 23.5 * kHour;
  jog->TimeRecord().EndTime = 0.5 * kHour;
  jog->RecordData->SetData(10);
  days.Add(std::move(day));
  const auto rows = BuildActListRows(days, true);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Texts, (std::vector<std::string>{"2024/12/31", "23:30", "00:30", "", "10", "10.0", "60", "617"}));
}

}  // namespace
}  // namespace hakuvo
