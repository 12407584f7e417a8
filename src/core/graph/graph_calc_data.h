#pragma once

#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/model/category_info_list.h"
#include "core/model/day_data.h"

namespace hakuvo {

// Turns the diary's days into a series of (date, value) for one category and one record index.
// The graph window owns one and calls Calc again whenever the diary changes.
class TGraphCalcData {
 public:
  virtual ~TGraphCalcData() = default;

  void SetDayDataList(const TDayDataList* days) { FDayDataList = days; }
  void SetCategoryInfoList(const TCategoryInfoList* infos) { FCategoryInfoList = infos; }
  // The category's display name; a name that is not a built-in one is a user category.
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& name);
  TCategoryType CategoryType() const { return FCategoryType; }
  // The record index to read; -1 reads each record's own shown index.
  int RecordKind() const { return FRecordKind; }
  void SetRecordKind(int kind) { FRecordKind = kind; }

  virtual void Calc();

  int DataCount() const { return FDataCount; }
  TDateTime GetTime(int index) const { return TimeArray.at(static_cast<std::size_t>(index)); }
  Extended GetData(int index) const { return DataArray.at(static_cast<std::size_t>(index)); }

  std::vector<TDateTime> TimeArray;
  std::vector<Extended> DataArray;

 protected:
  virtual void CountData() = 0;
  // The category's settings; throws when the list lacks the kind.
  const TCategoryInfo& Info() const;
  // The user category name the actions must carry (empty for built-in kinds).
  const std::string& UserCategoryName() const;
  bool HasDays() const { return FDayDataList != nullptr && FDayDataList->Count() > 0; }

  const TDayDataList* FDayDataList = nullptr;
  const TCategoryInfoList* FCategoryInfoList = nullptr;
  std::string FCategory;
  TCategoryType FCategoryType = ctUserCategory;
  int FRecordKind = -1;
  int FDataCount = 0;
};

// One entry per day with a non-zero value.
class TGraphCalcDayData : public TGraphCalcData {
 public:
  void Calc() override;

 protected:
  void CountData() override;

 private:
  std::vector<Extended> FDayValues;  // each day's value, computed once per Calc
};

// One entry per calendar period (month or year) from the first day's period to the last's,
// empty periods included with the value 0.
class TGraphCalcPeriodData : public TGraphCalcData {
 public:
  void Calc() override;

  std::vector<Extended> TotalDataArray;

 protected:
  void CountData() override;
  // The period of a date as a running number, and the first day of a running number.
  virtual int PeriodIndex(TDateTime date) const = 0;
  virtual TDateTime PeriodStart(int period) const = 0;

 private:
  int FFirstPeriod = 0;
};

class TGraphCalcMonthData : public TGraphCalcPeriodData {
 protected:
  int PeriodIndex(TDateTime date) const override;
  TDateTime PeriodStart(int period) const override;
};

class TGraphCalcYearData : public TGraphCalcPeriodData {
 protected:
  int PeriodIndex(TDateTime date) const override;
  TDateTime PeriodStart(int period) const override;
};

// One entry per matching action, with its title and its speed.
class TGraphCalcActData : public TGraphCalcData {
 public:
  void Calc() override;

  std::string GetTitle(int index) const { return TitleArray.at(static_cast<std::size_t>(index)); }
  Extended GetSpeed(int index) const { return SpeedArray.at(static_cast<std::size_t>(index)); }

  std::vector<std::string> TitleArray;
  std::vector<Extended> SpeedArray;
  // The outing of each entry: a click on a point names the outing, not its place among the
  // category's outings, which is not its row once the diary holds other categories.
  std::vector<const TActData*> ActArray;

 protected:
  void CountData() override;
  bool Matches(const TActData& act) const;
};

}  // namespace hakuvo
