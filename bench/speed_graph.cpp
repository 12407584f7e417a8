// The speed and altitude graph of a generated GPX track of 10,000 and 1,000,000 points: the whole
// window's draw (the track read, the series worked out, handed to the chart and painted once),
// beside its parts in the same run: reading the track alone, which is the floor of any draw, and
// working out and thinning the series of a track already in memory. While the window draws, the event-loop
// probe of stall_watch.h gives the longest time the window's thread did not answer
// (max_stall_ms).
//
// The figures that count are printed after the table: pairs of (selection to drawn, reading the
// track alone), the side that goes first taking turns, wall time; the minimum and the median of
// the ratios within the pairs, and the longest stall over all of them.
//
//   bench_speed_graph [--pairs=N] [--points=N] [benchmark flags]
//
// The window is drawn on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <qcustomplot.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/gps/display_track.h"
#include "core/gps/gps_file.h"
#include "core/gps/speed_graph_data.h"
#include "core/gps/speed_graph_lines.h"
#include "core/model/category_info_list.h"
#include "core/model/link_data.h"
#include "gui/document/diary_document.h"
#include "gui/graph/speed_form.h"
#include "stall_watch.h"

namespace {

namespace fs = std::filesystem;

// A jog, one fix a second: steps of 2.5 to 3.5 metres on a wandering heading, a height drifting
// between 0 and 80 metres. The same seed gives the same track on every run.
std::string GpxText(int points) {
  std::mt19937_64 random(20240503);
  std::normal_distribution<double> turn(0, 0.08);
  std::uniform_real_distribution<double> step(2.5, 3.5);
  std::normal_distribution<double> climb(0, 0.15);
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"hakuvo bench\"><trk><trkseg>\n";
  double latitude = 35.681236, longitude = 139.767125, altitude = 40, heading = 0.7;
  char line[192];
  for (int i = 0; i < points; ++i) {
    // Within one day from 00:00 UTC (86,400 fixes), then on across the following days.
    const int day = 3 + i / 86400, second = i % 86400;
    std::snprintf(line, sizeof line,
                  "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele><time>2024-05-%02dT%02d:%02d:%02dZ</time></trkpt>\n",
                  latitude, longitude, altitude, day, second / 3600, second / 60 % 60, second % 60);
    text += line;
    heading += turn(random);
    const double metres = step(random);
    latitude += metres * std::cos(heading) / 111'000;
    longitude += metres * std::sin(heading) / (111'000 * std::cos(latitude * std::numbers::pi / 180));
    altitude = std::clamp(altitude + climb(random), 0.0, 80.0);
  }
  return text + "</trkseg></trk></gpx>\n";
}

// The generated tracks, written once before any timing, removed at exit.
class TTrackFiles {
 public:
  TTrackFiles() : FFolder(fs::temp_directory_path() / ("hakuvo_bench_speed_" + std::to_string(getpid()))) {
    fs::create_directories(FFolder);
  }
  ~TTrackFiles() {
    std::error_code ignored;
    fs::remove_all(FFolder, ignored);
  }
  const std::string& Track(int points) {
    auto found = FFiles.find(points);
    if (found != FFiles.end()) return found->second;
    const std::string name = (FFolder / ("track" + std::to_string(points) + ".gpx")).string();
    std::ofstream(name, std::ios::binary) << GpxText(points);
    return FFiles.emplace(points, name).first->second;
  }

 private:
  fs::path FFolder;
  std::map<int, std::string> FFiles;
};

TTrackFiles& Files() {
  static TTrackFiles files;
  return files;
}

std::unique_ptr<hakuvo::TGpsFileLink> LinkOf(int points) {
  auto link = std::make_unique<hakuvo::TGpsFileLink>();
  link->FileName = Files().Track(points);
  return link;
}

void BM_ReadTrack(benchmark::State& state) {
  const std::unique_ptr<hakuvo::TGpsFileLink> link = LinkOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::unique_ptr<hakuvo::TGpsFile> track = hakuvo::LoadDisplayTrack(*link);
    benchmark::DoNotOptimize(track->GpsList.Count());
  }
}

// The series of a track already in memory, worked out and thinned for an 800-pixel plot, with the
// title's figures.
void BM_SpeedSeries(benchmark::State& state) {
  const std::unique_ptr<hakuvo::TGpsFileLink> link = LinkOf(static_cast<int>(state.range(0)));
  const std::shared_ptr<const hakuvo::TGpsFile> track = hakuvo::LoadDisplayTrack(*link);
  hakuvo::TSpeedGraphInfo info;
  info.SetLimitSpeed(12);  // some segments above it, so the line has gaps
  for (auto _ : state) {
    const hakuvo::TSpeedGraphData data(track, info);
    const hakuvo::TSpeedGraphLines lines = hakuvo::ThinSpeedGraph(data, 800);
    benchmark::DoNotOptimize(lines.Speed.Xs.size());
    benchmark::DoNotOptimize(data.Summary().size());
  }
}

// The window as the benchmark drives it: shown offscreen at a usual size, the jogging settings
// with a speed limit so that the line has gaps.
struct TWindow {
  hakuvo::TDiaryDocument Document;
  hakuvo::TWindowPorts Ports;
  hakuvo::TSpeedForm Form{&Document, &Ports};
  TWindow() {
    Form.resize(800, 500);
    Form.SetCategory(hakuvo::CategoryNames()[hakuvo::ctJogging]);
    Document.CategoryInfoList().GetCategoryItems(hakuvo::ctJogging)->SpeedGraphInfo().SetLimitSpeed(12);
    Form.show();
    QApplication::processEvents();
  }
  // Selection to drawn, in seconds of wall time; the longest stall of the window's thread meanwhile
  // goes into `stall` (ms). False when nothing was drawn.
  bool Draw(const hakuvo::TGpsFileLink& link, double& seconds, qint64& stall, double& busy) {
    Form.Clear();
    QApplication::processEvents();
    hakuvo::bench::TStallWatch watch;
    QSignalSpy drawn(&Form, &hakuvo::TSpeedForm::SeriesDrawn);
    QElapsedTimer clock;
    clock.start();
    Form.SetLinkData(&link);
    if (drawn.count() == 0 && !drawn.wait(60000)) return false;
    seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    stall = std::max(stall, watch.Longest());
    busy = std::max(busy, watch.Busiest());
    return Form.SpeedSeries()->dataCount() > 0;
  }
};

void BM_SpeedFormDraw(benchmark::State& state) {
  const std::unique_ptr<hakuvo::TGpsFileLink> link = LinkOf(static_cast<int>(state.range(0)));
  TWindow window;
  qint64 stall = 0;
  double busy = 0;
  for (auto _ : state) {
    // Shown: reads, works out and draws, on a worker for a long track; timed until it is drawn.
    double seconds = 0;
    if (!window.Draw(*link, seconds, stall, busy)) state.SkipWithError("the series were not drawn");
  }
  state.counters["max_stall_ms"] = static_cast<double>(stall);
  state.counters["busiest_stall_cpu_ms"] = busy;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Paired(int points, int pairs) {
  const std::unique_ptr<hakuvo::TGpsFileLink> link = LinkOf(points);
  TWindow window;
  qint64 stall = 0;
  double busy = 0;
  const auto draw = [&] {
    double seconds = 0;
    if (!window.Draw(*link, seconds, stall, busy)) throw std::runtime_error("the series were not drawn");
    return seconds;
  };
  const auto read = [&] {
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<hakuvo::TGpsFile> track = hakuvo::LoadDisplayTrack(*link);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    if (track == nullptr || track->GpsList.Count() != points) throw std::runtime_error("the track was not read");
    return seconds;
  };
  draw();  // one of each first, so that neither side pays for a cold cache
  read();
  stall = 0;
  busy = 0;
  std::vector<double> drawn, alone, ratios;
  for (int pair = 0; pair < pairs; ++pair) {
    double a = 0, b = 0;
    if (pair % 2 == 0) {
      a = draw();
      b = read();
    } else {
      b = read();
      a = draw();
    }
    drawn.push_back(a);
    alone.push_back(b);
    ratios.push_back(a / b);
  }
  std::printf(
      "%d points, %d pairs, wall time: selection to drawn / reading alone: ratio min %.3f, median %.3f; drawn min "
      "%.1f ms, median %.1f ms; read min %.1f ms, median %.1f ms; longest stall of the window's thread %lld ms, "
      "busiest %.1f ms of its processor time\n",
      points, pairs, *std::min_element(ratios.begin(), ratios.end()), Median(ratios),
      *std::min_element(drawn.begin(), drawn.end()) * 1e3, Median(drawn) * 1e3,
      *std::min_element(alone.begin(), alone.end()) * 1e3, Median(alone) * 1e3, static_cast<long long>(stall), busy);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
}

BENCHMARK(BM_ReadTrack)->Apply(Sizes);
BENCHMARK(BM_SpeedSeries)->Apply(Sizes);
BENCHMARK(BM_SpeedFormDraw)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  const std::string pairsFlag = "--pairs=", pointsFlag = "--points=";
  int pairs = 11;
  std::vector<int> sizes = {10'000, 1'000'000};
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with(pairsFlag)) {
      pairs = std::atoi(argv[i] + pairsFlag.size());
    } else if (arg.starts_with(pointsFlag)) {
      sizes = {std::atoi(argv[i] + pointsFlag.size())};
    } else {
      rest.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  if (benchmark::ReportUnrecognizedArguments(count, rest.data())) return 1;
  for (const int size : sizes) Files().Track(size);  // generated before any timing starts
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (pairs > 0) {
    std::printf("\n");
    for (const int size : sizes) Paired(size, pairs);
  }
  return 0;
}
