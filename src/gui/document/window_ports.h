#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace hakuvo {

class TAppData;
class TCategoryInfoList;
class TDockingForm;
class TLinkData;
class TPlace;

// A photograph of the shown outing as the map marks it: a small picture at the place it was
// taken. The link is not owned; the map hands it back when the marker is clicked and lets go of
// it on the next SetMapPhotos or on ClearMap.
struct TMapPhoto {
  const TLinkData* Link = nullptr;
  double Latitude = 0;
  double Longitude = 0;
  std::string Title;      // the marker's tool tip
  std::string Thumbnail;  // a data: URL of the small picture; empty shows a blank frame
};

using TMapPhotoClicked = std::function<void(const TLinkData* link)>;

// The map as the other windows reach it: the main window shows a selected action's place, the
// link window a selected photograph or track, the speed graph a clicked point, the record
// dialog edits a place through the map's geocoder. The map library implements it; the callers
// see only this, so no feature library links another.
class TMapPort {
 public:
  virtual ~TMapPort() = default;
  // The category whose map line settings draw the next track.
  virtual void SetMapCategory(const std::string& category) = 0;
  // Shows a file link: a photograph's position as a marker, a track as a line. Not owned; the
  // map lets go of it on the next call or on ClearMap.
  virtual void SetMapLinkData(const TLinkData* link) = 0;
  virtual void PanTo(double latitude, double longitude, bool isClear) = 0;
  virtual void CreateMarker(double latitude, double longitude, bool isClear) = 0;
  virtual void ClearMap() = 0;
  // The place dialog over `place` (title is the address; latitude, longitude); true on OK, when
  // `place` holds the edited values.
  virtual bool EditPlace(QWidget* parent, TPlace& place) = 0;
  // The photographs of the outing shown, beside whatever link the map shows; an empty list takes
  // them off. They stay when the map shows another link of the outing, and go with ClearMap.
  // A map that shows no photographs (a test's) need not take them.
  virtual void SetMapPhotos(std::vector<TMapPhoto> photos) { (void)photos; }
  // Who hears of a click on a photograph's marker (the link window selects it).
  virtual void SetMapPhotoClicked(TMapPhotoClicked handler) { (void)handler; }
};

// A map window as its library makes it: the window to dock and its port (the same object).
struct TMapWindow {
  TDockingForm* Form = nullptr;
  TMapPort* Port = nullptr;
};

// The map library's one entry point. The program looks it up by this name in the map module
// when the map is first shown, so that it never links the web engine itself.
using TCreateMapWindow = TMapWindow (*)(TAppData& appData, TCategoryInfoList& categoryInfoList, QWidget* parent);
inline constexpr const char* CreateMapWindowSymbol = "HakuvoCreateMapWindow";

// The speed and altitude graph as the link window feeds it.
class TSpeedGraphPort {
 public:
  virtual ~TSpeedGraphPort() = default;
  virtual void SetSpeedCategory(const std::string& category) = 0;
  virtual void SetSpeedLinkData(const TLinkData* link) = 0;
  virtual void ClearSpeedGraph() = 0;
};

// The ports of the windows made so far; the main window's docking-form factory fills it in the
// windows' creation order, so the map and the speed graph are there before the link window.
struct TWindowPorts {
  TMapPort* Map = nullptr;
  TSpeedGraphPort* SpeedGraph = nullptr;
};

}  // namespace hakuvo
