#include "core/model/map_info.h"

namespace hakuvo {

int ColorToHtml(TColor color) {
  const auto rgb = static_cast<std::uint32_t>(color) & 0xFFFFFFu;
  const std::uint32_t red = rgb & 0xFF, green = (rgb >> 8) & 0xFF, blue = (rgb >> 16) & 0xFF;
  return static_cast<int>((red << 16) | (green << 8) | blue);
}

int TMapInfo::LineColorHtml() const { return ColorToHtml(FLineColor); }

}  // namespace hakuvo
