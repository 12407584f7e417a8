#include "core/settings/map_service_info.h"

#include "core/common/number_format.h"
#include "core/settings/ini_file.h"

namespace hakuvo {

namespace {

void ReadSource(const TIniFile& ini, const char* type, TMapTileSource& source) {
  const std::string suffix = type;
  source.Url = ini.ReadString("Map", "TileUrl" + suffix, source.Url);
  source.Attribution = ini.ReadString("Map", "TileAttribution" + suffix, source.Attribution);
}

}  // namespace

const TMapTileSource& TMapServiceInfo::TileSource(const std::string& mapType) const {
  const TMapTileSource* source = &Roadmap;
  if (mapType == "SATELLITE") source = &Satellite;
  if (mapType == "HYBRID") source = &Hybrid;
  if (mapType == "TERRAIN") source = &Terrain;
  return source->Url.empty() ? Roadmap : *source;
}

void TMapServiceInfo::ReadFromIni(const TIniFile& ini) {
  *this = TMapServiceInfo();
  ReadSource(ini, "Roadmap", Roadmap);
  // The road map is the fallback of every other type: it must have a source.
  if (Roadmap.Url.empty()) Roadmap = {DefaultRoadmapUrl, DefaultRoadmapAttribution};
  ReadSource(ini, "Satellite", Satellite);
  ReadSource(ini, "Hybrid", Hybrid);
  ReadSource(ini, "Terrain", Terrain);
  GeocodeUrl = ini.ReadString("Map", "GeocodeUrl", DefaultGeocodeUrl);
  const int timeout = ini.ReadInteger("Map", "GeocodeTimeout", DefaultGeocodeTimeout);
  GeocodeTimeout = BoundedGeocodeTimeout(timeout);
  ExternalMapUrl = ini.ReadString("Map", "ExternalMapUrl", DefaultExternalMapUrl);
  if (ExternalMapUrl.empty()) ExternalMapUrl = DefaultExternalMapUrl;
}

std::string ExternalMapAddress(const std::string& baseUrl, Extended latitude, Extended longitude, int zoom,
                               const std::string& mapType) {
  std::string letter = "m";
  if (mapType == "HYBRID") letter = "h";
  if (mapType == "SATELLITE") letter = "k";
  if (mapType == "TERRAIN") letter = "p";
  const char separator = baseUrl.find('?') == std::string::npos ? '?' : '&';
  return baseUrl + separator + "ll=" + FormatGeneral(latitude) + "," + FormatGeneral(longitude) +
         "&z=" + std::to_string(zoom) + "&t=" + letter;
}

int BoundedGeocodeTimeout(long long milliseconds) {
  // Beyond a minute nobody waits at a dialog; below a second no service answers.
  if (milliseconds < TMapServiceInfo::MinGeocodeTimeout || milliseconds > TMapServiceInfo::MaxGeocodeTimeout) {
    return TMapServiceInfo::DefaultGeocodeTimeout;
  }
  return static_cast<int>(milliseconds);
}

}  // namespace hakuvo
