#include "core/common/utf16.h"

namespace hakuvo {

namespace {

constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Where a byte outside well-formed UTF-8 goes in UTF-16. Such a byte is always 0x80 or above
// (ASCII is always well-formed), so the escapes are U+DC80 to U+DCFF.
constexpr char32_t EscapeBase = 0xDC00;
constexpr bool IsEscapedByte(char32_t unit) { return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF; }

// What NextCodePoint gives for a byte that starts no well-formed sequence; no code point has it.
constexpr char32_t IllFormed = 0xFFFFFFFF;

// Decodes one code point at `pos` and advances past it; an ill-formed sequence yields IllFormed
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
    return IllFormed;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return IllFormed;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || IsHighSurrogate(value) || IsLowSurrogate(value)) {
    ++pos;
    return IllFormed;
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

// Decodes UTF-16 units delivered by `unitAt(i)` for i < count; `wellFormed` is cleared when a
// unit had to become U+FFFD.
template <typename UnitAt>
std::string DecodeUtf16(std::size_t count, UnitAt unitAt, bool& wellFormed) {
  std::string out;
  out.reserve(count * 3 / 2);
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = unitAt(i);
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(unitAt(i + 1))) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
      ++i;
    } else if (IsEscapedByte(unit)) {
      out += static_cast<char>(unit - EscapeBase);
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, ReplacementCharacter);
      wellFormed = false;
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

char32_t LeUnit(std::string_view bytes, std::size_t i) {
  return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                               (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
}
char32_t BeUnit(std::string_view bytes, std::size_t i) {
  return static_cast<char32_t>((static_cast<unsigned char>(bytes[2 * i]) << 8) |
                               static_cast<unsigned char>(bytes[2 * i + 1]));
}

std::string DecodeUtf16Bytes(std::string_view bytes, bool bigEndian, bool& wellFormed) {
  // A trailing odd byte is half a character: dropped, and the text is not what was written.
  if (bytes.size() % 2 != 0) wellFormed = false;
  const auto unitAt = [&](std::size_t i) { return bigEndian ? BeUnit(bytes, i) : LeUnit(bytes, i); };
  return DecodeUtf16(bytes.size() / 2, unitAt, wellFormed);
}

}  // namespace

namespace {

constexpr char32_t ByteEscapeBase = 0x10FF00;
constexpr bool IsByteEscape(char32_t c) { return c >= ByteEscapeBase && c <= ByteEscapeBase + 0xFF; }

// What XML 1.0 allows in a document, even as a character reference: not the control characters
// other than tab, line feed and carriage return, and not U+FFFE or U+FFFF.
constexpr bool IsXmlCharacter(char32_t c) {
  return c >= 0x20 ? c != 0xFFFE && c != 0xFFFF : c == 0x09 || c == 0x0A || c == 0x0D;
}

constexpr bool NeedsEscape(char32_t c) { return c == IllFormed || IsByteEscape(c) || !IsXmlCharacter(c); }

}  // namespace

bool NeedsByteEscapes(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    if (NeedsEscape(NextCodePoint(bytes, pos))) return true;
  }
  return false;
}

std::string EscapeToUtf8Text(std::string_view bytes) {
  if (!NeedsByteEscapes(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    if (!NeedsEscape(NextCodePoint(bytes, pos))) {
      out.append(bytes.substr(start, pos - start));
      continue;
    }
    // Every byte of what cannot stand as it is.
    for (std::size_t i = start; i < pos; ++i) {
      AppendUtf8(out, ByteEscapeBase + static_cast<unsigned char>(bytes[i]));
    }
  }
  return out;
}

bool MayHoldByteEscapes(std::string_view text) {
  // Every escape is F4 8F BC xx to F4 8F BF xx in UTF-8.
  for (std::size_t at = text.find('\xF4'); at != std::string_view::npos; at = text.find('\xF4', at + 1)) {
    if (at + 2 < text.size() && text[at + 1] == '\x8F' && (static_cast<unsigned char>(text[at + 2]) & 0xFC) == 0xBC) {
      return true;
    }
  }
  return false;
}

std::string UnescapeUtf8Text(std::string_view text) {
  if (!MayHoldByteEscapes(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(text, pos);
    if (IsByteEscape(c)) {
      out += static_cast<char>(c - ByteEscapeBase);
    } else {
      out.append(text.substr(start, pos - start));
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    if (NextCodePoint(text, pos) == IllFormed) return false;
  }
  return true;
}

std::string SanitizeUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = NextCodePoint(text, pos);
    AppendUtf8(out, c == IllFormed ? ReplacementCharacter : c);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(text, pos);
    if (c == IllFormed) {
      out += static_cast<char16_t>(EscapeBase + static_cast<unsigned char>(text[start]));
    } else if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  bool wellFormed = true;
  return DecodeUtf16(
      text.size(), [&](std::size_t i) { return static_cast<char32_t>(text[i]); }, wellFormed);
}

std::string Utf16LeBytesToUtf8(std::string_view bytes) {
  bool wellFormed = true;
  return DecodeUtf16Bytes(bytes, false, wellFormed);
}

std::string Utf16BeBytesToUtf8(std::string_view bytes) {
  bool wellFormed = true;
  return DecodeUtf16Bytes(bytes, true, wellFormed);
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

std::string DecodeUnicodeText(std::string_view bytes, bool* wellFormed) {
  bool ignored = true;
  bool& result = wellFormed != nullptr ? *wellFormed : ignored;
  result = true;
  if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16Bytes(bytes.substr(2), false, result);
  if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16Bytes(bytes.substr(2), true, result);
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  } else if (bytes.size() >= 2) {
    const bool firstZero = bytes[0] == '\0';
    const bool secondZero = bytes[1] == '\0';
    if (!firstZero && secondZero) return DecodeUtf16Bytes(bytes, false, result);
    if (firstZero && !secondZero) return DecodeUtf16Bytes(bytes, true, result);
  }
  // Ill-formed bytes stay as they are: they may be a file name, which the settings keep exactly.
  result = IsValidUtf8(bytes);
  return std::string(bytes);
}

}  // namespace hakuvo
