#include "core/gps/gps_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "core/gps/fit_file.h"
#include "core/gps/gpx_file.h"
#include "core/gps/kml_file.h"
#include "core/gps/nmea_file.h"
#include "core/gps/scoped_time_zone.h"
#include "core/gps/tcx_file.h"

namespace hakuvo {
namespace {

// Sets TZ for one test and puts the old zone back afterwards.
std::unique_ptr<TGpsData> Point(TDateTime time, Extended latitude, Extended longitude) {
  auto point = std::make_unique<TGpsData>();
  point->SetRecordTime(time);
  point->SetLatitude(latitude);
  point->SetLongitude(longitude);
  return point;
}

TEST(GpsFileTest, HubenyDistanceOfKnownPairs) {
  struct Case {
    Extended lat1, lon1, lat2, lon2, metres;
  };
  // Expected values: the same formula evaluated independently in double precision.
  const Case cases[] = {
      {35, 139, 35 + 1.0L / 60, 139, 1849.012118427L},  // one minute of latitude near 35° N
      {35.681236L, 139.767125L, 34.702485L, 135.495951L, 403866.871828125L},
      {0, 0, 0, 1, 111319.490793274L},  // one degree along the equator
      {-33.8688L, 151.2093L, -33.8688L, 151.2093L, 0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(static_cast<double>(TGpsFile::PointDistance(c.lat1, c.lon1, c.lat2, c.lon2)),
                static_cast<double>(c.metres), 1e-6)
        << c.lat1 << "," << c.lon1 << " -> " << c.lat2 << "," << c.lon2;
    // The formula is symmetric.
    EXPECT_NEAR(static_cast<double>(TGpsFile::PointDistance(c.lat2, c.lon2, c.lat1, c.lon1)),
                static_cast<double>(c.metres), 1e-6);
  }
}

// The distance keeps only the differences of the angles in extended precision and takes the rest
// in double: over the whole globe, for pairs far apart, a fix's step apart and a centimetre apart,
// and near the poles where cos μ goes to 0, it stays within 1e-12 of the all-extended formula.
TEST(GpsFileTest, HubenyDistanceAgreesWithTheExtendedFormula) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 180), step(-3e-5, 3e-5),
      centimetre(-1e-7, 1e-7), nearPole(0, 1e-4);
  double worst = 0;
  std::string worstPair;
  for (int i = 0; i < 400000; ++i) {
    Extended lat1 = latitude(random), lon1 = longitude(random), lat2 = 0, lon2 = 0;
    switch (i % 4) {
      case 0:
        lat2 = latitude(random), lon2 = longitude(random);
        break;
      case 1:
        lat2 = lat1 + step(random), lon2 = lon1 + step(random);
        break;
      case 2:
        lat2 = lat1 + centimetre(random), lon2 = lon1 + centimetre(random);
        break;
      default:
        lat1 = std::copysign(90 - nearPole(random), lat1);
        lat2 = std::copysign(90 - nearPole(random), lat1);
        lon2 = lon1 + step(random);
        break;
    }
    const Extended fast = TGpsFile::PointDistance(lat1, lon1, lat2, lon2);
    const Extended extended = TGpsFile::PointDistanceExtended(lat1, lon1, lat2, lon2);
    ASSERT_GT(extended, 0);
    const double relative = static_cast<double>(std::fabs(fast - extended) / extended);
    if (relative > worst) {
      worst = relative;
      std::ostringstream pair;
      pair << std::setprecision(21) << lat1 << "," << lon1 << " -> " << lat2 << "," << lon2;
      worstPair = pair.str();
    }
  }
  EXPECT_LT(worst, 1e-12) << worstPair;

  // The same point, the poles themselves and latitudes beyond them (a broken file).
  const std::array<std::array<Extended, 4>, 5> pairs = {{{35.5L, 139.25L, 35.5L, 139.25L},
                                                         {90, 0, 90, 90},
                                                         {-90, 10, -89.9999L, 10},
                                                         {95, 0, 96, 1},
                                                         {-200, 0, -190, 1}}};
  for (const auto& p : pairs) {
    const Extended fast = TGpsFile::PointDistance(p[0], p[1], p[2], p[3]);
    const Extended extended = TGpsFile::PointDistanceExtended(p[0], p[1], p[2], p[3]);
    EXPECT_LE(std::fabs(fast - extended), 1e-12L * extended) << p[0] << "," << p[1] << " -> " << p[2] << "," << p[3];
  }
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  EXPECT_TRUE(std::isnan(TGpsFile::PointDistance(nan, 0, 1, 1)));
}

TEST(GpsFileTest, TotalDistanceIsTheSumOfTheSteps) {
  // Long enough to cross several of the blocks the sum is taken in, with a broken latitude in
  // the middle that only the extended formula measures.
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> step(-3e-5, 3e-5);
  TGpsFile track;
  Extended latitude = -33.8688L, longitude = 151.2093L;
  for (int i = 0; i < 2000; ++i) {
    track.GpsList.Add(TGpsData(0, i == 1234 ? 123.0L : latitude, longitude, 0));
    latitude += step(random);
    longitude += step(random);
  }
  Extended steps = 0, extended = 0;
  for (int i = 1; i < track.GpsList.Count(); ++i) {
    steps += track.Distance(i);
    const TGpsData& a = *track.GpsList.Get(i - 1);
    const TGpsData& b = *track.GpsList.Get(i);
    extended += TGpsFile::PointDistanceExtended(a.Latitude(), a.Longitude(), b.Latitude(), b.Longitude()) / 1000;
  }
  EXPECT_NEAR(static_cast<double>(track.TotalDistance()), static_cast<double>(steps),
              1e-12 * static_cast<double>(steps));
  EXPECT_NEAR(static_cast<double>(track.TotalDistance()), static_cast<double>(extended),
              1e-12 * static_cast<double>(extended));
  EXPECT_GT(track.TotalDistance(), 20000);  // the broken point is 90° of latitude off, twice
}

TEST(GpsFileTest, StatisticsOfEmptyOneAndThreePointTracks) {
  TGpsFile track;
  EXPECT_EQ(track.FirstDateTime(), 0);
  EXPECT_EQ(track.EndDateTime(), 0);
  EXPECT_EQ(track.TotalDistance(), 0);

  track.GpsList.Add(Point(45000.5, 35, 139));
  EXPECT_EQ(track.TotalDistance(), 0);
  EXPECT_EQ(track.Distance(0), 0);
  EXPECT_EQ(track.Time(0), 0);
  EXPECT_EQ(track.FirstDateTime(), 45000.5);
  EXPECT_EQ(track.EndDateTime(), 45000.5);

  track.GpsList.Add(Point(45000.5 + 1.0 / 24, 35 + 1.0L / 60, 139));  // one hour later
  track.GpsList.Add(Point(45000.5 + 1.0 / 24, 35 + 1.0L / 60, 139));  // same time, same place
  track.GpsList.Add(Point(45000.5, 35, 139));                         // back in time
  EXPECT_NEAR(static_cast<double>(track.Distance(1)), 1.849012118427, 1e-9);
  EXPECT_NEAR(track.Time(1), 1.0, 1e-9);
  EXPECT_EQ(track.Distance(2), 0);
  EXPECT_EQ(track.Time(2), 0);
  EXPECT_NEAR(track.Time(3), -1.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(track.TotalDistance()), 2 * 1.849012118427, 1e-9);
  EXPECT_EQ(track.FirstDateTime(), 45000.5);
  EXPECT_EQ(track.EndDateTime(), 45000.5);
}

TEST(GpsFileTest, PlainTrackReadsNothingWhenItsFileNameIsSet) {
  // A plain track holds a list loaded from a view file; naming the track file must not clear it.
  TGpsFile track;
  track.GpsList.Add(Point(1, 2, 3));
  track.SetFileName("/no/such/file.gpx");
  EXPECT_EQ(track.FileName(), "/no/such/file.gpx");
  EXPECT_EQ(track.GpsList.Count(), 1);
}

std::string LocalText(TGpsFile& track, TDateTime utc) {
  return FormatDateTime("yyyy/mm/dd hh:nn:ss", track.LocalFromUtc(utc));
}

TEST(GpsFileTest, LocalFromUtcNineHoursAhead) {
  ScopedTimeZone zone("Asia/Tokyo");
  TNmeaFile track;  // any reader: the conversion belongs to the track
  EXPECT_EQ(LocalText(track, EncodeDateTime(2014, 6, 1, 3, 0, 0)), "2014/06/01 12:00:00");
  EXPECT_EQ(LocalText(track, EncodeDateTime(2014, 12, 31, 20, 30, 0)), "2015/01/01 05:30:00");
}

TEST(GpsFileTest, LocalFromUtcUsesTheOffsetOfEachInstant) {
  ScopedTimeZone zone("Europe/Berlin");
  TGpsFile track;
  struct Case {
    TDateTime utc;
    const char* local;
  };
  // Summer and winter points in one reading, in and out of order, and both sides of each change
  // of the clocks, so that a remembered offset is never carried into the wrong hour.
  const Case cases[] = {
      {EncodeDateTime(2021, 7, 1, 10, 0, 0), "2021/07/01 12:00:00"},
      {EncodeDateTime(2021, 1, 15, 10, 0, 0), "2021/01/15 11:00:00"},
      {EncodeDateTime(2021, 7, 1, 10, 0, 30), "2021/07/01 12:00:30"},
      {EncodeDateTime(2021, 3, 28, 0, 59, 0), "2021/03/28 01:59:00"},
      {EncodeDateTime(2021, 3, 28, 0, 59, 59), "2021/03/28 01:59:59"},
      {EncodeDateTime(2021, 3, 28, 1, 0, 0), "2021/03/28 03:00:00"},
      {EncodeDateTime(2021, 10, 31, 0, 59, 59), "2021/10/31 02:59:59"},
      {EncodeDateTime(2021, 10, 31, 1, 0, 0), "2021/10/31 02:00:00"},
      {EncodeDateTime(2021, 10, 31, 0, 59, 58), "2021/10/31 02:59:58"},
  };
  for (const Case& c : cases) EXPECT_EQ(LocalText(track, c.utc), c.local) << c.local;
}

TEST(GpsFileTest, LocalFromUtcChangeInsideAMinute) {
  // Monrovia left its -0:44:30 offset at 00:44:30 UTC: the minute 00:44 holds two offsets.
  ScopedTimeZone zone("Africa/Monrovia");
  TGpsFile track;
  EXPECT_EQ(LocalText(track, EncodeDateTime(1972, 1, 7, 0, 44, 10)), "1972/01/06 23:59:40");
  EXPECT_EQ(LocalText(track, EncodeDateTime(1972, 1, 7, 0, 44, 40)), "1972/01/07 00:44:40");
  EXPECT_EQ(LocalText(track, EncodeDateTime(1972, 1, 7, 0, 44, 20)), "1972/01/06 23:59:50");
}

TEST(GpsFileTest, CreateGpsFileChoosesTheReaderByExtension) {
  struct Case {
    const char* name;
    const char* kind;
  };
  const Case cases[] = {
      {"/data/a.nma", "nmea"},    {"/data/a.NMEA", "nmea"},
      {"a.Log", "nmea"},          {"/data/b.gpx", "gpx"},
      {"/data/b.GPX", "gpx"},     {"c.kml", "kml"},
      {"c.KmL", "kml"},           {"d.kmz", ""},
      {"/data/e.gps", ""},        {"f.txt", ""},
      {"/data/no_extension", ""}, {"/data/ride.fit", "fit"},
      {"RIDE.FIT", "fit"},        {"run.tcx", "tcx"},
      {"run.TCX", "tcx"},         {"ride.fit.part", ""},
  };
  for (const Case& c : cases) {
    const auto reader = CreateGpsFile(c.name);
    const std::string kind = dynamic_cast<TNmeaFile*>(reader.get())  ? "nmea"
                             : dynamic_cast<TGpxFile*>(reader.get()) ? "gpx"
                             : dynamic_cast<TKmlFile*>(reader.get()) ? "kml"
                             : dynamic_cast<TFitFile*>(reader.get()) ? "fit"
                             : dynamic_cast<TTcxFile*>(reader.get()) ? "tcx"
                                                                     : "";
    EXPECT_EQ(kind, c.kind) << c.name;
    EXPECT_EQ(reader != nullptr, *c.kind != '\0') << c.name;
  }
}

}  // namespace
}  // namespace hakuvo
