#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hakuvo::cli {

// Raised for a wrong command line: the program prints the message and the usage, exit status 2.
struct UsageError {
  std::string Message;
};

struct Command {
  std::string Name;
  std::string Usage;    // the arguments, e.g. "FILE"
  std::string Summary;  // one line for --help
  std::function<int(const std::vector<std::string>& args)> Run;
};

// The one form of every error on stderr: a single line "error: MESSAGE", so that a script can
// read one line per failure. The core's messages may span lines (a file name, then the reason);
// each run of line breaks becomes "; ".
std::string ErrorLine(std::string_view message);
void PrintError(std::string_view message);

// Every command file registers itself with a static Registrar, so adding a command touches
// no shared table.
std::vector<Command>& Commands();

struct Registrar {
  explicit Registrar(Command command) { Commands().push_back(std::move(command)); }
};

}  // namespace hakuvo::cli
