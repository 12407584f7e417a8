#pragma once

#include <span>
#include <string>

#include "core/gps/gps_data.h"
#include "core/model/category_type.h"

namespace hakuvo {

// What an outing's track adds up to, for every window and the command line alike.
//
// Climb: the altitudes are cut into levels. A level takes the points that follow as long as all of
// its altitudes lie within a band 2 x ClimbThresholdM wide (each within the threshold of the band's
// middle); the first point outside that band starts the next level. A level stands at the median
// of its altitudes, and the ascent and descent are the rises and falls from each level to the next.
// So altitude noise within the threshold either side of where the walker is adds nothing, whichever
// way it swings first (a rule that follows single points would count a swing from a noise peak to
// a noise trough as a climb), while a steady climb counts from the level it left to the level it
// reached. Band widths are compared to the millimetre. Moving time: the time of each
// segment whose speed is at least MovingThresholdKmh, except that a segment longer than MaxGapS counts as stopped
// whatever its speed (a long gap is a pause in recording, not movement). Moving speed is the distance of the moving
// segments over their time. Fastest speed: the greatest distance over time over spans of at least FastestWindowS
// seconds, so that one noisy segment cannot make it. Points without times give distance and climb only.
struct TTrackSummaryOptions {
  double ClimbThresholdM = 5;
  double MovingThresholdKmh = 1;  // 3 suits cycling
  double MaxGapS = 60;
  double FastestWindowS = 10;
};

struct TTrackSummary {
  double DistanceKm = 0;
  double AscentM = 0;
  double DescentM = 0;
  bool HasTimes = false;
  double MovingS = 0;
  double MovingSpeedKmh = 0;
  double MaxSpeedKmh = 0;
  bool HasAltitude = false;
  double HighestM = 0;
  double LowestM = 0;
};

TTrackSummary SummarizeTrack(const TGpsDataList& points, const TTrackSummaryOptions& options = {});
// The same with the metres from each point to the next already measured (TGpsFile::PointDistance,
// one fewer than the points); a span of any other length is not used.
TTrackSummary SummarizeTrack(const TGpsDataList& points, const TTrackSummaryOptions& options,
                             std::span<const double> segmentMetres);

// Cyclists stand still below 3 km/h, runners and walkers below 1 km/h.
TTrackSummaryOptions TrackSummaryOptionsFor(TCategoryType category);

// One line for a window's title: "上昇 35 m　下降 34 m　移動時間 0:29:43　最高 34.4 km/h"; the
// times and speeds only for a track with times.
std::string TrackSummaryLine(const TTrackSummary& summary);

}  // namespace hakuvo
