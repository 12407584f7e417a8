#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/common/extended.h"
#include "core/common/text_util.h"
#include "core/model/category_type.h"
#include "core/model/link_data.h"
#include "core/model/place.h"
#include "core/model/record_data.h"

namespace hakuvo {

class TCategoryInfo;
class TDayData;

// The sixteen compass points, from north clockwise; an action stores the index (-1: none).
const std::array<std::string, 16>& WindDirectionNames();

// One thing the user did on a day.
class TActData {
 public:
  TActData() : TActData(ctUserCategory, std::make_unique<TRecordData>()) {}
  virtual ~TActData() = default;
  TActData(const TActData&) = delete;
  TActData& operator=(const TActData&) = delete;

  // Copies everything the user edits; the links are shared, not copied. DayData and TempData stay.
  virtual void Assign(const TActData& source);
  // The tool-tip text of the action, lines ending with CR LF.
  virtual std::string GetHint(const TCategoryInfo& info) const;
  virtual std::string GetRecordHint(const TCategoryInfo& info) const;
  // Case-sensitive search of the action's texts; an empty keyword matches nothing.
  virtual bool Find(const std::string& keyword) const;
  // Deletes the thumbnail files of the action's links (shared things and persons included: they
  // are made again when needed). Called before the action is removed.
  void Delete();

  std::string CategoryStr() const { return CategoryDisplayName(Category, UserCategory); }

  TCategoryType Category = ctUserCategory;
  std::string UserCategory;
  std::string Title;
  std::string Tag;
  TStringList Memo;
  std::string Weather;
  Extended Temperature = 0;
  std::int8_t WindDirection = -1;
  Extended WindSpeed = 0;
  TPlace Place;
  std::unique_ptr<TRecordData> RecordData;
  TLinkDataList LinkDataList;
  // Seconds to add to the camera's clock to read the track's clock, for placing this outing's
  // photographs on its track; 0 for a camera set right.
  Extended CameraClockOffset = 0;
  TDayData* DayData = nullptr;
  int TempData = 0;

 protected:
  TActData(TCategoryType category, std::unique_ptr<TRecordData> record);
  static bool Contains(const std::string& text, const std::string& keyword);
};

class TQuantityAct : public TActData {
 public:
  TQuantityAct() : TActData(ctUserCategory, std::make_unique<TRecordData>()) {}

 protected:
  using TActData::TActData;
};

class TShoppingAct : public TQuantityAct {
 public:
  TShoppingAct() : TQuantityAct(ctShopping, std::make_unique<TRecordData>()) {}
};

class TWeightAct : public TQuantityAct {
 public:
  TWeightAct() : TQuantityAct(ctWeight, std::make_unique<TRecordData>()) {}
};

class TFileAct : public TQuantityAct {
 public:
  TFileAct() : TQuantityAct(ctFile, std::make_unique<TRecordData>()) {}
};

class TCalorieAct : public TQuantityAct {
 public:
  TCalorieAct() : TQuantityAct(ctCalorie, std::make_unique<TRecordData>()) {}
};

class TFishingAct : public TQuantityAct {
 public:
  TFishingAct() : TQuantityAct(ctFishing, std::make_unique<TFishingRecord>()) {}
  void Assign(const TActData& source) override;
  bool Find(const std::string& keyword) const override;

  std::string FishSpecies;
};

class TBloodPressureAct : public TQuantityAct {
 public:
  TBloodPressureAct() : TQuantityAct(ctBloodPressure, std::make_unique<TBloodPressureRecord>()) {}
};

class TTimeAct : public TActData {
 public:
  TTimeAct() : TActData(ctUserCategory, std::make_unique<TTimeRecord>()) {}
  TTimeRecord& TimeRecord() const { return static_cast<TTimeRecord&>(*RecordData); }

 protected:
  using TActData::TActData;
};

class TEnergyConsumptionAct : public TTimeAct {
 public:
  TEnergyConsumptionAct() : TTimeAct(ctUserCategory, std::make_unique<TEnergyConsumptionRecord>()) {}
  TEnergyConsumptionRecord& EnergyRecord() const { return static_cast<TEnergyConsumptionRecord&>(*RecordData); }

 protected:
  using TTimeAct::TTimeAct;
};

class TJoggingAct : public TEnergyConsumptionAct {
 public:
  TJoggingAct() : TEnergyConsumptionAct(ctJogging, std::make_unique<TJoggingRecord>()) {}
};

class TBicycleAct : public TEnergyConsumptionAct {
 public:
  TBicycleAct() : TEnergyConsumptionAct(ctBicycle, std::make_unique<TBicycleRecord>()) {}
};

class TWalkingAct : public TTimeAct {
 public:
  TWalkingAct() : TTimeAct(ctWalking, std::make_unique<TWalkingRecord>()) {}
};

class TSwimmingAct : public TTimeAct {
 public:
  TSwimmingAct() : TTimeAct(ctSwimming, std::make_unique<TSwimmingRecord>()) {}
};

class TTimePlaceAct : public TTimeAct {
 public:
  TTimePlaceAct() : TTimeAct(ctUserCategory, std::make_unique<TTimeRecord>()) {}
  void Assign(const TActData& source) override;
  bool Find(const std::string& keyword) const override;
  std::string GetRecordHint(const TCategoryInfo& info) const override;

  std::string DeparturePlace;
  std::string ArrivalPlace;

 protected:
  using TTimeAct::TTimeAct;
};

class TVehicleAct : public TTimePlaceAct {
 public:
  TVehicleAct() : TTimePlaceAct(ctVehicle, std::make_unique<TTimeRecord>()) {}
};

class TEvaluationAct : public TActData {
 public:
  TEvaluationAct() : TActData(ctUserCategory, std::make_unique<TRecordData>()) {}
  void Assign(const TActData& source) override;
  bool Find(const std::string& keyword) const override;

  std::string Url;

 protected:
  using TActData::TActData;
};

class THotelAct : public TEvaluationAct {
 public:
  THotelAct() : TEvaluationAct(ctHotel, std::make_unique<TRecordData>()) {}
};

class TRestaurantAct : public TEvaluationAct {
 public:
  TRestaurantAct() : TEvaluationAct(ctRestaurant, std::make_unique<TRecordData>()) {}
};

class TSweetsAct : public TEvaluationAct {
 public:
  TSweetsAct() : TEvaluationAct(ctSweets, std::make_unique<TRecordData>()) {}
};

class TBookAct : public TEvaluationAct {
 public:
  TBookAct() : TEvaluationAct(ctBook, std::make_unique<TRecordData>()) {}
  void Assign(const TActData& source) override;
  bool Find(const std::string& keyword) const override;

  std::string Author;
};

class TSightseeingAct : public TActData {
 public:
  TSightseeingAct() : TActData(ctSightseeing, std::make_unique<TRecordData>()) {}
};

// A new action of the class of the kind; any ordinal outside 1..16 gives a plain TActData.
std::unique_ptr<TActData> CreateActData(TCategoryType category);
// A new action of the same class with the same contents (links shared), for editing on a copy.
std::unique_ptr<TActData> CloneActData(const TActData& source);
// Actions whose main value counts their linked files.
bool IsFileCountAct(const TActData& act);

}  // namespace hakuvo
