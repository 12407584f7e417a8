#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "core/register/register_fixtures.h"

namespace hakuvo::test {

// A JPEG photograph with an Exif block holding a shooting time (Exif form "yyyy:mm:dd hh:mm:ss")
// and, when `hasPosition`, a GPS position. `picture` is a whole JPEG file (from SOI) whose
// picture the photograph shows; empty gives a photograph of no picture at all.
inline std::string ExifPhotoBytes(const std::string& shot, bool hasPosition, double latitude, double longitude,
                                  const std::string& picture = {}) {
  // Degrees, minutes and seconds in hundredths, as cameras write them.
  const auto rationals = [](double angle) {
    angle = std::fabs(angle);
    const auto degrees = static_cast<std::uint32_t>(angle);
    const double restMinutes = (angle - degrees) * 60;
    const auto minutes = static_cast<std::uint32_t>(restMinutes);
    const auto hundredths = static_cast<std::uint32_t>(std::lround((restMinutes - minutes) * 6000));
    std::string out;
    for (const auto& [n, d] :
         std::vector<std::pair<std::uint32_t, std::uint32_t>>{{degrees, 1}, {minutes, 1}, {hundredths, 100}}) {
      Put32(out, n);
      Put32(out, d);
    }
    return out;
  };
  const auto entry = [](std::string& out, unsigned tag, unsigned type, std::uint32_t count, std::uint32_t field) {
    Put16(out, tag);
    Put16(out, type);
    Put32(out, count);
    Put32(out, field);
  };
  const std::uint32_t ifd0Count = hasPosition ? 2 : 1;
  const std::uint32_t exifIfd = 8 + 2 + 12 * ifd0Count + 4;
  const std::uint32_t gpsIfd = exifIfd + 2 + 12 + 4;
  const std::uint32_t data = gpsIfd + (hasPosition ? 2 + 12 * 4 + 4 : 0);
  std::string tiff = "II";
  Put16(tiff, 42);
  Put32(tiff, 8);
  Put16(tiff, ifd0Count);
  entry(tiff, 34665, 4, 1, exifIfd);
  if (hasPosition) entry(tiff, 34853, 4, 1, gpsIfd);
  Put32(tiff, 0);
  Put16(tiff, 1);
  entry(tiff, 36867, 2, static_cast<std::uint32_t>(shot.size() + 1), data);
  Put32(tiff, 0);
  std::string values = shot + std::string(1, '\0');
  if (hasPosition) {
    const std::uint32_t latitudeAt = data + static_cast<std::uint32_t>(values.size());
    const std::uint32_t longitudeAt = latitudeAt + 24;
    Put16(tiff, 4);
    entry(tiff, 1, 2, 2, latitude < 0 ? 'S' : 'N');
    entry(tiff, 2, 5, 3, latitudeAt);
    entry(tiff, 3, 2, 2, longitude < 0 ? 'W' : 'E');
    entry(tiff, 4, 5, 3, longitudeAt);
    Put32(tiff, 0);
    values += rationals(latitude) + rationals(longitude);
  }
  tiff += values;
  const std::string segment = std::string("Exif\0\0", 6) + tiff;
  const auto length = static_cast<unsigned>(segment.size() + 2);
  std::string app1 = "\xFF\xE1";
  app1 += static_cast<char>(length >> 8);
  app1 += static_cast<char>(length & 0xFF);
  app1 += segment;
  if (picture.size() < 2) return "\xFF\xD8" + app1 + "\xFF\xD9";
  return picture.substr(0, 2) + app1 + picture.substr(2);
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace hakuvo::test
