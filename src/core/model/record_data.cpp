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

Extended TRecordData::ViewDataAt(int kind) const { return kind == rkCount ? 1 : FData; }

void TRecordData::AppendViewDataStrAt(std::string& out, int kind) const { AppendGeneral(out, ViewDataAt(kind)); }

std::string TRecordData::ViewDataStrAt(int kind) const {
  std::string text;
  AppendViewDataStrAt(text, kind);
  return text;
}

std::string TRecordData::ViewTaniAt(int kind) const {
  if (kind < 0 || static_cast<std::size_t>(kind) >= Tani.size()) return {};
  return Tani[static_cast<std::size_t>(kind)];
}

std::string TRecordData::ViewTitleAt(int kind) const { return kind == rkCount ? "回数" : "記録"; }

std::string TRecordData::ValueLineAt(int kind) const {
  return ViewTitleAt(kind) + "： " + ViewDataStrAt(kind) + " " + ViewTaniAt(kind) + kLineEnd;
}

std::string TRecordData::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  if (info.IsTime()) hint += TimeStr() + kLineEnd;
  if (info.IsRecordData()) hint += ValueLineAt(IndicationKind);
  return hint;
}

void TTimeRecord::Assign(const TRecordData& source) {
  TRecordData::Assign(source);
  if (const auto* time = dynamic_cast<const TTimeRecord*>(&source)) EndTime = time->EndTime;
}

Extended TTimeRecord::DurationMSecs() const {
  constexpr auto kDay = static_cast<Extended>(MSecsPerDay);
  const Extended scaled = static_cast<Extended>(EndTime - StartTime) * kDay;
  Extended ms = 0;
  // Half a millisecond away from zero, as std::round, which the list would call a few times a row.
  if (std::fabs(scaled) < 1e18L) {
    auto whole = static_cast<long long>(scaled);
    const Extended rest = scaled - static_cast<Extended>(whole);
    if (rest >= 0.5L) ++whole;
    if (rest <= -0.5L) --whole;
    ms = static_cast<Extended>(whole);
  } else {
    ms = std::round(scaled);
  }
  if (ms < 0) ms += kDay * std::ceil(-ms / kDay);
  return ms;
}

// Multiplied before it is divided, so that decimal distances over whole minutes give the exact
// speed wherever it has few digits (4.5 km in 24 minutes is 11.25 km/h, not 11.2499...).
Extended TTimeRecord::Speed() const {
  const Extended ms = DurationMSecs();
  return ms == 0 ? 0 : Data() * 3600000 / ms;
}

Extended TTimeRecord::ViewDataAt(int kind) const {
  if (kind == rkSpeed) return Speed();
  return TRecordData::ViewDataAt(kind);
}

void TTimeRecord::AppendViewDataStrAt(std::string& out, int kind) const {
  if (kind != rkSpeed) return TRecordData::AppendViewDataStrAt(out, kind);
  if (HasDuration()) AppendFixed(out, Speed(), 1);
}

std::string TTimeRecord::ViewTitleAt(int kind) const {
  switch (kind) {
    case rkCount:
      return "回数";
    case rkData:
      return "距離";
    case rkSpeed:
      return "速度";
    default:
      return "記録";
  }
}

std::string TTimeRecord::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  if (info.IsTime()) hint += TimeStr() + " - " + EndTimeStr() + kLineEnd;
  if (info.IsRecordData()) hint += ValueLineAt(IndicationKind);
  return hint;
}

void TEnergyConsumptionRecord::Assign(const TRecordData& source) {
  TTimeRecord::Assign(source);
  if (const auto* energy = dynamic_cast<const TEnergyConsumptionRecord*>(&source)) Weight = energy->Weight;
}

// 1.05 as 105 / 100 and the hours as milliseconds, every product before the one division: whole
// METs, minutes and kilograms then give the exact energy (18 METs, 25 minutes and 68 kg make
// exactly 535.5 kcal, shown as 536).
Extended TEnergyConsumptionRecord::Energy() const { return GetMets() * 105 * DurationMSecs() * Weight / 360000000; }

Extended TEnergyConsumptionRecord::ViewDataAt(int kind) const {
  if (kind == rkWeight) return Weight;
  if (kind == rkEnergy) return Energy();
  return TTimeRecord::ViewDataAt(kind);
}

void TEnergyConsumptionRecord::AppendViewDataStrAt(std::string& out, int kind) const {
  if (kind != rkEnergy) return TTimeRecord::AppendViewDataStrAt(out, kind);
  if (HasDuration()) AppendFixed(out, Energy(), 0);
}

std::string TEnergyConsumptionRecord::ViewTitleAt(int kind) const {
  if (kind == rkWeight) return "体重";
  if (kind == rkEnergy) return "カロリー";
  return TTimeRecord::ViewTitleAt(kind);
}

Extended TJoggingRecord::GetMets() const { return HasDuration() ? LookupMets(JoggingMetsTable(), Speed()) : 0; }

Extended TBicycleRecord::GetMets() const { return HasDuration() ? LookupMets(BicycleMetsTable(), Speed()) : 0; }

Extended TSwimmingRecord::GetMets() const { return HasDuration() ? 6.0L : 0; }

Extended TWalkingRecord::GetMets() const { return HasDuration() ? LookupMets(WalkingMetsTable(), Speed()) : 0; }

void TWalkingRecord::Assign(const TRecordData& source) {
  TEnergyConsumptionRecord::Assign(source);
  if (const auto* walking = dynamic_cast<const TWalkingRecord*>(&source)) Pedometer = walking->Pedometer;
}

Extended TWalkingRecord::ViewDataAt(int kind) const {
  if (kind == rkPedometer) return Pedometer;
  return TEnergyConsumptionRecord::ViewDataAt(kind);
}

void TWalkingRecord::AppendViewDataStrAt(std::string& out, int kind) const {
  if (kind != rkPedometer) return TEnergyConsumptionRecord::AppendViewDataStrAt(out, kind);
  AppendPadded(out, Pedometer, 1);
}

std::string TWalkingRecord::ViewTitleAt(int kind) const {
  if (kind == rkPedometer) return "歩数";
  return TEnergyConsumptionRecord::ViewTitleAt(kind);
}

std::string TWalkingRecord::GetHint(const TCategoryInfo& info) const {
  std::string hint = TEnergyConsumptionRecord::GetHint(info);
  const auto* walking = dynamic_cast<const TWalkingCategoryInfo*>(&info);
  if (walking != nullptr && walking->IsPedometer()) hint += ValueLineAt(rkPedometer);
  return hint;
}

void TFishingRecord::Assign(const TRecordData& source) {
  TRecordData::Assign(source);
  if (const auto* fishing = dynamic_cast<const TFishingRecord*>(&source)) {
    Dimension = fishing->Dimension;
    WaterTemperature = fishing->WaterTemperature;
  }
}

Extended TFishingRecord::ViewDataAt(int kind) const {
  if (kind == rkDimension) return Dimension;
  if (kind == rkWaterTemperature) return WaterTemperature;
  return TRecordData::ViewDataAt(kind);
}

std::string TFishingRecord::ViewTitleAt(int kind) const {
  switch (kind) {
    case rkCount:
      return "回数";
    case rkData:
      return "釣果";
    case rkDimension:
      return "大きさ";
    case rkWaterTemperature:
      return "水温";
    default:
      return "記録";
  }
}

std::string TFishingRecord::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  const auto* fishing = dynamic_cast<const TFishingCategoryInfo*>(&info);
  if (info.IsTime()) hint += TimeStr() + kLineEnd;
  if (info.IsRecordData()) hint += ValueLineAt(rkData);
  if (fishing != nullptr && fishing->IsDimension()) hint += ValueLineAt(rkDimension);
  if (fishing != nullptr && fishing->IsWaterTemperature()) hint += ValueLineAt(rkWaterTemperature);
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

Extended TBloodPressureRecord::ViewDataAt(int kind) const {
  if (kind == rkMinBloodPressure) return MinBloodPressure;
  if (kind == rkPulse) return Pulse;
  return TRecordData::ViewDataAt(kind);
}

std::string TBloodPressureRecord::ViewTitleAt(int kind) const {
  switch (kind) {
    case rkCount:
      return "回数";
    case rkData:
      return "最大血圧";
    case rkMinBloodPressure:
      return "最低血圧";
    case rkPulse:
      return "脈拍";
    default:
      return "記録";
  }
}

std::string TBloodPressureRecord::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  const auto* pressure = dynamic_cast<const TBloodPressureCategoryInfo*>(&info);
  if (info.IsTime()) hint += TimeStr() + kLineEnd;
  if (info.IsRecordData()) hint += ValueLineAt(rkData);
  if (pressure != nullptr && pressure->IsMinBloodPressure()) hint += ValueLineAt(rkMinBloodPressure);
  if (pressure != nullptr && pressure->IsPulse()) hint += ValueLineAt(rkPulse);
  return hint;
}

}  // namespace hakuvo
