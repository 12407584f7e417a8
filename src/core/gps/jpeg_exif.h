#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"

namespace hakuvo {

// The file does not begin with the JPEG start-of-image marker.
class ENotJpegFileError : public EHakuvoError {
 public:
  ENotJpegFileError() : EHakuvoError("Not Jpeg") {}
};

// No Exif APP1 segment comes before the start of the compressed picture.
class EJpegExifError : public EHakuvoError {
 public:
  EJpegExifError() : EHakuvoError("Not Exif") {}
};

// Shooting time, camera orientation and GPS position of a JPEG photograph, read straight from
// its Exif (TIFF) block. Photographs are untrusted: every offset and count is checked before it
// is followed, so a damaged or hostile file ends in an exception, never in a wild read.
class TJpegExif {
 public:
  const std::string& FileName() const { return FFileName; }
  // Clears every value and reads the file at once; errors go to the caller.
  void SetFileName(const std::string& fileName);
  // Reads a photograph already in memory (FileName becomes empty); errors go to the caller.
  void ReadBuffer(const std::uint8_t* data, std::size_t size);

  TDateTime DateTime() const { return FDateTime; }
  // The shooting time, or the IFD0 date-time when the camera wrote none.
  TDateTime DateTimeOriginal() const { return FDateTimeOriginal != 0 ? FDateTimeOriginal : FDateTime; }
  // Clockwise rotation in degrees (0, 90, 180, 270) that shows the photograph upright.
  int Orientation() const { return FOrientation; }
  // Signed degrees: south and west are negative.
  double GpsLatitude() const { return FGpsLatitude; }
  double GpsLongitude() const { return FGpsLongitude; }

 private:
  class TParser;

  void Clear();

  std::string FFileName;
  TDateTime FDateTime = 0;
  TDateTime FDateTimeOriginal = 0;
  int FOrientation = 0;
  double FGpsLatitude = 0;
  double FGpsLongitude = 0;
};

// These answer 0 (or false) when the photograph cannot be read for any reason.
TDateTime ExifDateTimeOriginal(const std::string& fileName);
int ExifOrientation(const std::string& fileName);
// True when either coordinate is non-zero; both are 0 when the photograph gives none.
bool ExifPosition(const std::string& fileName, double& latitude, double& longitude);

}  // namespace hakuvo
