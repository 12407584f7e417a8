#include "core/gps/jpeg_exif.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <fstream>
#include <string_view>
#include <vector>

#include "core/common/file_read.h"
#include "core/common/number_format.h"

namespace hakuvo {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kApp1 = 0xE1;

constexpr std::uint16_t kTypeAscii = 2;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::uint16_t kTypeRational = 5;
constexpr std::uint16_t kTypeSignedRational = 10;

constexpr std::uint16_t kTagOrientation = 274;
constexpr std::uint16_t kTagDateTime = 306;
constexpr std::uint16_t kTagExifIfd = 34665;
constexpr std::uint16_t kTagGpsIfd = 34853;
constexpr std::uint16_t kTagDateTimeOriginal = 36867;
constexpr std::uint16_t kTagGpsLatitudeRef = 1;
constexpr std::uint16_t kTagGpsLatitude = 2;
constexpr std::uint16_t kTagGpsLongitudeRef = 3;
constexpr std::uint16_t kTagGpsLongitude = 4;

constexpr std::uint64_t kIfdEntrySize = 12;
constexpr std::uint64_t kTiffHeaderSize = 8;
// "yyyy:mm:dd hh:mm:ss"; whatever follows (a zone letter, padding) is not read.
constexpr std::size_t kExifDateTimeLength = 19;

// Random access to the photograph's bytes. Callers check every range against Size() first, so a
// short read can only mean the file changed or failed underneath us.
class TSource {
 public:
  virtual ~TSource() = default;
  virtual std::uint64_t Size() const = 0;
  virtual bool ReadAt(std::uint64_t offset, std::uint8_t* target, std::size_t count) = 0;
};

// Reads only the few structures it is asked for, so a large photograph costs a few small reads.
class TFileSource : public TSource {
 public:
  explicit TFileSource(const std::string& fileName) : FStream(fileName) {
    if (!FStream) throw EHakuvoError(fileName + " を開けません", fileName + ": cannot open the file");
    FStream.seekg(0, std::ios::end);
    const std::streamoff end = FStream.tellg();
    if (end < 0) throw EHakuvoError(fileName + " を読み込めません", fileName + ": cannot read the file");
    FSize = static_cast<std::uint64_t>(end);
  }
  std::uint64_t Size() const override { return FSize; }
  bool ReadAt(std::uint64_t offset, std::uint8_t* target, std::size_t count) override {
    FStream.clear();
    FStream.seekg(static_cast<std::streamoff>(offset));
    FStream.read(reinterpret_cast<char*>(target), static_cast<std::streamsize>(count));
    return FStream.gcount() == static_cast<std::streamsize>(count);
  }

 private:
  TInputFileStream FStream;
  std::uint64_t FSize = 0;
};

class TBufferSource : public TSource {
 public:
  TBufferSource(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  std::uint64_t Size() const override { return FSize; }
  bool ReadAt(std::uint64_t offset, std::uint8_t* target, std::size_t count) override {
    if (count != 0) std::memcpy(target, FData + offset, count);
    return true;
  }

 private:
  const std::uint8_t* FData;
  std::uint64_t FSize;
};

bool TryParseField(std::string_view text, std::size_t start, std::size_t length, int& value) {
  return TryParseInt(text.substr(start, length), value);
}

// An unset camera clock writes "0000:00:00 00:00:00" or blanks; such a text is no time at all.
TDateTime ExifDateTimeFromText(std::string_view text) {
  if (text.size() < kExifDateTimeLength) return 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!TryParseField(text, 0, 4, year) || !TryParseField(text, 5, 2, month) || !TryParseField(text, 8, 2, day) ||
      !TryParseField(text, 11, 2, hour) || !TryParseField(text, 14, 2, minute) || !TryParseField(text, 17, 2, second)) {
    return 0;
  }
  TDateTime date = 0, time = 0;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, 0, time)) return 0;
  return date + time;
}

int AngleOfOrientation(std::uint32_t orientation) {
  switch (orientation) {
    case 3:
      return 180;
    case 6:
      return 90;
    case 8:
      return 270;
    default:  // upright, unknown, and the mirrored orientations, which a turn cannot undo
      return 0;
  }
}

}  // namespace

class TJpegExif::TParser {
 public:
  TParser(TJpegExif& exif, TSource& source) : FExif(exif), FSource(source), FSize(source.Size()) {}

  void Parse() {
    std::uint8_t start[2] = {0, 0};
    if (FSize < 2 || !FSource.ReadAt(0, start, 2) || start[0] != kMarker || start[1] != kStartOfImage) {
      throw ENotJpegFileError();
    }
    FBase = FindExifTiffHeader();
    Need(FBase, kTiffHeaderSize);
    std::uint8_t header[kTiffHeaderSize];
    ReadBytes(FBase, header, kTiffHeaderSize);
    FBigEndian = header[0] == 'M' && header[1] == 'M' && header[2] == 0 && header[3] == 0x2A;
    // Nothing may point back into the header: an offset of 0 is how some writers say "none".
    FWalked.push_back({FBase, FBase + kTiffHeaderSize});
    WalkIfd(ReadU32(FBase + 4), TIfdKind::Ifd0);
    // A reference of the other side makes the angle negative, also one whose numbers are
    // already negative: it is not turned back.
    if (FSouth && FExif.FGpsLatitude != 0) FExif.FGpsLatitude = -std::fabs(FExif.FGpsLatitude);
    if (FWest && FExif.FGpsLongitude != 0) FExif.FGpsLongitude = -std::fabs(FExif.FGpsLongitude);
  }

 private:
  enum class TIfdKind { Ifd0, Exif, Gps };

  struct TRange {
    std::uint64_t Begin;
    std::uint64_t End;
  };

  struct TEntry {
    std::uint16_t Tag;
    std::uint16_t Type;
    std::uint32_t Count;
    std::uint64_t ValuePos;  // file offset of the 4-byte value field
  };

  [[noreturn]] void Broken(std::uint64_t position) const {
    std::string message = "Exif データが壊れています (位置 " + std::to_string(position) + ")";
    std::string english = "the Exif data is damaged (at " + std::to_string(position) + ")";
    if (!FExif.FFileName.empty()) {
      message = FExif.FFileName + ": " + message;
      english = FExif.FFileName + ": " + english;
    }
    throw EHakuvoError(message, english);
  }

  // Checks that [position, position + length) lies inside the file without overflowing.
  void Need(std::uint64_t position, std::uint64_t length) const {
    if (position > FSize || length > FSize - position) Broken(position);
  }

  void ReadBytes(std::uint64_t position, std::uint8_t* target, std::size_t count) {
    Need(position, count);
    if (!FSource.ReadAt(position, target, count)) Broken(position);
  }

  std::uint16_t ReadU16(std::uint64_t position) {
    std::uint8_t b[2];
    ReadBytes(position, b, 2);
    return FBigEndian ? static_cast<std::uint16_t>(b[0] << 8 | b[1]) : static_cast<std::uint16_t>(b[1] << 8 | b[0]);
  }

  std::uint32_t ReadU32(std::uint64_t position) {
    std::uint8_t b[4];
    ReadBytes(position, b, 4);
    if (FBigEndian) {
      return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
    }
    return std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[1]} << 8 | b[0];
  }

  // Cameras and editors put JFIF, ICC, XMP and other segments before the Exif one, so the
  // segments are followed by their lengths up to the compressed picture. Returns the file
  // offset of the TIFF header inside the Exif APP1 segment.
  std::uint64_t FindExifTiffHeader() {
    static constexpr std::uint8_t kExifId[6] = {'E', 'x', 'i', 'f', 0, 0};
    std::uint64_t position = 2;
    for (;;) {
      std::uint8_t marker[2];
      if (position > FSize || FSize - position < 2) throw EJpegExifError();
      ReadBytes(position, marker, 2);
      if (marker[0] != kMarker) throw EJpegExifError();
      if (marker[1] == kMarker) {  // fill byte before a marker
        ++position;
        continue;
      }
      position += 2;
      const std::uint8_t code = marker[1];
      if (code == kStartOfScan || code == kEndOfImage || code == 0) throw EJpegExifError();
      if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) continue;  // markers without a segment
      if (FSize - position < 2) throw EJpegExifError();
      std::uint8_t lengthBytes[2];
      ReadBytes(position, lengthBytes, 2);
      const std::uint64_t length = std::uint64_t{lengthBytes[0]} << 8 | lengthBytes[1];
      if (length < 2) throw EJpegExifError();
      if (code == kApp1 && length >= 2 + sizeof kExifId && FSize - position >= 2 + sizeof kExifId) {
        std::uint8_t id[sizeof kExifId];
        ReadBytes(position + 2, id, sizeof id);
        if (std::equal(std::begin(id), std::end(id), std::begin(kExifId))) return position + 2 + sizeof kExifId;
      }
      position += length;
    }
  }

  bool AlreadyWalked(std::uint64_t position) const {
    return std::any_of(FWalked.begin(), FWalked.end(),
                       [&](const TRange& r) { return position >= r.Begin && position < r.End; });
  }

  void WalkIfd(std::uint32_t offset, TIfdKind kind) {
    const std::uint64_t position = FBase + offset;
    if (AlreadyWalked(position)) return;
    const std::uint64_t count = ReadU16(position);
    Need(position + 2, count * kIfdEntrySize);
    FWalked.push_back({position, position + 2 + count * kIfdEntrySize});
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint64_t entryPos = position + 2 + i * kIfdEntrySize;
      const TEntry entry{ReadU16(entryPos), ReadU16(entryPos + 2), ReadU32(entryPos + 4), entryPos + 8};
      switch (kind) {
        case TIfdKind::Ifd0:
          Ifd0Entry(entry);
          break;
        case TIfdKind::Exif:
          if (entry.Tag == kTagDateTimeOriginal) FExif.FDateTimeOriginal = ExifDateTimeFromText(ReadText(entry));
          break;
        case TIfdKind::Gps:
          GpsEntry(entry);
          break;
      }
    }
  }

  void Ifd0Entry(const TEntry& entry) {
    switch (entry.Tag) {
      case kTagOrientation:
        FExif.FOrientation = AngleOfOrientation(ReadInteger(entry));
        break;
      case kTagDateTime:
        FExif.FDateTime = ExifDateTimeFromText(ReadText(entry));
        break;
      case kTagExifIfd:
        if (entry.Type == kTypeLong) WalkIfd(ReadU32(entry.ValuePos), TIfdKind::Exif);
        break;
      case kTagGpsIfd:
        WalkIfd(ReadU32(entry.ValuePos), TIfdKind::Gps);
        break;
      default:
        break;
    }
  }

  void GpsEntry(const TEntry& entry) {
    switch (entry.Tag) {
      case kTagGpsLatitudeRef:
        FSouth = IsReference(ReadText(entry), 'S');
        break;
      case kTagGpsLatitude:
        FExif.FGpsLatitude = ReadCoordinate(entry);
        break;
      case kTagGpsLongitudeRef:
        FWest = IsReference(ReadText(entry), 'W');
        break;
      case kTagGpsLongitude:
        FExif.FGpsLongitude = ReadCoordinate(entry);
        break;
      default:
        break;
    }
  }

  static bool IsReference(std::string_view text, char letter) {
    return !text.empty() && (text[0] == letter || text[0] == letter + ('a' - 'A'));
  }

  // File offset of an entry's value: in the value field itself when it fits in 4 bytes, else
  // where the field points. The whole value must lie inside the file.
  std::uint64_t ValuePosition(const TEntry& entry, std::uint64_t elementSize) {
    const std::uint64_t length = entry.Count * elementSize;  // at most 2^32 * 8: no overflow
    const std::uint64_t position = length <= 4 ? entry.ValuePos : FBase + ReadU32(entry.ValuePos);
    Need(position, length);
    return position;
  }

  // Only the first characters of a text are ever used, so no more than those are read,
  // whatever length the entry claims.
  std::string ReadText(const TEntry& entry) {
    if (entry.Type != kTypeAscii) return {};
    const std::uint64_t position = ValuePosition(entry, 1);
    constexpr std::size_t kMaxUsed = 32;
    std::uint8_t buffer[kMaxUsed];
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(entry.Count, kMaxUsed));
    ReadBytes(position, buffer, count);
    const auto end = std::find(buffer, buffer + count, std::uint8_t{0});
    return std::string(buffer, end);
  }

  std::uint32_t ReadInteger(const TEntry& entry) {
    if (entry.Type == kTypeShort) return ReadU16(entry.ValuePos);
    if (entry.Type == kTypeLong) return ReadU32(entry.ValuePos);
    return 0;
  }

  // Degrees, minutes, seconds as rationals; a term with a zero denominator is left out, and so
  // are terms the entry does not hold. Some phones write them as signed rationals: read alike,
  // and a negative one (a writer that gives the sign in the numbers) makes the whole angle
  // negative, its terms adding to its size as they do for a positive one.
  double ReadCoordinate(const TEntry& entry) {
    if (entry.Type != kTypeRational && entry.Type != kTypeSignedRational) return 0;
    const bool isSigned = entry.Type == kTypeSignedRational;
    const std::uint64_t position = ValuePosition(entry, 8);
    const std::uint64_t terms = std::min<std::uint64_t>(entry.Count, 3);
    static constexpr double kScale[3] = {1.0, 60.0, 3600.0};
    double size = 0;
    bool negative = false;
    for (std::uint64_t i = 0; i < terms; ++i) {
      const std::uint32_t numerator = ReadU32(position + i * 8);
      const std::uint32_t denominator = ReadU32(position + i * 8 + 4);
      if (denominator == 0) continue;
      double term = 0;
      if (isSigned) {
        term = static_cast<double>(static_cast<std::int32_t>(numerator)) / static_cast<std::int32_t>(denominator);
      } else {
        term = static_cast<double>(numerator) / denominator;
      }
      negative = negative || term < 0;
      size += std::fabs(term) / kScale[i];
    }
    return negative ? -size : size;
  }

  TJpegExif& FExif;
  TSource& FSource;
  const std::uint64_t FSize;
  std::uint64_t FBase = 0;
  bool FBigEndian = false;
  bool FSouth = false;
  bool FWest = false;
  std::vector<TRange> FWalked;
};

void TJpegExif::Clear() {
  FDateTime = 0;
  FDateTimeOriginal = 0;
  FOrientation = 0;
  FGpsLatitude = 0;
  FGpsLongitude = 0;
}

void TJpegExif::SetFileName(const std::string& fileName) {
  Clear();
  FFileName = fileName;
  TFileSource source(fileName);
  TParser(*this, source).Parse();
}

void TJpegExif::ReadBuffer(const std::uint8_t* data, std::size_t size) {
  Clear();
  FFileName.clear();
  TBufferSource source(data, size);
  TParser(*this, source).Parse();
}

// These serve displays and sorting, where a photograph without usable Exif data simply has none.
TDateTime ExifDateTimeOriginal(const std::string& fileName) {
  try {
    TJpegExif exif;
    exif.SetFileName(fileName);
    return exif.DateTimeOriginal();
  } catch (const std::exception&) {
    return 0;
  }
}

int ExifOrientation(const std::string& fileName) {
  try {
    TJpegExif exif;
    exif.SetFileName(fileName);
    return exif.Orientation();
  } catch (const std::exception&) {
    return 0;
  }
}

bool ExifPosition(const std::string& fileName, double& latitude, double& longitude) {
  latitude = 0;
  longitude = 0;
  try {
    TJpegExif exif;
    exif.SetFileName(fileName);
    latitude = exif.GpsLatitude();
    longitude = exif.GpsLongitude();
    return latitude != 0 || longitude != 0;
  } catch (const std::exception&) {
    latitude = 0;
    longitude = 0;
    return false;
  }
}

}  // namespace hakuvo
