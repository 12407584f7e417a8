#include "core/links/upright_thumbnail.h"

#include <cstring>

#include "core/common/hakuvo_error.h"
#include "core/gps/jpeg_exif.h"
#include "core/links/jpeg_codec.h"
#include "core/links/picture_file.h"
#include "core/links/thumbnail.h"

namespace hakuvo {

TPixelImage RotatePixels(const TPixelRows& picture, int degrees) {
  const bool across = degrees == 90 || degrees == 270;
  const int width = across ? picture.Height : picture.Width;
  const int height = across ? picture.Width : picture.Height;
  TPixelImage turned(width, height, picture.Format);
  const int bytes = BytesPerPixel(picture.Format);
  for (int y = 0; y < height; ++y) {
    unsigned char* out = turned.Bits() + turned.Stride() * y;
    for (int x = 0; x < width; ++x, out += bytes) {
      // The source pixel that lands at (x, y) after the turn.
      int sx = x;
      int sy = y;
      switch (degrees) {
        case 90:
          sx = y, sy = picture.Height - 1 - x;
          break;
        case 180:
          sx = picture.Width - 1 - x, sy = picture.Height - 1 - y;
          break;
        case 270:
          sx = picture.Width - 1 - y, sy = x;
          break;
        default:
          break;
      }
      std::memcpy(out, picture.Row(sy) + static_cast<std::ptrdiff_t>(sx) * bytes, static_cast<std::size_t>(bytes));
    }
  }
  return turned;
}

std::optional<std::string> MakeUprightJpegThumbnail(const std::string& fileName, int width, int height) {
  const std::optional<TFileBytes> bytes = ReadPictureFile(fileName);
  if (!bytes) return std::nullopt;
  const int degrees = ExifOrientation(fileName);
  // Fitted as it will stand: a picture turned a quarter fills the box turned a quarter.
  const bool across = degrees == 90 || degrees == 270;
  const int boxWidth = across ? height : width;
  const int boxHeight = across ? width : height;
  const auto wanted = [boxWidth, boxHeight](TPictureSize stored) { return ThumbnailSize(stored, boxWidth, boxHeight); };
  TDecodedJpeg decoded;
  try {
    decoded = DecodeJpeg(bytes->Data.get(), bytes->Size, wanted);
  } catch (const EHakuvoError& error) {
    ThrowUndecodablePicture(fileName, error);
  }
  const TPixelImage thumbnail =
      ScaleSmooth(decoded.Image.Rows(), ThumbnailSize(decoded.StoredSize, boxWidth, boxHeight));
  if (degrees == 0) return EncodeJpeg(thumbnail.Rows(), kThumbnailQuality);
  return EncodeJpeg(RotatePixels(thumbnail.Rows(), degrees).Rows(), kThumbnailQuality);
}

}  // namespace hakuvo
