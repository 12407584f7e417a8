#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"

namespace hakuvo {

// One fix of a track.
class TGpsData {
 public:
  Extended Altitude() const { return FAltitude; }
  void SetAltitude(Extended value) { FAltitude = value; }
  Extended Latitude() const { return FLatitude; }
  void SetLatitude(Extended value) { FLatitude = value; }
  Extended Longitude() const { return FLongitude; }
  void SetLongitude(Extended value) { FLongitude = value; }
  // Local time of the fix; 0 when the file gave none.
  TDateTime RecordTime() const { return FRecordTime; }
  void SetRecordTime(TDateTime value) { FRecordTime = value; }

  void Assign(const TGpsData& source) { *this = source; }

 private:
  Extended FAltitude = 0;
  Extended FLatitude = 0;
  Extended FLongitude = 0;
  TDateTime FRecordTime = 0;
};

// The points of a track in file order. The list owns its points: removing a point frees it.
class TGpsDataList {
 public:
  // Bytes of one point in a ".gps" view file: the time as a binary64, then latitude, longitude
  // and altitude as x87 80-bit values.
  static constexpr std::size_t ViewFilePointSize = 8 + 3 * 10;

  int Count() const { return static_cast<int>(FItems.size()); }
  TGpsData* Get(int index) const { return FItems.at(static_cast<std::size_t>(index)).get(); }
  // Replaces (and frees) the point at index.
  void Put(int index, std::unique_ptr<TGpsData> item);
  int Add(std::unique_ptr<TGpsData> item);
  // Index of the point, -1 when it is not in the list.
  int IndexOf(const TGpsData* item) const;
  void Insert(int index, std::unique_ptr<TGpsData> item);
  // Frees the first occurrence of item; returns its former index, -1 when it was not there.
  int Remove(const TGpsData* item);
  void Delete(int index);
  void Clear() { FItems.clear(); }

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

  Extended MaxLatitude() const { return FMaxLatitude; }
  Extended MinLatitude() const { return FMinLatitude; }
  Extended MaxLongitude() const { return FMaxLongitude; }
  Extended MinLongitude() const { return FMinLongitude; }

  // The bounding box of the points. The maxima start at 0 and the minima at 10000, so a track
  // wholly south or west of 0 keeps a maximum of 0.
  void CalcLimit();
  // Keeps the points with startTime <= RecordTime <= endTime; two zeros keep every point whose
  // time is not negative.
  void SetTerm(TDateTime startTime, TDateTime endTime);

  // The ".gps" view file: a little-endian 32-bit count, then the points.
  void SaveToStream(std::ostream& stream) const;
  void SaveToFile(const std::string& fileName) const;
  // Replaces the contents with the points of a view file. The file is untrusted (it is a cache
  // anyone may have touched): a count that is negative or larger than the bytes that follow, a
  // non-finite value or a file whose length does not match its count raise EHakuvoError and
  // leave the list empty.
  void LoadFromStream(std::istream& stream);
  void LoadFromFile(const std::string& fileName);

 private:
  void LoadFromStream(std::istream& stream, const std::string& sourceName, bool wholeStream);

  std::vector<std::unique_ptr<TGpsData>> FItems;
  Extended FMaxLatitude = 0;
  Extended FMinLatitude = 0;
  Extended FMaxLongitude = 0;
  Extended FMinLongitude = 0;
};

}  // namespace hakuvo
