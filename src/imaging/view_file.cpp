#include "imaging/view_file.h"

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/common/safe_file_writer.h"
#include "core/model/link_data.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_loader.h"

namespace hakuvo {

namespace {

constexpr int kThumbnailQuality = 90;

// numerator / denominator to the nearest integer, a half to the even one; both positive.
int RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t quotient = numerator / denominator;
  const std::int64_t twiceRest = 2 * (numerator % denominator);
  if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) ++quotient;
  return static_cast<int>(quotient);
}

struct TThumbnailSource {
  std::string FileName;
  TImageFileLink* Image = nullptr;
  TThingLink* Thing = nullptr;
};

std::optional<TThumbnailSource> SourceOf(TLinkData& link) {
  if (auto* image = dynamic_cast<TImageFileLink*>(&link)) return TThumbnailSource{image->FileName, image, nullptr};
  if (auto* thing = dynamic_cast<TThingLink*>(&link)) return TThumbnailSource{thing->PhotoFileName(), nullptr, thing};
  return std::nullopt;
}

}  // namespace

QSize ThumbnailSize(QSize picture, int width, int height) {
  const std::int64_t w = std::max(picture.width(), 1);
  const std::int64_t h = std::max(picture.height(), 1);
  int thumbWidth = width;
  int thumbHeight = RoundHalfEven(width * h, w);
  if (thumbHeight > height) {
    thumbHeight = height;
    thumbWidth = RoundHalfEven(height * w, h);
  }
  // A panorama thousands of pixels wide for each one high would otherwise round to nothing,
  // which no JPEG can hold.
  return {std::max(thumbWidth, 1), std::max(thumbHeight, 1)};
}

bool MakeImageViewFile(TLinkData& link, int width, int height, const std::string& folder) {
  const std::optional<TThumbnailSource> source = SourceOf(link);
  if (!source || source->FileName.empty()) return false;
  std::error_code error;
  if (!std::filesystem::is_regular_file(source->FileName, error)) return false;

  const auto wanted = [width, height](QSize stored) { return ThumbnailSize(stored, width, height); };
  const std::optional<TLoadedPicture> picture = LoadGraphicReduced(source->FileName, wanted);
  if (!picture) return false;
  const QSize size = ThumbnailSize(picture->StoredSize, width, height);
  const QImage thumbnail = picture->Image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

  // Written before the old one goes, so that a failed save leaves the link with a thumbnail.
  const std::string name = MakeViewFileName(folder, ".jpg");
  WriteFileAtomically(name, EncodeJpeg(thumbnail, kThumbnailQuality), sdCacheFile);
  if (source->Image) {
    source->Image->DeleteViewFile();
    source->Image->ViewFileName = name;
  } else {
    source->Thing->DeleteViewFile();
    source->Thing->SetViewFileName(name);
  }
  return true;
}

}  // namespace hakuvo
