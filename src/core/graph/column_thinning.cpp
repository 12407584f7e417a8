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
      FThin ? std::min(expectedPoints, static_cast<std::size_t>(columns) * 5 + 16) : expectedPoints;
  FLine.Xs.reserve(room);
  FLine.Ys.reserve(room);
  FLine.Ids.reserve(room);
}

void TColumnThinner::Keep(const TMember& member) {
  FLine.Xs.push_back(member.X);
  FLine.Ys.push_back(member.Y);
  FLine.Ids.push_back(member.Id);
}

void TColumnThinner::KeepGroup(const TGroup& group) {
  TMember members[4] = {group.First, group.Low, group.High, group.Last};
  std::sort(members, members + 4, [](const TMember& a, const TMember& b) { return a.Order < b.Order; });
  for (std::size_t k = 0; k < 4; ++k) {
    if (k == 0 || members[k].Order != members[k - 1].Order) Keep(members[k]);
  }
}

void TColumnThinner::CloseRun() {
  if (!FHasRun) return;
  FHasRun = false;
  if (!FHasHeld) {
    FHeld = FRun;
    FHasHeld = true;
    return;
  }
  const bool overlap = FRun.Low.Y <= FHeld.High.Y && FRun.High.Y >= FHeld.Low.Y;
  if (overlap || FRunsKept + 1 >= MaxRunsPerColumn) {
    // The gap between them goes: the joined group's line stays within what both drew.
    FHeld.Last = FRun.Last;
    if (FRun.Low.Y < FHeld.Low.Y) FHeld.Low = FRun.Low;
    if (FRun.High.Y > FHeld.High.Y) FHeld.High = FRun.High;
  } else {
    KeepGroup(FHeld);
    if (FHeldGap) Keep(FGapAfterHeld);
    ++FRunsKept;
    FHeld = FRun;
  }
  FHeldGap = false;
}

void TColumnThinner::CloseColumn() {
  CloseRun();
  if (FHasHeld) KeepGroup(FHeld);
  FHasHeld = false;
  FHeldGap = false;
  FRunsKept = 0;
  if (FGapPending) Keep(FGap);
  FGapPending = false;
}

void TColumnThinner::Add(double x, double y, int id) {
  const TMember member{FOrder++, x, y, id};
  if (!FThin) {
    Keep(member);
    return;
  }
  if (std::isnan(y)) {
    // Several gap points in a row break the line once.
    if (!FGapPending) FGap = member;
    FGapPending = true;
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
  if (FHasRun && at == FColumn) {
    if (!FGapPending) {
      FRun.Last = member;
      if (y < FRun.Low.Y) FRun.Low = member;
      if (y > FRun.High.Y) FRun.High = member;
      return;
    }
    CloseRun();
    FHeldGap = true;
    FGapAfterHeld = FGap;
    FGapPending = false;
  } else {
    CloseColumn();
    FColumn = at;
  }
  FHasRun = true;
  FRun = TGroup{member, member, member, member};
}

TThinnedLine TColumnThinner::Finish() {
  if (FThin) CloseColumn();
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
