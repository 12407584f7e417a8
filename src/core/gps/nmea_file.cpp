#include "core/gps/nmea_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"
#include "core/common/quoted_value.h"
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

// Eight bytes of a sentence at a time: logs run to millions of lines, and a byte-by-byte walk
// tests every character three times. A word's bytes equal to `c` get their top bit set, exactly
// (no borrow from one byte into the next, so every comma of a word is found, not only its first).
constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
constexpr std::uint64_t kSevenBits = 0x7F7F7F7F7F7F7F7Full;

std::uint64_t BytesEqual(std::uint64_t word, char c) {
  const std::uint64_t x = word ^ (kLowBits * static_cast<unsigned char>(c));
  return ~(((x & kSevenBits) + kSevenBits) | x | kSevenBits);
}

unsigned FoldXor(std::uint64_t word) {
  word ^= word >> 32;
  word ^= word >> 16;
  word ^= word >> 8;
  return static_cast<unsigned>(word & 0xFF);
}

// Splits the sentence that starts at text[start] (its "$") and returns where its line ends. The
// checksum is taken in the same pass as the commas are found.
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
  const auto comma = [&](std::size_t at) {
    if (sentence.Count < TSentence::MaxFields) {
      sentence.Fields[sentence.Count++] = text.substr(fieldStart, at - fieldStart);
    }
    fieldStart = at + 1;
  };
  if constexpr (std::endian::native == std::endian::little) {
    std::uint64_t sums = 0;
    for (; i + 8 <= size; i += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, data + i, 8);
      const std::uint64_t ends = BytesEqual(word, '*') | BytesEqual(word, '\n') | BytesEqual(word, '\r');
      std::uint64_t commas = BytesEqual(word, ',');
      if (ends != 0) {
        // Only the bytes before the first end belong to the sentence.
        const std::uint64_t before = (ends & (~ends + 1)) - 1;
        for (commas &= before; commas != 0; commas &= commas - 1) comma(i + std::countr_zero(commas) / 8);
        sums ^= word & (before >> 7);
        i += static_cast<std::size_t>(std::countr_zero(ends)) / 8;
        break;
      }
      for (; commas != 0; commas &= commas - 1) comma(i + std::countr_zero(commas) / 8);
      sums ^= word;
    }
    sum = FoldXor(sums);
  }
  for (; i < size; ++i) {
    const char c = data[i];
    if (c == ',') {
      comma(i);
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
// CR LF, LF and CR all end a line. `text` is a whole log or a piece of one that ends with a line
// end (LastLineEnd); `lines` counts on from piece to piece.
template <typename Visit>
void ForEachSentence(std::string_view text, int& lines, Visit&& visit) {
  TSentence sentence;
  std::size_t pos = 0;
  while (pos < text.size()) {
    ++lines;
    const TSentenceKind kind = KindOf(text.substr(pos, 6));
    std::size_t end = 0;
    if (kind == skOther) {
      end = LineEnd(text, pos);
    } else {
      bool valid = false;
      end = ReadSentence(text, pos, sentence, valid);
      if (valid) visit(kind, sentence, lines);
    }
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    pos = end + 1;
  }
}

// Where the last whole line of a piece of a log ends (just after its line end), 0 when the piece
// holds none. A CR at the very end does not count: its LF may be the first byte of what follows.
std::size_t LastLineEnd(std::string_view piece) {
  std::size_t limit = piece.size();
  if (limit > 0 && piece[limit - 1] == '\r') --limit;
  while (limit > 0 && !IsLineEnd(piece[limit - 1])) --limit;
  return limit;
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

// Fields an RMC and a GGA sentence must have for us: through the date of RMC (field 9), through
// the altitude of GGA (field 9). A receiver cut off in the middle of a line leaves a sentence
// without them, and its last field half written.
constexpr std::size_t kRmcFields = 10;
constexpr std::size_t kGgaFields = 10;

// Whether the four fields from `first` on are a position: latitude, "N" or "S", longitude, "E" or
// "W". A receiver without a fix leaves them empty; a hemisphere of anything else is a sentence
// cut short (its longitude half written) or damaged.
bool HasPosition(const TSentence& sentence, std::size_t first) {
  const std::string_view north = sentence.Field(first + 1), east = sentence.Field(first + 3);
  return !sentence.Field(first).empty() && !sentence.Field(first + 2).empty() && (north == "N" || north == "S") &&
         (east == "E" || east == "W");
}

// An RMC sentence with a fix (status "A") and all we read of it.
bool IsRmcFix(const TSentence& sentence) {
  return sentence.Count >= kRmcFields && sentence.Field(2) == "A" && HasPosition(sentence, 3);
}

// A GGA sentence with a fix (quality not 0) and all we read of it.
bool IsGgaFix(const TSentence& sentence) {
  return sentence.Count >= kGgaFields && sentence.Field(6) != "0" && HasPosition(sentence, 2);
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsUtf16Log(std::string_view data) {
  return data.size() >= 2 && (data.substr(0, 2) == "\xFF\xFE" || data.substr(0, 2) == "\xFE\xFF");
}

// Text of the file: a UTF-16 log (it has a byte-order mark) is narrowed to the ASCII a sentence
// is made of; a UTF-8 mark is dropped; anything else is read byte for byte.
std::string_view DecodeLog(std::string_view data, std::string& storage) {
  if (data.starts_with(kUtf8Mark)) return data.substr(kUtf8Mark.size());
  if (IsUtf16Log(data)) {
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

}  // namespace

// What a reading keeps from line to line.
struct TNmeaFile::TReading {
  Extended Altitude = 0;  // of the last GGA sentence, for the next RMC sentence
  bool GgaSeen = false;
  bool RmcSeen = false;
  int Lines = 0;
  // Until a position sentence shows that the log has them, its GGA sentences are also read as
  // the untimed points of a log of GGA sentences only, up to the first that is no position.
  std::vector<TGpsData> GgaPoints;
  std::string GgaError;
  std::string GgaErrorEnglish;
};

void TNmeaFile::ReadTrack() {
  BeginReading();
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenInputStream(FileName()), &std::fclose);
  const auto fail = [this]() {
    throw EHakuvoError(FilePrefix(FileName()) + "ファイルを開けません",
                       FilePrefix(FileName()) + "cannot open the file");
  };
  if (!file) fail();
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    if (size > 0) GpsList.Reserve(static_cast<std::size_t>(size) / kMinBytesPerPoint);
    std::rewind(file.get());
  }

  // The log goes through a buffer of a megabyte, whole lines at a time, instead of into memory
  // whole: a log of a hundred megabytes is then read at the speed of the disk cache. A line
  // longer than the buffer makes it grow.
  TReading reading;
  std::size_t capacity = std::size_t{1} << 20;
  auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
  std::size_t filled = 0, start = 0;
  bool beginning = true, atEnd = false;
  while (!atEnd) {
    if (filled == capacity) {
      auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
      std::memcpy(larger.get(), buffer.get(), filled);
      buffer = std::move(larger);
      capacity *= 2;
    }
    const std::size_t got = std::fread(buffer.get() + filled, 1, capacity - filled, file.get());
    if (got == 0) {
      if (std::ferror(file.get())) fail();
      atEnd = true;
    }
    filled += got;
    const std::string_view piece(buffer.get(), filled);
    if (beginning) {
      if (filled < 3 && !atEnd) continue;
      beginning = false;
      if (IsUtf16Log(piece)) {
        // Rare enough to be read whole and narrowed.
        std::string bytes(piece);
        for (std::size_t more; (more = std::fread(buffer.get(), 1, capacity, file.get())) > 0;)
          bytes.append(buffer.get(), more);
        if (std::ferror(file.get())) fail();
        std::string narrowed;
        ReadLines(DecodeLog(bytes, narrowed), reading);
        FinishReading(reading);
        return;
      }
      start = piece.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
    }
    const std::size_t cut = atEnd ? filled : std::max(start, LastLineEnd(piece));
    ReadLines(piece.substr(start, cut - start), reading);
    std::memmove(buffer.get(), buffer.get() + cut, filled - cut);
    filled -= cut;
    start = 0;
  }
  FinishReading(reading);
}

void TNmeaFile::ReadFromMemory(std::string_view data) {
  BeginReading();
  GpsList.Reserve(data.size() / kMinBytesPerPoint);
  std::string storage;
  TReading reading;
  ReadLines(DecodeLog(data, storage), reading);
  FinishReading(reading);
}

void TNmeaFile::ReadLines(std::string_view text, TReading& reading) {
  ForEachSentence(text, reading.Lines, [&](TSentenceKind kind, const TSentence& sentence, int line) {
    // A sentence without a fix, or cut short, says nothing: not even that the log has sentences
    // of its kind.
    if (kind == skGga) {
      if (!IsGgaFix(sentence)) return;
      if (sentence.Field(9) != "0") {
        Extended value = 0;
        if (TryParseGpsNumber(sentence.Field(9), value)) {
          reading.Altitude = value;
          reading.GgaSeen = true;
        } else {
          reading.Altitude = 0;
        }
      }
      if (!reading.RmcSeen && reading.GgaError.empty()) {
        // The sentence as a point of a log of GGA sentences only: a position without a date.
        // The first field that is not a number ends that reading with an error naming the line.
        Extended latitude = 0, longitude = 0, height = 0;
        std::optional<std::string_view> failed;
        if (!TryParseCoordinate(sentence.Field(2), sentence.Field(3), 'S', latitude)) {
          failed = sentence.Field(2);
        } else if (!TryParseCoordinate(sentence.Field(4), sentence.Field(5), 'W', longitude)) {
          failed = sentence.Field(4);
        } else if (!TryParseGpsNumber(sentence.Field(9), height)) {
          failed = sentence.Field(9);
        }
        if (failed) {
          reading.GgaError =
              FilePrefix(FileName()) + std::to_string(line) + "行目: " + QuoteValue(*failed) + " は数値ではありません";
          reading.GgaErrorEnglish =
              FilePrefix(FileName()) + "line " + std::to_string(line) + ": " + QuoteValue(*failed) + " is not a number";
        } else {
          reading.GgaPoints.emplace_back(0, latitude, longitude, height);
        }
      }
      return;
    }
    if (!IsRmcFix(sentence)) return;
    // A log that has position sentences is not a GGA-only log, even when the window leaves none
    // of them in: the untimed GGA reading must not fill a window that was meant to be empty.
    if (!reading.RmcSeen) {
      reading.RmcSeen = true;
      reading.GgaPoints = std::vector<TGpsData>();
    }
    TDateTime time = RmcUtcTime(sentence);
    if (time != 0) time = LocalFromUtc(time);
    if (OutsideWindow(time)) return;
    Extended latitude = 0, longitude = 0;
    if (TryParseCoordinate(sentence.Field(3), sentence.Field(4), 'S', latitude) &&
        TryParseCoordinate(sentence.Field(5), sentence.Field(6), 'W', longitude)) {
      GpsList.Add(time, latitude, longitude, reading.Altitude);
    }
    reading.Altitude = 0;
  });
}

void TNmeaFile::FinishReading(TReading& reading) {
  if (reading.RmcSeen || !reading.GgaSeen) return;
  // A log of GGA sentences only: positions without a date, in file order, the window not applied.
  for (const TGpsData& point : reading.GgaPoints) GpsList.Add(point);
  if (!reading.GgaError.empty()) throw EHakuvoError(reading.GgaError, reading.GgaErrorEnglish);
}

}  // namespace hakuvo
