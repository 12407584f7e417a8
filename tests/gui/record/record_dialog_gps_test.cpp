#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimeEdit>

#include <cstdlib>
#include <ctime>

#include "core/model/act_data.h"
#include "gui/links/gps_route_pos_dialog.h"
#include "gui/record/record_dialog_link_list.h"
#include "gui/record/time_record_dialogs.h"
#include "record_dialog_test_util.h"
#include "support/screenshot.h"

namespace hakuvo::test {
namespace {

// Three fixes 0.01 degree of latitude apart (about 1.11 km each) from 06:58 to 07:41 UTC.
constexpr char kTrack[] = R"(<?xml version="1.0"?>
<gpx version="1.1" creator="test"><trk><trkseg>
<trkpt lat="35.00" lon="139.0"><ele>10</ele><time>2024-05-01T06:58:00Z</time></trkpt>
<trkpt lat="35.01" lon="139.0"><ele>11</ele><time>2024-05-01T07:20:00Z</time></trkpt>
<trkpt lat="35.02" lon="139.0"><ele>12</ele><time>2024-05-01T07:41:00Z</time></trkpt>
</trkseg></trk></gpx>
)";

class RecordDialogTracks : public RecordDialogTest {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    Info = std::make_unique<TTimeCategoryInfo>();
    Info->SetCategory(ctJogging);
  }

  TGpsFileLink* AddTrack(const std::string& name, const std::string& bytes) {
    auto link = std::make_unique<TGpsFileLink>();
    link->FileName = bytes.empty() ? Files.Path(name) : Files.Write(name, bytes);
    auto* raw = static_cast<TGpsFileLink*>(DiaryFiles.Add(std::move(link)));
    Act.LinkDataList.Add(raw);
    return raw;
  }

  TImageFileLink* AddPhoto(const std::string& fileName) {
    auto link = std::make_unique<TImageFileLink>();
    link->FileName = fileName;
    auto* raw = static_cast<TImageFileLink*>(DiaryFiles.Add(std::move(link)));
    Act.LinkDataList.Add(raw);
    return raw;
  }

  void Open(TRecordDialog& dialog) {
    CollectErrors(dialog);
    dialog.SetCategoryInfo(*Info);
    dialog.SetFileList(DiaryFiles);
    dialog.SetActData(Act);
    ShowAndSettle(dialog);
  }

  static void SelectRow(TRecordDialog& dialog, int row) {
    dialog.LinkList()->clearSelection();
    dialog.LinkList()->setCurrentItem(dialog.LinkList()->topLevelItem(row));
    dialog.LinkList()->topLevelItem(row)->setSelected(true);
  }

  TTempFolder Files;
  TLinkDataOwner DiaryFiles;
  TTimeAct Act;
  std::unique_ptr<TTimeCategoryInfo> Info;
};

TEST_F(RecordDialogTracks, TheTimeDialogTakesTheStartAndEndOfTheTrack) {
  AddTrack("run.gpx", kTrack);
  TTimeRecordDialog dialog;
  Open(dialog);
  SelectRow(dialog, 0);
  dialog.ReadGpsTimeCommand();
  EXPECT_EQ(dialog.TimeEdit()->text(), QStringLiteral("06:58"));
  EXPECT_EQ(dialog.EndTimeEdit()->text(), QStringLiteral("07:41"));
  EXPECT_TRUE(Errors.isEmpty());

  // The plain dialog fills the start time only.
  TRecordDialog plain;
  Open(plain);
  plain.TimeEdit()->setText(QStringLiteral("12:00"));
  SelectRow(plain, 0);
  plain.ReadGpsTimeCommand();
  EXPECT_EQ(plain.TimeEdit()->text(), QStringLiteral("06:58"));
}

TEST_F(RecordDialogTracks, TheDistanceHasOneDecimalAndHonoursTheRouteRange) {
  TGpsFileLink* link = AddTrack("run.gpx", kTrack);
  TTimeRecordDialog dialog;
  Open(dialog);
  SelectRow(dialog, 0);
  dialog.ReadGpsDistanceCommand();
  EXPECT_EQ(dialog.RecordEdit()->text(), QStringLiteral("2.2"));

  link->StartPos = EncodeDate(2024, 5, 1) + EncodeTime(6, 50, 0);
  link->EndPos = EncodeDate(2024, 5, 1) + EncodeTime(7, 30, 0);
  dialog.ReadGpsDistanceCommand();
  EXPECT_EQ(dialog.RecordEdit()->text(), QStringLiteral("1.1"));
  EXPECT_TRUE(Errors.isEmpty());
}

// A track added through ファイル追加 to an outing whose times and distance are as the dialog
// opened them fills them at once; fields the user has written are left alone; the link is a
// track's, with the link row's commands for later changes.
TEST_F(RecordDialogTracks, ATrackAddedToUntouchedFieldsFillsTheTimesAndTheDistance) {
  const QString track = QString::fromStdString(Files.Write("added.gpx", kTrack));
  const struct {
    const char* name;
    const char* typedDistance;  // written by the user before adding, or null
    QString start, end, distance;
  } cases[] = {
      {"untouched", nullptr, "06:58", "07:41", "2.2"},
      {"distance typed", "5", "00:00", "01:00", "5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TTimeRecordDialog dialog;
    Open(dialog);
    ASSERT_EQ(dialog.TimeEdit()->text(), QStringLiteral("00:00"));
    if (c.typedDistance != nullptr) dialog.RecordEdit()->setText(QString::fromUtf8(c.typedDistance));
    dialog.AddFiles({track});
    ASSERT_EQ(dialog.LinkList()->topLevelItemCount(), 1);
    EXPECT_NE(dynamic_cast<TGpsFileLink*>(dialog.LinkList()->RowLink(0)), nullptr);
    EXPECT_EQ(dialog.TimeEdit()->text(), c.start);
    EXPECT_EQ(dialog.EndTimeEdit()->text(), c.end);
    EXPECT_EQ(dialog.RecordEdit()->text(), c.distance);
    EXPECT_TRUE(Errors.isEmpty());
    if (c.typedDistance == nullptr) SaveScreenshot(dialog, QStringLiteral("record_dialog_track_added"));
  }
  // A second track does not overwrite what the first one gave.
  TTimeRecordDialog dialog;
  Open(dialog);
  dialog.AddFiles({track});
  dialog.AddFiles({QString::fromStdString(Files.Write(
      "other.gpx",
      QString::fromUtf8(kTrack).replace(QStringLiteral("T06:58"), QStringLiteral("T05:00")).toStdString()))});
  EXPECT_EQ(dialog.TimeEdit()->text(), QStringLiteral("06:58"));
  // A track its reader refuses is reported; the link stays for the user to replace.
  TTimeRecordDialog broken;
  Open(broken);
  broken.AddFiles({QString::fromStdString(Files.Write("broken.gpx", "<gpx><trk>"))});
  EXPECT_EQ(broken.LinkList()->topLevelItemCount(), 1);
  EXPECT_EQ(Errors.size(), 1);
}

TEST_F(RecordDialogTracks, ThePositionOfTheFirstFixGoesIntoThePlace) {
  AddTrack("run.gpx", kTrack);
  TRecordDialog dialog;
  Open(dialog);
  SelectRow(dialog, 0);
  dialog.ReadGpsPositionCommand();
  EXPECT_NEAR(static_cast<double>(dialog.ActData().Place.Latitude), 35.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(dialog.ActData().Place.Longitude), 139.0, 1e-9);
}

TEST_F(RecordDialogTracks, UnknownKindsDoNothingAndReadingErrorsReachTheUser) {
  AddTrack("track.dat", "whatever");
  AddTrack("missing.gpx", "");
  TRecordDialog dialog;
  Open(dialog);
  dialog.RecordEdit()->setText(QStringLiteral("9"));
  SelectRow(dialog, 0);
  dialog.ReadGpsDistanceCommand();
  EXPECT_EQ(dialog.RecordEdit()->text(), QStringLiteral("9"));
  EXPECT_TRUE(Errors.isEmpty());

  SelectRow(dialog, 1);
  dialog.ReadGpsDistanceCommand();
  EXPECT_EQ(dialog.RecordEdit()->text(), QStringLiteral("9"));
  ASSERT_EQ(Errors.size(), 1);
  EXPECT_TRUE(Errors.first().contains(QStringLiteral("missing.gpx"))) << Errors.first().toStdString();
}

TEST_F(RecordDialogTracks, PhotographsGiveTheirShootingTimeAndPosition) {
  AddPhoto(RealData("photos/Canon_40D.jpg"));
  AddPhoto(RealData("photos/gps_DSCN0010.jpg"));
  AddPhoto(RealData("photos/orientation_landscape_1.jpg"));
  TRecordDialog dialog;
  Open(dialog);

  SelectRow(dialog, 0);
  dialog.ReadJpegTimeCommand();
  EXPECT_EQ(dialog.TimeEdit()->text(), QStringLiteral("15:56"));
  dialog.ReadJpegPositionCommand();  // no position: the place stays
  EXPECT_EQ(dialog.ActData().Place.Latitude, 0);

  SelectRow(dialog, 1);
  dialog.ReadJpegPositionCommand();
  EXPECT_NEAR(static_cast<double>(dialog.ActData().Place.Latitude), 43.4674483333333, 1e-9);
  EXPECT_NEAR(static_cast<double>(dialog.ActData().Place.Longitude), 11.8851266666639, 1e-9);

  SelectRow(dialog, 2);
  dialog.ReadJpegTimeCommand();
  EXPECT_EQ(dialog.TimeEdit()->text(), QStringLiteral("00:00"));
}

TEST_F(RecordDialogTracks, SortingByShootingTimePutsTheEarlierPhotographFirst) {
  AddPhoto(RealData("photos/gps_DSCN0027.jpg"));
  TGpsFileLink* track = AddTrack("run.gpx", kTrack);
  AddPhoto(RealData("photos/gps_DSCN0010.jpg"));
  TRecordDialog dialog;
  Open(dialog);
  dialog.SortByShootingTime();
  QStringList titles;
  for (int i = 0; i < dialog.LinkList()->topLevelItemCount(); ++i)
    titles << dialog.LinkList()->topLevelItem(i)->text(0);
  EXPECT_EQ(titles, QStringList({"gps_DSCN0010.jpg", "run.gpx", "gps_DSCN0027.jpg"}));
  EXPECT_EQ(dialog.ActData().LinkDataList.Items(1), track);
}

TEST_F(RecordDialogTracks, TheRouteRangeDialogOffersTheWholeTrackAndStoresTheChosenRange) {
  const std::string file = Files.Write("run.gpx", kTrack);
  {
    TGpsRoutePosDialog dialog;
    dialog.SetFileName(file);
    dialog.Prepare();
    EXPECT_FALSE(dialog.RangeCheckBox()->isChecked());
    EXPECT_FALSE(dialog.RecalcCheckBox()->isVisibleTo(&dialog));
    dialog.done(QDialog::Accepted);
    EXPECT_EQ(dialog.StartPos(), 0);
    EXPECT_EQ(dialog.EndPos(), 0);
  }
  {
    TGpsRoutePosDialog dialog;
    dialog.SetFileName(file);
    dialog.Prepare();
    auto* startTime = dialog.findChildren<QTimeEdit*>().at(0);
    auto* endTime = dialog.findChildren<QTimeEdit*>().at(1);
    EXPECT_EQ(startTime->time(), QTime(6, 58, 0));
    EXPECT_EQ(endTime->time(), QTime(7, 41, 0));
    EXPECT_FALSE(startTime->isEnabled());
    dialog.RangeCheckBox()->setChecked(true);
    EXPECT_TRUE(startTime->isEnabled());
    startTime->setTime(QTime(7, 0, 0));
    dialog.done(QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dialog.StartPos(), EncodeDate(2024, 5, 1) + EncodeTime(7, 0, 0));
    EXPECT_DOUBLE_EQ(dialog.EndPos(), EncodeDate(2024, 5, 1) + EncodeTime(7, 41, 0));
  }
  {
    // A stored range ticks the box and is offered as it is.
    TGpsRoutePosDialog dialog;
    dialog.SetFileName(file);
    dialog.SetStartPos(EncodeDate(2024, 5, 1) + EncodeTime(7, 5, 0));
    dialog.SetEndPos(EncodeDate(2024, 5, 1) + EncodeTime(7, 30, 0));
    dialog.Prepare();
    EXPECT_TRUE(dialog.RangeCheckBox()->isChecked());
    dialog.done(QDialog::Rejected);
    EXPECT_DOUBLE_EQ(dialog.EndPos(), EncodeDate(2024, 5, 1) + EncodeTime(7, 30, 0));
  }
}

// The map and the speed graph draw a track's range from the diary's own link: a range set here
// must reach them at once, and only a real change is one.
TEST_F(RecordDialogTracks, SettingTheRouteRangeTellsTheWindowsThatDrawTheTrack) {
  TGpsFileLink* track = AddTrack("run.gpx", kTrack);
  TRecordDialog dialog;
  Open(dialog);
  SelectRow(dialog, 0);
  QSignalSpy changed(&dialog, &TRecordDialog::GpsRangeChanged);
  // Runs the range command with the range dialog closed as given; the signals it caused.
  const auto run = [&](bool accept, bool fromSeven) {
    dialog.SetDialogRunner([&](QDialog& opened) {
      auto& range = dynamic_cast<TGpsRoutePosDialog&>(opened);
      range.Prepare();
      range.RangeCheckBox()->setChecked(fromSeven);
      if (fromSeven) range.findChildren<QTimeEdit*>().at(0)->setTime(QTime(7, 0, 0));
      const int result = accept ? QDialog::Accepted : QDialog::Rejected;
      range.done(result);
      return result;
    });
    changed.clear();
    dialog.GpsRouteRangeCommand();
    return changed.count();
  };
  EXPECT_EQ(run(false, true), 0);
  EXPECT_EQ(track->StartPos, 0);
  EXPECT_EQ(run(true, false), 0) << "the whole track again";
  EXPECT_EQ(run(true, true), 1);
  EXPECT_DOUBLE_EQ(track->StartPos, EncodeDate(2024, 5, 1) + EncodeTime(7, 0, 0));
  EXPECT_EQ(run(true, true), 0) << "the same range again";
  EXPECT_EQ(run(true, false), 1) << "back to the whole track";
  EXPECT_EQ(track->StartPos, 0);
}

}  // namespace
}  // namespace hakuvo::test
