#pragma once

#include <string>
#include <string_view>

namespace hakuvo {

// Conversions between the core's UTF-8 text and UTF-16. Every function accepts any input.
//
// The core's strings are bytes that are mostly UTF-8, and some are not: a Linux file name is any
// bytes, and a diary named in Latin-1 or Shift_JIS must still be found again after its name went
// through the UTF-16 settings file. So a byte that is not part of a well-formed UTF-8 sequence
// (stray or overlong bytes, encoded surrogates, code points above U+10FFFF) goes to UTF-16 as
// the unpaired low surrogate U+DC00 + byte (U+DC80 to U+DCFF), and such a surrogate comes back
// as that very byte: bytes -> UTF-16 -> bytes gives back the bytes, whatever they are. Any other
// unpaired surrogate, which this program never writes, becomes U+FFFD.

constexpr char32_t ReplacementCharacter = 0xFFFD;

bool IsValidUtf8(std::string_view text);
// The text with every ill-formed byte replaced by U+FFFD, for showing it or quoting it in a
// message.
std::string SanitizeUtf8(std::string_view text);

// The same rule for files that must hold well-formed UTF-8 XML (the diary), where a surrogate
// cannot be written: a byte outside well-formed UTF-8, and each byte of a character XML forbids
// even as a reference (control characters other than tab and line breaks, U+FFFE, U+FFFF),
// becomes the private-use code point U+10FF00 + byte; a real character of that range U+10FF00 to
// U+10FFFF, which no name or text has any business holding, has each of its four bytes escaped
// the same way. So every text comes out fit for XML, ordinary text is left as it is, and
// UnescapeUtf8Text gives back exactly the bytes that went in.
std::string EscapeToUtf8Text(std::string_view bytes);
std::string UnescapeUtf8Text(std::string_view text);
// False when the text surely holds no escape (quick, for skipping the unescaping).
bool MayHoldByteEscapes(std::string_view text);
// True when EscapeToUtf8Text would change the text.
bool NeedsByteEscapes(std::string_view bytes);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Byte forms as files hold them. A trailing odd byte is not a character and is dropped.
std::string Utf16LeBytesToUtf8(std::string_view bytes);
std::string Utf16BeBytesToUtf8(std::string_view bytes);
std::string Utf8ToUtf16LeBytes(std::string_view text, bool withByteOrderMark);

// The text of a file in any Unicode form: a byte-order mark decides between UTF-8, UTF-16LE and
// UTF-16BE; without one, a zero byte beside a non-zero one at the start marks UTF-16 (files
// written by hand or by other tools), and anything else is read as UTF-8, its ill-formed bytes
// kept as they are. `wellFormed`, when given, tells whether the bytes were well-formed text of
// their form (the escaped bytes above count as well-formed UTF-16): when not, the text is not
// what whoever wrote the file meant (a Shift_JIS file, a damaged one), and the file is worth
// keeping before it is written over.
std::string DecodeUnicodeText(std::string_view bytes, bool* wellFormed = nullptr);

}  // namespace hakuvo
