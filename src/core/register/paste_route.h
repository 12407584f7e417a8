#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/date_time.h"
#include "core/model/act_data.h"
#include "core/register/register_target.h"

namespace hakuvo {

// One ride of a route: from a station to the next change (or the end), on one line.
struct TRouteLeg {
  std::string Departure;
  std::string Arrival;
  std::string LineInfo;
  TDateTime DepartureTime = 0;  // the route's date plus the time of day
  TDateTime ArrivalTime = 0;
};

// The legs of a route as a route-search page copies its result (UTF-8 text that begins with
// CR LF "駅探"). A text that does not begin so gives none; a text that breaks off gives the legs
// complete before the break. Any text ends: every step moves forward.
std::vector<TRouteLeg> ParseRoute(std::string_view text);

// Adds one vehicle action per leg to the day of its departure (made when missing) and returns
// them in order. The days are not sorted.
std::vector<TActData*> AddRouteActs(TRegisterTarget target, const std::vector<TRouteLeg>& legs);

}  // namespace hakuvo
