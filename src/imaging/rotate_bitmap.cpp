#include "imaging/rotate_bitmap.h"

#include <QColorSpace>
#include <QTransform>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "imaging/picture_loader.h"

namespace hakuvo {

namespace {

int NormalizedAngle(int angle) { return ((angle % 360) + 360) % 360; }

// Where destination pixel (x, y) comes from, as the source pixel of (0, y) and the step from
// one destination pixel to the next along its row (in source bytes).
struct TSourceWalk {
  std::ptrdiff_t RowStart;   // byte offset of the source pixel for destination (0, y) minus y * RowStep
  std::ptrdiff_t RowStep;    // added per destination row
  std::ptrdiff_t PixelStep;  // added per destination column
};

TSourceWalk WalkFor(int angle, int w, int h, std::ptrdiff_t pixelBytes, std::ptrdiff_t sourceStride) {
  switch (angle) {
    case 90:  // (x, y) <- (y, h-1-x)
      return {(h - 1) * sourceStride, pixelBytes, -sourceStride};
    case 180:  // (x, y) <- (w-1-x, h-1-y)
      return {(h - 1) * sourceStride + (w - 1) * pixelBytes, -sourceStride, -pixelBytes};
    default:  // 270: (x, y) <- (w-1-y, x)
      return {(w - 1) * pixelBytes, -pixelBytes, sourceStride};
  }
}

// Whole-byte pixels. The destination is filled in square tiles so that the column-wise reads of
// 90 and 270 degrees stay within the cache.
template <std::size_t N>
void RotateBytes(const QImage& source, QImage& target, int angle) {
  constexpr int kTile = 64;
  const uchar* sourceBits = source.constBits();
  uchar* targetBits = target.bits();
  const std::ptrdiff_t sourceStride = source.bytesPerLine();
  const std::ptrdiff_t targetStride = target.bytesPerLine();
  const TSourceWalk walk = WalkFor(angle, source.width(), source.height(), N, sourceStride);
  const int width = target.width();
  const int height = target.height();
  for (int tileY = 0; tileY < height; tileY += kTile) {
    const int endY = std::min(tileY + kTile, height);
    for (int tileX = 0; tileX < width; tileX += kTile) {
      const int endX = std::min(tileX + kTile, width);
      for (int y = tileY; y < endY; ++y) {
        const uchar* from = sourceBits + walk.RowStart + y * walk.RowStep + tileX * walk.PixelStep;
        uchar* to = targetBits + y * targetStride + static_cast<std::ptrdiff_t>(tileX) * N;
        for (int x = tileX; x < endX; ++x, from += walk.PixelStep, to += N) std::memcpy(to, from, N);
      }
    }
  }
}

// One bit per pixel, most significant bit first (Format_Mono) or least (Format_MonoLSB).
void RotateBits(const QImage& source, QImage& target, int angle) {
  const bool lsbFirst = source.format() == QImage::Format_MonoLSB;
  const auto bitOf = [lsbFirst](int x) { return lsbFirst ? 1 << (x & 7) : 0x80 >> (x & 7); };
  const int w = source.width();
  const int h = source.height();
  target.fill(0);
  for (int y = 0; y < target.height(); ++y) {
    uchar* line = target.scanLine(y);
    for (int x = 0; x < target.width(); ++x) {
      const int sx = angle == 90 ? y : angle == 180 ? w - 1 - x : w - 1 - y;
      const int sy = angle == 90 ? h - 1 - x : angle == 180 ? h - 1 - y : x;
      if (source.constScanLine(sy)[sx >> 3] & bitOf(sx)) line[x >> 3] |= static_cast<uchar>(bitOf(x));
    }
  }
}

}  // namespace

QImage RotateBitmap(const QImage& source, int angle) {
  angle = NormalizedAngle(angle);
  if (source.isNull() || angle % 90 != 0 || angle == 0) return source.copy();
  const bool across = angle != 180;
  QImage target(across ? source.height() : source.width(), across ? source.width() : source.height(), source.format());
  if (target.isNull()) return target;  // out of memory
  target.setColorTable(source.colorTable());
  target.setColorSpace(source.colorSpace());
  target.setDevicePixelRatio(source.devicePixelRatio());
  target.setDotsPerMeterX(across ? source.dotsPerMeterY() : source.dotsPerMeterX());
  target.setDotsPerMeterY(across ? source.dotsPerMeterX() : source.dotsPerMeterY());
  switch (source.depth()) {
    case 1:
      RotateBits(source, target, angle);
      break;
    case 8:
      RotateBytes<1>(source, target, angle);
      break;
    case 16:
      RotateBytes<2>(source, target, angle);
      break;
    case 24:
      RotateBytes<3>(source, target, angle);
      break;
    case 32:
      RotateBytes<4>(source, target, angle);
      break;
    case 64:
      RotateBytes<8>(source, target, angle);
      break;
    case 128:
      RotateBytes<16>(source, target, angle);
      break;
    default:
      return source.transformed(QTransform().rotate(angle));
  }
  return target;
}

std::optional<QImage> LoadPictureRotated(const std::string& fileName, int angle) {
  std::optional<QImage> picture = LoadGraphic(fileName);
  if (!picture || NormalizedAngle(angle) == 0) return picture;
  return RotateBitmap(*picture, angle);
}

}  // namespace hakuvo
