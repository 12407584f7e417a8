#include "core/gps/track_detail.h"

#include <cmath>
#include <exception>

#include "core/common/number_format.h"
#include "core/gps/display_track.h"
#include "core/gps/gps_file.h"
#include "core/gps/track_summary.h"

namespace hakuvo {

std::array<std::string, 3> TrackDetailTexts(const TGpsFileLink& link) {
  std::array<std::string, 3> texts;
  std::unique_ptr<TGpsFile> track;
  try {
    track = LoadDisplayTrack(link);
  } catch (const std::exception&) {
    // A detail row of a track that cannot be read stays empty; opening the track says why.
    return texts;
  }
  if (!track || track->GpsList.Count() == 0) return texts;
  const TTrackSummary summary = SummarizeTrack(track->GpsList);
  texts[0] = FormatFixed(summary.DistanceKm, 2);
  if (summary.HasTimes) {
    const long long seconds = std::llround((track->EndDateTime() - track->FirstDateTime()) * SecsPerDay);
    texts[1] = std::to_string(seconds / 3600) + ":";
    AppendPadded(texts[1], seconds / 60 % 60, 2);
    texts[1] += ':';
    AppendPadded(texts[1], seconds % 60, 2);
  }
  texts[2] = FormatFixed(summary.AscentM, 0);
  return texts;
}

}  // namespace hakuvo
