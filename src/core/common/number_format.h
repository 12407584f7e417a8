#pragma once

#include <string>
#include <string_view>

#include "core/common/extended.h"

namespace hakuvo {

// Shortest general form with up to 15 significant digits, "." as the decimal point and an
// exponent written like 1E-7 or 1.5E20 (fixed notation for 1E-5 <= |v| < 1E15). Infinite and
// undefined values print as "INF", "-INF" and "NAN".
std::string FormatGeneral(Extended value);

// Fixed notation with the given number of decimals ("%.1f" and the like), "." as the point.
// A result that rounds to zero never carries a minus sign.
std::string FormatFixed(Extended value, int decimals);

// Reads a whole text as a number, independent of the process locale: optional blanks around it,
// an optional sign, digits with "." and an optional exponent. Returns false for anything else,
// including infinities and undefined values.
bool TryParseNumber(std::string_view text, Extended& value);
bool TryParseNumber(std::string_view text, double& value);
bool TryParseInt(std::string_view text, long long& value);
bool TryParseInt(std::string_view text, int& value);

}  // namespace hakuvo
