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

std::optional<std::string> MakeImageThumbnailFile(const std::string& source, int width, int height,
                                                  const std::string& folder) {
  if (source.empty()) return std::nullopt;
  if (IsJpegFile(source)) {
    const std::optional<std::string> jpeg = MakeJpegThumbnail(source, width, height);
    if (!jpeg) return std::nullopt;
    return WriteImageViewFile(*jpeg, folder);
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(source, error)) return std::nullopt;
  const std::optional<QImage> picture = LoadGraphic(source);
  if (!picture) return std::nullopt;
  const QSize size = ThumbnailSize(picture->size(), width, height);
  const QImage thumbnail = picture->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return WriteImageViewFile(EncodeJpeg(thumbnail, kThumbnailQuality), folder);
}

bool MakeImageViewFile(TLinkData& link, int width, int height, const std::string& folder) {
  const std::optional<std::string> source = ThumbnailSourceOf(link);
  if (!source) return false;
  const std::optional<std::string> name = MakeImageThumbnailFile(*source, width, height, folder);
  if (!name) return false;
  SetImageViewFile(link, *name);
  return true;
}

}  // namespace hakuvo
