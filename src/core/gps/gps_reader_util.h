#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "core/common/date_time.h"
#include "core/common/extended.h"

// Pieces the track readers share: reading a file whole, numbers, ISO times and XML parsing with
// errors that name the file and the line.
namespace hakuvo {

// "<file>\r\n" to put in front of a message, nothing for a reading from memory.
std::string FilePrefix(const std::string& fileName);

// Bytes to be parsed in place. The memory is not cleared before it is filled: for a track of a
// hundred megabytes that would be one pass over it for nothing.
class TByteBuffer {
 public:
  TByteBuffer() = default;
  explicit TByteBuffer(std::string_view bytes);

  char* Data() { return FData.get(); }
  std::size_t Size() const { return FSize; }
  std::string_view View() const { return {FData.get(), FSize}; }
  // Room for `capacity` bytes, keeping those there.
  void Reserve(std::size_t capacity);
  void Append(const char* bytes, std::size_t count);
  void Resize(std::size_t size) { FSize = size; }  // within the capacity
  std::size_t Capacity() const { return FCapacity; }

 private:
  std::unique_ptr<char[]> FData;
  std::size_t FSize = 0;
  std::size_t FCapacity = 0;
};

// The bytes of a file; EHakuvoError with `missingMessage` and `missingEnglish` (or "<file>
// ファイルを開けません") when it cannot be opened or read.
TByteBuffer ReadFileBytes(const std::string& fileName, const std::string& missingMessage = std::string(),
                          const std::string& missingEnglish = std::string());

// A decimal number as the track formats write it ("35.681236", "-86.84", "1e-3"), with blanks
// around it allowed; the same value, to the last bit, as TryParseNumber gives, only faster for the
// short plain decimals that make up nearly every track.
bool TryParseGpsNumber(std::string_view text, Extended& value);
// The same for a text that ends with a NUL (an XML value), which need not be measured first.
bool TryParseGpsNumber(const char* text, Extended& value);

// "yyyy-mm-ddThh:nn:ss" at the start of `text` (any character in place of the "T"): the written
// date and time, and what follows them in `rest`.
bool TryParseIsoDateTime(std::string_view text, TDateTime& value, std::string_view& rest);
// Drops a fraction of a second (".993") from the front of the rest of an ISO time.
std::string_view SkipFraction(std::string_view rest);
// A numeric zone offset "+09:00", "-0330" or "+09" as minutes east of UTC.
bool TryParseZoneOffset(std::string_view text, int& minutesEast);

// An XML value without the blanks XML allows around it.
std::string_view TrimXmlSpace(std::string_view text);
// An ISO 8601 time of the XML track formats as UTC: "Z", no suffix or anything unreadable after
// the seconds is UTC; a numeric offset says how far the written time is ahead of UTC.
bool TryParseIsoUtc(std::string_view text, TDateTime& utc);
// A point's optional height element: absent or empty is 0; one that is written but is not a
// number is false, marking the point as damaged.
bool TryReadOptionalHeight(const pugi::xml_node& element, Extended& height);

// 1-based line of a byte offset.
int LineOfOffset(std::string_view text, std::size_t offset);

// Whether an XML name (NUL-terminated) is `name`. Compared in line: a walk over the elements of a
// track asks it millions of times, and a call of strcmp costs more than the comparison.
template <std::size_t N>
bool IsXmlName(const char* text, const char (&name)[N]) {
  // Stops at the first difference, which the end of a shorter text is.
  for (std::size_t i = 0; i + 1 < N; ++i) {
    if (text[i] != name[i]) return false;
  }
  return text[N - 1] == '\0';
}

// How the track readers parse XML: pugixml's defaults, the text of an element kept in the element
// itself instead of a node of its own (the same child_value() for every reader, and a third fewer
// nodes to make for a track's points).
constexpr unsigned kXmlParseOptions = pugi::parse_default | pugi::parse_embed_pcdata;

// Parses `text` in place (it must outlive `document`). A malformed document raises EHakuvoError
// naming the file and the line; the line is counted in `*pristine` when given (the parse has
// changed `text`), else in the file itself.
void ParseXmlInPlace(pugi::xml_document& document, TByteBuffer& text, const std::string& fileName,
                     const std::string_view* pristine);

}  // namespace hakuvo
