#include "core/expr/half_width.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace hakuvo {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the sequence at text[pos]; false (and nothing consumed) for bytes that are not one
// well-formed sequence, so that the caller decides what such a byte becomes.
bool DecodeOne(std::string_view text, std::size_t pos, char32_t& code, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(pos);
  if (lead < 0x80) {
    code = lead;
    length = 1;
    return true;
  }
  std::size_t count = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    count = 1, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    count = 2, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    count = 3, value = lead & 0x07, minimum = 0x10000;
  } else {
    return false;
  }
  if (count >= text.size() - pos) return false;
  for (std::size_t i = 1; i <= count; ++i) {
    const std::uint8_t next = byte(pos + i);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  code = value;
  length = count + 1;
  return true;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = kReplacement;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

struct TKanaForm {
  char32_t Wide;
  char32_t Narrow;
  char32_t Mark;  // the voiced or semi-voiced sound mark that follows, 0 for none
};

// Full-width katakana and their punctuation, sorted by the full-width code. ヵ, ヶ, ヮ, ヰ, ヱ,
// ヸ and ヹ have no half-width form and stay as they are.
constexpr TKanaForm kKanaForms[] = {
    {0x3001, 0xFF64, 0x0000}, {0x3002, 0xFF61, 0x0000}, {0x300C, 0xFF62, 0x0000}, {0x300D, 0xFF63, 0x0000},
    {0x3099, 0xFF9E, 0x0000}, {0x309A, 0xFF9F, 0x0000}, {0x309B, 0xFF9E, 0x0000}, {0x309C, 0xFF9F, 0x0000},
    {0x30A1, 0xFF67, 0x0000}, {0x30A2, 0xFF71, 0x0000}, {0x30A3, 0xFF68, 0x0000}, {0x30A4, 0xFF72, 0x0000},
    {0x30A5, 0xFF69, 0x0000}, {0x30A6, 0xFF73, 0x0000}, {0x30A7, 0xFF6A, 0x0000}, {0x30A8, 0xFF74, 0x0000},
    {0x30A9, 0xFF6B, 0x0000}, {0x30AA, 0xFF75, 0x0000}, {0x30AB, 0xFF76, 0x0000}, {0x30AC, 0xFF76, 0xFF9E},
    {0x30AD, 0xFF77, 0x0000}, {0x30AE, 0xFF77, 0xFF9E}, {0x30AF, 0xFF78, 0x0000}, {0x30B0, 0xFF78, 0xFF9E},
    {0x30B1, 0xFF79, 0x0000}, {0x30B2, 0xFF79, 0xFF9E}, {0x30B3, 0xFF7A, 0x0000}, {0x30B4, 0xFF7A, 0xFF9E},
    {0x30B5, 0xFF7B, 0x0000}, {0x30B6, 0xFF7B, 0xFF9E}, {0x30B7, 0xFF7C, 0x0000}, {0x30B8, 0xFF7C, 0xFF9E},
    {0x30B9, 0xFF7D, 0x0000}, {0x30BA, 0xFF7D, 0xFF9E}, {0x30BB, 0xFF7E, 0x0000}, {0x30BC, 0xFF7E, 0xFF9E},
    {0x30BD, 0xFF7F, 0x0000}, {0x30BE, 0xFF7F, 0xFF9E}, {0x30BF, 0xFF80, 0x0000}, {0x30C0, 0xFF80, 0xFF9E},
    {0x30C1, 0xFF81, 0x0000}, {0x30C2, 0xFF81, 0xFF9E}, {0x30C3, 0xFF6F, 0x0000}, {0x30C4, 0xFF82, 0x0000},
    {0x30C5, 0xFF82, 0xFF9E}, {0x30C6, 0xFF83, 0x0000}, {0x30C7, 0xFF83, 0xFF9E}, {0x30C8, 0xFF84, 0x0000},
    {0x30C9, 0xFF84, 0xFF9E}, {0x30CA, 0xFF85, 0x0000}, {0x30CB, 0xFF86, 0x0000}, {0x30CC, 0xFF87, 0x0000},
    {0x30CD, 0xFF88, 0x0000}, {0x30CE, 0xFF89, 0x0000}, {0x30CF, 0xFF8A, 0x0000}, {0x30D0, 0xFF8A, 0xFF9E},
    {0x30D1, 0xFF8A, 0xFF9F}, {0x30D2, 0xFF8B, 0x0000}, {0x30D3, 0xFF8B, 0xFF9E}, {0x30D4, 0xFF8B, 0xFF9F},
    {0x30D5, 0xFF8C, 0x0000}, {0x30D6, 0xFF8C, 0xFF9E}, {0x30D7, 0xFF8C, 0xFF9F}, {0x30D8, 0xFF8D, 0x0000},
    {0x30D9, 0xFF8D, 0xFF9E}, {0x30DA, 0xFF8D, 0xFF9F}, {0x30DB, 0xFF8E, 0x0000}, {0x30DC, 0xFF8E, 0xFF9E},
    {0x30DD, 0xFF8E, 0xFF9F}, {0x30DE, 0xFF8F, 0x0000}, {0x30DF, 0xFF90, 0x0000}, {0x30E0, 0xFF91, 0x0000},
    {0x30E1, 0xFF92, 0x0000}, {0x30E2, 0xFF93, 0x0000}, {0x30E3, 0xFF6C, 0x0000}, {0x30E4, 0xFF94, 0x0000},
    {0x30E5, 0xFF6D, 0x0000}, {0x30E6, 0xFF95, 0x0000}, {0x30E7, 0xFF6E, 0x0000}, {0x30E8, 0xFF96, 0x0000},
    {0x30E9, 0xFF97, 0x0000}, {0x30EA, 0xFF98, 0x0000}, {0x30EB, 0xFF99, 0x0000}, {0x30EC, 0xFF9A, 0x0000},
    {0x30ED, 0xFF9B, 0x0000}, {0x30EF, 0xFF9C, 0x0000}, {0x30F2, 0xFF66, 0x0000}, {0x30F3, 0xFF9D, 0x0000},
    {0x30F4, 0xFF73, 0xFF9E}, {0x30F7, 0xFF9C, 0xFF9E}, {0x30FA, 0xFF66, 0xFF9E}, {0x30FB, 0xFF65, 0x0000},
    {0x30FC, 0xFF70, 0x0000},
};

struct TWideForm {
  char32_t Wide;
  char32_t Narrow;
};

// The full-width characters outside U+FF01-U+FF5E, sorted by the full-width code.
constexpr TWideForm kWideForms[] = {
    {0x3000, 0x0020}, {0xFF5F, 0x2985}, {0xFF60, 0x2986}, {0xFFE0, 0x00A2}, {0xFFE1, 0x00A3},
    {0xFFE2, 0x00AC}, {0xFFE3, 0x00AF}, {0xFFE4, 0x00A6}, {0xFFE5, 0x00A5}, {0xFFE6, 0x20A9},
};

void AppendHalfWidth(std::u32string& out, char32_t code) {
  if (code >= 0xFF01 && code <= 0xFF5E) {
    out += static_cast<char32_t>(code - 0xFF01 + 0x21);
    return;
  }
  const auto wide = std::lower_bound(std::begin(kWideForms), std::end(kWideForms), code,
                                     [](const TWideForm& form, char32_t c) { return form.Wide < c; });
  if (wide != std::end(kWideForms) && wide->Wide == code) {
    out += wide->Narrow;
    return;
  }
  const auto kana = std::lower_bound(std::begin(kKanaForms), std::end(kKanaForms), code,
                                     [](const TKanaForm& form, char32_t c) { return form.Wide < c; });
  if (kana != std::end(kKanaForms) && kana->Wide == code) {
    out += kana->Narrow;
    if (kana->Mark != 0) out += kana->Mark;
    return;
  }
  out += code;
}

}  // namespace

std::u32string Utf8ToUtf32(std::string_view text) {
  std::u32string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t code = 0;
    std::size_t length = 0;
    if (DecodeOne(text, pos, code, length)) {
      result += code;
      pos += length;
    } else {
      result += kReplacement;
      ++pos;
    }
  }
  return result;
}

std::string Utf32ToUtf8(std::u32string_view text) {
  std::string result;
  result.reserve(text.size());
  for (const char32_t code : text) AppendUtf8(result, code);
  return result;
}

std::u32string ToHalfWidth(std::u32string_view text) {
  std::u32string result;
  result.reserve(text.size());
  for (const char32_t code : text) AppendHalfWidth(result, code);
  return result;
}

std::string ToHalfWidth(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  std::u32string mapped;
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t code = 0;
    std::size_t length = 0;
    if (!DecodeOne(text, pos, code, length)) {
      result += text[pos++];
      continue;
    }
    mapped.clear();
    AppendHalfWidth(mapped, code);
    for (const char32_t narrow : mapped) AppendUtf8(result, narrow);
    pos += length;
  }
  return result;
}

}  // namespace hakuvo
