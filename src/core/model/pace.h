#pragma once

#include <optional>
#include <string>

#include "core/common/extended.h"
#include "core/model/category_type.h"

namespace hakuvo {

class TActData;

// Runners and walkers read their outings as minutes per kilometre; cyclists read speed. The one
// place that says which outings have a pace and how it is written, for the list, the record
// dialog, the speed graph and the command line alike.

inline constexpr const char* PaceCaption = "ペース(分/km)";
// Above 99:59 a pace says nothing a runner could use (a stop with the watch running), and the
// text would no longer fit the m:ss form.
inline constexpr double MaxPaceSeconds = 99 * 60 + 59;

bool HasPace(TCategoryType category);

// Seconds per kilometre; nothing for no distance, no duration, or a pace beyond 99:59.
std::optional<double> PaceSeconds(Extended distanceKm, Extended durationSeconds);
// The same from a speed in km/h (the speed graph's points).
std::optional<double> PaceSecondsFromSpeed(Extended speedKmh);

// "m:ss", the seconds rounded to the nearest; empty for nothing, and for a pace that rounds past
// 99:59.
std::string FormatPace(std::optional<double> seconds);

// The pace text of an outing's record: empty for categories without a pace and records without a
// distance or duration.
std::string ActPaceText(const TActData& act);

}  // namespace hakuvo
