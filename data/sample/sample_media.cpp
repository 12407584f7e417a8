#include "sample_media.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "core/links/jpeg_codec.h"
#include "core/links/pixel_image.h"

namespace sample_media {

namespace {

constexpr double kPi = 3.14159265358979323846;

void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void PutEntry(std::string& out, unsigned tag, unsigned type, std::uint32_t count, std::uint32_t value) {
  Put16(out, tag);
  Put16(out, type);
  Put32(out, count);
  Put32(out, value);
}

// Degrees as the three rationals Exif wants: degrees, minutes, seconds in hundredths.
void PutDegrees(std::string& out, double degrees) {
  const double whole = std::floor(std::fabs(degrees));
  const double minutes = std::floor((std::fabs(degrees) - whole) * 60);
  const double seconds = ((std::fabs(degrees) - whole) * 60 - minutes) * 60;
  Put32(out, static_cast<std::uint32_t>(whole));
  Put32(out, 1);
  Put32(out, static_cast<std::uint32_t>(minutes));
  Put32(out, 1);
  Put32(out, static_cast<std::uint32_t>(std::lround(seconds * 100)));
  Put32(out, 100);
}

// A little-endian TIFF block: IFD0 points at the Exif IFD (the shooting time) and the GPS IFD.
std::string ExifBlock(const std::string& shot, double latitude, double longitude) {
  const std::uint32_t ifd0 = 8;
  const std::uint32_t exifIfd = ifd0 + 2 + 2 * 12 + 4;
  const std::uint32_t gpsIfd = exifIfd + 2 + 12 + 4;
  const std::uint32_t data = gpsIfd + 2 + 4 * 12 + 4;
  const std::uint32_t shotAt = data;
  const std::uint32_t latitudeAt = shotAt + 20;
  const std::uint32_t longitudeAt = latitudeAt + 24;
  std::string tiff = "II";
  Put16(tiff, 42);
  Put32(tiff, ifd0);
  Put16(tiff, 2);
  PutEntry(tiff, 0x8769, 4, 1, exifIfd);
  PutEntry(tiff, 0x8825, 4, 1, gpsIfd);
  Put32(tiff, 0);
  Put16(tiff, 1);
  PutEntry(tiff, 0x9003, 2, 20, shotAt);
  Put32(tiff, 0);
  Put16(tiff, 4);
  // A reference of up to four bytes is held in the entry itself.
  PutEntry(tiff, 1, 2, 2, latitude >= 0 ? 'N' : 'S');
  PutEntry(tiff, 2, 5, 3, latitudeAt);
  PutEntry(tiff, 3, 2, 2, longitude >= 0 ? 'E' : 'W');
  PutEntry(tiff, 4, 5, 3, longitudeAt);
  Put32(tiff, 0);
  tiff += shot.substr(0, 19);
  tiff += std::string(20 - std::min<std::size_t>(19, shot.size()), '\0');
  PutDegrees(tiff, latitude);
  PutDegrees(tiff, longitude);
  return tiff;
}

std::uint32_t Rgb(double r, double g, double b) {
  const auto byte = [](double v) {
    return static_cast<std::uint32_t>(std::lround(std::fmin(1, std::fmax(0, v)) * 255));
  };
  return 0xFF000000u | byte(r) << 16 | byte(g) << 8 | byte(b);
}

}  // namespace

std::string LoopTrackGpx(const std::string& startUtc, int points, double latitude, double longitude) {
  std::tm start{};
  std::sscanf(startUtc.c_str(), "%d-%d-%dT%d:%d:%d", &start.tm_year, &start.tm_mon, &start.tm_mday, &start.tm_hour,
              &start.tm_min, &start.tm_sec);
  start.tm_year -= 1900;
  start.tm_mon -= 1;
  const std::time_t first = timegm(&start);
  std::string gpx =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"hakuvo make_sample\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
      "<trk><name>公園ループ</name><trkseg>\n";
  for (int i = 0; i < points; ++i) {
    // An oval of about 1.6 km around, run twice, with a little wobble as a receiver gives.
    const double angle = 4 * kPi * i / points;
    const double wobble = 0.00004 * std::sin(i * 1.7);
    const double lat = latitude + 0.0022 * std::sin(angle) + wobble;
    const double lon = longitude + 0.0035 * std::cos(angle) - wobble;
    const double ele = 12 + 3 * std::sin(angle * 2);
    const std::time_t when = first + 10 * i;
    std::tm parts{};
    gmtime_r(&when, &parts);
    char line[200];
    std::snprintf(
        line, sizeof line,
        "<trkpt lat=\"%.6f\" lon=\"%.6f\"><ele>%.1f</ele><time>%04d-%02d-%02dT%02d:%02d:%02dZ</time></trkpt>\n", lat,
        lon, ele, parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    gpx += line;
  }
  return gpx + "</trkseg></trk></gpx>\n";
}

std::string PhotographJpeg(int width, int height, int hue, const std::string& shot, double latitude, double longitude) {
  hakuvo::TPixelImage image(width, height, hakuvo::pfRgb32);
  const double tint = hue * kPi / 180;
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(image.Bits() + y * image.Stride());
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width;
      const double v = static_cast<double>(y) / height;
      const double horizon = 0.55 + 0.05 * std::sin(u * 2 * kPi);
      if (v < horizon) {
        // Sky, lighter towards the horizon, with a sun.
        const double sun = std::exp(-(std::pow(u - 0.75, 2) + std::pow(v - 0.2, 2)) * 60);
        row[x] = Rgb(0.35 + 0.4 * v + sun + 0.1 * std::cos(tint), 0.55 + 0.35 * v + sun, 0.9 + sun);
      } else {
        // Grass, and a path running into the distance.
        const double path = std::fabs(u - 0.5) < (v - horizon) * 0.8 ? 1 : 0;
        row[x] = path > 0 ? Rgb(0.75, 0.68, 0.55) : Rgb(0.25 + 0.1 * std::sin(tint), 0.5 + 0.2 * (v - horizon), 0.2);
      }
    }
  }
  const std::string encoded = hakuvo::EncodeJpeg(image.Rows(), 90);
  const std::string segment = std::string("Exif\0\0", 6) + ExifBlock(shot, latitude, longitude);
  const unsigned length = static_cast<unsigned>(segment.size() + 2);
  std::string app1 = "\xFF\xE1";
  app1 += static_cast<char>(length >> 8);
  app1 += static_cast<char>(length & 0xFF);
  // The Exif block goes right after the start-of-image marker, where readers look for it.
  return encoded.substr(0, 2) + app1 + segment + encoded.substr(2);
}

}  // namespace sample_media
