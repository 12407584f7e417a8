#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/model/category_type.h"
#include "core/model/graph_info.h"
#include "core/model/map_info.h"

namespace hakuvo {

// Settings of one category kind: its record indices with their units and combining rules, the
// optional fields its actions show, and its graph, speed-graph and map settings.
class TCategoryInfo {
 public:
  TCategoryInfo() : TCategoryInfo(2) {}
  virtual ~TCategoryInfo() = default;
  TCategoryInfo(const TCategoryInfo&) = delete;
  TCategoryInfo& operator=(const TCategoryInfo&) = delete;

  virtual void Assign(const TCategoryInfo& source);

  int IndicationKind() const { return FIndicationKind; }
  void SetIndicationKind(int value) { FIndicationKind = value; }
  bool IsWindSpeed() const { return FIsWindSpeed; }
  void SetIsWindSpeed(bool value) { FIsWindSpeed = value; }
  bool IsWindDirection() const { return FIsWindDirection; }
  void SetIsWindDirection(bool value) { FIsWindDirection = value; }
  bool IsWeather() const { return FIsWeather; }
  void SetIsWeather(bool value) { FIsWeather = value; }
  bool IsTemperature() const { return FIsTemperature; }
  void SetIsTemperature(bool value) { FIsTemperature = value; }
  TMapInfo& MapInfo() { return *FMapInfo; }
  const TMapInfo& MapInfo() const { return *FMapInfo; }
  bool IsRecordData() const { return FIsRecordData; }
  void SetIsRecordData(bool value) { FIsRecordData = value; }
  bool IsTime() const { return FIsTime; }
  void SetIsTime(bool value) { FIsTime = value; }
  TCategoryType Category() const { return FCategory; }
  virtual void SetCategory(TCategoryType value) { FCategory = value; }
  TGraphInfo& GraphInfo() { return *FGraphInfo; }
  const TGraphInfo& GraphInfo() const { return *FGraphInfo; }
  TGraphInfo& MonthGraphInfo() { return *FMonthGraphInfo; }
  const TGraphInfo& MonthGraphInfo() const { return *FMonthGraphInfo; }
  TGraphInfo& YearGraphInfo() { return *FYearGraphInfo; }
  const TGraphInfo& YearGraphInfo() const { return *FYearGraphInfo; }
  TSpeedGraphInfo& SpeedGraphInfo() { return *FSpeedGraphInfo; }
  const TSpeedGraphInfo& SpeedGraphInfo() const { return *FSpeedGraphInfo; }

  // The record count belongs to the class and never changes after construction.
  int RecordNumber() const { return FRecordNumber; }

  std::vector<std::string> Tani;          // unit per record index
  std::vector<TRecordCalcKind> CalcKind;  // combining rule per record index

 protected:
  explicit TCategoryInfo(int recordNumber);

 private:
  int FIndicationKind = 1;
  bool FIsWindSpeed = false;
  bool FIsWindDirection = false;
  bool FIsWeather = false;
  bool FIsTemperature = false;
  std::unique_ptr<TMapInfo> FMapInfo;
  bool FIsRecordData = true;
  bool FIsTime = false;
  TCategoryType FCategory = ctUserCategory;
  std::unique_ptr<TGraphInfo> FGraphInfo;
  std::unique_ptr<TGraphInfo> FMonthGraphInfo;
  std::unique_ptr<TGraphInfo> FYearGraphInfo;
  std::unique_ptr<TSpeedGraphInfo> FSpeedGraphInfo;
  int FRecordNumber = 2;
};

class TTimeCategoryInfo : public TCategoryInfo {
 public:
  TTimeCategoryInfo() : TTimeCategoryInfo(3) {}

 protected:
  explicit TTimeCategoryInfo(int recordNumber);
};

class TEnergyConsumptionCategoryInfo : public TTimeCategoryInfo {
 public:
  TEnergyConsumptionCategoryInfo() : TEnergyConsumptionCategoryInfo(5) {}
  void Assign(const TCategoryInfo& source) override;
  bool IsWeight() const { return FIsWeight; }
  void SetIsWeight(bool value) { FIsWeight = value; }

 protected:
  explicit TEnergyConsumptionCategoryInfo(int recordNumber);

 private:
  bool FIsWeight = false;
};

class TWalkingCategoryInfo : public TEnergyConsumptionCategoryInfo {
 public:
  TWalkingCategoryInfo() : TEnergyConsumptionCategoryInfo(6) {}
  void Assign(const TCategoryInfo& source) override;
  void SetCategory(TCategoryType value) override;
  bool IsPedometer() const { return FIsPedometer; }
  void SetIsPedometer(bool value) { FIsPedometer = value; }

 private:
  bool FIsPedometer = true;
};

class TSwimmingCategoryInfo : public TEnergyConsumptionCategoryInfo {
 public:
  TSwimmingCategoryInfo();
};

class TVehicleCategoryInfo : public TTimeCategoryInfo {
 public:
  TVehicleCategoryInfo();
};

class TFishingCategoryInfo : public TCategoryInfo {
 public:
  TFishingCategoryInfo();
  void Assign(const TCategoryInfo& source) override;
  bool IsWaterTemperature() const { return FIsWaterTemperature; }
  void SetIsWaterTemperature(bool value) { FIsWaterTemperature = value; }
  bool IsDimension() const { return FIsDimension; }
  void SetIsDimension(bool value) { FIsDimension = value; }

 private:
  bool FIsWaterTemperature = false;
  bool FIsDimension = false;
};

class TBloodPressureCategoryInfo : public TCategoryInfo {
 public:
  TBloodPressureCategoryInfo();
  void Assign(const TCategoryInfo& source) override;
  bool IsPulse() const { return FIsPulse; }
  void SetIsPulse(bool value) { FIsPulse = value; }
  bool IsMinBloodPressure() const { return FIsMinBloodPressure; }
  void SetIsMinBloodPressure(bool value) { FIsMinBloodPressure = value; }

 private:
  bool FIsPulse = false;
  bool FIsMinBloodPressure = false;
};

class TEvaluationCategoryInfo : public TCategoryInfo {
 public:
  TEvaluationCategoryInfo();
  void Assign(const TCategoryInfo& source) override;
  bool IsUrl() const { return FIsUrl; }
  void SetIsUrl(bool value) { FIsUrl = value; }

 private:
  bool FIsUrl = false;
};

class TRestaurantCategoryInfo : public TEvaluationCategoryInfo {
 public:
  TRestaurantCategoryInfo();
};

class TBookCategoryInfo : public TEvaluationCategoryInfo {
 public:
  void Assign(const TCategoryInfo& source) override;
  void SetCategory(TCategoryType value) override;
  bool IsAuthor() const { return FIsAuthor; }
  void SetIsAuthor(bool value) { FIsAuthor = value; }

 private:
  bool FIsAuthor = true;
};

class TWeightCategoryInfo : public TCategoryInfo {
 public:
  TWeightCategoryInfo();
};

class TShoppingCategoryInfo : public TCategoryInfo {
 public:
  TShoppingCategoryInfo();
};

class TCalorieCategoryInfo : public TCategoryInfo {
 public:
  TCalorieCategoryInfo();
};

class TFileCategoryInfo : public TCategoryInfo {
 public:
  TFileCategoryInfo();
};

class TSightseeingCategoryInfo : public TCategoryInfo {
 public:
  TSightseeingCategoryInfo();
};

// A new settings object of the kind's class; its Category is left for the caller to set.
std::unique_ptr<TCategoryInfo> CreateCategoryInfo(TCategoryType category);

// Whether list views show time columns for actions of the category.
bool IsCategoryTimeShown(TCategoryType category, const TCategoryInfo& info);

}  // namespace hakuvo
