#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/gps/gps_data.h"
#include "core/gps/utc_offset.h"

namespace hakuvo {

// A track: the points of one file and the statistics every window asks for. The readers of the
// track formats derive from it; a plain TGpsFile holds a list loaded from a ".gps" view file.
class TGpsFile {
 public:
  TGpsFile() = default;
  virtual ~TGpsFile() = default;
  TGpsFile(const TGpsFile&) = delete;
  TGpsFile& operator=(const TGpsFile&) = delete;

  const std::string& FileName() const { return FFileName; }
  // Stores the name and reads the file at once: set StartPos and EndPos first.
  void SetFileName(const std::string& fileName);
  // The reading window; both 0 means the whole file. A reader replaces 0/0 by -1 and the largest
  // double before it reads.
  TDateTime StartPos() const { return FStartPos; }
  void SetStartPos(TDateTime value) { FStartPos = value; }
  TDateTime EndPos() const { return FEndPos; }
  void SetEndPos(TDateTime value) { FEndPos = value; }

  // Time of the first and of the last point, 0 for an empty list.
  TDateTime FirstDateTime() const;
  TDateTime EndDateTime() const;
  // Kilometres along the whole track; 0 for fewer than two points.
  Extended TotalDistance() const;
  // Kilometres from point index-1 to point index (0 for index 0).
  Extended Distance(int index) const;
  // Hours from point index-1 to point index (0 for index 0; negative when the times run back).
  double Time(int index) const;

  void ClearPoints() { GpsList.Clear(); }

  // Metres between two points by the Hubeny formula on the WGS84 ellipsoid: the differences of
  // the angles in extended precision, the trigonometry of the mean latitude in double, which
  // keeps the result within 1e-14 of PointDistanceExtended at a fraction of its cost.
  static Extended PointDistance(Extended latitude1, Extended longitude1, Extended latitude2, Extended longitude2);
  // PointDistance of each pair of neighbours from (first - 1, first) on, one per element of
  // `metres`, worked out in blocks as a long track is walked: the same values, at a fraction of
  // the cost of a call per pair. first >= 1.
  static void SegmentMetres(std::span<const TGpsData> points, std::size_t first, std::span<Extended> metres);
  // The formula with every step in extended precision, the yardstick of PointDistance.
  static Extended PointDistanceExtended(Extended latitude1, Extended longitude1, Extended latitude2,
                                        Extended longitude2);
  // Local time of a UTC serial, with the offset in force at that instant.
  TDateTime LocalFromUtc(TDateTime utc) { return FUtcToLocal.Convert(utc); }

  TGpsDataList GpsList;

 protected:
  // Reads FileName into GpsList, honouring the window. A plain track reads nothing.
  virtual void ReadTrack() {}

  // What every reader does first: empty the list, open the window, take the current time zone.
  void BeginReading();
  // A known time (not 0) outside the window, compared to the millisecond as SetTerm compares:
  // a window is a route range kept in the data file, whose bounds are points' own times.
  bool OutsideWindow(TDateTime time) const {
    // Rounding keeps the order of times, so a time inside the window as written is inside it to
    // the millisecond too: only the times outside it need rounding, which costs a call.
    if (time == 0 || (time >= FStartPos && time <= FEndPos)) return false;
    const double milliseconds = TermMilliseconds(time);
    return milliseconds < FWindowFirst || milliseconds > FWindowLast;
  }

 private:
  std::string FFileName;
  TDateTime FStartPos = 0;
  TDateTime FEndPos = 0;
  double FWindowFirst = 0;  // the window in milliseconds, taken when a reading begins
  double FWindowLast = 0;
  TUtcToLocal FUtcToLocal;
};

// The reader for a track file chosen by its extension (.nma .nmea .log, .gpx, .kml, .fit, .tcx,
// letter case ignored); nullptr for any other file.
std::unique_ptr<TGpsFile> CreateGpsFile(const std::string& fileName);

}  // namespace hakuvo
