#include "core/model/pace.h"

#include <gtest/gtest.h>

#include "core/model/act_data.h"
#include "core/model/act_list_rows.h"
#include "core/model/day_data.h"

namespace hakuvo {
namespace {

TEST(Pace, FormatsMinutesAndSecondsAndLeavesNonsenseEmpty) {
  struct Case {
    double km;
    double seconds;
    const char* text;
  };
  const Case cases[] = {
      {10, 3000, "5:00"},  // 10 km in 50 minutes
      {5, 1649, "5:30"},   // 329.8 s rounds up to the next second
      {1, 359.6, "6:00"},  // never 5:60
      {1, 359.4, "5:59"},
      {1, 5999.4, "99:59"},  // the slowest pace still shown
      {1, 5999.6, ""},       // rounds past 99:59
      {0.001, 3600, ""},     // a few metres in an hour is a stop, not a pace
      {0, 3600, ""},         // no distance
      {-1, 3600, ""},
      {5, 0, ""},  // no duration
      {42.195, 3 * 3600 + 30 * 60, "4:59"},
      {100, 30, "0:00"},  // implausibly fast stays a number, not an empty cell
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatPace(PaceSeconds(c.km, c.seconds)), c.text) << c.km << " km in " << c.seconds;
  EXPECT_EQ(FormatPace(PaceSecondsFromSpeed(12)), "5:00");
  EXPECT_EQ(FormatPace(PaceSecondsFromSpeed(0)), "");
  EXPECT_EQ(FormatPace(std::nullopt), "");
}

TEST(Pace, OnlyRunnersAndWalkersHaveOne) {
  const auto pace = [](TCategoryType category, double km, int startHour, int endHour) {
    auto act = CreateActData(category);
    auto& record = dynamic_cast<TTimeRecord&>(*act->RecordData);
    record.StartTime = startHour / 24.0;
    record.EndTime = endHour / 24.0;
    record.SetData(km);
    return ActPaceText(*act);
  };
  EXPECT_EQ(pace(ctJogging, 12, 7, 8), "5:00");
  EXPECT_EQ(pace(ctWalking, 5, 7, 8), "12:00");
  EXPECT_EQ(pace(ctBicycle, 20, 7, 8), "");
  EXPECT_EQ(pace(ctJogging, 12, 7, 7), "");  // no duration
  // Past midnight the duration still counts forward.
  EXPECT_EQ(pace(ctJogging, 12, 23, 0), "5:00");
}

TEST(Pace, ListColumnSitsBesideTheSpeed) {
  TDayDataList days;
  auto day = std::make_unique<TDayData>();
  day->DateData = EncodeDate(2024, 4, 1);
  TActData* run = day->AddAct(CreateActData(ctJogging));
  run->RecordData->StartTime = 7 / 24.0;
  dynamic_cast<TTimeRecord&>(*run->RecordData).EndTime = 8 / 24.0;
  run->RecordData->SetData(10);
  TActData* note = day->AddAct(CreateActData(ctShopping));
  note->RecordData->SetData(500);
  days.Add(std::move(day));

  const auto columns = ActListColumns(true, true);
  ASSERT_EQ(columns.size(), 9u);
  EXPECT_EQ(columns[6].Caption, "ペース(分/km)");
  EXPECT_EQ(columns[6].Key, alPace);
  EXPECT_EQ(columns[7].Key, alWeight);
  const auto rows = BuildActListRows(days, true, true);
  EXPECT_EQ(rows[0].Texts,
            (std::vector<std::string>{"2024/04/01", "07:00", "08:00", "", "10", "10.0", "6:00", "60", "617"}));
  // A record without a speed has no pace place: its texts stay as they were.
  EXPECT_EQ(rows[1].Texts, BuildActListRows(days, true, false)[1].Texts);
  EXPECT_EQ(BuildActListRows(days, false, false)[0].Texts.size(), 6u);
}

}  // namespace
}  // namespace hakuvo
