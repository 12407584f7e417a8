#include "core/graph/legend_placement.h"

#include <array>

namespace hakuvo {

namespace {

bool Overlaps(const TPlotMark& a, const TPlotMark& b) {
  // Touching edges hide nothing.
  return a.Left < b.Right && b.Left < a.Right && a.Bottom < b.Top && b.Bottom < a.Top;
}

TPlotMark CornerBox(TLegendPlace place, double width, double height) {
  const bool right = place == lpTopRight || place == lpBottomRight;
  const bool top = place == lpTopRight || place == lpTopLeft;
  TPlotMark box;
  box.Left = right ? 1 - width : 0;
  box.Right = right ? 1 : width;
  box.Bottom = top ? 1 - height : 0;
  box.Top = top ? 1 : height;
  return box;
}

}  // namespace

TLegendPlace ChooseLegendPlace(std::span<const TPlotMark> marks, double legendWidth, double legendHeight) {
  if (!(legendWidth > 0 && legendWidth <= 1 && legendHeight > 0 && legendHeight <= 1)) return lpAbove;
  static constexpr std::array<TLegendPlace, 4> corners{lpTopRight, lpTopLeft, lpBottomRight, lpBottomLeft};
  for (const TLegendPlace corner : corners) {
    const TPlotMark box = CornerBox(corner, legendWidth, legendHeight);
    bool covers = false;
    for (const TPlotMark& mark : marks) {
      if (Overlaps(box, mark)) {
        covers = true;
        break;
      }
    }
    if (!covers) return corner;
  }
  return lpAbove;
}

}  // namespace hakuvo
