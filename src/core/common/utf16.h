#pragma once

#include <string>
#include <string_view>

namespace hakuvo {

// Conversions between the core's UTF-8 text and UTF-16. Every function accepts any input:
// what is not well-formed (stray or overlong UTF-8 bytes, encoded surrogates, code points above
// U+10FFFF, unpaired UTF-16 surrogates) becomes U+FFFD, so every result is well-formed.

constexpr char32_t ReplacementCharacter = 0xFFFD;

bool IsValidUtf8(std::string_view text);
// The text with every ill-formed byte replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Byte forms as files hold them. A trailing odd byte is not a character and is dropped.
std::string Utf16LeBytesToUtf8(std::string_view bytes);
std::string Utf16BeBytesToUtf8(std::string_view bytes);
std::string Utf8ToUtf16LeBytes(std::string_view text, bool withByteOrderMark);

// The text of a file in any Unicode form: a byte-order mark decides between UTF-8, UTF-16LE and
// UTF-16BE; without one, a zero byte beside a non-zero one at the start marks UTF-16 (files
// written by hand or by other tools), and anything else is read as UTF-8.
std::string DecodeUnicodeText(std::string_view bytes);

}  // namespace hakuvo
