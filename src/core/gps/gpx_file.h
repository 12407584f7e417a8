#pragma once

#include <cstddef>
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
  // Where the bytes of a document come from, a few at a time.
  class TDocumentSource {
   public:
    virtual ~TDocumentSource() = default;
    virtual std::size_t Size() const = 0;
    // Appends bytes offset to offset + count to `out`; false when they cannot all be read.
    virtual bool ReadAt(std::size_t offset, std::size_t count, TByteBuffer& out) = 0;
  };
  class TFileSource;
  class TMemorySource;

  void ReadDocument(TByteBuffer& text, const std::string_view* pristine);
  // Reads a large document piece by piece; false, with the list empty, when it must be read whole.
  bool ReadInPieces(TDocumentSource& source);
  bool ReadPieces(TDocumentSource& source);
  void ReadTrackPoint(const pugi::xml_node& trackPoint);
  // Local time of a GPX time text; 0 when it cannot be read.
  TDateTime GpxTime(std::string_view text);
  std::string MissingMessage() const;
};

}  // namespace hakuvo
