#include "core/gps/tcx_file.h"

#include <cstring>

#include "core/gps/gps_reader_util.h"

namespace hakuvo {

namespace {

// Whether an element is `name` in the document's default namespace or under a prefix: some
// exporters write every element of the schema as "tcx:Trackpoint" or "ns1:Trackpoint".
template <std::size_t N>
bool IsTcxName(const char* text, const char (&name)[N]) {
  if (IsXmlName(text, name)) return true;
  const char* const colon = std::strchr(text, ':');
  return colon != nullptr && IsXmlName(colon + 1, name);
}

template <std::size_t N>
pugi::xml_node TcxChild(const pugi::xml_node& parent, const char (&name)[N]) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && IsTcxName(child.name(), name)) return child;
  }
  return {};
}

// Calls visit(child) for every element child of `parent` named `name`, in document order.
template <std::size_t N, typename Visit>
void ForEachTcxChild(const pugi::xml_node& parent, const char (&name)[N], Visit&& visit) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && IsTcxName(child.name(), name)) visit(child);
  }
}

}  // namespace

TDateTime TTcxFile::TcxTime(std::string_view text) {
  TDateTime utc = 0;
  if (!TryParseIsoUtc(text, utc)) return 0;
  return LocalFromUtc(utc);
}

void TTcxFile::ReadTrack() {
  BeginReading();
  TByteBuffer text = ReadFileBytes(FileName());
  ReadDocument(text, nullptr);
}

void TTcxFile::ReadFromMemory(std::string_view data) {
  BeginReading();
  TByteBuffer text(data);
  ReadDocument(text, &data);
}

void TTcxFile::ReadDocument(TByteBuffer& text, const std::string_view* pristine) {
  pugi::xml_document document;
  ParseXmlInPlace(document, text, FileName(), pristine);
  const pugi::xml_node root = document.document_element();
  if (!root || !IsTcxName(root.name(), "TrainingCenterDatabase")) return;
  // Activities and courses in the order the document gives them.
  for (pugi::xml_node part = root.first_child(); part; part = part.next_sibling()) {
    if (part.type() != pugi::node_element) continue;
    if (IsTcxName(part.name(), "Activities")) {
      ForEachTcxChild(part, "Activity", [this](const pugi::xml_node& activity) {
        ForEachTcxChild(activity, "Lap", [this](const pugi::xml_node& lap) {
          ForEachTcxChild(lap, "Track", [this](const pugi::xml_node& track) { ReadTrackElement(track); });
        });
      });
    } else if (IsTcxName(part.name(), "Courses")) {
      ForEachTcxChild(part, "Course", [this](const pugi::xml_node& course) {
        ForEachTcxChild(course, "Track", [this](const pugi::xml_node& track) { ReadTrackElement(track); });
      });
    }
  }
}

void TTcxFile::ReadTrackElement(const pugi::xml_node& track) {
  ForEachTcxChild(track, "Trackpoint", [this](const pugi::xml_node& trackpoint) { ReadTrackpoint(trackpoint); });
}

void TTcxFile::ReadTrackpoint(const pugi::xml_node& trackpoint) {
  // A point without a position is a heart rate or a cadence taken indoors, or while the receiver
  // had no fix: there is nothing to put on a map.
  const pugi::xml_node position = TcxChild(trackpoint, "Position");
  if (!position) return;
  const pugi::xml_node timeNode = TcxChild(trackpoint, "Time");
  const TDateTime time = timeNode ? TcxTime(timeNode.child_value()) : 0;
  if (OutsideWindow(time)) return;
  Extended latitude = 0, longitude = 0, altitude = 0;
  const pugi::xml_node latitudeNode = TcxChild(position, "LatitudeDegrees");
  const pugi::xml_node longitudeNode = TcxChild(position, "LongitudeDegrees");
  if (!latitudeNode || !longitudeNode || !TryParseGpsNumber(latitudeNode.child_value(), latitude) ||
      !TryParseGpsNumber(longitudeNode.child_value(), longitude)) {
    return;
  }
  if (!TryReadOptionalHeight(TcxChild(trackpoint, "AltitudeMeters"), altitude)) return;
  GpsList.Add(time, latitude, longitude, altitude);
}

}  // namespace hakuvo
