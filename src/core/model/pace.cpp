#include "core/model/pace.h"

#include <cmath>

#include "core/common/number_format.h"
#include "core/model/act_data.h"
#include "core/model/record_data.h"

namespace hakuvo {

bool HasPace(TCategoryType category) { return category == ctJogging || category == ctWalking; }

std::optional<double> PaceSeconds(Extended distanceKm, Extended durationSeconds) {
  if (!(distanceKm > 0) || !(durationSeconds > 0)) return std::nullopt;
  const double pace = static_cast<double>(durationSeconds / distanceKm);
  if (!std::isfinite(pace) || pace > MaxPaceSeconds + 0.5) return std::nullopt;
  return pace;
}

std::optional<double> PaceSecondsFromSpeed(Extended speedKmh) { return PaceSeconds(speedKmh, 3600); }

std::string FormatPace(std::optional<double> seconds) {
  if (!seconds || !(*seconds >= 0)) return {};
  // Rounded once to whole seconds, so that 5:59.6 reads 6:00 and never 5:60.
  const long long whole = std::llround(*seconds);
  if (whole > static_cast<long long>(MaxPaceSeconds)) return {};
  std::string text = std::to_string(whole / 60);
  text += ':';
  AppendPadded(text, whole % 60, 2);
  return text;
}

std::string ActPaceText(const TActData& act) {
  if (!HasPace(act.Category)) return {};
  const auto* record = dynamic_cast<const TTimeRecord*>(act.RecordData.get());
  if (record == nullptr) return {};
  return FormatPace(PaceSeconds(record->Data(), record->DurationMSecs() / 1000));
}

}  // namespace hakuvo
