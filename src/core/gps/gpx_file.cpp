#include "core/gps/gpx_file.h"


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
  TByteBuffer text = ReadFileBytes(FileName(), FileName() + "\r\nが見つかりません\r\nファイル名を確認してください");
  ReadDocument(text, nullptr);
}

void TGpxFile::ReadFromMemory(std::string_view data) {
  TByteBuffer text(data);
  ReadDocument(text, &data);
}

void TGpxFile::ReadDocument(TByteBuffer& text, const std::string_view* pristine) {
  BeginReading();
  // A point takes some 64 bytes of the file at the least (position, elevation and time written
  // out); room for that many is only address space until the points fill it.
  GpsList.Reserve(text.Size() / 64);
  pugi::xml_document document;
  ParseXmlInPlace(document, text, FileName(), pristine);

  const pugi::xml_node segment = document.child("gpx").child("trk").child("trkseg");
  for (const pugi::xml_node trackPoint : segment.children("trkpt")) {
    // The first "time" and "ele" children and the first "lat" and "lon" attributes, found in one
    // walk each.
    pugi::xml_node timeNode, elevation;
    for (pugi::xml_node child = trackPoint.first_child(); child && !(timeNode && elevation);
         child = child.next_sibling()) {
      const char* const name = child.name();
      if (!timeNode && IsXmlName(name, "time")) {
        timeNode = child;
      } else if (!elevation && IsXmlName(name, "ele")) {
        elevation = child;
      }
    }
    const TDateTime time = timeNode ? GpxTime(timeNode.child_value()) : 0;
    if (OutsideWindow(time)) continue;
    pugi::xml_attribute latitudeText, longitudeText;
    for (pugi::xml_attribute attribute = trackPoint.first_attribute(); attribute && !(latitudeText && longitudeText);
         attribute = attribute.next_attribute()) {
      const char* const name = attribute.name();
      if (!latitudeText && IsXmlName(name, "lat")) {
        latitudeText = attribute;
      } else if (!longitudeText && IsXmlName(name, "lon")) {
        longitudeText = attribute;
      }
    }
    Extended latitude = 0, longitude = 0, altitude = 0;
    if (!latitudeText || !longitudeText || !elevation || !TryParseGpsNumber(latitudeText.value(), latitude) ||
        !TryParseGpsNumber(longitudeText.value(), longitude) || !TryParseGpsNumber(elevation.child_value(), altitude)) {
      continue;
    }
    GpsList.Add(TGpsData(time, latitude, longitude, altitude));
  }
}

}  // namespace hakuvo
