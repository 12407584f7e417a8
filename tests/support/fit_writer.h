#pragma once

// Writes FIT files byte by byte for tests and benchmarks: definitions of any shape, data
// messages with normal or compressed-timestamp headers, raw bytes where a test wants a broken
// file, and the header and check values around them.

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/gps/fit_file.h"

namespace hakuvo::test {

struct TFitField {
  std::uint8_t Number;
  std::uint8_t Size;
  std::uint8_t BaseType;
};

// Field definitions of a "record" message: time, position and both altitudes.
inline constexpr TFitField kFitTimestamp{253, 4, 0x86};
inline constexpr TFitField kFitLatitude{0, 4, 0x85};
inline constexpr TFitField kFitLongitude{1, 4, 0x85};
inline constexpr TFitField kFitAltitude{2, 2, 0x84};
inline constexpr TFitField kFitEnhancedAltitude{78, 4, 0x86};
inline constexpr std::uint16_t kFitRecord = 20;
inline constexpr std::int64_t kFitInvalidSint32 = 0x7FFFFFFF;
inline constexpr std::int64_t kFitInvalidUint32 = 0xFFFFFFFF;
inline constexpr std::int64_t kFitInvalidUint16 = 0xFFFF;

// Degrees as semicircles, rounded to the nearest.
inline std::int64_t FitSemicircles(double degrees) { return std::llround(degrees * 2147483648.0 / 180.0); }
// A UTC date and time as seconds of the FIT clock (from 1989-12-31 00:00:00 UTC).
inline std::int64_t FitSeconds(int year, unsigned month, unsigned day, int hour, int minute, int second) {
  // Days from the civil date (proleptic Gregorian), counted from 1970-01-01.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = std::int64_t{era} * 146097 + doe - 719468;
  return days * 86400 + hour * 3600 + minute * 60 + second - 631065600;
}
// Altitude in metres as the protocol keeps it (scale 5, offset 500).
inline std::int64_t FitAltitude(double metres) { return std::llround((metres + 500) * 5); }

class TFitWriter {
 public:
  // A definition of a local message type; developer fields are given by their sizes.
  TFitWriter& Define(int local, std::uint16_t global, const std::vector<TFitField>& fields, bool bigEndian = false,
                     const std::vector<std::uint8_t>& developerSizes = {}) {
    const bool developer = !developerSizes.empty();
    FData.push_back(static_cast<char>(0x40 | (developer ? 0x20 : 0) | (local & 0x0F)));
    FData.push_back(0);
    FData.push_back(bigEndian ? 1 : 0);
    Put(global, 2, bigEndian);
    FData.push_back(static_cast<char>(fields.size()));
    for (const TFitField& field : fields) {
      FData.push_back(static_cast<char>(field.Number));
      FData.push_back(static_cast<char>(field.Size));
      FData.push_back(static_cast<char>(field.BaseType));
    }
    if (developer) {
      FData.push_back(static_cast<char>(developerSizes.size()));
      for (std::size_t i = 0; i < developerSizes.size(); ++i) {
        FData.push_back(static_cast<char>(i));
        FData.push_back(static_cast<char>(developerSizes[i]));
        FData.push_back(0);
      }
    }
    FLocal[static_cast<std::size_t>(local & 0x0F)] = {fields, developerSizes, bigEndian};
    return *this;
  }

  // A data message with one value per defined field; developer fields are written as zeros.
  TFitWriter& Data(int local, const std::vector<std::int64_t>& values) {
    FData.push_back(static_cast<char>(local & 0x0F));
    return Values(local, values);
  }

  // A data message with a compressed-timestamp header (local types 0 to 3).
  TFitWriter& Compressed(int local, int timeOffset, const std::vector<std::int64_t>& values) {
    FData.push_back(static_cast<char>(0x80 | ((local & 0x03) << 5) | (timeOffset & 0x1F)));
    return Values(local, values);
  }

  TFitWriter& Raw(const std::string& bytes) {
    FData += bytes;
    return *this;
  }

  std::size_t DataSize() const { return FData.size(); }
  void Reserve(std::size_t bytes) { FData.reserve(bytes); }

  // The whole file: header (14 bytes with its own check value, or 12), data and check value.
  std::string File(bool longHeader = true) const {
    std::string file;
    file.reserve(FData.size() + 16);
    file.push_back(static_cast<char>(longHeader ? 14 : 12));
    file.push_back(0x20);
    Append(file, 2132, 2);
    Append(file, FData.size(), 4);
    file += ".FIT";
    if (longHeader) Append(file, Crc(file), 2);
    file += FData;
    Append(file, Crc(file), 2);
    return file;
  }

  static std::uint16_t Crc(const std::string& bytes) {
    return FitCrc(0, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }

 private:
  struct TLocal {
    std::vector<TFitField> Fields;
    std::vector<std::uint8_t> DeveloperSizes;
    bool BigEndian = false;
  };

  TFitWriter& Values(int local, const std::vector<std::int64_t>& values) {
    const TLocal& definition = FLocal[static_cast<std::size_t>(local & 0x0F)];
    for (std::size_t i = 0; i < definition.Fields.size(); ++i) {
      Put(i < values.size() ? values[i] : 0, definition.Fields[i].Size, definition.BigEndian);
    }
    for (const std::uint8_t size : definition.DeveloperSizes) FData.append(size, '\0');
    return *this;
  }

  void Put(std::int64_t value, std::size_t size, bool bigEndian) {
    const auto bits = static_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < size; ++i) {
      const std::size_t shift = 8 * (bigEndian ? size - 1 - i : i);
      FData.push_back(static_cast<char>(shift < 64 ? (bits >> shift) & 0xFF : 0));
    }
  }

  static void Append(std::string& out, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }

  std::string FData;
  std::array<TLocal, 16> FLocal{};
};

}  // namespace hakuvo::test
