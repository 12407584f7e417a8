#pragma once

#include <future>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/gps/gps_data.h"
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

// One track point as the graph sees it, in track order: its x, its segment's speed (or pace)
// and whether the speed line draws it, and its altitude.
struct TSpeedGraphSample {
  double X = 0;
  double Speed = 0;
  bool SpeedDrawn = false;
  double Altitude = 0;
  int Point = 0;
};

// The speed and altitude series of a track drawn with a category's speed-graph settings. Speed
// is worked out segment by segment: the distance from the point before over the time from it,
// 0 for the first point and for a segment without time. The x of a value is, by the bottom-axis
// kind, the point's own time (a date serial), the hours or minutes since the first point, or the
// kilometres from it. Both series run in ascending x, each value naming the point it came from,
// so that a value after a gap still leads to its own point.
//
// The data keeps the track, not the series: a track of a million points would otherwise need
// arrays of its size again, only to be thinned to a few thousand points for the chart
// (ThinSpeedGraph walks the track once for that). The series are worked out when asked for.
class TSpeedGraphData {
 public:
  TSpeedGraphData() = default;
  // Copies the track's points.
  TSpeedGraphData(const TGpsFile& track, const TSpeedGraphInfo& info, const TTrackSummaryOptions& summary = {});
  // Keeps the track, which nobody changes any more.
  TSpeedGraphData(std::shared_ptr<const TGpsFile> track, const TSpeedGraphInfo& info,
                  const TTrackSummaryOptions& summary = {});
  ~TSpeedGraphData();
  // The title's thread reads the data's own arrays: the data stays where it was made.
  TSpeedGraphData(const TSpeedGraphData&) = delete;
  TSpeedGraphData& operator=(const TSpeedGraphData&) = delete;

  TBottomAxisType BottomAxisKind() const { return FBottomAxisKind; }
  // The speed line holds pace in minutes per kilometre (the settings' IsPaceAxis): a value with
  // no pace (standing, or slower than 99:59) breaks the line like a value above the limit.
  bool IsPace() const { return FIsPace; }
  // The series, worked out over the whole track at each call.
  std::vector<TSpeedGraphValue> SpeedValues() const;
  std::vector<TSpeedGraphValue> AltitudeValues() const;
  // Whether the series are smoothed by a moving average (they then need arrays of their own).
  bool IsSmoothed() const { return FSpeedMovingAverage > 1 || FAltitudeMovingAverage > 1; }
  bool IsSpeedShown() const { return FSpeedShown; }
  bool IsAltitudeShown() const { return FAltitudeShown; }
  // Kilometres along the whole track, known when the title or the distance axis needs it (0
  // otherwise).
  Extended TotalDistance() const { return FTotalDistance; }
  int PointCount() const;
  const TGpsFile* Track() const { return FTrack.get(); }
  // "平均速度： 12.3 km/h" when the settings ask for it and the track's first and last times
  // differ; empty otherwise. Worked out beside the series: the first call waits for it.
  const std::string& Title() const;
  // The track's climb, moving time and fastest speed, shown beside the average speed: empty
  // exactly when Title is.
  const std::string& Summary() const;
  // No value in either series.
  bool IsEmpty() const;

  // The point of the track at `index`; nullopt out of range.
  std::optional<TSpeedGraphPoint> PointAt(int index) const;
  // The point a value of either series was drawn from; nullopt for an index out of range.
  std::optional<TSpeedGraphPoint> SpeedPoint(int valueIndex) const;
  std::optional<TSpeedGraphPoint> AltitudePoint(int valueIndex) const;

  // The clipboard text of the speed values with xMin <= x <= xMax: a header line, then per value
  // the x, the speed and the altitude of its point, tab-separated, each line ended by CR LF.
  std::string CopyText(double xMin, double xMax) const;
  // An x as the copied rows write it: a date and time (the date alone at midnight), hours or
  // minutes with two decimals, or kilometres in the shortest general form.
  std::string FormatX(double x) const;

 private:
  friend class TSpeedGraphSampler;
  void Settle() const;

  std::shared_ptr<const TGpsFile> FTrack;
  TBottomAxisType FBottomAxisKind = baDistance;
  bool FIsPace = false;
  bool FSpeedShown = true;
  bool FAltitudeShown = true;
  Extended FLimit = 0;
  Extended FTotalDistance = 0;
  // Metres from each point to the next, when the total was needed.
  std::vector<double> FSegmentMetres;
  int FSpeedMovingAverage = 0;
  int FAltitudeMovingAverage = 0;
  // The title and the summary, on their way from a second thread until Settle.
  mutable std::future<std::pair<std::string, std::string>> FTitles;
  mutable std::string FTitle;
  mutable std::string FSummary;
};

// Walks a track's points as the graph sees them, one sample per point in track order; a point
// whose x is not a number is passed over.
class TSpeedGraphSampler {
 public:
  explicit TSpeedGraphSampler(const TSpeedGraphData& data);
  // False after the last point.
  bool Next(TSpeedGraphSample& sample);

 private:
  const TSpeedGraphData& FData;
  std::span<const TGpsData> FPoints;
  std::size_t FIndex = 0;
  // The metres of the segments ending at points FBlockStart onwards, worked out a block at a time.
  static constexpr std::size_t kBlock = 256;
  Extended FMetres[kBlock];
  std::size_t FBlockStart = 0;
  std::size_t FBlockCount = 0;
  Extended FDistance = 0;  // km from the first point
  double FHours = 0;       // from the first point
};

}  // namespace hakuvo
