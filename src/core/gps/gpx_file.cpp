#include "core/gps/gpx_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/common/file_read.h"
#include "core/gps/gps_reader_util.h"

namespace hakuvo {

namespace {

std::string_view TrimXmlSpace(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A track is read in pieces of about this many bytes (see ReadInPieces).
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
constexpr std::size_t kReadAheadBytes = std::size_t{64} << 10;
constexpr std::string_view kPointEnd = "</trkpt>";
// Put where the head of the document meets its tail, to learn whether that place lies in the
// content of the segment; any element would do, as it is found by where its name starts.
constexpr std::string_view kMarker = "<hakuvo-piece/>";

}  // namespace

// A file read a piece at a time.
class TGpxFile::TFileSource : public TDocumentSource {
 public:
  explicit TFileSource(const std::string& fileName) : FFile(OpenInputStream(fileName), &std::fclose) {}
  bool Open() {
    if (!FFile || ::fseeko(FFile.get(), 0, SEEK_END) != 0) return false;
    const off_t size = ::ftello(FFile.get());
    if (size < 0) return false;
    FSize = static_cast<std::size_t>(size);
    return true;
  }
  std::size_t Size() const override { return FSize; }
  bool ReadAt(std::size_t offset, std::size_t count, TByteBuffer& out) override {
    if (::fseeko(FFile.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return false;
    if (out.Size() + count > out.Capacity()) out.Reserve(std::max(out.Size() + count, 2 * out.Capacity()));
    const std::size_t got = std::fread(out.Data() + out.Size(), 1, count, FFile.get());
    out.Resize(out.Size() + got);
    return got == count;
  }

 private:
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> FFile;
  std::size_t FSize = 0;
};

class TGpxFile::TMemorySource : public TDocumentSource {
 public:
  explicit TMemorySource(std::string_view data) : FData(data) {}
  std::size_t Size() const override { return FData.size(); }
  bool ReadAt(std::size_t offset, std::size_t count, TByteBuffer& out) override {
    if (offset > FData.size() || count > FData.size() - offset) return false;
    out.Append(FData.data() + offset, count);
    return true;
  }

 private:
  std::string_view FData;
};

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

std::string TGpxFile::MissingMessage() const {
  return FileName() + "\r\nが見つかりません\r\nファイル名を確認してください";
}

void TGpxFile::ReadTrack() {
  BeginReading();
  {
    TFileSource source(FileName());
    if (source.Open() && ReadInPieces(source)) return;
  }
  TByteBuffer text = ReadFileBytes(FileName(), MissingMessage());
  ReadDocument(text, nullptr);
}

void TGpxFile::ReadFromMemory(std::string_view data) {
  BeginReading();
  TMemorySource source(data);
  if (ReadInPieces(source)) return;
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
  for (const pugi::xml_node trackPoint : segment.children("trkpt")) ReadTrackPoint(trackPoint);
}

// A track of a hundred megabytes makes a document tree of some three hundred, most of it for the
// points, and making that much memory is most of the time of a reading. So a large document is
// read in pieces of about a megabyte that each hold whole track points, from the file a piece at
// a time, each parsed into the same small tree, and around them a skeleton: the document's head
// and tail.
//
// The k-th cut lies just after the first "</trkpt>" that begins at or after k megabytes (and after
// the cut before); the cuts stop at the last megabyte line with a megabyte of file after it. The
// skeleton is the head up to the first cut, a marker
// element and the tail from the last cut; when it parses and the marker is an element whose parent
// is the segment the points are taken from, the head ends in the content of that segment. A piece
// that parses as a fragment, holds no NUL byte (where the parser would stop) and has nothing but
// "trkpt" elements at its top level (a DOCTYPE, text or CDATA there would be read differently
// inside the segment) is then exactly that content, and so is each piece after it: the whole
// document has the same tree with the pieces' points in place of the marker. Anything else, and
// any error, returns false with the list emptied, and the whole document gives its own answer or
// error.
bool TGpxFile::ReadInPieces(TDocumentSource& source) {
  const std::size_t size = source.Size();
  if (size < 3 * kPieceBytes) return false;
  GpsList.Reserve(size / 64);
  if (ReadPieces(source)) return true;
  ClearPoints();
  return false;
}

bool TGpxFile::ReadPieces(TDocumentSource& source) {
  const std::size_t size = source.Size();
  const std::size_t lastGrid = (size - kPieceBytes) / kPieceBytes * kPieceBytes;

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
      const std::size_t target = std::max(grid, from) + kReadAheadBytes;
      const std::size_t wanted = target > end ? std::max(kReadAheadBytes, target - end) : kReadAheadBytes;
      if (!source.ReadAt(end, std::min(wanted, size - end), window)) return 0;
      // Back by the length of the text less one, for one that straddles the reads.
      if (end >= kPointEnd.size()) from = std::max(from, end - (kPointEnd.size() - 1));
    }
  };
  std::size_t cut = nextCut(kPieceBytes, 0);
  if (cut == 0 || cut >= lastCut) return false;

  TByteBuffer skeleton;
  skeleton.Reserve(cut + kMarker.size() + (size - lastCut));
  skeleton.Append(window.Data(), cut);
  skeleton.Append(kMarker.data(), kMarker.size());
  skeleton.Append(tail.Data() + (lastCut - lastGrid), size - lastCut);
  tail = TByteBuffer();

  // One piece, from `cut` to the next cut, parsed where it lies in the window; then the window
  // is moved on to it. The first is parsed before the skeleton, so that the skeleton's tree,
  // which is kept to the end, lies above it in memory: what each later piece gives back then goes
  // to the next one instead of back to the system, to be faulted in again page by page.
  const unsigned pieceOptions = kXmlParseOptions | pugi::parse_fragment | pugi::parse_doctype;
  pugi::xml_document piece;
  std::size_t grid = 2 * kPieceBytes;
  const auto parseNextPiece = [&]() {
    std::size_t next = 0;
    for (; next == 0 || next == cut; grid += kPieceBytes) {
      if (grid > lastGrid) return false;
      next = nextCut(grid, cut);
      if (next == 0) return false;
    }
    // A piece the file does not give again as it gave the tail: the file changed meanwhile.
    if (next > lastCut || (grid > lastGrid && next != lastCut)) return false;
    const std::size_t consumed = cut - windowStart;
    if (consumed > 0) {
      std::memmove(window.Data(), window.Data() + consumed, window.Size() - consumed);
      window.Resize(window.Size() - consumed);
      windowStart = cut;
    }
    char* const begin = window.Data();
    const std::size_t length = next - cut;
    cut = next;
    return std::memchr(begin, '\0', length) == nullptr &&
           piece.load_buffer_inplace(begin, length, pieceOptions, pugi::encoding_utf8);
  };
  if (!parseNextPiece()) return false;

  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer_inplace(skeleton.Data(), skeleton.Size(), kXmlParseOptions);
  if (!parsed || parsed.encoding != pugi::encoding_utf8) return false;
  const pugi::xml_node segment = document.child("gpx").child("trk").child("trkseg");
  const char* const markerName = skeleton.Data() + (skeleton.Size() - (size - lastCut)) - kMarker.size() + 1;
  pugi::xml_node marker;
  for (pugi::xml_node child = segment.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && child.name() == markerName) {
      marker = child;
      break;
    }
  }
  if (!marker) return false;

  for (pugi::xml_node child = segment.first_child(); child != marker; child = child.next_sibling()) {
    if (IsXmlName(child.name(), "trkpt")) ReadTrackPoint(child);
  }
  for (;;) {
    for (const pugi::xml_node child : piece.children()) {
      if (child.type() != pugi::node_element || !IsXmlName(child.name(), "trkpt")) return false;
      ReadTrackPoint(child);
    }
    if (cut == lastCut) break;
    if (!parseNextPiece()) return false;
  }
  for (pugi::xml_node child = marker.next_sibling(); child; child = child.next_sibling()) {
    if (IsXmlName(child.name(), "trkpt")) ReadTrackPoint(child);
  }
  return true;
}

void TGpxFile::ReadTrackPoint(const pugi::xml_node& trackPoint) {
  const pugi::xml_node timeNode = trackPoint.child("time");
  const TDateTime time = timeNode ? GpxTime(timeNode.child_value()) : 0;
  if (OutsideWindow(time)) return;
  const pugi::xml_attribute latitudeText = trackPoint.attribute("lat");
  const pugi::xml_attribute longitudeText = trackPoint.attribute("lon");
  const pugi::xml_node elevation = trackPoint.child("ele");
  Extended latitude = 0, longitude = 0, altitude = 0;
  if (!latitudeText || !longitudeText || !elevation || !TryParseGpsNumber(latitudeText.value(), latitude) ||
      !TryParseGpsNumber(longitudeText.value(), longitude) || !TryParseGpsNumber(elevation.child_value(), altitude)) {
    return;
  }
  GpsList.Add(time, latitude, longitude, altitude);
}

}  // namespace hakuvo
