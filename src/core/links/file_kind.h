#pragma once

#include <string_view>

namespace hakuvo {

// Kinds of linked files, told apart by the extension alone (the text from the last "." on,
// letter case ignored); the content is never looked at.
bool IsJpegFile(std::string_view fileName);   // .jpg .jpeg .jpe
bool IsImageFile(std::string_view fileName);  // .gif .png .bmp .ico or a JPEG
bool IsNmeaFile(std::string_view fileName);   // .nma .nmea .log
bool IsGpxFile(std::string_view fileName);    // .gpx
bool IsKmlFile(std::string_view fileName);    // .kml
bool IsFitFile(std::string_view fileName);    // .fit
bool IsTcxFile(std::string_view fileName);    // .tcx
// A track file: GPX, KML, NMEA, FIT or TCX.
bool IsGpsFile(std::string_view fileName);

}  // namespace hakuvo
