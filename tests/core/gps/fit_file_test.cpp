#include "core/gps/fit_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/gps/scoped_time_zone.h"
#include "support/fit_writer.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

using test::FitAltitude;
using test::FitSeconds;
using test::FitSemicircles;
using test::kFitAltitude;
using test::kFitEnhancedAltitude;
using test::kFitLatitude;
using test::kFitLongitude;
using test::kFitRecord;
using test::kFitTimestamp;
using test::TFitWriter;

const std::string kTracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";
const std::string kDamaged = std::string(HAKUVO_TESTDATA_DIR) + "/damaged/";

std::string Local(TDateTime value) { return value == 0 ? "0" : FormatDateTime("yyyy/mm/dd hh:nn:ss", value); }

// "yyyy-mm-ddThh:nn:ssZ" as local time in the zone now set, through the C library alone.
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

// A record with time, position and both altitudes, as most watches define it.
const std::vector<test::TFitField> kFullRecord = {kFitTimestamp, kFitLatitude, kFitLongitude, kFitAltitude,
                                                  kFitEnhancedAltitude};

struct FitFileTest : ::testing::Test {
  ScopedTimeZone zone{"Asia/Tokyo"};
  TFitFile track;

  const TGpsData& At(int index) { return *track.GpsList.Get(index); }

  // Reads the bytes; answers the error message, empty when there was none.
  std::string Read(const std::string& bytes) {
    try {
      track.ReadFromMemory(bytes);
    } catch (const EHakuvoError& error) {
      return error.what();
    }
    return {};
  }
};

TEST(FitCrcTest, IsTheSixteenBitCheckOfTheProtocol) {
  // The published check value of this CRC over the nine digits, a byte at a time and eight at a
  // time alike, and a file followed by its own check value gives 0.
  const std::string digits = "123456789";
  EXPECT_EQ(TFitWriter::Crc(digits), 0xBB3D);
  std::uint16_t crc = 0;
  for (const char c : digits) crc = FitCrc(crc, reinterpret_cast<const std::uint8_t*>(&c), 1);
  EXPECT_EQ(crc, 0xBB3D);
  const std::string file = TFitWriter().Define(0, kFitRecord, kFullRecord).Data(0, {1, 2, 3, 4, 5}).File();
  EXPECT_EQ(TFitWriter::Crc(file), 0);
}

TEST_F(FitFileTest, PositionTimeAndAltitudeAreConverted) {
  const std::int64_t t = FitSeconds(2014, 6, 1, 3, 0, 0);
  TFitWriter fit;
  fit.Define(0, kFitRecord, kFullRecord)
      .Data(0, {t, FitSemicircles(35.681236), FitSemicircles(139.767125), FitAltitude(40), FitAltitude(12.4)})
      // No enhanced altitude: the short one; neither: 0.
      .Data(0, {t + 1, FitSemicircles(-33.8568), FitSemicircles(-151.2153), FitAltitude(-3.2), test::kFitInvalidUint32})
      .Data(0, {t + 2, FitSemicircles(51.5), FitSemicircles(-0.1), test::kFitInvalidUint16, test::kFitInvalidUint32})
      // No position, or half of one: not a point.
      .Data(0, {t + 3, test::kFitInvalidSint32, test::kFitInvalidSint32, FitAltitude(1), FitAltitude(1)})
      .Data(0, {t + 4, FitSemicircles(35), test::kFitInvalidSint32, FitAltitude(1), FitAltitude(1)})
      .Data(0, {t + 5, test::kFitInvalidSint32, FitSemicircles(139), FitAltitude(1), FitAltitude(1)});
  ASSERT_EQ(Read(fit.File()), "");
  ASSERT_EQ(track.GpsList.Count(), 3);
  struct Expected {
    const char* time;
    double latitude, longitude, altitude;
  };
  const Expected expected[] = {{"2014/06/01 12:00:00", 35.681236, 139.767125, 12.4},
                               {"2014/06/01 12:00:01", -33.8568, -151.2153, -3.2},
                               {"2014/06/01 12:00:02", 51.5, -0.1, 0}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Local(At(i).RecordTime()), expected[i].time) << i;
    // A semicircle is 8.4e-8 degrees.
    EXPECT_NEAR(static_cast<double>(At(i).Latitude()), expected[i].latitude, 1e-7) << i;
    EXPECT_NEAR(static_cast<double>(At(i).Longitude()), expected[i].longitude, 1e-7) << i;
    EXPECT_NEAR(static_cast<double>(At(i).Altitude()), expected[i].altitude, 1e-9) << i;
  }
  // Exactly semicircles × 180 / 2^31.
  EXPECT_EQ(At(0).Latitude(), FitSemicircles(35.681236) * 180.0L / 2147483648.0L);
}

TEST_F(FitFileTest, BothByteOrdersAndDeveloperFieldsGiveTheSamePoints) {
  const std::int64_t t = FitSeconds(2020, 1, 2, 3, 4, 5);
  const std::vector<std::int64_t> values = {t, FitSemicircles(43.5), FitSemicircles(11.25), FitAltitude(300),
                                            FitAltitude(301.6)};
  std::vector<std::string> readings;
  for (const bool bigEndian : {false, true}) {
    for (const std::vector<std::uint8_t>& developer : {std::vector<std::uint8_t>{}, {1, 4, 255}}) {
      TFitWriter fit;
      fit.Define(3, kFitRecord, kFullRecord, bigEndian, developer).Data(3, values).Data(3, values);
      ASSERT_EQ(Read(fit.File()), "") << bigEndian << developer.size();
      std::ostringstream out;
      track.GpsList.SaveToStream(out);
      readings.push_back(out.str());
    }
  }
  ASSERT_EQ(track.GpsList.Count(), 2);
  EXPECT_NEAR(static_cast<double>(At(1).Altitude()), 301.6, 1e-9);
  for (const std::string& reading : readings) EXPECT_TRUE(reading == readings[0]);
}

TEST_F(FitFileTest, CompressedTimestampsCountFromTheLastFullTime) {
  // The five bits of a compressed header replace the low bits of the last time, rolling over into
  // the next 32 seconds when they are smaller; a full time in any message sets the base.
  const std::int64_t t = (FitSeconds(2021, 3, 4, 5, 6, 0) & ~std::int64_t{0x1F}) + 28;
  TFitWriter fit;
  fit.Define(0, kFitRecord, {kFitLatitude, kFitLongitude})
      .Compressed(0, 5, {FitSemicircles(35), FitSemicircles(139)})  // before any full time: unknown
      .Define(1, 21, {kFitTimestamp})                               // an event message with a time
      .Data(1, {t})
      .Compressed(0, 30, {FitSemicircles(35.001), FitSemicircles(139)})  // t + 2
      .Compressed(0, 2, {FitSemicircles(35.002), FitSemicircles(139)})   // rolls over: t + 6
      .Compressed(0, 1, {FitSemicircles(35.003), FitSemicircles(139)});  // and again: t + 37
  ASSERT_EQ(Read(fit.File()), "");
  ASSERT_EQ(track.GpsList.Count(), 4);
  EXPECT_EQ(At(0).RecordTime(), 0);
  const TDateTime base = At(1).RecordTime();
  EXPECT_EQ(base, track.LocalFromUtc(FitTimeToUtc(static_cast<std::uint32_t>(t + 2))));
  EXPECT_NEAR((At(2).RecordTime() - base) * 86400, 4, 1e-6);
  EXPECT_NEAR((At(3).RecordTime() - base) * 86400, 35, 1e-6);
}

TEST_F(FitFileTest, TimesOutsideTheClockAndTheWindow) {
  const std::int64_t t = FitSeconds(2019, 7, 1, 0, 0, 0);
  TFitWriter fit;
  fit.Define(0, kFitRecord, {kFitTimestamp, kFitLatitude, kFitLongitude})
      .Data(0, {1000, FitSemicircles(35), FitSemicircles(139)})  // seconds since switched on
      .Data(0, {test::kFitInvalidUint32, FitSemicircles(35), FitSemicircles(139)})
      .Data(0, {t, FitSemicircles(35), FitSemicircles(139)})
      .Data(0, {t + 3600, FitSemicircles(35), FitSemicircles(139)})
      .Data(0, {t + 7200, FitSemicircles(35), FitSemicircles(139)});
  const std::string file = fit.File();
  ASSERT_EQ(Read(file), "");
  ASSERT_EQ(track.GpsList.Count(), 5);
  EXPECT_EQ(At(0).RecordTime(), 0);
  EXPECT_EQ(At(1).RecordTime(), 0);
  EXPECT_EQ(Local(At(2).RecordTime()), "2019/07/01 09:00:00");

  // The window keeps points of unknown time and those inside it, both ends included.
  TFitFile windowed;
  windowed.SetStartPos(At(3).RecordTime());
  windowed.SetEndPos(At(4).RecordTime());
  windowed.ReadFromMemory(file);
  ASSERT_EQ(windowed.GpsList.Count(), 4);
  EXPECT_EQ(Local(windowed.GpsList.Get(2)->RecordTime()), "2019/07/01 10:00:00");
}

TEST_F(FitFileTest, FieldsOfAnotherSizeAreNotTaken) {
  const test::TFitField shortLatitude{0, 2, 0x83};
  const test::TFitField wideAltitude{78, 8, 0x8F};
  TFitWriter fit;
  fit.Define(0, kFitRecord, {kFitTimestamp, shortLatitude, kFitLongitude})
      .Data(0, {FitSeconds(2020, 1, 1, 0, 0, 0), 100, FitSemicircles(139)})
      .Define(0, kFitRecord, {kFitLatitude, kFitLongitude, wideAltitude, kFitAltitude})
      .Data(0, {FitSemicircles(35), FitSemicircles(139), 123456789, FitAltitude(7)})
      // Another message's fields 0 and 1 are not a position.
      .Define(1, 19, {kFitLatitude, kFitLongitude})
      .Data(1, {FitSemicircles(36), FitSemicircles(140)});
  ASSERT_EQ(Read(fit.File()), "");
  ASSERT_EQ(track.GpsList.Count(), 1);
  EXPECT_NEAR(static_cast<double>(At(0).Altitude()), 7, 1e-9);
}

TEST_F(FitFileTest, ChainedFilesAreReadInTurnEachWithItsOwnDefinitions) {
  const std::int64_t t = FitSeconds(2022, 5, 6, 7, 8, 9);
  TFitWriter first, second, orphan;
  first.Define(0, kFitRecord, {kFitTimestamp, kFitLatitude, kFitLongitude}).Data(0, {t, FitSemicircles(1), 0});
  second.Define(0, kFitRecord, {kFitLatitude, kFitLongitude, kFitTimestamp}, true)
      .Data(0, {FitSemicircles(2), 0, t + 1});
  ASSERT_EQ(Read(first.File() + second.File(false) + first.File()), "");
  ASSERT_EQ(track.GpsList.Count(), 3);
  EXPECT_NEAR(static_cast<double>(At(1).Latitude()), 2, 1e-7);
  EXPECT_NEAR((At(1).RecordTime() - At(0).RecordTime()) * 86400, 1, 1e-6);

  // A data message that leans on a definition of the file before it.
  orphan.Data(0, {t, FitSemicircles(3), 0});
  const std::string file = first.File() + orphan.File();
  const std::string error = Read(file);
  EXPECT_NE(error.find(std::to_string(first.File().size() + 14) + "バイト目"), std::string::npos) << error;
  EXPECT_NE(error.find("ローカルメッセージ型 0"), std::string::npos) << error;
  EXPECT_EQ(track.GpsList.Count(), 0);
}

// Damaged and hostile files: each is refused with the byte where it goes wrong, and no point of
// it is kept, whatever came before the damage.
TEST_F(FitFileTest, DamagedFilesAreRefusedAtTheirByte) {
  TFitWriter good;
  good.Define(0, kFitRecord, kFullRecord);
  for (int i = 0; i < 4; ++i) good.Data(0, {FitSeconds(2020, 1, 1, 0, 0, i), FitSemicircles(35), 0, 0, 0});
  const std::string file = good.File();
  const std::size_t size = file.size();
  const auto with = [&](std::size_t at, char byte) {
    std::string changed = file;
    changed[at] = byte;
    return changed;
  };
  const auto refit = [](std::string bytes) {
    // A file whose check values are right again after a change inside it.
    const auto put = [&](std::size_t at, std::uint16_t value) {
      bytes[at] = static_cast<char>(value & 0xFF);
      bytes[at + 1] = static_cast<char>(value >> 8);
    };
    put(12, TFitWriter::Crc(bytes.substr(0, 12)));
    put(bytes.size() - 2, TFitWriter::Crc(bytes.substr(0, bytes.size() - 2)));
    return bytes;
  };
  // The second data message, after a definition of 21 bytes and a message of 19.
  std::string undefinedLocal = refit(with(14 + 21 + 19, 0x05));
  std::string cutMessage = TFitWriter().Define(0, kFitRecord, kFullRecord).Raw(std::string(10, '\0')).File();
  std::string cutDefinition = TFitWriter().Raw(std::string("\x40\0\0\x14\0\xFF\0\x04", 8)).File();
  std::string zeroDataSize = file;
  for (int i = 4; i < 8; ++i) zeroDataSize[static_cast<std::size_t>(i)] = 0;
  zeroDataSize = refit(zeroDataSize);
  struct Case {
    const char* what;
    std::string bytes;
    std::string at;      // "<offset>バイト目"
    const char* reason;  // part of the message
  };
  const Case cases[] = {
      {"empty", "", "0", "空"},
      {"no signature", with(8, 'X'), "0", "ヘッダーがありません"},
      {"header of 11 bytes", with(0, 11), "0", "ヘッダーがありません"},
      {"header check value", with(2, 0x21), "0", "ヘッダーのCRC"},
      {"file check value", with(14 + 10, 0x7F), std::to_string(size - 2), "ファイルのCRC"},
      {"cut short", file.substr(0, size - 3), std::to_string(size - 3), "途中で切れています"},
      {"only a header", file.substr(0, 10), "0", "途中で切れています"},
      {"undefined local type", undefinedLocal, "54", "定義されていません"},
      {"message past the end", cutMessage, "35", "データの終わりを越えています"},
      {"definition past the end", cutDefinition, "14", "定義メッセージ"},
      // A header written before the data, never updated: the check value covers the header alone.
      {"data size of 0", zeroDataSize, "14", "ファイルのCRC"},
      {"bytes after the file", file + "junk", std::to_string(size), "余分なデータ"},
  };
  for (const Case& c : cases) {
    track.GpsList.Add(1, 2, 3, 4);  // what a reading must not keep
    const std::string error = Read(c.bytes);
    EXPECT_NE(error.find(c.at + "バイト目"), std::string::npos) << c.what << ": " << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(track.GpsList.Count(), 0) << c.what;
  }
  // The file itself reads, so each case above fails for its own change.
  EXPECT_EQ(Read(file), "");
  EXPECT_EQ(track.GpsList.Count(), 4);
}

TEST_F(FitFileTest, HostileButWellFormedFilesAreReadInBoundedWork) {
  // The largest definition there is: 255 fields of 255 bytes and 255 developer fields of 255.
  std::vector<test::TFitField> widest;
  for (int i = 0; i < 255; ++i) widest.push_back({static_cast<std::uint8_t>(i), 255, 0x0D});
  TFitWriter wide;
  wide.Define(0, kFitRecord, widest, false, std::vector<std::uint8_t>(255, 255)).Data(0, {});
  EXPECT_EQ(Read(wide.File()), "");
  EXPECT_EQ(track.GpsList.Count(), 0);

  // A million definitions, then a million messages of no fields at all.
  TFitWriter many;
  for (int i = 0; i < 1000000; ++i) many.Define(i & 0x0F, kFitRecord, {});
  for (int i = 0; i < 1000000; ++i) many.Data(i & 0x0F, {});
  many.Define(0, kFitRecord, {kFitLatitude, kFitLongitude}).Data(0, {FitSemicircles(35), FitSemicircles(139)});
  EXPECT_EQ(Read(many.File()), "");
  EXPECT_EQ(track.GpsList.Count(), 1);
}

// A file on disk is read a window at a time; what it gives must be what the same bytes give in
// memory, to the bit and to the error, wherever the messages and files meet the window's edges.
TEST_F(FitFileTest, FilesOnDiskReadAsTheSameBytesInMemory) {
  std::vector<test::TFitField> widest;
  for (int i = 0; i < 255; ++i) widest.push_back({static_cast<std::uint8_t>(i), 255, 0x0D});
  TFitWriter first, second;
  first.Define(0, kFitRecord, kFullRecord).Define(1, kFitRecord, widest, true, std::vector<std::uint8_t>(255, 255));
  const std::int64_t t = FitSeconds(2024, 8, 1, 6, 0, 0);
  for (int i = 0; i < 120000; ++i) {
    first.Data(0,
               {t + i, FitSemicircles(35 + i * 1e-5), FitSemicircles(139), FitAltitude(i % 100), FitAltitude(i % 90)});
    if (i % 20000 == 7) first.Data(1, {});  // messages of 130,050 bytes here and there
  }
  second.Define(2, kFitRecord, {kFitLatitude, kFitLongitude, kFitTimestamp}, true);
  for (int i = 0; i < 3000; ++i) second.Data(2, {FitSemicircles(-33), FitSemicircles(151 + i * 1e-5), t + i});
  const std::string whole = first.File() + second.File() + first.File(false);
  ASSERT_GT(whole.size(), std::size_t{4} << 20);
  std::string damagedEnd = whole;
  damagedEnd[whole.size() - 100] ^= 0x01;
  std::string damagedStart = whole;
  damagedStart[40] ^= 0x10;  // a definition's field, in the first file
  test::TTempFolder folder;
  for (const std::string* bytes : std::vector<const std::string*>{&whole, &damagedEnd, &damagedStart}) {
    const std::string error = Read(*bytes);
    std::ostringstream inMemory;
    track.GpsList.SaveToStream(inMemory);
    TFitFile onDisk;
    std::string diskError;
    try {
      onDisk.SetFileName(folder.Write("ride.fit", *bytes));
    } catch (const EHakuvoError& e) {
      diskError = e.what();
    }
    std::ostringstream fromDisk;
    onDisk.GpsList.SaveToStream(fromDisk);
    EXPECT_TRUE(fromDisk.str() == inMemory.str());
    // The messages differ only in the file name in front.
    EXPECT_EQ(diskError.empty() ? "" : diskError.substr(diskError.find("\r\n") + 2), error);
  }
  EXPECT_EQ(Read(whole), "");
  EXPECT_EQ(track.GpsList.Count(), 2 * 120000 + 3000);
  EXPECT_NE(
      Read(damagedEnd).find(std::to_string(whole.size() - 2) + "バイト目: FITファイルとして読めません（ファイルのCRC"),
      std::string::npos);
  EXPECT_NE(Read(damagedStart).find("ファイルのCRCが一致しません"), std::string::npos) << Read(damagedStart);
}

TEST_F(FitFileTest, MissingFileNamesTheFile) {
  test::TTempFolder folder;
  // Reading happens on setting the name, so the error comes from there.
  try {
    track.SetFileName(folder.Path("absent.FIT"));
    FAIL() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find("absent.FIT"), std::string::npos) << error.what();
  }
}

// Real files from a public FIT test set, against the independent reading listed beside them.
TEST(FitRealFilesTest, MatchTheIndependentReadingInTwoZones) {
  if (!std::filesystem::is_directory(kTracks)) GTEST_SKIP() << "no real track files at " << kTracks;
  struct Case {
    const char* file;
    int points;
    const char* first;
    const char* last;
    double km;
  };
  const Case cases[] = {
      {"garmin-fenix-5-walk.fit", 17, "2017-06-11T14:32:51", "2017-06-11T14:33:37", 0.068023121},
      {"2015-10-13-08-43-15.fit", 221, "2015-10-13T15:43:15", "2015-10-13T16:10:18", 11.527204994},
      {"elemnt-bolt-developer-data.fit", 131, "2017-08-21T08:18:01", "2017-08-21T08:20:11", 0.953809402},
      {"activity-settings-chained.fit", 14, "2012-04-09T21:22:26", "2012-04-09T21:22:39", 0.005766159},
      {"four-chained-files.fit", 1462, "2018-05-27T07:33:01", "2018-05-27T10:11:12", 52.518080516},
      {"compressed-speed-distance.fit", 0, nullptr, nullptr, 0},
  };
  for (const char* zoneName : {"Asia/Tokyo", "America/New_York"}) {
    ScopedTimeZone zone(zoneName);
    for (const Case& c : cases) {
      TFitFile track;
      track.SetFileName(kTracks + c.file);
      EXPECT_EQ(track.GpsList.Count(), c.points) << c.file;
      EXPECT_EQ(Local(track.FirstDateTime()), c.first ? LocalOfUtc(c.first) : "0") << c.file << " " << zoneName;
      EXPECT_EQ(Local(track.EndDateTime()), c.last ? LocalOfUtc(c.last) : "0") << c.file << " " << zoneName;
      EXPECT_NEAR(static_cast<double>(track.TotalDistance()), c.km, 1e-8) << c.file;
    }
  }
}

TEST(FitRealFilesTest, DamagedRealFilesAreRefused) {
  if (!std::filesystem::is_directory(kTracks)) GTEST_SKIP() << "no real track files at " << kTracks;
  struct Case {
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {"bad-file-crc.fit", "769バイト目: FITファイルとして読めません（ファイルのCRCが一致しません）"},
      {"bad-cut-short.fit", "768バイト目: FITファイルとして読めません（ファイルが途中で切れています"},
      {"bad-chained-header.fit", "771バイト目: FITファイルとして読めません（FITファイルの後に余分なデータがあります）"},
  };
  for (const Case& c : cases) {
    TFitFile track;
    try {
      track.SetFileName(kDamaged + c.file);
      ADD_FAILURE() << c.file << " was read";
    } catch (const EHakuvoError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.find(kDamaged + c.file + "\r\n"), 0u) << message;
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
    EXPECT_EQ(track.GpsList.Count(), 0) << c.file;
  }
}

}  // namespace
}  // namespace hakuvo
