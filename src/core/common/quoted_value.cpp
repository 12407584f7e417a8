#include "core/common/quoted_value.h"

namespace hakuvo {

namespace {

// Length of the well-formed UTF-8 sequence at the start of `text` (1 to 4), 0 for a byte that
// starts none.
std::size_t SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(0);
  if (first < 0x80) return 1;
  std::size_t length = 0;
  unsigned lowest = 0x80, highest = 0xBF;  // bounds of the second byte
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    if (first == 0xE0) lowest = 0xA0;   // no overlong forms
    if (first == 0xED) highest = 0x9F;  // no surrogates
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    if (first == 0xF0) lowest = 0x90;
    if (first == 0xF4) highest = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < lowest || byte(1) > highest) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

void AppendHexEscape(std::string& out, unsigned char byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

}  // namespace

std::string QuoteValue(std::string_view value, std::size_t limit) {
  std::string out = "\"";
  std::size_t at = 0;
  for (std::size_t characters = 0; at < value.size() && characters < limit; ++characters) {
    const auto c = static_cast<unsigned char>(value[at]);
    const std::size_t length = SequenceLength(value.substr(at));
    if (length == 0) {
      AppendHexEscape(out, c);
      ++at;
      continue;
    }
    if (length == 2 && c == 0xC2 && static_cast<unsigned char>(value[at + 1]) < 0xA0) {
      AppendHexEscape(out, c);  // the C1 controls, U+0080 to U+009F
      AppendHexEscape(out, static_cast<unsigned char>(value[at + 1]));
    } else if (length > 1) {
      out.append(value, at, length);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      AppendHexEscape(out, c);
    } else {
      out += static_cast<char>(c);
    }
    at += length;
  }
  if (at < value.size()) out += "…";
  out += '"';
  if (at < value.size()) out += " (全 " + std::to_string(value.size()) + " バイト)";
  return out;
}

}  // namespace hakuvo
