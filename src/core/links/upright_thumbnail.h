#pragma once

#include <optional>
#include <string>

#include "core/links/pixel_image.h"

namespace hakuvo {

// The picture turned clockwise by 0, 90, 180 or 270 degrees (any other angle: unturned), as
// pfRgb32 or pfGrey8 like the picture.
TPixelImage RotatePixels(const TPixelRows& picture, int degrees);

// The JPEG thumbnail of a JPEG photograph as a person looks at it: turned upright by the
// photograph's Exif orientation and fitted into width x height as it stands. The diary's own view
// files stay unturned (MakeJpegThumbnail): the program turns them as it shows them. None when the
// file cannot be opened; a photograph that cannot be decoded raises EHakuvoError naming it.
std::optional<std::string> MakeUprightJpegThumbnail(const std::string& fileName, int width, int height);

}  // namespace hakuvo
