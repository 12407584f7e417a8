#include "core/model/act_data.h"

#include "core/common/number_format.h"
#include "core/model/category_info.h"

namespace hakuvo {

namespace {

const char* const kLineEnd = "\r\n";

}  // namespace

const std::array<std::string, 16>& WindDirectionNames() {
  static const std::array<std::string, 16> names = {"北", "北北東", "北東", "東北東", "東", "東南東", "南東", "南南東",
                                                    "南", "南南西", "南西", "西南西", "西", "西北西", "北西", "北北西"};
  return names;
}

TActData::TActData(TCategoryType category, std::unique_ptr<TRecordData> record)
    : Category(category), RecordData(std::move(record)) {}

bool TActData::Contains(const std::string& text, const std::string& keyword) {
  return text.find(keyword) != std::string::npos;
}

void TActData::Assign(const TActData& source) {
  if (&source == this) return;
  Category = source.Category;
  UserCategory = source.UserCategory;
  Title = source.Title;
  Tag = source.Tag;
  Memo = source.Memo;
  Weather = source.Weather;
  Temperature = source.Temperature;
  WindDirection = source.WindDirection;
  WindSpeed = source.WindSpeed;
  Place.Assign(source.Place);
  RecordData->Assign(*source.RecordData);
  LinkDataList.CopyList(source.LinkDataList);
  CameraClockOffset = source.CameraClockOffset;
}

std::string TActData::GetRecordHint(const TCategoryInfo& info) const { return RecordData->GetHint(info); }

std::string TActData::GetHint(const TCategoryInfo& info) const {
  std::string hint;
  if (!Title.empty()) hint += Title + kLineEnd;
  if (!Place.Title.empty()) hint += Place.Title + kLineEnd;
  hint += GetRecordHint(info);
  if (info.IsWeather() && !Weather.empty()) hint += Weather + kLineEnd;
  if (info.IsTemperature()) hint += "気温： " + FormatGeneral(Temperature) + " ℃" + kLineEnd;
  if (info.IsWindDirection() && WindDirection >= 0 && WindDirection < 16) {
    hint += "風向： " + WindDirectionNames()[static_cast<std::size_t>(WindDirection)] + kLineEnd;
  }
  if (info.IsWindSpeed()) hint += "風速： " + FormatGeneral(WindSpeed) + " m/s" + kLineEnd;
  hint += StringsText(Memo);
  return hint;
}

bool TActData::Find(const std::string& keyword) const {
  if (keyword.empty()) return false;
  if (Contains(CategoryNames()[Category], keyword)) return true;
  if (Category == ctUserCategory && Contains(UserCategory, keyword)) return true;
  if (Contains(Title, keyword) || Contains(Tag, keyword)) return true;
  std::string memo;
  for (const auto& line : Memo) memo += line;
  if (Contains(memo, keyword)) return true;
  return Contains(Weather, keyword) || Contains(Place.Title, keyword) || Contains(Place.Address, keyword);
}

void TActData::Delete() {
  for (TLinkData* link : LinkDataList) {
    if (auto* view = dynamic_cast<TViewFileLink*>(link)) {
      view->DeleteViewFile();
    } else if (auto* thing = dynamic_cast<TThingLink*>(link)) {
      thing->DeleteViewFile();
    }
  }
}

void TFishingAct::Assign(const TActData& source) {
  TQuantityAct::Assign(source);
  if (const auto* fishing = dynamic_cast<const TFishingAct*>(&source)) FishSpecies = fishing->FishSpecies;
}

bool TFishingAct::Find(const std::string& keyword) const {
  return TQuantityAct::Find(keyword) || (!keyword.empty() && Contains(FishSpecies, keyword));
}

void TTimePlaceAct::Assign(const TActData& source) {
  TTimeAct::Assign(source);
  if (const auto* timePlace = dynamic_cast<const TTimePlaceAct*>(&source)) {
    DeparturePlace = timePlace->DeparturePlace;
    ArrivalPlace = timePlace->ArrivalPlace;
  }
}

bool TTimePlaceAct::Find(const std::string& keyword) const {
  return TTimeAct::Find(keyword) ||
         (!keyword.empty() && (Contains(DeparturePlace, keyword) || Contains(ArrivalPlace, keyword)));
}

std::string TTimePlaceAct::GetRecordHint(const TCategoryInfo& info) const {
  const TTimeRecord& record = TimeRecord();
  std::string hint;
  if (info.IsTime()) {
    hint += record.TimeStr() + " " + DeparturePlace + kLineEnd;
    hint += record.EndTimeStr() + " " + ArrivalPlace + kLineEnd;
  }
  if (info.IsRecordData()) {
    hint += record.ViewTitle() + "： " + record.ViewDataStr() + " " + record.ViewTani() + kLineEnd;
  }
  return hint;
}

void TEvaluationAct::Assign(const TActData& source) {
  TActData::Assign(source);
  if (const auto* evaluation = dynamic_cast<const TEvaluationAct*>(&source)) Url = evaluation->Url;
}

bool TEvaluationAct::Find(const std::string& keyword) const {
  return TActData::Find(keyword) || (!keyword.empty() && Contains(Url, keyword));
}

void TBookAct::Assign(const TActData& source) {
  TEvaluationAct::Assign(source);
  if (const auto* book = dynamic_cast<const TBookAct*>(&source)) Author = book->Author;
}

bool TBookAct::Find(const std::string& keyword) const {
  return TEvaluationAct::Find(keyword) || (!keyword.empty() && Contains(Author, keyword));
}

std::unique_ptr<TActData> CreateActData(TCategoryType category) {
  switch (category) {
    case ctJogging:
      return std::make_unique<TJoggingAct>();
    case ctWalking:
      return std::make_unique<TWalkingAct>();
    case ctSwimming:
      return std::make_unique<TSwimmingAct>();
    case ctBicycle:
      return std::make_unique<TBicycleAct>();
    case ctFishing:
      return std::make_unique<TFishingAct>();
    case ctShopping:
      return std::make_unique<TShoppingAct>();
    case ctWeight:
      return std::make_unique<TWeightAct>();
    case ctFile:
      return std::make_unique<TFileAct>();
    case ctCalorie:
      return std::make_unique<TCalorieAct>();
    case ctVehicle:
      return std::make_unique<TVehicleAct>();
    case ctHotel:
      return std::make_unique<THotelAct>();
    case ctSightseeing:
      return std::make_unique<TSightseeingAct>();
    case ctRestaurant:
      return std::make_unique<TRestaurantAct>();
    case ctSweets:
      return std::make_unique<TSweetsAct>();
    case ctBook:
      return std::make_unique<TBookAct>();
    case ctBloodPressure:
      return std::make_unique<TBloodPressureAct>();
    case ctUserCategory:
      break;
  }
  return std::make_unique<TActData>();
}

std::unique_ptr<TActData> CloneActData(const TActData& source) {
  auto copy = CreateActData(source.Category);
  copy->Assign(source);
  return copy;
}

bool IsFileCountAct(const TActData& act) {
  return dynamic_cast<const TFileAct*>(&act) != nullptr || dynamic_cast<const TSightseeingAct*>(&act) != nullptr;
}

}  // namespace hakuvo
