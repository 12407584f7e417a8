#pragma once

#include "core/graph/column_thinning.h"

namespace hakuvo {

class TSpeedGraphData;

// The two lines of a speed graph as the chart takes them: each x as a key of the chart's bottom
// axis (the time axis counts seconds since 1970, the others the x itself), an empty point (y NaN,
// id -1) between the neighbours of a gap so that the line breaks there, and no more points than
// `columns` pixel columns need (every column's first, last, lowest and highest value). An id is
// the index of the track point the value came from. Built in one walk over the track, straight
// into that form, without a track-sized array, so that a worker can hand the window a line ready
// to draw; only a smoothed series, or a track whose x runs back, is worked out whole first.
struct TSpeedGraphLines {
  TThinnedLine Speed;
  TThinnedLine Altitude;
  // The keys the columns were cut from; KeyMin > KeyMax when neither line has a value.
  double KeyMin = 1;
  double KeyMax = 0;
};

double SpeedGraphKey(const TSpeedGraphData& data, double x);
TSpeedGraphLines ThinSpeedGraph(const TSpeedGraphData& data, int columns);

}  // namespace hakuvo
