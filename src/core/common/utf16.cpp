#include "core/common/utf16.h"

namespace hakuvo {

namespace {

constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Decodes one code point at `pos` and advances past it; an ill-formed sequence yields U+FFFD
// and advances by one byte, so the next lead byte is not swallowed.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  }
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return ReplacementCharacter;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return ReplacementCharacter;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || IsHighSurrogate(value) || IsLowSurrogate(value)) {
    ++pos;
    return ReplacementCharacter;
  }
  pos += length;
  return value;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes UTF-16 units delivered by `unitAt(i)` for i < count.
template <typename UnitAt>
std::string DecodeUtf16(std::size_t count, UnitAt unitAt) {
  std::string out;
  out.reserve(count * 3 / 2);
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = unitAt(i);
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(unitAt(i + 1))) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, ReplacementCharacter);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    // An ill-formed sequence advances by one byte; an encoded U+FFFD itself takes three.
    if (NextCodePoint(text, pos) == ReplacementCharacter && pos - start == 1) return false;
  }
  return true;
}

std::string SanitizeUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t pos = 0; pos < text.size();) AppendUtf8(out, NextCodePoint(text, pos));
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = NextCodePoint(text, pos);
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  return DecodeUtf16(text.size(), [&](std::size_t i) { return static_cast<char32_t>(text[i]); });
}

std::string Utf16LeBytesToUtf8(std::string_view bytes) {
  return DecodeUtf16(bytes.size() / 2, [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  });
}

std::string Utf16BeBytesToUtf8(std::string_view bytes) {
  return DecodeUtf16(bytes.size() / 2, [&](std::size_t i) {
    return static_cast<char32_t>((static_cast<unsigned char>(bytes[2 * i]) << 8) |
                                 static_cast<unsigned char>(bytes[2 * i + 1]));
  });
}

std::string Utf8ToUtf16LeBytes(std::string_view text, bool withByteOrderMark) {
  const std::u16string units = Utf8ToUtf16(text);
  std::string out;
  out.reserve(units.size() * 2 + 2);
  if (withByteOrderMark) out += "\xFF\xFE";
  for (const char16_t unit : units) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

std::string DecodeUnicodeText(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return Utf16LeBytesToUtf8(bytes.substr(2));
  if (bytes.starts_with("\xFE\xFF")) return Utf16BeBytesToUtf8(bytes.substr(2));
  if (bytes.starts_with("\xEF\xBB\xBF")) return SanitizeUtf8(bytes.substr(3));
  if (bytes.size() >= 2) {
    const bool firstZero = bytes[0] == '\0';
    const bool secondZero = bytes[1] == '\0';
    if (!firstZero && secondZero) return Utf16LeBytesToUtf8(bytes);
    if (firstZero && !secondZero) return Utf16BeBytesToUtf8(bytes);
  }
  return SanitizeUtf8(bytes);
}

}  // namespace hakuvo
