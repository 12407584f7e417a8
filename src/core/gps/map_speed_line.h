#pragma once

#include <string>
#include <vector>

#include "core/common/extended.h"

namespace hakuvo {

class TGpsFile;

// A track's map line coloured by speed, slow in blue through green and yellow to fast in red.
//
// The line is thinned first, so that a track of a million points draws as quickly as one of a few
// thousand: walking along the line, a vertex is kept once the way from the last kept one reaches
// a spacing of the line's length / MaxStretches (the first and the last vertex always stay). At
// the zoom that shows the whole track, that spacing is far below a pixel; a short track keeps
// every vertex.
//
// Each stretch between two kept vertices gets the speed over at least SmoothingSeconds around its
// middle (distance / time, both summed over the track's own segments), so that the jitter of
// single fixes does not make the line flicker. A segment faster than the limit speed (a fix that
// jumped away, the same rule as the plain line's) counts with neither its distance nor its time.
//
// The colour scale runs from the LowPercentile to the HighPercentile of the stretches' speeds,
// each weighted by its time, leaving out stops (slower than StopSpeed): one wild fix or a long
// rest at a crossing does not wash the scale out. Speeds beyond the ends take the end colours.
struct TMapSpeedLineOptions {
  int MaxStretches = 20000;
  double SmoothingSeconds = 10;
  double LowPercentile = 0.05;
  double HighPercentile = 0.95;
  Extended StopSpeed = 1;  // km/h
};

// The number of colours of the scale; odd, so that an even pace sits in the middle of one.
inline constexpr int MapSpeedColorCount = 11;
// The colour of bin 0 (slowest) .. MapSpeedColorCount-1 (fastest), 0xRRGGBB.
int MapSpeedColor(int bin);

struct TMapSpeedLine {
  // Indices into the track's points.
  std::vector<int> Vertices;
  // Bins[j] is the colour bin of the stretch from Vertices[j-1] to Vertices[j]; Bins[0] is -1, as
  // is a stretch whose speed is unknown (its points carry no usable times), which is drawn in the
  // plain line colour. Empty when the line is not coloured.
  std::vector<int> Bins;
  // The speeds (km/h) at the slow and the fast end of the scale.
  Extended LowSpeed = 0;
  Extended HighSpeed = 0;

  // False when no stretch has a speed (a track without times): the plain line is drawn instead,
  // through every vertex given.
  bool IsColored() const { return !Bins.empty(); }
  // The figures under the legend's scale: the slow end, the middle and the fast end, in km/h with
  // one decimal.
  std::vector<std::string> LegendLabels() const;
};

// The coloured line over `lineVertices`, the vertices the plain line would take (see
// MapLineVertices: the limit speed has already left out the fixes that jumped away).
TMapSpeedLine MapSpeedLine(const TGpsFile& track, const std::vector<int>& lineVertices, Extended limitSpeed,
                           const TMapSpeedLineOptions& options = {});

}  // namespace hakuvo
