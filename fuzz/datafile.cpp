// The diary loader over arbitrary bytes. A load either fails with EHakuvoError or gives a diary
// whose saved document is well-formed UTF-8 XML (any other reader takes it), loads back and
// saves to the very same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/hakuvo_error.h"
#include "core/common/utf16.h"
#include "core/datafile/diary.h"

namespace {

struct TObjects : hakuvo::TDiary {
  TObjects() : hakuvo::TDiary("fuzz.hkvj") {}
};

bool IsXmlCharacter(char32_t c) {
  return c >= 0x20 ? c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF : c == 0x09 || c == 0x0A || c == 0x0D;
}

// Well-formed UTF-8 with only the characters XML 1.0 allows, written out or as references.
bool IsWellFormedXmlText(std::string_view text) {
  if (!hakuvo::IsValidUtf8(text)) return false;
  const std::u16string units = hakuvo::Utf8ToUtf16(text);
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    if (!IsXmlCharacter(c)) return false;
  }
  for (std::size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2)) {
    const bool hex = at + 2 < text.size() && text[at + 2] == 'x';
    char32_t value = 0;
    std::size_t i = at + (hex ? 3 : 2);
    for (; i < text.size() && text[i] != ';'; ++i) {
      const char d = text[i];
      const int digit = d >= '0' && d <= '9'          ? d - '0'
                        : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                        : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                      : -1;
      if (digit < 0 || value > 0x10FFFF) return false;
      value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    }
    if (!IsXmlCharacter(value)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TObjects first;
  try {
    first.File.LoadFromString(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const hakuvo::EHakuvoError&) {
    return 0;
  }
  const std::string saved = first.File.SaveToString();
  if (!IsWellFormedXmlText(saved)) __builtin_trap();
  TObjects second;
  second.File.LoadFromString(saved);  // an error here escapes and is reported
  if (second.File.SaveToString() != saved) __builtin_trap();
  return 0;
}
