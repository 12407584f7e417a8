#pragma once

#include <string_view>

#include <pugixml.hpp>

#include "core/gps/gps_file.h"

namespace hakuvo {

class TByteBuffer;

// A TCX file (activities and courses as training programs export them): every track point with a
// position, in document order, from the tracks of the laps of every activity and from the tracks
// of every course.
class TTcxFile : public TGpsFile {
 public:
  // Reads a document held in memory as if it were the file (FileName names it in messages).
  void ReadFromMemory(std::string_view data);

 protected:
  void ReadTrack() override;

 private:
  void ReadDocument(TByteBuffer& text, const std::string_view* pristine);
  void ReadTrackElement(const pugi::xml_node& track);
  void ReadTrackpoint(const pugi::xml_node& trackpoint);
  // Local time of a TCX time text; 0 when it cannot be read.
  TDateTime TcxTime(std::string_view text);
};

}  // namespace hakuvo
