// The record dialog's commands that make the reduced copies of a link: a thumbnail of a
// photograph, and the .gps file of a track, with the settings' thumbnail size and folder.

#include <filesystem>

#include "core/gps/gps_view_file.h"
#include "core/model/link_data.h"
#include "core/settings/app_data.h"
#include "gui/common/wait_cursor.h"
#include "gui/record/record_dialog.h"
#include "gui/record/record_dialog_link_list.h"
#include "imaging/view_file.h"

namespace hakuvo {

namespace {

// A thing or person without a photograph has nothing to reduce.
bool HasPicture(const TLinkData* link) {
  if (dynamic_cast<const TImageFileLink*>(link) != nullptr) return true;
  const auto* thing = dynamic_cast<const TThingLink*>(link);
  return thing != nullptr && !thing->PhotoFileName().empty();
}

void CreateThumbnailFolder(const std::string& folder) {
  std::error_code ignored;
  // A folder that cannot be made shows up as the failure to write the file into it.
  std::filesystem::create_directories(std::filesystem::path(folder), ignored);
}

}  // namespace

void TRecordDialog::PrepareViewFileActions(const TLinkData* link) {
  // Without the settings there is no folder and no size to make the files with.
  FImageViewFileAction->setVisible(FAppData != nullptr && HasPicture(link));
  FGpsViewFileAction->setVisible(FAppData != nullptr && dynamic_cast<const TGpsFileLink*>(link) != nullptr);
  FViewFileSeparator->setVisible(FImageViewFileAction->isVisible() || FGpsViewFileAction->isVisible());
}

void TRecordDialog::MakeImageViewFileCommand() {
  TLinkData* link = FLinkList->SelectedLink();
  if (FAppData == nullptr || !HasPicture(link)) return;
  RunCommand([&] {
    const TWaitCursor wait;
    CreateThumbnailFolder(FAppData->ThumbnailFolder);
    const TLinkViewInfo& view = FAppData->ChildWindowInfo.LinkViewInfo;
    MakeImageViewFile(*link, view.ThumbnailWidth(), view.ThumbnailHeight(), FAppData->ThumbnailFolder);
  });
}

void TRecordDialog::MakeGpsViewFileCommand() {
  auto* link = dynamic_cast<TGpsFileLink*>(FLinkList->SelectedLink());
  if (FAppData == nullptr || link == nullptr) return;
  RunCommand([&] {
    const TWaitCursor wait;
    CreateThumbnailFolder(FAppData->ThumbnailFolder);
    MakeGpsViewFile(*link, FAppData->ThumbnailFolder);
  });
}

}  // namespace hakuvo
