#pragma once

#include <string>
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

// Prints cells joined by tabs and a line end.
void PrintRow(const std::vector<std::string>& cells);

}  // namespace hakuvo::cli
