#include "core/links/file_kind.h"

#include <algorithm>
#include <initializer_list>

#include "core/common/text_util.h"

namespace hakuvo {

namespace {

// The extension with its dot, or nothing when the name has no dot.
std::string_view ExtensionOf(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
}

bool HasExtension(std::string_view fileName, std::initializer_list<std::string_view> extensions) {
  const std::string_view extension = ExtensionOf(fileName);
  if (extension.empty()) return false;
  return std::any_of(extensions.begin(), extensions.end(),
                     [&](std::string_view candidate) { return SameTextIgnoreCase(extension, candidate); });
}

}  // namespace

bool IsJpegFile(std::string_view fileName) { return HasExtension(fileName, {".jpg", ".jpeg", ".jpe"}); }

bool IsImageFile(std::string_view fileName) {
  return HasExtension(fileName, {".gif", ".png", ".bmp", ".ico"}) || IsJpegFile(fileName);
}

bool IsNmeaFile(std::string_view fileName) { return HasExtension(fileName, {".nma", ".nmea", ".log"}); }

bool IsGpxFile(std::string_view fileName) { return HasExtension(fileName, {".gpx"}); }

bool IsKmlFile(std::string_view fileName) { return HasExtension(fileName, {".kml"}); }

bool IsFitFile(std::string_view fileName) { return HasExtension(fileName, {".fit"}); }

bool IsTcxFile(std::string_view fileName) { return HasExtension(fileName, {".tcx"}); }

bool IsGpsFile(std::string_view fileName) {
  return IsGpxFile(fileName) || IsKmlFile(fileName) || IsNmeaFile(fileName) || IsFitFile(fileName) ||
         IsTcxFile(fileName);
}

}  // namespace hakuvo
