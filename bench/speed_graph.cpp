// The speed and altitude graph of a generated GPX track of 10,000 and 1,000,000 points: the whole
// window's draw (the track read, the series worked out, handed to the chart and painted once),
// beside its parts in the same run: reading the track alone, which is the floor of any draw, and
// working out the series of a track already in memory.
//
//   bench_speed_graph [benchmark flags]
//
// The window is drawn on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <qcustomplot.h>
#include <QApplication>
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
#include <string>

#include "core/gps/display_track.h"
#include "core/gps/gps_file.h"
#include "core/gps/speed_graph_data.h"
#include "core/model/category_info_list.h"
#include "core/model/link_data.h"
#include "gui/document/diary_document.h"
#include "gui/graph/speed_form.h"

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

void BM_SpeedSeries(benchmark::State& state) {
  const std::unique_ptr<hakuvo::TGpsFileLink> link = LinkOf(static_cast<int>(state.range(0)));
  const std::unique_ptr<hakuvo::TGpsFile> track = hakuvo::LoadDisplayTrack(*link);
  hakuvo::TSpeedGraphInfo info;
  info.SetLimitSpeed(12);  // some segments above it, so the line has gaps
  for (auto _ : state) {
    const hakuvo::TSpeedGraphData data(*track, info);
    benchmark::DoNotOptimize(data.SpeedValues().size());
  }
}

void BM_SpeedFormDraw(benchmark::State& state) {
  const std::unique_ptr<hakuvo::TGpsFileLink> link = LinkOf(static_cast<int>(state.range(0)));
  hakuvo::TDiaryDocument document;
  hakuvo::TWindowPorts ports;
  hakuvo::TSpeedForm form(&document, &ports);
  form.resize(800, 500);
  form.SetCategory(hakuvo::CategoryNames()[hakuvo::ctJogging]);
  document.CategoryInfoList().GetCategoryItems(hakuvo::ctJogging)->SpeedGraphInfo().SetLimitSpeed(12);
  form.show();
  QApplication::processEvents();
  for (auto _ : state) {
    // Shown: reads, works out and draws, on a worker for a long track; timed until it is drawn.
    QSignalSpy drawn(&form, &hakuvo::TSpeedForm::SeriesDrawn);
    form.SetLinkData(link.get());
    if (drawn.count() == 0 && !drawn.wait(60000)) state.SkipWithError("the series were not drawn");
    benchmark::DoNotOptimize(form.SpeedSeries()->dataCount());
  }
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
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Files().Track(10'000);  // generated before any timing starts
  Files().Track(1'000'000);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
