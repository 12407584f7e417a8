#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "core/gps/gps_file.h"

namespace hakuvo {

class TByteBuffer;

// A GPX file: the points of the first segment of the first track that have a position and an
// elevation.
class TGpxFile : public TGpsFile {
 public:
  // Reads a document held in memory as if it were the file (FileName names it in messages).
  void ReadFromMemory(std::string_view data);

 protected:
  void ReadTrack() override;

 private:
  enum TPiecesResult { prRead, prUntouched, prSpoilt };

  void ReadDocument(TByteBuffer& text, const std::string_view* pristine);
  // Reads a large document piece by piece. prRead: done; prUntouched: not done, text unchanged;
  // prSpoilt: not done, text parsed in part (points may have been added).
  TPiecesResult ReadInPieces(TByteBuffer& text);
  void ReadTrackPoint(const pugi::xml_node& trackPoint);
  // Local time of a GPX time text; 0 when it cannot be read.
  TDateTime GpxTime(std::string_view text);
  std::string MissingMessage() const;
};

}  // namespace hakuvo
