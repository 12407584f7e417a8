// What the reader takes, the writer gives back: a diary the program saved always opens again.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/common/hakuvo_error.h"
#include "core/datafile/diary_fixture.h"

namespace hakuvo {
namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Values at the ends of what each kind of attribute takes: loaded, saved, loaded and saved
// again, the two saves are the same bytes, and the value is still in the diary.
TEST(DayDataFileValues, EveryAcceptedValueSurvivesSaveLoadSave) {
  TDiaryFixture source;
  FillDiary(source);
  const std::string saved = source.SaveToString();
  const struct {
    const char* From;
    const char* To;
  } cases[] = {
      {"時刻=\"0.3125\"", "時刻=\"-693593.999999\""},    // the first day of the calendar, before midnight
      {"時刻=\"0.3125\"", "時刻=\"2958465.99999999\""},  // the last moment of 9999-12-31
      {"日付=\"42096\"", "日付=\"-693593\""},
      {"終了日=\"42100.5\"", "終了日=\"2958465.5\""},
      {"開始=\"0.25\"", "開始=\"1.79769313486231E308\""},  // the largest double the writer's digits keep
      {"開始=\"0.25\"", "開始=\"-1.79769313486231E308\""},
      {"開始=\"0.25\"", "開始=\"4.94065645841247E-324\""},  // the smallest double
      {"開始=\"0.25\"", "開始=\"1E-400\""},                 // below it: zero
      {"気温=\"15.3\"", "気温=\"1.18973149535723E4932\""},  // the largest extended value
      {"気温=\"15.3\"", "気温=\"-1.18973149535723176502E4932\""},
      {"気温=\"15.3\"", "気温=\"3.3621031431121E-4932\""},  // near the smallest normal extended value
      {"気温=\"15.3\"", "気温=\"1e309\""},                  // beyond a double, within extended
      {"Date=\"42095.5\"", "Date=\"0.000000000000001\""},
  };
  for (const auto& c : cases) {
    TDiaryFixture first;
    first.LoadString(Replaced(saved, c.From, c.To));
    const std::string once = first.SaveToString();
    TDiaryFixture second;
    ASSERT_NO_THROW(second.LoadString(once)) << c.To;
    EXPECT_EQ(second.SaveToString(), once) << c.To;
  }
}

// Values the program itself may hold but the reader refuses (an infinite sum, an undefined
// quotient, a date pushed past the calendar) are written as the nearest value it takes.
TEST(DayDataFileValues, TheWriterNeverWritesWhatTheReaderRefuses) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  TDiaryFixture diary;
  FillDiary(diary);
  TActData& act = *diary.Days[0]->ActDataList[0];
  act.Temperature = std::numeric_limits<Extended>::infinity();
  act.WindSpeed = std::numeric_limits<Extended>::quiet_NaN();
  act.Place.Latitude = std::numeric_limits<Extended>::denorm_min();  // would read back as out of range
  act.Place.Longitude = std::numeric_limits<Extended>::min() * 1.0000000000001L;
  act.RecordData->StartTime = kInfinity;
  act.RecordData->SetData(-std::numeric_limits<Extended>::infinity());
  diary.Days[1]->DateData = -1e300;
  diary.Categories->Items(0)->GraphInfo().SetEndDate(std::nan(""));
  diary.Categories->Items(1)->GraphInfo().SetStartDate(3e6);
  dynamic_cast<TGpsFileLink&>(*diary.Files.Items(1)).StartPos = std::numeric_limits<double>::max();
  dynamic_cast<TGpsFileLink&>(*diary.Files.Items(1)).EndPos = -kInfinity;
  diary.ChildWindowInfo.DropFileDialogDate = kInfinity;

  const std::string saved = diary.SaveToString();
  EXPECT_EQ(saved.find("INF"), std::string::npos);
  EXPECT_EQ(saved.find("NAN"), std::string::npos);
  TDiaryFixture loaded;
  ASSERT_NO_THROW(loaded.LoadString(saved));
  EXPECT_EQ(loaded.SaveToString(), saved);
  const TActData& read = *loaded.Days[0]->ActDataList[0];
  EXPECT_GT(read.Temperature, 1.1E4932L);
  EXPECT_EQ(read.WindSpeed, 0);
  EXPECT_EQ(read.Place.Latitude, 0);
  EXPECT_EQ(read.Place.Longitude, 0);
  EXPECT_EQ(read.RecordData->StartTime, LastDaySerial);
  EXPECT_EQ(loaded.Days[1]->DateData, FirstDaySerial);
  EXPECT_EQ(loaded.Categories->Items(0)->GraphInfo().EndDate(), 0);
  EXPECT_EQ(dynamic_cast<const TGpsFileLink&>(*loaded.Files.Items(1)).StartPos, 1.79769313486231E308);
}

}  // namespace
}  // namespace hakuvo
