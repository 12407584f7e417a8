#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/model/category_type.h"
#include "gui/document/docking_form.h"
#include "gui/document/window_ports.h"
#include "gui/map/geocoder.h"

class QPushButton;
class QThread;
class QWebEngineView;
class QWebChannel;

namespace hakuvo {

class TAppData;
class TCategoryInfoList;
class TGpsFileLink;
class TMapHost;
class TPlaceDialog;

// The map window ("地図"): an action's place or a photograph's position as a marker, a track as a
// line in its category's colours, fitted into view. The page lives in the program's resources;
// the web engine behind it is made the first time the window shows, so a layout without the map
// never starts one. While the window is hidden, or before its page has loaded, the operations
// only remember what they are given and the page catches up when it loads.
class TMapForm : public TDockingForm, public TMapPort {
  Q_OBJECT

 public:
  static const QUrl& PageUrl();

  TMapForm(TAppData& appData, TCategoryInfoList& categoryInfoList, QWidget* parent = nullptr);
  ~TMapForm() override;

  // TMapPort
  void SetMapCategory(const std::string& category) override { SetCategory(category); }
  void SetMapLinkData(const TLinkData* link) override { SetLinkData(link); }
  void PanTo(double latitude, double longitude, bool isClear) override;
  void CreateMarker(double latitude, double longitude, bool isClear) override;
  void ClearMap() override;
  bool EditPlace(QWidget* parent, TPlace& place) override;
  void SetMapPhotos(std::vector<TMapPhoto> photos) override;
  void SetMapPhotoClicked(TMapPhotoClicked handler) override { FPhotoClicked = std::move(handler); }
  // The shown track's range may have changed: draw it again.
  void GpsRangeChanged() override;

  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& category);
  TCategoryType CategoryType() const { return FCategoryType; }
  const TLinkData* LinkData() const { return FLinkData; }
  void SetLinkData(const TLinkData* link);
  // The photographs marked now (or to be marked once the page is there).
  const std::vector<TMapPhoto>& Photos() const { return FPhotos; }

  // The view as the program last set it or the page last reported it.
  double Latitude() const;
  double Longitude() const;
  int Zoom() const;
  QString MapTypeId() const;
  // The address PanToLocation looks up.
  QString Location() const;
  void SetLocation(const QString& address);

  // Markers and line off the page (when it shows).
  void Clear();
  // Looks Location up through the page; the answer moves Latitude and Longitude, marks the
  // place and signals GeocodeFinished. Does nothing while the page is not there.
  void PanToLocation();
  // The window's own look-up service, also when the page is not shown (the place dialog asks
  // it directly).
  TGeocoder& Geocoder() const { return *FGeocoder; }
  // Opens the shown area in the external web map of the settings.
  void OpenExternalMap();

  bool IsLoadMap() const { return FIsLoadMap; }
  // The page is there to take calls: the window shows and the map was made in it.
  bool IsPageReady() const;
  // The browser, once the window has been shown.
  QWebEngineView* Browser() const { return FBrowser; }
  TMapHost& Host() const { return *FHost; }
  TAppData& AppData() const { return FAppData; }

  // Every statement run in the page, without its error guard, is also handed here.
  void SetScriptObserver(std::function<void(const QString&)> observer) { FScriptObserver = std::move(observer); }
  // Where OpenExternalMap sends the address (the desktop's browser unless set).
  void SetUrlOpener(std::function<void(const QUrl&)> opener) { FUrlOpener = std::move(opener); }
  // The most vertices of a track's line handed to the page in one call.
  int TrackChunkVertices() const { return FTrackChunkVertices; }
  void SetTrackChunkVertices(int count) { FTrackChunkVertices = count > 0 ? count : 1; }
  // How EditPlace runs its dialog (modally unless set).
  void SetPlaceDialogRunner(std::function<int(TPlaceDialog&)> runner) { FPlaceDialogRunner = std::move(runner); }

 signals:
  // The page finished loading and the map was made in it.
  void MapLoaded();
  void GeocodeFinished(bool found);
  // A track link's line is on the page (or the map was cleared, the track being unreadable or
  // empty). Tracks are read by a worker and handed to the page in parts, so this comes after
  // SetLinkData returned.
  void TrackShown();
  // A photograph's marker was clicked; its link went to the click handler.
  void PhotoClicked(const TLinkData* link);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateBrowser();
  void OnLoadFinished(bool ok);
  void LoadMap();
  // Shows the link again, or the position, after a load or a new show.
  void ShowAgain();
  void ShowLinkData();
  struct TPreparedTrack;
  struct THandover;
  void DrawTrack(const TGpsFileLink& link);
  void ShowPreparedTrack(const std::shared_ptr<const TPreparedTrack>& prepared);
  void HandOverNext(const std::shared_ptr<THandover>& handover);
  // The parts of a line not yet handed to the page are dropped.
  void CancelHandover();
  void RunScript(const QString& statement, const std::function<void(const QVariant&)>& done = {});
  // Several statements in one call of the page, each skipped alone when it fails; `script` is
  // them written so already, when at hand.
  void RunScripts(const QStringList& statements, const QString& script = {});
  void Geocode(const QString& address);
  void OnGeocodeFinished(const TGeocodeAnswer& answer);
  // The photographs' markers onto the page, again after every new map.
  void ShowPhotos();
  void ClearPhotos();
  void OnPhotoMarkerClicked(int generation, int index);

  TAppData& FAppData;
  TCategoryInfoList& FCategoryInfoList;
  std::string FCategory;
  TCategoryType FCategoryType = ctUserCategory;
  const TLinkData* FLinkData = nullptr;
  bool FIsLoadMap = false;
  bool FIsPageLoaded = false;  // the page is there, whether or not the map was made in it
  int FGeocodeGrants = 0;
  int FTrackGeneration = 0;  // a worker's result is shown only while it is still the latest
  std::set<QThread*> FWorkers;
  int FTrackChunkVertices = 20000;
  std::shared_ptr<THandover> FHandover;  // the line being handed to the page, if any
  std::string FTextBuffer;               // a line's text buffers, kept for the next line
  QString FScriptBuffer;
  TMapHost* FHost;
  QWebEngineView* FBrowser = nullptr;
  QWebChannel* FChannel = nullptr;
  QPushButton* FExternalSpot = nullptr;
  TGeocoder* FGeocoder = nullptr;
  bool FPageLookUp = false;
  std::function<void(const QString&)> FScriptObserver;
  std::function<void(const QUrl&)> FUrlOpener;
  std::function<int(TPlaceDialog&)> FPlaceDialogRunner;
  std::vector<TMapPhoto> FPhotos;
  // Tells the page's clicks on an older set of markers from the set shown now.
  int FPhotoGeneration = 0;
  bool FIsPagePhotos = false;  // the page may show photographs' markers
  TMapPhotoClicked FPhotoClicked;
};

}  // namespace hakuvo
