#include "core/links/pixel_image.h"

namespace hakuvo {

int BytesPerPixel(TPixelFormat format) { return format == pfGrey8 ? 1 : 4; }

TPixelImage::TPixelImage(int width, int height, TPixelFormat format)
    : FWidth(width),
      FHeight(height),
      FFormat(format),
      FBits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * BytesPerPixel(format)) {}

}  // namespace hakuvo
