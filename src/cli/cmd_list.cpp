#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "cli/messages.h"
#include "core/model/act_list_rows.h"

namespace hakuvo::cli {
namespace {

// Rows go out through one kept text buffer, written in large pieces: a 20-year diary has some
// fifteen thousand rows, and a stream call per cell costs as much as making the cell's text.
class TRowWriter {
 public:
  ~TRowWriter() { Flush(); }
  void Cell(std::string_view text, bool first) {
    if (!first) FBuffer.push_back('\t');
    FBuffer.append(text);
  }
  void EndRow() {
    FBuffer.push_back('\n');
    if (FBuffer.size() >= 1 << 16) Flush();
  }
  void Flush() {
    if (!FBuffer.empty()) std::fwrite(FBuffer.data(), 1, FBuffer.size(), stdout);
    FBuffer.clear();
  }

 private:
  std::string FBuffer;
};

int RunList(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {}, {"--energy", "--pace"});
  if (parsed.Positional.size() != 1) throw UsageError{Text(msgOneDiary)};
  Diary diary(parsed.Positional[0]);
  diary.Load();
  const bool energy = parsed.Has("--energy");
  const bool pace = parsed.Has("--pace");
  const auto columns = ActListColumns(energy, pace);
  TRowWriter out;
  for (std::size_t i = 0; i < columns.size(); ++i) out.Cell(columns[i].Caption, i == 0);
  out.EndRow();
  TActListRowTexts texts;
  for (const auto& day : diary.Days) {
    for (const auto& act : day->ActDataList) {
      WriteActListRowTexts(*day, *act, energy, texts, pace);
      // The list shows as many texts as it has columns (a walking record's steps fall outside).
      for (std::size_t i = 0; i < columns.size(); ++i) out.Cell(i < texts.Count() ? texts[i] : "", i == 0);
      out.EndRow();
    }
  }
  out.Flush();
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const Registrar registrar({"list", "DIARY [--energy] [--pace]",
                           "the outing list of a diary as a table (as the main window shows it); --pace adds the "
                           "pace (m:ss per km) of runs and walks",
                           RunList});

}  // namespace
}  // namespace hakuvo::cli
