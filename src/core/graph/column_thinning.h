#pragma once

#include <span>
#include <vector>

namespace hakuvo {

// Which points of a line to draw when far more of them fall on the chart than it has pixel
// columns: for each column (the x range from `xMin` to `xMax` cut into `columns` equal parts, as
// the chart maps keys to pixels) the first, the last, the lowest and the highest point in it, in
// their own order, so that the drawn line reaches every peak and every trough the full line
// reaches in that column and joins the next column where the full line does. Points left of the
// range share one column, points right of it another. A point whose y is NaN (a gap that breaks
// the line) is always kept and closes its column's group, so a line is never joined across it.
// The xs run in ascending order. Returns indices into xs and ys, ascending.
std::vector<int> ThinToPixelColumns(std::span<const double> xs, std::span<const double> ys, double xMin, double xMax,
                                    int columns);

}  // namespace hakuvo
