// TCX reader on arbitrary bytes, with and without a reading window: a malformed document is an
// error that leaves no point, and a window keeps no point the whole reading does not have.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/common/hakuvo_error.h"
#include "core/gps/tcx_file.h"

namespace {

struct Answer {
  int points = 0;
  bool failed = false;
};

Answer Read(std::string_view text, bool windowed) {
  hakuvo::TTcxFile track;
  if (windowed) {
    track.SetStartPos(40000);
    track.SetEndPos(50000);
  }
  Answer answer;
  try {
    track.ReadFromMemory(text);
  } catch (const hakuvo::EHakuvoError&) {
    answer.failed = true;
  }
  answer.points = track.GpsList.Count();
  if (answer.failed && answer.points != 0) __builtin_trap();
  (void)track.TotalDistance();
  return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Answer whole = Read(text, false);
  const Answer windowed = Read(text, true);
  if (whole.failed != windowed.failed || windowed.points > whole.points) __builtin_trap();
  return 0;
}
