#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "core/expr/expression.h"

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
         "The diary's core without a display. Commands:\n";
  for (const auto& command : commands) {
    out << "  " << command.Name << (command.Usage.empty() ? "" : " " + command.Usage) << "\n      " << command.Summary
        << "\n";
  }
}

}  // namespace

}  // namespace hakuvo::cli

int main(int argc, char** argv) {
  using namespace hakuvo::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintUsage(std::cerr);
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
    std::cerr << "hakuvo-cli: unknown command '" << args[0] << "' (see hakuvo-cli --help)\n";
    return 2;
  }
  try {
    return found->Run(std::vector<std::string>(args.begin() + 1, args.end()));
  } catch (const UsageError& error) {
    std::cerr << "hakuvo-cli " << found->Name << ": " << error.Message << "\n"
              << "usage: hakuvo-cli " << found->Name << " " << found->Usage << "\n";
    return 2;
  } catch (const hakuvo::EExpressionError& error) {
    // Every formula error says just "Error"; its number and position are what tell.
    std::cerr << "error: " << hakuvo::ExpressionErrorName(error.ErrorNumber()) << " at " << error.ErrorIndex() << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "error: " << error.what() << "\n";
    return 1;
  }
}
