#pragma once

#include <string>

#include "core/common/extended.h"
#include "core/model/color.h"

namespace hakuvo {

// How a category's track is drawn on the map.
class TMapInfo {
 public:
  virtual ~TMapInfo() = default;
  virtual void Assign(const TMapInfo& source) { *this = source; }

  int LineWidth() const { return FLineWidth; }
  void SetLineWidth(int value) { FLineWidth = value; }
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor value) { FLineColor = value; }
  Extended LineOpacity() const { return FLineOpacity; }
  void SetLineOpacity(Extended value) { FLineOpacity = value; }
  Extended LimitSpeed() const { return FLimitSpeed; }
  void SetLimitSpeed(Extended value) { FLimitSpeed = value; }
  // The line coloured by the speed along it, with a legend of the scale, instead of LineColor.
  bool IsSpeedColor() const { return FIsSpeedColor; }
  void SetIsSpeedColor(bool value) { FIsSpeedColor = value; }
  // The colour as the web page wants it: 0xRRGGBB.
  int LineColorHtml() const;

 private:
  int FLineWidth = 4;
  TColor FLineColor = 0xFF0000;
  Extended FLineOpacity = 1.0;
  Extended FLimitSpeed = 0;
  bool FIsSpeedColor = false;
};

// 0x00BBGGRR -> 0xRRGGBB. Colours here are plain RGB: there are no system colour constants to
// resolve, so any bits above the three bytes are dropped.
int ColorToHtml(TColor color);

// The map's start view.
class TMapDefaultInfo {
 public:
  virtual ~TMapDefaultInfo() = default;
  virtual void Assign(const TMapDefaultInfo& source) { *this = source; }

  const std::string& MapType() const { return FMapType; }
  void SetMapType(const std::string& value) { FMapType = value; }
  int Zoom() const { return FZoom; }
  void SetZoom(int value) { FZoom = value; }
  Extended Longitude() const { return FLongitude; }
  void SetLongitude(Extended value) { FLongitude = value; }
  Extended Latitude() const { return FLatitude; }
  void SetLatitude(Extended value) { FLatitude = value; }

 private:
  std::string FMapType = "ROADMAP";
  int FZoom = 13;
  Extended FLongitude = 139.7664L;
  Extended FLatitude = 35.6815L;
};

}  // namespace hakuvo
