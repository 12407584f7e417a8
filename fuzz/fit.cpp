// FIT reader on arbitrary bytes, with and without a reading window. A file is read whole or
// refused whole: a refused reading keeps no point, a window keeps no point the whole reading does
// not have, and every point lies on the globe (semicircles can say nothing else).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/common/hakuvo_error.h"
#include "core/gps/fit_file.h"

namespace {

struct Answer {
  int points = 0;
  bool failed = false;
};

Answer Read(std::string_view bytes, bool windowed) {
  hakuvo::TFitFile track;
  if (windowed) {
    track.SetStartPos(40000);
    track.SetEndPos(50000);
  }
  Answer answer;
  try {
    track.ReadFromMemory(bytes);
  } catch (const hakuvo::EHakuvoError&) {
    answer.failed = true;
  }
  answer.points = track.GpsList.Count();
  if (answer.failed && answer.points != 0) __builtin_trap();
  for (const auto& point : track.GpsList) {
    if (point->Latitude() < -180 || point->Latitude() > 180 || point->Longitude() < -180 || point->Longitude() > 180 ||
        point->Altitude() < -500 || point->Altitude() > 1e9) {
      __builtin_trap();
    }
  }
  (void)track.TotalDistance();
  return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Answer whole = Read(bytes, false);
  const Answer windowed = Read(bytes, true);
  if (whole.failed != windowed.failed || windowed.points > whole.points) __builtin_trap();
  return 0;
}
