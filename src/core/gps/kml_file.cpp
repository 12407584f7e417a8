#include "core/gps/kml_file.h"

#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/gps/document_source.h"
#include "core/gps/gps_reader_util.h"

namespace hakuvo {

namespace {

bool IsDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

int NumberOf(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

template <std::size_t N>
bool IsNamed(const pugi::xml_node& node, const char (&name)[N]) {
  return IsXmlName(node.name(), name);
}

// A gx:Track element is read as a plain Track, whatever attributes its start tag carries.
bool IsTrack(const pugi::xml_node& node) { return IsNamed(node, "Track") || IsNamed(node, "gx:Track"); }

pugi::xml_node FirstTrack(const pugi::xml_node& parent) {
  for (const pugi::xml_node child : parent.children()) {
    if (IsTrack(child)) return child;
  }
  return pugi::xml_node();
}

// The parts of a text split at every `separator` (empty parts count): how many, and the first
// three, which are all a coordinate uses.
struct TParts {
  std::size_t Count = 0;
  std::string_view Part[3];

  std::optional<std::string_view> Third() const {
    return Count >= 3 ? std::optional<std::string_view>(Part[2]) : std::nullopt;
  }
  bool HasPosition() const { return Count >= 2 && !Part[0].empty() && !Part[1].empty(); }
};

TParts SplitAt(std::string_view text, char separator) {
  TParts parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t found = text.find(separator, start);
    if (parts.Count < 3)
      parts.Part[parts.Count] = text.substr(start, found == std::string_view::npos ? found : found - start);
    ++parts.Count;
    if (found == std::string_view::npos) return parts;
    start = found + 1;
  }
}

bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The whole text of an element: a comment or a CDATA section inside it splits the text into
// several nodes, and a writer may well put one in a long list of coordinates. The element's own
// value is its first text (the parser keeps it there when nothing comes before it).
std::string_view WholeText(const pugi::xml_node& element, std::string& storage) {
  pugi::xml_node child = element.first_child();
  while (child && child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata) child = child.next_sibling();
  if (!child) return element.value();
  storage = element.value();
  for (; child; child = child.next_sibling()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) storage += child.value();
  }
  return storage;
}

// Calls visit for `node` and each of its following siblings in document order, except for those
// that `enter` accepts, whose children are walked in their place; nesting as deep as a file likes
// is walked with a stack of our own, not by recursion.
template <typename Enter, typename Visit>
void WalkNested(pugi::xml_node node, Enter&& enter, Visit&& visit) {
  std::vector<pugi::xml_node> resume;
  for (;;) {
    if (!node) {
      if (resume.empty()) return;
      node = resume.back();
      resume.pop_back();
      continue;
    }
    if (enter(node)) {
      resume.push_back(node.next_sibling());
      node = node.first_child();
      continue;
    }
    visit(node);
    node = node.next_sibling();
  }
}

}  // namespace

TDateTime TKmlFile::KmlTime(std::string_view text) {
  TDateTime date = 0;
  switch (text.size()) {
    // Date-only forms are dates of the place they were written for and stay as they are.
    case 4:
      return IsDigits(text) && TryEncodeDate(NumberOf(text), 1, 1, date) ? date : 0;
    case 7:
      return IsDigits(text.substr(0, 4)) && text[4] == '-' && IsDigits(text.substr(5)) &&
                     TryEncodeDate(NumberOf(text.substr(0, 4)), NumberOf(text.substr(5)), 1, date)
                 ? date
                 : 0;
    case 10:
      return IsDigits(text.substr(0, 4)) && text[4] == '-' && IsDigits(text.substr(5, 2)) && text[7] == '-' &&
                     IsDigits(text.substr(8)) &&
                     TryEncodeDate(NumberOf(text.substr(0, 4)), NumberOf(text.substr(5, 2)), NumberOf(text.substr(8)),
                                   date)
                 ? date
                 : 0;
    default:
      break;
  }
  // A time needs its zone, "Z" or a numeric offset, after the seconds (and a fraction of one,
  // which is dropped): a time without one is not one KML gives a meaning to here.
  const std::string_view trimmed = TrimXmlSpace(text);
  TDateTime written = 0;
  std::string_view rest;
  if (!TryParseIsoDateTime(trimmed, written, rest)) return 0;
  rest = SkipFraction(rest);
  int minutesEast = 0;
  if (rest != "Z" && !TryParseZoneOffset(rest, minutesEast)) return 0;
  TDateTime utc = 0;
  if (!TryParseIsoUtc(trimmed, utc)) return 0;
  return LocalFromUtc(utc);
}

// A track of a hundred megabytes makes a document tree of some three hundred, nearly all of it
// the `when` and `gx:coord` children of one track element. So a large document is read in pieces
// (a megabyte unless PieceBytes says otherwise), from the file a piece at a time, as the GPX
// reader does: the k-th cut lies just after the first "</gx:coord>" or "</when>" that begins at or after k
// piece sizes (and after the cut before); the cuts stop at the last multiple of the piece size
// with a piece of file after it. The skeleton is the head up to the first cut, a marker element
// and the tail from the last cut. When it parses (as UTF-8) and the marker is a child of a track
// element, the head ends among that track's children. Each piece is parsed with that track's
// start tag put in front of it and its end tag after it (a NUL byte, where the parser would stop,
// is refused): when it parses to that one root, the piece closes what it opens, so its elements
// are, in order, the track's children that stand in the whole document in place of the marker.
// The track is read as a stream of its children, so the reading is the whole document's.
// Anything else, and any error, gives up, and the whole document gives its own answer or error.
class TKmlFile::TPieces {
 public:
  // Thrown through the reading when a piece does not parse as it must.
  struct TFailed {};

  TPieces(TDocumentSource& source, std::size_t pieceBytes) : FSource(source), FPieceBytes(pieceBytes) {}

  // Reads the head and the tail and parses the skeleton; false when the document is not one to
  // read in pieces.
  bool Prepare();
  const pugi::xml_document& Skeleton() const { return FSkeletonDocument; }
  bool IsMarker(const pugi::xml_node& node) const { return node.name() == FMarkerName; }
  bool Done() const { return FCut == FLastCut; }
  int Count() const { return FCount; }
  // The next piece's track element, whose children follow those of the piece before.
  pugi::xml_node Next();

 private:
  static constexpr std::size_t kReadAheadBytes = std::size_t{64} << 10;
  // A cut follows the end tag of one of a track's children; the longest of the two names the
  // read-back after a read.
  static constexpr std::string_view kCoordEnd = "</gx:coord>";
  static constexpr std::string_view kWhenEnd = "</when>";
  // Where the first of the two end tags that begins at or after `from` ends; npos when none.
  static std::size_t FindCut(std::string_view text, std::size_t from);
  static constexpr std::string_view kMarker = "<hakuvo-piece/>";

  // The first cut at or after `grid` (at least `from`), reading on as far as needed; 0 when the
  // file ends first.
  std::size_t NextCut(std::size_t grid, std::size_t from);

  TDocumentSource& FSource;
  std::size_t FPieceBytes;
  std::size_t FSize = 0;
  std::size_t FLastGrid = 0;
  std::size_t FLastCut = 0;
  std::size_t FCut = 0;
  std::size_t FGrid = 0;
  // The file from FWindowStart on, as far as it has been read.
  TByteBuffer FWindow;
  std::size_t FWindowStart = 0;
  TByteBuffer FSkeleton;
  pugi::xml_document FSkeletonDocument;
  const char* FMarkerName = nullptr;
  std::string FOpen;
  std::string FClose;
  TByteBuffer FPiece;
  pugi::xml_document FPieceDocument;
  int FCount = 0;
};

std::size_t TKmlFile::TPieces::FindCut(std::string_view text, std::size_t from) {
  for (std::size_t at = text.find("</", from); at != std::string_view::npos; at = text.find("</", at + 2)) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with(kCoordEnd)) return at + kCoordEnd.size();
    if (rest.starts_with(kWhenEnd)) return at + kWhenEnd.size();
  }
  return std::string_view::npos;
}

std::size_t TKmlFile::TPieces::NextCut(std::size_t grid, std::size_t from) {
  const std::size_t readAhead = std::min(kReadAheadBytes, FPieceBytes);
  for (;;) {
    const std::size_t searchFrom = std::max(grid, from) - FWindowStart;
    if (searchFrom < FWindow.Size()) {
      const std::size_t found = FindCut(FWindow.View(), searchFrom);
      if (found != std::string_view::npos) return FWindowStart + found;
    }
    const std::size_t end = FWindowStart + FWindow.Size();
    if (end >= FSize) return 0;
    // Read on to a little past the grid line, so that little is left to move on after the cut.
    const std::size_t target = std::max(grid, from) + readAhead;
    const std::size_t wanted = target > end ? std::max(readAhead, target - end) : readAhead;
    if (!FSource.ReadAt(end, std::min(wanted, FSize - end), FWindow)) return 0;
    // Back by the length of the text less one, for one that straddles the reads.
    if (end >= kCoordEnd.size()) from = std::max(from, end - (kCoordEnd.size() - 1));
  }
}

bool TKmlFile::TPieces::Prepare() {
  FSize = FSource.Size();
  if (FPieceBytes == 0 || FSize / 3 < FPieceBytes) return false;
  FLastGrid = (FSize - FPieceBytes) / FPieceBytes * FPieceBytes;
  TByteBuffer tail;
  if (!FSource.ReadAt(FLastGrid, FSize - FLastGrid, tail)) return false;
  const std::size_t lastEnd = FindCut(tail.View(), 0);
  if (lastEnd == std::string_view::npos) return false;
  FLastCut = FLastGrid + lastEnd;
  FCut = NextCut(FPieceBytes, 0);
  if (FCut == 0 || FCut >= FLastCut) return false;
  FGrid = 2 * FPieceBytes;

  const std::size_t tailBytes = FSize - FLastCut;
  FSkeleton.Reserve(FCut + kMarker.size() + tailBytes);
  FSkeleton.Append(FWindow.Data(), FCut);
  FSkeleton.Append(kMarker.data(), kMarker.size());
  FSkeleton.Append(tail.Data() + (FLastCut - FLastGrid), tailBytes);
  FMarkerName = FSkeleton.Data() + FCut + 1;
  const pugi::xml_parse_result parsed =
      FSkeletonDocument.load_buffer_inplace(FSkeleton.Data(), FSkeleton.Size(), kXmlParseOptions);
  if (!parsed || parsed.encoding != pugi::encoding_utf8) return false;

  // The marker, found by where its name lies, must stand among a track's children.
  const pugi::xml_node marker =
      FSkeletonDocument.find_node([this](const pugi::xml_node& node) { return IsMarker(node); });
  const pugi::xml_node track = marker.parent();
  if (!marker || !IsTrack(track)) return false;
  FOpen = std::string("<") + track.name() + ">";
  FClose = std::string("</") + track.name() + ">";
  return true;
}

pugi::xml_node TKmlFile::TPieces::Next() {
  std::size_t next = 0;
  for (; next == 0 || next == FCut; FGrid += FPieceBytes) {
    if (FGrid > FLastGrid) throw TFailed();
    next = NextCut(FGrid, FCut);
    if (next == 0) throw TFailed();
  }
  // A piece the file does not give again as it gave the tail: the file changed meanwhile.
  if (next > FLastCut || (FGrid > FLastGrid && next != FLastCut)) throw TFailed();
  const std::size_t length = next - FCut;
  const char* const bytes = FWindow.Data() + (FCut - FWindowStart);
  if (std::memchr(bytes, '\0', length) != nullptr) throw TFailed();
  FPieceDocument.reset();
  FPiece.Resize(0);
  FPiece.Reserve(FOpen.size() + length + FClose.size());
  FPiece.Append(FOpen.data(), FOpen.size());
  FPiece.Append(bytes, length);
  FPiece.Append(FClose.data(), FClose.size());
  // What is read is let go: the window keeps the bytes from the new cut on.
  const std::size_t kept = FWindowStart + FWindow.Size() - next;
  std::memmove(FWindow.Data(), FWindow.Data() + (next - FWindowStart), kept);
  FWindow.Resize(kept);
  FWindowStart = next;
  FCut = next;
  ++FCount;
  if (!FPieceDocument.load_buffer_inplace(FPiece.Data(), FPiece.Size(), kXmlParseOptions, pugi::encoding_utf8)) {
    throw TFailed();
  }
  // One root, the one opened in front: a piece that closed it and opened another would make a
  // document of two roots.
  const pugi::xml_node root = FPieceDocument.first_child();
  if (root.type() != pugi::node_element || root.next_sibling()) throw TFailed();
  return root;
}

// A track's children as they come: the i-th coordinate takes the i-th time, whichever of the
// two comes first in the document (most writers put all the times before all the coordinates).
class TKmlFile::TTrackReader {
 public:
  explicit TTrackReader(TKmlFile& file) : FFile(file) {}

  void Read(const pugi::xml_node& child) {
    if (IsNamed(child, "when")) {
      const TDateTime time = FFile.KmlTime(child.child_value());
      if (FPending.empty()) {
        FTimes.push_back(time);
      } else {
        Add(FPending.front(), time);
        FPending.pop_front();
      }
    } else if (IsNamed(child, "gx:coord")) {
      const TParts parts = SplitAt(child.child_value(), ' ');
      if (FNextTime < FTimes.size()) {
        Add(parts, FTimes[FNextTime++]);
        if (FNextTime == FTimes.size()) {
          FTimes.clear();
          FNextTime = 0;
        }
      } else {
        FPending.emplace_back(parts);
      }
    }
  }

  // The coordinates without a time of their own.
  void Finish() {
    for (const TPendingCoordinate& pending : FPending) Add(pending, 0);
    FPending.clear();
  }

 private:
  // A coordinate waiting for its time, its parts kept beyond the tree they were read from.
  struct TPendingCoordinate {
    explicit TPendingCoordinate(const TParts& parts)
        : HasPosition(parts.HasPosition()), Longitude(parts.Part[0]), Latitude(parts.Part[1]) {
      if (parts.Third()) Altitude = std::string(*parts.Third());
    }
    bool HasPosition;
    std::string Longitude;
    std::string Latitude;
    std::optional<std::string> Altitude;
  };

  void Add(const TParts& parts, TDateTime time) {
    if (!parts.HasPosition() || FFile.OutsideWindow(time)) return;
    FFile.AddPoint(time, parts.Part[0], parts.Part[1], parts.Third());
  }
  void Add(const TPendingCoordinate& pending, TDateTime time) {
    if (!pending.HasPosition || FFile.OutsideWindow(time)) return;
    FFile.AddPoint(time, pending.Longitude, pending.Latitude,
                   pending.Altitude ? std::optional<std::string_view>(*pending.Altitude) : std::nullopt);
  }

  TKmlFile& FFile;
  std::vector<TDateTime> FTimes;
  std::size_t FNextTime = 0;
  std::deque<TPendingCoordinate> FPending;
};

void TKmlFile::ReadTrack() {
  BeginReading();
  {
    TFileDocumentSource source(FileName());
    if (source.Open() && ReadInPieces(source)) return;
  }
  TByteBuffer text = ReadFileBytes(FileName());
  ReadDocument(text, nullptr);
}

void TKmlFile::ReadFromMemory(std::string_view data) {
  BeginReading();
  TMemoryDocumentSource source(data);
  if (ReadInPieces(source)) return;
  TByteBuffer text(data);
  ReadDocument(text, &data);
}

void TKmlFile::ReadDocument(TByteBuffer& text, const std::string_view* pristine) {
  BeginReading();
  FPiecesRead = 0;
  // A timed track point takes some 40 bytes of the file at the least; room for that many is only
  // address space until the points fill it.
  GpsList.Reserve(text.Size() / 40);
  pugi::xml_document document;
  ParseXmlInPlace(document, text, FileName(), pristine);
  ReadPlacemarks(document.document_element());
}

bool TKmlFile::ReadInPieces(TDocumentSource& source) {
  FPiecesRead = 0;
  if (FPieceBytes == 0 || source.Size() / 3 < FPieceBytes) return false;
  TPieces pieces(source, FPieceBytes);
  if (!pieces.Prepare()) return false;
  GpsList.Reserve(source.Size() / 40);
  struct TReset {
    TKmlFile& File;
    ~TReset() { File.FPieces = nullptr; }
  } reset{*this};
  FPieces = &pieces;
  try {
    ReadPlacemarks(pieces.Skeleton().document_element());
    // A track the reading passes by still has its pieces checked: the whole document would not
    // parse if one of them did not.
    while (!pieces.Done()) pieces.Next();
  } catch (const TPieces::TFailed&) {
    ClearPoints();
    return false;
  }
  FPiecesRead = pieces.Count();
  return true;
}

void TKmlFile::ReadPlacemarks(const pugi::xml_node& root) {
  // Placemarks are found in any nesting of documents and folders, also straight under the root.
  WalkNested(
      root.first_child(),
      [](const pugi::xml_node& node) { return IsNamed(node, "Document") || IsNamed(node, "Folder"); },
      [this](const pugi::xml_node& node) {
        if (IsNamed(node, "Placemark")) ReadPlacemark(node);
      });
}

void TKmlFile::ReadPlacemark(const pugi::xml_node& placemark) {
  if (const pugi::xml_node track = FirstTrack(placemark)) ReadTrackElement(track);
  if (const pugi::xml_node multiTrack = placemark.child("gx:MultiTrack")) {
    for (const pugi::xml_node child : multiTrack.children()) {
      if (IsTrack(child)) ReadTrackElement(child);
    }
  }

  const pugi::xml_node timeStamp = placemark.child("TimeStamp");
  const pugi::xml_node point = placemark.child("Point");
  if (timeStamp && point) {
    const TDateTime time = KmlTime(timeStamp.child("when").child_value());
    if (OutsideWindow(time)) return;
    std::string storage;
    const TParts parts = SplitAt(WholeText(point.child("coordinates"), storage), ',');
    if (parts.HasPosition()) AddPoint(time, parts.Part[0], parts.Part[1], parts.Third());
  }

  if (const pugi::xml_node lineString = placemark.child("LineString")) ReadLineString(lineString);
  // Every line of a multi-geometry, in order, also those of one inside it.
  if (const pugi::xml_node multiGeometry = placemark.child("MultiGeometry")) {
    WalkNested(
        multiGeometry.first_child(), [](const pugi::xml_node& node) { return IsNamed(node, "MultiGeometry"); },
        [this](const pugi::xml_node& node) {
          if (IsNamed(node, "LineString")) ReadLineString(node);
        });
  }
}

void TKmlFile::ReadLineString(const pugi::xml_node& lineString) {
  std::string storage;
  ReadCoordinateString(WholeText(lineString.child("coordinates"), storage));
}

void TKmlFile::ReadTrackElement(const pugi::xml_node& track) {
  TTrackReader reader(*this);
  for (pugi::xml_node child = track.first_child(); child; child = child.next_sibling()) {
    if (FPieces != nullptr && FPieces->IsMarker(child)) {
      // In the marker's place, the children the pieces hold.
      while (!FPieces->Done()) {
        const pugi::xml_node piece = FPieces->Next();
        for (pugi::xml_node inner = piece.first_child(); inner; inner = inner.next_sibling()) reader.Read(inner);
      }
      continue;
    }
    reader.Read(child);
  }
  reader.Finish();
}

// Tuples "longitude,latitude[,altitude]" separated by white space of any kind, the last one
// needing nothing after it. Blanks beside a comma on the same line are taken as part of the
// tuple ("139.7, 35.6"), as hand-written files have them; a line end always ends a tuple.
void TKmlFile::ReadCoordinateString(std::string_view text) {
  const std::size_t size = text.size();
  std::size_t i = 0;
  for (;;) {
    while (i < size && IsXmlBlank(text[i])) ++i;
    if (i == size) return;
    const std::size_t start = i;
    for (;;) {
      while (i < size && !IsXmlBlank(text[i])) ++i;
      std::size_t next = i;
      bool lineEnd = false;
      for (; next < size && IsXmlBlank(text[next]); ++next) {
        if (text[next] == '\n') lineEnd = true;
      }
      const bool besideComma = text[i - 1] == ',' || (next < size && text[next] == ',');
      if (next == size || lineEnd || !besideComma) break;
      i = next;
    }
    const TParts parts = SplitAt(text.substr(start, i - start), ',');
    if (parts.HasPosition()) AddPoint(0, parts.Part[0], parts.Part[1], parts.Third());
  }
}

void TKmlFile::AddPoint(TDateTime time, std::string_view longitude, std::string_view latitude,
                        std::optional<std::string_view> altitude) {
  Extended latitudeValue = 0, longitudeValue = 0, altitudeValue = 0;
  if (!TryParseGpsNumber(latitude, latitudeValue) || !TryParseGpsNumber(longitude, longitudeValue)) return;
  if (altitude && !TryParseGpsNumber(*altitude, altitudeValue)) return;
  GpsList.Add(time, latitudeValue, longitudeValue, altitudeValue);
}

}  // namespace hakuvo
