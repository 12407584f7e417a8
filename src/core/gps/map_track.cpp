#include "core/gps/map_track.h"

#include "core/gps/gps_file.h"

namespace hakuvo {

namespace {

Extended SegmentSpeed(const TGpsFile& track, int segment) {
  if (segment <= 0) return 0;
  const double hours = track.Time(segment);
  return hours == 0 ? 0 : track.Distance(segment) / hours;
}

}  // namespace

std::vector<int> MapLineVertices(const TGpsFile& track, Extended limitSpeed) {
  const int count = track.GpsList.Count();
  std::vector<int> vertices;
  vertices.reserve(static_cast<std::size_t>(count));
  if (limitSpeed <= 0) {
    for (int i = 0; i < count; ++i) vertices.push_back(i);
    return vertices;
  }
  if (count == 0) return vertices;
  // Each segment's speed serves three points: keep the three around point i as the walk goes on.
  vertices.push_back(0);
  Extended previous = 0;  // segment 0 has no length
  Extended current = count > 1 ? SegmentSpeed(track, 1) : Extended(0);
  for (int i = 1; i < count - 1; ++i) {
    const Extended next = SegmentSpeed(track, i + 1);
    if (previous <= limitSpeed && current <= limitSpeed && next <= limitSpeed) vertices.push_back(i);
    previous = current;
    current = next;
  }
  if (count > 1) vertices.push_back(count - 1);
  return vertices;
}

}  // namespace hakuvo
