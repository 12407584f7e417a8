#pragma once

#include <span>
#include <vector>

namespace hakuvo {

// The points of a line that no segment reaches: a value (not NaN) whose neighbours on both sides
// are gaps (NaN) or the ends of the line, as a line of one point has. A chart draws them as
// markers; drawn as a line they would not be seen at all. Returns their indices, ascending.
std::vector<int> LonePoints(std::span<const double> ys);

}  // namespace hakuvo
