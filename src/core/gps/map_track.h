#pragma once

#include <memory>
#include <vector>

#include "core/common/extended.h"

namespace hakuvo {

class TGpsFile;
class TGpsFileLink;

// The points of a track that become vertices of its map line. A fix that jumps away (a reflection
// off a building, a cold start) draws a spike; the limit speed (km/h) leaves it out: with a limit
// of 0 or less every point is a vertex; otherwise the first and the last point always are, and an
// inner point i only when the segments i-1, i and i+1 (segment k runs from point k-1 to point k,
// at Distance(k) / Time(k), 0 when that time is 0) are all no faster than the limit. So one fast
// segment k takes the points k-1, k and k+1 out of the line. Indices are into track.GpsList.
std::vector<int> MapLineVertices(const TGpsFile& track, Extended limitSpeed);

// The points of a track link as the map and the speed graph show them: its ".gps" view file
// trimmed to the link's range when there is one, otherwise its track file read with that range.
// The view file is a cache anyone may have touched: one that is missing or fails its checks
// counts as absent, and the track file is read instead. nullptr when the file is no track file
// by its extension; an unreadable track file raises EHakuvoError.
std::unique_ptr<TGpsFile> LoadDisplayTrack(const TGpsFileLink& link);

}  // namespace hakuvo
