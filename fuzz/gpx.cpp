// GPX reader on arbitrary bytes: read whole and in pieces, with and without a reading window, the
// two readings must agree.
#include "core/gps/gpx_file.h"
#include "pieced_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return hakuvo::fuzz::CompareWholeAndPieced<hakuvo::TGpxFile>(data, size);
}
