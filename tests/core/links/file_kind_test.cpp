#include "core/links/file_kind.h"

#include <gtest/gtest.h>

namespace hakuvo {
namespace {

TEST(FileKind, ExtensionDecidesWithoutRegardToCase) {
  struct Case {
    const char* Name;
    bool Jpeg, Image, Nmea, Gpx, Kml, Fit, Tcx, Gps;
  };
  const Case cases[] = {
      {"PHOTO.JPG", true, true, false, false, false, false, false, false},
      {"a.jpeg", true, true, false, false, false, false, false, false},
      {"b.Jpe", true, true, false, false, false, false, false, false},
      {"c.png", false, true, false, false, false, false, false, false},
      {"d.GIF", false, true, false, false, false, false, false, false},
      {"e.bmp", false, true, false, false, false, false, false, false},
      {"f.ico", false, true, false, false, false, false, false, false},
      {"g.tif", false, false, false, false, false, false, false, false},
      {"track.Nmea", false, false, true, false, false, false, false, true},
      {"track.NMA", false, false, true, false, false, false, false, true},
      {"track.log", false, false, true, false, false, false, false, true},
      {"route.GPX", false, false, false, true, false, false, false, true},
      {"places.kml", false, false, false, false, true, false, false, true},
      {"ride.fit", false, false, false, false, false, true, false, true},
      {"RIDE.FIT", false, false, false, false, false, true, false, true},
      {"run.Tcx", false, false, false, false, false, false, true, true},
      {"run.tcx.bak", false, false, false, false, false, false, false, false},
      {"ride.fits", false, false, false, false, false, false, false, false},
      {"places.kmz", false, false, false, false, false, false, false, false},
      {"noextension", false, false, false, false, false, false, false, false},
      {"", false, false, false, false, false, false, false, false},
      // Only the text from the last dot counts.
      {"photo.jpg.gpx", false, false, false, true, false, false, false, true},
      {"archive.gpx.zip", false, false, false, false, false, false, false, false},
      {"/home/u/photos.jpg/readme", false, false, false, false, false, false, false, false},
      {"photojpg", false, false, false, false, false, false, false, false},
      {"photo.jpg ", false, false, false, false, false, false, false, false},
      {"/home/u/写真/夏.JPG", true, true, false, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(IsJpegFile(c.Name), c.Jpeg);
    EXPECT_EQ(IsImageFile(c.Name), c.Image);
    EXPECT_EQ(IsNmeaFile(c.Name), c.Nmea);
    EXPECT_EQ(IsGpxFile(c.Name), c.Gpx);
    EXPECT_EQ(IsKmlFile(c.Name), c.Kml);
    EXPECT_EQ(IsFitFile(c.Name), c.Fit);
    EXPECT_EQ(IsTcxFile(c.Name), c.Tcx);
    EXPECT_EQ(IsGpsFile(c.Name), c.Gps);
  }
}

}  // namespace
}  // namespace hakuvo
