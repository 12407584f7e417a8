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
      {"walking exactly at the top", std::make_unique<TWalkingRecord>(), 8.0, 3},
      {"walking just above the top", std::make_unique<TWalkingRecord>(), 8.01, 8},
      {"jogging below 8", std::make_unique<TJoggingRecord>(), 7.9, 7},
      {"jogging at 10", std::make_unique<TJoggingRecord>(), 10.0, 9 + 1 / 1.2 * 0.95},
      {"jogging upper half of a band", std::make_unique<TJoggingRecord>(), 10.5, 10 + 1 / 0.8 * 0.25},
      {"jogging exactly at 17.5", std::make_unique<TJoggingRecord>(), 17.5, 7},
      {"jogging above 17.5", std::make_unique<TJoggingRecord>(), 20.0, 18},
      {"bicycle below 16.1", std::make_unique<TBicycleRecord>(), 10.0, 4},
      {"bicycle in the gap", std::make_unique<TBicycleRecord>(), 32.25, 8},
      {"bicycle exactly at 32.2", std::make_unique<TBicycleRecord>(), 32.2, 8},
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
  EXPECT_EQ(walking.GetMets(), 3);
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

class ThrowingRecord : public TRecordData {
 public:
  Extended ViewData() const override {
    if (IndicationKind == 1) throw std::runtime_error("boom");
    return TRecordData::ViewData();
  }
};

TEST(Records, GuardRestoresTheIndexWhenAnErrorPasses) {
  ThrowingRecord record;
  record.IndicationKind = 0;
  try {
    TIndicationKindGuard guard(record);
    guard.Set(1);
    (void)record.ViewData();
    FAIL();
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(record.IndicationKind, 0);
}

}  // namespace
}  // namespace hakuvo
