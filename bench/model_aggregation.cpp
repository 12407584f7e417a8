// Per-day aggregation over a generated ten-year diary of outings, beside a bare loop over the same
// values (the floor any aggregation must pay), measured in the same run.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "core/model/category_info_list.h"
#include "core/model/day_data.h"

namespace {

using namespace hakuvo;

struct Diary {
  std::unique_ptr<TCategoryInfoList> Infos = TCategoryInfoList::CreateStandard();
  TDayDataList Days;
  std::vector<double> Distances;
};

const Diary& TenYearDiary() {
  static const Diary diary = [] {
    Diary d;
    std::mt19937 random(42);
    std::uniform_real_distribution<double> km(2, 15);
    const TDateTime first = EncodeDate(2015, 1, 1);
    for (int i = 0; i < 3650; ++i) {
      auto day = std::make_unique<TDayData>();
      day->DateData = first + i;
      for (int a = 0; a < 2; ++a) {
        auto* act = static_cast<TJoggingAct*>(day->AddAct(CreateActData(ctJogging)));
        act->TimeRecord().StartTime = (7 + a * 10) / 24.0;
        act->TimeRecord().EndTime = (8 + a * 10) / 24.0;
        act->RecordData->SetData(km(random));
        d.Distances.push_back(static_cast<double>(act->RecordData->Data()));
      }
      d.Days.Add(std::move(day));
    }
    return d;
  }();
  return diary;
}

void BM_DaySeriesOfSpeed(benchmark::State& state) {
  const Diary& diary = TenYearDiary();
  const TCategoryInfo& info = *diary.Infos->GetCategoryItems(ctJogging);
  for (auto _ : state) {
    Extended sum = 0;
    for (const auto& day : diary.Days) sum += day->GetCategoryData(ctJogging, "", info, 2);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * diary.Days.Count());
}
BENCHMARK(BM_DaySeriesOfSpeed);

void BM_DaySeriesOfEnergy(benchmark::State& state) {
  const Diary& diary = TenYearDiary();
  const TCategoryInfo& info = *diary.Infos->GetCategoryItems(ctJogging);
  for (auto _ : state) {
    Extended sum = 0;
    for (const auto& day : diary.Days) sum += day->GetCategoryData(ctJogging, "", info, 4);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * diary.Days.Count());
}
BENCHMARK(BM_DaySeriesOfEnergy);

// Reference: summing the same number of plain doubles in two per day.
void BM_ReferencePlainSum(benchmark::State& state) {
  const Diary& diary = TenYearDiary();
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i + 1 < diary.Distances.size(); i += 2) sum += diary.Distances[i] + diary.Distances[i + 1];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * diary.Days.Count());
}
BENCHMARK(BM_ReferencePlainSum);

}  // namespace

BENCHMARK_MAIN();
