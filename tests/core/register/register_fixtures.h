#pragma once

#include <sys/stat.h>
#include <utime.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/common/date_time.h"
#include "core/datafile/diary.h"
#include "core/register/register_target.h"

namespace hakuvo::test {

inline void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
inline void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// The bytes of a JPEG photograph that carries only an Exif block: a shooting time (Exif form
// "yyyy:mm:dd hh:mm:ss", empty for none) and an orientation tag (0 for none).
inline std::string PhotographBytes(const std::string& shot, unsigned orientation = 0) {
  std::string tiff = "II";
  Put16(tiff, 42);
  Put32(tiff, 8);
  const unsigned ifd0Count = orientation != 0 ? 2 : 1;
  const std::uint32_t exifIfd = 8 + 2 + 12 * ifd0Count + 4;
  Put16(tiff, ifd0Count);
  if (orientation != 0) {
    Put16(tiff, 274);
    Put16(tiff, 3);
    Put32(tiff, 1);
    Put16(tiff, orientation);
    Put16(tiff, 0);
  }
  Put16(tiff, 34665);
  Put16(tiff, 4);
  Put32(tiff, 1);
  Put32(tiff, exifIfd);
  Put32(tiff, 0);
  const std::uint32_t textOffset = exifIfd + 2 + 12 + 4;
  Put16(tiff, shot.empty() ? 0 : 1);
  if (!shot.empty()) {
    Put16(tiff, 36867);
    Put16(tiff, 2);
    Put32(tiff, static_cast<std::uint32_t>(shot.size() + 1));
    Put32(tiff, textOffset);
  }
  Put32(tiff, 0);
  if (!shot.empty()) tiff += shot + std::string(1, '\0');

  std::string segment = std::string("Exif\0\0", 6) + tiff;
  std::string jpeg = "\xFF\xD8\xFF\xE1";
  const unsigned length = static_cast<unsigned>(segment.size() + 2);
  jpeg += static_cast<char>(length >> 8);
  jpeg += static_cast<char>(length & 0xFF);
  return jpeg + segment + "\xFF\xD9";
}

struct TrackPoint {
  double Latitude;
  double Longitude;
  std::string Time;  // xsd:dateTime in UTC
};

inline std::string GpxBytes(const std::vector<TrackPoint>& points) {
  std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><trkseg>\n";
  for (const TrackPoint& point : points) {
    char line[256];
    std::snprintf(line, sizeof line, "<trkpt lat=\"%.6f\" lon=\"%.6f\"><ele>10</ele><time>%s</time></trkpt>\n",
                  point.Latitude, point.Longitude, point.Time.c_str());
    gpx += line;
  }
  return gpx + "</trkseg></trk></gpx>\n";
}

// Sets a file's last-modified time to a local date and time.
inline void SetModified(const std::string& path, TDateTime local) {
  const TDateParts date = DecodeDate(local);
  const TTimeParts time = DecodeTime(local);
  std::tm parts{};
  parts.tm_year = date.Year - 1900;
  parts.tm_mon = date.Month - 1;
  parts.tm_mday = date.Day;
  parts.tm_hour = time.Hour;
  parts.tm_min = time.Minute;
  parts.tm_sec = time.Second;
  parts.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&parts);
  utimbuf times{seconds, seconds};
  if (::utime(path.c_str(), &times) != 0) throw std::runtime_error("cannot set the time of " + path);
}

inline TRegisterTarget TargetOf(TDiary& diary) { return {diary.Days, *diary.Categories, diary.Files}; }

inline int ActCount(const TDiary& diary) {
  int count = 0;
  for (const auto& day : diary.Days) count += day->ActDataList.Count();
  return count;
}

}  // namespace hakuvo::test
