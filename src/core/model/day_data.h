#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/common/text_util.h"
#include "core/model/act_data.h"

namespace hakuvo {

class TCategoryInfo;

// The actions of one day. The day that holds the list owns the actions through it.
class TActDataList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TActData* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)).get(); }
  TActData* operator[](int index) const { return Items(index); }
  TActData* Add(std::unique_ptr<TActData> act);
  int IndexOf(const TActData* act) const;
  TActData* Insert(int index, std::unique_ptr<TActData> act);
  // Takes the action out of the list and hands it to the caller.
  std::unique_ptr<TActData> Remove(const TActData* act);
  void Clear() { FItems.clear(); }
  // Ascending by start time.
  void DateSort();

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<std::unique_ptr<TActData>> FItems;
};

class TDayData {
 public:
  // Adds an action to the day and makes the day its owner.
  TActData* AddAct(std::unique_ptr<TActData> act);
  // Deletes the thumbnail files of every action's links; called before the day is removed.
  void Delete();
  // Empty for a negative date, otherwise yyyy/mm/dd.
  std::string DateStr() const;

  // Combines the values of the day's actions of one category by the category's rules:
  // `data` collects, `total` is the divisor (0 for a plain sum). recordKind -1 means the index
  // the category shows.
  void CalcOneDayCategoryData(TCategoryType category, const std::string& userCategory, Extended& total, Extended& data,
                              const TCategoryInfo& info, int recordKind = -1) const;
  Extended GetCategoryData(TCategoryType category, const std::string& userCategory, const TCategoryInfo& info,
                           int recordKind = -1) const;

  TDateTime DateData = 0;
  std::string Weather;
  TStringList Memo;
  TActDataList ActDataList;
};

// The diary: days in ascending date order, at most one per date. The list owns the days.
class TDayDataList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TDayData* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)).get(); }
  TDayData* operator[](int index) const { return Items(index); }
  TDayData* Add(std::unique_ptr<TDayData> day);
  int IndexOf(const TDayData* day) const;
  TDayData* Insert(int index, std::unique_ptr<TDayData> day);
  std::unique_ptr<TDayData> Remove(const TDayData* day);
  void Clear() { FItems.clear(); }

  TDayData* FindDate(TDateTime date) const;
  TDayData* FindMonth(TDateTime date) const;
  TDayData* FindYear(TDateTime date) const;
  void DateSort();
  // Pushes a category's shown index and units to its stored actions.
  void SetCategoryInfo(const TCategoryInfo& info);

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<std::unique_ptr<TDayData>> FItems;
};

}  // namespace hakuvo
