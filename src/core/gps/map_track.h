#pragma once

#include <vector>

#include "core/common/extended.h"

namespace hakuvo {

class TGpsFile;

// The points of a track that become vertices of its map line. A fix that jumps away (a reflection
// off a building, a cold start) draws a spike; the limit speed (km/h) leaves it out: with a limit
// of 0 or less every point is a vertex; otherwise the first and the last point always are, and an
// inner point i only when the segments i-1, i and i+1 (segment k runs from point k-1 to point k,
// at Distance(k) / Time(k), 0 when that time is 0) are all no faster than the limit. So one fast
// segment k takes the points k-1, k and k+1 out of the line. Indices are into track.GpsList.
std::vector<int> MapLineVertices(const TGpsFile& track, Extended limitSpeed);

}  // namespace hakuvo
