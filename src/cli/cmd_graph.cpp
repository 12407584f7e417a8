#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "core/common/number_format.h"
#include "core/graph/graph_calc_data.h"

namespace hakuvo::cli {
namespace {

int RunGraph(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {"--period", "--category", "--kind"}, {});
  if (parsed.Positional.size() != 1) throw UsageError{"give one diary file"};
  if (!parsed.Has("--category")) throw UsageError{"--category is required"};
  const std::string period = parsed.Value("--period", "day");
  std::unique_ptr<TGraphCalcData> calc;
  if (period == "day") {
    calc = std::make_unique<TGraphCalcDayData>();
  } else if (period == "month") {
    calc = std::make_unique<TGraphCalcMonthData>();
  } else if (period == "year") {
    calc = std::make_unique<TGraphCalcYearData>();
  } else if (period == "act") {
    calc = std::make_unique<TGraphCalcActData>();
  } else {
    throw UsageError{"--period is day, month, year or act"};
  }
  int kind = -1;
  if (parsed.Has("--kind") && (!TryParseInt(parsed.Value("--kind"), kind) || kind < -1)) {
    throw UsageError{"--kind is a record index (0 count, 1 main value, 2 speed, ...) or -1"};
  }

  Diary diary(parsed.Positional[0]);
  diary.Load();
  diary.Days.DateSort();
  calc->SetDayDataList(&diary.Days);
  calc->SetCategoryInfoList(diary.Categories.get());
  calc->SetCategory(parsed.Value("--category"));
  calc->SetRecordKind(kind);
  calc->Calc();

  auto* acts = dynamic_cast<TGraphCalcActData*>(calc.get());
  PrintRow(acts != nullptr ? std::vector<std::string>{"date", "title", "value"}
                           : std::vector<std::string>{"date", "value"});
  for (int i = 0; i < calc->DataCount(); ++i) {
    std::vector<std::string> row = {DateToStr(calc->GetTime(i))};
    if (acts != nullptr) row.push_back(acts->GetTitle(i));
    row.push_back(FormatGeneral(calc->GetData(i)));
    PrintRow(row);
  }
  return 0;
}

const Registrar registrar({"graph", "DIARY --period day|month|year|act --category NAME [--kind K]",
                           "the series of a day, month, year or per-outing graph", RunGraph});

}  // namespace
}  // namespace hakuvo::cli
