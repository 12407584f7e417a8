#pragma once

#include <cstdint>
#include <functional>

#include "core/model/day_data.h"
#include "core/register/register_target.h"

namespace hakuvo {

class TLinkData;

// The links over all actions that have thumbnails or track caches made: pictures, tracks,
// things and persons.
bool IsViewFileSource(const TLinkData& link);
// The links over all actions whose view file can be deleted: picture and track links (with or
// without a view file), things and persons.
bool HasDeletableViewFile(const TLinkData& link);

std::int64_t CountLinks(const TDayDataList& days, const std::function<bool(const TLinkData&)>& test);

// Makes the view file of every picture, thing, person and track link of every action, in diary
// order, through `make`. False when the user stopped it (the links done so far keep theirs).
bool MakeAllViewFiles(const TDayDataList& days, const std::function<void(TLinkData&)>& make,
                      TRegisterProgress* progress = nullptr);
// Deletes the view file of every such link. False when the user stopped it.
bool DeleteAllViewFiles(const TDayDataList& days, TRegisterProgress* progress = nullptr);

}  // namespace hakuvo
