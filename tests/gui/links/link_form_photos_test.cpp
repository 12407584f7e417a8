// The photographs of the outing the link window shows, on the map, and a click on one back.
#include <QSignalSpy>
#include <QTreeView>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "core/model/link_data.h"
#include "gui/document/diary_document.h"
#include "gui/links/link_form.h"
#include "gui/links/link_preview_form.h"
#include "gui/links/map_photo_feeder.h"
#include "links_test_support.h"
#include "support/exif_photo.h"
#include "support/recording_map_port.h"

namespace hakuvo::test {
namespace {

class LinkFormPhotosTest : public testing::Test {
 protected:
  void SetUp() override {
    // The track's times are UTC in the file; the photographs' are local.
    setenv("TZ", "UTC", 1);
    tzset();
    EnsureQtApplication();
    Ports.Map = &Map;
    Form = std::make_unique<TLinkForm>(&Document);
    Preview = std::make_unique<TLinkPreviewForm>(&Document);
    Form->SetPorts(&Ports);
    Form->SetPreviewForm(Preview.get());
    Form->SetCategory("ジョギング");

    auto track = std::make_unique<TGpsFileLink>();
    track->FileName = Folder.Write(
        "walk.gpx", GpxBytes({{35.0, 139.0, "2024-05-03T07:00:00Z"}, {35.002, 139.004, "2024-05-03T07:02:00Z"}}));
    auto own = std::make_unique<TImageFileLink>();
    own->FileName = Folder.Write("own.jpg", ExifPhotoBytes("2024:05:03 09:00:00", true, 43.5, 11.875));
    auto timed = std::make_unique<TImageFileLink>();
    timed->FileName = Folder.Write("timed.jpg", ExifPhotoBytes("2024:05:03 07:01:00", false, 0, 0));
    auto before = std::make_unique<TImageFileLink>();
    before->FileName = Folder.Write("before.jpg", ExifPhotoBytes("2024:05:03 06:00:00", false, 0, 0));
    for (auto* link : {static_cast<TLinkData*>(track.get()), static_cast<TLinkData*>(own.get()),
                       static_cast<TLinkData*>(timed.get()), static_cast<TLinkData*>(before.get())}) {
      Links.Add(link);
    }
    Own = own.get();
    Timed = timed.get();
    Owned.push_back(std::move(track));
    Owned.push_back(std::move(own));
    Owned.push_back(std::move(timed));
    Owned.push_back(std::move(before));
  }
  void TearDown() override {
    unsetenv("TZ");
    tzset();
  }

  // Shows the list with an offset and waits until the photographs reached the map.
  void ShowOuting(double offset) {
    QSignalSpy shown(Form->PhotoFeeder(), &TMapPhotoFeeder::PhotosShown);
    Form->SetCameraClockOffset(offset);
    Form->SetLinkDataList(&Links);
    ASSERT_TRUE(shown.count() > 0 || shown.wait(20000)) << "the photographs never reached the map";
  }

  TTempFolder Folder;
  TDiaryDocument Document;
  TRecordingMapPort Map;
  TWindowPorts Ports;
  TLinkDataList Links;
  std::vector<std::unique_ptr<TLinkData>> Owned;
  TImageFileLink* Own = nullptr;
  TImageFileLink* Timed = nullptr;
  std::unique_ptr<TLinkForm> Form;
  std::unique_ptr<TLinkPreviewForm> Preview;
};

TEST_F(LinkFormPhotosTest, EachPlacedPhotographGoesToTheMapWithItsPictureAndTheOffsetMovesIt) {
  ShowOuting(0);
  // The one taken before the track began lands nowhere and has no marker.
  ASSERT_EQ(Map.Photos.size(), 2u);
  const TMapPhoto& own = Map.Photos[0];
  EXPECT_EQ(own.Link, Own);
  EXPECT_NEAR(own.Latitude, 43.5, 1e-6);
  EXPECT_NEAR(own.Longitude, 11.875, 1e-6);
  EXPECT_EQ(own.Title, "own.jpg");
  const TMapPhoto& timed = Map.Photos[1];
  EXPECT_EQ(timed.Link, Timed);
  // Half way through the two minutes between the fixes.
  EXPECT_NEAR(timed.Latitude, 35.001, 1e-9);
  EXPECT_NEAR(timed.Longitude, 139.002, 1e-9);
  // Photographs without a picture still get their frame: a small white JPEG.
  for (const TMapPhoto& photo : Map.Photos) {
    EXPECT_EQ(photo.Thumbnail.rfind("data:image/jpeg;base64,", 0), 0u) << photo.Title;
  }

  // The camera ran 30 s slow: the photograph moves on along the track; its own position stays.
  ShowOuting(30);
  ASSERT_EQ(Map.Photos.size(), 2u);
  EXPECT_NEAR(Map.Photos[0].Latitude, 43.5, 1e-6);
  EXPECT_NEAR(Map.Photos[1].Latitude, 35.0015, 1e-9);
  EXPECT_NEAR(Map.Photos[1].Longitude, 139.003, 1e-9);
}

TEST_F(LinkFormPhotosTest, AClickOnAMarkerSelectsThePhotographAndShowsItInThePreview) {
  Form->show();
  Preview->show();
  ShowOuting(0);
  ASSERT_TRUE(Map.PhotoClicked);
  const std::size_t mapCalls = Map.Calls.size();
  Map.PhotoClicked(Timed);
  EXPECT_EQ(Form->CurrentLink(), Timed);
  EXPECT_EQ(Preview->LinkData(), Timed);
  const QModelIndexList rows = Form->ReportView()->selectionModel()->selectedRows();
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0].row(), 2);
  // The map shows the photograph already; its track stays drawn.
  EXPECT_EQ(Map.Calls.size(), mapCalls);

  // A marker of an outing no longer shown names nothing here.
  TImageFileLink stranger;
  Map.PhotoClicked(&stranger);
  EXPECT_EQ(Form->CurrentLink(), Timed);
}

TEST_F(LinkFormPhotosTest, AnOutingWithoutATrackOrGoneTakesThePhotographsOff) {
  ShowOuting(0);
  ASSERT_EQ(Map.Photos.size(), 2u);
  Links.Remove(Owned[0].get());
  ShowOuting(0);
  EXPECT_TRUE(Map.Photos.empty());
  Links.Add(Owned[0].get());
  ShowOuting(0);
  ASSERT_EQ(Map.Photos.size(), 2u);
  Form->ForgetLinks();
  EXPECT_TRUE(Map.Photos.empty());
  EXPECT_FALSE(Form->PhotoFeeder()->IsBusy());
}

}  // namespace
}  // namespace hakuvo::test
