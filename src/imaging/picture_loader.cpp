#include "imaging/picture_loader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include "core/common/hakuvo_error.h"
#include "core/common/text_util.h"
#include "core/links/file_kind.h"
#include "core/links/jpeg_codec.h"
#include "core/links/picture_file.h"

namespace hakuvo {

namespace {

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
  const QSize claimed = reader.size();
  if (claimed.isValid() && static_cast<long long>(claimed.width()) * claimed.height() > MaxPicturePixels) {
    ThrowUndecodablePicture(fileName, TooManyPixelsMessage(claimed.width(), claimed.height()));
  }
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
    ThrowUndecodablePicture(fileName, error.what());
  }
}

std::optional<QImage> LoadGraphic(const std::string& fileName) {
  std::optional<TLoadedPicture> picture = LoadGraphicReduced(fileName, {});
  if (!picture) return std::nullopt;
  return std::move(picture->Image);
}

}  // namespace hakuvo
