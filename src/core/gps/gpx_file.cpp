#include "core/gps/gpx_file.h"

#include <cstring>
#include <vector>

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
constexpr std::string_view kPointEnd = "</trkpt>";
// Put where the head of the document meets its tail, to learn whether that place lies in the
// content of the segment; any element would do, as it is found by where its name starts.
constexpr std::string_view kMarker = "<hakuvo-piece/>";

}  // namespace

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
  TByteBuffer text = ReadFileBytes(FileName(), MissingMessage());
  ReadDocument(text, nullptr);
}

void TGpxFile::ReadFromMemory(std::string_view data) {
  TByteBuffer text(data);
  ReadDocument(text, &data);
}

void TGpxFile::ReadDocument(TByteBuffer& text, const std::string_view* pristine) {
  BeginReading();
  // A point takes some 64 bytes of the file at the least (position, elevation and time written
  // out); room for that many is only address space until the points fill it.
  GpsList.Reserve(text.Size() / 64);
  switch (ReadInPieces(text)) {
    case prRead:
      return;
    case prUntouched:
      break;
    case prSpoilt:
      // Something in the pieces was not plain track points: the whole document decides, from the
      // bytes as they were.
      ClearPoints();
      text = pristine != nullptr ? TByteBuffer(*pristine) : ReadFileBytes(FileName(), MissingMessage());
      break;
  }

  pugi::xml_document document;
  ParseXmlInPlace(document, text, FileName(), pristine);
  const pugi::xml_node segment = document.child("gpx").child("trk").child("trkseg");
  for (const pugi::xml_node trackPoint : segment.children("trkpt")) ReadTrackPoint(trackPoint);
}

// A track of a hundred megabytes makes a document tree of some three hundred, most of it for the
// points, and building that much memory is most of the time of a reading. So a large document is
// read as a skeleton (its head and its tail) and, between them, pieces of about a megabyte that
// each hold whole track points and are parsed one after the other into the same small tree.
//
// The pieces end just after a "</trkpt>". The skeleton is the head up to the first piece, a marker
// element and the tail after the last piece; when it parses, and the marker is an element whose
// parent is the segment the points are taken from, the head ends in the content of that segment.
// A piece that parses as a fragment, holds no NUL byte (where the parser would stop) and has
// nothing but "trkpt" elements at its top level (a DOCTYPE, text or CDATA there would be read
// differently inside the segment) is then exactly that content, and so is every piece after it:
// the whole document has the same tree with the pieces' points in place of the marker. Anything
// else, and any error, is left to the whole document, which then gives its own answer or error.
TGpxFile::TPiecesResult TGpxFile::ReadInPieces(TByteBuffer& text) {
  const std::string_view view = text.View();
  std::vector<std::size_t> cuts;
  for (std::size_t from = kPieceBytes; from < view.size();) {
    const std::size_t found = view.find(kPointEnd, from);
    if (found == std::string_view::npos) break;
    const std::size_t cut = found + kPointEnd.size();
    if (view.size() - cut < kPieceBytes) break;  // what is left goes with the tail
    cuts.push_back(cut);
    from = cut + kPieceBytes;
  }
  if (cuts.size() < 2) return prUntouched;

  // The first piece is parsed before the skeleton, so that the skeleton's tree, which is kept to
  // the end, lies above it in memory: what each later piece gives back then goes to the next one
  // instead of back to the system, to be faulted in again page by page.
  const unsigned pieceOptions = kXmlParseOptions | pugi::parse_fragment | pugi::parse_doctype;
  pugi::xml_document piece;
  const auto parsePiece = [&](std::size_t index) {
    char* const begin = text.Data() + cuts[index];
    const std::size_t length = cuts[index + 1] - cuts[index];
    return std::memchr(begin, '\0', length) == nullptr &&
           piece.load_buffer_inplace(begin, length, pieceOptions, pugi::encoding_utf8);
  };
  if (!parsePiece(0)) return prSpoilt;

  TByteBuffer skeleton;
  skeleton.Reserve(cuts.front() + kMarker.size() + (view.size() - cuts.back()));
  skeleton.Append(view.data(), cuts.front());
  skeleton.Append(kMarker.data(), kMarker.size());
  skeleton.Append(view.data() + cuts.back(), view.size() - cuts.back());
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer_inplace(skeleton.Data(), skeleton.Size(), kXmlParseOptions);
  if (!parsed || parsed.encoding != pugi::encoding_utf8) return prSpoilt;
  const pugi::xml_node segment = document.child("gpx").child("trk").child("trkseg");
  const char* const markerName = skeleton.Data() + cuts.front() + 1;
  pugi::xml_node marker;
  for (pugi::xml_node child = segment.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && child.name() == markerName) {
      marker = child;
      break;
    }
  }
  if (!marker) return prSpoilt;

  for (pugi::xml_node child = segment.first_child(); child != marker; child = child.next_sibling()) {
    if (IsXmlName(child.name(), "trkpt")) ReadTrackPoint(child);
  }
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    if (i > 0 && !parsePiece(i)) return prSpoilt;
    for (const pugi::xml_node child : piece.children()) {
      if (child.type() != pugi::node_element || !IsXmlName(child.name(), "trkpt")) return prSpoilt;
      ReadTrackPoint(child);
    }
  }
  for (pugi::xml_node child = marker.next_sibling(); child; child = child.next_sibling()) {
    if (IsXmlName(child.name(), "trkpt")) ReadTrackPoint(child);
  }
  return prRead;
}

void TGpxFile::ReadTrackPoint(const pugi::xml_node& trackPoint) {
  // The first "time" and "ele" children and the first "lat" and "lon" attributes, found in one
  // walk each.
  pugi::xml_node timeNode, elevation;
  for (pugi::xml_node child = trackPoint.first_child(); child && !(timeNode && elevation);
       child = child.next_sibling()) {
    const char* const name = child.name();
    if (!timeNode && IsXmlName(name, "time")) {
      timeNode = child;
    } else if (!elevation && IsXmlName(name, "ele")) {
      elevation = child;
    }
  }
  const TDateTime time = timeNode ? GpxTime(timeNode.child_value()) : 0;
  if (OutsideWindow(time)) return;
  pugi::xml_attribute latitudeText, longitudeText;
  for (pugi::xml_attribute attribute = trackPoint.first_attribute(); attribute && !(latitudeText && longitudeText);
       attribute = attribute.next_attribute()) {
    const char* const name = attribute.name();
    if (!latitudeText && IsXmlName(name, "lat")) {
      latitudeText = attribute;
    } else if (!longitudeText && IsXmlName(name, "lon")) {
      longitudeText = attribute;
    }
  }
  Extended latitude = 0, longitude = 0, altitude = 0;
  if (!latitudeText || !longitudeText || !elevation || !TryParseGpsNumber(latitudeText.value(), latitude) ||
      !TryParseGpsNumber(longitudeText.value(), longitude) || !TryParseGpsNumber(elevation.child_value(), altitude)) {
    return;
  }
  GpsList.Add(TGpsData(time, latitude, longitude, altitude));
}

}  // namespace hakuvo
