#include "core/graph/legend_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace hakuvo {
namespace {

// Bars of equal width side by side across the plot, rising to the given fractions of its height.
std::vector<TPlotMark> Bars(const std::vector<double>& heights) {
  std::vector<TPlotMark> marks;
  const double width = 1.0 / static_cast<double>(heights.size());
  for (std::size_t i = 0; i < heights.size(); ++i) {
    const double left = width * static_cast<double>(i);
    marks.push_back({left + width * 0.2, left + width * 0.8, 0, heights[i]});
  }
  return marks;
}

// A line's points as small squares.
std::vector<TPlotMark> Points(const std::vector<std::pair<double, double>>& xy) {
  std::vector<TPlotMark> marks;
  for (const auto& [x, y] : xy) marks.push_back({x - 0.01, x + 0.01, y - 0.01, y + 0.01});
  return marks;
}

TEST(LegendPlacement, TheFirstCornerThatHidesNothingElseAbove) {
  struct TCase {
    const char* Name;
    std::vector<TPlotMark> Marks;
    double Width, Height;
    TLegendPlace Expected;
  };
  const TCase cases[] = {
      {"nothing drawn", {}, 0.3, 0.1, lpTopRight},
      {"low bars leave the top free", Bars({0.3, 0.5, 0.4, 0.6}), 0.3, 0.1, lpTopRight},
      {"the highest bar on the right", Bars({0.3, 0.2, 0.4, 0.5, 0.95}), 0.3, 0.1, lpTopLeft},
      {"high bars at both ends", Bars({0.95, 0.2, 0.3, 0.2, 0.95}), 0.3, 0.1, lpAbove},
      {"a bar just below the legend is not covered", Bars({0.3, 0.2, 0.4, 0.5, 0.9}), 0.3, 0.1, lpTopRight},
      {"every bar high", Bars({0.95, 0.95, 0.92, 0.97}), 0.3, 0.1, lpAbove},
      {"a falling line leaves the top right and bottom left free",
       Points({{0.05, 0.95}, {0.3, 0.7}, {0.5, 0.5}, {0.7, 0.3}, {0.95, 0.05}}), 0.3, 0.1, lpTopRight},
      {"a rising line", Points({{0.05, 0.05}, {0.3, 0.3}, {0.5, 0.5}, {0.7, 0.7}, {0.95, 0.95}}), 0.3, 0.1, lpTopLeft},
      {"a line along the top", Points({{0.05, 0.95}, {0.5, 0.95}, {0.95, 0.95}, {0.9, 0.05}}), 0.3, 0.1, lpBottomLeft},
      {"a legend wider than the plot", {}, 1.2, 0.1, lpAbove},
      {"a legend of no size", {}, 0, 0, lpAbove},
  };
  for (const TCase& test : cases) {
    EXPECT_EQ(ChooseLegendPlace(test.Marks, test.Width, test.Height), test.Expected) << test.Name;
  }
}

}  // namespace
}  // namespace hakuvo
