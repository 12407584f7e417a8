#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gui/document/docking_form.h"
#include "gui/document/window_ports.h"

class QLabel;

namespace hakuvo {

// Makes the map window inside `parent` (the map module's, or a test's).
using TMapWindowMaker = std::function<TMapWindow(TAppData&, TCategoryInfoList&, QWidget* parent)>;

// The map's place among the docking windows ("地図", stored as "GoogleMapForm"). The map itself,
// and with it the map module and its web engine, is made the first time this window shows, or
// when a place is edited through it; until then the port remembers what the map should show
// and hands it on once the map is there. A map that cannot be made shows why in its place.
class TMapDock : public TDockingForm, public TMapPort {
  Q_OBJECT

 public:
  TMapDock(TAppData& appData, TCategoryInfoList& categoryInfoList, TMapWindowMaker maker, QWidget* parent = nullptr);

  // The map once made; nullptr before (or when it could not be made).
  TMapPort* Map() const { return FMap; }
  TDockingForm* MapWindow() const { return FMapWindow; }
  // Why the map could not be made; empty while nothing failed.
  const QString& Problem() const { return FProblem; }
  // Where EditPlace reports a map that cannot be made (an error box unless set).
  void SetErrorHandler(std::function<void(QWidget*, const QString&)> handler) { FErrorHandler = std::move(handler); }

  // TMapPort
  void SetMapCategory(const std::string& category) override;
  void SetMapLinkData(const TLinkData* link) override;
  void PanTo(double latitude, double longitude, bool isClear) override;
  void CreateMarker(double latitude, double longitude, bool isClear) override;
  void ClearMap() override;
  bool EditPlace(QWidget* parent, TPlace& place) override;
  void SetMapPhotos(std::vector<TMapPhoto> photos) override;
  void SetMapPhotoClicked(TMapPhotoClicked handler) override;

  void RefreshData() override;
  void LinkViewChanged() override;
  void GpsRangeChanged() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct TSpot {
    double Latitude;
    double Longitude;
    bool IsClear;
  };
  // True when the map is there (made now or before).
  bool EnsureMap();

  TAppData& FAppData;
  TCategoryInfoList& FCategoryInfoList;
  TMapWindowMaker FMaker;
  TMapPort* FMap = nullptr;
  TDockingForm* FMapWindow = nullptr;
  QString FProblem;
  QLabel* FProblemLabel = nullptr;
  std::function<void(QWidget*, const QString&)> FErrorHandler;
  // What the map is to show when it is made.
  std::optional<std::string> FCategory;
  const TLinkData* FLink = nullptr;
  std::optional<TSpot> FPan;
  std::optional<TSpot> FMarker;
  std::vector<TMapPhoto> FPhotos;
  TMapPhotoClicked FPhotoClicked;
};

}  // namespace hakuvo
