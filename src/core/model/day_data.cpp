#include "core/model/day_data.h"

#include <algorithm>

#include "core/model/category_info.h"

namespace hakuvo {

namespace {

template <typename T>
int IndexIn(const std::vector<std::unique_ptr<T>>& items, const T* item) {
  const auto found = std::find_if(items.begin(), items.end(), [&](const auto& p) { return p.get() == item; });
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

template <typename T>
std::unique_ptr<T> TakeFrom(std::vector<std::unique_ptr<T>>& items, const T* item) {
  const int index = IndexIn(items, item);
  if (index < 0) return nullptr;
  auto taken = std::move(items[static_cast<std::size_t>(index)]);
  items.erase(items.begin() + index);
  return taken;
}

}  // namespace

TActData* TActDataList::Add(std::unique_ptr<TActData> act) {
  FItems.push_back(std::move(act));
  return FItems.back().get();
}

int TActDataList::IndexOf(const TActData* act) const { return IndexIn(FItems, act); }

TActData* TActDataList::Insert(int index, std::unique_ptr<TActData> act) {
  return FItems.insert(FItems.begin() + std::clamp(index, 0, Count()), std::move(act))->get();
}

std::unique_ptr<TActData> TActDataList::Remove(const TActData* act) { return TakeFrom(FItems, act); }

void TActDataList::DateSort() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const auto& a, const auto& b) { return a->RecordData->StartTime < b->RecordData->StartTime; });
}

TActData* TDayData::AddAct(std::unique_ptr<TActData> act) {
  act->DayData = this;
  return ActDataList.Add(std::move(act));
}

void TDayData::Delete() {
  for (const auto& act : ActDataList) act->Delete();
}

std::string TDayData::DateStr() const { return DateData < 0 ? std::string() : DateToStr(DateData); }

void TDayData::CalcOneDayCategoryData(TCategoryType category, const std::string& userCategory, Extended& total,
                                      Extended& data, const TCategoryInfo& info, int recordKind) const {
  data = 0;
  total = 0;
  const int index = recordKind != -1 ? recordKind : info.IndicationKind();
  const TRecordCalcKind rule = index >= 0 && static_cast<std::size_t>(index) < info.CalcKind.size()
                                   ? info.CalcKind[static_cast<std::size_t>(index)]
                                   : ckTotal;
  for (const auto& act : ActDataList) {
    if (act->Category != category) continue;
    if (category == ctUserCategory && act->UserCategory != userCategory) continue;
    const TRecordData& record = *act->RecordData;
    const Extended value = record.ViewDataAt(recordKind != -1 ? recordKind : record.IndicationKind);
    switch (rule) {
      case ckWeightedAverage:
        data += value * record.Data();
        total += record.Data();
        break;
      case ckAverage:
        data += value;
        total += 1;
        break;
      case ckTotal:
        data += value;
        break;
    }
  }
}

Extended TDayData::GetCategoryData(TCategoryType category, const std::string& userCategory, const TCategoryInfo& info,
                                   int recordKind) const {
  Extended total = 0, data = 0;
  CalcOneDayCategoryData(category, userCategory, total, data, info, recordKind);
  return total > 0 ? data / total : data;
}

TDayData* TDayDataList::Add(std::unique_ptr<TDayData> day) {
  FItems.push_back(std::move(day));
  return FItems.back().get();
}

int TDayDataList::IndexOf(const TDayData* day) const { return IndexIn(FItems, day); }

TDayData* TDayDataList::Insert(int index, std::unique_ptr<TDayData> day) {
  return FItems.insert(FItems.begin() + std::clamp(index, 0, Count()), std::move(day))->get();
}

std::unique_ptr<TDayData> TDayDataList::Remove(const TDayData* day) { return TakeFrom(FItems, day); }

TDayData* TDayDataList::FindDate(TDateTime date) const {
  for (const auto& day : FItems) {
    if (day->DateData == date) return day.get();
  }
  return nullptr;
}

TDayData* TDayDataList::FindMonth(TDateTime date) const {
  const TDateParts wanted = DecodeDate(date);
  for (const auto& day : FItems) {
    const TDateParts parts = DecodeDate(day->DateData);
    if (parts.Year == wanted.Year && parts.Month == wanted.Month) return day.get();
  }
  return nullptr;
}

TDayData* TDayDataList::FindYear(TDateTime date) const {
  const int wanted = YearOf(date);
  for (const auto& day : FItems) {
    if (YearOf(day->DateData) == wanted) return day.get();
  }
  return nullptr;
}

void TDayDataList::DateSort() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const auto& a, const auto& b) { return a->DateData < b->DateData; });
}

void TDayDataList::SetCategoryInfo(const TCategoryInfo& info) {
  const bool copyUnits = !IsUserCategory(info.Category());
  for (const auto& day : FItems) {
    for (const auto& act : day->ActDataList) {
      if (act->Category != info.Category()) continue;
      TRecordData& record = *act->RecordData;
      record.IndicationKind = info.IndicationKind();
      if (!copyUnits) continue;
      for (std::size_t i = 0; i < record.Tani.size() && i < info.Tani.size(); ++i) record.Tani[i] = info.Tani[i];
    }
  }
}

}  // namespace hakuvo
