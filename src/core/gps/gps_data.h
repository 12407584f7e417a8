#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iosfwd>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/common/large_block_allocator.h"

namespace hakuvo {

// A time as whole milliseconds (a double holds them exactly), the grain in which the points of a
// track are compared with a route range. A range bound is a point's own time, but the data file
// keeps it to 15 significant digits, a few microseconds away from the time it came from; compared
// bit for bit, about half of such bound points would fall out of their own range after a save.
inline double TermMilliseconds(TDateTime time) { return std::round(time * MSecsPerDay); }

// One fix of a track.
class TGpsData {
 public:
  TGpsData() = default;
  TGpsData(TDateTime recordTime, Extended latitude, Extended longitude, Extended altitude)
      : FAltitude(altitude), FLatitude(latitude), FLongitude(longitude), FRecordTime(recordTime) {}

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

// Points side by side, in blocks the kernel may back with huge pages once they are large.
using TGpsPoints = std::vector<TGpsData, TLargeBlockAllocator<TGpsData>>;

// The points of a track in file order. The points live in the list itself, side by side: a track
// of a million points is then one block of memory instead of a million, which is what makes
// reading and measuring it quick. A pointer from Get stays valid until the list next changes.
// Adding a point from a unique_ptr takes its value and frees the box.
class TGpsDataList {
 public:
  // Bytes of one point in a ".gps" view file: the time as a binary64, then latitude, longitude
  // and altitude as x87 80-bit values.
  static constexpr std::size_t ViewFilePointSize = 8 + 3 * 10;

  // Walks the points as the pointers of a list of references, so that `point->Latitude()` reads
  // as it does for every other list of the diary.
  class TIterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = const TGpsData*;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = const TGpsData*;

    TIterator() = default;
    explicit TIterator(const TGpsData* at) : FAt(at) {}
    const TGpsData* operator*() const { return FAt; }
    TIterator& operator++() {
      ++FAt;
      return *this;
    }
    TIterator operator++(int) {
      TIterator before = *this;
      ++FAt;
      return before;
    }
    bool operator==(const TIterator&) const = default;

   private:
    const TGpsData* FAt = nullptr;
  };

  int Count() const { return static_cast<int>(FItems.size()); }
  const TGpsData* Get(int index) const { return &FItems.at(static_cast<std::size_t>(index)); }
  TGpsData* Get(int index) { return &FItems.at(static_cast<std::size_t>(index)); }
  // Replaces the point at index.
  void Put(int index, const TGpsData& item) { FItems.at(static_cast<std::size_t>(index)) = item; }
  void Put(int index, std::unique_ptr<TGpsData> item) { Put(index, *item); }
  int Add(const TGpsData& item) {
    FItems.push_back(item);
    return Count() - 1;
  }
  int Add(std::unique_ptr<TGpsData> item) { return Add(*item); }
  // A point made in its place at the end, as the readers add them.
  int Add(TDateTime recordTime, Extended latitude, Extended longitude, Extended altitude) {
    FItems.emplace_back(recordTime, latitude, longitude, altitude);
    return Count() - 1;
  }
  // Index of the point (by address), -1 when it is not one of the list's.
  int IndexOf(const TGpsData* item) const;
  void Insert(int index, const TGpsData& item);
  void Insert(int index, std::unique_ptr<TGpsData> item) { Insert(index, *item); }
  // Removes the point at item's address; returns its former index, -1 when it was not there.
  int Remove(const TGpsData* item);
  void Delete(int index);
  void Clear() { FItems.clear(); }
  // Room for at least `count` points, so that a reader adding them does not move them again. It
  // grows by half at the least, so that many small requests stay linear.
  void Reserve(std::size_t count) {
    if (count > FItems.capacity()) FItems.reserve(std::max(count, FItems.capacity() + FItems.capacity() / 2));
  }

  TIterator begin() const { return TIterator(FItems.data()); }
  TIterator end() const { return TIterator(FItems.data() + FItems.size()); }
  // The points as one array, for the loops over a whole track.
  std::span<const TGpsData> Points() const { return FItems; }

  Extended MaxLatitude() const { return FMaxLatitude; }
  Extended MinLatitude() const { return FMinLatitude; }
  Extended MaxLongitude() const { return FMaxLongitude; }
  Extended MinLongitude() const { return FMinLongitude; }

  // The bounding box of the points, started from the first one. An empty list has no box: its
  // maxima are 0 and its minima 10000.
  void CalcLimit();
  // Keeps the points with startTime <= RecordTime <= endTime, compared to the millisecond; two
  // zeros keep every point whose time is not negative.
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

  TGpsPoints FItems;
  Extended FMaxLatitude = 0;
  Extended FMinLatitude = 0;
  Extended FMaxLongitude = 0;
  Extended FMinLongitude = 0;
};

}  // namespace hakuvo
