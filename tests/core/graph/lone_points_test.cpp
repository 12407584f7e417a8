#include "core/graph/lone_points.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace hakuvo {
namespace {

TEST(LonePoints, OnlyValuesWithAGapOrAnEndOnBothSides) {
  constexpr double gap = std::numeric_limits<double>::quiet_NaN();
  struct TCase {
    const char* Name;
    std::vector<double> Ys;
    std::vector<int> Expected;
  };
  const TCase cases[] = {
      {"no line", {}, {}},
      {"one point", {5}, {0}},
      {"two points make a segment", {5, 6}, {}},
      {"a point between two gaps", {1, 2, gap, 3, gap, 4, 5}, {3}},
      {"a point before the first gap and after the last", {1, gap, 2, 3, gap, 4}, {0, 5}},
      {"gaps only", {gap, gap}, {}},
      {"a point between gaps at both ends", {gap, 7, gap}, {1}},
  };
  for (const TCase& test : cases) EXPECT_EQ(LonePoints(test.Ys), test.Expected) << test.Name;
}

}  // namespace
}  // namespace hakuvo
