#include "core/gps/gpx_file.h"

#include <cstring>

#include "core/gps/gps_reader_util.h"

namespace hakuvo {

namespace {

std::string_view TrimXmlSpace(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

TDateTime TGpxFile::GpxTime(std::string_view text) {
  TDateTime written = 0;
  std::string_view rest;
  if (!TryParseIsoDateTime(TrimXmlSpace(text), written, rest)) return 0;
  // "Z", no suffix or anything unreadable is UTC; a numeric offset says how far the written
  // time is ahead of UTC.
  int minutesEast = 0;
  if (TryParseZoneOffset(SkipFraction(rest), minutesEast)) written -= minutesEast / MinsPerDay;
  return LocalFromUtc(written);
}

void TGpxFile::ReadTrack() {
  std::string text = ReadFileBytes(FileName(), FileName() + "\r\nが見つかりません\r\nファイル名を確認してください");
  ReadDocument(text, nullptr);
}

void TGpxFile::ReadFromMemory(std::string_view data) {
  std::string text(data);
  ReadDocument(text, &data);
}

void TGpxFile::ReadDocument(std::string& text, const std::string_view* pristine) {
  BeginReading();
  pugi::xml_document document;
  ParseXmlInPlace(document, text, FileName(), pristine);

  const pugi::xml_node segment = document.child("gpx").child("trk").child("trkseg");
  for (const pugi::xml_node trackPoint : segment.children("trkpt")) {
    TDateTime time = 0;
    if (const pugi::xml_node timeNode = trackPoint.child("time")) time = GpxTime(timeNode.child_value());
    if (OutsideWindow(time)) continue;
    const pugi::xml_attribute latitudeText = trackPoint.attribute("lat");
    const pugi::xml_attribute longitudeText = trackPoint.attribute("lon");
    const pugi::xml_node elevation = trackPoint.child("ele");
    Extended latitude = 0, longitude = 0, altitude = 0;
    if (!latitudeText || !longitudeText || !elevation || !TryParseGpsNumber(latitudeText.value(), latitude) ||
        !TryParseGpsNumber(longitudeText.value(), longitude) || !TryParseGpsNumber(elevation.child_value(), altitude)) {
      continue;
    }
    auto point = std::make_unique<TGpsData>();
    point->SetRecordTime(time);
    point->SetLatitude(latitude);
    point->SetLongitude(longitude);
    point->SetAltitude(altitude);
    GpsList.Add(std::move(point));
  }
}

}  // namespace hakuvo
