#include "core/model/act_list_rows.h"

#include "core/common/number_format.h"

namespace hakuvo {

namespace {

// The list is built for every outing of a diary of many years at each rebuild, so its dates and
// times are written straight from their parts, not through the general pattern formatter.
// yyyy/mm/dd as DateToStr writes it; empty for a negative date, as TDayData::DateStr.
void AppendDate(std::string& out, TDateTime value) {
  if (value < 0) return;
  const TDateParts date = DecodeDate(value);
  AppendPadded(out, date.Year, 4);
  out += '/';
  AppendPadded(out, date.Month, 2);
  out += '/';
  AppendPadded(out, date.Day, 2);
}

// hh:mm as TimeToStrHM writes it.
void AppendTime(std::string& out, TDateTime value) {
  const TTimeParts time = DecodeTime(value);
  AppendPadded(out, time.Hour, 2);
  out += ':';
  AppendPadded(out, time.Minute, 2);
}

}  // namespace

std::vector<TActListColumn> ActListColumns(bool energyView) {
  std::vector<TActListColumn> columns = {{"日付", 80, false},      {"開始時刻", 60, false}, {"終了時刻", 60, false},
                                         {"タイトル", 150, false}, {"距離(km)", 80, true},  {"速度(km/h)", 80, true}};
  if (energyView) {
    columns.push_back({"体重(kg)", 80, true});
    columns.push_back({"カロリー(kcal)", 80, true});
  }
  return columns;
}

std::string_view TActListRowTexts::operator[](std::size_t index) const {
  const std::size_t begin = index == 0 ? 0 : FEnds[index - 1];
  return std::string_view(FBuffer).substr(begin, FEnds[index] - begin);
}

void TActListRowTexts::Clear() {
  FBuffer.clear();
  FEnds.clear();
}

void WriteActListRowTexts(const TDayData& day, const TActData& act, bool energyView, TActListRowTexts& texts) {
  const TRecordData& record = *act.RecordData;
  std::string& out = texts.FBuffer;
  texts.Clear();
  AppendDate(out, day.DateData);
  texts.EndText();
  AppendTime(out, record.StartTime);
  texts.EndText();
  if (const auto* time = dynamic_cast<const TTimeRecord*>(&record)) AppendTime(out, time->EndTime);
  texts.EndText();
  out += act.Title;
  texts.EndText();
  for (int kind = rkData; kind < record.RecordNumber(); ++kind) {
    if (!energyView && (kind == rkWeight || kind == rkEnergy)) continue;
    record.AppendViewDataStrAt(out, kind);
    texts.EndText();
  }
}

std::vector<std::string> ActListRowTexts(const TDayData& day, const TActData& act, bool energyView) {
  TActListRowTexts texts;
  WriteActListRowTexts(day, act, energyView, texts);
  std::vector<std::string> result;
  result.reserve(texts.Count());
  for (std::size_t i = 0; i < texts.Count(); ++i) result.emplace_back(texts[i]);
  return result;
}

std::vector<TActListRow> BuildActListRows(const TDayDataList& days, bool energyView) {
  std::size_t count = 0;
  for (const auto& day : days) count += static_cast<std::size_t>(day->ActDataList.Count());
  std::vector<TActListRow> rows;
  rows.reserve(count);
  TActListRowTexts texts;
  for (const auto& day : days) {
    for (const auto& act : day->ActDataList) {
      WriteActListRowTexts(*day, *act, energyView, texts);
      TActListRow& row = rows.emplace_back(TActListRow{act.get(), {}});
      row.Texts.reserve(texts.Count());
      for (std::size_t i = 0; i < texts.Count(); ++i) row.Texts.emplace_back(texts[i]);
    }
  }
  return rows;
}

}  // namespace hakuvo
