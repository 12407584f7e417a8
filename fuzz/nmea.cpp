// NMEA log reader on arbitrary bytes, with and without a reading window.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/common/hakuvo_error.h"
#include "core/gps/nmea_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int windowed = 0; windowed < 2; ++windowed) {
    hakuvo::TNmeaFile track;
    if (windowed) {
      track.SetStartPos(40000);
      track.SetEndPos(50000);
    }
    try {
      track.ReadFromMemory(text);
    } catch (const hakuvo::EHakuvoError&) {
      // A GGA-only log with a field that is not a number: an error is the expected answer.
    }
    (void)track.TotalDistance();
  }
  return 0;
}
