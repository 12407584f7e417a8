#include "core/common/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace hakuvo {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string FormatGeneral(Extended value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  // 15 significant digits, rounded once by the C library; the exponent is the rounded one.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14Le", value);
  std::string text(buffer);
  const std::size_t ePos = text.find('e');
  const int exponent = std::atoi(text.c_str() + ePos + 1);
  const bool negative = text[0] == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
    if (text[i] != '.') digits += text[i];
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string result = negative ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    result += digits[0];
    if (digits.size() > 1) {
      result += '.';
      result.append(digits, 1);
    }
    result += 'E';
    result += std::to_string(exponent);
    return result;
  }
  if (exponent < 0) {
    result += "0.";
    result.append(static_cast<std::size_t>(-exponent - 1), '0');
    result += digits;
    return result;
  }
  const auto intDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= intDigits) {
    result += digits;
    result.append(intDigits - digits.size(), '0');
  } else {
    result.append(digits, 0, intDigits);
    result += '.';
    result.append(digits, intDigits);
  }
  return result;
}

std::string FormatFixed(Extended value, int decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
  std::string text(buffer);
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

bool TryParseNumber(std::string_view text, Extended& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
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
