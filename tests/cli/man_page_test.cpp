// The manual page of hakuvo-cli against what the program says of itself: every command that
// --help lists has its subsection in the page, and every option of its usage line is described
// there, so that a new command or option cannot ship undocumented.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "support/run_cli.h"

namespace hakuvo {
namespace {

// Command name -> the options its usage line names.
using TCommandOptions = std::map<std::string, std::set<std::string>>;

std::set<std::string> OptionsIn(const std::string& text) {
  static const std::regex option("--[a-z][a-z0-9-]*");
  std::set<std::string> options;
  for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) options.insert(it->str());
  return options;
}

// The commands of --help: a command's line is indented by two spaces, its summary by more.
TCommandOptions HelpCommands(const std::string& help) {
  static const std::regex commandLine("^  ([a-z][a-z0-9-]*)( (.*))?$");
  TCommandOptions commands;
  std::istringstream lines(help);
  std::string line;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (std::regex_match(line, match, commandLine)) commands[match[1]] = OptionsIn(match[3]);
  }
  return commands;
}

// The page as a reader sees its words: "\-" is a hyphen, font changes and the no-break and
// no-hyphenation marks are dropped.
std::string PlainRoff(std::string text) {
  text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
  text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
  return std::regex_replace(text, std::regex(R"(\\[%&])"), "");
}

// Subsection heading (".SS") -> its text, up to the next heading.
std::map<std::string, std::string> Subsections(const std::string& page) {
  std::map<std::string, std::string> sections;
  std::istringstream lines(PlainRoff(page));
  std::string line;
  std::string* current = nullptr;
  while (std::getline(lines, line)) {
    if (line.rfind(".SS ", 0) == 0 || line.rfind(".SH ", 0) == 0) {
      current = nullptr;
      if (line.rfind(".SS ", 0) != 0) continue;
      std::string heading = line.substr(4);
      if (!heading.empty() && heading.front() == '"') heading.erase(0, 1);
      current = &sections[heading];
    }
    if (current != nullptr) *current += line + "\n";
  }
  return sections;
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::string* SectionOf(const std::map<std::string, std::string>& sections, const std::string& command) {
  for (const auto& [heading, text] : sections) {
    if (heading == command || heading.rfind(command + " ", 0) == 0) return &text;
  }
  return nullptr;
}

TEST(ManPage, DescribesEveryCommandAndOptionThatHelpLists) {
  const test::TCliResult help = test::RunCli("--help");
  ASSERT_EQ(help.Status, 0) << help.Out;
  const TCommandOptions commands = HelpCommands(help.Out);
  // The parse itself must see the commands, or the checks below would pass on nothing.
  ASSERT_TRUE(commands.count("list") && commands.count("import") && commands.count("track")) << help.Out;
  ASSERT_TRUE(commands.at("import").count("--again"));

  const std::string page = ReadFile(HAKUVO_MAN_DIR "/hakuvo-cli.1");
  ASSERT_FALSE(page.empty()) << "no page at " HAKUVO_MAN_DIR "/hakuvo-cli.1";
  const auto sections = Subsections(page);
  for (const auto& [command, options] : commands) {
    const std::string* section = SectionOf(sections, command);
    ASSERT_NE(section, nullptr) << "the page has no subsection for the command \"" << command << "\"";
    for (const std::string& option : options) {
      EXPECT_NE(section->find(option), std::string::npos)
          << "the subsection of \"" << command << "\" does not describe " << option;
    }
  }
  const std::string plain = PlainRoff(page);
  for (const char* option : {"--help", "--version"}) EXPECT_NE(plain.find(option), std::string::npos) << option;
}

// The checks above must fail on a page that lacks a command or an option.
TEST(ManPage, ReadingOfPageAndHelpTellsAMissingCommandOrOption) {
  const TCommandOptions commands = HelpCommands(
      "usage: hakuvo-cli COMMAND [ARGS...]\n       hakuvo-cli --help | --version\n\nCommands:\n"
      "  calc FORMULA\n      prints the value\n  list DIARY [--energy] [--pace]\n      the list --of\n");
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands.at("list"), (std::set<std::string>{"--energy", "--pace"}));
  EXPECT_TRUE(commands.at("calc").empty());

  const auto sections = Subsections(
      ".SH COMMANDS\n.SS \"calc \\fIFORMULA\\fP\"\nPrint.\n"
      ".SS \"list \\fIDIARY\\fP [\\-\\-energy]\"\n.TP\n.B \\-\\-energy\nAdd.\n.SH \"EXIT STATUS\"\n--pace\n");
  ASSERT_NE(SectionOf(sections, "calc"), nullptr);
  EXPECT_EQ(SectionOf(sections, "cal"), nullptr);
  EXPECT_EQ(SectionOf(sections, "geotag"), nullptr);
  const std::string* list = SectionOf(sections, "list");
  ASSERT_NE(list, nullptr);
  EXPECT_NE(list->find("--energy"), std::string::npos);
  // An option mentioned only in a later section does not count for the command.
  EXPECT_EQ(list->find("--pace"), std::string::npos);
}

}  // namespace
}  // namespace hakuvo
