#pragma once

#include <string>
#include <string_view>

namespace hakuvo {

// Code points of a UTF-8 text; every byte that does not start a valid sequence (stray
// continuation bytes, overlong forms, surrogates, values above U+10FFFF) becomes U+FFFD.
std::u32string Utf8ToUtf32(std::string_view text);
// UTF-8 of code points; surrogates and values above U+10FFFF are written as U+FFFD.
std::string Utf32ToUtf8(std::u32string_view text);

// Half-width forms of Japanese input: full-width ASCII (U+FF01-U+FF5E) becomes ASCII, the
// ideographic space a blank, the other full-width signs (U+FF5F-U+FF60, U+FFE0-U+FFE6) their
// narrow forms, and full-width katakana with their punctuation half-width katakana; a voiced or
// semi-voiced katakana becomes two characters (ガ -> ｶﾞ). Everything else is kept as it is.
std::u32string ToHalfWidth(std::u32string_view text);
// The same over UTF-8; bytes that are not valid UTF-8 are copied unchanged.
std::string ToHalfWidth(std::string_view text);

}  // namespace hakuvo
