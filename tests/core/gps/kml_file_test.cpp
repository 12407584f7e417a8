#include "core/gps/kml_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/gps/piece_reading.h"
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

// Piece sizes small enough to cut the small documents of these tests into many pieces, at every
// kind of place: inside tags, texts, between a track's children and around it.
constexpr std::size_t kSmallPieces[] = {32, 47, 100, 256};

struct KmlFileTest : ::testing::Test {
  ScopedTimeZone zone{"Asia/Tokyo"};
  TKmlFile track;

  // Reads `text` whole into `track`, and in pieces of each size, which must give the same points
  // to the bit and the same error; the whole reading's error is raised again. Answers how many of
  // the piece sizes were read as pieces (the others fell back to the whole document).
  int Read(const std::string& text, std::span<const std::size_t> sizes = kSmallPieces) {
    const TDateTime start = track.StartPos(), end = track.EndPos();
    const auto read = [&](TKmlFile& file) { file.ReadFromMemory(text); };
    track.SetPieceBytes(0);
    const Reading whole = Take(track, read);
    EXPECT_EQ(whole.pieces, 0);
    int byPieces = 0;
    for (const std::size_t bytes : sizes) {
      TKmlFile pieces;
      pieces.SetStartPos(start);
      pieces.SetEndPos(end);
      pieces.SetPieceBytes(bytes);
      const Reading reading = Take(pieces, read);
      EXPECT_TRUE(reading.points == whole.points) << "pieces of " << bytes << " bytes";
      EXPECT_EQ(reading.error, whole.error) << "pieces of " << bytes << " bytes";
      byPieces += reading.pieces > 0;
    }
    if (!whole.error.empty()) throw EHakuvoError(whole.error);
    return byPieces;
  }

  const TGpsData& At(int index) { return *track.GpsList.Get(index); }
  std::vector<std::string> Times() {
    std::vector<std::string> times;
    for (const auto& point : track.GpsList) times.push_back(Local(point->RecordTime()));
    return times;
  }
};

TEST_F(KmlFileTest, TrackPairsTimesWithCoordinates) {
  Read(Kml("<Placemark>" +
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
  Read(Kml("<Placemark>" +
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
      {"2021-03-02T00:30:40", "0"},                         // no zone
      {"2021-03-02T09:30:40+0900", "2021/03/02 09:30:40"},  // the short form of the offset too
      {" 2021-03-02T00:30:40Z\n", "2021/03/02 09:30:40"},   // blanks around it, as XML allows
      {"2021-03-02T00:30:40Y", "0"},
      {"2021-02-30", "0"},
      {"20a1", "0"},
      {"", "0"},
  };
  for (const Case& c : cases) {
    Read(Kml("<Placemark>" + Track({c.written}, {"139 35"}) + "</Placemark>"));
    ASSERT_EQ(track.GpsList.Count(), 1) << c.written;
    EXPECT_EQ(Local(At(0).RecordTime()), c.local) << c.written;
  }
}

TEST_F(KmlFileTest, MultiTrackAndTrackWithAttributes) {
  Read(Kml("<Placemark><gx:MultiTrack><altitudeMode>absolute</altitudeMode>" +
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
  Read(Kml("<Folder>" + TimedPoint("2020-05-01T00:59:59Z", "139.0,35.0,0") +  // before the window
           TimedPoint("2020-05-01T01:00:00Z", "\n  139.1,35.1,7\n") + TimedPoint("2020-05-01T02:00:00Z", "139.2,35.2") +
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
  Read(Kml("<Placemark><TimeStamp><when>2020-01-01</when></TimeStamp><Point><coordinates>1,2" +
           std::string("</coordinates></Point>") + lines + "</Placemark><Placemark>" + lines + "</Placemark>"));
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
    Read(Kml("<Placemark><LineString><coordinates>" + c.coordinates + "</coordinates></LineString></Placemark>"));
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
  Read(
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
  Read(
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
    Read(c.document);
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
  Read(Kml(body));
  ASSERT_EQ(track.GpsList.Count(), 2);
  EXPECT_EQ(At(1).Latitude(), 4);
  // And multi-geometries as deep.
  std::string geometry = "<kml><Placemark>";
  for (int i = 0; i < depth; ++i) geometry += "<MultiGeometry>";
  geometry += "<LineString><coordinates>5,6</coordinates></LineString>";
  for (int i = 0; i < depth; ++i) geometry += "</MultiGeometry>";
  Read(geometry + "</Placemark></kml>");
  ASSERT_EQ(track.GpsList.Count(), 1);
  EXPECT_EQ(At(0).Latitude(), 6);
}

TEST_F(KmlFileTest, BadFilesAreErrorsNamingFileAndLine) {
  try {
    Read("<kml>\n<Document>\n<Placemark>\n</Document>\n</kml>\n");
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

// Every real file, and each of the shared ones, read in small pieces gives what it gives whole.
TEST_F(KmlFileTest, RealFilesInPiecesGiveWhatTheyGiveWhole) {
  std::vector<std::filesystem::path> files;
  for (const char* folder : {HAKUVO_TESTDATA_DIR "/tracks", "/work/shared/testdata/tracks"}) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".kml") files.push_back(entry.path());
    }
  }
  ASSERT_FALSE(files.empty());
  constexpr std::size_t kSizes[] = {32, 100, 1000, 4096};
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Read(text, kSizes);
  }
}

// A long track is read in pieces. Put in by whatever text a file may hold where the pieces are
// cut, its points, their order and their bits, or its error, are those of the whole document,
// from memory and from a file; the plain ones are read as pieces.
TEST_F(KmlFileTest, LongTracksInPiecesGiveThePointsOfTheWholeDocument) {
  constexpr int kPoints = 3000;
  std::vector<std::string> whens, coords;
  for (int i = 0; i < kPoints; ++i) {
    char text[96];
    std::snprintf(text, sizeof text, "<when>2021-03-02T%02d:%02d:%02dZ</when>\n", i / 3600 % 24, i / 60 % 60, i % 60);
    whens.push_back(text);
    std::snprintf(text, sizeof text, "<gx:coord>139.%06d 35.%06d %d.5</gx:coord>\n", kPoints - i, i, i % 100);
    coords.push_back(text);
  }
  enum TOrder { oWhensFirst, oInterleaved, oCoordsFirst };
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns:gx=\"x\"><Document><Placemark>\n";
  const std::string tail = "</Placemark></Document></kml>\n";
  // The track with `inserted` after the coordinate `after`.
  const auto document = [&](TOrder order, int after, const std::string& inserted, const std::string& before,
                            const std::string& behind, const std::string& prolog) {
    std::string text = (prolog.empty() ? head : prolog) + before + "<gx:Track>\n";
    if (order == oWhensFirst) {
      for (const std::string& when : whens) text += when;
    }
    for (int i = 0; i < kPoints; ++i) {
      if (order == oInterleaved) text += whens[static_cast<std::size_t>(i)];
      text += coords[static_cast<std::size_t>(i)];
      if (i == after) text += inserted;
    }
    if (order == oCoordsFirst) {
      for (const std::string& when : whens) text += when;
    }
    return text + "</gx:Track>\n" + behind + tail;
  };
  struct Case {
    const char* what;
    std::string inserted;
    bool byPieces;  // must be read as pieces (the others may fall back to the whole document)
    std::string before = "";
    std::string behind = "";
    std::string prolog = "";
  };
  const Case cases[] = {
      {"plain", "", true},
      {"a line of the same placemark before the track", "", true,
       "<LineString><coordinates>\n1,2\n3,4\n</coordinates></LineString>"},
      {"a timed point and a line after the track", "", true, "",
       "<TimeStamp><when>2021-03-02T00:00:00Z</when></TimeStamp><Point><coordinates>5,6</coordinates></Point>"
       "<LineString><coordinates>\n7,8\n</coordinates></LineString>"},
      {"a damaged coordinate", "<gx:coord>139.1 north 3</gx:coord>", true},
      {"a coordinate of one part", "<gx:coord>139.1</gx:coord>", true},
      {"an extra time", "<when>2021-03-02T23:00:00Z</when>", true},
      {"other children", "<gx:angles>1 2 3</gx:angles><extra><gx:coord>1 2</gx:coord></extra>", true},
      {"a comment hiding an end tag", "<!-- </gx:coord> -->", false},
      {"CDATA among the children", "<![CDATA[ </gx:coord> ]]>", false},
      {"text among the children", "text", false},
      {"the marker's own name", "<hakuvo-piece/>", false},
      {"a second track", "</gx:Track><gx:Track><when>2021-03-02T23:00:00Z</when>", false},
      {"the track closed and its placemark too", "</gx:Track></Placemark><Placemark><gx:Track>", false},
      {"a second root", "</gx:Track></Placemark></Document></kml><kml><Document><Placemark><gx:Track>", false},
      {"a document type inside", "<!DOCTYPE kml>", false},
      {"a NUL byte", std::string(1, '\0'), false},
      {"a coordinate left open", "<gx:coord>1 2", false},
      {"a track closed twice", "</gx:Track></gx:Track>", false},
      {"Latin-1", "", false, "", "", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<kml><Document><Placemark>\n"},
      {"in a multi-track", "", true, "<gx:MultiTrack>", "</gx:MultiTrack>"},
      {"a second track of the placemark, not read", "", false, "<gx:Track><gx:coord>1 2</gx:coord></gx:Track>"},
  };
  const std::string file = ::testing::TempDir() + "hakuvo_kml_long_test.kml";
  constexpr std::size_t kPiece[] = {4096};
  for (const Case& c : cases) {
    for (const TOrder order : {oWhensFirst, oInterleaved, oCoordsFirst}) {
      for (const int after : {700, 1500}) {
        SCOPED_TRACE(std::string(c.what) + ", order " + std::to_string(order) + ", after " + std::to_string(after));
        const std::string text = document(order, after, c.inserted, c.before, c.behind, c.prolog);
        int byPieces = 0;
        try {
          byPieces = Read(text, kPiece);
        } catch (const EHakuvoError&) {
          // The same error whole and in pieces; Read compared them.
        }
        if (c.byPieces) {
          EXPECT_EQ(byPieces, 1);
          EXPECT_GE(track.GpsList.Count(), kPoints);
        }
        // From a file, at the reader's own piece size made small.
        std::ofstream(file, std::ios::binary) << text;
        TKmlFile fromFile;
        fromFile.SetPieceBytes(4096);
        const Reading pieces = Take(fromFile, [&](TKmlFile& f) { f.SetFileName(file); });
        const Reading whole = Take(track, [&](TKmlFile& f) {
          f.SetPieceBytes(0);
          f.ReadFromMemory(text);
        });
        EXPECT_TRUE(pieces.points == whole.points);
        EXPECT_EQ(pieces.error.empty(), whole.error.empty());
        if (c.byPieces) {
          EXPECT_GT(pieces.pieces, 0);
        }
      }
    }
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace hakuvo
