#include "gui/main/map_dock.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <stdexcept>

#include "gui/common/error_box.h"

namespace hakuvo {

TMapDock::TMapDock(TAppData& appData, TCategoryInfoList& categoryInfoList, TMapWindowMaker maker, QWidget* parent)
    : TDockingForm(QStringLiteral("GoogleMapForm"), QStringLiteral("地図"), parent),
      FAppData(appData),
      FCategoryInfoList(categoryInfoList),
      FMaker(std::move(maker)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
}

bool TMapDock::EnsureMap() {
  if (FMap != nullptr) return true;
  // A failure is not tried again at every show: the module will not appear by itself.
  if (!FProblem.isEmpty()) return false;
  try {
    const TMapWindow made = FMaker(FAppData, FCategoryInfoList, this);
    if (made.Port == nullptr) throw std::runtime_error("no map window was made");
    FMap = made.Port;
    FMapWindow = made.Form;
  } catch (const std::exception& error) {
    FProblem = QString::fromStdString(error.what());
    FProblemLabel = new QLabel(FProblem, this);
    FProblemLabel->setWordWrap(true);
    FProblemLabel->setAlignment(Qt::AlignCenter);
    layout()->addWidget(FProblemLabel);
    return false;
  }
  if (FMapWindow != nullptr) {
    layout()->addWidget(FMapWindow);
    // The map names what it shows in its caption; the dock's frame shows this window's.
    SetCaption(FMapWindow->windowTitle());
    connect(FMapWindow, &QWidget::windowTitleChanged, this, &TMapDock::SetCaption);
  }
  // What the map was told while it was not there, in the order the main window tells it.
  FMap->ClearMap();
  if (FCategory) FMap->SetMapCategory(*FCategory);
  if (FLink != nullptr) FMap->SetMapLinkData(FLink);
  if (FPan) FMap->PanTo(FPan->Latitude, FPan->Longitude, FPan->IsClear);
  if (FMarker) FMap->CreateMarker(FMarker->Latitude, FMarker->Longitude, FMarker->IsClear);
  if (FPhotoClicked) FMap->SetMapPhotoClicked(FPhotoClicked);
  if (!FPhotos.empty()) FMap->SetMapPhotos(std::move(FPhotos));
  FLink = nullptr;
  FPhotos.clear();
  return true;
}

void TMapDock::showEvent(QShowEvent* event) {
  TDockingForm::showEvent(event);
  // Made once the event is over: a layout that shows the map at start paints the main window
  // first, and the map's module loads after.
  if (FMap == nullptr && FProblem.isEmpty()) {
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) EnsureMap();
    });
  }
}

void TMapDock::SetMapCategory(const std::string& category) {
  if (FMap != nullptr) return FMap->SetMapCategory(category);
  FCategory = category;
}

void TMapDock::SetMapLinkData(const TLinkData* link) {
  if (FMap != nullptr) return FMap->SetMapLinkData(link);
  FLink = link;
}

void TMapDock::PanTo(double latitude, double longitude, bool isClear) {
  if (FMap != nullptr) return FMap->PanTo(latitude, longitude, isClear);
  FPan = TSpot{latitude, longitude, isClear};
}

void TMapDock::CreateMarker(double latitude, double longitude, bool isClear) {
  if (FMap != nullptr) return FMap->CreateMarker(latitude, longitude, isClear);
  FMarker = TSpot{latitude, longitude, isClear};
}

void TMapDock::ClearMap() {
  if (FMap != nullptr) return FMap->ClearMap();
  FLink = nullptr;
  FPan.reset();
  FMarker.reset();
  FPhotos.clear();
}

void TMapDock::SetMapPhotos(std::vector<TMapPhoto> photos) {
  if (FMap != nullptr) return FMap->SetMapPhotos(std::move(photos));
  FPhotos = std::move(photos);
}

void TMapDock::SetMapPhotoClicked(TMapPhotoClicked handler) {
  FPhotoClicked = std::move(handler);
  if (FMap != nullptr) FMap->SetMapPhotoClicked(FPhotoClicked);
}

bool TMapDock::EditPlace(QWidget* parent, TPlace& place) {
  // The place dialog looks addresses up through the map's service: the map is made, not shown.
  if (!EnsureMap()) {
    if (FErrorHandler) {
      FErrorHandler(parent, FProblem);
    } else {
      ShowErrorBox(parent, FProblem);
    }
    return false;
  }
  return FMap->EditPlace(parent, place);
}

void TMapDock::RefreshData() {
  if (FMapWindow != nullptr) FMapWindow->RefreshData();
}

void TMapDock::LinkViewChanged() {
  if (FMapWindow != nullptr) FMapWindow->LinkViewChanged();
}

void TMapDock::GpsRangeChanged() {
  if (FMapWindow != nullptr) FMapWindow->GpsRangeChanged();
}

}  // namespace hakuvo
