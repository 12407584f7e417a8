#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include <pugixml.hpp>

#include "core/gps/gps_file.h"

namespace hakuvo {

class TByteBuffer;
class TDocumentSource;

// A KML file: the placemarks in any nesting of documents and folders (or straight under the
// root), from their tracks (gx:Track, also inside gx:MultiTrack), timed points and line strings
// (also every one of a multi-geometry).
class TKmlFile : public TGpsFile {
 public:
  // Bytes in a piece of a large document: a document of three pieces or more whose bulk is one
  // track is read a piece at a time (see ReadInPieces); 0 reads every document whole. A megabyte
  // unless set; a set size is at least MinPieceBytes.
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
  class TPieces;
  class TTrackReader;

  void ReadDocument(TByteBuffer& text, const std::string_view* pristine);
  // Reads a large document piece by piece; false, with the list empty, when it must be read whole.
  bool ReadInPieces(TDocumentSource& source);
  void ReadPlacemarks(const pugi::xml_node& root);
  void ReadPlacemark(const pugi::xml_node& placemark);
  void ReadTrackElement(const pugi::xml_node& track);
  void ReadLineString(const pugi::xml_node& lineString);
  void ReadCoordinateString(std::string_view text);
  // Adds a point unless a coordinate (or the altitude, when there is one) is not a number.
  void AddPoint(TDateTime time, std::string_view longitude, std::string_view latitude,
                std::optional<std::string_view> altitude);
  // Local time of a KML time text; 0 when it cannot be read.
  TDateTime KmlTime(std::string_view text);

  std::size_t FPieceBytes = DefaultPieceBytes;
  int FPiecesRead = 0;
  // While a document is read in pieces: where they come from.
  TPieces* FPieces = nullptr;
};

}  // namespace hakuvo
