#include "core/register/register_target.h"

#include "core/model/category_info.h"

namespace hakuvo {

TDayData& TRegisterTarget::FindOrAddDay(TDateTime date) {
  if (TDayData* day = Days.FindDate(date)) return *day;
  auto fresh = std::make_unique<TDayData>();
  fresh->DateData = date;
  return *Days.Add(std::move(fresh));
}

std::unique_ptr<TActData> TRegisterTarget::NewAct(TCategoryType category) const {
  std::unique_ptr<TActData> act = CreateActData(category);
  if (const TCategoryInfo* info = Categories.GetCategoryItems(category)) {
    std::vector<std::string>& units = act->RecordData->Tani;
    for (std::size_t i = 0; i < units.size() && i < info->Tani.size(); ++i) units[i] = info->Tani[i];
  }
  return act;
}

TActData* FirstRegisteredAct(const TDayData& day) {
  for (const auto& act : day.ActDataList) {
    if (act->TempData > 0) return act.get();
  }
  return nullptr;
}

}  // namespace hakuvo
