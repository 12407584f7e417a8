#include "imaging/picture_loader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"
#include "core/common/text_util.h"
#include "core/links/file_kind.h"

namespace hakuvo {

namespace {

struct TFileBytes {
  std::unique_ptr<unsigned char[]> Data;  // left uninitialised: a photograph is megabytes
  std::size_t Size = 0;
};

// None when the file cannot be opened or read. Only plain files are read: a pipe or a device
// given a picture's name would otherwise block the caller or never end, and is refused with an
// error that names it.
std::optional<TFileBytes> ReadFileBytes(const std::string& fileName) {
  TInputFile file;
  int error = 0;
  if (!file.Open(fileName, error)) return std::nullopt;
  TFileBytes bytes;
  const auto capacity = static_cast<std::size_t>(file.Size());
  bytes.Data.reset(new unsigned char[capacity == 0 ? 1 : capacity]);
  // A file that shrinks meanwhile is read as far as it goes; growth is ignored.
  while (bytes.Size < capacity) {
    const std::ptrdiff_t count = file.Read(bytes.Data.get() + bytes.Size, capacity - bytes.Size);
    if (count < 0) return std::nullopt;
    if (count == 0) break;
    bytes.Size += static_cast<std::size_t>(count);
  }
  return bytes;
}

[[noreturn]] void ThrowDamaged(const std::string& fileName, const std::string& reason) {
  throw EHakuvoError("画像ファイルを読み込めません: " + fileName + " (" + reason + ")");
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
  QImage image = reader.read();
  if (image.isNull()) ThrowDamaged(fileName, reader.errorString().toStdString());
  return image;
}

}  // namespace

std::optional<TLoadedPicture> LoadGraphicReduced(const std::string& fileName, const TWantedSize& wanted) {
  const bool jpeg = IsJpegFile(fileName);
  const char* qtFormat = jpeg ? nullptr : QtFormatOf(fileName);
  if (!jpeg && !qtFormat) return std::nullopt;
  const std::optional<TFileBytes> bytes = ReadFileBytes(fileName);
  if (!bytes) return std::nullopt;
  if (!jpeg) {
    QImage image = DecodeWithQt(fileName, *bytes, qtFormat);
    const QSize size = image.size();
    return TLoadedPicture{std::move(image), size};
  }
  try {
    TDecodedJpeg decoded = DecodeJpeg(bytes->Data.get(), bytes->Size, wanted);
    return TLoadedPicture{std::move(decoded.Image), decoded.StoredSize};
  } catch (const EHakuvoError& error) {
    ThrowDamaged(fileName, error.what());
  }
}

std::optional<QImage> LoadGraphic(const std::string& fileName) {
  std::optional<TLoadedPicture> picture = LoadGraphicReduced(fileName, {});
  if (!picture) return std::nullopt;
  return std::move(picture->Image);
}

}  // namespace hakuvo
