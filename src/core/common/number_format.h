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
// It rounds as the decimal the value stands for does, half away from zero: the value is first
// taken to 15 significant digits, so that 535.5 computed as 535.49999999999999 still shows "536"
// and 1.45 shows "1.5". A result that rounds to zero never carries a minus sign.
std::string FormatFixed(Extended value, int decimals);

// The same texts appended to `out`: no allocation once `out` has room.
void AppendGeneral(std::string& out, Extended value);
void AppendFixed(std::string& out, Extended value, int decimals);
// An integer with at least `width` digits, zeros in front ("%0*d").
void AppendPadded(std::string& out, long long value, int width);

// The nearest Extended to the value's 15-significant-digit decimal: a value computed a rounding
// or two away from a short decimal (32.2 km/h as 32.199999999999999) becomes that decimal's own
// value again, so that it compares equal to the same decimal written in the code.
Extended NearestDecimal15(Extended value);

// Reads a whole text as a number, independent of the process locale: optional blanks around it,
// an optional sign, digits with "." and an optional exponent. Returns false for anything else,
// including infinities and undefined values.
bool TryParseNumber(std::string_view text, Extended& value);
bool TryParseNumber(std::string_view text, double& value);
bool TryParseInt(std::string_view text, long long& value);
bool TryParseInt(std::string_view text, int& value);

}  // namespace hakuvo
