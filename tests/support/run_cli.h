#pragma once

// Runs the command-line program built beside the tests (HAKUVO_CLI_PATH, set by the test
// target) through the shell and collects its exit status and its merged output.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace hakuvo::test {

struct TCliResult {
  int Status;
  std::string Out;
};

// Runs the program under the locale named (LC_ALL), so that its messages do not depend on where
// the tests run; "C" gives the English messages.
inline TCliResult RunCliIn(const std::string& locale, const std::string& arguments) {
  // A later "2>FILE" in the arguments overrides the merge.
  const std::string command = "LC_ALL=" + locale + " " + std::string(HAKUVO_CLI_PATH) + " 2>&1 " + arguments;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, ""};
  std::string out;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

inline TCliResult RunCli(const std::string& arguments) { return RunCliIn("C", arguments); }

}  // namespace hakuvo::test
