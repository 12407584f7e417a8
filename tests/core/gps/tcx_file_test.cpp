#include "core/gps/tcx_file.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/gps/scoped_time_zone.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

const std::string kTracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";

std::string Local(TDateTime value) { return value == 0 ? "0" : FormatDateTime("yyyy/mm/dd hh:nn:ss", value); }

// "yyyy-mm-ddThh:nn:ss" (UTC) as local time in the zone now set, through the C library alone.
std::string LocalOfUtc(const std::string& iso) {
  std::tm utc{};
  std::istringstream in(iso);
  in >> std::get_time(&utc, "%Y-%m-%dT%H:%M:%S");
  const std::time_t instant = timegm(&utc);
  std::tm local{};
  localtime_r(&instant, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
  return text;
}

std::string Tcx(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<TrainingCenterDatabase xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n" +
         body + "</TrainingCenterDatabase>\n";
}

std::string Point(const std::string& latitude, const std::string& longitude, const std::string& more = "") {
  return "<Trackpoint>" + more + "<Position><LatitudeDegrees>" + latitude + "</LatitudeDegrees><LongitudeDegrees>" +
         longitude + "</LongitudeDegrees></Position></Trackpoint>\n";
}

std::string Activity(const std::vector<std::vector<std::string>>& laps) {
  std::string text = "<Activity Sport=\"Running\"><Id>2020-01-01T00:00:00Z</Id>\n";
  for (const auto& lap : laps) {
    text += "<Lap StartTime=\"2020-01-01T00:00:00Z\"><TotalTimeSeconds>1</TotalTimeSeconds><Track>\n";
    for (const auto& point : lap) text += point;
    text += "</Track></Lap>\n";
  }
  return text + "</Activity>\n";
}

struct TcxFileTest : ::testing::Test {
  ScopedTimeZone zone{"Asia/Tokyo"};
  TTcxFile track;

  const TGpsData& At(int index) { return *track.GpsList.Get(index); }
  double Latitude(int index) { return static_cast<double>(At(index).Latitude()); }
};

TEST_F(TcxFileTest, ActivitiesAndCoursesInDocumentOrder) {
  track.ReadFromMemory(
      Tcx("<Folders/>\n<Activities>" + Activity({{Point("1", "0"), Point("2", "0")}, {Point("3", "0")}}) +
          Activity({{Point("4", "0")}}) +
          "</Activities>\n"
          "<Courses><Course><Name>loop</Name><Lap><Track>" +
          Point("99", "0") + "</Track></Lap><Track>" + Point("5", "0") + "</Track><Track>" + Point("6", "0") +
          "</Track></Course></Courses>\n"
          // A track point outside a track, a track outside a lap: not read.
          "<Activities><Activity><Track>" +
          Point("98", "0") + "</Track><Lap>" + Point("97", "0") + "<Track>" + Point("7", "0") +
          "</Track></Lap></Activity></Activities>\n"));
  ASSERT_EQ(track.GpsList.Count(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Latitude(i), i + 1) << i;
}

TEST_F(TcxFileTest, PointsNeedAPositionAndMayLackTimeAndAltitude) {
  const std::string time = "<Time>2014-06-01T03:00:00Z</Time>";
  track.ReadFromMemory(Tcx("<Activities>" +
                           Activity({{
                               Point("35.1", "139.1", time + "<AltitudeMeters>10.5</AltitudeMeters>"),
                               "<Trackpoint>" + time + "<HeartRateBpm><Value>120</Value></HeartRateBpm></Trackpoint>\n",
                               Point("35.2", "139.2"),         // no time, no height
                               Point("north", "139.3", time),  // not a number
                               "<Trackpoint><Position><LatitudeDegrees>35.4</LatitudeDegrees></Position></Trackpoint>",
                               Point("35.5", "139.5", "<AltitudeMeters>high</AltitudeMeters>"),  // damaged height
                               Point("35.6", "139.6", "<AltitudeMeters> </AltitudeMeters>"),     // empty: at 0
                               Point(" -35.7 ", "-139.7", "<AltitudeMeters>-3</AltitudeMeters>"),
                           }}) +
                           "</Activities>"));
  ASSERT_EQ(track.GpsList.Count(), 4);
  const double latitudes[] = {35.1, 35.2, 35.6, -35.7};
  const double altitudes[] = {10.5, 0, 0, -3};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(Latitude(i), latitudes[i], 1e-12) << i;
    EXPECT_NEAR(static_cast<double>(At(i).Altitude()), altitudes[i], 1e-12) << i;
  }
  EXPECT_EQ(Local(At(0).RecordTime()), "2014/06/01 12:00:00");
  EXPECT_EQ(At(1).RecordTime(), 0);
}

TEST_F(TcxFileTest, TimesAreUtcUnlessTheyCarryAnOffset) {
  struct Case {
    const char* written;
    const char* local;
  };
  const Case cases[] = {
      {"2014-06-01T03:00:00Z", "2014/06/01 12:00:00"},
      {"2014-06-01T03:00:00", "2014/06/01 12:00:00"},  // no zone: UTC
      {"2014-06-01T03:00:00.000Z", "2014/06/01 12:00:00"},
      {"2014-06-01T12:00:00+09:00", "2014/06/01 12:00:00"},
      {"2014-05-31T22:00:00-05:00", "2014/06/01 12:00:00"},
      {"2014-06-01", "0"},
      {"soon", "0"},
  };
  for (const Case& c : cases) {
    track.ReadFromMemory(Tcx("<Activities>" +
                             Activity({{Point("35", "139", "<Time>" + std::string(c.written) + "</Time>")}}) +
                             "</Activities>"));
    ASSERT_EQ(track.GpsList.Count(), 1) << c.written;
    EXPECT_EQ(Local(At(0).RecordTime()), c.local) << c.written;
  }
}

TEST_F(TcxFileTest, PrefixedElementsAndTheWindow) {
  // Some exporters write the schema's namespace under a prefix.
  const std::string text =
      "<tcx:TrainingCenterDatabase xmlns:tcx=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">"
      "<tcx:Activities><tcx:Activity><tcx:Lap><tcx:Track>"
      "<tcx:Trackpoint><tcx:Time>2020-01-01T00:00:00Z</tcx:Time><tcx:Position><tcx:LatitudeDegrees>1</"
      "tcx:LatitudeDegrees><tcx:LongitudeDegrees>2</tcx:LongitudeDegrees></tcx:Position></tcx:Trackpoint>"
      "<tcx:Trackpoint><tcx:Time>2020-01-01T01:00:00Z</tcx:Time><tcx:Position><tcx:LatitudeDegrees>3</"
      "tcx:LatitudeDegrees><tcx:LongitudeDegrees>4</tcx:LongitudeDegrees></tcx:Position></tcx:Trackpoint>"
      "<tcx:Trackpoint><tcx:Position><tcx:LatitudeDegrees>5</"
      "tcx:LatitudeDegrees><tcx:LongitudeDegrees>6</tcx:LongitudeDegrees></tcx:Position></tcx:Trackpoint>"
      "</tcx:Track></tcx:Lap></tcx:Activity></tcx:Activities></tcx:TrainingCenterDatabase>";
  track.ReadFromMemory(text);
  ASSERT_EQ(track.GpsList.Count(), 3);
  // From 09:30 local on: the first point is dropped, the one of unknown time stays.
  TTcxFile windowed;
  windowed.SetStartPos(At(0).RecordTime() + 0.5 / 24);
  windowed.SetEndPos(At(1).RecordTime());
  windowed.ReadFromMemory(text);
  ASSERT_EQ(windowed.GpsList.Count(), 2);
  EXPECT_EQ(windowed.GpsList.Get(0)->Latitude(), 3);
  EXPECT_EQ(windowed.GpsList.Get(1)->RecordTime(), 0);
  // Another root reads nothing.
  track.ReadFromMemory("<gpx><Activities>" + Activity({{Point("1", "2")}}) + "</Activities></gpx>");
  EXPECT_EQ(track.GpsList.Count(), 0);
}

TEST_F(TcxFileTest, BrokenAndMissingFilesNameTheFile) {
  test::TTempFolder folder;
  const std::string broken = folder.Write("broken.tcx", Tcx("<Activities>\n<Activity>\n</Activities>"));
  try {
    track.SetFileName(broken);
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.find(broken + "\r\n"), 0u) << message;
    EXPECT_NE(message.find("5行目"), std::string::npos) << message;
  }
  try {
    track.SetFileName(folder.Path("absent.TCX"));
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find("absent.TCX"), std::string::npos) << error.what();
  }
}

// Real files from a public TCX test set, against the independent reading listed beside them.
TEST(TcxRealFilesTest, MatchTheIndependentReadingInTwoZones) {
  if (!std::filesystem::is_directory(kTracks)) GTEST_SKIP() << "no real track files at " << kTracks;
  struct Case {
    const char* file;
    int points;
    const char* first;
    const char* last;
    double km;
  };
  const Case cases[] = {
      {"tcxparser-test.tcx", 383, "2012-12-26T21:29:53", "2012-12-26T22:03:04", 4.688706694},
      {"sup_activity_1.tcx", 111, "2022-07-16T16:08:25", "2022-07-16T16:26:57", 1.140128592},
  };
  for (const char* zoneName : {"Asia/Tokyo", "America/New_York"}) {
    ScopedTimeZone zone(zoneName);
    for (const Case& c : cases) {
      TTcxFile track;
      track.SetFileName(kTracks + c.file);
      EXPECT_EQ(track.GpsList.Count(), c.points) << c.file;
      EXPECT_EQ(Local(track.FirstDateTime()), LocalOfUtc(c.first)) << c.file << " " << zoneName;
      EXPECT_EQ(Local(track.EndDateTime()), LocalOfUtc(c.last)) << c.file << " " << zoneName;
      EXPECT_NEAR(static_cast<double>(track.TotalDistance()), c.km, 1e-8) << c.file;
    }
  }
}

}  // namespace
}  // namespace hakuvo
