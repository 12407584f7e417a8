#include "core/model/category_info.h"

namespace hakuvo {

TCategoryInfo::TCategoryInfo(int recordNumber)
    : Tani(static_cast<std::size_t>(recordNumber)),
      CalcKind(static_cast<std::size_t>(recordNumber), ckTotal),
      FMapInfo(std::make_unique<TMapInfo>()),
      FGraphInfo(std::make_unique<TGraphInfo>()),
      FMonthGraphInfo(std::make_unique<TGraphInfo>()),
      FYearGraphInfo(std::make_unique<TGraphInfo>()),
      FSpeedGraphInfo(std::make_unique<TSpeedGraphInfo>()),
      FRecordNumber(recordNumber) {
  for (TGraphInfo* graph : {FGraphInfo.get(), FMonthGraphInfo.get(), FYearGraphInfo.get()}) {
    graph->SetDayAxisKind(daAll);
    graph->RecordAxisTitle.resize(static_cast<std::size_t>(recordNumber));
  }
  Tani[0] = "回";
}

void TCategoryInfo::Assign(const TCategoryInfo& source) {
  FCategory = source.FCategory;
  FIndicationKind = source.FIndicationKind;
  FIsRecordData = source.FIsRecordData;
  FIsTime = source.FIsTime;
  FIsWeather = source.FIsWeather;
  FIsTemperature = source.FIsTemperature;
  FIsWindDirection = source.FIsWindDirection;
  FIsWindSpeed = source.FIsWindSpeed;
  for (std::size_t i = 0; i < Tani.size() && i < source.Tani.size(); ++i) {
    Tani[i] = source.Tani[i];
    CalcKind[i] = source.CalcKind[i];
  }
  FGraphInfo->Assign(*source.FGraphInfo);
  FMonthGraphInfo->Assign(*source.FMonthGraphInfo);
  FYearGraphInfo->Assign(*source.FYearGraphInfo);
  FSpeedGraphInfo->Assign(*source.FSpeedGraphInfo);
  FMapInfo->Assign(*source.FMapInfo);
}

TTimeCategoryInfo::TTimeCategoryInfo(int recordNumber) : TCategoryInfo(recordNumber) {
  SetIsTime(true);
  Tani[1] = "km";
  Tani[2] = Tani[1] + "/h";
  CalcKind[2] = ckWeightedAverage;
}

TEnergyConsumptionCategoryInfo::TEnergyConsumptionCategoryInfo(int recordNumber) : TTimeCategoryInfo(recordNumber) {
  Tani[3] = "kg";
  Tani[4] = "kcal";
  CalcKind[3] = ckAverage;
}

void TEnergyConsumptionCategoryInfo::Assign(const TCategoryInfo& source) {
  TTimeCategoryInfo::Assign(source);
  if (const auto* same = dynamic_cast<const TEnergyConsumptionCategoryInfo*>(&source)) FIsWeight = same->FIsWeight;
}

void TWalkingCategoryInfo::Assign(const TCategoryInfo& source) {
  TEnergyConsumptionCategoryInfo::Assign(source);
  if (const auto* same = dynamic_cast<const TWalkingCategoryInfo*>(&source)) FIsPedometer = same->FIsPedometer;
}

void TWalkingCategoryInfo::SetCategory(TCategoryType value) {
  TEnergyConsumptionCategoryInfo::SetCategory(value);
  Tani[5] = "歩";
}

TSwimmingCategoryInfo::TSwimmingCategoryInfo() {
  // Built from a character, not assigned from "m": GCC 12 at -O3 takes the one-letter literal
  // assignment for an overlapping copy (a false -Wrestrict) and -Werror stops the build.
  Tani[1] = std::string(1, 'm');
  Tani[2] = "m/h";
}

TVehicleCategoryInfo::TVehicleCategoryInfo() {
  SetIsRecordData(false);
  SetIndicationKind(0);
}

TFishingCategoryInfo::TFishingCategoryInfo() : TCategoryInfo(4) {
  Tani[1] = "匹";
  Tani[2] = "cm";
  Tani[3] = "℃";
  CalcKind[2] = ckAverage;
  CalcKind[3] = ckAverage;
}

void TFishingCategoryInfo::Assign(const TCategoryInfo& source) {
  TCategoryInfo::Assign(source);
  if (const auto* same = dynamic_cast<const TFishingCategoryInfo*>(&source)) {
    FIsWaterTemperature = same->FIsWaterTemperature;
    FIsDimension = same->FIsDimension;
  }
}

TBloodPressureCategoryInfo::TBloodPressureCategoryInfo() : TCategoryInfo(4) {
  SetIsTime(true);
  Tani[1] = "mmHg";
  Tani[2] = "mmHg";
  Tani[3] = "回/分";
  CalcKind[1] = ckAverage;
  CalcKind[2] = ckAverage;
  CalcKind[3] = ckAverage;
}

void TBloodPressureCategoryInfo::Assign(const TCategoryInfo& source) {
  TCategoryInfo::Assign(source);
  if (const auto* same = dynamic_cast<const TBloodPressureCategoryInfo*>(&source)) {
    FIsPulse = same->FIsPulse;
    FIsMinBloodPressure = same->FIsMinBloodPressure;
  }
}

TEvaluationCategoryInfo::TEvaluationCategoryInfo() {
  SetIsRecordData(false);
  SetIndicationKind(0);
  CalcKind[1] = ckAverage;
}

void TEvaluationCategoryInfo::Assign(const TCategoryInfo& source) {
  TCategoryInfo::Assign(source);
  if (const auto* same = dynamic_cast<const TEvaluationCategoryInfo*>(&source)) FIsUrl = same->FIsUrl;
}

TRestaurantCategoryInfo::TRestaurantCategoryInfo() { Tani[0] = "軒"; }

void TBookCategoryInfo::Assign(const TCategoryInfo& source) {
  TEvaluationCategoryInfo::Assign(source);
  if (const auto* same = dynamic_cast<const TBookCategoryInfo*>(&source)) FIsAuthor = same->FIsAuthor;
}

void TBookCategoryInfo::SetCategory(TCategoryType value) {
  TEvaluationCategoryInfo::SetCategory(value);
  Tani[0] = "冊";
}

TWeightCategoryInfo::TWeightCategoryInfo() {
  Tani[1] = "kg";
  CalcKind[1] = ckAverage;
}

TShoppingCategoryInfo::TShoppingCategoryInfo() { Tani[1] = "円"; }

TCalorieCategoryInfo::TCalorieCategoryInfo() { Tani[1] = "kcal"; }

TFileCategoryInfo::TFileCategoryInfo() {
  Tani[0] = "個";
  Tani[1] = "個";
}

TSightseeingCategoryInfo::TSightseeingCategoryInfo() {
  SetIsRecordData(false);
  SetIndicationKind(0);
  Tani[1].clear();
}

std::unique_ptr<TCategoryInfo> CreateCategoryInfo(TCategoryType category) {
  switch (category) {
    case ctJogging:
    case ctBicycle:
      return std::make_unique<TEnergyConsumptionCategoryInfo>();
    case ctWalking:
      return std::make_unique<TWalkingCategoryInfo>();
    case ctSwimming:
      return std::make_unique<TSwimmingCategoryInfo>();
    case ctFishing:
      return std::make_unique<TFishingCategoryInfo>();
    case ctShopping:
      return std::make_unique<TShoppingCategoryInfo>();
    case ctWeight:
      return std::make_unique<TWeightCategoryInfo>();
    case ctFile:
      return std::make_unique<TFileCategoryInfo>();
    case ctCalorie:
      return std::make_unique<TCalorieCategoryInfo>();
    case ctVehicle:
      return std::make_unique<TVehicleCategoryInfo>();
    case ctHotel:
    case ctSweets:
      return std::make_unique<TEvaluationCategoryInfo>();
    case ctSightseeing:
      return std::make_unique<TSightseeingCategoryInfo>();
    case ctRestaurant:
      return std::make_unique<TRestaurantCategoryInfo>();
    case ctBook:
      return std::make_unique<TBookCategoryInfo>();
    case ctBloodPressure:
      return std::make_unique<TBloodPressureCategoryInfo>();
    case ctUserCategory:
      break;
  }
  return std::make_unique<TCategoryInfo>();
}

bool IsCategoryTimeShown(TCategoryType category, const TCategoryInfo& info) {
  switch (category) {
    case ctJogging:
    case ctWalking:
    case ctSwimming:
    case ctBicycle:
    case ctFishing:
    case ctVehicle:
    case ctBloodPressure:
      return info.IsTime();
    default:
      return true;
  }
}

}  // namespace hakuvo
