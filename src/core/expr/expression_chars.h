#pragma once

namespace hakuvo {

// Whether a code point is a letter (general category L: Lu, Ll, Lt, Lm or Lo), which is what
// starts and continues a word of a formula.
bool IsUnicodeLetter(char32_t code);

}  // namespace hakuvo
