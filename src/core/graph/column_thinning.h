#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace hakuvo {

// The points of a line that are drawn, each with the caller's id of the point it came from.
struct TThinnedLine {
  std::vector<double> Xs;
  std::vector<double> Ys;
  std::vector<int> Ids;
};

// Thins a line while it is being built, one point at a time, so that a long line never needs an
// array of its own: for each pixel column (the x range from `xMin` to `xMax` cut into `columns`
// equal parts, as the chart maps keys to pixels) only the first, the last, the lowest and the
// highest point in it are kept, in their own order, so that the drawn line reaches every peak and
// every trough the full line reaches in that column and joins the next column where the full
// line does. Points left of the range share one column, points right of it another. Points come
// in ascending x.
//
// A point whose y is NaN is a gap that breaks the line. A gap between two columns is always kept.
// Within one column the stretches between gaps are kept apart as long as their heights do not
// overlap; a stretch that overlaps the one before it in height is joined to it, because the join
// covers no pixel the two stretches do not cover already. A line with a gap every few points
// would otherwise draw like the full line, however narrow the chart. Past `MaxRunsPerColumn`
// stretches in one column the rest are joined to the last, so that no column draws more than a
// few dozen points. Without columns or without an x span every point is kept, gaps and all.
class TColumnThinner {
 public:
  static constexpr int MaxRunsPerColumn = 4;

  TColumnThinner(double xMin, double xMax, int columns, std::size_t expectedPoints = 0);
  void Add(double x, double y, int id);
  // Closes the last column and hands over the kept points; the thinner starts empty again.
  TThinnedLine Finish();

 private:
  struct TMember {
    std::uint64_t Order;
    double X;
    double Y;
    int Id;
  };
  // The first, last, lowest and highest point of a stretch (or of stretches joined).
  struct TGroup {
    TMember First, Last, Low, High;
  };
  void Keep(const TMember& member);
  void KeepGroup(const TGroup& group);
  // Ends the stretch under way: joined to the column's group before it or kept apart.
  void CloseRun();
  // Ends the column: its groups are kept, then the gap that follows, if any.
  void CloseColumn();

  double FXMin;
  double FXMax;
  double FScale = 0;
  long long FColumns;
  bool FThin;
  std::uint64_t FOrder = 0;
  long long FColumn = 0;
  bool FHasRun = false;   // a stretch under way in FRun
  bool FHasHeld = false;  // a group of this column not yet kept, in FHeld
  int FRunsKept = 0;      // groups of this column kept apart so far
  TGroup FRun{}, FHeld{};
  // The gap seen since the last value, and the gap between FHeld and FRun.
  bool FGapPending = false;
  TMember FGap{};
  bool FHeldGap = false;
  TMember FGapAfterHeld{};
  TThinnedLine FLine;
};

// The same for a line already in arrays: returns indices into xs and ys, ascending.
std::vector<int> ThinToPixelColumns(std::span<const double> xs, std::span<const double> ys, double xMin, double xMax,
                                    int columns);

}  // namespace hakuvo
