#include "core/register/paste_route.h"

#include <optional>

#include "core/common/number_format.h"
#include "core/common/text_util.h"
#include "core/common/utf16.h"
#include "core/model/category_info.h"

namespace hakuvo {

namespace {

// A cursor that only moves forward over the text, in UTF-16 units as the page's text counts them.
class TRouteCursor {
 public:
  explicit TRouteCursor(std::u16string text) : FText(std::move(text)) {}

  std::u16string_view Rest() const { return std::u16string_view(FText).substr(FPos); }
  bool StartsWith(std::u16string_view mark) const { return Rest().substr(0, mark.size()) == mark; }

  // Moves to `offset` units after the start of the next `mark`; false when there is none.
  bool CutAt(std::u16string_view mark, std::size_t offset) {
    const std::size_t found = Rest().find(mark);
    if (found == std::u16string_view::npos) return false;
    return Skip(found + offset);
  }
  bool CutAfter(std::u16string_view mark) { return CutAt(mark, mark.size()); }
  bool Skip(std::size_t count) {
    if (count > Rest().size()) return false;
    FPos += count;
    return true;
  }
  // The text up to the next `mark` (the cursor stays); none when the mark is missing.
  std::optional<std::u16string> Before(std::u16string_view mark) const {
    const std::size_t found = Rest().find(mark);
    if (found == std::u16string_view::npos) return std::nullopt;
    return std::u16string(Rest().substr(0, found));
  }

 private:
  std::u16string FText;
  std::size_t FPos = 0;
};

const std::u16string_view kLineEnd = u"\r\n";
const std::u16string_view kBar = u"｜\u3000";
const std::u16string_view kLineBar = u"｜\u3000\u3000\u3000\u3000";

std::optional<int> ReadNumber(const std::u16string& text) {
  int value = 0;
  if (!TryParseInt(Trim(Utf16ToUtf8(text)), value)) return std::nullopt;
  return value;
}

std::optional<TDateTime> ReadTime(const std::u16string& text) {
  TDateTime value = 0;
  if (!TryStrToTime(Trim(Utf16ToUtf8(text)), value)) return std::nullopt;
  return value;
}

struct TLegTimes {
  TDateTime Departure = 0;
  std::string LineInfo;
  TDateTime Arrival = 0;
};

// The departure time, the line and the arrival time of the next ride.
std::optional<TLegTimes> ReadRide(TRouteCursor& cursor) {
  TLegTimes ride;
  if (!cursor.CutAt(kBar, 3)) return std::nullopt;
  const auto departure = cursor.Before(u"発");
  if (!departure) return std::nullopt;
  const auto departureTime = ReadTime(*departure);
  if (!departureTime) return std::nullopt;
  ride.Departure = *departureTime;
  if (!cursor.CutAfter(kLineBar)) return std::nullopt;
  const auto line = cursor.Before(kLineEnd);
  if (!line) return std::nullopt;
  ride.LineInfo = Utf16ToUtf8(*line);
  if (!cursor.CutAt(kBar, 3)) return std::nullopt;
  const auto arrival = cursor.Before(u"着");
  if (!arrival) return std::nullopt;
  const auto arrivalTime = ReadTime(*arrival);
  if (!arrivalTime) return std::nullopt;
  ride.Arrival = *arrivalTime;
  if (!cursor.CutAt(u"着", 3)) return std::nullopt;
  return ride;
}

}  // namespace

std::vector<TRouteLeg> ParseRoute(std::string_view text) {
  std::vector<TRouteLeg> legs;
  if (!IsValidUtf8(text)) return legs;
  TRouteCursor cursor(Utf8ToUtf16(text));
  if (!cursor.StartsWith(u"\r\n駅探")) return legs;

  if (!cursor.CutAt(u"検索条件", 5)) return legs;
  const auto year = cursor.Before(u"年");
  if (!year || !cursor.CutAfter(u"年")) return legs;
  const auto month = cursor.Before(u"月");
  if (!month || !cursor.CutAfter(u"月")) return legs;
  const auto day = cursor.Before(u"日");
  if (!day || !cursor.CutAfter(u"日")) return legs;
  const auto y = ReadNumber(*year);
  const auto m = ReadNumber(*month);
  const auto d = ReadNumber(*day);
  TDateTime date = 0;
  if (!y || !m || !d || !TryEncodeDate(*y, *m, *d, date)) return legs;

  if (!cursor.CutAfter(u"●")) return legs;
  auto station = cursor.Before(kLineEnd);
  if (!station) return legs;
  std::string departure = Utf16ToUtf8(*station);
  auto ride = ReadRide(cursor);
  if (!ride) return legs;

  while (cursor.StartsWith(u"○")) {
    cursor.Skip(1);
    station = cursor.Before(kLineEnd);
    if (!station) return legs;
    std::string arrival = Utf16ToUtf8(*station);
    legs.push_back({departure, arrival, ride->LineInfo, date + ride->Departure, date + ride->Arrival});
    departure = std::move(arrival);
    ride = ReadRide(cursor);
    if (!ride) return legs;
  }
  if (!cursor.Skip(1)) return legs;
  station = cursor.Before(kLineEnd);
  if (!station) return legs;
  legs.push_back({departure, Utf16ToUtf8(*station), ride->LineInfo, date + ride->Departure, date + ride->Arrival});
  return legs;
}

std::vector<TActData*> AddRouteActs(TRegisterTarget target, const std::vector<TRouteLeg>& legs) {
  std::vector<TActData*> added;
  const TCategoryInfo* info = target.Categories.GetCategoryItems(ctVehicle);
  for (const TRouteLeg& leg : legs) {
    TDayData& day = target.FindOrAddDay(DateOf(leg.DepartureTime));
    std::unique_ptr<TActData> act = target.NewAct(ctVehicle);
    auto& vehicle = static_cast<TVehicleAct&>(*act);
    vehicle.Title = leg.Departure + " － " + leg.Arrival;
    if (info != nullptr) vehicle.RecordData->IndicationKind = info->IndicationKind();
    vehicle.DeparturePlace = leg.Departure;
    vehicle.ArrivalPlace = leg.Arrival;
    vehicle.RecordData->StartTime = leg.DepartureTime;
    vehicle.TimeRecord().EndTime = leg.ArrivalTime;
    // The line's name and fare end at the first "]"; what follows (the platform, the car) goes
    // on a second line.
    const std::size_t close = leg.LineInfo.find(']');
    const std::size_t split = close == std::string::npos ? 0 : close + 1;
    vehicle.Memo.push_back(leg.LineInfo.substr(0, split));
    vehicle.Memo.push_back(leg.LineInfo.substr(split));
    added.push_back(day.AddAct(std::move(act)));
  }
  return added;
}

}  // namespace hakuvo
