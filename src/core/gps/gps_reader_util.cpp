#include "core/gps/gps_reader_util.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"

namespace hakuvo {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Powers of ten up to 10^27 are exact in a 64-bit significand (5^27 < 2^63), so one division by
// them rounds correctly.
constexpr Extended kPowersOfTen[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                     1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                     1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
constexpr int kMaxScale = 27;
constexpr int kMaxDigits = 18;  // every 18-digit integer fits in a signed 64-bit one

bool TwoDigits(std::string_view text, std::size_t at, int& value) {
  if (at + 2 > text.size() || !IsDigit(text[at]) || !IsDigit(text[at + 1])) return false;
  value = (text[at] - '0') * 10 + (text[at + 1] - '0');
  return true;
}

}  // namespace

std::string FilePrefix(const std::string& fileName) { return fileName.empty() ? std::string() : fileName + "\r\n"; }

TByteBuffer::TByteBuffer(std::string_view bytes) { Append(bytes.data(), bytes.size()); }

void TByteBuffer::Reserve(std::size_t capacity) {
  if (capacity <= FCapacity) return;
  auto larger = std::make_unique_for_overwrite<char[]>(capacity);
  if (FSize > 0) std::memcpy(larger.get(), FData.get(), FSize);
  FData = std::move(larger);
  FCapacity = capacity;
}

void TByteBuffer::Append(const char* bytes, std::size_t count) {
  if (count == 0) return;
  if (FSize + count > FCapacity) Reserve(std::max(FSize + count, FCapacity * 2));
  std::memcpy(FData.get() + FSize, bytes, count);
  FSize += count;
}

TByteBuffer ReadFileBytes(const std::string& fileName, const std::string& missingMessage,
                          const std::string& missingEnglish) {
  const auto fail = [&]() -> TByteBuffer {
    if (missingMessage.empty()) {
      throw EHakuvoError(FilePrefix(fileName) + "ファイルを開けません", FilePrefix(fileName) + "cannot open the file");
    }
    throw EHakuvoError(missingMessage, missingEnglish);
  };
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenInputStream(fileName), &std::fclose);
  if (!file) return fail();
  TByteBuffer bytes;
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    std::rewind(file.get());
    // One more byte than announced, so that the end of the file is seen without a second buffer.
    if (size > 0) bytes.Reserve(static_cast<std::size_t>(size) + 1);
  }
  // Whatever the length did not announce (a file still growing, a pipe) is read on.
  for (;;) {
    if (bytes.Size() == bytes.Capacity()) bytes.Reserve(std::max<std::size_t>(bytes.Capacity() * 2, 1 << 16));
    const std::size_t got = std::fread(bytes.Data() + bytes.Size(), 1, bytes.Capacity() - bytes.Size(), file.get());
    if (got == 0) break;
    bytes.Resize(bytes.Size() + got);
  }
  if (std::ferror(file.get())) return fail();
  return bytes;
}

namespace {

// A plain decimal "[-+]digits[.digits]" at p, as nearly every number of a track is written, moving
// p past it; `inside(q)` tells whether q still points into the text. False when there is none or
// it has more digits or decimals than one rounding can take: the general parser decides then.
template <typename Inside>
bool ReadPlainDecimal(const char*& p, Inside inside, Extended& value) {
  const bool negative = inside(p) && *p == '-';
  if (inside(p) && (*p == '-' || *p == '+')) ++p;
  // Digits go into a signed 64-bit integer (a single x87 load) with the count of those after
  // the point; leading zeros count for nothing.
  std::int64_t mantissa = 0;
  int digits = 0, scale = 0;
  const char* const firstDigit = p;
  while (inside(p) && *p == '0') ++p;
  for (; inside(p) && IsDigit(*p) && digits < kMaxDigits; ++p, ++digits) mantissa = mantissa * 10 + (*p - '0');
  bool anyDigit = p != firstDigit;
  if (inside(p) && *p == '.') {
    const char* const fraction = ++p;
    if (digits == 0) {
      while (inside(p) && *p == '0') ++p;
    }
    for (; inside(p) && IsDigit(*p) && digits < kMaxDigits; ++p, ++digits) mantissa = mantissa * 10 + (*p - '0');
    scale = static_cast<int>(p - fraction);
    anyDigit = anyDigit || p != fraction;
  }
  if (!anyDigit || scale > kMaxScale) return false;
  const Extended magnitude = static_cast<Extended>(mantissa) / kPowersOfTen[scale];
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

bool TryParseGpsNumber(std::string_view text, Extended& value) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && IsBlank(*p)) ++p;
  while (end > p && IsBlank(end[-1])) --end;
  const char* const begin = p;
  // Exponents, long digit strings and anything unusual go to the general parser, which decides.
  Extended plain = 0;
  if (ReadPlainDecimal(
          p, [end](const char* q) { return q < end; }, plain) &&
      p == end) {
    value = plain;
    return true;
  }
  return TryParseNumber(std::string_view(begin, static_cast<std::size_t>(end - begin)), value);
}

bool TryParseGpsNumber(const char* text, Extended& value) {
  const char* p = text;
  while (IsBlank(*p)) ++p;
  Extended plain = 0;
  if (ReadPlainDecimal(
          p, [](const char* q) { return *q != '\0'; }, plain)) {
    while (IsBlank(*p)) ++p;
    if (*p == '\0') {
      value = plain;
      return true;
    }
  }
  return TryParseNumber(text, value);
}

bool TryParseIsoDateTime(std::string_view text, TDateTime& value, std::string_view& rest) {
  if (text.size() < 19) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    if (!IsDigit(text[i])) return false;
  }
  const int year = (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
  int month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (text[4] != '-' || !TwoDigits(text, 5, month) || text[7] != '-' || !TwoDigits(text, 8, day)) return false;
  if (!TwoDigits(text, 11, hour) || text[13] != ':' || !TwoDigits(text, 14, minute) || text[16] != ':' ||
      !TwoDigits(text, 17, second)) {
    return false;
  }
  // The points of a track share their date: the last one read is remembered with its text.
  struct TDateCache {
    char Text[10] = {};
    TDateTime Date = 0;
  };
  thread_local TDateCache cache;
  TDateTime date = 0, time = 0;
  if (std::memcmp(text.data(), cache.Text, sizeof cache.Text) == 0) {
    date = cache.Date;
  } else {
    if (!TryEncodeDate(year, month, day, date)) return false;
    std::memcpy(cache.Text, text.data(), sizeof cache.Text);
    cache.Date = date;
  }
  // As TryEncodeTime gives it, to the bit: the milliseconds of the day are a whole number that
  // a double holds exactly, divided once.
  if (hour > 23 || minute > 59 || second > 59) return false;
  time = static_cast<double>((hour * 3600 + minute * 60 + second) * 1000) / MSecsPerDay;
  value = date + time;
  rest = text.substr(19);
  return true;
}

std::string_view SkipFraction(std::string_view rest) {
  if (rest.size() < 2 || rest[0] != '.' || !IsDigit(rest[1])) return rest;
  std::size_t i = 1;
  while (i < rest.size() && IsDigit(rest[i])) ++i;
  return rest.substr(i);
}

bool TryParseZoneOffset(std::string_view text, int& minutesEast) {
  if (text.empty() || (text[0] != '+' && text[0] != '-')) return false;
  int hours = 0, minutes = 0;
  if (!TwoDigits(text, 1, hours)) return false;
  if (text.size() == 6 && text[3] == ':') {
    if (!TwoDigits(text, 4, minutes)) return false;
  } else if (text.size() == 5) {
    if (!TwoDigits(text, 3, minutes)) return false;
  } else if (text.size() != 3) {
    return false;
  }
  if (hours > 23 || minutes > 59) return false;
  minutesEast = (text[0] == '-' ? -1 : 1) * (hours * 60 + minutes);
  return true;
}

std::string_view TrimXmlSpace(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool TryParseIsoUtc(std::string_view text, TDateTime& utc) {
  std::string_view rest;
  if (!TryParseIsoDateTime(TrimXmlSpace(text), utc, rest)) return false;
  int minutesEast = 0;
  if (TryParseZoneOffset(SkipFraction(rest), minutesEast)) utc -= minutesEast / MinsPerDay;
  return true;
}

bool TryReadOptionalHeight(const pugi::xml_node& element, Extended& height) {
  height = 0;
  if (!element) return true;
  const char* const text = element.child_value();
  if (TryParseGpsNumber(text, height)) return true;
  height = 0;
  return TrimXmlSpace(text).empty();
}

int LineOfOffset(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

void ParseXmlInPlace(pugi::xml_document& document, TByteBuffer& text, const std::string& fileName,
                     const std::string_view* pristine) {
  const pugi::xml_parse_result result = document.load_buffer_inplace(text.Data(), text.Size(), kXmlParseOptions);
  if (result) return;
  int line = 1;
  const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0));
  if (pristine != nullptr) {
    line = LineOfOffset(*pristine, offset);
  } else {
    try {
      line = LineOfOffset(ReadFileBytes(fileName).View(), offset);
    } catch (const EHakuvoError&) {
      // The file went away between two reads: the message still names it.
    }
  }
  throw EHakuvoError(
      FilePrefix(fileName) + std::to_string(line) + "行目: XMLの形式が正しくありません（" + result.description() + "）",
      FilePrefix(fileName) + "line " + std::to_string(line) + ": not well-formed XML (" + result.description() + ")");
}

}  // namespace hakuvo
