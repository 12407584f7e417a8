#include "core/gps/gps_data.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

std::unique_ptr<TGpsData> Point(TDateTime time, Extended latitude, Extended longitude, Extended altitude = 0) {
  auto point = std::make_unique<TGpsData>();
  point->SetRecordTime(time);
  point->SetLatitude(latitude);
  point->SetLongitude(longitude);
  point->SetAltitude(altitude);
  return point;
}

// The ten bytes that carry an 80-bit value (the rest of a long double is padding).
std::string Bits(Extended value) { return std::string(reinterpret_cast<const char*>(&value), 10); }

std::string Saved(const TGpsDataList& list) {
  std::ostringstream out;
  list.SaveToStream(out);
  return out.str();
}

void Load(TGpsDataList& list, const std::string& bytes) {
  std::istringstream in(bytes);
  list.LoadFromStream(in);
}

std::string Int32Le(std::int32_t value) {
  std::string bytes(4, '\0');
  std::memcpy(bytes.data(), &value, 4);
  return bytes;
}

std::string PointBytes(double time, Extended latitude, Extended longitude, Extended altitude) {
  std::string bytes(reinterpret_cast<const char*>(&time), 8);
  return bytes + Bits(latitude) + Bits(longitude) + Bits(altitude);
}

TEST(GpsDataTest, NewPointIsAllZero) {
  const TGpsData point;
  EXPECT_EQ(point.Latitude(), 0);
  EXPECT_EQ(point.Longitude(), 0);
  EXPECT_EQ(point.Altitude(), 0);
  EXPECT_EQ(point.RecordTime(), 0);
  TGpsData copy;
  copy.Assign(*Point(45000.5, 35.5L, 139.25L, 12));
  EXPECT_EQ(copy.RecordTime(), 45000.5);
  EXPECT_EQ(copy.Latitude(), 35.5L);
  EXPECT_EQ(copy.Longitude(), 139.25L);
  EXPECT_EQ(copy.Altitude(), 12);
}

TEST(GpsDataListTest, IndexedOperationsKeepOrder) {
  TGpsDataList list;
  EXPECT_EQ(list.Add(Point(1, 1, 1)), 0);
  EXPECT_EQ(list.Add(Point(3, 3, 3)), 1);
  list.Insert(1, Point(2, 2, 2));
  ASSERT_EQ(list.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list.Get(i)->RecordTime(), i + 1);
  const TGpsData* middle = list.Get(1);
  EXPECT_EQ(list.IndexOf(middle), 1);
  EXPECT_EQ(list.Remove(middle), 1);
  EXPECT_EQ(list.Count(), 2);
  const TGpsData stranger;
  EXPECT_EQ(list.IndexOf(&stranger), -1);
  EXPECT_EQ(list.Remove(&stranger), -1);
  list.Put(0, Point(9, 9, 9));
  EXPECT_EQ(list.Get(0)->RecordTime(), 9);
  EXPECT_THROW(list.Insert(5, Point(0, 0, 0)), std::out_of_range);
  EXPECT_THROW(list.Delete(-1), std::out_of_range);
}

TEST(GpsDataListTest, CalcLimitIsTheBoxOfThePoints) {
  TGpsDataList empty;
  empty.CalcLimit();
  EXPECT_EQ(empty.MaxLatitude(), 0);
  EXPECT_EQ(empty.MaxLongitude(), 0);
  EXPECT_EQ(empty.MinLatitude(), 10000);
  EXPECT_EQ(empty.MinLongitude(), 10000);

  // Every quarter of the globe, and one point alone: the box is the points' own, never reaching
  // out to 0.
  struct Case {
    const char* where;
    std::vector<std::pair<Extended, Extended>> points;  // latitude, longitude
    Extended minLatitude, maxLatitude, minLongitude, maxLongitude;
  };
  const Case cases[] = {
      {"north east", {{35.1L, 139.7L}, {35.3L, 139.5L}, {35.2L, 139.9L}}, 35.1L, 35.3L, 139.5L, 139.9L},
      {"south west", {{-33.9L, -70.6L}, {-34.1L, -70.2L}}, -34.1L, -33.9L, -70.6L, -70.2L},
      {"north west", {{40.78L, -73.96L}, {40.79L, -73.95L}}, 40.78L, 40.79L, -73.96L, -73.95L},
      {"south east", {{-42.83L, 147.44L}, {-42.84L, 147.45L}}, -42.84L, -42.83L, 147.44L, 147.45L},
      {"across both zero lines", {{0.5L, -0.25L}, {-0.5L, 0.25L}}, -0.5L, 0.5L, -0.25L, 0.25L},
      {"one point", {{-12.5L, -77.0L}}, -12.5L, -12.5L, -77.0L, -77.0L},
  };
  for (const Case& c : cases) {
    TGpsDataList list;
    for (const auto& [latitude, longitude] : c.points) list.Add(Point(0, latitude, longitude));
    list.CalcLimit();
    EXPECT_EQ(list.MinLatitude(), c.minLatitude) << c.where;
    EXPECT_EQ(list.MaxLatitude(), c.maxLatitude) << c.where;
    EXPECT_EQ(list.MinLongitude(), c.minLongitude) << c.where;
    EXPECT_EQ(list.MaxLongitude(), c.maxLongitude) << c.where;
  }
}

TEST(GpsDataListTest, SetTermKeepsTheInclusiveWindow) {
  struct Case {
    TDateTime start, end;
    std::vector<TDateTime> kept;
  };
  const std::vector<TDateTime> times = {0, 100.25, 100.5, 100.75, -5};
  const Case cases[] = {
      {0, 0, {0, 100.25, 100.5, 100.75}},         // no window: every time that is not negative
      {100.25, 100.75, {100.25, 100.5, 100.75}},  // both ends inclusive, unknown time dropped
      {100.3, 100.6, {100.5}},
      {-10, 100.5, {0, 100.25, 100.5, -5}},
      {101, 102, {}},  // starts after the last point
  };
  for (const Case& c : cases) {
    TGpsDataList list;
    for (TDateTime t : times) list.Add(Point(t, 1, 1));
    list.SetTerm(c.start, c.end);
    std::vector<TDateTime> kept;
    for (const auto& point : list) kept.push_back(point->RecordTime());
    EXPECT_EQ(kept, c.kept) << c.start << " .. " << c.end;
  }
}

// A route range is stored as the times of its first and last points, written with 15 significant
// digits; read back, each bound lies a few microseconds beside its point. Over every second of a
// day the bound points stay in, and a point a millisecond outside the range still goes.
TEST(GpsDataListTest, SetTermComparesToTheMillisecond) {
  const TDateTime day = EncodeDate(2024, 7, 14);
  constexpr double kSecond = 1.0 / SecsPerDay, kMillisecond = kSecond / 1000;
  const auto stored = [](TDateTime value) {
    Extended read = 0;
    EXPECT_TRUE(TryParseNumber(FormatGeneral(value), read));
    return static_cast<TDateTime>(read);
  };
  int boundsMoved = 0;
  for (int second = 0; second < 86400; second += 7) {
    const TDateTime time = day + second * kSecond;
    const TDateTime start = stored(time), end = stored(time + 60 * kSecond);
    boundsMoved += start != time;
    TGpsDataList list;
    for (const TDateTime t :
         {time - kMillisecond, time, time + 30 * kSecond, time + 60 * kSecond, time + 60 * kSecond + kMillisecond}) {
      list.Add(Point(t, 1, 1));
    }
    list.SetTerm(start, end);
    ASSERT_EQ(list.Count(), 3) << second;
    EXPECT_EQ(list.Get(0)->RecordTime(), time) << second;
    EXPECT_EQ(list.Get(2)->RecordTime(), time + 60 * kSecond) << second;
  }
  EXPECT_GT(boundsMoved, 1000);  // the writing does move most bounds: the case is real
}

TEST(GpsViewFileTest, LayoutIsCountThenTimeLatitudeLongitudeAltitude) {
  TGpsDataList list;
  list.Add(Point(44000.125, 35.681236L, 139.767125L, 3.5L));
  list.Add(Point(44000.25, -33.86L, 151.21L, -12));
  list.Add(Point(0, 0, 0, 0));
  const std::string bytes = Saved(list);
  ASSERT_EQ(bytes.size(), 118u);
  EXPECT_EQ(bytes.substr(0, 4), Int32Le(3));
  EXPECT_EQ(bytes.substr(4, 38), PointBytes(44000.125, 35.681236L, 139.767125L, 3.5L));
  EXPECT_EQ(bytes.substr(42, 38), PointBytes(44000.25, -33.86L, 151.21L, -12));
  // 1.0 as an x87 value: significand 0x8000000000000000, biased exponent 0x3FFF.
  TGpsDataList one;
  one.Add(Point(0, 1, 0, 0));
  EXPECT_EQ(Saved(one).substr(12, 10), std::string("\0\0\0\0\0\0\0\x80\xFF\x3F", 10));
}

TEST(GpsViewFileTest, RoundTripIsBitForBit) {
  // Values whose low bits a double would lose, signed zero, the extremes of the format.
  const std::vector<std::array<Extended, 3>> values = {
      {1.0L / 3, -2.0L / 7, 1e-4000L},
      {-0.0L, std::numeric_limits<Extended>::max(), -std::numeric_limits<Extended>::min()},
      {35.6812362L, 139.7671248L, 40.25L},
  };
  const std::vector<double> times = {45123.123456789, -1.5, 0};
  TGpsDataList list;
  for (std::size_t i = 0; i < values.size(); ++i) list.Add(Point(times[i], values[i][0], values[i][1], values[i][2]));

  const test::TTempFolder folder;
  const auto path = folder / "roundtrip.gps";
  list.SaveToFile(path.string());
  EXPECT_EQ(std::filesystem::file_size(path), 118u);
  TGpsDataList loaded;
  loaded.Add(Point(1, 2, 3));  // replaced by the load
  loaded.LoadFromFile(path.string());

  ASSERT_EQ(loaded.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    const TGpsData& a = *list.Get(i);
    const TGpsData& b = *loaded.Get(i);
    double ta = a.RecordTime(), tb = b.RecordTime();
    EXPECT_EQ(std::memcmp(&ta, &tb, sizeof ta), 0) << i;
    EXPECT_EQ(Bits(a.Latitude()), Bits(b.Latitude())) << i;
    EXPECT_EQ(Bits(a.Longitude()), Bits(b.Longitude())) << i;
    EXPECT_EQ(Bits(a.Altitude()), Bits(b.Altitude())) << i;
  }
  EXPECT_EQ(Saved(loaded), Saved(list));
}

TEST(GpsViewFileTest, EmptyListIsFourBytes) {
  TGpsDataList list;
  EXPECT_EQ(Saved(list), Int32Le(0));
  list.Add(Point(1, 1, 1));
  Load(list, Int32Le(0));
  EXPECT_EQ(list.Count(), 0);
}

TEST(GpsViewFileTest, UntrustedFilesAreRefusedAndLeaveTheListEmpty) {
  const std::string good = PointBytes(44000.5, 35, 139, 10);
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  const Extended inf = std::numeric_limits<Extended>::infinity();
  std::string unnormal = Bits(1.0L);
  unnormal[7] = 0;  // exponent kept, integer bit cleared
  const double nanTime = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"count cut short", std::string("\x01\x00", 2)},
      {"negative count", Int32Le(-1) + good},
      {"count beyond the bytes", Int32Le(2) + good},
      {"huge count", Int32Le(std::numeric_limits<std::int32_t>::max()) + good},
      {"point cut short", Int32Le(1) + good.substr(0, 37)},
      {"NaN latitude", Int32Le(1) + PointBytes(1, nan, 1, 1)},
      {"infinite altitude", Int32Le(1) + PointBytes(1, 1, 1, -inf)},
      {"NaN time", Int32Le(1) + PointBytes(nanTime, 1, 1, 1)},
      {"unnormal longitude", Int32Le(1) + good.substr(0, 18) + unnormal + good.substr(28)},
  };
  for (const Case& c : cases) {
    TGpsDataList list;
    list.Add(Point(1, 1, 1));
    EXPECT_THROW(Load(list, c.bytes), EHakuvoError) << c.what;
    EXPECT_EQ(list.Count(), 0) << c.what;
  }
}

TEST(GpsViewFileTest, FileLengthMustMatchItsCount) {
  const test::TTempFolder folder;
  const auto path = folder / "trailing.gps";
  {
    std::ofstream out(path, std::ios::binary);
    out << Int32Le(1) << PointBytes(1, 2, 3, 4) << "x";
  }
  TGpsDataList list;
  try {
    list.LoadFromFile(path.string());
    ADD_FAILURE() << "a file longer than its count was taken";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << "the message names the file";
  }
  std::filesystem::remove(path);
  EXPECT_THROW(list.LoadFromFile(path.string()), EHakuvoError);
  EXPECT_THROW(list.SaveToFile((path / "no" / "such" / "folder.gps").string()), EHakuvoError);
}

// A stream that cannot tell its length: the count cannot be checked up front, so the loader must
// not trust it for the allocation either, and fails when the bytes run out.
class UnseekableBuffer : public std::streambuf {
 public:
  explicit UnseekableBuffer(std::string bytes) : FBytes(std::move(bytes)) {
    setg(FBytes.data(), FBytes.data(), FBytes.data() + FBytes.size());
  }

 private:
  std::string FBytes;
};

TEST(GpsViewFileTest, UnseekableStreamWithLyingCountFails) {
  UnseekableBuffer buffer(Int32Le(std::numeric_limits<std::int32_t>::max()) + PointBytes(1, 2, 3, 4));
  std::istream in(&buffer);
  TGpsDataList list;
  EXPECT_THROW(list.LoadFromStream(in), EHakuvoError);
  EXPECT_EQ(list.Count(), 0);

  UnseekableBuffer honest(Int32Le(2) + PointBytes(1, 2, 3, 4) + PointBytes(5, 6, 7, 8));
  std::istream in2(&honest);
  list.LoadFromStream(in2);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(1)->Altitude(), 8);
}

}  // namespace
}  // namespace hakuvo
