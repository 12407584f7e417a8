#include "imaging/rotate_bitmap.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "imaging/imaging_test_util.h"

namespace hakuvo {
namespace {

using namespace hakuvo::test;

// Every pixel different (as far as the format allows), so that any wrong mapping shows.
QImage NumberedImage(int width, int height, QImage::Format format) {
  QImage image(width, height, format);
  std::mt19937 random(7);
  if (image.depth() == 1) {
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image.setPixel(x, y, random() & 1);
    return image;
  }
  if (format == QImage::Format_Indexed8) {
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i) palette.append(qRgb(i, 255 - i, (i * 7) & 255));
    image.setColorTable(palette);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image.setPixel(x, y, static_cast<uint>((x * 31 + y * 17) & 255));
    return image;
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb((x * 37) & 255, (y * 53) & 255, (x ^ y) * 11 & 255));
  return image;
}

QPoint SourceOf(int angle, int x, int y, int w, int h) {
  switch (angle) {
    case 90:
      return {y, h - 1 - x};
    case 180:
      return {w - 1 - x, h - 1 - y};
    default:
      return {w - 1 - y, x};
  }
}

TEST(RotateBitmap, TurnsClockwise) {
  // A B C      90:  D A     270:  C F
  // D E F           E B           B E
  //                 F C           A D
  QImage source(3, 2, QImage::Format_RGB32);
  const QRgb a = qRgb(1, 0, 0), b = qRgb(2, 0, 0), c = qRgb(3, 0, 0), d = qRgb(4, 0, 0), e = qRgb(5, 0, 0),
             f = qRgb(6, 0, 0);
  source.setPixel(0, 0, a), source.setPixel(1, 0, b), source.setPixel(2, 0, c);
  source.setPixel(0, 1, d), source.setPixel(1, 1, e), source.setPixel(2, 1, f);
  const auto rows = [](const QImage& image) {
    std::vector<std::vector<QRgb>> result(static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) result[static_cast<std::size_t>(y)].push_back(image.pixel(x, y));
    return result;
  };
  using Rows = std::vector<std::vector<QRgb>>;
  EXPECT_EQ(rows(RotateBitmap(source, 90)), (Rows{{d, a}, {e, b}, {f, c}}));
  EXPECT_EQ(rows(RotateBitmap(source, 180)), (Rows{{f, e, d}, {c, b, a}}));
  EXPECT_EQ(rows(RotateBitmap(source, 270)), (Rows{{c, f}, {b, e}, {a, d}}));
}

TEST(RotateBitmap, MapsEveryPixelAndKeepsTheFormatInEveryDepth) {
  const QImage::Format formats[] = {QImage::Format_Mono,       QImage::Format_MonoLSB, QImage::Format_Indexed8,
                                    QImage::Format_Grayscale8, QImage::Format_RGB16,   QImage::Format_RGB555,
                                    QImage::Format_RGB888,     QImage::Format_RGB32,   QImage::Format_ARGB32,
                                    QImage::Format_RGBA64};
  // 131 x 70 crosses the 64-pixel tiles and the byte boundaries of one-bit rows.
  for (const QImage::Format format : formats) {
    const QImage source = NumberedImage(131, 70, format);
    for (const int angle : {90, 180, 270}) {
      SCOPED_TRACE(testing::Message() << "format " << format << ", " << angle << " degrees");
      const QImage turned = RotateBitmap(source, angle);
      EXPECT_EQ(turned.format(), format);
      EXPECT_EQ(turned.colorTable(), source.colorTable());
      ASSERT_EQ(turned.size(), angle == 180 ? QSize(131, 70) : QSize(70, 131));
      int wrong = 0;
      for (int y = 0; y < turned.height(); ++y) {
        for (int x = 0; x < turned.width(); ++x) {
          const QPoint from = SourceOf(angle, x, y, 131, 70);
          const bool same = source.depth() <= 8 && format != QImage::Format_Grayscale8
                                ? turned.pixelIndex(x, y) == source.pixelIndex(from)
                                : turned.pixelColor(x, y) == source.pixelColor(from);
          wrong += same ? 0 : 1;
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST(RotateBitmap, AnIndexedPictureKeepsItsPalette) {
  QImage source(4, 2, QImage::Format_Indexed8);
  source.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)});
  source.fill(0);
  source.setPixel(3, 0, 2);  // top right blue
  source.setPixel(0, 1, 1);  // bottom left green
  const QImage turned = RotateBitmap(source, 90);
  EXPECT_EQ(turned.format(), QImage::Format_Indexed8);
  EXPECT_EQ(turned.colorCount(), 3);
  EXPECT_EQ(turned.pixel(1, 3), qRgb(0, 0, 255));  // top right went to bottom right
  EXPECT_EQ(turned.pixel(0, 0), qRgb(0, 255, 0));  // bottom left went to top left
  EXPECT_EQ(turned.pixel(1, 0), qRgb(255, 0, 0));
}

TEST(RotateBitmap, AnglesAreTakenModuloAFullTurn) {
  const QImage source = NumberedImage(5, 3, QImage::Format_RGB32);
  EXPECT_EQ(RotateBitmap(source, -90), RotateBitmap(source, 270));
  EXPECT_EQ(RotateBitmap(source, 450), RotateBitmap(source, 90));
  EXPECT_EQ(RotateBitmap(source, 360), source);
  EXPECT_EQ(RotateBitmap(source, 0), source);
  EXPECT_EQ(RotateBitmap(source, 45), source);  // not a right angle: left as it is
  EXPECT_TRUE(RotateBitmap(QImage(), 90).isNull());
}

TEST(LoadPictureRotated, ShowsThePictureTurnedByTheAngle) {
  TTempFolder folder;
  const QImage pattern = PatternImage(640, 480);
  SavePicture(pattern, folder.Path("photo.png"), "png");
  SavePicture(pattern, folder.Path("photo.jpg"), "jpg");
  for (const std::string name : {"photo.png", "photo.jpg"}) {
    SCOPED_TRACE(name);
    const std::optional<QImage> upright = LoadPictureRotated(folder.Path(name), 0);
    ASSERT_TRUE(upright.has_value());
    EXPECT_EQ(upright->size(), QSize(640, 480));
    const std::optional<QImage> turned = LoadPictureRotated(folder.Path(name), 90);
    ASSERT_TRUE(turned.has_value());
    EXPECT_EQ(turned->size(), QSize(480, 640));
    EXPECT_EQ(*turned, RotateBitmap(*upright, 90));
    EXPECT_EQ(LoadPictureRotated(folder.Path(name), 180)->size(), QSize(640, 480));
  }
  EXPECT_FALSE(LoadPictureRotated(folder.Path("missing.jpg"), 90).has_value());
  WriteBytes(folder.Path("broken.jpg"), "not a picture");
  EXPECT_THROW(LoadPictureRotated(folder.Path("broken.jpg"), 90), EHakuvoError);
}

}  // namespace
}  // namespace hakuvo
