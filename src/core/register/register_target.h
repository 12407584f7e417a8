#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/common/date_time.h"
#include "core/model/act_data.h"
#include "core/model/category_info_list.h"
#include "core/model/day_data.h"
#include "core/model/link_data.h"

namespace hakuvo {

// The parts of a diary that bringing files and routes in touches: the days, the category settings
// (for the units of new actions) and the diary-wide file list that owns every file link. The
// desktop program's document and the command line's TDiary both hand theirs over.
struct TRegisterTarget {
  TDayDataList& Days;
  const TCategoryInfoList& Categories;
  TLinkDataOwner& Files;

  // The day of a whole-day date, made and appended when the diary has none (the caller sorts).
  TDayData& FindOrAddDay(TDateTime date);
  // A new action of the category with the category's units, not yet in any day.
  std::unique_ptr<TActData> NewAct(TCategoryType category) const;
};

// How a long loop over files reports where it is and learns that the user asked to stop. The
// desktop program shows it in its progress dialog; the command line ignores it.
class TRegisterProgress {
 public:
  virtual ~TRegisterProgress() = default;
  // The number of items the loop is about to handle.
  virtual void Start(std::int64_t max) { (void)max; }
  // The item `position` (counted from 0) named `fileName` is handled. Answers true to go on.
  virtual bool Step(std::int64_t position, const std::string& fileName) {
    (void)position;
    (void)fileName;
    return true;
  }
};

// The first action of the day made by a file drop or a registration during this run, or none.
TActData* FirstRegisteredAct(const TDayData& day);

}  // namespace hakuvo
