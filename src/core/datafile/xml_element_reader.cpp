#include "core/datafile/xml_element_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/common/quoted_value.h"

namespace hakuvo {

namespace {

// Line of a byte offset; 0 when the bytes cannot be had.
long long LineOf(std::string_view bytes, std::ptrdiff_t offset) {
  if (offset < 0 || static_cast<std::size_t>(offset) > bytes.size()) return 0;
  return 1 + std::count(bytes.begin(), bytes.begin() + offset, '\n');
}

// The first `size` bytes, or fewer when the file cannot be read again (it only adds a line).
std::string ReadHead(const std::string& fileName, std::ptrdiff_t size) {
  std::string bytes;
  try {
    TInputFile file;
    int error = 0;
    if (!file.Open(fileName, error)) return bytes;
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(size), file.Size())));
    const std::ptrdiff_t got = file.ReadAt(0, bytes.data(), bytes.size());
    bytes.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  } catch (const EHakuvoError&) {
    bytes.clear();
  }
  return bytes;
}

}  // namespace

void TXmlSource::Fail(const std::string& problem, const std::string& english, std::ptrdiff_t offset) const {
  std::string message = "データファイル \"" + FFileName + "\" を読み込めませんでした: " + problem;
  std::string englishMessage = "could not read the diary \"" + FFileName + "\": " + english;
  if (offset >= 0) {
    long long line = 0;
    if (!FOriginal.empty()) {
      line = LineOf(FOriginal, offset);
    } else if (!FFileName.empty()) {
      const std::string head = ReadHead(FFileName, offset);
      if (head.size() == static_cast<std::size_t>(offset)) line = LineOf(head, offset);
    }
    message += " (";
    englishMessage += " (";
    if (line > 0) {
      message += std::to_string(line) + " 行目, ";
      englishMessage += "line " + std::to_string(line) + ", ";
    }
    message += "先頭から " + std::to_string(offset) + " バイト目)";
    englishMessage += "byte " + std::to_string(offset) + " from the start)";
  }
  throw EHakuvoError(message, englishMessage);
}

void TXmlSource::RemoveRead(pugi::xml_node node) {
  pugi::xml_node parent = node.parent();
  const std::string_view name = node.name();
  auto removed = std::find_if(FRemoved.begin(), FRemoved.end(),
                              [&](const TRemoved& r) { return r.Parent == parent && r.Name == name; });
  if (removed == FRemoved.end()) removed = FRemoved.insert(FRemoved.end(), {parent, name, 0});
  ++removed->Count;
  parent.remove_child(node);
}

void TXmlSource::FailAt(pugi::xml_node node, const std::string& problem, const std::string& english) const {
  Fail("要素 \"" + ElementPath(node) + "\" " + problem, "element \"" + ElementPath(node) + "\" " + english,
       node.offset_debug());
}

std::string TXmlSource::ElementPath(pugi::xml_node node) const {
  std::vector<std::string> parts;
  for (; node && node.parent() && node.parent().type() != pugi::node_document; node = node.parent()) {
    // A name of any length can stand in a damaged file; the message keeps to a line.
    std::string part = std::strlen(node.name()) > kQuotedValueCharacters ? QuoteValue(node.name()) : node.name();
    int index = 1;
    bool shared = false;
    for (pugi::xml_node sibling = node.previous_sibling(node.name()); sibling;
         sibling = sibling.previous_sibling(node.name())) {
      ++index;
      shared = true;
    }
    for (const TRemoved& removed : FRemoved) {
      if (removed.Parent == node.parent() && removed.Name == node.name()) {
        index += static_cast<int>(removed.Count);
        shared = true;
      }
    }
    if (shared || node.next_sibling(node.name())) {
      part += '[';
      part += std::to_string(index);
      part += ']';
    }
    parts.push_back(std::move(part));
  }
  if (parts.empty() && node) return QuoteValue(node.name());
  std::string path;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    if (!path.empty()) path += '/';
    path += *it;
  }
  return path;
}

std::size_t AttributeCount(pugi::xml_node node) {
  std::size_t count = 0;
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) ++count;
  return count;
}

TStringList LinesOf(const char* text) {
  TStringList lines;
  if (*text == '\0') return lines;  // most memos
  for (const char* start = text;;) {
    const char* end = start + std::strcspn(start, "\r\n");
    if (*end == '\0') {
      if (end != start) lines.emplace_back(start, end);
      return lines;
    }
    if (lines.empty()) lines.reserve(2);  // a memo with a break has mostly two lines
    lines.emplace_back(start, end);
    start = end + (end[0] == '\r' && end[1] == '\n' ? 2 : 1);
  }
}

const char* TElementReader::Find(const char* name) {
  // Every call into pugixml goes through the PLT, a good part of a load: the end of the list is
  // told by the name alone (an empty attribute has the empty name, which no parsed one has), and
  // pugixml's own search from a hint first walks the element's attributes to check the hint
  // where the library is built with its checks.
  for (pugi::xml_attribute a = FHint;; a = a.next_attribute()) {
    const char* const attributeName = a.name();
    if (*attributeName == '\0') break;
    if (SameName(attributeName, name)) {
      FHint = a.next_attribute();
      return a.value();
    }
  }
  // Not after the hint: out of the written order, or absent.
  for (pugi::xml_attribute a = FNode.first_attribute(); a != FHint; a = a.next_attribute()) {
    if (SameName(a.name(), name)) {
      FHint = a.next_attribute();
      return a.value();
    }
  }
  return nullptr;
}

const char* TElementReader::Required(const char* name) {
  const char* const text = Find(name);
  if (text == nullptr)
    Fail(std::string("に属性 \"") + name + "\" がありません", std::string("has no attribute \"") + name + "\"");
  return text;
}

bool TElementReader::TryInt(const char* name, int& value) {
  const char* const text = Find(name);
  if (text == nullptr) return false;
  value = IntOf(name, text);
  return true;
}

bool TElementReader::TryReal(const char* name, Extended& value) {
  const char* const text = Find(name);
  if (text == nullptr) return false;
  value = RealOf(name, text);
  return true;
}

bool TElementReader::TryText(const char* name, std::string& value) {
  const char* const text = Find(name);
  if (text == nullptr) return false;
  value = text;
  return true;
}

int TElementReader::IntOf(const char* name, const char* text) const {
  int value = 0;
  if (!TryParseInt(text, value)) {
    Fail(std::string("の属性 \"") + name + "\" の値 " + QuoteValue(text) + " は整数ではありません",
         std::string("attribute \"") + name + "\": " + QuoteValue(text) + " is not a whole number");
  }
  return value;
}

Extended TElementReader::RealOf(const char* name, const char* text) const {
  // The value of whatever was not entered (the coordinates of most places, say) needs no parse.
  if (text[0] == '0' && text[1] == '\0') return 0;
  Extended value = 0;
  if (!TryParseNumber(text, value)) {
    Fail(std::string("の属性 \"") + name + "\" の値 " + QuoteValue(text) + " は数値ではありません",
         std::string("attribute \"") + name + "\": " + QuoteValue(text) + " is not a number");
  }
  return value;
}

double TElementReader::DoubleOf(const char* name, const char* text) const {
  const Extended value = RealOf(name, text);
  // From here up the 15 digits the writer keeps round to more than the largest double.
  if (!(std::fabs(value) < 1.797693134862315E308L)) {
    Fail(std::string("の属性 \"") + name + "\" の値 " + QuoteValue(text) + " は大きすぎます",
         std::string("attribute \"") + name + "\": " + QuoteValue(text) + " is too large");
  }
  return static_cast<double>(value);
}

TDateTime TElementReader::DateTimeOf(const char* name, const char* text) const {
  const Extended value = RealOf(name, text);
  if (!IsDateTimeInRange(static_cast<TDateTime>(std::clamp<Extended>(value, -1e300L, 1e300L)))) {
    Fail(std::string("の属性 \"") + name + "\" の値 " + QuoteValue(text) +
             " は日付の範囲 (0001/01/01 から 9999/12/31 まで) の外です",
         std::string("attribute \"") + name + "\": " + QuoteValue(text) +
             " is outside the dates 0001/01/01 to 9999/12/31");
  }
  return static_cast<TDateTime>(value);
}

bool TElementReader::TryDateTime(const char* name, TDateTime& value) {
  const char* const text = Find(name);
  if (text == nullptr) return false;
  value = DateTimeOf(name, text);
  return true;
}

pugi::xml_node TElementReader::RequiredChild(const char* name) const {
  const pugi::xml_node child = FNode.child(name);
  if (!child) Fail(std::string("に子要素 \"") + name + "\" がありません", std::string("has no child \"") + name + "\"");
  return child;
}

std::string FormatInt(long long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

Extended StorableReal(Extended value) {
  // Near the smallest normal value the 15 digits read back as a subnormal one, which the number
  // parser refuses as out of range: nothing the diary measures is that small.
  if (std::isnan(value) || std::fabs(value) < 1E-4900L) return 0;
  return std::clamp(value, std::numeric_limits<Extended>::lowest(), std::numeric_limits<Extended>::max());
}

double StorableDouble(double value) {
  if (std::isnan(value)) return 0;
  return std::clamp(value, -kLargestStoredDouble, kLargestStoredDouble);
}

TDateTime StorableDateTime(TDateTime value) {
  if (std::isnan(value)) return 0;
  return IsDateTimeInRange(value) ? value : value < 0 ? FirstDaySerial : LastDaySerial;
}

std::string BytesToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

bool HexToBytes(std::string_view text, std::string& bytes) {
  if (text.size() % 2 != 0) return false;
  const auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string result;
  result.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = nibble(text[i]);
    const int low = nibble(text[i + 1]);
    if (high < 0 || low < 0) return false;
    result += static_cast<char>(high * 16 + low);
  }
  bytes = std::move(result);
  return true;
}

}  // namespace hakuvo
