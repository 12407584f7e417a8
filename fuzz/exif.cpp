// Feeds arbitrary bytes to the Exif reader: it may refuse them with its own errors, but must never
// read outside the buffer, overflow, loop or allocate without bound.
#include <cstddef>
#include <cstdint>

#include "core/common/hakuvo_error.h"
#include "core/gps/jpeg_exif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hakuvo::TJpegExif exif;
  try {
    exif.ReadBuffer(data, size);
  } catch (const hakuvo::EHakuvoError&) {
    return 0;
  }
  // Touch every value so a broken state shows under the sanitizers.
  volatile double sink =
      exif.DateTime() + exif.DateTimeOriginal() + exif.Orientation() + exif.GpsLatitude() + exif.GpsLongitude();
  (void)sink;
  return 0;
}
