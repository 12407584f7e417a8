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

// More than any window shows of one text on one line (a few screens wide).
constexpr std::size_t kDisplayTextBytes = 2000;

// A text as a window draws it in a list cell, a label or a tip: cut after about maxBytes
// (never inside a character) with "…" added, so that measuring and laying it out cost nothing
// even for a title of millions of characters. The data keeps the whole text.
std::string DisplayPrefix(std::string_view text, std::size_t maxBytes = kDisplayTextBytes);

}  // namespace hakuvo
