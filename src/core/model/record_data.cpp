#include "core/model/record_data.h"

#include <cmath>

#include "core/common/number_format.h"
#include "core/model/category_info.h"
#include "core/model/mets.h"

namespace hakuvo {

namespace {

const char* const kLineEnd = "\r\n";

}  // namespace

TRecordData::TRecordData(int recordNumber)
    : Tani(static_cast<std::size_t>(recordNumber)), FRecordNumber(recordNumber) {}

void TRecordData::Assign(const TRecordData& source) {
  IndicationKind = source.IndicationKind;
  FData = source.FData;
  StartTime = source.StartTime;
  for (std::size_t i = 0; i < Tani.size() && i < source.Tani.size(); ++i) Tani[i] = source.Tani[i];
}

Extended TRecordData::ViewData() const { return IndicationKind == 0 ? 1 : FData; }

std::string TRecordData::ViewDataStr() const { return FormatGeneral(ViewData()); }

std::string TRecordData::ViewTani() const {
  if (IndicationKind < 0 || static_cast<std::size_t>(IndicationKind) >= Tani.size()) return {};
  return Tani[static_cast<std::size_t>(IndicationKind)];
}

std::string TRecordData::ViewTitle() const { return IndicationKind == 0 ? "回数" : "記録"; }

std::string TRecordData::ValueLine() const { return ViewTitle() + "： " + ViewDataStr() + " " + ViewTani() + kLineEnd; }

std::string TRecordData::ValueLineAt(int index) const {
  TIndicationKindGuard guard(*this);
  guard.Set(index);
  return ValueLine();
}

std::string TRecordData::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  if (info.IsTime()) hint += TimeStr() + kLineEnd;
  if (info.IsRecordData()) hint += ValueLine();
  return hint;
}

void TTimeRecord::Assign(const TRecordData& source) {
  TRecordData::Assign(source);
  if (const auto* time = dynamic_cast<const TTimeRecord*>(&source)) EndTime = time->EndTime;
}

Extended TTimeRecord::Hours() const {
  const Extended ms = std::round(static_cast<Extended>(EndTime - StartTime) * static_cast<Extended>(MSecsPerDay));
  return ms / 3600000;
}

Extended TTimeRecord::Speed() const {
  const Extended hours = Hours();
  return hours == 0 ? 0 : Data() / hours;
}

Extended TTimeRecord::ViewData() const {
  if (IndicationKind == 2) return Speed();
  return TRecordData::ViewData();
}

std::string TTimeRecord::ViewDataStr() const {
  if (IndicationKind == 2) return HasDuration() ? FormatFixed(Speed(), 1) : std::string();
  return TRecordData::ViewDataStr();
}

std::string TTimeRecord::ViewTitle() const {
  switch (IndicationKind) {
    case 0:
      return "回数";
    case 1:
      return "距離";
    case 2:
      return "速度";
    default:
      return "記録";
  }
}

std::string TTimeRecord::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  if (info.IsTime()) hint += TimeStr() + " - " + EndTimeStr() + kLineEnd;
  if (info.IsRecordData()) hint += ValueLine();
  return hint;
}

void TEnergyConsumptionRecord::Assign(const TRecordData& source) {
  TTimeRecord::Assign(source);
  if (const auto* energy = dynamic_cast<const TEnergyConsumptionRecord*>(&source)) Weight = energy->Weight;
}

Extended TEnergyConsumptionRecord::Energy() const { return GetMets() * 1.05L * Hours() * Weight; }

Extended TEnergyConsumptionRecord::ViewData() const {
  if (IndicationKind == 3) return Weight;
  if (IndicationKind == 4) return Energy();
  return TTimeRecord::ViewData();
}

std::string TEnergyConsumptionRecord::ViewDataStr() const {
  if (IndicationKind == 4) return HasDuration() ? FormatFixed(Energy(), 0) : std::string();
  return TTimeRecord::ViewDataStr();
}

std::string TEnergyConsumptionRecord::ViewTitle() const {
  if (IndicationKind == 3) return "体重";
  if (IndicationKind == 4) return "カロリー";
  return TTimeRecord::ViewTitle();
}

Extended TJoggingRecord::GetMets() const { return HasDuration() ? LookupMets(JoggingMetsTable(), Speed()) : 0; }

Extended TBicycleRecord::GetMets() const { return HasDuration() ? LookupMets(BicycleMetsTable(), Speed()) : 0; }

Extended TSwimmingRecord::GetMets() const { return HasDuration() ? 6.0L : 0; }

Extended TWalkingRecord::GetMets() const { return HasDuration() ? LookupMets(WalkingMetsTable(), Speed()) : 0; }

void TWalkingRecord::Assign(const TRecordData& source) {
  TEnergyConsumptionRecord::Assign(source);
  if (const auto* walking = dynamic_cast<const TWalkingRecord*>(&source)) Pedometer = walking->Pedometer;
}

Extended TWalkingRecord::ViewData() const {
  if (IndicationKind == 5) return Pedometer;
  return TEnergyConsumptionRecord::ViewData();
}

std::string TWalkingRecord::ViewDataStr() const {
  if (IndicationKind == 5) return std::to_string(Pedometer);
  return TEnergyConsumptionRecord::ViewDataStr();
}

std::string TWalkingRecord::ViewTitle() const {
  if (IndicationKind == 5) return "歩数";
  return TEnergyConsumptionRecord::ViewTitle();
}

std::string TWalkingRecord::GetHint(const TCategoryInfo& info) const {
  std::string hint = TEnergyConsumptionRecord::GetHint(info);
  const auto* walking = dynamic_cast<const TWalkingCategoryInfo*>(&info);
  if (walking != nullptr && walking->IsPedometer()) hint += ValueLineAt(5);
  return hint;
}

void TFishingRecord::Assign(const TRecordData& source) {
  TRecordData::Assign(source);
  if (const auto* fishing = dynamic_cast<const TFishingRecord*>(&source)) {
    Dimension = fishing->Dimension;
    WaterTemperature = fishing->WaterTemperature;
  }
}

Extended TFishingRecord::ViewData() const {
  if (IndicationKind == 2) return Dimension;
  if (IndicationKind == 3) return WaterTemperature;
  return TRecordData::ViewData();
}

std::string TFishingRecord::ViewTitle() const {
  switch (IndicationKind) {
    case 0:
      return "回数";
    case 1:
      return "釣果";
    case 2:
      return "大きさ";
    case 3:
      return "水温";
    default:
      return "記録";
  }
}

std::string TFishingRecord::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  const auto* fishing = dynamic_cast<const TFishingCategoryInfo*>(&info);
  if (info.IsTime()) hint += TimeStr() + kLineEnd;
  if (info.IsRecordData()) hint += ValueLineAt(1);
  if (fishing != nullptr && fishing->IsDimension()) hint += ValueLineAt(2);
  if (fishing != nullptr && fishing->IsWaterTemperature()) hint += ValueLineAt(3);
  return hint;
}

TBloodPressureRecord::TBloodPressureRecord() : TRecordData(4) { StartTime = Now(); }

void TBloodPressureRecord::Assign(const TRecordData& source) {
  TRecordData::Assign(source);
  if (const auto* pressure = dynamic_cast<const TBloodPressureRecord*>(&source)) {
    MinBloodPressure = pressure->MinBloodPressure;
    Pulse = pressure->Pulse;
  }
}

Extended TBloodPressureRecord::ViewData() const {
  if (IndicationKind == 2) return MinBloodPressure;
  if (IndicationKind == 3) return Pulse;
  return TRecordData::ViewData();
}

std::string TBloodPressureRecord::ViewTitle() const {
  switch (IndicationKind) {
    case 0:
      return "回数";
    case 1:
      return "最大血圧";
    case 2:
      return "最低血圧";
    case 3:
      return "脈拍";
    default:
      return "記録";
  }
}

std::string TBloodPressureRecord::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  const auto* pressure = dynamic_cast<const TBloodPressureCategoryInfo*>(&info);
  if (info.IsTime()) hint += TimeStr() + kLineEnd;
  if (info.IsRecordData()) hint += ValueLineAt(1);
  if (pressure != nullptr && pressure->IsMinBloodPressure()) hint += ValueLineAt(2);
  if (pressure != nullptr && pressure->IsPulse()) hint += ValueLineAt(3);
  return hint;
}

}  // namespace hakuvo
