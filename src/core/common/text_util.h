#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hakuvo {

// A memo or any other list of text lines.
using TStringList = std::vector<std::string>;

// The text of a list as the diary keeps it: every line followed by CR LF.
std::string StringsText(const TStringList& lines);
// Splits a text into lines at CR LF, LF or CR; a final line break adds no empty line.
TStringList SplitLines(std::string_view text);

std::string Trim(std::string_view text);
// Lower case of the ASCII letters; other bytes (UTF-8 sequences included) are kept.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
// Compares without regard to the case of ASCII letters: <0, 0, >0.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);
bool SameTextIgnoreCase(std::string_view a, std::string_view b);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);
// Replaces every occurrence of `from` (not empty) by `to`.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

}  // namespace hakuvo
