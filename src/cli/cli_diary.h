#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/datafile/diary.h"

namespace hakuvo::cli {

using Diary = TDiary;

// Options of the form --name VALUE or --flag; everything else is positional.
struct Arguments {
  std::vector<std::string> Positional;
  std::vector<std::pair<std::string, std::string>> Options;

  bool Has(const std::string& name) const;
  std::string Value(const std::string& name, const std::string& fallback = "") const;
};

// `valued` lists the options that take a value; an unknown option is a usage error.
Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags);

// A table cell on one line: a backslash, tab, line feed or carriage return inside it becomes
// "\\", "\t", "\n" or "\r", so a file name or title holding one keeps its row whole.
std::string EscapeCell(std::string_view cell);

// Prints cells joined by tabs and a line end, each escaped.
void PrintRow(const std::vector<std::string>& cells);

}  // namespace hakuvo::cli
