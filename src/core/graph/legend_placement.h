#pragma once

#include <cstdint>
#include <span>

namespace hakuvo {

// Where a chart's legend goes: in a corner of the plot, or in a row of its own above it.
enum TLegendPlace : std::uint8_t { lpTopRight = 0, lpTopLeft, lpBottomRight, lpBottomLeft, lpAbove };

// What a chart draws, as a rectangle in fractions of the plot: 0 at the left and bottom edges, 1
// at the right and top ones. A bar reaches from its base to its value; a line point is a
// rectangle of its marker's size.
struct TPlotMark {
  double Left = 0;
  double Right = 0;
  double Bottom = 0;
  double Top = 0;
};

// The corner of the plot where a legend of the given size (in the same fractions) covers none of
// the marks, trying the top corners before the bottom ones and the right before the left; where
// every corner would cover one, the legend goes above the plot, where it hides nothing. A legend
// larger than the plot in either direction goes above as well.
TLegendPlace ChooseLegendPlace(std::span<const TPlotMark> marks, double legendWidth, double legendHeight);

}  // namespace hakuvo
