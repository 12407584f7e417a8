// The outing's photographs on the map: small pictures at the places they were taken, on a layer of
// their own that a new track or marker leaves alone. A click on one goes back to the program.
#include <utility>

#include "gui/map/map_form.h"
#include "gui/map/map_host.h"
#include "gui/map/map_script.h"

namespace hakuvo {

namespace {

// A data: URL is only ever a picture; anything else (a file or web address slipped in) would
// have the page fetch it, so it shows a blank frame instead.
QString PictureUrl(const std::string& url) {
  const QString text = QString::fromStdString(url);
  return text.startsWith(QLatin1String("data:image/")) ? text : QString();
}

QString JsPhotoArray(const std::vector<TMapPhoto>& photos) {
  QStringList items;
  items.reserve(static_cast<qsizetype>(photos.size()));
  for (const TMapPhoto& photo : photos) {
    items << QStringLiteral("{lat:%1,lon:%2,title:%3,thumbnail:%4}")
                 .arg(JsNumber(photo.Latitude), JsNumber(photo.Longitude),
                      JsString(QString::fromStdString(photo.Title)), JsString(PictureUrl(photo.Thumbnail)));
  }
  return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
}

}  // namespace

void TMapForm::SetMapPhotos(std::vector<TMapPhoto> photos) {
  FPhotos = std::move(photos);
  ++FPhotoGeneration;
  ShowPhotos();
}

void TMapForm::ShowPhotos() {
  if (!IsPageReady()) return;
  if (FPhotos.empty()) {
    // Markers taken off while the window was hidden are still on the page.
    if (FIsPagePhotos) RunScript(JsCall(QStringLiteral("clearMapPhotos")));
    FIsPagePhotos = false;
    return;
  }
  RunScript(JsCall(QStringLiteral("setMapPhotos"), {QString::number(FPhotoGeneration), JsPhotoArray(FPhotos)}));
  FIsPagePhotos = true;
}

void TMapForm::ClearPhotos() {
  // The links are the caller's, who may free them once the map is cleared.
  FPhotos.clear();
  ++FPhotoGeneration;
  ShowPhotos();
}

void TMapForm::OnPhotoMarkerClicked(int generation, int index) {
  // A click on a marker of a set replaced meanwhile names a photograph that may be gone.
  if (generation != FPhotoGeneration || index < 0 || index >= static_cast<int>(FPhotos.size())) return;
  const TLinkData* link = FPhotos[static_cast<std::size_t>(index)].Link;
  if (FPhotoClicked) FPhotoClicked(link);
  emit PhotoClicked(link);
}

}  // namespace hakuvo
