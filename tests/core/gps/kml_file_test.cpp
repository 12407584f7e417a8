#include "core/gps/kml_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/gps/scoped_time_zone.h"

namespace hakuvo {
namespace {

const std::string kTracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";

std::string Local(TDateTime value) { return value == 0 ? "0" : FormatDateTime("yyyy/mm/dd hh:nn:ss", value); }

std::string Kml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
         "<Document>\n" +
         body + "</Document>\n</kml>\n";
}

std::string TimedPoint(const std::string& when, const std::string& coordinates) {
  return "<Placemark><TimeStamp><when>" + when + "</when></TimeStamp><Point><coordinates>" + coordinates +
         "</coordinates></Point></Placemark>\n";
}

std::string Track(const std::vector<std::string>& whens, const std::vector<std::string>& coords,
                  const std::string& tag = "gx:Track") {
  std::string text = "<" + tag + ">";
  for (const auto& w : whens) text += "<when>" + w + "</when>";
  for (const auto& c : coords) text += "<gx:coord>" + c + "</gx:coord>";
  const std::string name = tag.substr(0, tag.find(' '));
  return text + "</" + name + ">";
}

struct KmlFileTest : ::testing::Test {
  ScopedTimeZone zone{"Asia/Tokyo"};
  TKmlFile track;

  const TGpsData& At(int index) { return *track.GpsList.Get(index); }
  std::vector<std::string> Times() {
    std::vector<std::string> times;
    for (const auto& point : track.GpsList) times.push_back(Local(point->RecordTime()));
    return times;
  }
};

TEST_F(KmlFileTest, TrackPairsTimesWithCoordinates) {
  track.ReadFromMemory(Kml("<Placemark>" +
                           Track({"2020-05-01T01:00:00Z", "2020-05-01T01:00:10Z", "2020-05-01T01:00:20Z"},
                                 {"139.70 35.60 10", "139.71 35.61 11", "139.72 35.62"}) +
                           "</Placemark>"));
  ASSERT_EQ(track.GpsList.Count(), 3);
  EXPECT_EQ(Times(), (std::vector<std::string>{"2020/05/01 10:00:00", "2020/05/01 10:00:10", "2020/05/01 10:00:20"}));
  EXPECT_EQ(At(0).Latitude(), 35.60L);
  EXPECT_EQ(At(0).Longitude(), 139.70L);
  EXPECT_EQ(At(1).Altitude(), 11);
  EXPECT_EQ(At(2).Altitude(), 0);

  // Fewer times than coordinates: the rest have no time. Malformed coordinates are skipped.
  track.ReadFromMemory(
      Kml("<Placemark>" +
          Track({"2020-05-01T01:00:00Z", "2020-05-01T01:00:10Z"},
                {"139.70 35.60 10", "139.71", " 35.61", "139.72,35.62", "139.73 35.63 x", "139.74 35.64 12"}) +
          "</Placemark>"));
  EXPECT_EQ(Times(), (std::vector<std::string>{"2020/05/01 10:00:00", "0"}));
  EXPECT_EQ(At(1).Longitude(), 139.74L);
}

TEST_F(KmlFileTest, TimeForms) {
  struct Case {
    const char* written;
    const char* local;
  };
  const Case cases[] = {
      {"2021-03-02T00:30:40Z", "2021/03/02 09:30:40"},
      {"2021-03-02T00:30:40.993Z", "2021/03/02 09:30:40"},   // fraction dropped, not rounded
      {"2021-03-02T09:30:40+09:00", "2021/03/02 09:30:40"},  // offset applied
      {"2021-03-02T09:30:40.5+09:00", "2021/03/02 09:30:40"},
      {"2021-03-01T19:30:40-05:00", "2021/03/02 09:30:40"},
      {"2021", "2021/01/01 00:00:00"},  // date-only forms are local dates
      {"2021-03", "2021/03/01 00:00:00"},
      {"2021-03-02", "2021/03/02 00:00:00"},
      {"2021-03-02T00:30:40", "0"},  // no zone
      {"2021-03-02T00:30:40+0900", "0"},
      {"2021-02-30", "0"},
      {"20a1", "0"},
      {"", "0"},
  };
  for (const Case& c : cases) {
    track.ReadFromMemory(Kml("<Placemark>" + Track({c.written}, {"139 35"}) + "</Placemark>"));
    ASSERT_EQ(track.GpsList.Count(), 1) << c.written;
    EXPECT_EQ(Local(At(0).RecordTime()), c.local) << c.written;
  }
}

TEST_F(KmlFileTest, MultiTrackAndTrackWithAttributes) {
  track.ReadFromMemory(Kml("<Placemark><gx:MultiTrack><altitudeMode>absolute</altitudeMode>" +
                           Track({"2020-05-01T01:00:00Z"}, {"139.1 35.1 1"}) +
                           Track({"2020-05-01T02:00:00Z", "2020-05-01T02:00:05Z"}, {"139.2 35.2 2", "139.3 35.3 3"}) +
                           "</gx:MultiTrack></Placemark>\n<Placemark>" +
                           Track({"2020-05-01T03:00:00Z"}, {"139.4 35.4 4"}, "gx:Track id=\"t1\"") + "</Placemark>"));
  EXPECT_EQ(Times(), (std::vector<std::string>{"2020/05/01 10:00:00", "2020/05/01 11:00:00", "2020/05/01 11:00:05",
                                               "2020/05/01 12:00:00"}));
  EXPECT_EQ(At(2).Latitude(), 35.3L);
}

TEST_F(KmlFileTest, TimedPointsAndWindow) {
  track.SetStartPos(EncodeDateTime(2020, 5, 1, 10, 0, 0));
  track.SetEndPos(EncodeDateTime(2020, 5, 1, 11, 0, 0));
  track.ReadFromMemory(Kml("<Folder>" + TimedPoint("2020-05-01T00:59:59Z", "139.0,35.0,0") +  // before the window
                           TimedPoint("2020-05-01T01:00:00Z", "\n  139.1,35.1,7\n") +
                           TimedPoint("2020-05-01T02:00:00Z", "139.2,35.2") +
                           TimedPoint("2020-05-01T02:00:01Z", "139.3,35.3") +  // after it
                           TimedPoint("", "139.4,35.4") +                      // unreadable time: kept
                           TimedPoint("2020-05-01T01:30:00Z", ",35.5") + "</Folder>" +
                           "<Placemark><Point><coordinates>139.6,35.6</coordinates></Point></Placemark>"));
  ASSERT_EQ(track.GpsList.Count(), 3);
  EXPECT_EQ(Times(), (std::vector<std::string>{"2020/05/01 10:00:00", "2020/05/01 11:00:00", "0"}));
  EXPECT_EQ(At(0).Altitude(), 7);
  EXPECT_EQ(At(2).Longitude(), 139.4L);
}

TEST_F(KmlFileTest, PointOutsideTheWindowSkipsTheRestOfItsPlacemark) {
  track.SetStartPos(EncodeDateTime(2030, 1, 1, 0, 0, 0));
  track.SetEndPos(EncodeDateTime(2030, 1, 2, 0, 0, 0));
  const std::string lines = "<LineString><coordinates>\n139.1,35.1,0\n139.2,35.2,0\n</coordinates></LineString>";
  track.ReadFromMemory(Kml("<Placemark><TimeStamp><when>2020-01-01</when></TimeStamp><Point><coordinates>1,2" +
                           std::string("</coordinates></Point>") + lines + "</Placemark><Placemark>" + lines +
                           "</Placemark>"));
  EXPECT_EQ(track.GpsList.Count(), 2);  // only the second placemark's line
}

TEST_F(KmlFileTest, LineStringCoordinates) {
  struct Case {
    const char* what;
    std::string coordinates;
    std::vector<Extended> latitudes;
  };
  const Case cases[] = {
      {"one per line", "\n139.1,35.1,0\n139.2,35.2,0\n139.3,35.3,0\n", {35.1L, 35.2L, 35.3L}},
      {"indented with tabs", "\n\t\t139.1,35.1,0\n\t\t139.2,35.2,0\n\t", {35.1L, 35.2L}},
      {"CR LF lines", "\r\n139.1,35.1,0\r\n139.2,35.2,0\r\n", {35.1L, 35.2L}},
      {"single triple, nothing around it", "139.7,35.6,0", {35.6L}},
      {"blank separated on one line", "139.1,35.1,0 139.2,35.2,0 139.3,35.3,0", {35.1L, 35.2L, 35.3L}},
      {"tab separated, blank at the end", "139.1,35.1,0\t139.2,35.2,0 ", {35.1L, 35.2L}},
      {"several triples on several lines",
       "\n139.1,35.1,0 139.2,35.2,0\n  139.3,35.3,0  139.4,35.4,0\n",
       {35.1L, 35.2L, 35.3L, 35.4L}},
      {"last triple without separator", "\n139.1,35.1,0\n139.2,35.2,0", {35.1L, 35.2L}},
      {"blanks beside the commas", "\n139.1, 35.1, 0\n139.2 ,35.2\t,0 139.3,35.3\n", {35.1L, 35.2L, 35.3L}},
      {"no altitude", "\n139.1,35.1\n", {35.1L}},
      {"empty parts", "\n,35.1,0\n139.1,,0\n", {}},
      {"a damaged tuple among good ones", "139.1,35.1,0 139.2,north,0 139.3,35.3,x 139.4,35.4,0", {35.1L, 35.4L}},
      {"a trailing comma ends at the line end", "139.1,35.1,\n139.2,35.2,0", {35.2L}},
      {"nothing", " \n\t ", {}},
  };
  for (const Case& c : cases) {
    track.ReadFromMemory(
        Kml("<Placemark><LineString><coordinates>" + c.coordinates + "</coordinates></LineString></Placemark>"));
    std::vector<Extended> latitudes;
    for (const auto& point : track.GpsList) {
      latitudes.push_back(point->Latitude());
      EXPECT_EQ(point->RecordTime(), 0) << c.what;
    }
    EXPECT_EQ(latitudes, c.latitudes) << c.what;
  }
}

// Comments and CDATA sections split an element's text into pieces: all of them are the text.
TEST_F(KmlFileTest, CoordinatesAreTheElementsWholeText) {
  track.ReadFromMemory(
      Kml("<Placemark><LineString><coordinates>\n139.1,35.1,0\n<!-- paused here -->\n139.2,35.2,0\n"
          "<![CDATA[139.3,35.3,0]]>\n139.4,35.<!-- split inside a number -->4,0\n</coordinates></LineString>"
          "</Placemark>"
          "<Placemark><TimeStamp><when>2020-05-01T01:00:00Z</when></TimeStamp>"
          "<Point><coordinates><!-- a note -->139.5,35.5,<![CDATA[12]]></coordinates></Point></Placemark>"));
  ASSERT_EQ(track.GpsList.Count(), 5);
  EXPECT_EQ(At(1).Latitude(), 35.2L);
  EXPECT_EQ(At(2).Latitude(), 35.3L);
  EXPECT_EQ(At(3).Latitude(), 35.4L);
  EXPECT_EQ(At(4).Latitude(), 35.5L);
  EXPECT_EQ(At(4).Altitude(), 12);
  EXPECT_EQ(Local(At(4).RecordTime()), "2020/05/01 10:00:00");
}

TEST_F(KmlFileTest, EveryLineOfAMultiGeometryInOrder) {
  track.ReadFromMemory(
      Kml("<Placemark><MultiGeometry><LineString><coordinates>1,2</coordinates></LineString>"
          "<Point><coordinates>9,9</coordinates></Point>"
          "<LineString><coordinates>\n3,4\n5,6\n</coordinates></LineString>"
          "<MultiGeometry><LineString><coordinates>7,8</coordinates></LineString></MultiGeometry>"
          "<LineString><coordinates>9,10</coordinates></LineString></MultiGeometry></Placemark>"));
  std::vector<Extended> latitudes;
  for (const auto& point : track.GpsList) latitudes.push_back(point->Latitude());
  EXPECT_EQ(latitudes, (std::vector<Extended>{2, 4, 6, 8, 10}));
}

TEST_F(KmlFileTest, PlacemarksInAnyNestingOfDocumentsAndFolders) {
  const std::string line = "<Placemark><LineString><coordinates>1,2</coordinates></LineString></Placemark>";
  struct Case {
    const char* what;
    std::string document;
    int points;
  };
  const Case cases[] = {
      {"no Document", "<kml>" + line + line + "</kml>", 2},
      {"a folder without Document", "<kml><Folder>" + line + "</Folder>" + line + "</kml>", 2},
      {"a document in a folder in a document",
       "<kml><Document><Folder><Document>" + line + "</Document></Folder>" + line + "</Document></kml>", 2},
      {"two documents", "<kml><Document>" + line + "</Document><Document>" + line + "</Document></kml>", 2},
      {"Document as the root", "<Document>" + line + "<Folder>" + line + "</Folder></Document>", 2},
      {"placemarks elsewhere are not read",
       "<kml><Document><Style>" + line + "</Style><Placemark>" + line + "</Placemark></Document></kml>", 0},
  };
  for (const Case& c : cases) {
    track.ReadFromMemory(c.document);
    EXPECT_EQ(track.GpsList.Count(), c.points) << c.what;
  }

  // Folders a hundred thousand deep, the placemark at the bottom, another after them.
  const int depth = 100000;
  std::string body;
  body.reserve(depth * 20);
  for (int i = 0; i < depth; ++i) body += (i % 2 ? "<Folder>" : "<Document>");
  body += "<Placemark><LineString><coordinates>\n1,2\n</coordinates></LineString></Placemark>";
  for (int i = depth - 1; i >= 0; --i) body += (i % 2 ? "</Folder>" : "</Document>");
  body += "<Placemark><LineString><coordinates>\n3,4\n</coordinates></LineString></Placemark>";
  track.ReadFromMemory(Kml(body));
  ASSERT_EQ(track.GpsList.Count(), 2);
  EXPECT_EQ(At(1).Latitude(), 4);
  // And multi-geometries as deep.
  std::string geometry = "<kml><Placemark>";
  for (int i = 0; i < depth; ++i) geometry += "<MultiGeometry>";
  geometry += "<LineString><coordinates>5,6</coordinates></LineString>";
  for (int i = 0; i < depth; ++i) geometry += "</MultiGeometry>";
  track.ReadFromMemory(geometry + "</Placemark></kml>");
  ASSERT_EQ(track.GpsList.Count(), 1);
  EXPECT_EQ(At(0).Latitude(), 6);
}

TEST_F(KmlFileTest, BadFilesAreErrorsNamingFileAndLine) {
  try {
    track.ReadFromMemory("<kml>\n<Document>\n<Placemark>\n</Document>\n</kml>\n");
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find("4行目"), std::string::npos) << error.what();
  }
  try {
    track.SetFileName("/no/such/path.kml");
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find("/no/such/path.kml"), std::string::npos);
  }
}

struct RealFile {
  const char* file;
  int points;
  int untimed;
  double totalKm;
  const char* first;
  double firstLatitude, firstLongitude, firstAltitude;
  const char* last;
  double lastLatitude, lastLongitude;
};

TEST_F(KmlFileTest, RealFiles) {
  if (!std::filesystem::is_directory(kTracks)) GTEST_SKIP() << "no real track files at " << kTracks;
  // Expected values from an independent reading of the same rules.
  const RealFile files[] = {
      {"google_ext.kml", 451, 0, 7.775617221423, "2014/05/26 03:30:59", 30.244696, -97.8586, 274.2,
       "2014/05/26 05:13:09", 30.227217, -97.89716},
      // Points without a TimeStamp are not track points.
      {"kml-points.kml", 0, 0, 0, "0", 0, 0, 0, "0", 0, 0},
      // Every line string of its three multi-geometries: 45 points when only the first was read.
      {"segmented_tracks-track.kml", 96, 88, 11.818003566095, "0", 35.826146, -86.84414, 0, "0", 35.836744, -86.838782},
  };
  for (const RealFile& f : files) {
    SCOPED_TRACE(f.file);
    TKmlFile file;
    file.SetFileName(kTracks + f.file);
    ASSERT_EQ(file.GpsList.Count(), f.points);
    int untimed = 0;
    for (const auto& point : file.GpsList) untimed += point->RecordTime() == 0;
    EXPECT_EQ(untimed, f.untimed);
    EXPECT_NEAR(static_cast<double>(file.TotalDistance()), f.totalKm, 1e-9);
    EXPECT_EQ(Local(file.FirstDateTime()), f.first);
    EXPECT_EQ(Local(file.EndDateTime()), f.last);
    if (f.points == 0) continue;
    EXPECT_NEAR(static_cast<double>(file.GpsList.Get(0)->Latitude()), f.firstLatitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(file.GpsList.Get(0)->Longitude()), f.firstLongitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(file.GpsList.Get(0)->Altitude()), f.firstAltitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(file.GpsList.Get(f.points - 1)->Latitude()), f.lastLatitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(file.GpsList.Get(f.points - 1)->Longitude()), f.lastLongitude, 1e-12);
  }
}

TEST_F(KmlFileTest, RealTrackInsideAWindow) {
  // google_ext.kml runs 18:30:59 to 20:13:09 UTC; an hour from 19:00 UTC.
  track.SetStartPos(EncodeDateTime(2014, 5, 26, 4, 0, 0));
  track.SetEndPos(EncodeDateTime(2014, 5, 26, 5, 0, 0));
  track.SetFileName(kTracks + "google_ext.kml");
  EXPECT_EQ(track.GpsList.Count(), 240);
  EXPECT_GE(track.FirstDateTime(), track.StartPos());
  EXPECT_LE(track.EndDateTime(), track.EndPos());
}

}  // namespace
}  // namespace hakuvo
