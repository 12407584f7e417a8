#include "core/graph/column_thinning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace hakuvo {
namespace {

struct TTrack {
  std::vector<double> Xs;
  std::vector<double> Ys;
};

// A jog's speed, one value a second, with a spike up and a spike down put in by the caller.
TTrack Jog(int points, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0, 0.4);
  TTrack track;
  for (int i = 0; i < points; ++i) {
    track.Xs.push_back(i * 0.003);
    track.Ys.push_back(10 + std::sin(i / 500.0) + noise(random));
  }
  return track;
}

// Checks, column by column, that the kept points reach the full line's extremes and its first
// and last point, and that every gap is kept.
void ExpectColumnsKept(const TTrack& track, const std::vector<int>& kept, double xMin, double xMax, int columns,
                       const std::string& what) {
  ASSERT_TRUE(std::is_sorted(kept.begin(), kept.end())) << what;
  ASSERT_EQ(std::adjacent_find(kept.begin(), kept.end()), kept.end()) << what;
  const auto columnOf = [&](double x) {
    return std::clamp(static_cast<int>(std::floor((x - xMin) / (xMax - xMin) * columns)), 0, columns);
  };
  std::vector<double> fullLow(columns + 1, INFINITY), fullHigh(columns + 1, -INFINITY);
  std::vector<double> keptLow(columns + 1, INFINITY), keptHigh(columns + 1, -INFINITY);
  for (std::size_t i = 0; i < track.Xs.size(); ++i) {
    if (std::isnan(track.Ys[i])) continue;
    const int c = columnOf(track.Xs[i]);
    fullLow[c] = std::min(fullLow[c], track.Ys[i]);
    fullHigh[c] = std::max(fullHigh[c], track.Ys[i]);
  }
  for (int index : kept) {
    const auto i = static_cast<std::size_t>(index);
    if (std::isnan(track.Ys[i])) continue;
    const int c = columnOf(track.Xs[i]);
    keptLow[c] = std::min(keptLow[c], track.Ys[i]);
    keptHigh[c] = std::max(keptHigh[c], track.Ys[i]);
  }
  for (int c = 0; c <= columns; ++c) {
    EXPECT_EQ(keptLow[c], fullLow[c]) << what << " column " << c;
    EXPECT_EQ(keptHigh[c], fullHigh[c]) << what << " column " << c;
  }
  for (std::size_t i = 0; i < track.Ys.size(); ++i) {
    if (std::isnan(track.Ys[i])) {
      EXPECT_TRUE(std::binary_search(kept.begin(), kept.end(), static_cast<int>(i))) << what << " gap " << i;
    }
  }
  EXPECT_EQ(kept.front(), 0) << what;
  EXPECT_EQ(kept.back(), static_cast<int>(track.Xs.size()) - 1) << what;
}

TEST(ThinToPixelColumns, EveryColumnKeepsItsPeaksTroughsAndEnds) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::string What;
    int Points;
    int Columns;
    std::vector<std::pair<int, double>> Spikes;  // index, y (NaN: a gap)
  };
  const Case cases[] = {
      {"no spike", 100'000, 800, {}},
      {"one spike up", 100'000, 800, {{51'234, 95}}},
      {"one spike down", 100'000, 800, {{7'777, -3}}},
      {"spikes up and down in one column", 100'000, 640, {{30'001, 80}, {30'003, 0.5}}},
      {"spike at the first and the last point", 50'000, 500, {{0, 70}, {49'999, 60}}},
      {"gaps and a lone value between two", 20'000, 300, {{1'000, nan}, {1'001, 40}, {1'002, nan}, {9'000, nan}}},
      {"fewer points than columns", 300, 1'000, {{150, 99}}},
  };
  for (const Case& c : cases) {
    TTrack track = Jog(c.Points, 7);
    for (const auto& [index, y] : c.Spikes) track.Ys[static_cast<std::size_t>(index)] = y;
    const double xMin = track.Xs.front(), xMax = track.Xs.back();
    const std::vector<int> kept = ThinToPixelColumns(track.Xs, track.Ys, xMin, xMax, c.Columns);
    ExpectColumnsKept(track, kept, xMin, xMax, c.Columns, c.What);
    // At most four points per column (and the gaps): a million points draw like a few thousand.
    EXPECT_LE(kept.size(), static_cast<std::size_t>(4 * (c.Columns + 1) + 3 * c.Spikes.size())) << c.What;
    for (const auto& [index, y] : c.Spikes) {
      EXPECT_TRUE(std::binary_search(kept.begin(), kept.end(), index)) << c.What << " spike " << index;
    }
  }
}

TEST(ThinToPixelColumns, NothingToThinKeepsEveryPoint) {
  const std::vector<double> xs = {1, 1, 1}, ys = {3, 4, 5};
  EXPECT_EQ(ThinToPixelColumns(xs, ys, 1, 1, 500), (std::vector<int>{0, 1, 2}));  // no x span
  EXPECT_EQ(ThinToPixelColumns(xs, ys, 0, 2, 0), (std::vector<int>{0, 1, 2}));    // no columns
  EXPECT_TRUE(ThinToPixelColumns({}, {}, 0, 1, 10).empty());
}

}  // namespace
}  // namespace hakuvo
