// The selected outing's photographs on the map, and its camera clock offset edited in the
// record dialog moving them.
#include <QElapsedTimer>
#include <QLineEdit>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "core/model/act_data.h"
#include "core/model/day_data.h"
#include "core/model/link_data.h"
#include "gui/list/act_list_model.h"
#include "gui/main/map_dock.h"
#include "gui/record/record_dialog.h"
#include "main_form_fixture.h"
#include "support/exif_photo.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

class MainFormPhotosTest : public MainFormTest {
 protected:
  void SetUp() override {
    // The track's times are UTC in the file; the photographs' are local.
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    unsetenv("TZ");
    tzset();
  }
  // Waits until the map was handed a set of `count` photographs.
  bool WaitForPhotos(std::size_t count) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
      Settle();
      if (MapPort.Photos.size() == count) return true;
    }
    return false;
  }
};

TEST_F(MainFormPhotosTest, SelectingAnOutingPutsItsPhotographsOnTheMapAndTheOffsetMovesThem) {
  const fs::path diary = Dir / "walks.hkvj";
  WriteDiary(diary, {{2024, 5, 3, "walk"}, {2024, 5, 4, "run"}});
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  TMapDock* dock = dynamic_cast<TMapDock*>(form.Docks().Form(QStringLiteral("GoogleMapForm")));
  ASSERT_NE(dock, nullptr);
  form.Docks().ShowForm(dock);
  Settle();
  ASSERT_EQ(dock->Map(), &MapPort);

  TActData* walk = form.DayDataList()[0]->ActDataList[0];
  const auto add = [&](const std::string& name, const std::string& bytes) {
    const std::string path = (Dir / name).string();
    WriteFile(path, bytes);
    TLinkData* link = form.FileList().Add(CreateFileLink(path));
    walk->LinkDataList.Add(link);
    return link;
  };
  add("walk.gpx", GpxBytes({{35.0, 139.0, "2024-05-03T07:00:00Z"}, {35.002, 139.004, "2024-05-03T07:02:00Z"}}));
  const TLinkData* own = add("own.jpg", ExifPhotoBytes("2024:05:03 09:00:00", true, 43.5, 11.875));
  const TLinkData* timed = add("timed.jpg", ExifPhotoBytes("2024:05:03 07:01:00", false, 0, 0));
  add("before.jpg", ExifPhotoBytes("2024:05:03 06:00:00", false, 0, 0));

  form.SelectAct(form.DayDataList()[1]->ActDataList[0]);
  form.SelectAct(walk);
  ASSERT_TRUE(WaitForPhotos(2));
  EXPECT_EQ(MapPort.Photos[0].Link, own);
  EXPECT_NEAR(MapPort.Photos[0].Latitude, 43.5, 1e-6);
  EXPECT_EQ(MapPort.Photos[1].Link, timed);
  EXPECT_NEAR(MapPort.Photos[1].Latitude, 35.001, 1e-9);

  // The camera was 30 s slow: edited in the record dialog, saved with the outing, moved on the map.
  RunDialog = [](QDialog& dialog) {
    auto& record = dynamic_cast<TRecordDialog&>(dialog);
    EXPECT_EQ(record.CameraClockOffsetEdit()->text(), QStringLiteral("0"));
    record.CameraClockOffsetEdit()->setText(QStringLiteral("30"));
    record.accept();
    return record.result();
  };
  form.EditActCommand();
  EXPECT_EQ(static_cast<double>(walk->CameraClockOffset), 30);
  EXPECT_TRUE(form.IsChange());
  ASSERT_TRUE(WaitForPhotos(2));
  EXPECT_NEAR(MapPort.Photos[1].Latitude, 35.0015, 1e-9);
  EXPECT_NEAR(MapPort.Photos[1].Longitude, 139.003, 1e-9);

  // Another outing, without photographs, takes them off.
  form.SelectAct(form.DayDataList()[1]->ActDataList[0]);
  EXPECT_TRUE(WaitForPhotos(0));
}

}  // namespace
}  // namespace hakuvo::test
