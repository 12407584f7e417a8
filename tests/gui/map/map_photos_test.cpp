// The outing's photographs on the map page: small pictures where they were taken, beside the
// track, and a click on one back to the program.
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <ctime>

#include "core/common/date_time.h"
#include "core/gps/display_track.h"
#include "core/gps/gps_file.h"
#include "core/model/category_type.h"
#include "core/model/link_data.h"
#include "gui/links/map_photo_feeder.h"
#include "imaging/jpeg_codec.h"
#include "map_fixture.h"
#include "support/exif_photo.h"
#include "support/screenshot.h"

namespace hakuvo::test {
namespace {

// A picture to tell the two photographs apart by: a sky over a field, in the colour given.
std::string PictureJpeg(QColor field) {
  QImage image(320, 240, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(0, 0, 320, 140, QColor(0x87, 0xB5, 0xE8));
  painter.fillRect(0, 140, 320, 100, field);
  painter.setBrush(QColor(0xF5, 0xD0, 0x30));
  painter.drawEllipse(230, 30, 50, 50);
  painter.end();
  return EncodeJpeg(image, 90);
}

// The Exif form of a local date-time.
std::string ExifTime(TDateTime time) {
  std::string text = DateTimeToStr(time);
  for (std::size_t i = 0; i < 10; ++i) {
    if (text[i] == '/') text[i] = ':';
  }
  return text;
}

class MapPhotosTest : public MapWindowTest {
 protected:
  MapPhotosTest() {
    // The track's times are UTC in the file; the photographs' are local.
    setenv("TZ", "UTC", 1);
    tzset();
  }
  ~MapPhotosTest() override {
    unsetenv("TZ");
    tzset();
  }
};

TEST_F(MapPhotosTest, ThePhotographsOfATrackShowAsPicturesAndAClickReachesTheHost) {
  ShowAndLoad();
  form->SetCategory(CategoryNames()[ctJogging]);
  TGpsFileLink track;
  track.FileName = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/globalsat_gh625XT.gpx";
  const std::unique_ptr<TGpsFile> read = LoadDisplayTrack(track);
  ASSERT_TRUE(read && read->GpsList.Count() > 30);
  const TGpsDataList& points = read->GpsList;
  // One photograph carries its own position (a third of the way); the other only its time, a
  // little after the fix two thirds of the way.
  const TGpsData* at = points.Get(points.Count() / 3);
  const TGpsData* then = points.Get(points.Count() * 2 / 3);
  TImageFileLink own;
  own.FileName = folder.Write(
      "own.jpg", ExifPhotoBytes("2009:01:01 00:00:00", true, static_cast<double>(at->Latitude()),
                                static_cast<double>(at->Longitude()), PictureJpeg(QColor(0x4C, 0xA0, 0x3C))));
  TImageFileLink timed;
  timed.FileName = folder.Write(
      "timed.jpg", ExifPhotoBytes(ExifTime(then->RecordTime()), false, 0, 0, PictureJpeg(QColor(0xC8, 0x8A, 0x3A))));
  TLinkDataList links;
  links.Add(&track);
  links.Add(&own);
  links.Add(&timed);

  // Drawn coloured by speed, so the pictures are seen to sit on top of the coloured line and its
  // legend as well as of the plain one.
  categories->GetCategoryItems(ctJogging)->MapInfo().SetIsSpeedColor(true);
  ShowTrack(&track);
  TWindowPorts ports;
  ports.Map = form.get();
  TMapPhotoFeeder feeder;
  feeder.SetPorts(&ports);
  const TLinkData* clicked = nullptr;
  form->SetMapPhotoClicked([&](const TLinkData* link) { clicked = link; });
  QSignalSpy shown(&feeder, &TMapPhotoFeeder::PhotosShown);
  feeder.Show(links, 0);
  ASSERT_TRUE(shown.wait(20000));
  EXPECT_EQ(shown.takeFirst().at(0).toInt(), 2);

  // Both markers on the page, at their places, each with its 48-pixel picture.
  QVariantList photos;
  for (int i = 0; i < 100; ++i) {
    photos = Eval("photoState()").toList();
    if (photos.size() == 2 && photos[0].toMap()["picture"].toInt() > 0 && photos[1].toMap()["picture"].toInt() > 0)
      break;
    Pump(50);
  }
  ASSERT_EQ(photos.size(), 2);
  const QVariantList ownAt = photos[0].toMap()["at"].toList();
  EXPECT_NEAR(ownAt[0].toDouble(), static_cast<double>(at->Latitude()), 1e-5);
  EXPECT_NEAR(ownAt[1].toDouble(), static_cast<double>(at->Longitude()), 1e-5);
  const QVariantList timedAt = photos[1].toMap()["at"].toList();
  EXPECT_NEAR(timedAt[0].toDouble(), static_cast<double>(then->Latitude()), 1e-9);
  EXPECT_NEAR(timedAt[1].toDouble(), static_cast<double>(then->Longitude()), 1e-9);
  EXPECT_EQ(photos[0].toMap()["title"].toString(), "own.jpg");
  for (const QVariant& photo : photos) EXPECT_EQ(photo.toMap()["picture"].toInt(), 48);
  // The line with its start and end marks is still there.
  EXPECT_EQ(State().value("trackEnds").toList().size(), 2);
  EXPECT_FALSE(State().value("speedLine").isNull());
  // The view settles (fitted, pictures drawn) before it is taken.
  if (std::getenv("HAKUVO_SCREENSHOT_DIR") != nullptr) Pump(1500);
  SaveScreenshot(*form, QStringLiteral("mapphoto-track-photos"));

  // A click on the second marker, as the user gives it.
  const QVariantList centre = photos[1].toMap()["centre"].toList();
  ASSERT_EQ(centre.size(), 2);
  QTest::mouseClick(form->Browser()->focusProxy(), Qt::LeftButton, {}, QPoint(centre[0].toInt(), centre[1].toInt()));
  // The click comes back through the web channel, so it is waited for on the handler (a signal
  // spy cannot carry the signal's link pointer).
  const auto waitForClick = [&](int rounds) {
    for (int i = 0; i < rounds && clicked == nullptr; ++i) Pump(50);
  };
  waitForClick(40);
  if (clicked == nullptr) Eval("photoMarkers[1].fire('click')");
  waitForClick(200);
  ASSERT_NE(clicked, nullptr);
  EXPECT_EQ(clicked, &timed);
  EXPECT_TRUE(Eval("photoState()").toList()[1].toMap()["selected"].toBool());

  // Another line leaves the photographs; clearing the map takes them off.
  ShowTrack(&track);
  EXPECT_EQ(Eval("photoState()").toList().size(), 2);
  form->ClearMap();
  EXPECT_TRUE(Eval("photoState()").toList().isEmpty());
  // A click that comes in after the set was replaced names nothing.
  clicked = nullptr;
  emit form->Host().PhotoMarkerClicked(1, 1);
  EXPECT_EQ(clicked, nullptr);
}

}  // namespace
}  // namespace hakuvo::test
