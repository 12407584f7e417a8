#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "cli/messages.h"
#include "core/search/act_search.h"

namespace hakuvo::cli {
namespace {

int RunExtract(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {"--category"}, {"--energy"});
  if (parsed.Positional.empty() || parsed.Positional.size() > 2) {
    throw UsageError{Text(msgDiaryAndCondition)};
  }
  if (!parsed.Has("--category")) throw UsageError{Text(msgCategoryRequired)};
  Diary diary(parsed.Positional[0]);
  diary.Load();
  const std::string condition = parsed.Positional.size() == 2 ? parsed.Positional[1] : std::string();
  TActCategorySearch search(parsed.Value("--category"), condition, *diary.Categories, parsed.Has("--energy"));
  TActTable table;
  FillActTable(table, diary.Days, search);
  std::vector<std::string> header;
  for (const auto& column : table.Columns) header.push_back(column.Caption);
  PrintRow(header);
  for (const auto& row : table.Rows) PrintRow(row.Cells);
  return 0;
}

const Registrar registrar({"extract", "DIARY --category NAME [--energy] [CONDITION]",
                           "the outings of a category that meet a condition (search words and =formulas, "
                           "separated by ;)",
                           RunExtract});

}  // namespace
}  // namespace hakuvo::cli
