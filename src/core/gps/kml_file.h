#pragma once

#include <optional>
#include <string_view>

#include <pugixml.hpp>

#include "core/gps/gps_file.h"

namespace hakuvo {

class TByteBuffer;

// A KML file: the placemarks in any nesting of documents and folders (or straight under the
// root), from their tracks (gx:Track, also inside gx:MultiTrack), timed points and line strings
// (also every one of a multi-geometry).
class TKmlFile : public TGpsFile {
 public:
  // Reads a document held in memory as if it were the file (FileName names it in messages).
  void ReadFromMemory(std::string_view data);

 protected:
  void ReadTrack() override;

 private:
  void ReadDocument(TByteBuffer& text, const std::string_view* pristine);
  void ReadPlacemark(const pugi::xml_node& placemark);
  void ReadTrackElement(const pugi::xml_node& track);
  void ReadLineString(const pugi::xml_node& lineString);
  void ReadCoordinateString(std::string_view text);
  // Adds a point unless a coordinate (or the altitude, when there is one) is not a number.
  void AddPoint(TDateTime time, std::string_view longitude, std::string_view latitude,
                std::optional<std::string_view> altitude);
  // Local time of a KML time text; 0 when it cannot be read.
  TDateTime KmlTime(std::string_view text);
};

}  // namespace hakuvo
