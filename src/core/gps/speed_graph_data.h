#pragma once

#include <string>
#include <vector>

#include "core/gps/track_summary.h"
#include "core/model/graph_info.h"

namespace hakuvo {

class TGpsFile;

// One value of the speed or the altitude line: where it is drawn and the track point it came from.
struct TSpeedGraphValue {
  double X = 0;
  double Y = 0;
  int Point = 0;  // index into TSpeedGraphData::Points
  // A speed value above the limit was left out between this value and the one before, so the
  // line breaks there. Always false for the altitude, which draws every point.
  bool GapBefore = false;
};

// Replaces each value by the mean of the `points` values centred on it (for an even count, one
// more after it than before), within each run of values between two gaps; near a run's ends over
// the values there are. 0 or 1 leaves the values raw.
void CentredMovingAverage(std::vector<TSpeedGraphValue>& values, int points);

// What the speed graph keeps of a track point: where it lies (for the map) and its altitude (for
// the copied rows).
struct TSpeedGraphPoint {
  double Latitude = 0;
  double Longitude = 0;
  double Altitude = 0;
};

// The speed and altitude series of a track drawn with a category's speed-graph settings. Speed
// is worked out segment by segment: the distance from the point before over the time from it,
// 0 for the first point and for a segment without time. The x of a value is, by the bottom-axis
// kind, the point's own time (a date serial), the hours or minutes since the first point, or the
// kilometres from it. Both series run in ascending x, each value naming the point it came from,
// so that a value after a gap still leads to its own point.
class TSpeedGraphData {
 public:
  TSpeedGraphData() = default;
  TSpeedGraphData(const TGpsFile& track, const TSpeedGraphInfo& info, const TTrackSummaryOptions& summary = {});

  TBottomAxisType BottomAxisKind() const { return FBottomAxisKind; }
  // The speed line holds pace in minutes per kilometre (the settings' IsPaceAxis): a value with
  // no pace (standing, or slower than 99:59) breaks the line like a value above the limit.
  bool IsPace() const { return FIsPace; }
  const std::vector<TSpeedGraphValue>& SpeedValues() const { return FSpeedValues; }
  const std::vector<TSpeedGraphValue>& AltitudeValues() const { return FAltitudeValues; }
  const std::vector<TSpeedGraphPoint>& Points() const { return FPoints; }
  // "平均速度： 12.3 km/h" when the settings ask for it and the track's first and last times
  // differ; empty otherwise.
  const std::string& Title() const { return FTitle; }
  // The track's climb, moving time and fastest speed, shown beside the average speed: empty
  // exactly when Title is.
  const std::string& Summary() const { return FSummary; }
  bool IsEmpty() const { return FSpeedValues.empty() && FAltitudeValues.empty(); }

  // The point a value of either series was drawn from; nullptr for an index out of range.
  const TSpeedGraphPoint* SpeedPoint(int valueIndex) const;
  const TSpeedGraphPoint* AltitudePoint(int valueIndex) const;

  // The clipboard text of the speed values with xMin <= x <= xMax: a header line, then per value
  // the x, the speed and the altitude of its point, tab-separated, each line ended by CR LF.
  std::string CopyText(double xMin, double xMax) const;
  // An x as the copied rows write it: a date and time (the date alone at midnight), hours or
  // minutes with two decimals, or kilometres in the shortest general form.
  std::string FormatX(double x) const;

 private:
  TBottomAxisType FBottomAxisKind = baDistance;
  bool FIsPace = false;
  std::vector<TSpeedGraphValue> FSpeedValues;
  std::vector<TSpeedGraphValue> FAltitudeValues;
  std::vector<TSpeedGraphPoint> FPoints;
  std::string FTitle;
  std::string FSummary;
};

}  // namespace hakuvo
