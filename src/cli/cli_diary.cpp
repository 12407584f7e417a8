#include "cli/cli_diary.h"

#include <algorithm>
#include <iostream>

#include "cli/cli_command.h"
#include "cli/messages.h"

namespace hakuvo::cli {

bool Arguments::Has(const std::string& name) const {
  return std::any_of(Options.begin(), Options.end(), [&](const auto& o) { return o.first == name; });
}

std::string Arguments::Value(const std::string& name, const std::string& fallback) const {
  for (const auto& option : Options) {
    if (option.first == name) return option.second;
  }
  return fallback;
}

Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags) {
  Arguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 2 && arg.rfind("--", 0) == 0) {
      if (std::find(valued.begin(), valued.end(), arg) != valued.end()) {
        if (i + 1 >= args.size()) throw UsageError{Text(msgNeedsValue, {arg})};
        parsed.Options.emplace_back(arg, args[++i]);
        continue;
      }
      if (std::find(flags.begin(), flags.end(), arg) != flags.end()) {
        parsed.Options.emplace_back(arg, "");
        continue;
      }
      throw UsageError{Text(msgUnknownOption, {arg})};
    }
    parsed.Positional.push_back(arg);
  }
  return parsed;
}

std::string EscapeCell(std::string_view cell) {
  std::string escaped;
  escaped.reserve(cell.size());
  for (const char c : cell) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

void PrintRow(const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) std::cout << '\t';
    std::cout << EscapeCell(cells[i]);
  }
  std::cout << '\n';
}

}  // namespace hakuvo::cli
