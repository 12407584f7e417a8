#include "imaging/view_file.h"

#include <QImage>

#include <filesystem>
#include <optional>

#include "core/links/file_kind.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_loader.h"

namespace hakuvo {

QSize ThumbnailSize(QSize picture, int width, int height) {
  return ToQSize(ThumbnailSize(ToPictureSize(picture), width, height));
}

bool MakeImageViewFile(TLinkData& link, int width, int height, const std::string& folder) {
  const std::optional<std::string> source = ThumbnailSourceOf(link);
  if (!source || source->empty()) return false;
  if (IsJpegFile(*source)) return MakeJpegViewFile(link, width, height, folder);
  std::error_code error;
  if (!std::filesystem::is_regular_file(*source, error)) return false;

  const std::optional<QImage> picture = LoadGraphic(*source);
  if (!picture) return false;
  const QSize size = ThumbnailSize(picture->size(), width, height);
  const QImage thumbnail = picture->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  ReplaceImageViewFile(link, EncodeJpeg(thumbnail, kThumbnailQuality), folder);
  return true;
}

}  // namespace hakuvo
