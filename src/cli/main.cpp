#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/messages.h"
#include "core/expr/expression.h"
#include "core/expr/expression_messages.h"

namespace hakuvo::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

namespace {

void PrintUsage(std::ostream& out) {
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.Name < b.Name; });
  out << "usage: hakuvo-cli COMMAND [ARGS...]\n"
         "       hakuvo-cli --help | --version\n\n"
      << Text(msgHelpHeader) << "\n";
  for (const auto& command : commands) {
    out << "  " << command.Name << (command.Usage.empty() ? "" : " " + command.Usage) << "\n      " << command.Summary
        << "\n";
  }
}

}  // namespace

std::string ErrorLine(std::string_view message) {
  std::string line = "error: ";
  bool pendingBreak = false;
  for (const char c : message) {
    if (c == '\n' || c == '\r') {
      pendingBreak = true;
      continue;
    }
    if (pendingBreak && line.size() > 7) line += "; ";
    pendingBreak = false;
    line += c;
  }
  return line;
}

void PrintError(std::string_view message) { std::cerr << ErrorLine(message) << "\n"; }

}  // namespace hakuvo::cli

int main(int argc, char** argv) {
  using namespace hakuvo::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintError(Text(msgExpectedCommand));
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(std::cout);
    return 0;
  }
  if (args[0] == "--version") {
    std::cout << "hakuvo-cli " << HAKUVO_VERSION << "\n";
    return 0;
  }
  const auto& commands = Commands();
  const auto found =
      std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return c.Name == args[0]; });
  if (found == commands.end()) {
    PrintError(Text(msgUnknownCommand, {args[0]}));
    return 2;
  }
  try {
    return found->Run(std::vector<std::string>(args.begin() + 1, args.end()));
  } catch (const UsageError& error) {
    PrintError(Text(msgUsageLine, {found->Name, error.Message, found->Name, found->Usage}));
    return 2;
  } catch (const hakuvo::EExpressionError& error) {
    PrintError(FormulaErrorText(error));
    return 1;
  } catch (const std::exception& error) {
    PrintError(ErrorText(error));
    return 1;
  }
}
