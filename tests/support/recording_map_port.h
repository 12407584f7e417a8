#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/model/place.h"
#include "gui/document/window_ports.h"

namespace hakuvo::test {

// A map that only writes down what it is told, one line a call ("PanTo 35.1 -0.25 clear"), and
// keeps the latest state, for tests of the windows that drive the map without the web engine.
class TRecordingMapPort : public TMapPort {
 public:
  std::vector<std::string> Calls;
  std::string Category;
  const TLinkData* Link = nullptr;
  double Latitude = 0;
  double Longitude = 0;
  bool HasMarker = false;
  // The photographs last handed over, and who is to hear of a click on one.
  std::vector<TMapPhoto> Photos;
  TMapPhotoClicked PhotoClicked;
  // Answers EditPlace: edits the place and returns whether it was accepted (declined unless set).
  std::function<bool(TPlace&)> PlaceEditor;

  void SetMapCategory(const std::string& category) override {
    Category = category;
    Calls.push_back("SetMapCategory " + category);
  }
  void SetMapLinkData(const TLinkData* link) override {
    Link = link;
    Calls.push_back(link != nullptr ? "SetMapLinkData link" : "SetMapLinkData none");
  }
  void PanTo(double latitude, double longitude, bool isClear) override {
    Latitude = latitude;
    Longitude = longitude;
    Calls.push_back("PanTo " + Spot(latitude, longitude, isClear));
  }
  void CreateMarker(double latitude, double longitude, bool isClear) override {
    HasMarker = true;
    Calls.push_back("CreateMarker " + Spot(latitude, longitude, isClear));
  }
  void SetMapPhotos(std::vector<TMapPhoto> photos) override {
    Photos = std::move(photos);
    Calls.push_back("SetMapPhotos " + std::to_string(Photos.size()));
  }
  void SetMapPhotoClicked(TMapPhotoClicked handler) override { PhotoClicked = std::move(handler); }
  void ClearMap() override {
    Link = nullptr;
    HasMarker = false;
    Photos.clear();
    Calls.push_back("ClearMap");
  }
  bool EditPlace(QWidget*, TPlace& place) override {
    Calls.push_back("EditPlace " + place.Title);
    return PlaceEditor ? PlaceEditor(place) : false;
  }

 private:
  static std::string Spot(double latitude, double longitude, bool isClear) {
    std::ostringstream text;
    text << latitude << ' ' << longitude << (isClear ? " clear" : " keep");
    return text.str();
  }
};

}  // namespace hakuvo::test
