#include "core/gps/map_track.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "core/gps/gps_file.h"
#include "core/model/link_data.h"

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

std::unique_ptr<TGpsFile> LoadDisplayTrack(const TGpsFileLink& link) {
  if (!link.ViewFileName.empty()) {
    std::error_code error;
    if (std::filesystem::is_regular_file(link.ViewFileName, error)) {
      auto cached = std::make_unique<TGpsFile>();
      try {
        cached->GpsList.LoadFromFile(link.ViewFileName);
        cached->GpsList.SetTerm(link.StartPos, link.EndPos);
        return cached;
      } catch (const std::exception&) {
        // A broken cache: the track file still has the points.
      }
    }
  }
  std::unique_ptr<TGpsFile> track = CreateGpsFile(link.FileName);
  if (track == nullptr) return nullptr;
  track->SetStartPos(link.StartPos);
  track->SetEndPos(link.EndPos);
  track->SetFileName(link.FileName);
  return track;
}

}  // namespace hakuvo
