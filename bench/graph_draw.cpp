// The day graph of a 20-year diary (7,300 days, about 15,000 outings): the window recomputes its
// series from the diary and draws the chart (into the chart's own buffer, as for the screen)
// offscreen at the window's design size, as bars and as a line, with and without the value labels,
// beside the floor: the chart
// library alone taking the same points, computed beforehand, and drawing them at the same size.
//
// The repetitions are interleaved at random; the ratios of the medians and minimums of CPU time
// are printed after the table (flags on the command line override the defaults).
#include <benchmark/benchmark.h>
#include <qcustomplot.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/graph/graph_calc_data.h"
#include "gui/document/diary_document.h"
#include "gui/graph/graph_chart.h"
#include "gui/graph/graph_form.h"

#include "paired_runs.h"

namespace {

using namespace hakuvo;

// Every day of 2006 to 2025 with one to three jogs, as the long sample diary has them.
TDiaryDocument& Document() {
  static TDiaryDocument* document = [] {
    auto* made = new TDiaryDocument;
    std::mt19937 random(20260101);
    const TCategoryInfo* info = made->CategoryInfoList().GetCategoryItems(ctJogging);
    for (TDateTime date = EncodeDate(2006, 1, 1); date < EncodeDate(2026, 1, 1); date += 1) {
      auto day = std::make_unique<TDayData>();
      day->DateData = date;
      const int count = 1 + static_cast<int>(random() % 100 < 95) + static_cast<int>(random() % 100 < 10);
      for (int i = 0; i < count; ++i) {
        TActData* act = day->AddAct(CreateActData(ctJogging));
        act->RecordData->Tani = info->Tani;
        auto& record = static_cast<TTimeRecord&>(*act->RecordData);
        record.StartTime = EncodeTime(6 + i * 6, 0, 0);
        record.EndTime = EncodeTime(7 + i * 6, static_cast<int>(random() % 60), 0);
        record.SetData(3 + static_cast<int>(random() % 150) / 10.0);
      }
      made->DayDataList().Add(std::move(day));
    }
    return made;
  }();
  return *document;
}

void SetSeries(bool bars) {
  TGraphInfo& info = Document().CategoryInfoList().GetCategoryItems(ctJogging)->GraphInfo();
  info.SetIsBarSeries(bars);
  info.SetDayAxisKind(daAll);
}

// The day graph window, shown offscreen at the design size.
TGraphForm& Form() {
  static TGraphForm* form = [] {
    auto* made = new TGraphForm(Document(), nullptr);
    made->resize(TDockingForm::DesignWidth, TDockingForm::DesignHeight);
    made->show();
    QCoreApplication::processEvents();
    return made;
  }();
  return *form;
}

void BM_DayGraphWindow(benchmark::State& state) {
  const bool bars = state.range(0) == 1;
  SetSeries(bars);
  TGraphForm& form = Form();
  // Recomputing ends with the chart drawn into its buffer, as it is on the screen.
  for (auto _ : state) form.SetGraphData();
  state.SetLabel(bars ? "bars" : "line");
  state.counters["points"] = form.Chart()->PointCount(0);
}

// The same, with the value labels shown (a double click on the series): only the labels that fit
// beside each other are drawn.
void BM_DayGraphWindowLabels(benchmark::State& state) {
  const bool bars = state.range(0) == 1;
  SetSeries(bars);
  TGraphForm& form = Form();
  form.Chart()->SetValueLabelsVisible(true);
  for (auto _ : state) form.SetGraphData();
  state.SetLabel(bars ? "bars, labels" : "line, labels");
  state.counters["points"] = form.Chart()->PointCount(0);
  state.counters["labels"] = static_cast<double>(form.Chart()->ValueLabels().size());
  form.Chart()->SetValueLabelsVisible(false);
}

// The same points, computed once, drawn by the chart library with the same axes: date along the
// same axis, bars of the same width or a line of the same pen, drawn with the window chart's own
// settings (bars not smoothed, lines segment by segment).
void BM_ChartAlone(benchmark::State& state) {
  const bool bars = state.range(0) == 1;
  SetSeries(bars);
  TGraphForm& form = Form();
  form.SetGraphData();
  TGraphChart& shown = *form.Chart();
  const QSize size = shown.size();
  TGraphCalcDayData calc;
  calc.SetDayDataList(&Document().DayDataList());
  calc.SetCategoryInfoList(&Document().CategoryInfoList());
  calc.SetCategory(CategoryNames()[ctJogging]);
  calc.Calc();
  const QVector<double> keys(calc.TimeArray.begin(), calc.TimeArray.end());
  QVector<double> values;
  for (Extended value : calc.DataArray) values << static_cast<double>(value);

  QCustomPlot plot;
  plot.resize(size);
  plot.show();
  // The window's chart draws wide lines segment by segment, which the library offers as a hint.
  plot.setPlottingHint(QCP::phFastPolylines, true);
  const bool vertical = shown.IsDateAxisVertical();
  QCPAxis* date = vertical ? plot.yAxis : plot.xAxis;
  QCPAxis* value = vertical ? plot.xAxis : plot.yAxis;
  date->setRangeReversed(vertical);
  QCPBars* barSeries = nullptr;
  QCPGraph* line = nullptr;
  if (bars) {
    barSeries = new QCPBars(date, value);
    barSeries->setWidthType(QCPBars::wtAbsolute);
    barSeries->setWidth(shown.BarWidth(0));
    barSeries->setPen(Qt::NoPen);
    barSeries->setBrush(Qt::red);
    barSeries->setAntialiased(false);
  } else {
    line = new QCPGraph(date, value);
    line->setPen(QPen(Qt::red, 2));
  }
  for (auto _ : state) {
    if (bars) {
      barSeries->setData(keys, values, true);
    } else {
      line->setData(keys, values, true);
    }
    plot.rescaleAxes();
    plot.replot();
  }
  state.SetLabel(bars ? "bars" : "line");
  state.counters["points"] = static_cast<double>(keys.size());
}

BENCHMARK(BM_DayGraphWindow)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", bench::Minimum);
BENCHMARK(BM_DayGraphWindowLabels)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", bench::Minimum);
BENCHMARK(BM_ChartAlone)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", bench::Minimum);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  if (!bench::InitializeWithDefaults(
          argc, argv,
          {"--benchmark_enable_random_interleaving=true", "--benchmark_repetitions=9", "--benchmark_min_time=0.3"}))
    return 1;
  Form();  // the diary and the window are made before any timing starts
  bench::TAggregateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* series : {"1", "0"}) {
    const std::string window = std::string("BM_DayGraphWindow/") + series;
    const std::string floor = std::string("BM_ChartAlone/") + series;
    if (!reporter.Cpu.count(window) || !reporter.Cpu.count(floor)) continue;
    std::cout << window << " / " << floor << " (CPU time, " << (series[0] == '1' ? "bars" : "line") << "):";
    for (const char* statistic : {"median", "min"}) {
      const auto& a = reporter.Cpu.at(window);
      const auto& b = reporter.Cpu.at(floor);
      if (a.count(statistic) && b.count(statistic))
        std::cout << ' ' << statistic << ' ' << a.at(statistic) / b.at(statistic);
    }
    std::cout << '\n';
  }
  benchmark::Shutdown();
  return 0;
}
