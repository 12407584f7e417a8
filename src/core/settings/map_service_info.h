#pragma once

#include <string>

#include "core/common/extended.h"

namespace hakuvo {

class TIniFile;

// Where the map window takes its tiles from, for one map type: a URL template with {z}, {x}, {y}
// (and optionally {s}) and the attribution text the source asks to be shown.
struct TMapTileSource {
  std::string Url;
  std::string Attribution;
};

// The network services behind the map window, read from the [Map] section of the settings file:
// TileUrlRoadmap / TileAttributionRoadmap (and Satellite, Hybrid, Terrain), GeocodeUrl,
// GeocodeTimeout (milliseconds) and ExternalMapUrl. They are never written: a user who points the
// map at other servers edits the file by hand, and the keys survive every write.
class TMapServiceInfo {
 public:
  static constexpr const char* DefaultRoadmapUrl = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
  static constexpr const char* DefaultRoadmapAttribution = "© OpenStreetMap contributors";
  static constexpr const char* DefaultGeocodeUrl = "https://nominatim.openstreetmap.org/search";
  static constexpr const char* DefaultExternalMapUrl = "https://maps.google.com/";
  static constexpr int DefaultGeocodeTimeout = 5000;
  static constexpr int MinGeocodeTimeout = 1000;
  static constexpr int MaxGeocodeTimeout = 60000;

  TMapTileSource Roadmap{DefaultRoadmapUrl, DefaultRoadmapAttribution};
  TMapTileSource Satellite;
  TMapTileSource Hybrid;
  TMapTileSource Terrain;
  // A search service that answers "?q=<address>&format=json&limit=1" with a JSON array of
  // places carrying "lat" and "lon".
  std::string GeocodeUrl = DefaultGeocodeUrl;
  int GeocodeTimeout = DefaultGeocodeTimeout;
  // The web map that the map window's corner spot opens, with "?ll=lat,lon&z=zoom&t=letter".
  std::string ExternalMapUrl = DefaultExternalMapUrl;

  // The source of a map type ("ROADMAP", "SATELLITE", "HYBRID", "TERRAIN"); a type without a
  // URL of its own, or an unknown type, gets the road map.
  const TMapTileSource& TileSource(const std::string& mapType) const;

  void ReadFromIni(const TIniFile& ini);
};

// The address of the external map for a view: ExternalMapUrl followed by
// "?ll=<lat>,<lon>&z=<zoom>&t=<letter>" ("&" instead of "?" when the URL has a query already),
// with the letter "h" for "HYBRID", "k" for "SATELLITE", "p" for "TERRAIN" and "m" otherwise.
std::string ExternalMapAddress(const std::string& baseUrl, Extended latitude, Extended longitude, int zoom,
                               const std::string& mapType);

// The look-up time-out in use: a value outside 1 s to 60 s (a typo, or a number large enough to
// overflow a timer) gives the default.
int BoundedGeocodeTimeout(long long milliseconds);

}  // namespace hakuvo
