#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "core/model/category_info.h"
#include "core/model/mets.h"
#include "core/model/record_data.h"

namespace hakuvo {
namespace {

constexpr double kHour = 1.0 / 24.0;

TEST(Records, JoggingTenKilometresInAnHourAtSixtyKilograms) {
  TJoggingRecord record;
  record.StartTime = 7 * kHour;
  record.EndTime = 8 * kHour;
  record.SetData(10);
  record.Weight = 60;
  EXPECT_NEAR(static_cast<double>(record.GetMets()), 9.7917, 1e-4);
  record.IndicationKind = 2;
  EXPECT_NEAR(static_cast<double>(record.ViewData()), 10.0, 1e-12);
  EXPECT_EQ(record.ViewDataStr(), "10.0");
  record.IndicationKind = 4;
  EXPECT_NEAR(static_cast<double>(record.ViewData()), 616.875, 1e-9);
  EXPECT_EQ(record.ViewDataStr(), "617");
  EXPECT_EQ(record.ViewTitle(), "カロリー");
  record.IndicationKind = 3;
  EXPECT_EQ(record.ViewDataStr(), "60");
}

TEST(Records, NoDurationGivesEmptyTextsButStillCountsOnce) {
  for (auto* record : std::initializer_list<TEnergyConsumptionRecord*>{new TJoggingRecord, new TSwimmingRecord}) {
    std::unique_ptr<TEnergyConsumptionRecord> owned(record);
    record->StartTime = record->EndTime = 7 * kHour;
    record->SetData(5);
    EXPECT_EQ(record->GetMets(), 0);
    for (int kind : {2, 4}) {
      record->IndicationKind = kind;
      EXPECT_EQ(record->ViewData(), 0);
      EXPECT_EQ(record->ViewDataStr(), "");
    }
    record->IndicationKind = 0;
    EXPECT_EQ(record->ViewData(), 1);
    EXPECT_EQ(record->ViewTitle(), "回数");
  }
}

TEST(Records, BandTableBoundaries) {
  // Durations of whole hours keep the speeds exact.
  struct Case {
    const char* Activity;
    std::unique_ptr<TEnergyConsumptionRecord> Record;
    double Kmh;
    double Mets;
  };
  Case cases[] = {
      {"walking below the table", std::make_unique<TWalkingRecord>(), 1.0, 2},
      {"walking at a band start", std::make_unique<TWalkingRecord>(), 3.2, 2.0 + 0.5 / 0.8 * (3.2 - 2.8)},
      {"walking exactly at the top", std::make_unique<TWalkingRecord>(), 8.0, 8},
      {"walking just above the top", std::make_unique<TWalkingRecord>(), 8.01, 8},
      {"jogging below 8", std::make_unique<TJoggingRecord>(), 7.9, 7},
      {"jogging at 10", std::make_unique<TJoggingRecord>(), 10.0, 9 + 1 / 1.2 * 0.95},
      {"jogging upper half of a band", std::make_unique<TJoggingRecord>(), 10.5, 10 + 1 / 0.8 * 0.25},
      {"jogging exactly at 17.5", std::make_unique<TJoggingRecord>(), 17.5, 18},
      {"jogging above 17.5", std::make_unique<TJoggingRecord>(), 20.0, 18},
      {"bicycle below 16.1", std::make_unique<TBicycleRecord>(), 10.0, 4},
      {"bicycle between 32.2 and 32.3", std::make_unique<TBicycleRecord>(), 32.25, 16},
      {"bicycle exactly at 32.2", std::make_unique<TBicycleRecord>(), 32.2, 16},
      {"bicycle just below 32.2", std::make_unique<TBicycleRecord>(), 32.19, 12 + 4 / 6.6 * (32.19 - 28.95)},
      {"bicycle above 32.3", std::make_unique<TBicycleRecord>(), 32.31, 16},
      {"swimming", std::make_unique<TSwimmingRecord>(), 2.0, 6},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Activity);
    c.Record->StartTime = 0;
    c.Record->EndTime = 0.5;  // 12 hours, exactly representable
    c.Record->SetData(c.Kmh * 12);
    EXPECT_NEAR(static_cast<double>(c.Record->GetMets()), c.Mets, 1e-9);
  }
}

TEST(Records, MinuteTimesGiveExactSpeedsAtThresholds) {
  TWalkingRecord walking;
  walking.StartTime = 7 * kHour;
  walking.EndTime = 8 * kHour;
  walking.SetData(8);
  EXPECT_EQ(walking.Speed(), 8);
  EXPECT_EQ(walking.GetMets(), 8);
}

// Real entries of one hour at 60 kg: the energy rises with the speed through the top threshold.
// Speeds computed from other durations land a rounding away from the threshold and still count
// as at it.
TEST(Records, TopThresholdTakesTheTopValue) {
  struct Case {
    const char* Entry;
    std::unique_ptr<TEnergyConsumptionRecord> Record;
    Extended Km;  // as the data file reader makes it from the typed decimal
    int Minutes;
    double Mets;
    const char* Energy;  // at 60 kg
  };
  Case cases[] = {
      {"walking 7.9 km in an hour", std::make_unique<TWalkingRecord>(), 7.9L, 60, 6.9375, "437"},
      {"walking 8.0 km in an hour", std::make_unique<TWalkingRecord>(), 8.0L, 60, 8, "504"},
      {"walking 8.1 km in an hour", std::make_unique<TWalkingRecord>(), 8.1L, 60, 8, "504"},
      {"walking 2.8 km in 21 minutes", std::make_unique<TWalkingRecord>(), 2.8L, 21, 8, "176"},
      {"jogging 17.5 km in an hour", std::make_unique<TJoggingRecord>(), 17.5L, 60, 18, "1134"},
      {"jogging 5.25 km in 18 minutes", std::make_unique<TJoggingRecord>(), 5.25L, 18, 18, "340"},
      {"walking 8.4 km in 63 minutes", std::make_unique<TWalkingRecord>(), 8.4L, 63, 8, "529"},
      {"bicycle 17.71 km in 33 minutes", std::make_unique<TBicycleRecord>(), 17.71L, 33, 16, "554"},
      // the lower thresholds, where the value jumps from the flat one into the interpolation
      {"jogging 2.4 km in 18 minutes", std::make_unique<TJoggingRecord>(), 2.4L, 18, 7.5, "142"},
      {"jogging 8.4 km in 63 minutes", std::make_unique<TJoggingRecord>(), 8.4L, 63, 7.5, "496"},
      {"bicycle 8.855 km in 33 minutes", std::make_unique<TBicycleRecord>(), 8.855L, 33, 5, "173"},
      {"bicycle 32.2 km in an hour", std::make_unique<TBicycleRecord>(), 32.2L, 60, 16, "1008"},
      {"bicycle 16.1 km in 30 minutes", std::make_unique<TBicycleRecord>(), 16.1L, 30, 16, "504"},
      {"bicycle 48.3 km in 90 minutes", std::make_unique<TBicycleRecord>(), 48.3L, 90, 16, "1512"},
      {"bicycle 32.29 km in an hour", std::make_unique<TBicycleRecord>(), 32.29L, 60, 16, "1008"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Entry);
    c.Record->StartTime = 7 * kHour;
    c.Record->EndTime = 7 * kHour + c.Minutes / 1440.0;
    c.Record->SetData(c.Km);
    c.Record->Weight = 60;
    EXPECT_NEAR(static_cast<double>(c.Record->GetMets()), c.Mets, 1e-12);
    EXPECT_EQ(c.Record->ViewDataStrAt(rkEnergy), c.Energy);
  }
}

// Distances and weights as typed, times by the minute: a value that is exactly halfway shows
// rounded away from zero, whatever the binary arithmetic made of it.
TEST(Records, ShownValuesRoundExactHalvesAwayFromZero) {
  struct Case {
    const char* Entry;
    std::unique_ptr<TEnergyConsumptionRecord> Record;
    Extended Km;
    int Minutes;
    Extended Kg;
    int Kind;
    const char* Text;
  };
  Case cases[] = {
      // 19.2 km/h: 18 METs x 1.05 x 25/60 h x 68 kg = 535.5
      {"energy 535.5", std::make_unique<TJoggingRecord>(), 8, 25, 68, rkEnergy, "536"},
      // swimming, 6 METs: 6 x 1.05 x 60/60 h x 65 kg = 409.5 and x 55 kg = 346.5
      {"energy 409.5", std::make_unique<TSwimmingRecord>(), 1, 60, 65, rkEnergy, "410"},
      {"energy 346.5", std::make_unique<TSwimmingRecord>(), 1, 60, 55, rkEnergy, "347"},
      // 6 x 1.05 x 30/60 h x 50 kg = 157.5
      {"energy 157.5", std::make_unique<TSwimmingRecord>(), 1, 30, 50, rkEnergy, "158"},
      {"speed 11.25", std::make_unique<TJoggingRecord>(), 4.5L, 24, 60, rkSpeed, "11.3"},
      {"speed 1.45", std::make_unique<TWalkingRecord>(), 2.61L, 108, 60, rkSpeed, "1.5"},
      {"speed 3.15", std::make_unique<TWalkingRecord>(), 1.05L, 20, 60, rkSpeed, "3.2"},
      {"speed 6.35", std::make_unique<TWalkingRecord>(), 6.35L, 60, 60, rkSpeed, "6.4"},
      {"speed 10.05", std::make_unique<TJoggingRecord>(), 6.03L, 36, 60, rkSpeed, "10.1"},
      {"speed 0.05", std::make_unique<TWalkingRecord>(), 0.05L, 60, 60, rkSpeed, "0.1"},
      {"speed 12.25", std::make_unique<TJoggingRecord>(), 4.9L, 24, 60, rkSpeed, "12.3"},
      {"speed just under a half", std::make_unique<TJoggingRecord>(), 4.499L, 24, 60, rkSpeed, "11.2"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Entry);
    c.Record->StartTime = 7 * kHour;
    c.Record->EndTime = 7 * kHour + c.Minutes / 1440.0;
    c.Record->SetData(c.Km);
    c.Record->Weight = c.Kg;
    EXPECT_EQ(c.Record->ViewDataStrAt(c.Kind), c.Text);
  }
}

// An end before the start is an outing that went on past midnight.
TEST(Records, EndBeforeStartRunsPastMidnight) {
  struct Case {
    int StartMinute;
    int EndMinute;
    double Hours;
    const char* Speed;   // of 10 km
    const char* Energy;  // jogging at 60 kg
  };
  const Case cases[] = {
      {23 * 60 + 30, 30, 1, "10.0", "617"},
      {22 * 60, 60 + 30, 3.5, "2.9", "1544"},  // 7 METs x 1.05 x 3.5 h x 60
                                               // kg = 1543.5
      {23 * 60 + 59, 0, 1 / 60.0, "600.0", "19"},
      {7 * 60, 8 * 60, 1, "10.0", "617"},
      {7 * 60, 7 * 60, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.StartMinute);
    TJoggingRecord record;
    record.StartTime = c.StartMinute / 1440.0;
    record.EndTime = c.EndMinute / 1440.0;
    record.SetData(10);
    record.Weight = 60;
    EXPECT_NEAR(static_cast<double>(record.Hours()), c.Hours, 1e-15);
    EXPECT_EQ(record.ViewDataStrAt(rkSpeed), c.Speed);
    EXPECT_EQ(record.ViewDataStrAt(rkEnergy), c.Energy);
    EXPECT_GE(record.ViewDataAt(rkSpeed), 0);
    EXPECT_GE(record.ViewDataAt(rkEnergy), 0);
  }
}

TEST(Records, InterpolationRunsBetweenBandMidpoints) {
  const TMetsTable& jogging = JoggingMetsTable();
  // At the midpoint of a band the value is the band's own.
  EXPECT_NEAR(static_cast<double>(InterpolateMets(jogging, 3, 10.25L)), 10.0, 1e-12);
  // At the midpoint of the band below, that band's value.
  EXPECT_NEAR(static_cast<double>(InterpolateMets(jogging, 3, 9.05L)), 9.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(InterpolateMets(jogging, 3, 11.05L)), 11.0, 1e-12);
}

TEST(Records, TitlesAndValuesOfEveryIndex) {
  TWalkingRecord walking;
  walking.Pedometer = 8250;
  walking.Weight = 65.5L;
  walking.Tani = {"回", "km", "km/h", "kg", "kcal", "歩"};
  const char* titles[] = {"回数", "距離", "速度", "体重", "カロリー", "歩数"};
  for (int i = 0; i < 6; ++i) {
    walking.IndicationKind = i;
    EXPECT_EQ(walking.ViewTitle(), titles[i]);
    EXPECT_EQ(walking.ViewTani(), walking.Tani[static_cast<std::size_t>(i)]);
  }
  walking.IndicationKind = 5;
  EXPECT_EQ(walking.ViewDataStr(), "8250");
  walking.IndicationKind = 3;
  EXPECT_EQ(walking.ViewDataStr(), "65.5");

  TFishingRecord fishing;
  fishing.Dimension = 32.5L;
  fishing.WaterTemperature = 14;
  fishing.IndicationKind = 2;
  EXPECT_EQ(fishing.ViewTitle(), "大きさ");
  EXPECT_EQ(fishing.ViewData(), 32.5L);
  fishing.IndicationKind = 3;
  EXPECT_EQ(fishing.ViewTitle(), "水温");

  TBloodPressureRecord pressure;
  pressure.SetData(128);
  pressure.MinBloodPressure = 82;
  pressure.Pulse = 64;
  const char* bpTitles[] = {"回数", "最大血圧", "最低血圧", "脈拍"};
  const Extended bpValues[] = {1, 128, 82, 64};
  for (int i = 0; i < 4; ++i) {
    pressure.IndicationKind = i;
    EXPECT_EQ(pressure.ViewTitle(), bpTitles[i]);
    EXPECT_EQ(pressure.ViewData(), bpValues[i]);
  }
  TRecordData plain;
  plain.IndicationKind = 1;
  EXPECT_EQ(plain.ViewTitle(), "記録");
}

TEST(Records, AssignCopiesWhatBothClassesHave) {
  TRecordData plain;
  plain.SetData(3);
  plain.StartTime = 0.25;
  plain.Tani = {"回", "km"};
  TTimeRecord time;
  time.EndTime = 0.75;
  time.Tani[2] = "km/h";
  time.Assign(plain);
  EXPECT_EQ(time.Data(), 3);
  EXPECT_EQ(time.StartTime, 0.25);
  EXPECT_EQ(time.EndTime, 0.75) << "the receiver keeps its end time";
  EXPECT_EQ(time.Tani, (std::vector<std::string>{"回", "km", "km/h"}));

  TWalkingRecord source;
  source.Pedometer = 12;
  source.Weight = 70;
  source.EndTime = 0.5;
  TWalkingRecord copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Pedometer, 12);
  EXPECT_EQ(copy.Weight, 70);
  EXPECT_EQ(copy.EndTime, 0.5);
}

TEST(Records, HintsFollowTheCategoryFlagsAndRestoreTheIndex) {
  TWalkingCategoryInfo info;
  info.SetCategory(ctWalking);
  TWalkingRecord walking;
  walking.Tani = info.Tani;
  walking.StartTime = 7 * kHour;
  walking.EndTime = 8 * kHour;
  walking.SetData(5);
  walking.Pedometer = 6000;
  walking.IndicationKind = 2;
  EXPECT_EQ(walking.GetHint(info), "07:00 - 08:00\r\n速度： 5.0 km/h\r\n歩数： 6000 歩\r\n");
  EXPECT_EQ(walking.IndicationKind, 2);
  info.SetIsPedometer(false);
  info.SetIsTime(false);
  EXPECT_EQ(walking.GetHint(info), "速度： 5.0 km/h\r\n");

  TFishingCategoryInfo fishingInfo;
  fishingInfo.SetIsDimension(true);
  TFishingRecord fishing;
  fishing.Tani = fishingInfo.Tani;
  fishing.SetData(3);
  fishing.Dimension = 25;
  fishing.IndicationKind = 0;
  EXPECT_EQ(fishing.GetHint(fishingInfo), "釣果： 3 匹\r\n大きさ： 25 cm\r\n");
  EXPECT_EQ(fishing.IndicationKind, 0);

  TBloodPressureCategoryInfo bpInfo;
  bpInfo.SetIsPulse(true);
  TBloodPressureRecord bp;
  bp.Tani = bpInfo.Tani;
  bp.StartTime = 6.5 * kHour;
  bp.SetData(120);
  bp.Pulse = 60;
  EXPECT_EQ(bp.GetHint(bpInfo), "06:30\r\n最大血圧： 120 mmHg\r\n脈拍： 60 回/分\r\n");
}

// Readers of any index go through the *At functions of a record they hold const; the View*
// properties are the same functions at the shown index.
TEST(Records, EveryIndexReadsWithoutChangingTheShownOne) {
  TWalkingRecord walking;
  walking.StartTime = 7 * kHour;
  walking.EndTime = 7.5 * kHour;
  walking.SetData(3.3L);
  walking.Weight = 58.5L;
  walking.Pedometer = 4400;
  walking.Tani = {"回", "km", "km/h", "kg", "kcal", "歩"};
  TFishingRecord fishing;
  fishing.SetData(2);
  fishing.Dimension = 31;
  fishing.WaterTemperature = 12.5L;
  fishing.Tani = {"回", "匹", "cm", "℃"};
  TBloodPressureRecord pressure;
  pressure.SetData(131);
  pressure.MinBloodPressure = 85;
  pressure.Pulse = 70;
  TTimeRecord vehicle;
  vehicle.SetData(42);
  TRecordData plain;
  plain.SetData(7.25L);
  for (TRecordData* record : std::initializer_list<TRecordData*>{&walking, &fishing, &pressure, &vehicle, &plain}) {
    record->IndicationKind = rkData;
    const TRecordData& reader = *record;
    for (int kind = -1; kind <= reader.RecordNumber(); ++kind) {
      SCOPED_TRACE(reader.RecordNumber() * 100 + kind);
      const Extended value = reader.ViewDataAt(kind);
      const std::string text = reader.ViewDataStrAt(kind);
      const std::string title = reader.ViewTitleAt(kind);
      const std::string unit = reader.ViewTaniAt(kind);
      EXPECT_EQ(reader.IndicationKind, rkData);
      record->IndicationKind = kind;
      EXPECT_EQ(reader.ViewData(), value);
      EXPECT_EQ(reader.ViewDataStr(), text);
      EXPECT_EQ(reader.ViewTitle(), title);
      EXPECT_EQ(reader.ViewTani(), unit);
      record->IndicationKind = rkData;
    }
  }
  EXPECT_EQ(walking.ViewDataStrAt(rkPedometer), "4400");
  EXPECT_EQ(walking.ViewDataStrAt(rkSpeed), "6.6");
  EXPECT_EQ(walking.ViewTitleAt(rkEnergy), "カロリー");
  EXPECT_EQ(fishing.ViewDataAt(rkWaterTemperature), 12.5L);
  EXPECT_EQ(pressure.ViewTitleAt(rkPulse), "脈拍");
  EXPECT_EQ(plain.ViewTitleAt(rkCount), "回数");
  EXPECT_EQ(plain.ViewDataAt(rkCount), 1);
}

}  // namespace
}  // namespace hakuvo
