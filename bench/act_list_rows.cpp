// The texts of the outing list (what the main window and `hakuvo-cli list` show) for a generated
// 20-year diary, beside a reference that formats the same numbers with std::to_chars from values
// taken out beforehand: the floor any row text code must pay.
//
// The repetitions are interleaved at random and the ratios of the medians and minimums of CPU
// time are printed after the table (flags on the command line override the defaults).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/model/act_list_rows.h"

#include "paired_runs.h"

namespace {

using namespace hakuvo;

const char* const kPlaces[] = {"皇居", "代々木公園", "多摩川", "駒沢公園", "荒川河川敷", "石神井公園"};

TCategoryType PickCategory(std::mt19937& random) {
  const unsigned roll = random() % 100;
  if (roll < 38) return ctJogging;
  if (roll < 62) return ctWalking;
  if (roll < 76) return ctBicycle;
  return static_cast<TCategoryType>(random() % CategoryTypeCount);
}

// The values of one row as plain numbers, for the reference.
struct TPlainRow {
  int Year, Month, Day;
  int StartMinute, EndMinute;  // -1: no end time
  std::string Title;
  std::vector<double> Values;  // shortest form
  double Speed;                // one decimal, when there is an end time
  double Energy;               // no decimals, when there is an end time
};

// About 7,300 days and 15,000 outings of every record class, as the data file bench makes them.
struct TDiary {
  TDiary() {
    std::mt19937 random(20240601);
    const TDateTime first = EncodeDate(2005, 1, 1);
    for (int d = 0; d < 7300; ++d) {
      auto day = std::make_unique<TDayData>();
      day->DateData = first + d;
      const unsigned roll = random() % 100;
      const int acts = roll < 25 ? 1 : roll < 70 ? 2 : roll < 95 ? 3 : 4;
      for (int a = 0; a < acts; ++a) {
        const TCategoryType category = PickCategory(random);
        auto act = CreateActData(category);
        act->Title = std::string(kPlaces[random() % std::size(kPlaces)]) + "コース";
        TRecordData& record = *act->RecordData;
        const int startMinute = 300 + static_cast<int>(random() % 900);
        record.StartTime = startMinute / 1440.0;
        record.SetData(static_cast<int>(random() % 2000) / 100.0L);
        int endMinute = -1;
        if (auto* time = dynamic_cast<TTimeRecord*>(&record)) {
          endMinute = startMinute + 30 + static_cast<int>(random() % 90);
          time->EndTime = endMinute / 1440.0;
        }
        if (auto* energy = dynamic_cast<TEnergyConsumptionRecord*>(&record))
          energy->Weight = 60 + random() % 200 / 10.0L;
        if (auto* walking = dynamic_cast<TWalkingRecord*>(&record))
          walking->Pedometer = static_cast<int>(random() % 20000);
        const TDateParts date = DecodeDate(day->DateData);
        TPlainRow plain{date.Year, date.Month, date.Day, startMinute, endMinute % 1440, act->Title, {}, 0, 0};
        plain.Values.push_back(static_cast<double>(record.Data()));
        if (auto* time = dynamic_cast<TTimeRecord*>(&record)) plain.Speed = static_cast<double>(time->Speed());
        if (auto* energy = dynamic_cast<TEnergyConsumptionRecord*>(&record)) {
          plain.Values.push_back(static_cast<double>(energy->Weight));
          plain.Energy = static_cast<double>(energy->Energy());
        }
        PlainRows.push_back(std::move(plain));
        day->AddAct(std::move(act));
        ++Actions;
      }
      Days.Add(std::move(day));
    }
  }
  TDayDataList Days;
  std::vector<TPlainRow> PlainRows;
  int Actions = 0;
};

const TDiary& Diary() {
  static const TDiary diary;
  return diary;
}

void SetCounters(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * Diary().Actions);
  state.counters["actions"] = Diary().Actions;
}

// What the main window and `hakuvo-cli list` take: a vector of rows, each with its texts.
void BM_BuildActListRows(benchmark::State& state) {
  const bool energy = state.range(0) != 0;
  for (auto _ : state) {
    auto rows = BuildActListRows(Diary().Days, energy);
    benchmark::DoNotOptimize(rows.data());
  }
  SetCounters(state);
}

// The row texts alone, each row written over the last one in a kept buffer.
void BM_WriteActListRowTexts(benchmark::State& state) {
  const bool energy = state.range(0) != 0;
  TActListRowTexts texts;
  for (auto _ : state) {
    std::size_t length = 0;
    for (const auto& day : Diary().Days) {
      for (const auto& act : day->ActDataList) {
        WriteActListRowTexts(*day, *act, energy, texts);
        length += texts[texts.Count() - 1].size();
      }
    }
    benchmark::DoNotOptimize(length);
  }
  SetCounters(state);
}

void AppendTwo(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
}

template <typename... Format>
void AppendChars(std::string& out, double value, Format... format) {
  char buffer[64];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, format...).ptr);
}

// The reference: the same texts from values taken out beforehand, with std::to_chars and no
// decisions about records, into one kept buffer.
void BM_BareRowTexts(benchmark::State& state) {
  std::string out;
  for (auto _ : state) {
    std::size_t length = 0;
    for (const TPlainRow& row : Diary().PlainRows) {
      out.clear();
      char year[8];
      out.append(year, std::to_chars(year, year + sizeof year, row.Year).ptr);
      out += '/';
      AppendTwo(out, row.Month);
      out += '/';
      AppendTwo(out, row.Day);
      AppendTwo(out, row.StartMinute / 60);
      out += ':';
      AppendTwo(out, row.StartMinute % 60);
      if (row.EndMinute >= 0) {
        AppendTwo(out, row.EndMinute / 60);
        out += ':';
        AppendTwo(out, row.EndMinute % 60);
      }
      out += row.Title;
      for (const double value : row.Values) AppendChars(out, value);
      if (row.EndMinute >= 0) {
        AppendChars(out, row.Speed, std::chars_format::fixed, 1);
        AppendChars(out, row.Energy, std::chars_format::fixed, 0);
      }
      length += out.size();
    }
    benchmark::DoNotOptimize(length);
  }
  SetCounters(state);
}

BENCHMARK(BM_BuildActListRows)
    ->ArgName("energy")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", bench::Minimum);
BENCHMARK(BM_WriteActListRowTexts)
    ->ArgName("energy")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", bench::Minimum);
BENCHMARK(BM_BareRowTexts)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", bench::Minimum);

}  // namespace

int main(int argc, char** argv) {
  if (!bench::InitializeWithDefaults(
          argc, argv,
          {"--benchmark_enable_random_interleaving=true", "--benchmark_repetitions=9", "--benchmark_min_time=0.3"}))
    return 1;
  Diary();  // generated before any timing starts
  bench::TAggregateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const auto& [name, statistics] : reporter.Cpu) {
    if (name.rfind("BM_BareRowTexts", 0) == 0 || !reporter.Cpu.count("BM_BareRowTexts")) continue;
    const auto& bare = reporter.Cpu.at("BM_BareRowTexts");
    std::cout << name << " / BM_BareRowTexts (CPU time):";
    for (const char* statistic : {"median", "min"}) {
      if (statistics.count(statistic) && bare.count(statistic)) {
        std::cout << ' ' << statistic << "s " << statistics.at(statistic) / bare.at(statistic);
      }
    }
    std::cout << '\n';
  }
  benchmark::Shutdown();
  return 0;
}
