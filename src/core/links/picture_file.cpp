#include "core/links/picture_file.h"

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"

namespace hakuvo {

std::optional<TFileBytes> ReadPictureFile(const std::string& fileName) {
  // A pipe or a device given a picture's name would block the caller or never end: the common
  // opener refuses it with an error that names it.
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

void ThrowUndecodablePicture(const std::string& fileName, const EHakuvoError& reason) {
  throw EHakuvoError("画像ファイルを読み込めません: " + fileName + " (" + reason.what() + ")",
                     "cannot read the picture " + fileName + " (" + reason.English() + ")");
}

void ThrowUndecodablePicture(const std::string& fileName, const std::string& reason) {
  const TJapaneseEnglish words = SplitJapaneseEnglish(reason);
  throw EHakuvoError("画像ファイルを読み込めません: " + fileName + " (" + words.Japanese + ")",
                     "cannot read the picture " + fileName + " (" + words.English + ")");
}

}  // namespace hakuvo
