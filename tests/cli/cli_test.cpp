// Runs hakuvo-cli on diaries written here and checks what it prints.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "core/common/guid.h"
#include "core/datafile/day_data_file.h"
#include "core/model/category_info_list.h"
#include "core/settings/child_window_info.h"
#include "support/run_cli.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

using test::RunCli;
using Result = test::TCliResult;

// The program's standard output and standard error apart, for checks on the form of errors.
struct SplitResult {
  int Status;
  std::string Out;
  std::string Err;
};

SplitResult RunCliSplit(const std::string& arguments, const std::filesystem::path& errorFile) {
  const Result result = RunCli(arguments + " 2>" + errorFile.string());
  std::ifstream in(errorFile, std::ios::binary);
  return {result.Status, result.Out, std::string(std::istreambuf_iterator<char>(in), {})};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    DiaryPath = (Folder / "test.hkvj").string();
    // Twelve jogging outings of 1.5 .. 18 km, one walk of 9 km that the category must leave out.
    for (int i = 1; i <= 12; ++i) AddOuting(ctJogging, i, i * 1.5);
    AddOuting(ctWalking, 3, 9);
    TLinkDataOwner files, things, persons;
    TGraphInfo g1, g2;
    TChildWindowInfo layout;
    TDayDataFile file;
    file.SetFileName(DiaryPath);
    file.SetDayDataList(&Days);
    file.SetCategoryInfoList(Infos.get());
    file.SetFileList(&files);
    file.SetThingList(&things);
    file.SetPersonList(&persons);
    file.SetMultiDayGraphInfo(&g1);
    file.SetMultiDayGraphInfo2(&g2);
    file.SetChildWindowInfo(&layout);
    file.Save();
  }

  void AddOuting(TCategoryType kind, int day, double km) {
    const TDateTime date = EncodeDate(2025, 4, day);
    TDayData* found = Days.FindDate(date);
    if (found == nullptr) {
      auto fresh = std::make_unique<TDayData>();
      fresh->DateData = date;
      found = Days.Add(std::move(fresh));
    }
    TActData* act = found->AddAct(CreateActData(kind));
    act->RecordData->Tani = Infos->GetCategoryItems(kind)->Tani;
    auto& record = static_cast<TTimeRecord&>(*act->RecordData);
    record.StartTime = EncodeTime(7, 0, 0);
    record.EndTime = EncodeTime(8, 0, 0);
    record.SetData(km);
  }

  test::TTempFolder Temp;
  std::filesystem::path Folder = Temp.Path();
  std::string DiaryPath;
  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Infos = TCategoryInfoList::CreateStandard();
};

TEST_F(Cli, ExtractListsExactlyTheOutingsOfAtLeastFiveKilometres) {
  const Result result = RunCli("extract " + DiaryPath + " --category ジョギング '=[距離] >= 5'");
  ASSERT_EQ(result.Status, 0) << result.Out;
  const auto lines = Lines(result.Out);
  ASSERT_EQ(lines.size(), 1u + 9u) << result.Out;  // 6, 7.5, ... 18 km
  EXPECT_EQ(lines[0], "日付\t開始時刻\t終了時刻\tタイトル\t距離\t\t速度\t");
  EXPECT_EQ(lines[1], "2025/04/04\t07:00\t08:00\t\t6\tkm\t6.0\tkm/h");
  EXPECT_EQ(lines.back(), "2025/04/12\t07:00\t08:00\t\t18\tkm\t18.0\tkm/h");
}

TEST_F(Cli, ConditionsReadWithoutBlanksAndWithNotEqual) {
  const struct {
    std::string Condition;
    std::size_t Rows;
  } cases[] = {
      {"=[距離]>=5", 9},   {"=[距離] >= 5", 9}, {"=[距離]>10", 6},      {"=[距離]≧18", 1},          {"=[距離]<>18", 11},
      {"=[距離]!=18", 11}, {"=[距離]≠18", 11},  {"=［距離］＜＝６", 4}, {"=[距離]>6;=[距離]<9", 1},
  };
  for (const auto& c : cases) {
    const Result result = RunCli("extract " + DiaryPath + " --category ジョギング '" + c.Condition + "'");
    ASSERT_EQ(result.Status, 0) << c.Condition << "\n" << result.Out;
    EXPECT_EQ(Lines(result.Out).size(), 1u + c.Rows) << c.Condition << "\n" << result.Out;
  }
}

TEST_F(Cli, FormulaErrorsAndUsageErrorsHaveTheirExitStatus) {
  Result bad = RunCli("extract " + DiaryPath + " --category ジョギング '=[高度] > 1'");
  EXPECT_EQ(bad.Status, 1);
  EXPECT_NE(bad.Out.find("error: the formula is not correct (character "), std::string::npos) << bad.Out;
  EXPECT_EQ(RunCli("extract " + DiaryPath).Status, 2);
  EXPECT_EQ(RunCli("no-such-command").Status, 2);
  EXPECT_EQ(RunCli("list " + (Folder / "missing.hkvj").string()).Status, 1);
  EXPECT_EQ(RunCli("--help").Status, 0);
}

TEST_F(Cli, ListAndGraphMirrorTheWindows) {
  const auto list = Lines(RunCli("list " + DiaryPath).Out);
  ASSERT_EQ(list.size(), 14u);
  EXPECT_EQ(list[0], "日付\t開始時刻\t終了時刻\tタイトル\t距離(km)\t速度(km/h)");
  const auto energy = Lines(RunCli("list --energy " + DiaryPath).Out);
  EXPECT_EQ(energy[1], "2025/04/01\t07:00\t08:00\t\t1.5\t1.5\t60\t441");

  // The pace beside the speed, before the energy columns; m:ss per km from distance and duration.
  const auto pace = Lines(RunCli("list --pace --energy " + DiaryPath).Out);
  ASSERT_EQ(pace.size(), 14u);
  EXPECT_EQ(pace[0],
            "日付\t開始時刻\t終了時刻\tタイトル\t距離(km)\t速度(km/h)\tペース(分/km)\t体重(kg)\tカロリー(kcal)");
  EXPECT_EQ(pace[1], "2025/04/01\t07:00\t08:00\t\t1.5\t1.5\t40:00\t60\t441");
  EXPECT_EQ(pace.back(), "2025/04/12\t07:00\t08:00\t\t18\t18.0\t3:20\t60\t1134");
  EXPECT_NE(RunCli("list --pace " + DiaryPath).Out.find("\t9\t9.0\t6:40\n"), std::string::npos);

  const auto months = Lines(RunCli("graph " + DiaryPath + " --period month --category ジョギング --kind 1").Out);
  ASSERT_EQ(months.size(), 2u);
  EXPECT_EQ(months[1], "2025/04/01\t117");
  const auto acts = Lines(RunCli("graph " + DiaryPath + " --period act --category ウォーキング").Out);
  ASSERT_EQ(acts.size(), 2u);
  EXPECT_EQ(acts[1], "2025/04/03\t4/3\t9");
}

TEST_F(Cli, GraphCopyPrintsTheWindowsCopyText) {
  // Days 2 to 3 of April: the walk of the 3rd belongs to another category.
  EXPECT_EQ(RunCli("graph " + DiaryPath +
                   " --period day --category ジョギング --kind 1 --copy --from 2025/04/02 --to "
                   "2025/04/03")
                .Out,
            "日\t記録\r\n2025/04/02\t3\r\n2025/04/03\t4.5\r\n");
  EXPECT_EQ(RunCli("graph " + DiaryPath + " --period month --category ジョギング --kind 1 --copy --all").Out,
            "日\t記録\r\n2025/04/01\t117\r\n");
  // Per action: the action's day in the first column, distance and speed beside it; none
  // leaves the second column out.
  EXPECT_EQ(RunCli("graph " + DiaryPath +
                   " --period act --category ジョギング --copy --kind 1 --kind2 2 --from "
                   "2025/04/12 --to 2025/04/30")
                .Out,
            "日\t記録1\t記録2\r\n2025/04/12\t18\t18\r\n");
  EXPECT_EQ(RunCli("graph " + DiaryPath +
                   " --period act --category ジョギング --copy --kind 1 --kind2 none --from "
                   "2025/04/12 --to 2025/04/30")
                .Out,
            "日\t記録1\t記録2\r\n2025/04/12\t18\r\n");
  EXPECT_EQ(RunCli("graph " + DiaryPath + " --period day --category ジョギング --copy --term -3").Status, 2);
}

TEST_F(Cli, ResaveKeepsTheDiary) {
  const std::string copy = (Folder / "copy.hkvj").string();
  ASSERT_EQ(RunCli("resave " + DiaryPath + " " + copy).Status, 0);
  EXPECT_EQ(RunCli("list " + copy).Out, RunCli("list " + DiaryPath).Out);
}

// Every command once on a file as it comes from a user: real photographs and tracks, and the
// diary the fixture wrote. Nothing goes to stderr.
TEST_F(Cli, EveryCommandWorksOnARealFile) {
  const std::string real = HAKUVO_TESTDATA_DIR;
  const std::string thumbs = (Folder / "thumbs").string();
  const std::string copy = (Folder / "copy.hkvj").string();
  struct Case {
    std::string Arguments;
    std::string Printed;
  };
  const Case cases[] = {
      {"calc '1+2*3'", "7\n"},
      {"exif " + real + "/photos/gps_DSCN0010.jpg", "DateTimeOriginal=2008/10/22 16:28:39\nOrientation=0\n"},
      {"track " + real + "/tracks/bike_gpx.gpx", "points=1812\n"},
      {"track " + real + "/tracks/bike_gpx.gpx",
       "last=2013/04/30 19:54:11\nascent_m=35.1\ndescent_m=34\nmoving_s=1783\nmoving_speed_kmh=19.75"},
      {"thumbnail " + real + "/photos/Canon_40D.jpg --out " + thumbs, "Canon_40D.jpg\t" + thumbs + "/"},
      {"list " + DiaryPath, "2025/04/12\t07:00\t08:00\t\t18\t18.0\n"},
      {"graph " + DiaryPath + " --period month --category ジョギング --kind 1", "2025/04/01\t117\n"},
      {"extract " + DiaryPath + " --category ジョギング", "2025/04/12\t07:00\t08:00\t\t18\tkm\t18.0\tkm/h\n"},
      {"resave " + DiaryPath + " " + copy, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const SplitResult result = RunCliSplit(c.Arguments, Folder / "stderr.txt");
    EXPECT_EQ(result.Status, 0);
    EXPECT_NE(result.Out.find(c.Printed), std::string::npos) << result.Out;
    EXPECT_EQ(result.Err, "");
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(thumbs), std::filesystem::directory_iterator()), 1);
  EXPECT_TRUE(std::filesystem::exists(copy));
}

// Every failure is one line on stderr, "error: " and the message, whatever the message holds
// (the readers put the file name and the reason on two lines), and the exit status is 1.
TEST_F(Cli, EveryCommandReportsABadFileOnOneErrorLine) {
  const auto write = [this](const std::string& name, const std::string& bytes) {
    std::ofstream(Folder / name, std::ios::binary) << bytes;
    return (Folder / name).string();
  };
  const std::string brokenPhoto = write("broken.jpg", "not a picture");
  const std::string png = write("drawing.png", "\x89PNG");
  const std::string brokenTrack = write("broken.gpx", "<gpx><trk>");
  const std::string route = write("route.txt", "a route");
  const std::string brokenDiary = write("broken.hkvj", "<tekuri><日リスト>");
  const std::string thumbs = (Folder / "thumbs").string();
  struct Case {
    std::string Arguments;
    std::string Message;  // a part of the error line
  };
  const Case cases[] = {
      {"calc '1+'", "error: the formula is not correct (character 2)"},
      {"exif " + (Folder / "missing.jpg").string(), "missing.jpg"},
      {"track " + brokenTrack, "error: " + brokenTrack + "; "},
      {"track " + route, "error: " + route + ": not a GPS track (NMEA, GPX, KML, FIT or TCX)"},
      {"thumbnail " + brokenPhoto + " --out " + thumbs, brokenPhoto},
      {"thumbnail " + png + " --out " + thumbs, png + ": not a JPEG photograph"},
      {"thumbnail " + (Folder / "missing.jpg").string() + " --out " + thumbs, "missing.jpg: cannot open"},
      {"list " + brokenDiary, brokenDiary},
      {"graph " + brokenDiary + " --period day --category ジョギング", brokenDiary},
      {"extract " + brokenDiary + " --category ジョギング", brokenDiary},
      {"resave " + brokenDiary + " " + (Folder / "out.hkvj").string(), brokenDiary},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const SplitResult result = RunCliSplit(c.Arguments, Folder / "stderr.txt");
    EXPECT_EQ(result.Status, 1);
    ASSERT_EQ(Lines(result.Err).size(), 1u) << result.Err;
    EXPECT_EQ(result.Err.rfind("error: ", 0), 0u) << result.Err;
    EXPECT_EQ(result.Err.back(), '\n');
    EXPECT_EQ(result.Err.find('\r'), std::string::npos);
    EXPECT_NE(result.Err.find(c.Message), std::string::npos) << result.Err;
  }
  EXPECT_FALSE(std::filesystem::exists(Folder / "out.hkvj"));
}

TEST_F(Cli, UsageErrorsAreOneLineWithStatus2) {
  for (const std::string arguments : {"", "no-such-command", "calc", "thumbnail x.jpg", "graph --period"}) {
    SCOPED_TRACE(arguments);
    const SplitResult result = RunCliSplit(arguments, Folder / "stderr.txt");
    EXPECT_EQ(result.Status, 2);
    ASSERT_EQ(Lines(result.Err).size(), 1u) << result.Err;
    EXPECT_EQ(result.Err.rfind("error: ", 0), 0u) << result.Err;
    EXPECT_EQ(result.Out, "");
  }
}

// One bad photograph among good ones: the good ones still get their thumbnails.
TEST_F(Cli, ThumbnailGoesOnPastABadFile) {
  const std::string real = std::string(HAKUVO_TESTDATA_DIR) + "/photos/";
  const std::string thumbs = (Folder / "thumbs").string();
  std::ofstream(Folder / "broken.jpg") << "not a picture";
  const SplitResult result = RunCliSplit("thumbnail " + real + "gps_DSCN0010.jpg " + (Folder / "broken.jpg").string() +
                                             " " + real + "orientation_portrait_6.jpg --size 60 --out " + thumbs,
                                         Folder / "stderr.txt");
  EXPECT_EQ(result.Status, 1);
  const auto lines = Lines(result.Out);
  ASSERT_EQ(lines.size(), 3u) << result.Out;
  EXPECT_EQ(lines[0], "file\tthumbnail");
  EXPECT_EQ(lines[1].rfind(real + "gps_DSCN0010.jpg\t" + thumbs + "/", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind(real + "orientation_portrait_6.jpg\t" + thumbs + "/", 0), 0u) << lines[2];
  EXPECT_EQ(Lines(result.Err).size(), 1u) << result.Err;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(thumbs), std::filesystem::directory_iterator()), 2);
}

// `track` on real FIT and TCX files prints what the independent reading of them gives (see the
// test data's list), in the local time of the zone it runs in.
TEST_F(Cli, TrackReadsRealFitAndTcxFilesInTheLocalZone) {
  const std::string tracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";
  struct Case {
    const char* Zone;
    const char* File;
    const char* Printed;
  };
  const Case cases[] = {
      {"Asia/Tokyo", "four-chained-files.fit",
       "points=1462\ndistance_km=52.5180805[0-9]*\nfirst=2018/05/27 16:33:01\nlast=2018/05/27 19:11:12\n"},
      {"America/New_York", "four-chained-files.fit",
       "points=1462\ndistance_km=52.5180805[0-9]*\nfirst=2018/05/27 03:33:01\nlast=2018/05/27 06:11:12\n"},
      {"Asia/Tokyo", "elemnt-bolt-developer-data.fit",
       "points=131\ndistance_km=0.9538094[0-9]*\nfirst=2017/08/21 17:18:01\nlast=2017/08/21 17:20:11\n"},
      {"America/New_York", "elemnt-bolt-developer-data.fit",
       "points=131\ndistance_km=0.9538094[0-9]*\nfirst=2017/08/21 04:18:01\nlast=2017/08/21 04:20:11\n"},
      {"Asia/Tokyo", "tcxparser-test.tcx",
       "points=383\ndistance_km=4.6887066[0-9]*\nfirst=2012/12/27 06:29:53\nlast=2012/12/27 07:03:04\n"},
      {"America/New_York", "tcxparser-test.tcx",
       "points=383\ndistance_km=4.6887066[0-9]*\nfirst=2012/12/26 16:29:53\nlast=2012/12/26 17:03:04\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Zone) + " " + c.File);
    setenv("TZ", c.Zone, 1);
    const Result result = RunCli("track " + tracks + c.File);
    unsetenv("TZ");
    EXPECT_EQ(result.Status, 0);
    EXPECT_TRUE(std::regex_search(result.Out, std::regex("^" + std::string(c.Printed)))) << result.Out;
  }
  const Result damaged = RunCli("track " + std::string(HAKUVO_TESTDATA_DIR) + "/damaged/bad-file-crc.fit");
  EXPECT_EQ(damaged.Status, 1);
  EXPECT_NE(damaged.Out.find("byte 769: not a readable FIT file"), std::string::npos) << damaged.Out;
}

// In Japanese, a formula's error names what is wrong and where, in the extraction window's words.
TEST_F(Cli, FormulaErrorsNameWhatIsWrongInJapanese) {
  struct Case {
    std::string Arguments;
    std::string Message;
  };
  const Case cases[] = {
      {"calc '1+'", "error: 「+」の後に値がありません（2 文字目）"},
      {"calc 'ABC'", "error: 「ABC」という関数や定数はありません（1 文字目）"},
      {"extract " + DiaryPath + " --category ジョギング '=[距離]>0;=[高度]>1'",
       "error: ［高度］という項目はありません（10 文字目）"},
      {"extract " + DiaryPath + " --category ジョギング '=距離>10'",
       "error: 項目は［距離］のように［］で囲んで書きます（2 文字目）"},
      {"extract " + DiaryPath + " --category ジョギング '=[距離>10'", "error: ［ を閉じる ］ がありません（2 文字目）"},
      {"extract " + DiaryPath + " --category ジョギング '=[距離] >='", "error: 「>=」の後に値がありません（7 文字目）"},
  };
  for (const Case& c : cases) {
    const test::TCliResult result = test::RunCliIn("ja_JP.UTF-8", c.Arguments);
    EXPECT_EQ(result.Status, 1) << c.Arguments;
    EXPECT_NE(result.Out.find(c.Message), std::string::npos) << c.Arguments << "\n" << result.Out;
  }
}

}  // namespace
}  // namespace hakuvo
