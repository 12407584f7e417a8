#include "core/gps/display_track.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "core/gps/gps_file.h"
#include "core/links/file_kind.h"
#include "core/model/link_data.h"

namespace hakuvo {

namespace {

std::unique_ptr<TGpsFile> LoadViewFile(const TGpsFileLink& link) {
  if (link.ViewFileName.empty()) return nullptr;
  std::error_code error;
  if (!std::filesystem::is_regular_file(link.ViewFileName, error)) return nullptr;
  auto cached = std::make_unique<TGpsFile>();
  try {
    cached->GpsList.LoadFromFile(link.ViewFileName);
    cached->GpsList.SetTerm(link.StartPos, link.EndPos);
  } catch (const std::exception&) {
    // A broken cache: the track file can always give the points again.
    return nullptr;
  }
  return cached;
}

}  // namespace

std::unique_ptr<TGpsFile> LoadDisplayTrack(const TGpsFileLink& link) {
  // A view file beside something that is no track (a renamed or relinked file) is not shown.
  if (!IsGpsFile(link.FileName)) return nullptr;
  std::unique_ptr<TGpsFile> track = LoadViewFile(link);
  if (track == nullptr) track = CreateGpsFile(link.FileName);
  if (track == nullptr) return nullptr;
  // A plain track holding a view file's points reads nothing here.
  track->SetStartPos(link.StartPos);
  track->SetEndPos(link.EndPos);
  track->SetFileName(link.FileName);
  return track;
}

}  // namespace hakuvo
