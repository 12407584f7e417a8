#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "cli/messages.h"
#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/graph/graph_calc_data.h"
#include "core/graph/graph_rules.h"

namespace hakuvo::cli {
namespace {

int ParseKind(const Arguments& parsed, const char* name, int fallback) {
  if (!parsed.Has(name)) return fallback;
  int kind = -1;
  if (!TryParseInt(parsed.Value(name), kind) || kind < -1) {
    throw UsageError{Text(msgKindValues, {name})};
  }
  return kind;
}

// A category is there when it is one of the program's own or some outing uses it by name.
bool HasCategory(const Diary& diary, const std::string& name) {
  if (CategoryTypeFromName(name) != ctUserCategory) return true;
  for (int d = 0; d < diary.Days.Count(); ++d) {
    const TActDataList& acts = diary.Days[d]->ActDataList;
    for (int a = 0; a < acts.Count(); ++a) {
      if (acts[a]->Category == ctUserCategory && acts[a]->UserCategory == name) return true;
    }
  }
  return false;
}

// The date axis the window would have: the graph settings given, narrowed by the options.
TDateAxisRange CopyRange(const Arguments& parsed, const TGraphInfo& settings) {
  TGraphInfo info;
  info.Assign(settings);
  if (parsed.Has("--all")) info.SetDayAxisKind(daAll);
  if (parsed.Has("--term")) {
    int term = 0;
    if (!TryParseInt(parsed.Value("--term"), term) || term < 0) throw UsageError{Text(msgTermValue)};
    info.SetDayAxisKind(daTerm);
    info.SetAxisTerm(term);
  }
  if (parsed.Has("--from") || parsed.Has("--to")) {
    TDateTime from = 0;
    TDateTime to = 0;
    if (!TryStrToDate(parsed.Value("--from"), from) || !TryStrToDate(parsed.Value("--to"), to)) {
      throw UsageError{Text(msgFromToDates)};
    }
    info.SetDayAxisKind(daDate);
    info.SetStartDate(from);
    info.SetEndDate(to);
  }
  return DateAxisRange(info, Today());
}

// The per-action graph's copy: both data of every action in the first channel's date window.
void PrintActCopy(const Arguments& parsed, Diary& diary) {
  const TDayDataFile& file = diary.File;
  const int kind1 = ParseKind(parsed, "--kind", file.MultiDayGraphRecordKind());
  const bool hasSecond = parsed.Value("--kind2") != "none";
  const int kind2 = hasSecond ? ParseKind(parsed, "--kind2", file.MultiDayGraphRecordKind2()) : -1;
  const TDateAxisRange window = CopyRange(parsed, diary.MultiDayGraphInfo);
  TCopySeries series[2];
  for (int channel = 0; channel < (hasSecond ? 2 : 1); ++channel) {
    TGraphCalcActData calc;
    calc.SetDayDataList(&diary.Days);
    calc.SetCategoryInfoList(diary.Categories.get());
    calc.SetCategory(parsed.Value("--category"));
    calc.SetRecordKind(channel == 0 ? kind1 : kind2);
    calc.Calc();
    for (int index : PointsInRange(calc.TimeArray, window)) {
      series[channel].Dates.push_back(calc.GetTime(index));
      series[channel].Values.push_back(calc.GetData(index));
    }
  }
  std::cout << TwoDataCopyText(series[0], hasSecond ? &series[1] : nullptr, {});
}

int RunGraph(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(
      args, {"--period", "--category", "--kind", "--kind2", "--term", "--from", "--to"}, {"--copy", "--all"});
  if (parsed.Positional.size() != 1) throw UsageError{Text(msgOneDiary)};
  if (!parsed.Has("--category")) throw UsageError{Text(msgCategoryRequired)};
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
    throw UsageError{Text(msgPeriodValues)};
  }
  const int kind = ParseKind(parsed, "--kind", -1);

  Diary diary(parsed.Positional[0]);
  diary.Load();
  diary.Days.DateSort();
  // A mistyped category would print an empty series that a script takes for no outings.
  if (!HasCategory(diary, parsed.Value("--category"))) {
    throw EHakuvoError(Text(msgNoSuchCategory, {parsed.Value("--category")}));
  }
  if (parsed.Has("--copy") && period == "act") {
    PrintActCopy(parsed, diary);
    return 0;
  }
  calc->SetDayDataList(&diary.Days);
  calc->SetCategoryInfoList(diary.Categories.get());
  calc->SetCategory(parsed.Value("--category"));
  calc->SetRecordKind(kind);
  calc->Calc();

  if (parsed.Has("--copy")) {
    // The window's settings of the category for this period, or automatic for a category the
    // diary has no settings for.
    TGraphInfo settings;
    if (const TCategoryInfo* info = diary.Categories->GetCategoryItems(calc->CategoryType())) {
      settings.Assign(period == "day"     ? info->GraphInfo()
                      : period == "month" ? info->MonthGraphInfo()
                                          : info->YearGraphInfo());
    }
    std::cout << PeriodCopyText(calc->TimeArray, calc->DataArray, CopyRange(parsed, settings));
    return 0;
  }

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

const Registrar registrar(
    {"graph",
     "DIARY --period day|month|year|act --category NAME [--kind K] [--copy [--all|--term DAYS|--from D --to D] "
     "[--kind2 K|none]]",
     "the series of a day, month, year or per-outing graph; --copy prints the window's copy text", RunGraph});

}  // namespace
}  // namespace hakuvo::cli
