#include "core/gps/fit_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"
#include "core/gps/gps_reader_util.h"

namespace hakuvo {

namespace {

// The check value a byte at a time, eight bytes a step: the tables of the slicing method, made
// once when the program starts.
struct TCrcTables {
  std::array<std::array<std::uint16_t, 256>, 8> Table{};
  constexpr TCrcTables() {
    for (unsigned byte = 0; byte < 256; ++byte) {
      std::uint16_t crc = static_cast<std::uint16_t>(byte);
      for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
      Table[0][byte] = crc;
    }
    for (unsigned byte = 0; byte < 256; ++byte) {
      for (std::size_t k = 1; k < 8; ++k) {
        const std::uint16_t previous = Table[k - 1][byte];
        Table[k][byte] = static_cast<std::uint16_t>((previous >> 8) ^ Table[0][previous & 0xFF]);
      }
    }
  }
};
constexpr TCrcTables kCrc;

constexpr std::uint16_t kRecordMessage = 20;
constexpr std::uint8_t kLatitudeField = 0;
constexpr std::uint8_t kLongitudeField = 1;
constexpr std::uint8_t kAltitudeField = 2;
constexpr std::uint8_t kEnhancedAltitudeField = 78;
// Every message keeps its time in field 253, and the time of any message is the base of the
// compressed times that follow it.
constexpr std::uint8_t kTimestampField = 253;

constexpr std::int32_t kInvalidSint32 = 0x7FFFFFFF;
constexpr std::uint32_t kInvalidUint32 = 0xFFFFFFFF;
constexpr std::uint16_t kInvalidUint16 = 0xFFFF;
// Times below this are seconds since the device was switched on, not dates.
constexpr std::uint32_t kFirstDateSeconds = 0x10000000;
// 1989-12-31, the day the FIT clock starts, as a serial.
constexpr double kFitEpochSerial = 32873;
constexpr Extended kDegreesPerSemicircle = 180.0L / 2147483648.0L;

constexpr std::size_t kShortHeader = 12;
constexpr std::size_t kLongHeader = 14;
constexpr int kLocalTypes = 16;

// What a definition message says about the data messages of one local type: their size and
// where the fields we read lie in them (-1: not there, or not of the size we read).
struct TDefinition {
  bool Defined = false;
  bool BigEndian = false;
  std::uint16_t Global = 0;
  std::uint32_t Size = 0;
  int Timestamp = -1;
  int Latitude = -1;
  int Longitude = -1;
  int Altitude = -1;
  int EnhancedAltitude = -1;
};

std::uint16_t Load16(const std::uint8_t* at, bool bigEndian) {
  return bigEndian ? static_cast<std::uint16_t>(at[0] << 8 | at[1]) : static_cast<std::uint16_t>(at[1] << 8 | at[0]);
}

std::uint32_t Load32(const std::uint8_t* at, bool bigEndian) {
  std::uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return bigEndian ? __builtin_bswap32(value) : value;
}

}  // namespace

std::uint16_t FitCrc(std::uint16_t crc, const std::uint8_t* bytes, std::size_t count) {
  const auto& t = kCrc.Table;
  while (count >= 8) {
    const std::uint8_t b0 = static_cast<std::uint8_t>(bytes[0] ^ (crc & 0xFF));
    const std::uint8_t b1 = static_cast<std::uint8_t>(bytes[1] ^ (crc >> 8));
    crc = static_cast<std::uint16_t>(t[7][b0] ^ t[6][b1] ^ t[5][bytes[2]] ^ t[4][bytes[3]] ^ t[3][bytes[4]] ^
                                     t[2][bytes[5]] ^ t[1][bytes[6]] ^ t[0][bytes[7]]);
    bytes += 8;
    count -= 8;
  }
  while (count-- > 0) crc = static_cast<std::uint16_t>((crc >> 8) ^ t[0][(crc ^ *bytes++) & 0xFF]);
  return crc;
}

TDateTime FitTimeToUtc(std::uint32_t seconds) { return kFitEpochSerial + seconds / 86400.0; }

// Walks the bytes of one file (or of several chained ones) and fills the track's list.
class TFitFile::TParser {
 public:
  // Bytes held in memory: the window is the whole of them.
  TParser(TFitFile& track, const std::uint8_t* bytes, std::size_t size)
      : FTrack(track), FWindow(bytes), FWindowEnd(size), FSize(size) {}
  // An open file, read a window at a time: a track of a million points is some 30 MB, which then
  // never has to be in memory (and faulted into it) at once.
  TParser(TFitFile& track, TInputFile& file)
      : FTrack(track),
        FFile(&file),
        FBuffer(std::make_unique_for_overwrite<std::uint8_t[]>(kWindowBytes)),
        FWindow(FBuffer.get()),
        FSize(file.Size()) {}

  void Read() {
    // Every header and the size of every file first: a file cut short gives no point at all.
    for (std::size_t start = 0, previous = 0; start < FSize;) {
      try {
        const std::size_t next = CheckFrame(start);
        previous = start;
        start = next;
      } catch (const EHakuvoError&) {
        // What follows a file whose check value fails is more likely the rest of that file than
        // another one, as when a device never wrote the final size into the header.
        if (start > 0 && Crc(0, previous, start) != 0) FailCrc(start);
        throw;
      }
    }
    // A record with a time and a position takes 13 bytes at the least, and watches write a dozen
    // fields more: room for that many points is only address space until the points fill it, and
    // spares the list from moving a million points as it grows.
    FTrack.GpsList.Reserve(FSize / 13);
    for (std::size_t start = 0; start < FSize;) start = ReadFile(start);
  }

 private:
  // Bytes of the check value computed ahead of the messages: few enough to be read again from the
  // cache by the walk right after, instead of a second pass over a file larger than the cache.
  static constexpr std::size_t kCrcBlock = std::size_t{16} << 10;
  // The window over a file: far more than the largest message (255 fields of 255 bytes and as
  // many developer fields, 130,051 bytes) and than a block of the check value.
  static constexpr std::size_t kWindowBytes = std::size_t{1} << 20;

  // The bytes from `offset` on, of which `count` are in the window (moved over the file when they
  // are not). Callers have checked that they lie inside the file.
  const std::uint8_t* Bytes(std::size_t offset, std::size_t count) {
    if (offset < FWindowStart || offset + count > FWindowEnd) Slide(offset, count);
    return FWindow + (offset - FWindowStart);
  }

  void Slide(std::size_t offset, std::size_t count) {
    if (FFile == nullptr || offset > FSize || count > FSize - offset)
      Fail(offset, "データが途中で切れています / the data ends too soon");
    std::size_t kept = 0;
    if (offset >= FWindowStart && offset < FWindowEnd) {
      kept = FWindowEnd - offset;
      std::memmove(FBuffer.get(), FBuffer.get() + (offset - FWindowStart), kept);
    }
    FWindowStart = offset;
    FWindowEnd = offset + kept;
    const std::size_t wanted = std::min(kWindowBytes, FSize - offset) - kept;
    const std::ptrdiff_t got = wanted == 0 ? 0 : FFile->ReadAt(FWindowEnd, FBuffer.get() + kept, wanted);
    if (got > 0) FWindowEnd += static_cast<std::size_t>(got);
    // The file grew shorter while it was read.
    if (offset + count > FWindowEnd)
      Fail(FWindowEnd, "ファイルを最後まで読めません / the file cannot be read to its end");
  }

  std::uint8_t Byte(std::size_t offset) { return *Bytes(offset, 1); }

  // The check value continued over bytes `from` to `to`, a block at a time.
  std::uint16_t Crc(std::uint16_t crc, std::size_t from, std::size_t to) {
    while (from < to) {
      const std::size_t count = std::min(kCrcBlock, to - from);
      crc = FitCrc(crc, Bytes(from, count), count);
      from += count;
    }
    return crc;
  }

  // `reason` is written "Japanese / English".
  [[noreturn]] void Fail(std::size_t offset, const std::string& reason) const {
    const TJapaneseEnglish words = SplitJapaneseEnglish(reason);
    const std::string prefix = FilePrefix(FTrack.FileName()), at = std::to_string(offset);
    throw EHakuvoError(prefix + at + "バイト目: FITファイルとして読めません（" + words.Japanese + "）",
                       prefix + "byte " + at + ": not a readable FIT file (" + words.English + ")");
  }

  std::size_t HeaderSize(std::size_t start) {
    // After a whole file, anything but the header of the next one is left over from elsewhere.
    const char* const notAHeader = start == 0
                                       ? "FITファイルのヘッダーがありません / no FIT file header"
                                       : "FITファイルの後に余分なデータがあります / extra data after the FIT file";
    if (FSize - start < kShortHeader)
      Fail(start, start == 0 ? "ファイルヘッダーが途中で切れています / the file header is cut short" : notAHeader);
    const std::uint8_t* const header = Bytes(start, kShortHeader);
    const std::size_t headerSize = header[0];
    if (std::memcmp(header + 8, ".FIT", 4) != 0 || headerSize < kShortHeader) Fail(start, notAHeader);
    if (FSize - start < headerSize) Fail(start, "ファイルヘッダーが途中で切れています / the file header is cut short");
    return headerSize;
  }

  std::uint32_t DataSize(std::size_t start) { return Load32(Bytes(start + 4, 4), false); }

  // Checks one file's header, its check value and that the file holds the data it announces;
  // returns where the next chained file begins.
  std::size_t CheckFrame(std::size_t start) {
    const std::size_t headerSize = HeaderSize(start);
    if (headerSize >= kLongHeader) {
      const std::uint8_t* const header = Bytes(start, kLongHeader);
      const std::uint16_t written = Load16(header + 12, false);
      // 0 says the writer did not compute one, as the protocol allows.
      if (written != 0 && written != FitCrc(0, header, 12))
        Fail(start, "ヘッダーのCRCが一致しません / the header's CRC does not match");
    }
    const std::size_t dataStart = start + headerSize;
    const std::uint32_t dataSize = DataSize(start);
    if (dataSize > FSize - dataStart || FSize - dataStart - dataSize < 2) {
      Fail(FSize, "ファイルが途中で切れています（ヘッダーはデータ " + std::to_string(dataSize) +
                      " バイトとCRCを示しています） / the file is cut short (its header announces " +
                      std::to_string(dataSize) + " bytes of data and a CRC)");
    }
    return dataStart + dataSize + 2;
  }

  [[noreturn]] void FailCrc(std::size_t end) const {
    Fail(end - 2, "ファイルのCRCが一致しません / the file's CRC does not match");
  }

  // Walks the messages of one file, its check value computed a block ahead of them; returns where
  // the next chained file begins. A file whose check value fails is refused for that, whatever
  // else is wrong in it.
  std::size_t ReadFile(std::size_t start) {
    const std::size_t headerSize = HeaderSize(start);
    const std::size_t dataEnd = start + headerSize + DataSize(start);
    const std::size_t end = dataEnd + 2;
    // Local types and the base of compressed times belong to one file of a chain.
    for (TDefinition& definition : FDefinitions) definition = TDefinition();
    FHasTime = false;
    FLastTime = 0;
    std::size_t at = start + headerSize;
    std::uint16_t crc = Crc(0, start, at);
    std::size_t crcDone = at;
    try {
      while (at < dataEnd) {
        if (at >= crcDone) {
          const std::size_t next = std::min(end, crcDone + kCrcBlock);
          crc = Crc(crc, crcDone, next);
          crcDone = next;
        }
        const std::uint8_t header = Byte(at);
        if (header & 0x80) {
          at = ReadData(at, at + 1, dataEnd, (header >> 5) & 0x03, true, header & 0x1F);
        } else if (header & 0x40) {
          at = ReadDefinition(at, dataEnd, header & 0x0F, (header & 0x20) != 0);
        } else {
          at = ReadData(at, at + 1, dataEnd, header & 0x0F, false, 0);
        }
      }
    } catch (const EHakuvoError&) {
      if (Crc(0, start, end) != 0) FailCrc(end);
      throw;
    }
    if (Crc(crc, crcDone, end) != 0) FailCrc(end);
    return end;
  }

  std::size_t ReadDefinition(std::size_t messageStart, std::size_t dataEnd, int local, bool developer) {
    std::size_t at = messageStart + 1;
    const auto need = [&](std::size_t count) {
      if (count > dataEnd - at)
        Fail(messageStart, "定義メッセージがデータの終わりを越えています / a definition message runs past the data");
    };
    need(5);
    const std::uint8_t* const head = Bytes(at, 5);
    TDefinition definition;
    definition.Defined = true;
    definition.BigEndian = head[1] != 0;
    definition.Global = Load16(head + 2, definition.BigEndian);
    const std::size_t fields = head[4];
    at += 5;
    need(3 * fields);
    const std::uint8_t* const field = Bytes(at, 3 * fields);
    std::uint32_t offset = 0;
    for (std::size_t i = 0; i < fields; ++i) {
      const std::uint8_t number = field[3 * i];
      const std::uint8_t size = field[3 * i + 1];
      const auto place = [&](int& slot, std::uint8_t wanted) {
        if (size == wanted && slot < 0) slot = static_cast<int>(offset);
      };
      if (number == kTimestampField) place(definition.Timestamp, 4);
      if (definition.Global == kRecordMessage) {
        if (number == kLatitudeField) place(definition.Latitude, 4);
        if (number == kLongitudeField) place(definition.Longitude, 4);
        if (number == kAltitudeField) place(definition.Altitude, 2);
        if (number == kEnhancedAltitudeField) place(definition.EnhancedAltitude, 4);
      }
      offset += size;
    }
    at += 3 * fields;
    if (developer) {
      need(1);
      const std::size_t developerFields = Byte(at++);
      need(3 * developerFields);
      // Fields of an application on the device, which we never read: only their sizes count.
      const std::uint8_t* const developerField = Bytes(at, 3 * developerFields);
      for (std::size_t i = 0; i < developerFields; ++i) offset += developerField[3 * i + 1];
      at += 3 * developerFields;
    }
    definition.Size = offset;
    FDefinitions[local] = definition;
    return at;
  }

  std::size_t ReadData(std::size_t messageStart, std::size_t at, std::size_t dataEnd, int local, bool compressed,
                       std::uint32_t timeOffset) {
    const TDefinition& definition = FDefinitions[local];
    if (!definition.Defined) {
      Fail(messageStart, "ローカルメッセージ型 " + std::to_string(local) +
                             " は定義されていません / local message type " + std::to_string(local) + " is not defined");
    }
    if (definition.Size > dataEnd - at)
      Fail(messageStart, "データメッセージがデータの終わりを越えています / a data message runs past the data");
    const std::uint8_t* const fields = Bytes(at, definition.Size);
    // The time of this message: its own field, or five bits added to the last time known.
    bool timed = false;
    std::uint32_t seconds = 0;
    if (definition.Timestamp >= 0) {
      const std::uint32_t value = Load32(fields + definition.Timestamp, definition.BigEndian);
      if (value != kInvalidUint32) {
        timed = true;
        seconds = value;
      }
    } else if (compressed && FHasTime) {
      seconds = (FLastTime & ~std::uint32_t{0x1F}) + timeOffset;
      if (timeOffset < (FLastTime & 0x1F)) seconds += 0x20;
      timed = true;
    }
    if (timed) {
      FHasTime = true;
      FLastTime = seconds;
    }
    if (definition.Global == kRecordMessage) ReadPoint(definition, fields, timed, seconds);
    return at + definition.Size;
  }

  void ReadPoint(const TDefinition& definition, const std::uint8_t* fields, bool timed, std::uint32_t seconds) {
    if (definition.Latitude < 0 || definition.Longitude < 0) return;
    const auto latitude = static_cast<std::int32_t>(Load32(fields + definition.Latitude, definition.BigEndian));
    const auto longitude = static_cast<std::int32_t>(Load32(fields + definition.Longitude, definition.BigEndian));
    if (latitude == kInvalidSint32 || longitude == kInvalidSint32) return;
    // A time since the device was switched on says nothing of the day: the point's time is unknown.
    const TDateTime time = timed && seconds >= kFirstDateSeconds ? FTrack.LocalFromUtc(FitTimeToUtc(seconds)) : 0;
    if (FTrack.OutsideWindow(time)) return;
    Extended altitude = 0;
    std::uint32_t raw = kInvalidUint32;
    if (definition.EnhancedAltitude >= 0) raw = Load32(fields + definition.EnhancedAltitude, definition.BigEndian);
    if (raw == kInvalidUint32 && definition.Altitude >= 0) {
      const std::uint16_t short_raw = Load16(fields + definition.Altitude, definition.BigEndian);
      if (short_raw != kInvalidUint16) raw = short_raw;
    }
    if (raw != kInvalidUint32) altitude = static_cast<Extended>(raw) / 5 - 500;
    FTrack.GpsList.Add(time, latitude * kDegreesPerSemicircle, longitude * kDegreesPerSemicircle, altitude);
  }

  TFitFile& FTrack;
  TInputFile* FFile = nullptr;
  std::unique_ptr<std::uint8_t[]> FBuffer;
  // The window: bytes FWindowStart to FWindowEnd of the file, from FWindow on.
  const std::uint8_t* FWindow = nullptr;
  std::size_t FWindowStart = 0;
  std::size_t FWindowEnd = 0;
  std::size_t FSize;
  std::array<TDefinition, kLocalTypes> FDefinitions{};
  bool FHasTime = false;
  std::uint32_t FLastTime = 0;
};

void TFitFile::ReadTrack() {
  BeginReading();
  TInputFile file;
  int error = 0;
  if (!file.Open(FileName(), error))
    throw EHakuvoError(FilePrefix(FileName()) + "ファイルを開けません",
                       FilePrefix(FileName()) + "cannot open the file");
  if (file.Size() == 0) FailEmpty();
  Read([&] { TParser(*this, file).Read(); });
}

void TFitFile::ReadFromMemory(std::string_view data) {
  BeginReading();
  if (data.empty()) FailEmpty();
  Read([&] { TParser(*this, reinterpret_cast<const std::uint8_t*>(data.data()), data.size()).Read(); });
}

void TFitFile::FailEmpty() const {
  throw EHakuvoError(FilePrefix(FileName()) + "0バイト目: FITファイルとして読めません（ファイルが空です）",
                     FilePrefix(FileName()) + "byte 0: not a readable FIT file (the file is empty)");
}

void TFitFile::Read(const std::function<void()>& parse) {
  try {
    parse();
  } catch (...) {
    // A track that stops where the damage begins would pass for the whole outing.
    ClearPoints();
    throw;
  }
}

}  // namespace hakuvo
