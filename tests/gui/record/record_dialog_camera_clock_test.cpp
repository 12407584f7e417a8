// The outing's camera clock offset in the record dialog: what the field takes, and that it is
// saved with the outing and moves where a photograph lands on the track.
#include <QLineEdit>

#include <memory>

#include "core/datafile/diary.h"
#include "core/gps/photo_position.h"
#include "core/model/act_data.h"
#include "core/model/day_data.h"
#include "gui/record/record_dialog.h"
#include "record_dialog_test_util.h"

namespace hakuvo::test {
namespace {

using RecordDialogCameraClock = RecordDialogTest;

TEST_F(RecordDialogCameraClock, TheFieldTakesSignedSecondsAndRefusesTheRest) {
  auto info = FullCategory();
  TRecordDialog dialog;
  CollectErrors(dialog);
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  ShowAndSettle(dialog);
  EXPECT_EQ(dialog.CameraClockOffsetEdit()->text(), QStringLiteral("0"));
  const struct {
    const char* text;
    const char* error;  // nullptr: accepted
    double seconds;
  } cases[] = {
      {"-75.5", nullptr, -75.5},
      {"+30", nullptr, 30},
      {" 12 ", nullptr, 12},
      {"", nullptr, 0},  // an empty field is no offset
      {"abc", "[カメラ時計補正]が数値ではありません", 0},
      {"inf", "[カメラ時計補正]が数値ではありません", 0},
      {"1e12", "[カメラ時計補正]が正しくありません", 0},
  };
  for (const auto& c : cases) {
    Errors.clear();
    dialog.CameraClockOffsetEdit()->setText(QString::fromUtf8(c.text));
    EXPECT_EQ(dialog.CheckInput(), c.error == nullptr) << c.text;
    if (c.error == nullptr) {
      EXPECT_TRUE(Errors.isEmpty()) << c.text;
      EXPECT_EQ(static_cast<double>(dialog.ActData().CameraClockOffset), c.seconds) << c.text;
    } else {
      EXPECT_EQ(Errors, QStringList({QString::fromUtf8(c.error)})) << c.text;
    }
  }
}

TEST_F(RecordDialogCameraClock, TheOffsetIsSavedWithTheOutingAndMovesThePlacedPhotograph) {
  TTempFolder folder;
  const std::string path = folder.Path("walks.hkvj");
  auto info = FullCategory();
  {
    TDiary diary(path);
    auto day = std::make_unique<TDayData>();
    day->DateData = EncodeDate(2024, 5, 3);
    TActData* act = day->AddAct(CreateActData(ctJogging));
    diary.Days.Add(std::move(day));
    TRecordDialog dialog;
    dialog.SetCategoryInfo(*info);
    dialog.SetActData(*act);
    ShowAndSettle(dialog);
    dialog.CameraClockOffsetEdit()->setText(QStringLiteral("-90"));
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    act->Assign(dialog.ActData());
    diary.Save();
  }
  TDiary opened(path);
  opened.Load();
  const TActData& act = *opened.Days[0]->ActDataList[0];
  EXPECT_EQ(static_cast<double>(act.CameraClockOffset), -90);
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(act);
  EXPECT_EQ(dialog.CameraClockOffsetEdit()->text(), QStringLiteral("-90"));

  // A photograph shot at 07:02:30 by a camera 90 s fast was taken at 07:01:00, half way along.
  const TDateTime start = EncodeDate(2024, 5, 3) + EncodeTime(7, 0, 0);
  TGpsDataList track;
  track.Add(start, 35.0, 139.0, 0);
  track.Add(start + 120.0 / SecsPerDay, 35.002, 139.004, 0);
  const TDateTime shot = start + 150.0 / SecsPerDay;
  EXPECT_EQ(PlacePhoto(shot, 0, 0, {&track}, 0).Reason, pmAfterTrack);
  const TPhotoPosition placed = PlacePhoto(shot, 0, 0, {&track}, static_cast<double>(act.CameraClockOffset));
  EXPECT_EQ(placed.Source, psTrack);
  EXPECT_NEAR(placed.Latitude, 35.001, 1e-9);
  EXPECT_NEAR(placed.Longitude, 139.002, 1e-9);
}

}  // namespace
}  // namespace hakuvo::test
