// The diary loader over arbitrary bytes. A load either fails with EHakuvoError or gives a diary
// whose saved document loads back and saves to the very same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/hakuvo_error.h"
#include "core/datafile/diary.h"

namespace {

struct TObjects : hakuvo::TDiary {
  TObjects() : hakuvo::TDiary("fuzz.hkvj") {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TObjects first;
  try {
    first.File.LoadFromString(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const hakuvo::EHakuvoError&) {
    return 0;
  }
  const std::string saved = first.File.SaveToString();
  TObjects second;
  second.File.LoadFromString(saved);  // an error here escapes and is reported
  if (second.File.SaveToString() != saved) __builtin_trap();
  return 0;
}
