#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hakuvo {

// How many characters of a value a message shows.
constexpr std::size_t kQuotedValueCharacters = 60;

// A value of a file for an error message: in double quotes, at most `limit` characters of it,
// control characters, quotes, backslashes and bytes that are no UTF-8 written as escapes (\n, \t,
// \", \\, \x1B), and a longer value cut with "…" and its whole length in bytes. A message must
// stay a line that a message box shows at once, whatever a damaged file holds.
std::string QuoteValue(std::string_view value, std::size_t limit = kQuotedValueCharacters);

}  // namespace hakuvo
