#include "core/settings/map_service_info.h"

#include <gtest/gtest.h>

#include "core/settings/ini_file.h"

namespace hakuvo {
namespace {

TEST(MapServiceInfoTest, TypesWithoutASourceFallBackToTheRoadMap) {
  TIniFile ini;
  ini.LoadFromText(
      "[Map]\nTileUrlSatellite=http://127.0.0.1:1/sat/{z}/{x}/{y}.jpg\nTileAttributionSatellite=Sat & Co\n"
      "TileUrlHybrid=\nGeocodeUrl=http://127.0.0.1:1/search\nGeocodeTimeout=-5\n");
  TMapServiceInfo info;
  info.ReadFromIni(ini);
  EXPECT_EQ(info.TileSource("SATELLITE").Url, "http://127.0.0.1:1/sat/{z}/{x}/{y}.jpg");
  EXPECT_EQ(info.TileSource("SATELLITE").Attribution, "Sat & Co");
  for (const char* type : {"ROADMAP", "HYBRID", "TERRAIN", "", "MOON"}) {
    EXPECT_EQ(info.TileSource(type).Url, TMapServiceInfo::DefaultRoadmapUrl) << type;
    EXPECT_EQ(info.TileSource(type).Attribution, TMapServiceInfo::DefaultRoadmapAttribution) << type;
  }
  EXPECT_EQ(info.GeocodeUrl, "http://127.0.0.1:1/search");
  EXPECT_EQ(info.GeocodeTimeout, TMapServiceInfo::DefaultGeocodeTimeout);
  EXPECT_EQ(info.ExternalMapUrl, TMapServiceInfo::DefaultExternalMapUrl);

  // An emptied road map keeps its default: every other type falls back to it.
  ini.LoadFromText("[Map]\nTileUrlRoadmap=\n");
  info.ReadFromIni(ini);
  EXPECT_EQ(info.TileSource("ROADMAP").Url, TMapServiceInfo::DefaultRoadmapUrl);
  EXPECT_TRUE(info.Satellite.Url.empty());
}

TEST(MapServiceInfoTest, ExternalMapAddressCarriesTheViewAndTheTypeLetter) {
  const std::string base = TMapServiceInfo::DefaultExternalMapUrl;
  EXPECT_EQ(ExternalMapAddress(base, 35.6815, 139.7664, 15, "SATELLITE"), base + "?ll=35.6815,139.7664&z=15&t=k");
  const struct {
    const char* type;
    const char* letter;
  } cases[] = {{"HYBRID", "h"}, {"TERRAIN", "p"}, {"ROADMAP", "m"}, {"", "m"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ExternalMapAddress(base, -33.5, -70.25, 3, c.type), base + "?ll=-33.5,-70.25&z=3&t=" + c.letter);
  }
  EXPECT_EQ(ExternalMapAddress("http://maps.example/view?lang=ja", 1, 2, 4, "ROADMAP"),
            "http://maps.example/view?lang=ja&ll=1,2&z=4&t=m");
}

}  // namespace
}  // namespace hakuvo
