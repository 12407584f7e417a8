#pragma once

#include <optional>
#include <string>

#include "core/links/pixel_image.h"

namespace hakuvo {

class TLinkData;

// The quality every thumbnail file is encoded at.
constexpr int kThumbnailQuality = 90;

// The thumbnail size of a w x h picture in a box of width x height: the full width and the
// height in proportion, or, when that is too tall, the full height and the width in proportion.
// Both are rounded to the nearest whole pixel, a half to the even neighbour, and are at least
// one pixel. Small pictures are enlarged.
TPictureSize ThumbnailSize(TPictureSize picture, int width, int height);

// The picture resampled to `size` as pfRgb32: each new pixel is the average of the area of the
// picture it covers when shrinking, and a linear blend of its neighbours when enlarging.
TPixelImage ScaleSmooth(const TPixelRows& picture, TPictureSize size);

// The bytes of the JPEG thumbnail of a JPEG photograph: decoded reduced in libjpeg's transform
// stage to no less than the thumbnail, scaled smoothly to ThumbnailSize (the Exif orientation is
// left to whoever shows it) and encoded at kThumbnailQuality. None when the file cannot be opened;
// a photograph that cannot be decoded raises EHakuvoError naming the file.
std::optional<std::string> MakeJpegThumbnail(const std::string& fileName, int width, int height);

// The file a link's thumbnail is made from: the FileName of an image file link, the
// PhotoFileName of a thing or person link; none for any other link.
std::optional<std::string> ThumbnailSourceOf(const TLinkData& link);

// The two halves of giving a link a new thumbnail, so that the file can be made where no link
// may be touched (a worker thread) and the link changed afterwards where it lives.
// Saves `jpeg` under a new MakeViewFileName(folder, ".jpg") as a cache file and returns the name;
// a failed save raises EHakuvoError.
std::string WriteImageViewFile(const std::string& jpeg, const std::string& folder);
// Deletes the link's previous view file and points the link at `name` (image links, things and
// persons; other links are left alone).
void SetImageViewFile(TLinkData& link, const std::string& name);
// Saves `jpeg` under a new MakeViewFileName(folder, ".jpg") as a cache file, then deletes the
// link's previous view file and points the link at the new one. Written before the old one goes,
// so that a failed save (EHakuvoError) leaves the link with its thumbnail.
void ReplaceImageViewFile(TLinkData& link, const std::string& jpeg, const std::string& folder);

// MakeImageViewFile for a link whose source is a JPEG photograph, without any picture library
// besides libjpeg. Returns false, doing nothing, for another kind of link or source, or a source
// that cannot be opened.
bool MakeJpegViewFile(TLinkData& link, int width, int height, const std::string& folder);

}  // namespace hakuvo
