#include "core/model/act_list_rows.h"

namespace hakuvo {

std::vector<TActListColumn> ActListColumns(bool energyView) {
  std::vector<TActListColumn> columns = {{"日付", 80, false},      {"開始時刻", 60, false}, {"終了時刻", 60, false},
                                         {"タイトル", 150, false}, {"距離(km)", 80, true},  {"速度(km/h)", 80, true}};
  if (energyView) {
    columns.push_back({"体重(kg)", 80, true});
    columns.push_back({"カロリー(kcal)", 80, true});
  }
  return columns;
}

std::vector<std::string> ActListRowTexts(const TDayData& day, const TActData& act, bool energyView) {
  const TRecordData& record = *act.RecordData;
  const auto* time = dynamic_cast<const TTimeRecord*>(&record);
  std::vector<std::string> texts = {day.DateStr(), record.TimeStr(), time != nullptr ? time->EndTimeStr() : "",
                                    act.Title};
  TIndicationKindGuard guard(record);
  for (int kind = 1; kind < record.RecordNumber(); ++kind) {
    if (!energyView && (kind == 3 || kind == 4)) continue;
    guard.Set(kind);
    texts.push_back(record.ViewDataStr());
  }
  return texts;
}

std::vector<TActListRow> BuildActListRows(const TDayDataList& days, bool energyView) {
  std::vector<TActListRow> rows;
  for (const auto& day : days) {
    for (const auto& act : day->ActDataList) rows.push_back({act.get(), ActListRowTexts(*day, *act, energyView)});
  }
  return rows;
}

}  // namespace hakuvo
