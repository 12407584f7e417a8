#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "core/gps/gps_file.h"

namespace hakuvo {

class TByteBuffer;
class TDocumentSource;

// A GPX file: the points of every segment of every track, in document order, that have a
// position (a point without an elevation is at altitude 0).
class TGpxFile : public TGpsFile {
 public:
  // Bytes in a piece of a large document: a document of three pieces or more is read a piece at
  // a time (see ReadInPieces), each piece parsed into the same small tree; 0 reads every document
  // whole. A megabyte unless set; a set size is at least MinPieceBytes.
  static constexpr std::size_t DefaultPieceBytes = std::size_t{1} << 20;
  static constexpr std::size_t MinPieceBytes = 32;
  std::size_t PieceBytes() const { return FPieceBytes; }
  void SetPieceBytes(std::size_t bytes) { FPieceBytes = bytes == 0 ? 0 : std::max(bytes, MinPieceBytes); }
  // Pieces the last reading parsed; 0 when it read the document whole.
  int PiecesRead() const { return FPiecesRead; }

  // Reads a document held in memory as if it were the file (FileName names it in messages).
  void ReadFromMemory(std::string_view data);

 protected:
  void ReadTrack() override;

 private:
  void ReadDocument(TByteBuffer& text, const std::string_view* pristine);
  // Reads a large document piece by piece; false, with the list empty, when it must be read whole.
  bool ReadInPieces(TDocumentSource& source);
  bool ReadPieces(TDocumentSource& source);
  // Every track point of every segment of every track under the root, in document order.
  void ReadTracks(const pugi::xml_node& gpx);
  void ReadTrackPoint(const pugi::xml_node& trackPoint);
  // Local time of a GPX time text; 0 when it cannot be read.
  TDateTime GpxTime(std::string_view text);
  std::string MissingMessage() const;

  std::size_t FPieceBytes = DefaultPieceBytes;
  int FPiecesRead = 0;
};

}  // namespace hakuvo
