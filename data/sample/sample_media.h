#pragma once

#include <string>

// The track and photographs that come with the sample diaries, made here rather than taken from
// anyone's outing: a GPX of a loop run and JPEG pictures that carry their shooting time and
// position in Exif, as a camera writes them.
namespace sample_media {

struct TFix {
  double Latitude;
  double Longitude;
  double Altitude;
  std::string Time;  // xsd:dateTime in UTC
};

// A loop of `points` fixes around a park, one every 10 s from `startUtc` ("2026-11-28T21:15:00Z").
std::string LoopTrackGpx(const std::string& startUtc, int points, double latitude, double longitude);

// A width x height picture (a sky over a path, tinted by `hue` 0..359) with an Exif block that
// holds `shot` ("yyyy:mm:dd hh:mm:ss", local time) and the position.
std::string PhotographJpeg(int width, int height, int hue, const std::string& shot, double latitude, double longitude);

}  // namespace sample_media
