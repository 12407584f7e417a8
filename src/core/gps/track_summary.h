#pragma once

#include "core/gps/gps_data.h"

namespace hakuvo {

// What an outing's track adds up to, for every window and the command line alike.
//
// Climb (differences taken to the millimetre): the altitude is followed from a reference point; it moves the reference
// (and adds to the ascent or descent) only once it is more than ClimbThresholdM above or below it, so that GPS altitude
// noise smaller than the threshold never adds up while a steady climb counts in full. Moving time: the time of each
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

}  // namespace hakuvo
