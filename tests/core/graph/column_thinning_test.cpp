#include "core/graph/column_thinning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
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

// Whether the stretches of a column between gaps (their lowest to highest y) together cover
// every height from `low` to `high`: a line joined across a gap then draws nothing new.
bool StretchesCover(const TTrack& track, const std::function<int(double)>& columnOf, int column, double low,
                    double high) {
  std::vector<std::pair<double, double>> stretches;
  bool open = false;
  // The x values ascend: the column's values are one run of them.
  const auto first =
      std::partition_point(track.Xs.begin(), track.Xs.end(), [&](double x) { return columnOf(x) < column; });
  const auto last = std::partition_point(first, track.Xs.end(), [&](double x) { return columnOf(x) <= column; });
  for (auto i = static_cast<std::size_t>(first - track.Xs.begin());
       i < static_cast<std::size_t>(last - track.Xs.begin()); ++i) {
    if (std::isnan(track.Ys[i]) || columnOf(track.Xs[i]) != column) {
      open = false;
      continue;
    }
    if (!open) stretches.emplace_back(track.Ys[i], track.Ys[i]);
    stretches.back().first = std::min(stretches.back().first, track.Ys[i]);
    stretches.back().second = std::max(stretches.back().second, track.Ys[i]);
    open = true;
  }
  std::sort(stretches.begin(), stretches.end());
  double reached = low;
  for (const auto& [from, to] : stretches) {
    if (from > reached) break;
    reached = std::max(reached, to);
  }
  return reached >= high;
}

// Checks, column by column, that the kept points reach the full line's extremes and its first
// and last point; that a gap between two columns is kept; and that where the kept line joins two
// values across a gap of the full line, both lie in one column and the join covers only heights
// the full line's stretches there cover too.
void ExpectColumnsKept(const TTrack& track, const std::vector<int>& kept, double xMin, double xMax, int columns,
                       const std::string& what, bool joinsWithinStretches = true) {
  ASSERT_TRUE(std::is_sorted(kept.begin(), kept.end())) << what;
  ASSERT_EQ(std::adjacent_find(kept.begin(), kept.end()), kept.end()) << what;
  const std::function<int(double)> columnOf = [&](double x) {
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
  // Each pair of neighbours in the full line with a gap between them.
  int before = -1;
  for (std::size_t i = 0; i < track.Ys.size(); ++i) {
    if (std::isnan(track.Ys[i])) continue;
    const int after = static_cast<int>(i);
    if (before >= 0 && after > before + 1 &&
        columnOf(track.Xs[static_cast<std::size_t>(before)]) != columnOf(track.Xs[i])) {
      const auto from = std::upper_bound(kept.begin(), kept.end(), before);
      const auto to = std::lower_bound(kept.begin(), kept.end(), after);
      EXPECT_TRUE(std::any_of(from, to, [&](int k) { return std::isnan(track.Ys[static_cast<std::size_t>(k)]); }))
          << what << " gap between columns after " << before;
    }
    before = after;
  }
  for (std::size_t k = 1; joinsWithinStretches && k < kept.size(); ++k) {
    const auto a = static_cast<std::size_t>(kept[k - 1]), b = static_cast<std::size_t>(kept[k]);
    if (std::isnan(track.Ys[a]) || std::isnan(track.Ys[b])) continue;
    if (std::none_of(track.Ys.begin() + static_cast<std::ptrdiff_t>(a),
                     track.Ys.begin() + static_cast<std::ptrdiff_t>(b), [](double y) { return std::isnan(y); })) {
      continue;
    }
    const int c = columnOf(track.Xs[a]);
    ASSERT_EQ(columnOf(track.Xs[b]), c) << what << " joined across columns at " << a;
    EXPECT_TRUE(
        StretchesCover(track, columnOf, c, std::min(track.Ys[a], track.Ys[b]), std::max(track.Ys[a], track.Ys[b])))
        << what << " join from " << a << " to " << b << " draws what the full line does not";
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
      {"a long gap across columns", 20'000, 300, {{4'999, nan}, {5'201, 60}}},
  };
  for (const Case& c : cases) {
    TTrack track = Jog(c.Points, 7);
    for (const auto& [index, y] : c.Spikes) track.Ys[static_cast<std::size_t>(index)] = y;
    if (c.What == "a long gap across columns") {
      std::fill(track.Ys.begin() + 4'999, track.Ys.begin() + 5'201, nan);
    }
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

// A speed limit close to the usual pace leaves out every few values: the line breaks hundreds of
// times within each column, which the chart cannot tell from a line without breaks, and must not
// cost what the full line would to draw. Stretches at heights far apart stay apart, a few to a
// column.
TEST(ThinToPixelColumns, AGapEveryFewPointsStillDrawsAFewPointsPerColumn) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const int columns = 400;
  for (const bool farApart : {false, true}) {
    TTrack track = Jog(200'000, 11);
    std::mt19937 random(3);
    std::bernoulli_distribution leftOut(0.2);
    for (std::size_t i = 1; i + 1 < track.Ys.size(); ++i) {
      if (leftOut(random)) track.Ys[i] = nan;
      // Every stretch alternately low and high: none overlaps its neighbour.
      if (farApart && i % 8 >= 4 && !std::isnan(track.Ys[i])) track.Ys[i] += 20;
      if (farApart && i % 4 == 0) track.Ys[i] = nan;
    }
    const double xMin = track.Xs.front(), xMax = track.Xs.back();
    const std::vector<int> kept = ThinToPixelColumns(track.Xs, track.Ys, xMin, xMax, columns);
    const std::string what = farApart ? "stretches far apart" : "stretches overlapping";
    const int perColumn = 5 * TColumnThinner::MaxRunsPerColumn;
    EXPECT_LE(kept.size(), static_cast<std::size_t>(perColumn * (columns + 1))) << what;
    // Past the few stretches kept apart, the rest of a column is joined: that join may cross a
    // height no stretch reaches, which a column of a hundred stretches hardly has.
    ExpectColumnsKept(track, kept, xMin, xMax, columns, what, false);
    if (farApart) {
      EXPECT_GT(kept.size(), static_cast<std::size_t>(2 * 4 * columns)) << what << ": the stretches were all joined";
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
