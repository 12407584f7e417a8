#pragma once

#include <string_view>

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
  void ReadDocument(TByteBuffer& text, const std::string_view* pristine);
  // Local time of a GPX time text; 0 when it cannot be read.
  TDateTime GpxTime(std::string_view text);
};

}  // namespace hakuvo
