#include "core/gps/nmea_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/gps/scoped_time_zone.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

const std::string kTracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";

// A sentence with its checksum appended, as a receiver writes it.
std::string S(const std::string& body) {
  unsigned sum = 0;
  for (std::size_t i = 1; i < body.size(); ++i) sum ^= static_cast<unsigned char>(body[i]);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", sum);
  return body + tail;
}

std::string Log(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

std::string Local(TDateTime value) { return value == 0 ? "0" : FormatDateTime("yyyy/mm/dd hh:nn:ss", value); }

struct Fixture : ::testing::Test {
  ScopedTimeZone zone{"Asia/Tokyo"};
  TNmeaFile track;

  void Read(const std::vector<std::string>& lines) { track.ReadFromMemory(Log(lines)); }
  const TGpsData& At(int index) { return *track.GpsList.Get(index); }
};

using NmeaFileTest = Fixture;

TEST_F(NmeaFileTest, ClassicRmcSentence) {
  // Year 94 is 2094; 12:35:19 UTC is 21:35:19 in Tokyo; 48°07.038' and 11°31.000'.
  Read({"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A"});
  ASSERT_EQ(track.GpsList.Count(), 1);
  EXPECT_EQ(Local(At(0).RecordTime()), "2094/03/23 21:35:19");
  EXPECT_NEAR(static_cast<double>(At(0).Latitude()), 48.1173, 1e-12);
  EXPECT_NEAR(static_cast<double>(At(0).Longitude()), 11.516666666666667, 1e-12);
  EXPECT_EQ(At(0).Altitude(), 0);
}

TEST_F(NmeaFileTest, AltitudeComesFromTheGgaBeforeAndIsUsedOnce) {
  Read({S("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
        S("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"),
        S("$GPRMC,123520,A,4807.039,N,01131.000,E,022.4,084.4,230394,003.1,W"),
        S("$GPGGA,123521,4807.040,N,01131.000,E,1,08,0.9,0,M,46.9,M,,"),  // "0": no altitude
        S("$GPRMC,123521,A,4807.040,N,01131.000,E,022.4,084.4,230394,003.1,W"),
        S("$GPGGA,123522,4807.041,N,01131.000,E,1,08,0.9,abc,M,46.9,M,,"),
        S("$GPRMC,123522,A,4807.041,N,01131.000,E,022.4,084.4,230394,003.1,W")});
  ASSERT_EQ(track.GpsList.Count(), 4);
  EXPECT_NEAR(static_cast<double>(At(0).Altitude()), 545.4, 1e-12);
  EXPECT_EQ(At(1).Altitude(), 0);
  EXPECT_EQ(At(2).Altitude(), 0);
  EXPECT_EQ(At(3).Altitude(), 0);
}

TEST_F(NmeaFileTest, DiscardRules) {
  Read({
      S("$GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,,"),  // no valid fix
      S("$GPRMC,123520,A,48x7.038,N,01131.000,E,022.4,084.4,230394,,"),  // latitude not a number
      S("$GPRMC,123521,A,4807.038,N,,E,022.4,084.4,230394,,"),           // longitude missing
      S("$GPRMC,123522,A,4807.038,N,01131.000,E,022.4,084.4,320394,,"),  // no 32nd: time 0, kept
      S("$GPRMC,12352,A,4807.038,N,01131.000,E,022.4,084.4,230394,,"),   // short time: time 0, kept
      S("$GPRMC,123524,A,4807.038,N,01131.000,E,022.4,084.4,,,"),        // empty date: time 0, kept
      S("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"),
      "garbage line, then $GPRMC later in it",
      "",
      S("$GPRMC,123525,A,4807.038,N,01131.000,E,022.4,084.4,230394,,"),
  });
  ASSERT_EQ(track.GpsList.Count(), 4);
  EXPECT_EQ(At(0).RecordTime(), 0);
  EXPECT_EQ(At(1).RecordTime(), 0);
  EXPECT_EQ(At(2).RecordTime(), 0);
  EXPECT_EQ(Local(At(3).RecordTime()), "2094/03/23 21:35:25");
}

// A receiver writes sentences before it has a fix (empty positions, GGA quality 0, RMC status
// "V"), and a log ends where the recording was cut off, often in the middle of a line.
TEST_F(NmeaFileTest, SentencesWithoutAFixOrCutShortAreSkipped) {
  const std::string gga = S("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
  const std::string gga2 = S("$GPGGA,123520,4807.138,N,01131.100,E,1,08,0.9,546.4,M,46.9,M,,");
  const std::string rmc = S("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
  const std::string rmc2 = S("$GPRMC,123520,A,4807.138,N,01131.100,E,022.4,084.4,230394,003.1,W");
  const double kSecondLatitude = 48 + 7.138 / 60;  // of gga2 and rmc2
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    int points;
    double lastLatitude;
  };
  const Case cases[] = {
      {"GGA only, starting without a fix", {S("$GPGGA,123518,,,,,0,00,,,M,,M,,"), gga, gga2}, 2, kSecondLatitude},
      {"GGA only, quality 0 with a stale position",
       {gga, S("$GPGGA,123519,5000.000,N,01131.000,E,0,00,,545.4,M,46.9,M,,"), gga2},
       2,
       kSecondLatitude},
      {"GGA only, the last line cut in its longitude", {gga, gga2, "$GPGGA,123521,4807.238,N,011"}, 2, kSecondLatitude},
      {"GGA only, the last line cut before its altitude",
       {gga, gga2, "$GPGGA,123521,4807.238,N,01131.200,E,1,08"},
       2,
       kSecondLatitude},
      {"RMC, the last line cut in its longitude",
       {gga, rmc, rmc2, "$GPRMC,123521,A,4807.238,N,011"},
       2,
       kSecondLatitude},
      {"RMC, the last line cut before its date",
       {rmc, rmc2, "$GPRMC,123521,A,4807.238,N,01131.200,E,022.4,084.4"},
       2,
       kSecondLatitude},
      {"RMC with status A and no position", {rmc, S("$GPRMC,123521,A,,,,,,,230394,,,N"), rmc2}, 2, kSecondLatitude},
      {"RMC status other than A",
       {rmc2, S("$GPRMC,123521,X,4807.238,N,01131.200,E,0,0,230394,,,N")},
       1,
       kSecondLatitude},
      {"hemispheres other than N/S and E/W",
       {rmc, S("$GPRMC,123521,A,4807.238,X,01131.200,E,0,0,230394,,,A"),
        S("$GPRMC,123522,A,4807.338,N,01131.300,,0,0,230394,,,A"),
        S("$GPRMC,123523,A,4807.438,n,01131.400,e,0,0,230394,,,A"), rmc2},
       2,
       kSecondLatitude},
      {"a maker's own sentence", {rmc, S("$PGRMC,123521,A,4807.238,N,01131.200,E,0,0,230394,,,A")}, 1, 48.1173},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NO_THROW(Read(c.lines));
    ASSERT_EQ(track.GpsList.Count(), c.points);
    EXPECT_NEAR(static_cast<double>(At(c.points - 1).Latitude()), c.lastLatitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(At(c.points - 1).Longitude()), 11.5, 0.02);  // never the cut 0.18
  }
  // A GGA sentence without a fix gives no altitude to the RMC after it: the altitude is that of
  // the GGA with a fix before it.
  Read({gga, S("$GPGGA,123519,,,,,0,00,,,M,,M,,"), rmc});
  ASSERT_EQ(track.GpsList.Count(), 1);
  EXPECT_NEAR(static_cast<double>(At(0).Altitude()), 545.4, 1e-12);
}

TEST_F(NmeaFileTest, SouthAndWestAreNegative) {
  Read({S("$GPRMC,010203,A,3351.000,S,15112.000,E,0,0,010120,,"),
        S("$GPRMC,010204,A,4042.600,N,07400.600,W,0,0,010120,,"),
        S("$GPRMC,010205,A,2254.000,S,04312.000,W,0,0,010120,,")});
  ASSERT_EQ(track.GpsList.Count(), 3);
  EXPECT_NEAR(static_cast<double>(At(0).Latitude()), -33.85, 1e-12);
  EXPECT_NEAR(static_cast<double>(At(0).Longitude()), 151.2, 1e-12);
  EXPECT_NEAR(static_cast<double>(At(1).Latitude()), 40.71, 1e-12);
  EXPECT_NEAR(static_cast<double>(At(1).Longitude()), -74.01, 1e-12);
  EXPECT_NEAR(static_cast<double>(At(2).Latitude()), -22.9, 1e-12);
  EXPECT_NEAR(static_cast<double>(At(2).Longitude()), -43.2, 1e-12);
}

TEST_F(NmeaFileTest, AnyTalkerButNoMakersOwnSentence) {
  Read({S("$GNGGA,010203,3540.000,N,13946.000,E,1,12,0.8,40.0,M,39.0,M,,"),
        S("$GNRMC,010203,A,3540.000,N,13946.000,E,0,0,010120,,,A"),
        S("$GLRMC,010204,A,3540.001,N,13946.000,E,0,0,010120,,,A"),
        S("$BDRMC,010205,A,3540.002,N,13946.000,E,0,0,010120,,,A"),
        S("$PGRMC,010206,A,3540.003,N,13946.000,E,0,0,010120,,,A"),  // a maker's own sentence
        S("$gpRMC,010207,A,3540.004,N,13946.000,E,0,0,010120,,,A"),  // talkers are upper case
        S("$G1RMC,010208,A,3540.005,N,13946.000,E,0,0,010120,,,A")});
  ASSERT_EQ(track.GpsList.Count(), 3);
  EXPECT_NEAR(static_cast<double>(At(0).Altitude()), 40.0, 1e-12);
  EXPECT_EQ(Local(At(2).RecordTime()), "2020/01/01 10:02:05");
}

TEST_F(NmeaFileTest, ChecksumsDecide) {
  const std::string good = S("$GPRMC,010203,A,3540.000,N,13946.000,E,0,0,010120,,,A");
  std::string wrong = good;
  wrong[wrong.size() - 1] = wrong.back() == '0' ? '1' : '0';
  std::string lower = good;  // lower-case hexadecimal digits
  lower[lower.size() - 2] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[lower.size() - 2])));
  lower.back() = static_cast<char>(std::tolower(static_cast<unsigned char>(lower.back())));
  struct Case {
    std::string line;
    int points;
  };
  const Case cases[] = {
      {good, 1},
      {lower, 1},
      {"$GPRMC,010203,A,3540.000,N,13946.000,E,0,0,010120,,,A", 1},     // no checksum at all
      {wrong, 0},                                                       // present and wrong
      {good.substr(0, good.size() - 1), 0},                             // one digit only
      {good + "0", 0},                                                  // three digits
      {"$GPRMC,010203,A,3540.000,N,13946.000,E,0,0,010120,,,A*", 0},    // star without digits
      {"$GPRMC,010203,A,3540.000,N,13946.000,E,0,0,010120,,,A*ZZ", 0},  // not hexadecimal
      {good + "  ", 1},                                                 // trailing blanks
  };
  for (const Case& c : cases) {
    Read({c.line});
    EXPECT_EQ(track.GpsList.Count(), c.points) << c.line;
  }
  // A GGA whose checksum is wrong gives no altitude.
  std::string badGga = S("$GPGGA,010203,3540.000,N,13946.000,E,1,12,0.8,40.0,M,39.0,M,,");
  badGga[20] = '9';
  Read({badGga, good});
  ASSERT_EQ(track.GpsList.Count(), 1);
  EXPECT_EQ(At(0).Altitude(), 0);
}

// Sentences are split and summed eight bytes at a time: every field boundary, the star and the
// line end must count wherever they fall in such a step, also in a last line without its end.
TEST_F(NmeaFileTest, EveryCharacterCountsWhereverItFallsInAWord) {
  for (int pad = 0; pad < 16; ++pad) {
    const std::string course = pad == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(pad - 1), '5');
    const std::string line = S("$GPRMC,010203,A,3540.000,N,13946.000,E,0," + course + ",010120,,,A");
    const std::size_t star = line.find('*');
    for (int lead = 0; lead < 8; ++lead) {
      const std::string before = std::string(static_cast<std::size_t>(lead), 'x') + "\n";
      for (const char* end : {"\r\n", "\n", "\r", ""}) {
        track.ReadFromMemory(before + line + end);
        ASSERT_EQ(track.GpsList.Count(), 1) << line << " after " << lead << " bytes";
        EXPECT_EQ(Local(At(0).RecordTime()), "2020/01/01 10:02:03");
        EXPECT_NEAR(static_cast<double>(At(0).Latitude()), 35 + 40.0 / 60, 1e-12);
        EXPECT_NEAR(static_cast<double>(At(0).Longitude()), 139 + 46.0 / 60, 1e-12);
        // Without its checksum the same sentence reads alike.
        track.ReadFromMemory(before + line.substr(0, star) + end);
        EXPECT_EQ(track.GpsList.Count(), 1) << line;
      }
      // Any character changed between "$" and "*" breaks the checksum.
      for (std::size_t i = 1; i < star; ++i) {
        std::string damaged = line;
        damaged[i] = damaged[i] == 'Z' ? 'Y' : 'Z';
        track.ReadFromMemory(before + damaged + "\r\n");
        EXPECT_EQ(track.GpsList.Count(), 0) << damaged;
      }
    }
  }
}

TEST_F(NmeaFileTest, ReadingWindow) {
  std::vector<std::string> lines;
  for (int second = 0; second < 6; ++second) {
    lines.push_back(S("$GPGGA,01020" + std::to_string(second) + ",3540.000,N,13946.000,E,1,12,0.8,4" +
                      std::to_string(second) + ".0,M,39.0,M,,"));
    lines.push_back(S("$GPRMC,01020" + std::to_string(second) + ",A,3540.000,N,13946.000,E,0,0,010120,,,A"));
  }
  lines.push_back(S("$GPRMC,xx,A,3540.000,N,13946.000,E,0,0,010120,,,A"));  // unknown time: never dropped
  track.SetStartPos(EncodeDateTime(2020, 1, 1, 10, 2, 2));
  track.SetEndPos(EncodeDateTime(2020, 1, 1, 10, 2, 4));
  Read(lines);
  ASSERT_EQ(track.GpsList.Count(), 4);
  EXPECT_EQ(Local(At(0).RecordTime()), "2020/01/01 10:02:02");
  EXPECT_NEAR(static_cast<double>(At(0).Altitude()), 42.0, 1e-12);
  EXPECT_EQ(Local(At(2).RecordTime()), "2020/01/01 10:02:04");
  EXPECT_EQ(At(3).RecordTime(), 0);

  // A window that none of the fixes falls in gives an empty track, not the untimed GGA reading.
  track.SetStartPos(EncodeDateTime(2021, 1, 1, 0, 0, 0));
  track.SetEndPos(EncodeDateTime(2021, 1, 2, 0, 0, 0));
  lines.pop_back();
  Read(lines);
  EXPECT_EQ(track.GpsList.Count(), 0);

  // No window: the reader opens it to the widest range and says so.
  TNmeaFile open;
  open.ReadFromMemory(Log(lines));
  EXPECT_EQ(open.StartPos(), -1);
  EXPECT_EQ(open.EndPos(), std::numeric_limits<double>::max());
  EXPECT_EQ(open.GpsList.Count(), 6);
}

TEST_F(NmeaFileTest, GgaOnlyLogGivesUntimedPointsWithoutWindow) {
  track.SetStartPos(EncodeDateTime(2030, 1, 1, 0, 0, 0));
  track.SetEndPos(EncodeDateTime(2030, 1, 2, 0, 0, 0));
  Read({S("$GPGGA,010203,3540.000,S,13946.000,W,1,12,0.8,40.0,M,39.0,M,,"),
        S("$GPRMC,010203,V,3540.000,N,13946.000,E,0,0,010120,,,N"),
        S("$GNGGA,010204,3541.000,N,13947.000,E,1,12,0.8,41.5,M,39.0,M,,")});
  ASSERT_EQ(track.GpsList.Count(), 2);
  EXPECT_EQ(At(0).RecordTime(), 0);
  EXPECT_NEAR(static_cast<double>(At(0).Latitude()), -35.0 - 40.0 / 60, 1e-12);
  EXPECT_NEAR(static_cast<double>(At(0).Longitude()), -139.0 - 46.0 / 60, 1e-12);
  EXPECT_NEAR(static_cast<double>(At(1).Altitude()), 41.5, 1e-12);
}

TEST_F(NmeaFileTest, GgaOnlyLogStopsAtAFieldThatIsNotANumber) {
  try {
    Read({S("$GPGGA,010203,3540.000,N,13946.000,E,1,12,0.8,40.0,M,39.0,M,,"),
          S("$GPGGA,010204,3540.000,N,13946.000,E,1,12,0.8,40.0,M,39.0,M,,"),
          S("$GPGGA,010205,3540.0x0,N,13946.000,E,1,12,0.8,40.0,M,39.0,M,,"),
          S("$GPGGA,010206,3540.000,N,13946.000,E,1,12,0.8,40.0,M,39.0,M,,")});
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find("3行目"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("\"3540.0x0\""), std::string::npos) << error.what();
  }
  EXPECT_EQ(track.GpsList.Count(), 2);
}

// A damaged log may hold anything where a number belongs: the message shows a short, printable
// piece of it, never the whole field or a control character that would garble a terminal.
TEST_F(NmeaFileTest, ABadFieldIsQuotedShortAndPrintable) {
  const std::string junk = "1\x1b[2J" + std::string(5000, '7') + "x";
  try {
    Read({S("$GPGGA,010203," + junk + ",N,13946.000,E,1,12,0.8,40.0,M,39.0,M,,")});
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    const std::string message = error.what();
    EXPECT_LT(message.size(), 300u) << message;
    EXPECT_EQ(message.find('\x1b'), std::string::npos) << message;
    EXPECT_NE(message.find("\\x1B"), std::string::npos) << message;
  }
}

TEST_F(NmeaFileTest, LineEndingsAndByteOrderMarks) {
  const std::string rmc1 = S("$GPRMC,010203,A,3540.000,N,13946.000,E,0,0,010120,,,A");
  const std::string rmc2 = S("$GPRMC,010204,A,3540.001,N,13946.000,E,0,0,010120,,,A");
  track.ReadFromMemory(rmc1 + "\r" + rmc2);
  EXPECT_EQ(track.GpsList.Count(), 2);
  track.ReadFromMemory(rmc1 + "\n" + rmc2 + "\n");
  EXPECT_EQ(track.GpsList.Count(), 2);
  track.ReadFromMemory("\xEF\xBB\xBF" + rmc1 + "\r\n");
  EXPECT_EQ(track.GpsList.Count(), 1);
  std::string utf16("\xFF\xFE", 2);
  for (char c : rmc1 + "\r\n" + rmc2) utf16 += std::string{c, '\0'};
  track.ReadFromMemory(utf16);
  EXPECT_EQ(track.GpsList.Count(), 2);
}

TEST_F(NmeaFileTest, HostileLinesAreHarmless) {
  std::string manyFields = "$GPRMC";
  for (int i = 0; i < 100000; ++i) manyFields += ",";
  std::string longLine = "$GPGGA," + std::string(1 << 20, '9');
  static const char kStray[] = "$GPRMC,\x01\xFF\x00,A,\xFE,,,,,,,,\x7F";
  const std::string stray(kStray, sizeof kStray - 1);
  Read({manyFields, longLine, stray, "$", "$GP", "$GPRMC", "*", "$GPRMC,*00"});
  EXPECT_EQ(track.GpsList.Count(), 0);
}

TEST_F(NmeaFileTest, MissingFileIsAnErrorNamingIt) {
  try {
    track.SetFileName("/no/such/track.nmea");
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find("/no/such/track.nmea"), std::string::npos);
  }
}

// A log on disk goes through a buffer a megabyte at a time: wherever the pieces are cut (between
// the CR and the LF of a line end, inside a line longer than the buffer), the points, their bits
// and the error of a broken GGA-only log must be those of the same bytes read whole.
class LogFile {
 public:
  explicit LogFile(const std::string& bytes) : FPath(FFolder.Write("log.nmea", bytes)) {}
  const std::string& Path() const { return FPath; }

 private:
  test::TTempFolder FFolder;
  std::string FPath;
};

struct Reading {
  std::string points;  // the view-file bytes of the list
  std::string error;
};

Reading ReadLog(const std::string& bytes, bool fromFile) {
  TNmeaFile file;
  Reading reading;
  try {
    if (fromFile) {
      const LogFile log(bytes);
      file.SetFileName(log.Path());
    } else {
      file.ReadFromMemory(bytes);
    }
  } catch (const EHakuvoError& error) {
    reading.error = error.what();
    // The message names the file it came from; the rest must agree.
    const std::size_t nameEnd = reading.error.find("\r\n");
    if (nameEnd != std::string::npos) reading.error.erase(0, nameEnd + 2);
  }
  std::ostringstream out;
  file.GpsList.SaveToStream(out);
  reading.points = out.str();
  return reading;
}

TEST_F(NmeaFileTest, FileReadInPiecesEqualsTheSameBytesReadWhole) {
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::mt19937 random(42);
  const auto fix = [](int i) {
    char time[16], latitude[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d", i / 3600 % 24, i / 60 % 60, i % 60);
    std::snprintf(latitude, sizeof latitude, "35%02d.%04d", i / 10000 % 60, i % 10000);
    return std::vector<std::string>{
        S(std::string("$GPGGA,") + time + "," + latitude + ",N,13946.000,E,1,12,0.8," + std::to_string(i % 90) +
          ".5,M,39.0,M,,"),
        S(std::string("$GNRMC,") + time + ",A," + latitude + ",N,13946.000,E,0,0,010120,,,A")};
  };
  // A padding line that puts the CR of its line end last in the first piece, its LF first in the
  // second, once the text has grown near the end of the first piece.
  const auto splitFirstLineEnd = [&](std::string& text) {
    if (text.size() > kPiece - 200 && text.size() < kPiece) {
      text += std::string(kPiece - 1 - text.size(), 'y') + "\r\n";
      ASSERT_EQ(text[kPiece - 1], '\r');
    }
  };
  // Sentences with CR LF, and padding lines of random length.
  std::string crlf;
  for (int i = 0; crlf.size() < 3 * kPiece; ++i) {
    for (const std::string& line : fix(i)) crlf += line + "\r\n";
    crlf += std::string(random() % 90, 'x') + "\r\n";
    splitFirstLineEnd(crlf);
  }
  std::string crOnly = crlf;
  std::erase(crOnly, '\n');
  std::string lfOnly = crlf;
  std::erase(lfOnly, '\r');
  // A line of three megabytes in the middle, and a last line without its line end.
  std::string longLine = lfOnly.substr(0, 5000) + "$GPGGA," + std::string(3 * kPiece, '7') + "\n" +
                         lfOnly.substr(5000, 20000) + fix(99999)[1];
  std::string utf16("\xFF\xFE", 2);
  for (char c : lfOnly.substr(0, 30000)) utf16 += std::string{c, '\0'};
  // GGA sentences only, the 30001st of them a latitude that is no number: the error names its line.
  std::string ggaOnly;
  for (int i = 0; i < 40000; ++i) {
    ggaOnly += (i == 30000 ? S("$GPGGA,010203,35x0.000,N,13946.000,E,1,12,0.8,40.0,M,39.0,M,,") : fix(i)[0]) + "\r\n";
    splitFirstLineEnd(ggaOnly);
  }

  const std::pair<const char*, std::string> logs[] = {
      {"CR LF", crlf},
      {"CR only", crOnly},
      {"LF only", lfOnly},
      {"long line, no last line end", longLine},
      {"UTF-8 mark", "\xEF\xBB\xBF" + crlf},
      {"UTF-16", utf16},
      {"GGA only, broken", ggaOnly},
  };
  for (const auto& [what, bytes] : logs) {
    const Reading whole = ReadLog(bytes, false);
    const Reading pieces = ReadLog(bytes, true);
    EXPECT_GT(whole.points.size(), 4u * TGpsDataList::ViewFilePointSize) << what;
    EXPECT_TRUE(whole.points == pieces.points) << what;
    EXPECT_EQ(whole.error, pieces.error) << what;
  }
  EXPECT_NE(ReadLog(ggaOnly, true).error.find("30002行目"), std::string::npos);  // after the padding
}

struct RealLog {
  const char* file;
  int points;
  int untimed;
  double totalKm;
  const char* first;
  double firstLatitude, firstLongitude, firstAltitude;
  const char* last;
  double lastLatitude, lastLongitude, lastAltitude;
};

TEST_F(NmeaFileTest, RealLogs) {
  if (!std::filesystem::is_directory(kTracks)) GTEST_SKIP() << "no real track files at " << kTracks;
  // Counts, positions and distances from an independent reading of the same rules.
  const RealLog logs[] = {
      {"nmeadatetime.nmea", 19, 2, 0.000377407008, "2019/10/24 07:25:07", -42.832757, 147.4455325, 0, "0", -42.8327585,
       147.4455285, 30.2},
      {"adddate.nmea", 500, 500, 7.525309819909, "0", 50.2246, 17.174616666666667, 468.77, "0", 50.215966666666667,
       17.1044, 566.74},
      {"nmea_ms.log", 30, 0, 0.002499946416, "2007/08/17 18:31:56", 53.556728333333333, 9.865575, 47.5,
       "2007/08/17 18:32:03", 53.556728333333333, 9.865578333333333, 49.9},
  };
  for (const RealLog& log : logs) {
    SCOPED_TRACE(log.file);
    TNmeaFile file;
    file.SetFileName(kTracks + log.file);
    ASSERT_EQ(file.GpsList.Count(), log.points);
    int untimed = 0;
    for (const auto& point : file.GpsList) untimed += point->RecordTime() == 0;
    EXPECT_EQ(untimed, log.untimed);
    EXPECT_NEAR(static_cast<double>(file.TotalDistance()), log.totalKm, 1e-9);
    const TGpsData& first = *file.GpsList.Get(0);
    const TGpsData& last = *file.GpsList.Get(log.points - 1);
    EXPECT_EQ(Local(first.RecordTime()), log.first);
    EXPECT_NEAR(static_cast<double>(first.Latitude()), log.firstLatitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(first.Longitude()), log.firstLongitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(first.Altitude()), log.firstAltitude, 1e-12);
    EXPECT_EQ(Local(last.RecordTime()), log.last);
    EXPECT_NEAR(static_cast<double>(last.Latitude()), log.lastLatitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(last.Longitude()), log.lastLongitude, 1e-12);
    EXPECT_NEAR(static_cast<double>(last.Altitude()), log.lastAltitude, 1e-12);
  }
}

// Real logs as a receiver leaves them when it is switched on without a fix and off in the middle
// of a line: the same points, less the one whose line was cut.
TEST_F(NmeaFileTest, RealLogsStartedWithoutAFixAndCutOff) {
  if (!std::filesystem::is_directory(kTracks)) GTEST_SKIP() << "no real track files at " << kTracks;
  const std::string noFix[] = {S("$GPGGA,000000.000,,,,,0,00,,,M,,M,,"), S("$GPRMC,000000.000,V,,,,,,,,,,N"),
                               S("$GPGGA,000001.000,5013.000,N,01710.000,E,0,00,,,M,,M,,")};
  for (const char* name : {"adddate.nmea", "nmeadatetime.nmea", "nmea_ms.log"}) {
    SCOPED_TRACE(name);
    std::ifstream in(kTracks + name, std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TNmeaFile original;
    original.ReadFromMemory(log);
    ASSERT_GT(original.GpsList.Count(), 10);

    // The log ends in the last sentence that gives a point (RMC, or GGA in a log of GGA only),
    // cut in its longitude.
    std::string damaged;
    for (const std::string& line : noFix) damaged += line + "\r\n";
    const bool rmc = log.find("RMC,") != std::string::npos;
    const std::size_t lastLine = log.rfind(rmc ? "$GPRMC," : "$GPGGA,");
    ASSERT_NE(lastLine, std::string::npos);
    std::size_t cutAt = lastLine;
    for (int comma = 0; comma < (rmc ? 5 : 4); ++comma) cutAt = log.find(',', cutAt) + 1;
    damaged += log.substr(0, cutAt + 3);
    track.ReadFromMemory(damaged);
    ASSERT_EQ(track.GpsList.Count(), original.GpsList.Count() - 1);
    for (int i = 0; i < track.GpsList.Count(); ++i) {
      EXPECT_EQ(At(i).Latitude(), original.GpsList.Get(i)->Latitude()) << i;
      EXPECT_EQ(At(i).Longitude(), original.GpsList.Get(i)->Longitude()) << i;
      EXPECT_EQ(At(i).RecordTime(), original.GpsList.Get(i)->RecordTime()) << i;
    }
  }
}

TEST_F(NmeaFileTest, RealLogWithWindow) {
  track.SetStartPos(EncodeDateTime(2007, 8, 17, 18, 31, 58));
  track.SetEndPos(EncodeDateTime(2007, 8, 17, 18, 32, 0));
  track.SetFileName(kTracks + "nmea_ms.log");
  EXPECT_EQ(track.GpsList.Count(), 12);
  for (const auto& point : track.GpsList) {
    EXPECT_GE(point->RecordTime(), track.StartPos());
    EXPECT_LE(point->RecordTime(), track.EndPos());
  }
}

}  // namespace
}  // namespace hakuvo
