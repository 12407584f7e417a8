#include "core/gps/gpx_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/common/file_read.h"
#include "core/gps/document_source.h"
#include "core/gps/gps_reader_util.h"

namespace hakuvo {

namespace {

constexpr std::size_t kReadAheadBytes = std::size_t{64} << 10;
constexpr std::string_view kPointEnd = "</trkpt>";
// Put where the head of the document meets its tail, to learn whether that place lies in the
// content of a segment; any element would do, as it is found by where its name starts.
constexpr std::string_view kMarker = "<hakuvo-piece/>";
// Around a piece, the elements that are open where it is cut, so that it parses as a document of
// its own.
constexpr std::string_view kPieceOpen = "<gpx><trk><trkseg>";
constexpr std::string_view kPieceClose = "</trkseg></trk></gpx>";

// Calls visit(child) for each element child of each "trkseg" of each "trk" under `gpx`, in
// document order, until visit answers false; answers whether it went through.
template <typename Visit>
bool ForEachSegmentChild(const pugi::xml_node& gpx, Visit&& visit) {
  for (pugi::xml_node track = gpx.first_child(); track; track = track.next_sibling()) {
    if (!IsXmlName(track.name(), "trk")) continue;
    for (pugi::xml_node segment = track.first_child(); segment; segment = segment.next_sibling()) {
      if (!IsXmlName(segment.name(), "trkseg")) continue;
      for (pugi::xml_node child = segment.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && !visit(child)) return false;
      }
    }
  }
  return true;
}

}  // namespace

TDateTime TGpxFile::GpxTime(std::string_view text) {
  TDateTime utc = 0;
  if (!TryParseIsoUtc(text, utc)) return 0;
  return LocalFromUtc(utc);
}

std::string TGpxFile::MissingMessage() const {
  return FileName() + "\r\nが見つかりません\r\nファイル名を確認してください";
}

void TGpxFile::ReadTrack() {
  BeginReading();
  {
    TFileDocumentSource source(FileName());
    if (source.Open() && ReadInPieces(source)) return;
  }
  TByteBuffer text = ReadFileBytes(FileName(), MissingMessage(), FileName() + "\r\nnot found; check the file name");
  ReadDocument(text, nullptr);
}

void TGpxFile::ReadFromMemory(std::string_view data) {
  BeginReading();
  TMemoryDocumentSource source(data);
  if (ReadInPieces(source)) return;
  TByteBuffer text(data);
  ReadDocument(text, &data);
}

void TGpxFile::ReadDocument(TByteBuffer& text, const std::string_view* pristine) {
  BeginReading();
  FPiecesRead = 0;
  // A point takes some 64 bytes of the file at the least (position, elevation and time written
  // out); room for that many is only address space until the points fill it.
  GpsList.Reserve(text.Size() / 64);
  pugi::xml_document document;
  ParseXmlInPlace(document, text, FileName(), pristine);
  ReadTracks(document.child("gpx"));
}

void TGpxFile::ReadTracks(const pugi::xml_node& gpx) {
  ForEachSegmentChild(gpx, [this](const pugi::xml_node& child) {
    if (IsXmlName(child.name(), "trkpt")) ReadTrackPoint(child);
    return true;
  });
}

// A track of a hundred megabytes makes a document tree of some three hundred, most of it for the
// points, and making that much memory is most of the time of a reading. So a large document is
// read in pieces (a megabyte unless PieceBytes says otherwise), from the file a piece at a time,
// each parsed into the same small tree, and around them a skeleton: the document's head and tail.
//
// The k-th cut lies just after the first "</trkpt>" that begins at or after k piece sizes (and
// after the cut before); the cuts stop at the last multiple of the piece size with a piece of
// file after it. The skeleton is the head up to the first cut, a marker element and the tail from
// the last cut; when it parses and the marker is an element in a "trkseg" of a "trk" of the
// "gpx" root, the head ends in the content of a segment, the place where the reading walks
// elements three deep. Each piece is parsed with the three elements open there put in front of
// it and closed after it (a NUL byte, where the parser would stop, is refused): when it parses
// and its document has that one root, the piece, put in that place, closes what it opens and
// ends three deep again, in a segment of a track of the same root, and the next cut is such a
// place too. Its elements then stand in the same place and order as in the whole document
// (elements we do not read, such as the names and extensions of tracks, in between), so the
// points read from the skeleton, the pieces in place of the marker, are those of the whole
// document. Anything else, and any error, returns false with the list emptied, and the whole
// document gives its own answer or error.
bool TGpxFile::ReadInPieces(TDocumentSource& source) {
  FPiecesRead = 0;
  const std::size_t size = source.Size();
  if (FPieceBytes == 0 || size / 3 < FPieceBytes) return false;
  GpsList.Reserve(size / 64);
  if (ReadPieces(source)) return true;
  ClearPoints();
  FPiecesRead = 0;
  return false;
}

bool TGpxFile::ReadPieces(TDocumentSource& source) {
  const std::size_t pieceBytes = FPieceBytes;
  const std::size_t readAhead = std::min(kReadAheadBytes, pieceBytes);
  const std::size_t size = source.Size();
  const std::size_t lastGrid = (size - pieceBytes) / pieceBytes * pieceBytes;

  // The tail, from the last cut.
  TByteBuffer tail;
  if (!source.ReadAt(lastGrid, size - lastGrid, tail)) return false;
  const std::size_t lastEnd = tail.View().find(kPointEnd);
  if (lastEnd == std::string_view::npos) return false;
  const std::size_t lastCut = lastGrid + lastEnd + kPointEnd.size();

  // The head, up to the first cut, and the bytes read after it: the window holds the file from
  // windowStart on.
  TByteBuffer window;
  std::size_t windowStart = 0;
  // The first cut at or after `grid` (at least `from`), reading on as far as needed; 0 when the
  // file ends first.
  const auto nextCut = [&](std::size_t grid, std::size_t from) -> std::size_t {
    for (;;) {
      const std::size_t searchFrom = std::max(grid, from) - windowStart;
      if (searchFrom < window.Size()) {
        const std::size_t found = window.View().find(kPointEnd, searchFrom);
        if (found != std::string_view::npos) return windowStart + found + kPointEnd.size();
      }
      const std::size_t end = windowStart + window.Size();
      if (end >= size) return 0;
      // Read on to a little past the grid line, so that little is left to move on after the cut.
      const std::size_t target = std::max(grid, from) + readAhead;
      const std::size_t wanted = target > end ? std::max(readAhead, target - end) : readAhead;
      if (!source.ReadAt(end, std::min(wanted, size - end), window)) return 0;
      // Back by the length of the text less one, for one that straddles the reads.
      if (end >= kPointEnd.size()) from = std::max(from, end - (kPointEnd.size() - 1));
    }
  };
  std::size_t cut = nextCut(pieceBytes, 0);
  if (cut == 0 || cut >= lastCut) return false;

  TByteBuffer skeleton;
  skeleton.Reserve(cut + kMarker.size() + (size - lastCut));
  skeleton.Append(window.Data(), cut);
  skeleton.Append(kMarker.data(), kMarker.size());
  skeleton.Append(tail.Data() + (lastCut - lastGrid), size - lastCut);
  tail = TByteBuffer();

  // One piece, from `cut` to the next cut, parsed in the window between the opening and closing
  // tags written around it: the bytes before it are read already, and those its closing tags
  // cover are put back before the window is searched again. The first is parsed before the
  // skeleton, so that the skeleton's tree, which is kept to the end, lies above it in memory:
  // what each later piece gives back then goes to the next one instead of back to the system, to
  // be faulted in again page by page.
  pugi::xml_document piece;
  char covered[kPieceClose.size()];
  std::size_t coveredAt = 0, coveredCount = 0;
  std::size_t grid = 2 * pieceBytes;
  const auto parseNextPiece = [&]() {
    std::memcpy(window.Data() + coveredAt, covered, coveredCount);
    coveredCount = 0;
    std::size_t next = 0;
    for (; next == 0 || next == cut; grid += pieceBytes) {
      if (grid > lastGrid) return false;
      next = nextCut(grid, cut);
      if (next == 0) return false;
    }
    // A piece the file does not give again as it gave the tail: the file changed meanwhile.
    if (next > lastCut || (grid > lastGrid && next != lastCut)) return false;
    // The piece goes right after room for the opening tags. The first cut lies past a piece
    // size, more than that room, so the window never starts before the file.
    const std::size_t at = cut - windowStart;
    if (at != kPieceOpen.size()) {
      const std::size_t kept = window.Size() - at;
      window.Reserve(kPieceOpen.size() + kept);
      std::memmove(window.Data() + kPieceOpen.size(), window.Data() + at, kept);
      window.Resize(kPieceOpen.size() + kept);
      windowStart = cut - kPieceOpen.size();
    }
    const std::size_t length = next - cut;
    const std::size_t end = kPieceOpen.size() + length;
    window.Reserve(end + kPieceClose.size());
    coveredAt = end;
    coveredCount = std::min(kPieceClose.size(), window.Size() - end);
    std::memcpy(covered, window.Data() + end, coveredCount);
    std::memcpy(window.Data(), kPieceOpen.data(), kPieceOpen.size());
    std::memcpy(window.Data() + end, kPieceClose.data(), kPieceClose.size());
    cut = next;
    ++FPiecesRead;
    if (std::memchr(window.Data() + kPieceOpen.size(), '\0', length) != nullptr) return false;
    if (!piece.load_buffer_inplace(window.Data(), end + kPieceClose.size(), kXmlParseOptions, pugi::encoding_utf8)) {
      return false;
    }
    // One root, the one opened in front: a piece that closed it and opened another would make
    // a document of two roots, of which a whole reading reads the first.
    const pugi::xml_node root = piece.first_child();
    return root.type() == pugi::node_element && !root.next_sibling();
  };
  if (!parseNextPiece()) return false;

  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer_inplace(skeleton.Data(), skeleton.Size(), kXmlParseOptions);
  if (!parsed || parsed.encoding != pugi::encoding_utf8) return false;
  const pugi::xml_node gpx = document.child("gpx");
  const char* const markerName = skeleton.Data() + (skeleton.Size() - (size - lastCut)) - kMarker.size() + 1;
  const bool markerFound =
      !ForEachSegmentChild(gpx, [&](const pugi::xml_node& child) { return child.name() != markerName; });
  if (!markerFound) return false;

  return ForEachSegmentChild(gpx, [&](const pugi::xml_node& child) {
    if (child.name() != markerName) {
      if (IsXmlName(child.name(), "trkpt")) ReadTrackPoint(child);
      return true;
    }
    for (;;) {
      ReadTracks(piece.first_child());
      if (cut == lastCut) return true;
      if (!parseNextPiece()) return false;
    }
  });
}

void TGpxFile::ReadTrackPoint(const pugi::xml_node& trackPoint) {
  const pugi::xml_node timeNode = trackPoint.child("time");
  const TDateTime time = timeNode ? GpxTime(timeNode.child_value()) : 0;
  if (OutsideWindow(time)) return;
  const pugi::xml_attribute latitudeText = trackPoint.attribute("lat");
  const pugi::xml_attribute longitudeText = trackPoint.attribute("lon");
  Extended latitude = 0, longitude = 0, altitude = 0;
  if (!latitudeText || !longitudeText || !TryParseGpsNumber(latitudeText.value(), latitude) ||
      !TryParseGpsNumber(longitudeText.value(), longitude)) {
    return;
  }
  // The elevation is optional: a receiver without a barometer, a route drawn by hand, a file
  // whose heights were stripped.
  if (!TryReadOptionalHeight(trackPoint.child("ele"), altitude)) return;
  GpsList.Add(time, latitude, longitude, altitude);
}

}  // namespace hakuvo
