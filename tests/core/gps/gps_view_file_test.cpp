#include "core/gps/gps_view_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/gps/gps_file.h"
#include "core/gps/scoped_time_zone.h"
#include "core/model/link_data.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

const std::string kTracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";

using test::TTempFolder;

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  return files;
}

std::string Bits(Extended value) { return std::string(reinterpret_cast<const char*>(&value), 10); }
std::string Bits(double value) { return std::string(reinterpret_cast<const char*>(&value), 8); }

// The points of the view file are those the reader gives for the whole file, bit for bit.
void ExpectSamePoints(const TGpsDataList& expected, const TGpsDataList& actual) {
  ASSERT_EQ(actual.Count(), expected.Count());
  for (int i = 0; i < expected.Count(); ++i) {
    const TGpsData& e = *expected.Get(i);
    const TGpsData& a = *actual.Get(i);
    ASSERT_EQ(Bits(a.RecordTime()), Bits(e.RecordTime())) << "point " << i;
    ASSERT_EQ(Bits(a.Latitude()), Bits(e.Latitude())) << "point " << i;
    ASSERT_EQ(Bits(a.Longitude()), Bits(e.Longitude())) << "point " << i;
    ASSERT_EQ(Bits(a.Altitude()), Bits(e.Altitude())) << "point " << i;
  }
}

struct MakeGpsViewFileTest : ::testing::Test {
  ScopedTimeZone zone{"Asia/Tokyo"};
  TTempFolder thumbnails;
  TGpsFileLink link;

  void WriteOldViewFile(const std::string& name) {
    link.ViewFileName = (thumbnails.Path() / name).string();
    std::ofstream(link.ViewFileName, std::ios::binary) << "old";
  }
};

TEST_F(MakeGpsViewFileTest, ViewFileHoldsTheWholeTrackOfEveryFormat) {
  struct Case {
    const char* File;
    int Points;  // what the reader takes from the whole file
  };
  const Case cases[] = {
      {"bike_gpx.gpx", 1812},
      {"garmin-edge-200-output.gpx", 22},
      {"globalsat_gh625XT.gpx", 174},
      {"segmented_tracks.gpx", 46},
      {"google_ext.kml", 451},
      {"segmented_tracks-track.kml", 96},
      {"nmeadatetime.nmea", 19},
      {"adddate.nmea", 500},
      {"nmea_ms.log", 30},
      {"four-chained-files.fit", 1462},
      {"elemnt-bolt-developer-data.fit", 131},
      {"tcxparser-test.tcx", 383},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    TGpsFileLink trackLink;
    trackLink.FileName = kTracks + c.File;
    // The link's shown range must not cut the view file: it trims the list only when shown.
    trackLink.StartPos = 1;
    trackLink.EndPos = 2;
    ASSERT_TRUE(MakeGpsViewFile(trackLink, thumbnails.Path().string()));

    EXPECT_EQ(fs::path(trackLink.ViewFileName).parent_path(), thumbnails.Path());
    EXPECT_TRUE(
        std::regex_match(fs::path(trackLink.ViewFileName).filename().string(), std::regex("[0-9A-F]{32}\\.gps")))
        << trackLink.ViewFileName;

    const auto reader = CreateGpsFile(trackLink.FileName);
    reader->SetFileName(trackLink.FileName);
    ASSERT_EQ(reader->GpsList.Count(), c.Points);
    EXPECT_EQ(fs::file_size(trackLink.ViewFileName),
              4 + TGpsDataList::ViewFilePointSize * static_cast<std::size_t>(reader->GpsList.Count()));

    TGpsFile loaded;
    loaded.GpsList.LoadFromFile(trackLink.ViewFileName);
    ExpectSamePoints(reader->GpsList, loaded.GpsList);
    EXPECT_EQ(loaded.TotalDistance(), reader->TotalDistance());
    EXPECT_EQ(trackLink.StartPos, 1);
    EXPECT_EQ(trackLink.EndPos, 2);
  }
}

TEST_F(MakeGpsViewFileTest, MakingItAgainLeavesOneFile) {
  link.FileName = kTracks + "garmin-edge-200-output.gpx";
  ASSERT_TRUE(MakeGpsViewFile(link, thumbnails.Path().string()));
  const std::string first = link.ViewFileName;
  ASSERT_TRUE(MakeGpsViewFile(link, thumbnails.Path().string()));

  EXPECT_NE(link.ViewFileName, first);
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(FilesIn(thumbnails.Path()), std::vector<fs::path>{fs::path(link.ViewFileName)});
}

TEST_F(MakeGpsViewFileTest, OldViewFileOfAnotherFolderGoesToo) {
  TTempFolder oldFolder;
  link.FileName = kTracks + "nmeadatetime.nmea";
  link.ViewFileName = (oldFolder.Path() / "OLD.gps").string();
  std::ofstream(link.ViewFileName, std::ios::binary) << "old";
  ASSERT_TRUE(MakeGpsViewFile(link, thumbnails.Path().string()));
  EXPECT_TRUE(FilesIn(oldFolder.Path()).empty());
  EXPECT_EQ(fs::path(link.ViewFileName).parent_path(), thumbnails.Path());
}

TEST_F(MakeGpsViewFileTest, TrackThatCannotBeReadLeavesTheLinkAndItsOldFile) {
  struct Case {
    const char* File;
    const char* Message;
  };
  const Case cases[] = {
      {"gone.gpx", "が見つかりません\r\nファイル名を確認してください"},
      {"gone.kml", "ファイルを開けません"},
      {"gone.nmea", "ファイルを開けません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    WriteOldViewFile("OLD.gps");
    link.FileName = thumbnails.Path().string() + "/" + c.File;
    try {
      MakeGpsViewFile(link, thumbnails.Path().string());
      ADD_FAILURE() << "no error for a missing track";
    } catch (const EHakuvoError& error) {
      EXPECT_NE(std::string(error.what()).find(link.FileName), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find(c.Message), std::string::npos) << error.what();
    }
    EXPECT_EQ(link.ViewFileName, (thumbnails.Path() / "OLD.gps").string());
    EXPECT_EQ(FilesIn(thumbnails.Path()), std::vector<fs::path>{thumbnails.Path() / "OLD.gps"});
  }
}

TEST_F(MakeGpsViewFileTest, BrokenTrackLeavesTheLinkAndItsOldFile) {
  WriteOldViewFile("OLD.gps");
  link.FileName = (thumbnails.Path() / "broken.gpx").string();
  std::ofstream(link.FileName) << "<gpx><trk><trkseg><trkpt lat=\"35\" lon=\"139\"><ele>1</ele></trkpt>";
  EXPECT_THROW(MakeGpsViewFile(link, thumbnails.Path().string()), EHakuvoError);
  EXPECT_EQ(link.ViewFileName, (thumbnails.Path() / "OLD.gps").string());
  EXPECT_EQ(fs::file_size(link.ViewFileName), 3u);
  EXPECT_EQ(FilesIn(thumbnails.Path()).size(), 2u);  // the old view file and the broken track
}

TEST_F(MakeGpsViewFileTest, MissingFolderIsAnErrorThatKeepsTheOldFile) {
  WriteOldViewFile("OLD.gps");
  link.FileName = kTracks + "garmin-edge-200-output.gpx";
  EXPECT_THROW(MakeGpsViewFile(link, thumbnails.Path().string() + "/not-made"), EHakuvoError);
  EXPECT_EQ(link.ViewFileName, (thumbnails.Path() / "OLD.gps").string());
  EXPECT_TRUE(fs::exists(link.ViewFileName));
}

TEST_F(MakeGpsViewFileTest, FileThatIsNoTrackIsLeftAlone) {
  WriteOldViewFile("OLD.gps");
  for (const char* name : {"photo.jpg", "notes.txt", "noextension"}) {
    link.FileName = kTracks + name;
    EXPECT_FALSE(MakeGpsViewFile(link, thumbnails.Path().string())) << name;
  }
  EXPECT_EQ(link.ViewFileName, (thumbnails.Path() / "OLD.gps").string());
  EXPECT_EQ(FilesIn(thumbnails.Path()).size(), 1u);
}

TEST_F(MakeGpsViewFileTest, TrackWithoutPointsGivesAnEmptyViewFile) {
  link.FileName = (thumbnails.Path() / "empty.nmea").string();
  std::ofstream(link.FileName) << "$GPGSV,1,1,00*79\r\n";
  ASSERT_TRUE(MakeGpsViewFile(link, thumbnails.Path().string()));
  EXPECT_EQ(fs::file_size(link.ViewFileName), 4u);
  TGpsDataList loaded;
  loaded.LoadFromFile(link.ViewFileName);
  EXPECT_EQ(loaded.Count(), 0);
}

}  // namespace
}  // namespace hakuvo
