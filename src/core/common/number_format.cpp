#include "core/common/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace hakuvo {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Decimals with at most 19 significant digits and a small exponent, as files hold them, are read
// exactly without the C library: the digits and the power of ten are both exact in an 80-bit
// float, so one multiplication or division rounds once, as from_chars does (which goes through
// the much slower strtold for long double). Anything else answers false and takes that path.
constexpr int kExtendedDigits = std::numeric_limits<Extended>::digits;
constexpr int kMaxExactPower = kExtendedDigits >= 64 ? 27 : kExtendedDigits >= 53 ? 22 : -1;
constexpr std::uint64_t kMaxExactDigits =
    kExtendedDigits >= 64 ? std::numeric_limits<std::uint64_t>::max() : (std::uint64_t{1} << 53);

constexpr Extended PowerOfTen(int exponent) {
  Extended value = 1;
  for (int i = 0; i < exponent; ++i) value *= 10;
  return value;
}

bool TryParseExactDecimal(std::string_view text, Extended& value) {
  if (kMaxExactPower < 0) return false;
  static constexpr auto kPowers = [] {
    std::array<Extended, 28> powers{};
    for (int i = 0; i < 28; ++i) powers[static_cast<std::size_t>(i)] = PowerOfTen(i);
    return powers;
  }();
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  std::uint64_t digits = 0;
  int count = 0;  // significant digits taken
  int exponent = 0;
  bool any = false;
  const auto take = [&](char c) {
    any = true;
    if (digits == 0 && c == '0') return true;  // leading zeros carry nothing
    if (count == 19) return false;
    digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    ++count;
    return true;
  };
  for (; p != end && *p >= '0' && *p <= '9'; ++p) {
    if (!take(*p)) return false;
  }
  if (p != end && *p == '.') {
    for (++p; p != end && *p >= '0' && *p <= '9'; ++p) {
      if (!take(*p)) return false;
      --exponent;
    }
  }
  if (!any) return false;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negativeExponent = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    int written = 0;
    int places = 0;
    for (; p != end && *p >= '0' && *p <= '9' && places < 4; ++p, ++places) written = written * 10 + (*p - '0');
    if (places == 0) return false;
    exponent += negativeExponent ? -written : written;
  }
  if (p != end) return false;
  if (digits == 0) {
    value = negative ? -0.0L : 0.0L;
    return true;
  }
  if (exponent < -kMaxExactPower || exponent > kMaxExactPower || digits > kMaxExactDigits) return false;
  const Extended significand = static_cast<Extended>(digits);
  const Extended result = exponent < 0 ? significand / kPowers[static_cast<std::size_t>(-exponent)]
                                       : significand * kPowers[static_cast<std::size_t>(exponent)];
  value = negative ? -result : result;
  return true;
}

// The 15 significant digits of a positive value as one integer (10^14 <= digits < 10^15) and the
// decimal exponent of the first, rounded once to nearest with ties to even, as printf rounds: exact
// integer arithmetic on the 64-bit significand, some twenty times quicker than printf. Serves
// values from about 1E-5 to 1.8E19 (false outside, and for other float formats).
__extension__ typedef unsigned __int128 TUInt128;

bool TryRound15Digits(Extended magnitude, std::uint64_t& digits, int& exponent) {
  if (std::numeric_limits<Extended>::digits != 64) return false;
  static constexpr std::uint64_t kLow = 100000000000000ull;  // 10^14
  static constexpr std::uint64_t kHigh = kLow * 10;          // 10^15
  static constexpr auto kPowers = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (auto& p : powers) {
      p = power;
      power *= 10;
    }
    return powers;
  }();
  std::uint64_t significand = 0;
  int binaryExponent = 0;  // magnitude = significand / 2^64 * 2^binaryExponent, as frexp gives it
#if defined(__x86_64__) || defined(__i386__)
  // The 80-bit format keeps the significand with its leading bit in the low eight bytes and the
  // biased exponent in the next two: read them instead of calling frexp and ldexp, which cost as
  // much as the rest of this function.
  std::uint16_t signAndExponent = 0;
  std::memcpy(&significand, &magnitude, sizeof significand);
  std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&magnitude) + 8, sizeof signAndExponent);
  const int biased = signAndExponent & 0x7fff;
  if (biased == 0 || biased == 0x7fff || (significand >> 63) == 0) return false;  // subnormal, not finite
  binaryExponent = biased - 16382;
#else
  const Extended fraction = std::frexp(magnitude, &binaryExponent);  // [0.5, 1)
  significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
#endif
  const int shift = 64 - binaryExponent;  // magnitude = significand / 2^shift
  if (shift <= 0 || shift >= 128) return false;
  const TUInt128 one = 1;
  // floor(log10(2^(binaryExponent - 1))), which is floor(log10(magnitude)) or one less; the loop
  // below corrects it.
  int scale = 14 - (((binaryExponent - 1) * 78913) >> 18);
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (scale < 0 || scale > 19) return false;
    const TUInt128 product = static_cast<TUInt128>(significand) * kPowers[static_cast<std::size_t>(scale)];
    const TUInt128 truncated = product >> shift;
    if (truncated >= kHigh) {
      --scale;
      continue;
    }
    if (truncated < kLow) {
      ++scale;
      continue;
    }
    auto result = static_cast<std::uint64_t>(truncated);
    const TUInt128 remainder = product & ((one << shift) - 1);
    const TUInt128 half = one << (shift - 1);
    if (remainder > half || (remainder == half && (result & 1) != 0)) ++result;
    exponent = 14 - scale;
    if (result == kHigh) {  // 999...9.5 rounds up to the next power of ten
      result = kLow;
      ++exponent;
    }
    digits = result;
    return true;
  }
  return false;
}

// A positive finite value as its 15 significant digits and the decimal exponent of the first.
struct TDecimal15 {
  char Digits[15];
  int Exponent;
};

// Exactly `count` digits of the value, zeros in front, two at a time.
void WriteDigits(char* out, std::uint32_t value, int count) {
  static constexpr auto kPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
      pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
      pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
  }();
  for (; count >= 2; count -= 2) {
    std::memcpy(out + count - 2, &kPairs[2 * (value % 100)], 2);
    value /= 100;
  }
  if (count == 1) out[0] = static_cast<char>('0' + value % 10);
}

TDecimal15 Decimal15(Extended magnitude) {
  TDecimal15 decimal{};
  std::uint64_t rounded = 0;
  if (TryRound15Digits(magnitude, rounded, decimal.Exponent)) {
    // 10^14 <= rounded < 10^15: seven and eight digits, each half in 32-bit arithmetic.
    WriteDigits(decimal.Digits, static_cast<std::uint32_t>(rounded / 100000000), 7);
    WriteDigits(decimal.Digits + 7, static_cast<std::uint32_t>(rounded % 100000000), 8);
    return decimal;
  }
  char buffer[64];  // "d.dddddddddddddde+ddd"
  std::snprintf(buffer, sizeof buffer, "%.14Le", magnitude);
  decimal.Digits[0] = buffer[0];
  std::memcpy(decimal.Digits + 1, buffer + 2, 14);
  decimal.Exponent = std::atoi(buffer + 17);
  return decimal;
}

void AppendInt(std::string& out, long long value) {
  char buffer[24];
  out.append(buffer, static_cast<std::size_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer));
}

bool AppendNonFinite(std::string& out, Extended value) {
  if (std::isnan(value)) {
    out += "NAN";
  } else if (std::isinf(value)) {
    out += value < 0 ? "-INF" : "INF";
  } else {
    return false;
  }
  return true;
}

}  // namespace

void AppendGeneral(std::string& out, Extended value) {
  if (AppendNonFinite(out, value)) return;
  if (value == 0) {
    out += '0';
    return;
  }
  const TDecimal15 decimal = Decimal15(std::fabs(value));
  const char* const digits = decimal.Digits;
  std::size_t count = 15;
  while (count > 1 && digits[count - 1] == '0') --count;
  const int exponent = decimal.Exponent;
  if (value < 0) out += '-';
  if (exponent >= 15 || exponent < -5) {
    out += digits[0];
    if (count > 1) {
      out += '.';
      out.append(digits + 1, count - 1);
    }
    out += 'E';
    AppendInt(out, exponent);
    return;
  }
  if (exponent < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits, count);
    return;
  }
  const auto intDigits = static_cast<std::size_t>(exponent) + 1;
  if (count <= intDigits) {
    out.append(digits, count);
    out.append(intDigits - count, '0');
  } else {
    out.append(digits, intDigits);
    out += '.';
    out.append(digits + intDigits, count - intDigits);
  }
}

std::string FormatGeneral(Extended value) {
  std::string text;
  AppendGeneral(text, value);
  return text;
}

void AppendFixed(std::string& out, Extended value, int decimals) {
  if (AppendNonFinite(out, value)) return;
  decimals = std::max(decimals, 0);
  const auto places = static_cast<std::size_t>(decimals);
  // The digits of the result in units of 10^-decimals: `kept` and then `zeros` zeros.
  char kept[16];
  std::size_t count = 0;
  std::size_t zeros = 0;
  if (value != 0) {
    const TDecimal15 decimal = Decimal15(std::fabs(value));
    const long long last = static_cast<long long>(decimal.Exponent) + decimals;  // index of the last digit shown
    if (last >= 14) {
      std::memcpy(kept, decimal.Digits, 15);
      count = 15;
      zeros = static_cast<std::size_t>(last - 14);
    } else if (last >= -1) {
      count = static_cast<std::size_t>(last + 1);
      std::memcpy(kept, decimal.Digits, count);
      if (decimal.Digits[count] >= '5') {  // half a unit or more: away from zero
        std::size_t i = count;
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i > 0) {
          ++kept[i - 1];
        } else {
          std::memmove(kept + 1, kept, count);
          kept[0] = '1';
          ++count;
        }
      }
    }
  }
  const std::size_t length = count + zeros;
  if (length > 0 && value < 0) out += '-';
  const auto append = [&](std::size_t from, std::size_t to) {  // digits [from, to) of the result
    if (from < count) {
      const std::size_t end = std::min(to, count);
      out.append(kept + from, end - from);
      from = end;
    }
    if (to > from) out.append(to - from, '0');
  };
  if (length <= places) {
    out += '0';
    if (places == 0) return;
    out += '.';
    out.append(places - length, '0');
    append(0, length);
    return;
  }
  append(0, length - places);
  if (places == 0) return;
  out += '.';
  append(length - places, length);
}

std::string FormatFixed(Extended value, int decimals) {
  std::string text;
  AppendFixed(text, value, decimals);
  return text;
}

void AppendPadded(std::string& out, long long value, int width) {
  const unsigned long long magnitude =
      value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  char digits[24];
  const auto count = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  // As printf counts it, the width includes the sign.
  std::size_t used = count;
  if (value < 0) {
    out += '-';
    ++used;
  }
  if (width > 0 && static_cast<std::size_t>(width) > used) out.append(static_cast<std::size_t>(width) - used, '0');
  out.append(digits, count);
}

Extended NearestDecimal15(Extended value) {
  static constexpr auto kPowers = [] {
    std::array<Extended, 28> powers{};
    for (int i = 0; i < 28; ++i) powers[static_cast<std::size_t>(i)] = PowerOfTen(i);
    return powers;
  }();
  if (!std::isfinite(value) || value == 0) return value;
  std::uint64_t digits = 0;
  int exponent = 0;
  if (!TryRound15Digits(std::fabs(value), digits, exponent)) {
    const TDecimal15 decimal = Decimal15(std::fabs(value));
    for (const char c : decimal.Digits) digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    exponent = decimal.Exponent;
  }
  const int scale = exponent - 14;
  if (scale < -kMaxExactPower || scale > kMaxExactPower) return value;
  // Both factors are exact, so the one operation rounds once, to the nearest.
  const auto significand = static_cast<Extended>(digits);
  const Extended result = scale < 0 ? significand / kPowers[static_cast<std::size_t>(-scale)]
                                    : significand * kPowers[static_cast<std::size_t>(scale)];
  return value < 0 ? -result : result;
}

bool TryParseNumber(std::string_view text, Extended& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  // The quick path takes plain decimals only, so it needs no check of the characters before it.
  if (TryParseExactDecimal(text, value)) return true;
  // Only digits, sign, point and exponent: from_chars would also take "inf" and "nan".
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
  }
  Extended parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool TryParseNumber(std::string_view text, double& value) {
  Extended parsed = 0;
  if (!TryParseNumber(text, parsed)) return false;
  if (std::fabs(parsed) > std::numeric_limits<double>::max()) return false;
  value = static_cast<double>(parsed);
  return true;
}

bool TryParseInt(std::string_view text, long long& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  long long parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

bool TryParseInt(std::string_view text, int& value) {
  long long parsed = 0;
  if (!TryParseInt(text, parsed) || parsed < std::numeric_limits<int>::min() ||
      parsed > std::numeric_limits<int>::max()) {
    return false;
  }
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace hakuvo
