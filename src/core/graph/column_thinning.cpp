#include "core/graph/column_thinning.h"

#include <algorithm>
#include <cmath>

namespace hakuvo {

std::vector<int> ThinToPixelColumns(std::span<const double> xs, std::span<const double> ys, double xMin, double xMax,
                                    int columns) {
  const std::size_t count = std::min(xs.size(), ys.size());
  std::vector<int> kept;
  if (count == 0) return kept;
  const double span = xMax - xMin;
  if (columns <= 0 || !(span > 0) || !std::isfinite(span)) {
    // No columns to speak of: nothing can be left out safely.
    kept.resize(count);
    for (std::size_t i = 0; i < count; ++i) kept[i] = static_cast<int>(i);
    return kept;
  }
  kept.reserve(std::min(count, static_cast<std::size_t>(columns) * 4 + 16));
  const double scale = columns / span;
  const auto columnOf = [&](double x) -> long long {
    if (x < xMin) return -1;
    if (x > xMax) return columns + 1LL;
    return static_cast<long long>(std::floor((x - xMin) * scale));
  };
  // The group now open: its column and its first, last, lowest and highest points.
  bool open = false;
  long long column = 0;
  std::size_t first = 0, last = 0, low = 0, high = 0;
  const auto close = [&] {
    if (!open) return;
    std::size_t group[4] = {first, low, high, last};
    std::sort(group, group + 4);
    for (std::size_t k = 0; k < 4; ++k) {
      if (k == 0 || group[k] != group[k - 1]) kept.push_back(static_cast<int>(group[k]));
    }
    open = false;
  };
  for (std::size_t i = 0; i < count; ++i) {
    if (std::isnan(ys[i])) {
      close();
      kept.push_back(static_cast<int>(i));
      continue;
    }
    const long long at = columnOf(xs[i]);
    if (open && at != column) close();
    if (!open) {
      open = true;
      column = at;
      first = last = low = high = i;
      continue;
    }
    last = i;
    if (ys[i] < ys[low]) low = i;
    if (ys[i] > ys[high]) high = i;
  }
  close();
  return kept;
}

}  // namespace hakuvo
