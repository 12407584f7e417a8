#include "core/gps/gpx_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/gps/piece_reading.h"
#include "core/gps/scoped_time_zone.h"

namespace hakuvo {
namespace {

const std::string kTracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";

std::string Local(TDateTime value) { return value == 0 ? "0" : FormatDateTime("yyyy/mm/dd hh:nn:ss", value); }

std::string Gpx(const std::string& tracks) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
         tracks + "</gpx>\n";
}

std::string Trkpt(const std::string& attributes, const std::string& children) {
  return "<trkpt " + attributes + ">" + children + "</trkpt>\n";
}

std::string Segment(const std::vector<std::string>& points) {
  std::string text = "<trk><trkseg>\n";
  for (const auto& p : points) text += p;
  return text + "</trkseg></trk>\n";
}

// Piece sizes small enough to cut the small documents of these tests into many pieces, at
// every kind of place: inside tags, texts, between segments and tracks.
constexpr std::size_t kSmallPieces[] = {32, 47, 100, 256};

struct GpxFileTest : ::testing::Test {
  ScopedTimeZone zone{"Asia/Tokyo"};
  TGpxFile track;

  const TGpsData& At(int index) { return *track.GpsList.Get(index); }

  // Reads `text` whole into `track`, and in pieces of each small size, which must give the same
  // points to the bit and the same error; the whole reading's error is raised again. Answers how
  // many of the piece sizes were read as pieces (the others fell back to the whole document).
  int Read(const std::string& text) {
    const TDateTime start = track.StartPos(), end = track.EndPos();
    const auto read = [&](TGpxFile& file) { file.ReadFromMemory(text); };
    track.SetPieceBytes(0);
    const Reading whole = Take(track, read);
    EXPECT_EQ(whole.pieces, 0);
    int byPieces = 0;
    for (const std::size_t bytes : kSmallPieces) {
      TGpxFile pieces;
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
};

TEST_F(GpxFileTest, TimesAreUtcUnlessTheyCarryAnOffset) {
  struct Case {
    const char* written;
    const char* local;
  };
  const Case cases[] = {
      {"2014-06-01T03:00:00Z", "2014/06/01 12:00:00"},
      {"2014-06-01T03:00:00", "2014/06/01 12:00:00"},        // no suffix: UTC
      {"2014-06-01T12:00:00+09:00", "2014/06/01 12:00:00"},  // the offset is taken off
      {"2014-06-01T12:00:00+0900", "2014/06/01 12:00:00"},
      {"2014-05-31T22:00:00-05:00", "2014/06/01 12:00:00"},
      {"2014-06-01T06:30:00+03:30", "2014/06/01 12:00:00"},
      {"2014-06-01T03:00:00.750Z", "2014/06/01 12:00:00"},  // the fraction is dropped
      {"2014-06-01T12:00:00.5+09:00", "2014/06/01 12:00:00"},
      {" 2014-06-01T03:00:00Z\n", "2014/06/01 12:00:00"},  // blanks around the text
      {"2014-06-01 03:00:00Z", "2014/06/01 12:00:00"},
      {"2014-06-01", "0"},
      {"2014-13-01T03:00:00Z", "0"},
      {"2014-06-01T25:00:00Z", "0"},
      {"yesterday", "0"},
      {"", "0"},
  };
  for (const Case& c : cases) {
    Read(Gpx(Segment({Trkpt("lat=\"35\" lon=\"139\"", "<ele>1</ele><time>" + std::string(c.written) + "</time>")})));
    ASSERT_EQ(track.GpsList.Count(), 1) << c.written;
    EXPECT_EQ(Local(At(0).RecordTime()), c.local) << c.written;
  }
}

TEST_F(GpxFileTest, PointsNeedAPositionAndMayLackTheElevation) {
  Read(Gpx(Segment({
      Trkpt("lat=\"35.1\" lon=\"139.1\"", "<ele>10.5</ele>"),
      Trkpt("lat=\"35.2\" lon=\"139.2\"", "<time>2020-01-01T00:00:00Z</time>"),  // no ele: at 0
      Trkpt("lat=\"35.3\"", "<ele>1</ele>"),                                     // no lon
      Trkpt("lon=\"139.4\"", "<ele>1</ele>"),                                    // no lat
      Trkpt("lat=\"north\" lon=\"139.4\"", "<ele>1</ele>"),                      // not a number
      Trkpt("lat=\"35.5\" lon=\"139.5\"", "<ele>high</ele>"),                    // a damaged elevation
      Trkpt("lat=\"35.6\" lon=\"139.6\"", "<ele> </ele>"),                       // an empty one: at 0
      Trkpt("lat=\"-35.7\" lon=\"-139.7\"", "<ele> -3 </ele>"),
  })));
  ASSERT_EQ(track.GpsList.Count(), 4);
  EXPECT_EQ(At(0).Latitude(), 35.1L);
  EXPECT_EQ(At(0).Longitude(), 139.1L);
  EXPECT_EQ(At(0).Altitude(), 10.5L);
  EXPECT_EQ(At(0).RecordTime(), 0);
  EXPECT_EQ(At(1).Latitude(), 35.2L);
  EXPECT_EQ(At(1).Altitude(), 0);
  EXPECT_EQ(Local(At(1).RecordTime()), "2020/01/01 09:00:00");
  EXPECT_EQ(At(2).Longitude(), 139.6L);
  EXPECT_EQ(At(2).Altitude(), 0);
  EXPECT_EQ(At(3).Latitude(), -35.7L);
  EXPECT_EQ(At(3).Altitude(), -3);

  // A track recorded without heights at all is a whole track.
  std::vector<std::string> flat;
  for (int i = 0; i < 5; ++i) flat.push_back(Trkpt("lat=\"35.0" + std::to_string(i) + "\" lon=\"139\"", ""));
  Read(Gpx(Segment(flat)));
  EXPECT_EQ(track.GpsList.Count(), 5);
  EXPECT_GT(track.TotalDistance(), 4.4L);
}

// A pause starts a new segment, a watch may write a track per lap: all of them are the outing.
TEST_F(GpxFileTest, EverySegmentOfEveryTrackInDocumentOrder) {
  const auto point = [](int n) {
    return Trkpt("lat=\"" + std::to_string(n) + "\" lon=\"" + std::to_string(n) + "\"",
                 "<ele>" + std::to_string(n) + "</ele>");
  };
  const std::string text =
      Gpx("<metadata><name>laps</name></metadata>\n<wpt lat=\"90\" lon=\"90\"><ele>1</ele></wpt>\n"
          "<trk><name>one</name><trkseg>" +
          point(1) + point(2) + "</trkseg>\n<trkseg>" + point(3) +
          "</trkseg></trk>\n"
          "<rte><rtept lat=\"91\" lon=\"91\"/></rte>\n"
          "<trk><name>two</name><extensions><x/></extensions><trkseg>" +
          point(4) +
          "<extensions/></trkseg><trkseg/></trk>\n<trk/>\n"
          "<trk><trkseg>" +
          point(5) + point(6) + "</trkseg></trk>\n");
  // Every piece size that makes three pieces or more of it reads it as pieces.
  const auto fitting = std::count_if(std::begin(kSmallPieces), std::end(kSmallPieces),
                                     [&](std::size_t bytes) { return text.size() >= 3 * bytes; });
  EXPECT_GE(fitting, 3);
  EXPECT_EQ(Read(text), fitting);
  ASSERT_EQ(track.GpsList.Count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(At(i).Latitude(), i + 1) << i;

  Read("<notgpx><trk><trkseg>" + point(1) + "</trkseg></trk></notgpx>");
  EXPECT_EQ(track.GpsList.Count(), 0);
  // Segments and points must stand where the format puts them.
  Read(Gpx("<trkseg>" + point(1) + "</trkseg><trk>" + point(2) + "<trkseg><trk><trkseg>" + point(3) +
           "</trkseg></trk></trkseg></trk>"));
  EXPECT_EQ(track.GpsList.Count(), 0);
}

TEST_F(GpxFileTest, ReadingWindow) {
  std::vector<std::string> points;
  for (int hour = 0; hour < 5; ++hour) {
    points.push_back(
        Trkpt("lat=\"35\" lon=\"139\"", "<ele>1</ele><time>2020-01-01T0" + std::to_string(hour) + ":00:00Z</time>"));
  }
  points.push_back(Trkpt("lat=\"35\" lon=\"139\"", "<ele>1</ele>"));  // no time: always kept
  track.SetStartPos(EncodeDateTime(2020, 1, 1, 10, 0, 0));
  track.SetEndPos(EncodeDateTime(2020, 1, 1, 12, 0, 0));
  Read(Gpx(Segment(points)));
  ASSERT_EQ(track.GpsList.Count(), 4);
  EXPECT_EQ(Local(At(0).RecordTime()), "2020/01/01 10:00:00");
  EXPECT_EQ(Local(At(2).RecordTime()), "2020/01/01 12:00:00");
  EXPECT_EQ(At(3).RecordTime(), 0);
}

TEST_F(GpxFileTest, MissingFileUsesTheFileNameMessage) {
  try {
    track.SetFileName("/no/such/route.gpx");
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_EQ(std::string(error.what()), "/no/such/route.gpx\r\nが見つかりません\r\nファイル名を確認してください");
  }
}

TEST_F(GpxFileTest, MalformedDocumentNamesTheLine) {
  try {
    Read("<gpx>\n<trk>\n<trkseg>\n<trkpt lat=\"1\" lon=\"2\"\n</gpx>\n");
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    // The start tag left open on line 4 is found out at the "<" of line 5.
    EXPECT_EQ(std::string(error.what()), "5行目: XMLの形式が正しくありません（Error parsing start element tag）");
  }
  // Entities are not expanded: a document type with one is read as plain text, not a bomb.
  Read(
      "<!DOCTYPE gpx [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
      "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"><ele>&b;</ele></trkpt></trkseg></trk></gpx>");
  EXPECT_EQ(track.GpsList.Count(), 0);
}

// A document of several megabytes is read a megabyte at a time (see TGpxFile::ReadInPieces). Put
// in by whatever text a file may hold where the pieces are cut, its points, their order and their
// bits, or its error, are those the rules give for the whole document, from memory and from a file.
TEST_F(GpxFileTest, LargeDocumentsGiveThePointsOfTheWholeDocument) {
  constexpr int kPoints = 40000;  // some 3.6 MB
  std::vector<std::string> points;
  for (int i = 0; i < kPoints; ++i) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "<trkpt lat=\"35.%06d\" lon=\"139.%06d\"><ele>%d.5</ele><time>2021-03-02T%02d:%02d:%02dZ</time>", i,
                  kPoints - i, i % 100, i / 3600 % 24, i / 60 % 60, i % 60);
    points.push_back(std::string(text) + "</trkpt>\n");
  }
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\">\n<trk><trkseg>\n";
  const std::string tail = "</trkseg></trk>\n</gpx>\n";
  // Indices of the points whose end falls first at or after one and two megabytes (where the
  // reader cuts), and of the ones before them.
  std::vector<int> atCuts;
  std::size_t length = head.size();
  for (int i = 0; i < kPoints && atCuts.size() < 4; ++i) {
    length += points[static_cast<std::size_t>(i)].size();
    const std::size_t megabyte = (atCuts.size() / 2 + 1) << 20;
    if (length - 1 >= megabyte) {
      atCuts.push_back(i - 1);
      atCuts.push_back(i);
    }
  }
  ASSERT_EQ(atCuts.size(), 4u);
  const auto document = [&](int after, const std::string& inserted, const std::string& prolog = std::string()) {
    std::string text = prolog.empty() ? head : prolog;
    for (int i = 0; i < kPoints; ++i) {
      text += points[static_cast<std::size_t>(i)];
      if (i == after) text += inserted;
    }
    return text + tail;
  };
  const auto expectLatitude = [&](int index, int point) {
    Extended expected = 0;
    ASSERT_TRUE(
        TryParseNumber("35." + std::string(6 - std::to_string(point).size(), '0') + std::to_string(point), expected));
    EXPECT_EQ(At(index).Latitude(), expected) << index;
  };

  struct Case {
    const char* what;
    std::string inserted;
    int points;  // -1: an error; -2: the points before the insertion only
    std::string prolog;
    bool byPieces;  // must be read as pieces (the others may fall back to the whole document)
  };
  const Case cases[] = {
      {"plain", "", kPoints, "", true},
      {"a comment hiding an end tag", "<!-- </trkpt> -->", kPoints, "", false},
      {"CDATA at the segment level", "<![CDATA[ </trkpt> ]]>", kPoints, "", false},
      {"text at the segment level", "text", kPoints, "", false},
      {"the marker's own name", "<hakuvo-piece/>", kPoints, "", false},
      {"a point inside a point",
       "<trkpt lat=\"9\" lon=\"9\"><ele>9</ele><trkpt lat=\"8\" lon=\"8\"><ele>8</ele></trkpt></trkpt>", kPoints + 1,
       "", false},
      {"a point without elevation", "<trkpt lat=\"9\" lon=\"9\"></trkpt>", kPoints + 1, "", true},
      {"a second segment", "</trkseg><trkseg>", kPoints, "", true},
      {"a second track", "</trkseg></trk><trk><trkseg>", kPoints, "", true},
      {"a named track after a waypoint",
       "</trkseg><extensions/></trk>\n<wpt lat=\"1\" lon=\"2\"><ele>3</ele></wpt>\n<trk><name>b</name><trkseg>",
       kPoints, "", true},
      {"points outside a segment", "</trkseg><trkpt lat=\"1\" lon=\"2\"/><trkseg>", kPoints, "", false},
      {"a second root", "</trkseg></trk></gpx><gpx><trk><trkseg>", -2, "", false},
      {"a document type inside", "<!DOCTYPE gpx>", -1, "", false},
      {"a NUL byte", std::string(1, '\0'), -1, "", false},
      {"a point left open", "<trkpt lat=\"1\" lon=\"2\"><ele>3</ele>", -1, "", false},
      {"a segment closed twice", "</trkseg></trkseg>", -1, "", false},
      {"Latin-1", "", kPoints, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<gpx>\n<trk><trkseg>\n", false},
      {"an empty first track", "", kPoints, "<?xml version=\"1.0\"?>\n<gpx>\n<trk/><trk><trkseg>\n", true},
  };
  const std::string file = ::testing::TempDir() + "hakuvo_gpx_large_test.gpx";
  for (const Case& c : cases) {
    for (const int after : atCuts) {
      const std::string text = document(after, c.inserted, c.prolog);
      const int expected = c.points == -2 ? after + 1 : c.points;
      for (const bool fromFile : {false, true}) {
        SCOPED_TRACE(std::string(c.what) + (fromFile ? ", file" : ", memory") + ", after point " +
                     std::to_string(after));
        try {
          if (fromFile) {
            std::ofstream(file, std::ios::binary) << text;
            track.SetFileName(file);
          } else {
            track.ReadFromMemory(text);
          }
          ASSERT_NE(expected, -1) << "no error";
        } catch (const EHakuvoError& error) {
          ASSERT_EQ(expected, -1) << error.what();
          EXPECT_NE(std::string(error.what()).find("行目: XMLの形式が正しくありません"), std::string::npos);
          continue;
        }
        ASSERT_EQ(track.GpsList.Count(), expected);
        if (c.byPieces) {
          EXPECT_GT(track.PiecesRead(), 0);
        }
        expectLatitude(0, 0);
        expectLatitude(after, after);
        expectLatitude(expected - 1, expected > kPoints ? kPoints - 1 : expected - 1);
        EXPECT_EQ(
            Local(At(after).RecordTime()),
            Local(track.LocalFromUtc(EncodeDateTime(2021, 3, 2, after / 3600 % 24, after / 60 % 60, after % 60))));
      }
    }
  }

  // A comment from before the first cut to past the last one, the pieces in it well-formed
  // points, and an element of the marker's name in the head: the points in the comment are none.
  std::string text = head + "<hakuvo-piece/>\n";
  const int commentFrom = atCuts[0] - 5, commentTo = kPoints - 100;
  for (int i = 0; i < kPoints; ++i) {
    if (i == commentFrom) text += "<!--";
    text += points[static_cast<std::size_t>(i)];
    if (i == commentTo) text += "-->";
  }
  track.ReadFromMemory(text + tail);
  ASSERT_EQ(track.GpsList.Count(), commentFrom + (kPoints - 1 - commentTo));
  expectLatitude(commentFrom - 1, commentFrom - 1);
  expectLatitude(commentFrom, commentTo + 1);
  std::remove(file.c_str());
}

// FNV-1a of a text, to compare long coordinate lists with a reference without listing them all.
std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

struct Sample {
  int index;
  const char* latitude;
  const char* longitude;
  const char* elevation;
};

struct RealFile {
  const char* file;
  int points;
  double totalKm;
  std::uint64_t digest;  // of "lat,lon" lines of every point, 9 decimals each
  const char* first;
  const char* last;
  std::vector<Sample> samples;
};

TEST_F(GpxFileTest, RealFilesMatchTheReferenceReader) {
  if (!std::filesystem::is_directory(kTracks)) GTEST_SKIP() << "no real track files at " << kTracks;
  // Every track point of every segment of every track, as an independent XML reader lists them
  // (coordinates printed to 9 decimals as printf prints a double, distances by the same formula
  // in double). bike_gpx and garmin-edge-200-output hold one segment each: their digests are also
  // those gpsbabel 1.8.0 gave ("gpsbabel -t -i gpx -f FILE -o gpx -F -"). Their counts are the
  // README's less its waypoints (2 and 1), which are no track points.
  const RealFile files[] = {
      {"bike_gpx.gpx",
       1812,
       9.789684012867,
       0x41093464997ee917ull,
       "2013/05/01 04:23:57",
       "2013/05/01 04:54:11",
       {{0, "40.781704467", "-73.960900549", "58.200"},
        {453, "40.798476236", "-73.958365023", "43.400"},
        {906, "40.783207091", "-73.968646433", "56.400"},
        {1359, "40.769821191", "-73.974461211", "44.000"},
        {1811, "40.781994397", "-73.960528979", "58.400"}}},
      {"garmin-edge-200-output.gpx",
       22,
       1.118199942062,
       0x55ca63b8b6e5c27eull,
       "2012/05/02 15:31:48",
       "2012/05/02 15:35:11",
       {{0, "50.874994118", "4.361335393", "18.800"},
        {5, "50.876181414", "4.363010935", "16.600"},
        {11, "50.878504207", "4.367033243", "15.200"},
        {16, "50.880122334", "4.370834352", "16.200"},
        {21, "50.881270654", "4.373297961", "21.400"}}},
      // Two tracks: the first segment of the first held 95 of the 174 points.
      {"globalsat_gh625XT.gpx",
       174,
       2.383939257325,
       0x4ed1feee859fa505ull,
       "2016/01/16 05:58:59",
       "2016/01/16 06:14:29",
       {{0, "55.718995000", "13.194068000", "77.000"},
        {43, "55.720910000", "13.188607000", "48.000"},
        {87, "55.725772000", "13.189960000", "47.000"},
        {130, "55.729750000", "13.186037000", "44.000"},
        {173, "55.729520000", "13.178168000", "42.000"}}},
      // Two tracks of ten segments in all, the first point untimed: 6 of 46 points were read.
      {"segmented_tracks.gpx",
       46,
       4.732664356543,
       0x905a7c7b9e68bb24ull,
       "0",
       "2007/07/27 14:35:00",
       {{0, "35.826145641", "-86.844139610", "0.000"},
        {11, "35.826752995", "-86.841882386", "0.000"},
        {23, "35.836145641", "-86.844139610", "0.000"},
        {34, "35.836752995", "-86.841882386", "0.000"},
        {45, "35.836743954", "-86.838781982", "0.000"}}},
  };
  for (const RealFile& f : files) {
    SCOPED_TRACE(f.file);
    TGpxFile file;
    file.SetFileName(kTracks + f.file);
    ASSERT_EQ(file.GpsList.Count(), f.points);
    std::string lines;
    for (const auto& point : file.GpsList) {
      if (!lines.empty()) lines += "\n";
      lines += FormatFixed(point->Latitude(), 9) + "," + FormatFixed(point->Longitude(), 9);
    }
    EXPECT_EQ(Fnv1a(lines), f.digest);
    for (const Sample& s : f.samples) {
      const TGpsData& point = *file.GpsList.Get(s.index);
      EXPECT_EQ(FormatFixed(point.Latitude(), 9), s.latitude) << s.index;
      EXPECT_EQ(FormatFixed(point.Longitude(), 9), s.longitude) << s.index;
      EXPECT_EQ(FormatFixed(point.Altitude(), 3), s.elevation) << s.index;
    }
    EXPECT_NEAR(static_cast<double>(file.TotalDistance()), f.totalKm, 1e-9);
    EXPECT_EQ(Local(file.FirstDateTime()), f.first);
    EXPECT_EQ(Local(file.EndDateTime()), f.last);

    // The same file read from disk in small pieces gives the same points to the bit.
    const auto read = [&](TGpxFile& reader) { reader.SetFileName(kTracks + f.file); };
    const Reading whole = Take(file, read);
    for (const std::size_t bytes : {std::size_t{64}, std::size_t{333}, std::size_t{1369}}) {
      TGpxFile pieces;
      pieces.SetPieceBytes(bytes);
      const Reading reading = Take(pieces, read);
      EXPECT_GT(reading.pieces, 0) << bytes;
      EXPECT_EQ(reading.error, "") << bytes;
      EXPECT_TRUE(reading.points == whole.points) << bytes;
    }
  }
}

}  // namespace
}  // namespace hakuvo
