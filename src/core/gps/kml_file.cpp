#include "core/gps/kml_file.h"

#include <string>
#include <string_view>
#include <vector>

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

// `node` or the first of its following siblings with that name.
template <std::size_t N>
pugi::xml_node NextNamed(pugi::xml_node node, const char (&name)[N]) {
  while (node && !IsNamed(node, name)) node = node.next_sibling();
  return node;
}

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
  TDateTime written = 0;
  std::string_view rest;
  if (!TryParseIsoDateTime(text, written, rest)) return 0;
  // A fraction of a second is dropped; then one character ("Z") means UTC and six an offset
  // ("+09:00") to take off. A time without a zone is not one KML gives a meaning to here.
  rest = SkipFraction(rest);
  if (rest.size() == 6) {
    int minutesEast = 0;
    if (TryParseZoneOffset(rest, minutesEast)) written -= minutesEast / MinsPerDay;
  } else if (rest.size() != 1) {
    return 0;
  }
  return LocalFromUtc(written);
}

void TKmlFile::ReadTrack() {
  TByteBuffer text = ReadFileBytes(FileName());
  ReadDocument(text, nullptr);
}

void TKmlFile::ReadFromMemory(std::string_view data) {
  TByteBuffer text(data);
  ReadDocument(text, &data);
}

void TKmlFile::ReadDocument(TByteBuffer& text, const std::string_view* pristine) {
  BeginReading();
  // A timed track point takes some 40 bytes of the file at the least; room for that many is only
  // address space until the points fill it.
  GpsList.Reserve(text.Size() / 40);
  pugi::xml_document document;
  ParseXmlInPlace(document, text, FileName(), pristine);

  // Placemarks are found in any nesting of documents and folders, also straight under the root.
  WalkNested(
      document.document_element().first_child(),
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
  // The i-th coordinate takes the i-th time: one walk over the children finds the coordinates,
  // a second one, a step behind, their times.
  pugi::xml_node when = NextNamed(track.first_child(), "when");
  for (pugi::xml_node child = track.first_child(); child; child = child.next_sibling()) {
    if (!IsNamed(child, "gx:coord")) continue;
    const pugi::xml_node timeNode = when;
    if (when) when = NextNamed(when.next_sibling(), "when");
    const TParts parts = SplitAt(child.child_value(), ' ');
    if (!parts.HasPosition()) continue;
    const TDateTime time = timeNode ? KmlTime(timeNode.child_value()) : 0;
    if (OutsideWindow(time)) continue;
    AddPoint(time, parts.Part[0], parts.Part[1], parts.Third());
  }
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
