// The link window's side of the map's photographs: it hands them over through the feeder and
// selects the one whose marker is clicked.
#include <QPointer>

#include "core/model/link_data.h"
#include "gui/document/window_ports.h"
#include "gui/links/link_form.h"
#include "gui/links/link_preview_form.h"
#include "gui/links/map_photo_feeder.h"

namespace hakuvo {

void TLinkForm::SetPorts(const TWindowPorts* ports) {
  FPorts = ports;
  FPhotoFeeder->SetPorts(ports);
  if (FPorts == nullptr || FPorts->Map == nullptr) return;
  QPointer<TLinkForm> self(this);
  FPorts->Map->SetMapPhotoClicked([self](const TLinkData* link) {
    if (self) self->SelectPhotoFromMap(link);
  });
}

void TLinkForm::SelectPhotoFromMap(const TLinkData* link) {
  // Found among the links shown now, or not at all: the marker may be older than the list.
  const int index = FLinkDataList != nullptr ? FLinkDataList->IndexOf(link) : -1;
  if (index < 0) return;
  FCurrentLink = (*FLinkDataList)[index];
  SelectCurrentRowQuietly();
  if (FPreviewForm) FPreviewForm->SetLinkData(FCurrentLink);
}

void TLinkForm::ShowPhotosOnMap() {
  if (FLinkDataList != nullptr) FPhotoFeeder->Show(*FLinkDataList, FCameraClockOffset);
}

void TLinkForm::GpsRangeChanged() { ShowPhotosOnMap(); }

}  // namespace hakuvo
