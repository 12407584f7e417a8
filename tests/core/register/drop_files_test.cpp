#include "core/register/drop_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/gps/gps_file.h"
#include "core/gps/scoped_time_zone.h"
#include "core/register/register_fixtures.h"
#include "support/scoped_clock.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

using test::ActCount;
using test::GpxBytes;
using test::PhotographBytes;
using test::SetModified;
using test::TargetOf;

constexpr TDateTime kMinute = 1.0 / MinsPerDay;

TDropOptions FileDateOptions() {
  TDropOptions options;
  options.DateRule = ddFileDate;
  options.UseExifDate = true;
  options.UseGpsDate = true;
  options.Category = ctJogging;
  return options;
}

class DropFilesTest : public ::testing::Test {
 protected:
  ScopedTimeZone FZone{"UTC"};
  test::TTempFolder FFolder;
  TDiary FDiary{FFolder.Path("diary.xml")};

  std::string Photo(const std::string& name, const std::string& shot, TDateTime modified = 0) {
    const std::string path = FFolder.Write(name, PhotographBytes(shot));
    if (modified != 0) SetModified(path, modified);
    return path;
  }
  // A track going north from 35 N, one point a minute, each step `step` degrees.
  std::string Track(const std::string& name, const std::string& day, int firstHour, int points, double step) {
    std::vector<test::TrackPoint> track;
    for (int i = 0; i < points; ++i) {
      char time[32];
      std::snprintf(time, sizeof time, "%sT%02d:%02d:00Z", day.c_str(), firstHour + i / 60, i % 60);
      track.push_back({35.0 + step * i, 139.0, time});
    }
    return FFolder.Write(name, GpxBytes(track));
  }
  static Extended TrackKilometres(const std::string& path) {
    auto reader = CreateGpsFile(path);
    reader->SetFileName(path);
    return reader->TotalDistance();
  }
  TDropReport Drop(const std::vector<std::string>& files, const TDropOptions& options = FileDateOptions(),
                   TRegisterProgress* progress = nullptr) {
    return DropFiles(TargetOf(FDiary), files, options, progress);
  }
};

TEST_F(DropFilesTest, ThreePhotographsOfOneDayMakeOneOutingSpanningThem) {
  // Dropped out of shooting order: the links still end up in shooting order.
  const std::string noon = Photo("b.jpg", "2014:06:01 12:00:00");
  const std::string morning = Photo("a.jpg", "2014:06:01 09:30:00");
  const std::string evening = Photo("c.jpg", "2014:06:01 17:45:00");
  const TDropReport report = Drop({noon, morning, evening});

  ASSERT_EQ(FDiary.Days.Count(), 1);
  const TDayData& day = *FDiary.Days[0];
  EXPECT_EQ(day.DateData, EncodeDate(2014, 6, 1));
  ASSERT_EQ(day.ActDataList.Count(), 1);
  const auto& act = static_cast<const TJoggingAct&>(*day.ActDataList[0]);
  EXPECT_EQ(act.Title, "b.jpg");
  EXPECT_EQ(act.TempData, 1);
  EXPECT_NEAR(act.RecordData->StartTime, EncodeTime(9, 30, 0), 1e-9);
  EXPECT_NEAR(act.TimeRecord().EndTime, EncodeTime(17, 45, 0), 1e-9);
  // Photographs measure no distance.
  EXPECT_EQ(act.RecordData->Data(), 0);
  ASSERT_EQ(act.LinkDataList.Count(), 3);
  EXPECT_EQ(static_cast<TFileLink*>(act.LinkDataList[0])->FileName, morning);
  EXPECT_EQ(static_cast<TFileLink*>(act.LinkDataList[1])->FileName, noon);
  EXPECT_EQ(static_cast<TFileLink*>(act.LinkDataList[2])->FileName, evening);
  EXPECT_EQ(FDiary.Files.Count(), 3);
  EXPECT_EQ(report.Files[0].Outcome, doNewAct);
  EXPECT_EQ(report.Files[1].Outcome, doAddedToAct);
  EXPECT_EQ(report.Files[2].Outcome, doAddedToAct);
  EXPECT_NEAR(report.LastDate, EncodeDateTime(2014, 6, 1, 17, 45, 0), 1e-9);
  EXPECT_TRUE(report.Changed);
}

TEST_F(DropFilesTest, OnePhotographGivesAnHourLongOuting) {
  Drop({Photo("a.jpg", "2014:06:01 09:30:00")});
  const auto& act = static_cast<const TJoggingAct&>(*FDiary.Days[0]->ActDataList[0]);
  EXPECT_NEAR(act.TimeRecord().EndTime, EncodeTime(10, 30, 0), 1e-9);
  const auto& link = *FDiary.Files.Items(0);
  EXPECT_NE(dynamic_cast<const TImageFileLink*>(&link), nullptr);
}

TEST_F(DropFilesTest, TwoTracksOfOneDayAddTheirRoundedDistancesToOneOuting) {
  const std::string first = Track("run1.gpx", "2014-06-01", 7, 31, 0.0007);
  const std::string second = Track("run2.gpx", "2014-06-01", 18, 20, 0.0011);
  const Extended expected =
      RoundedTrackDistance(TrackKilometres(first)) + RoundedTrackDistance(TrackKilometres(second));
  ASSERT_GT(expected, 2.0);
  Drop({first, second});

  ASSERT_EQ(ActCount(FDiary), 1);
  const auto& act = static_cast<const TJoggingAct&>(*FDiary.Days[0]->ActDataList[0]);
  EXPECT_NEAR(act.RecordData->Data(), expected, 1e-12);
  EXPECT_NEAR(act.RecordData->StartTime, EncodeTime(7, 0, 0), 1e-9);
  // The end follows the last track's last point.
  EXPECT_NEAR(act.TimeRecord().EndTime, EncodeTime(18, 19, 0), 1e-9);
  EXPECT_NE(dynamic_cast<const TGpsFileLink*>(act.LinkDataList[0]), nullptr);
}

TEST(RoundedTrackDistance, KeepsOneDecimal) {
  EXPECT_DOUBLE_EQ(static_cast<double>(RoundedTrackDistance(3.44)), 3.4);
  EXPECT_DOUBLE_EQ(static_cast<double>(RoundedTrackDistance(3.46)), 3.5);
  EXPECT_DOUBLE_EQ(static_cast<double>(RoundedTrackDistance(0.04)), 0.0);
}

TEST_F(DropFilesTest, ALaterDropWidensTheOutingOfThisRunButNotOneReadFromTheFile) {
  Drop({Photo("a.jpg", "2014:06:01 10:00:00")});
  Drop({Photo("b.jpg", "2014:06:01 08:00:00")});
  ASSERT_EQ(ActCount(FDiary), 1);
  EXPECT_NEAR(FDiary.Days[0]->ActDataList[0]->RecordData->StartTime, EncodeTime(8, 0, 0), 1e-9);
  EXPECT_EQ(FDiary.Days[0]->ActDataList[0]->LinkDataList.Count(), 2);

  // After the program starts again the outing is read from the file, unmarked.
  FDiary.Save();
  TDiary reopened(FFolder.Path("diary.xml"));
  reopened.Load();
  DropFiles(TargetOf(reopened), {Photo("c.jpg", "2014:06:01 12:00:00")}, FileDateOptions());
  ASSERT_EQ(ActCount(reopened), 2);
  EXPECT_EQ(reopened.Days[0]->ActDataList[0]->LinkDataList.Count(), 2);
  EXPECT_EQ(reopened.Days[0]->ActDataList[1]->LinkDataList.Count(), 1);
}

TEST_F(DropFilesTest, DateRules) {
  const TDateTime modified = EncodeDateTime(2020, 3, 4, 5, 6, 0);
  const TDateTime remembered = EncodeDate(2019, 1, 2);
  const TDateTime today = EncodeDateTime(2026, 12, 10, 15, 0, 0);
  test::TScopedClock clock(today);
  struct Case {
    const char* Name;
    TDropDateRule Rule;
    bool Exif;
    bool Gps;
    bool Track;  // a track instead of a photograph
    TDateTime Expected;
  };
  const Case cases[] = {
      {"file time", ddFileDate, false, false, false, modified},
      {"shooting time", ddFileDate, true, false, false, EncodeDateTime(2014, 6, 1, 9, 30, 0)},
      {"track time not asked", ddFileDate, true, false, true, modified},
      {"track time", ddFileDate, false, true, true, EncodeDateTime(2014, 6, 2, 7, 0, 0)},
      {"today", ddToday, true, true, false, DateOf(today)},
      {"remembered", ddRememberedDate, true, true, true, remembered},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TDiary diary(FFolder.Path("x.xml"));
    const std::string path =
        c.Track ? Track("t.gpx", "2014-06-02", 7, 3, 0.001) : Photo("p.jpg", "2014:06:01 09:30:00");
    SetModified(path, modified);
    TDropOptions options = FileDateOptions();
    options.DateRule = c.Rule;
    options.UseExifDate = c.Exif;
    options.UseGpsDate = c.Gps;
    options.RememberedDate = remembered;
    const TDropReport report = DropFiles(TargetOf(diary), {path}, options);
    EXPECT_NEAR(report.Files[0].Date, c.Expected, 1e-9);
    ASSERT_EQ(diary.Days.Count(), 1);
    EXPECT_EQ(diary.Days[0]->DateData, DateOf(c.Expected));
  }
}

TEST_F(DropFilesTest, FilesThatAreNoFilesOrComeTwiceAreRefusedAndTheOthersRegistered) {
  const std::string photo = Photo("a.jpg", "2014:06:01 09:30:00");
  const std::string empty = FFolder.Write("empty.jpg", "");
  SetModified(empty, EncodeDateTime(2014, 6, 1, 11, 0, 0));
  const std::string folder = FFolder.Path("folder.jpg");
  std::filesystem::create_directory(folder);
  const std::string fifo = FFolder.Path("pipe.gpx");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string link = FFolder.Path("again.jpg");
  std::filesystem::create_symlink(photo, link);

  const TDropReport report = Drop({photo, FFolder.Path("missing.jpg"), folder, fifo, photo, link, empty});
  const TDropRefusal expected[] = {drNone, drMissing, drFolder, drNotRegular, drDuplicate, drDuplicate, drNone};
  ASSERT_EQ(report.Files.size(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    SCOPED_TRACE(report.Files[i].FileName);
    EXPECT_EQ(report.Files[i].Refusal, expected[i]);
    EXPECT_EQ(report.Files[i].Outcome, expected[i] == drNone ? (i == 0 ? doNewAct : doAddedToAct) : doRefused);
  }
  // The empty photograph has no shooting time: its file time counts.
  EXPECT_NEAR(report.Files[6].Date, EncodeDateTime(2014, 6, 1, 11, 0, 0), 1e-9);
  EXPECT_EQ(FDiary.Files.Count(), 2);
  EXPECT_FALSE(report.Error);
}

TEST_F(DropFilesTest, ATrackThatCannotBeReadEndsTheDropAndKeepsWhatCameBefore) {
  const std::string photo = Photo("a.jpg", "2014:06:01 09:30:00");
  const std::string broken = FFolder.Write("broken.gpx", "<gpx><trk>");
  const std::string later = Photo("b.jpg", "2014:06:02 09:30:00");
  const TDropReport report = Drop({photo, broken, later});
  ASSERT_TRUE(report.Error);
  EXPECT_EQ(report.Files[1].Refusal, drTrackError);
  EXPECT_FALSE(report.Files[1].Message.empty());
  EXPECT_EQ(report.Files[2].Outcome, doNotReached);
  EXPECT_TRUE(report.Changed);
  EXPECT_EQ(ActCount(FDiary), 1);
  EXPECT_NEAR(report.LastDate, EncodeDateTime(2014, 6, 1, 9, 30, 0), 1e-9);
}

class StopAfter : public TRegisterProgress {
 public:
  explicit StopAfter(int items) : FItems(items) {}
  void Start(std::int64_t max) override { Max = max; }
  bool Step(std::int64_t position, const std::string& fileName) override {
    Names.push_back(fileName);
    return position + 1 < FItems;
  }
  std::int64_t Max = -1;
  std::vector<std::string> Names;

 private:
  int FItems;
};

TEST_F(DropFilesTest, StopEndsTheDropAfterTheCurrentFile) {
  const std::vector<std::string> files = {Photo("a.jpg", "2014:06:01 09:00:00"), Photo("b.jpg", "2014:06:02 09:00:00"),
                                          Photo("c.jpg", "2014:06:03 09:00:00")};
  StopAfter progress(2);
  const TDropReport report = Drop(files, FileDateOptions(), &progress);
  EXPECT_EQ(progress.Max, 3);
  EXPECT_EQ(progress.Names, (std::vector<std::string>{files[0], files[1]}));
  EXPECT_TRUE(report.Stopped);
  EXPECT_EQ(FDiary.Days.Count(), 2);
  EXPECT_EQ(report.Files[2].Outcome, doNotReached);
}

TEST_F(DropFilesTest, DaysEndInDateOrderAndOutingsInTimeOrder) {
  // An outing typed in by hand on the same day stays, and the drop's outing is sorted in before it.
  auto& day = TargetOf(FDiary).FindOrAddDay(EncodeDate(2014, 6, 2));
  auto typed = CreateActData(ctJogging);
  typed->RecordData->StartTime = EncodeTime(20, 0, 0);
  day.AddAct(std::move(typed));
  std::vector<std::string> calls;
  TDropOptions options = FileDateOptions();
  options.MakeViewFiles = [&](TActData& act) { calls.push_back(act.Title); };
  Drop({Photo("late.jpg", "2014:06:02 08:00:00"), Photo("early.jpg", "2014:05:01 08:00:00")}, options);
  ASSERT_EQ(FDiary.Days.Count(), 2);
  EXPECT_EQ(FDiary.Days[0]->DateData, EncodeDate(2014, 5, 1));
  EXPECT_EQ(FDiary.Days[1]->ActDataList[0]->Title, "late.jpg");
  EXPECT_EQ(FDiary.Days[1]->ActDataList[1]->TempData, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"late.jpg", "early.jpg"}));
}

TEST_F(DropFilesTest, RealPhotographsAndTracksAllFindAnOuting) {
  std::vector<std::string> files;
  for (const char* folder : {"photos", "tracks"}) {
    for (const auto& entry : std::filesystem::directory_iterator(std::string(HAKUVO_TESTDATA_DIR) + "/" + folder)) {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  const TDropReport report = Drop(files);
  ASSERT_FALSE(report.Error) << *report.Error;
  EXPECT_EQ(FDiary.Files.Count(), static_cast<int>(files.size()));
  int links = 0;
  for (const auto& day : FDiary.Days) {
    ASSERT_LE(day->ActDataList.Count(), 1) << day->DateStr();
    links += day->ActDataList[0]->LinkDataList.Count();
  }
  EXPECT_EQ(links, static_cast<int>(files.size()));
}

}  // namespace
}  // namespace hakuvo
