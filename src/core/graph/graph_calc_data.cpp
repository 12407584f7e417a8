#include "core/graph/graph_calc_data.h"

#include <algorithm>

#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

const std::string kNoUserCategory;

}  // namespace

void TGraphCalcData::SetCategory(const std::string& name) {
  FCategory = name;
  FCategoryType = CategoryTypeFromName(name);
}

const TCategoryInfo& TGraphCalcData::Info() const {
  const TCategoryInfo* info =
      FCategoryInfoList != nullptr ? FCategoryInfoList->GetCategoryItems(FCategoryType) : nullptr;
  if (info == nullptr)
    throw EHakuvoError("カテゴリーの設定がありません: " + FCategory, "no settings for the category " + FCategory);
  return *info;
}

const std::string& TGraphCalcData::UserCategoryName() const {
  return FCategoryType == ctUserCategory ? FCategory : kNoUserCategory;
}

void TGraphCalcData::Calc() {
  CountData();
  TimeArray.assign(static_cast<std::size_t>(FDataCount), 0);
  DataArray.assign(static_cast<std::size_t>(FDataCount), 0);
}

void TGraphCalcDayData::CountData() {
  FDataCount = 0;
  FDayValues.clear();
  if (!HasDays()) return;
  const TCategoryInfo& info = Info();
  FDayValues.reserve(static_cast<std::size_t>(FDayDataList->Count()));
  for (const auto& day : *FDayDataList) {
    FDayValues.push_back(day->GetCategoryData(FCategoryType, UserCategoryName(), info, FRecordKind));
    if (FDayValues.back() != 0) ++FDataCount;
  }
}

void TGraphCalcDayData::Calc() {
  TGraphCalcData::Calc();
  std::size_t entry = 0;
  for (std::size_t i = 0; i < FDayValues.size(); ++i) {
    if (FDayValues[i] == 0) continue;
    TimeArray[entry] = (*FDayDataList)[static_cast<int>(i)]->DateData;
    DataArray[entry] = FDayValues[i];
    ++entry;
  }
}

void TGraphCalcPeriodData::CountData() {
  FDataCount = 0;
  if (!HasDays()) return;
  // The range runs from the earliest to the latest day, so a list out of order can never put a
  // day outside the entries.
  int first = PeriodIndex((*FDayDataList)[0]->DateData);
  int last = first;
  for (const auto& day : *FDayDataList) {
    const int period = PeriodIndex(day->DateData);
    first = std::min(first, period);
    last = std::max(last, period);
  }
  FFirstPeriod = first;
  FDataCount = last - first + 1;
}

void TGraphCalcPeriodData::Calc() {
  TGraphCalcData::Calc();
  TotalDataArray.assign(static_cast<std::size_t>(FDataCount), 0);
  if (FDataCount == 0) return;
  for (int i = 0; i < FDataCount; ++i) TimeArray[static_cast<std::size_t>(i)] = PeriodStart(FFirstPeriod + i);
  const TCategoryInfo& info = Info();
  for (const auto& day : *FDayDataList) {
    const auto entry = static_cast<std::size_t>(PeriodIndex(day->DateData) - FFirstPeriod);
    Extended total = 0, data = 0;
    day->CalcOneDayCategoryData(FCategoryType, UserCategoryName(), total, data, info, FRecordKind);
    DataArray[entry] += data;
    TotalDataArray[entry] += total;
  }
  for (std::size_t i = 0; i < DataArray.size(); ++i) {
    if (TotalDataArray[i] > 0) DataArray[i] /= TotalDataArray[i];
  }
}

int TGraphCalcMonthData::PeriodIndex(TDateTime date) const {
  const TDateParts parts = DecodeDate(date);
  return parts.Year * 12 + (parts.Month - 1);
}

TDateTime TGraphCalcMonthData::PeriodStart(int period) const { return EncodeDate(period / 12, period % 12 + 1, 1); }

int TGraphCalcYearData::PeriodIndex(TDateTime date) const { return YearOf(date); }

TDateTime TGraphCalcYearData::PeriodStart(int period) const { return EncodeDate(period, 1, 1); }

bool TGraphCalcActData::Matches(const TActData& act) const {
  return act.Category == FCategoryType && (FCategoryType != ctUserCategory || act.UserCategory == FCategory);
}

void TGraphCalcActData::CountData() {
  FDataCount = 0;
  if (FDayDataList == nullptr) return;
  for (const auto& day : *FDayDataList) {
    for (const auto& act : day->ActDataList) {
      if (Matches(*act)) ++FDataCount;
    }
  }
}

void TGraphCalcActData::Calc() {
  TGraphCalcData::Calc();
  TitleArray.assign(static_cast<std::size_t>(FDataCount), std::string());
  SpeedArray.assign(static_cast<std::size_t>(FDataCount), 0);
  ActArray.assign(static_cast<std::size_t>(FDataCount), nullptr);
  if (FDataCount == 0) return;
  std::size_t entry = 0;
  for (const auto& day : *FDayDataList) {
    for (const auto& act : day->ActDataList) {
      if (!Matches(*act)) continue;
      const TRecordData& record = *act->RecordData;
      TimeArray[entry] = day->DateData;
      TitleArray[entry] = act->Title.empty() ? MonthDayStr(day->DateData) : act->Title;
      DataArray[entry] = record.ViewDataAt(FRecordKind != -1 ? FRecordKind : record.IndicationKind);
      SpeedArray[entry] = record.ViewDataAt(rkSpeed);
      ActArray[entry] = act.get();
      ++entry;
    }
  }
}

}  // namespace hakuvo
