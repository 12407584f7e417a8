#include "core/graph/column_thinning.h"

#include <algorithm>
#include <cmath>

namespace hakuvo {

TColumnThinner::TColumnThinner(double xMin, double xMax, int columns, std::size_t expectedPoints)
    : FXMin(xMin), FXMax(xMax), FColumns(columns) {
  const double span = xMax - xMin;
  // No columns to speak of: nothing can be left out safely.
  FThin = columns > 0 && span > 0 && std::isfinite(span);
  if (FThin) FScale = columns / span;
  const std::size_t room =
      FThin ? std::min(expectedPoints, static_cast<std::size_t>(columns) * 4 + 16) : expectedPoints;
  FLine.Xs.reserve(room);
  FLine.Ys.reserve(room);
  FLine.Ids.reserve(room);
}

void TColumnThinner::Keep(const TMember& member) {
  FLine.Xs.push_back(member.X);
  FLine.Ys.push_back(member.Y);
  FLine.Ids.push_back(member.Id);
}

void TColumnThinner::Close() {
  if (!FOpen) return;
  TMember group[4] = {FFirst, FLow, FHigh, FLast};
  std::sort(group, group + 4, [](const TMember& a, const TMember& b) { return a.Order < b.Order; });
  for (std::size_t k = 0; k < 4; ++k) {
    if (k == 0 || group[k].Order != group[k - 1].Order) Keep(group[k]);
  }
  FOpen = false;
}

void TColumnThinner::Add(double x, double y, int id) {
  const TMember member{FOrder++, x, y, id};
  if (!FThin) {
    Keep(member);
    return;
  }
  if (std::isnan(y)) {
    Close();
    Keep(member);
    return;
  }
  long long at = 0;
  if (x < FXMin) {
    at = -1;
  } else if (x > FXMax) {
    at = FColumns + 1;
  } else {
    at = static_cast<long long>(std::floor((x - FXMin) * FScale));
  }
  if (FOpen && at != FColumn) Close();
  if (!FOpen) {
    FOpen = true;
    FColumn = at;
    FFirst = FLast = FLow = FHigh = member;
    return;
  }
  FLast = member;
  if (y < FLow.Y) FLow = member;
  if (y > FHigh.Y) FHigh = member;
}

TThinnedLine TColumnThinner::Finish() {
  Close();
  TThinnedLine line = std::move(FLine);
  FLine = TThinnedLine();
  return line;
}

std::vector<int> ThinToPixelColumns(std::span<const double> xs, std::span<const double> ys, double xMin, double xMax,
                                    int columns) {
  const std::size_t count = std::min(xs.size(), ys.size());
  TColumnThinner thinner(xMin, xMax, columns, count);
  for (std::size_t i = 0; i < count; ++i) thinner.Add(xs[i], ys[i], static_cast<int>(i));
  return thinner.Finish().Ids;
}

}  // namespace hakuvo
