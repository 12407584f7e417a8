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
// line does. Points left of the range share one column, points right of it another. A point
// whose y is NaN (a gap that breaks the line) is always kept and closes its column's group, so a
// line is never joined across it. Points come in ascending x. Without columns or without an x
// span every point is kept.
class TColumnThinner {
 public:
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
  void Keep(const TMember& member);
  void Close();

  double FXMin;
  double FXMax;
  double FScale = 0;
  long long FColumns;
  bool FThin;
  std::uint64_t FOrder = 0;
  bool FOpen = false;
  long long FColumn = 0;
  TMember FFirst{}, FLast{}, FLow{}, FHigh{};
  TThinnedLine FLine;
};

// The same for a line already in arrays: returns indices into xs and ys, ascending.
std::vector<int> ThinToPixelColumns(std::span<const double> xs, std::span<const double> ys, double xMin, double xMax,
                                    int columns);

}  // namespace hakuvo
