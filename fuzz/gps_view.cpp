// ".gps" view file loader on arbitrary bytes. What it accepts must save back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/common/hakuvo_error.h"
#include "core/gps/gps_data.h"
#include "core/gps/gps_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  hakuvo::TGpsFile track;
  std::istringstream in(bytes);
  try {
    track.GpsList.LoadFromStream(in);
  } catch (const hakuvo::EHakuvoError&) {
    if (track.GpsList.Count() != 0) std::abort();  // a refused file leaves nothing behind
    return 0;
  }
  std::ostringstream out;
  track.GpsList.SaveToStream(out);
  const std::string saved = out.str();
  if (saved.size() > bytes.size() || bytes.compare(0, saved.size(), saved) != 0) std::abort();
  track.GpsList.CalcLimit();
  track.GpsList.SetTerm(40000, 50000);
  (void)track.TotalDistance();
  return 0;
}
