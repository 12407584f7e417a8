// `hakuvo-cli geotag`: where each photograph of an outing lands, read from a diary made by import.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "support/run_cli.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

using test::RunCli;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class Geotag : public ::testing::Test {
 protected:
  void SetUp() override {
    // The track's times are UTC in the file; the diary keeps local times.
    setenv("TZ", "UTC", 1);
    tzset();
    const std::string photos = std::string(HAKUVO_TESTDATA_DIR) + "/photos/";
    Canon = photos + "Canon_40D.jpg";                 // taken 2008-05-30 15:56:01, no position
    WithGps = photos + "gps_DSCN0010.jpg";            // its own position
    NoTime = photos + "orientation_landscape_1.jpg";  // neither
    Track = Folder.Write("walk.gpx",
                         "<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>"
                         "<trkpt lat=\"35.0\" lon=\"139.0\"><time>2008-05-30T15:55:00Z</time></trkpt>"
                         "<trkpt lat=\"35.002\" lon=\"139.004\"><time>2008-05-30T15:57:00Z</time></trkpt>"
                         "</trkseg></trk></gpx>");
    DiaryPath = Folder.Path("walks.hkvj");
    const auto made =
        RunCli("import " + DiaryPath + " --date 2008/05/30 " + Canon + " " + WithGps + " " + NoTime + " " + Track);
    ASSERT_EQ(made.Status, 0) << made.Out;
  }
  void TearDown() override {
    unsetenv("TZ");
    tzset();
  }

  void SetOffset(double seconds) {
    TDiary diary(DiaryPath);
    diary.Load();
    diary.Days[0]->ActDataList[0]->CameraClockOffset = seconds;
    diary.Save();
  }

  test::TTempFolder Folder;
  std::string Canon, WithGps, NoTime, Track, DiaryPath;
};

TEST_F(Geotag, EachPhotographWithWhereItLandsAndWhy) {
  const auto result = RunCli("geotag " + DiaryPath + " --date 2008/05/30");
  ASSERT_EQ(result.Status, 0) << result.Out;
  const auto lines = Lines(result.Out);
  ASSERT_EQ(lines.size(), 4u) << result.Out;
  EXPECT_EQ(lines[0], "date\tfile\tshot_time\tsource\tlatitude\tlongitude\ttrack_time\toffset_s\treason");
  // 61 s into the two minutes between the fixes.
  EXPECT_EQ(lines[1], "2008/05/30\t" + Canon + "\t2008/05/30 15:56:01\ttrack\t35.0010166666667\t139.002033333333\t" +
                          "2008/05/30 15:56:01\t0\t");
  EXPECT_EQ(lines[2].substr(0, lines[2].find("\t", lines[2].find("exif"))),
            "2008/05/30\t" + WithGps + "\t2008/10/22 16:28:39\texif");
  EXPECT_NE(lines[2].find("\t43.4674483333333\t11.8851266666"), std::string::npos) << lines[2];
  EXPECT_EQ(lines[3], "2008/05/30\t" + NoTime + "\t0\tnone\t\t\t\t\tno position and no shooting time");
}

TEST_F(Geotag, TheOutingsCameraOffsetMovesThePhotographAndWritesNothing) {
  SetOffset(-30);
  const std::string before = ReadBytes(DiaryPath);
  const auto stamp = std::filesystem::last_write_time(DiaryPath);
  auto lines = Lines(RunCli("geotag " + DiaryPath).Out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[1].find("\ttrack\t35.0005166666667\t139.001033333333\t2008/05/30 15:55:31\t-30\t"), std::string::npos)
      << lines[1];
  EXPECT_EQ(ReadBytes(DiaryPath), before);
  EXPECT_EQ(std::filesystem::last_write_time(DiaryPath), stamp);
  SetOffset(120);
  lines = Lines(RunCli("geotag " + DiaryPath).Out);
  EXPECT_NE(lines[1].find("\tnone\t\t\t2008/05/30 15:58:01\t+120\tafter the track"), std::string::npos) << lines[1];
  SetOffset(-120);
  lines = Lines(RunCli("geotag " + DiaryPath).Out);
  EXPECT_NE(lines[1].find("\tnone\t\t\t2008/05/30 15:54:01\t-120\tbefore the track"), std::string::npos) << lines[1];
}

TEST_F(Geotag, OtherDaysAndBadDatesAndNoTrack) {
  EXPECT_EQ(Lines(RunCli("geotag " + DiaryPath + " --date 2008/05/31").Out).size(), 1u);
  EXPECT_EQ(RunCli("geotag " + DiaryPath + " --date yesterday").Status, 2);
  EXPECT_EQ(RunCli("geotag").Status, 2);
  // Without its track, the photograph without a position has nowhere to go.
  std::filesystem::remove(Track);
  const auto lines = Lines(RunCli("geotag " + DiaryPath).Out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[1].find("\tnone\t\t\t\t\tno track"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("\texif\t"), std::string::npos) << lines[2];
}

}  // namespace
}  // namespace hakuvo
