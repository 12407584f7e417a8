#include "imaging/jpeg_codec.h"

#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

// JPEG has no transparency; transparent parts of an icon or a PNG show as white, as on the
// white page of a viewer.
QImage OpaqueRgb32(const QImage& image) {
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      const QRgb p = line[x];
      const int clear = 255 - qAlpha(p);
      line[x] = qRgb(qRed(p) + clear, qGreen(p) + clear, qBlue(p) + clear);
    }
  }
  return result.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

int JpegReduction(QSize storedSize, QSize atLeast) {
  return JpegReduction(ToPictureSize(storedSize), ToPictureSize(atLeast));
}

TDecodedImage DecodeJpegImage(const unsigned char* data, std::size_t size, const TWantedQtSize& wanted) {
  TDecodedImage result;
  TWantedSize coreWanted;
  if (wanted) coreWanted = [&wanted](TPictureSize stored) { return ToPictureSize(wanted(ToQSize(stored))); };
  // The core's pfRgb32 is Format_RGB32's layout, so the decoder writes into the image itself.
  const auto allocate = [&result](int width, int height, TPixelFormat format) {
    result.Image = QImage(width, height, format == pfGrey8 ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (result.Image.isNull()) return TPixelTarget{};
    return TPixelTarget{result.Image.bits(), static_cast<std::ptrdiff_t>(result.Image.bytesPerLine())};
  };
  try {
    result.StoredSize = ToQSize(DecodeJpegInto(data, size, coreWanted, allocate));
  } catch (...) {
    result.Image = QImage();
    throw;
  }
  return result;
}

std::string EncodeJpeg(const QImage& image, int quality) {
  if (image.isNull()) throw EHakuvoError("JPEG: 画像が空です");
  const QImage rgb = OpaqueRgb32(image);
  const TPixelRows rows{rgb.constBits(), rgb.width(), rgb.height(), static_cast<std::ptrdiff_t>(rgb.bytesPerLine()),
                        pfRgb32};
  return EncodeJpeg(rows, quality);
}

}  // namespace hakuvo
