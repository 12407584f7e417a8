// Text pasted from the clipboard as a route: any bytes, any length. Every text ends, and legs
// come only from well-formed parts of it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/datafile/diary.h"
#include "core/register/paste_route.h"

namespace {

bool HasLineBreak(const std::string& text) { return text.find("\r\n") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto legs = hakuvo::ParseRoute(text);
  if (!legs.empty() && text.substr(0, 8) != "\r\n駅探") __builtin_trap();
  for (const hakuvo::TRouteLeg& leg : legs) {
    // Stations and lines are single lines of the text; the times lie on the route's one date.
    if (HasLineBreak(leg.Departure) || HasLineBreak(leg.Arrival) || HasLineBreak(leg.LineInfo)) __builtin_trap();
    if (text.find(leg.Departure) == std::string_view::npos || text.find(leg.Arrival) == std::string_view::npos)
      __builtin_trap();
    if (hakuvo::DateOf(leg.DepartureTime) != hakuvo::DateOf(legs.front().DepartureTime) ||
        hakuvo::DateOf(leg.ArrivalTime) != hakuvo::DateOf(leg.DepartureTime)) {
      __builtin_trap();
    }
  }
  // The same text gives the same legs, and each becomes one outing.
  if (hakuvo::ParseRoute(text).size() != legs.size()) __builtin_trap();
  hakuvo::TDiary diary("");
  const auto acts = hakuvo::AddRouteActs({diary.Days, *diary.Categories, diary.Files}, legs);
  if (acts.size() != legs.size()) __builtin_trap();
  return 0;
}
