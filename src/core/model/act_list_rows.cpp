#include "core/model/act_list_rows.h"

#include "core/common/number_format.h"
#include "core/model/pace.h"

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

std::vector<TActListColumn> ActListColumns(bool energyView, bool paceView) {
  std::vector<TActListColumn> columns = {{"日付", 80, false, alDate},        {"開始時刻", 60, false, alTime},
                                         {"終了時刻", 60, false, alEndTime}, {"タイトル", 150, false, alTitle},
                                         {"距離(km)", 80, true, alData},     {"速度(km/h)", 80, true, alSpeed}};
  if (paceView) columns.push_back({PaceCaption, 90, true, alPace});
  if (energyView) {
    columns.push_back({"体重(kg)", 80, true, alWeight});
    columns.push_back({"カロリー(kcal)", 80, true, alEnergy});
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

void WriteActListRowTexts(const TDayData& day, const TActData& act, bool energyView, TActListRowTexts& texts,
                          bool paceView) {
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
    // Every record with a speed gets the pace's place, so the columns stay aligned in a list of
    // several categories; only runners and walkers fill it.
    if (paceView && kind == rkSpeed && dynamic_cast<const TTimeRecord*>(&record) != nullptr) {
      out += ActPaceText(act);
      texts.EndText();
    }
  }
}

std::vector<std::string> ActListRowTexts(const TDayData& day, const TActData& act, bool energyView, bool paceView) {
  TActListRowTexts texts;
  WriteActListRowTexts(day, act, energyView, texts, paceView);
  std::vector<std::string> result;
  result.reserve(texts.Count());
  for (std::size_t i = 0; i < texts.Count(); ++i) result.emplace_back(texts[i]);
  return result;
}

std::vector<TActListRow> BuildActListRows(const TDayDataList& days, bool energyView, bool paceView) {
  std::size_t count = 0;
  for (const auto& day : days) count += static_cast<std::size_t>(day->ActDataList.Count());
  std::vector<TActListRow> rows;
  rows.reserve(count);
  TActListRowTexts texts;
  for (const auto& day : days) {
    for (const auto& act : day->ActDataList) {
      WriteActListRowTexts(*day, *act, energyView, texts, paceView);
      TActListRow& row = rows.emplace_back(TActListRow{act.get(), {}});
      row.Texts.reserve(texts.Count());
      for (std::size_t i = 0; i < texts.Count(); ++i) row.Texts.emplace_back(texts[i]);
    }
  }
  return rows;
}

}  // namespace hakuvo
