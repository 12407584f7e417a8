#include "core/graph/lone_points.h"

#include <cmath>

namespace hakuvo {

std::vector<int> LonePoints(std::span<const double> ys) {
  std::vector<int> lone;
  const std::size_t count = ys.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (std::isnan(ys[i])) continue;
    const bool gapBefore = i == 0 || std::isnan(ys[i - 1]);
    const bool gapAfter = i + 1 == count || std::isnan(ys[i + 1]);
    if (gapBefore && gapAfter) lone.push_back(static_cast<int>(i));
  }
  return lone;
}

}  // namespace hakuvo
