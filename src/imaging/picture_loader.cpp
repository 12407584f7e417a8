#include "imaging/picture_loader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <optional>

#include "core/common/hakuvo_error.h"
#include "core/common/text_util.h"
#include "core/links/file_kind.h"
#include "core/links/jpeg_codec.h"
#include "core/links/picture_file.h"
#include "core/links/picture_header.h"

namespace hakuvo {

namespace {

// The kinds whose header we read ourselves before the toolkit's reader sees them.
std::optional<TPictureHeaderKind> HeaderKindOf(const char* format) {
  if (std::strcmp(format, "png") == 0) return phPng;
  if (std::strcmp(format, "bmp") == 0) return phBmp;
  if (std::strcmp(format, "gif") == 0) return phGif;
  return std::nullopt;
}

// Refuses, in our words, a picture the toolkit would refuse in its own ("Unable to read image
// data") or would decode into more memory than any photograph needs: above the pixels no camera
// makes, or above what the toolkit's allocation limit lets it decode (four bytes a pixel).
void CheckPixelCount(const std::string& fileName, QSize claimed) {
  if (!claimed.isValid()) return;
  const long long pixels = static_cast<long long>(claimed.width()) * claimed.height();
  long long limit = MaxPicturePixels;
  if (const int megabytes = QImageReader::allocationLimit(); megabytes > 0) {
    limit = std::min(limit, static_cast<long long>(megabytes) * 1024 * 1024 / 4);
  }
  if (pixels > limit) ThrowUndecodablePicture(fileName, TooManyPixelsMessage(claimed.width(), claimed.height(), limit));
}

// QImage's reader for the kind the extension names; none for an extension that is no picture.
const char* QtFormatOf(const std::string& fileName) {
  if (EndsWithIgnoreCase(fileName, ".gif")) return "gif";
  if (EndsWithIgnoreCase(fileName, ".png")) return "png";
  if (EndsWithIgnoreCase(fileName, ".bmp")) return "bmp";
  if (EndsWithIgnoreCase(fileName, ".ico")) return "ico";
  return nullptr;
}

QImage DecodeWithQt(const std::string& fileName, const TFileBytes& bytes, const char* format) {
  QByteArray data =
      QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.Data.get()), static_cast<qsizetype>(bytes.Size));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  // The extension decides the kind, so a file whose content is of another kind is damaged.
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(false);
  // The header's own claim first: the toolkit's reader may give no size for a picture it would
  // not decode.
  if (const std::optional<TPictureHeaderKind> kind = HeaderKindOf(format)) {
    if (const std::optional<TPictureSize> size = ClaimedPictureSize(bytes.Data.get(), bytes.Size, *kind)) {
      CheckPixelCount(fileName, QSize(size->Width, size->Height));
    }
  }
  CheckPixelCount(fileName, reader.size());
  QImage image = reader.read();
  if (image.isNull()) ThrowUndecodablePicture(fileName, reader.errorString().toStdString());
  return image;
}

}  // namespace

std::optional<TLoadedPicture> LoadGraphicReduced(const std::string& fileName, const TWantedQtSize& wanted) {
  const bool jpeg = IsJpegFile(fileName);
  const char* qtFormat = jpeg ? nullptr : QtFormatOf(fileName);
  if (!jpeg && !qtFormat) return std::nullopt;
  const std::optional<TFileBytes> bytes = ReadPictureFile(fileName);
  if (!bytes) return std::nullopt;
  if (!jpeg) {
    QImage image = DecodeWithQt(fileName, *bytes, qtFormat);
    const QSize size = image.size();
    return TLoadedPicture{std::move(image), size};
  }
  try {
    TDecodedImage decoded = DecodeJpegImage(bytes->Data.get(), bytes->Size, wanted);
    return TLoadedPicture{std::move(decoded.Image), decoded.StoredSize};
  } catch (const EHakuvoError& error) {
    ThrowUndecodablePicture(fileName, error);
  }
}

std::optional<QImage> LoadGraphic(const std::string& fileName) {
  std::optional<TLoadedPicture> picture = LoadGraphicReduced(fileName, {});
  if (!picture) return std::nullopt;
  return std::move(picture->Image);
}

}  // namespace hakuvo
