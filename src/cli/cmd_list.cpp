#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "core/model/act_list_rows.h"

namespace hakuvo::cli {
namespace {

int RunList(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {}, {"--energy"});
  if (parsed.Positional.size() != 1) throw UsageError{"give one diary file"};
  Diary diary(parsed.Positional[0]);
  diary.Load();
  const bool energy = parsed.Has("--energy");
  const auto columns = ActListColumns(energy);
  std::vector<std::string> header;
  for (const auto& column : columns) header.push_back(column.Caption);
  PrintRow(header);
  for (auto& row : BuildActListRows(diary.Days, energy)) {
    // The list shows as many texts as it has columns (a walking record's steps fall outside).
    row.Texts.resize(columns.size());
    PrintRow(row.Texts);
  }
  return 0;
}

const Registrar registrar({"list", "DIARY [--energy]",
                           "the outing list of a diary as a table (as the main window shows it)", RunList});

}  // namespace
}  // namespace hakuvo::cli
