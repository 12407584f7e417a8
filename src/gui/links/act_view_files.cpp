#include "gui/links/act_view_files.h"

#include <filesystem>

#include "core/gps/gps_view_file.h"
#include "core/model/act_data.h"
#include "core/settings/app_data.h"
#include "imaging/view_file.h"

namespace hakuvo {

QStringList MakeActViewFiles(const TActData& act, const TAppData& appData, bool onlyMissing) {
  QStringList errors;
  const std::string& folder = appData.ThumbnailFolder;
  if (act.LinkDataList.Count() == 0) return errors;
  std::error_code created;
  std::filesystem::create_directories(std::filesystem::path(folder), created);
  const TLinkViewInfo& view = appData.ChildWindowInfo.LinkViewInfo;
  for (TLinkData* link : act.LinkDataList) {
    try {
      if (auto* image = dynamic_cast<TImageFileLink*>(link)) {
        if (!onlyMissing || image->ViewFileName.empty()) {
          MakeImageViewFile(*image, view.ThumbnailWidth(), view.ThumbnailHeight(), folder);
        }
      } else if (auto* track = dynamic_cast<TGpsFileLink*>(link)) {
        if (!onlyMissing || track->ViewFileName.empty()) MakeGpsViewFile(*track, folder);
      } else if (auto* thing = dynamic_cast<TThingLink*>(link)) {
        // Persons are things with more fields; both keep a photograph.
        if (!onlyMissing || thing->ViewFileName().empty()) {
          MakeImageViewFile(*thing, view.ThumbnailWidth(), view.ThumbnailHeight(), folder);
        }
      }
    } catch (const std::exception& error) {
      errors << QString::fromStdString(error.what());
    }
  }
  return errors;
}

}  // namespace hakuvo
