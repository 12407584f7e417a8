#include "core/gps/nmea_file.h"

#include <array>
#include <cmath>
#include <string>

#include "core/common/hakuvo_error.h"
#include "core/gps/gps_reader_util.h"

namespace hakuvo {

namespace {

enum TSentenceKind { skOther, skRmc, skGga };

bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "$" and a two-letter talker ("GP", "GN", "GL", "BD", ...), then the sentence. A talker that
// starts with "P" is a maker's own sentence ("$PGRMC" is not a position), never a talker.
TSentenceKind KindOf(std::string_view line) {
  if (line.size() < 6 || line[0] != '$' || !IsUpperLetter(line[1]) || !IsUpperLetter(line[2]) || line[1] == 'P') {
    return skOther;
  }
  const std::string_view code = line.substr(3, 3);
  if (code == "RMC") return skRmc;
  if (code == "GGA") return skGga;
  return skOther;
}

// The fields of a sentence, the checksum removed. Only the first fields are kept: none we read
// lies beyond them, and a line with thousands of commas costs no more than a short one.
struct TSentence {
  static constexpr std::size_t MaxFields = 16;
  std::array<std::string_view, MaxFields> Fields{};
  std::size_t Count = 0;

  std::string_view Field(std::size_t index) const { return index < Count ? Fields[index] : std::string_view(); }
};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Splits the sentence that starts at text[start] (its "$") and returns where its line ends. The
// checksum is tested in the same pass over the characters, since logs run to millions of lines.
// `valid` is false when the sentence carries a checksum ("*" and two hexadecimal digits at the
// end of the line) that does not match its characters, or a "*" not followed by one: such a
// sentence was damaged on its way and its fields cannot be trusted.
std::size_t ReadSentence(std::string_view text, std::size_t start, TSentence& sentence, bool& valid) {
  const char* const data = text.data();
  const std::size_t size = text.size();
  unsigned sum = 0;
  std::size_t fieldStart = start;
  std::size_t i = start + 1;
  sentence.Count = 0;
  for (; i < size; ++i) {
    const char c = data[i];
    if (c == ',') {
      if (sentence.Count < TSentence::MaxFields) {
        sentence.Fields[sentence.Count++] = text.substr(fieldStart, i - fieldStart);
      }
      fieldStart = i + 1;
    } else if (c == '*' || IsLineEnd(c)) {
      break;
    }
    sum ^= static_cast<unsigned char>(c);
  }
  std::size_t fieldEnd = i;
  if (i < size && data[i] == '*') {
    const std::size_t star = i;
    while (i < size && !IsLineEnd(data[i])) ++i;
    std::size_t tail = i;
    while (tail > star && IsBlank(data[tail - 1])) --tail;
    const int high = tail == star + 3 ? HexValue(data[star + 1]) : -1;
    const int low = tail == star + 3 ? HexValue(data[star + 2]) : -1;
    valid = high >= 0 && low >= 0 && sum == static_cast<unsigned>(high * 16 + low);
  } else {
    valid = true;
    while (fieldEnd > fieldStart && IsBlank(data[fieldEnd - 1])) --fieldEnd;
  }
  if (sentence.Count < TSentence::MaxFields) {
    sentence.Fields[sentence.Count++] = text.substr(fieldStart, fieldEnd - fieldStart);
  }
  return i;
}

// Where the line that starts at `start` ends (a CR, an LF or the end of the text).
std::size_t LineEnd(std::string_view text, std::size_t start) {
  while (start < text.size() && !IsLineEnd(text[start])) ++start;
  return start;
}

// Calls visit(kind, sentence, lineNumber) for every RMC and GGA sentence whose checksum holds;
// CR LF, LF and CR all end a line.
template <typename Visit>
void ForEachSentence(std::string_view text, Visit&& visit) {
  TSentence sentence;
  std::size_t pos = 0;
  int number = 0;
  while (pos < text.size()) {
    ++number;
    const TSentenceKind kind = KindOf(text.substr(pos, 6));
    std::size_t end = 0;
    if (kind == skOther) {
      end = LineEnd(text, pos);
    } else {
      bool valid = false;
      end = ReadSentence(text, pos, sentence, valid);
      if (valid) visit(kind, sentence, number);
    }
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    pos = end + 1;
  }
}

// The first six characters of a field as three two-digit numbers (ddmmyy or hhmmss).
bool SixDigits(std::string_view field, int& a, int& b, int& c) {
  if (field.size() < 6) return false;
  for (std::size_t i = 0; i < 6; ++i) {
    if (!IsDigit(field[i])) return false;
  }
  a = (field[0] - '0') * 10 + (field[1] - '0');
  b = (field[2] - '0') * 10 + (field[3] - '0');
  c = (field[4] - '0') * 10 + (field[5] - '0');
  return true;
}

// UTC time of an RMC sentence; 0 when its date or time cannot be read. The two-digit year always
// lies in 2000-2099.
TDateTime RmcUtcTime(const TSentence& sentence) {
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  TDateTime date = 0, time = 0;
  if (!SixDigits(sentence.Field(9), day, month, year) || !TryEncodeDate(2000 + year, month, day, date)) return 0;
  if (!SixDigits(sentence.Field(1), hour, minute, second) || !TryEncodeTime(hour, minute, second, 0, time)) return 0;
  return date + time;
}

// (d)ddmm.mmmm to decimal degrees, negative in the southern or western hemisphere.
bool TryParseCoordinate(std::string_view field, std::string_view hemisphere, char negativeSide, Extended& value) {
  Extended raw = 0;
  if (!TryParseGpsNumber(field, raw)) return false;
  const Extended x = raw / 100;
  const Extended degrees = std::trunc(x);
  value = degrees + (x - degrees) * 100 / 60;
  if (hemisphere.size() == 1 && (hemisphere[0] == negativeSide || hemisphere[0] == negativeSide + ('a' - 'A'))) {
    value = -value;
  }
  return true;
}

// Text of the file: a UTF-16 log (it has a byte-order mark) is narrowed to the ASCII a sentence
// is made of; a UTF-8 mark is dropped; anything else is read byte for byte.
std::string_view DecodeLog(std::string_view data, std::string& storage) {
  if (data.size() >= 3 && data.substr(0, 3) == "\xEF\xBB\xBF") return data.substr(3);
  if (data.size() >= 2 && (data.substr(0, 2) == "\xFF\xFE" || data.substr(0, 2) == "\xFE\xFF")) {
    const bool little = data[0] == '\xFF';
    storage.clear();
    storage.reserve(data.size() / 2);
    for (std::size_t i = 2; i + 1 < data.size(); i += 2) {
      const unsigned unit = little ? static_cast<unsigned char>(data[i]) | static_cast<unsigned char>(data[i + 1]) << 8
                                   : static_cast<unsigned char>(data[i + 1]) | static_cast<unsigned char>(data[i]) << 8;
      storage.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return storage;
  }
  return data;
}

std::string Printable(std::string_view text) {
  std::string result;
  for (char c : text.substr(0, 40)) result.push_back(c >= 0x20 && c < 0x7F ? c : '?');
  return result;
}

}  // namespace

void TNmeaFile::ReadTrack() { ReadFromMemory(ReadFileBytes(FileName())); }

void TNmeaFile::ReadFromMemory(std::string_view data) {
  BeginReading();
  std::string storage;
  const std::string_view text = DecodeLog(data, storage);

  Extended altitude = 0;
  bool ggaSeen = false, rmcSeen = false;
  ForEachSentence(text, [&](TSentenceKind kind, const TSentence& sentence, int) {
    if (kind == skGga) {
      if (sentence.Field(9) != "0") {
        Extended value = 0;
        if (TryParseGpsNumber(sentence.Field(9), value)) {
          altitude = value;
          ggaSeen = true;
        } else {
          altitude = 0;
        }
      }
      return;
    }
    if (sentence.Field(2) != "A") return;
    // A log that has position sentences is not a GGA-only log, even when the window leaves none
    // of them in: the untimed GGA reading below must not fill a window that was meant to be empty.
    rmcSeen = true;
    TDateTime time = RmcUtcTime(sentence);
    if (time != 0) time = LocalFromUtc(time);
    if (OutsideWindow(time)) return;
    Extended latitude = 0, longitude = 0;
    if (TryParseCoordinate(sentence.Field(3), sentence.Field(4), 'S', latitude) &&
        TryParseCoordinate(sentence.Field(5), sentence.Field(6), 'W', longitude)) {
      auto point = std::make_unique<TGpsData>();
      point->SetRecordTime(time);
      point->SetLatitude(latitude);
      point->SetLongitude(longitude);
      point->SetAltitude(altitude);
      GpsList.Add(std::move(point));
    }
    altitude = 0;
  });
  if (rmcSeen || !ggaSeen) return;

  // A log of GGA sentences only: positions without a date, in file order, all of them.
  ForEachSentence(text, [&](TSentenceKind kind, const TSentence& sentence, int number) {
    if (kind != skGga) return;
    Extended latitude = 0, longitude = 0, height = 0;
    const auto fail = [&](std::string_view field) {
      throw EHakuvoError(FilePrefix(FileName()) + std::to_string(number) + "行目: 「" + Printable(field) +
                         "」は数値ではありません");
    };
    if (!TryParseCoordinate(sentence.Field(2), sentence.Field(3), 'S', latitude)) fail(sentence.Field(2));
    if (!TryParseCoordinate(sentence.Field(4), sentence.Field(5), 'W', longitude)) fail(sentence.Field(4));
    if (!TryParseGpsNumber(sentence.Field(9), height)) fail(sentence.Field(9));
    auto point = std::make_unique<TGpsData>();
    point->SetLatitude(latitude);
    point->SetLongitude(longitude);
    point->SetAltitude(height);
    GpsList.Add(std::move(point));
  });
}

}  // namespace hakuvo
