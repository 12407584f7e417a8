// A track selected in the map window and drawn on its page (page loaded, offline: no tiles), for
// 10,000 and 1,000,000 points, beside the floor: the same vertex array handed to the same page in
// one prebuilt statement. Each timing ends when the page has drawn the line (a script read-back
// of the line's length), so the page's own work is inside both. The window's time includes
// reading the track (from its ".gps" view file, as a track is shown once it has one), the vertex
// selection, writing the vertices out and handing them to the page in parts of
// TrackChunkVertices, one call after the other. The longest gap between ticks of a 10 ms timer on
// the window's thread while the window works is reported as max_stall_ms; the floor's one call
// stalls that thread by design and is not watched.
//
//   bench_map_track [--parts=N] [--screenshot=FILE] [--speed-colors]
//     the benchmarks, the window handing at most N vertices to the page per call (its own size
//     unless given); with --screenshot the window draws a real track (HAKUVO_SHOT_TRACK, a GPX
//     file) and saves a picture, with --speed-colors coloured by speed
//   bench_map_track --paired=N [--points=P]
//     N pairs of (window, floor) on a track of P points (10,000 unless given), wall time, the
//     side that goes first taking turns, once with the plain line and once coloured by speed;
//     prints the ratio's min and median and the window's longest stall
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "core/gps/gps_file.h"
#include "core/gps/map_track.h"
#include "core/model/category_info.h"
#include "core/model/category_info_list.h"
#include "core/model/link_data.h"
#include "core/settings/app_data.h"
#include "gui/map/map_form.h"
#include "gui/map/map_script.h"
#include "paired_runs.h"
#include "stall_watch.h"

namespace {

namespace fs = std::filesystem;
using namespace hakuvo;
using hakuvo::bench::TStallWatch;

fs::path Folder() {
  static const fs::path folder = [] {
    fs::path path = fs::temp_directory_path() / ("hakuvo_bench_map_" + std::to_string(::getpid()));
    fs::create_directories(path);
    return path;
  }();
  return folder;
}

// A jog around a park, one fix a second, as a view file.
std::string ViewFile(int points) {
  const fs::path path = Folder() / ("track" + std::to_string(points) + ".gps");
  if (!fs::exists(path)) {
    TGpsDataList list;
    list.Reserve(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i) {
      const double angle = i * 0.002;
      list.Add(46000.25 + i / 86400.0, 35.68 + 0.01 * std::sin(angle) + i * 1e-8, 139.76 + 0.012 * std::cos(angle), 10);
    }
    list.SaveToFile(path.string());
  }
  return path.string();
}

int PartVertices = 0;      // --parts; 0 keeps the window's own
bool SpeedColors = false;  // --speed-colors: the line is thinned, so only drawn at all is checked

struct TBench {
  TAppData AppData{Folder()};
  std::unique_ptr<TCategoryInfoList> Categories = TCategoryInfoList::CreateStandard();
  std::unique_ptr<TMapForm> Form;

  TBench() {
    AppData.MapServiceInfo.Roadmap.Url = "http://127.0.0.1:9/{z}/{x}/{y}.png";  // nothing listens there
    Form = std::make_unique<TMapForm>(AppData, *Categories);
    Form->resize(800, 600);
    if (PartVertices > 0) Form->SetTrackChunkVertices(PartVertices);
    QSignalSpy loaded(Form.get(), &TMapForm::MapLoaded);
    Form->show();
    if (loaded.count() == 0 && !loaded.wait(60000)) throw std::runtime_error("the map page did not load");
  }

  QVariant Eval(const QString& expression) {
    QVariant result;
    bool done = false;
    QEventLoop loop;
    Form->Browser()->page()->runJavaScript(expression, [&](const QVariant& value) {
      result = value;
      done = true;
      loop.quit();
    });
    if (!done) loop.exec();
    return result;
  }
  int LineLength() { return Eval(QStringLiteral("lineVertexCount()")).toInt(); }
  void SetSpeedColors(bool on) {
    Categories->GetCategoryItems(CategoryTypeFromName("ジョギング"))->MapInfo().SetIsSpeedColor(on);
  }
};

// Made on first use, gone before the application: the window must not outlive it.
std::unique_ptr<TBench> TheBench;
TBench& Bench() {
  if (TheBench == nullptr) TheBench = std::make_unique<TBench>();
  return *TheBench;
}

void BM_MapWindowDrawsTrack(benchmark::State& state) {
  TBench& bench = Bench();
  TGpsFileLink link;
  link.ViewFileName = ViewFile(static_cast<int>(state.range(0)));
  link.FileName = (Folder() / "absent.gpx").string();
  bench.Form->SetCategory("ジョギング");
  qint64 stall = 0;
  double busiest = 0;
  double syncMs = 0;
  for (auto _ : state) {
    bench.Form->ClearMap();
    bench.LineLength();
    TStallWatch watch;
    QElapsedTimer sync;
    sync.start();
    QSignalSpy shown(bench.Form.get(), &TMapForm::TrackShown);
    bench.Form->SetLinkData(&link);
    syncMs = std::max(syncMs, sync.nsecsElapsed() / 1e6);
    if (shown.count() == 0) shown.wait(60000);
    const int drawn = bench.LineLength();
    if (SpeedColors ? drawn <= 0 : drawn != state.range(0)) state.SkipWithError("the line was not drawn whole");
    stall = std::max(stall, watch.Longest());
    busiest = std::max(busiest, watch.Busiest());
  }
  state.counters["max_stall_ms"] = static_cast<double>(stall);
  state.counters["max_stall_cpu_ms"] = busiest;
  state.counters["handover_ms"] = syncMs;
}

void BM_PageTakesPrebuiltVertexArray(benchmark::State& state) {
  TBench& bench = Bench();
  TGpsFile track;
  track.GpsList.LoadFromFile(ViewFile(static_cast<int>(state.range(0))));
  const QString statement = QStringLiteral("clearPolyLine();clearMarker();addPolyLineVertices(") +
                            JsVertexArray(track, MapLineVertices(track, 0)) +
                            QStringLiteral(");drawPolyLine(\"#0000ff\",1,4);mapFitBounds(35.67,35.7,139.748,139.772)");
  for (auto _ : state) {
    bench.Form->ClearMap();
    bench.LineLength();
    bench.Form->Browser()->page()->runJavaScript(statement);
    if (bench.LineLength() != state.range(0)) state.SkipWithError("the line was not drawn whole");
  }
}

BENCHMARK(BM_MapWindowDrawsTrack)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageTakesPrebuiltVertexArray)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The window's draw and the floor's, each timed from the call to the line read back from the
// page, in pairs whose first side takes turns.
int Paired(int pairs, int points) {
  TBench& bench = Bench();
  TGpsFileLink link;
  link.ViewFileName = ViewFile(points);
  link.FileName = (Folder() / "absent.gpx").string();
  bench.Form->SetCategory("ジョギング");
  TGpsFile track;
  track.GpsList.LoadFromFile(link.ViewFileName);
  const QString statement = QStringLiteral("clearPolyLine();clearMarker();addPolyLineVertices(") +
                            JsVertexArray(track, MapLineVertices(track, 0)) +
                            QStringLiteral(");drawPolyLine(\"#0000ff\",1,4);mapFitBounds(35.67,35.7,139.748,139.772)");
  qint64 stall = 0;
  double busiest = 0;
  bool whole = true;
  const auto window = [&](int rounds) {
    double seconds = 0;
    for (int round = 0; round < rounds; ++round) {
      bench.Form->ClearMap();
      bench.LineLength();
      TStallWatch watch;
      QElapsedTimer timer;
      timer.start();
      QSignalSpy shown(bench.Form.get(), &TMapForm::TrackShown);
      bench.Form->SetLinkData(&link);
      if (shown.count() == 0) shown.wait(60000);
      whole = bench.LineLength() > 0 && whole;
      seconds += static_cast<double>(timer.nsecsElapsed()) * 1e-9;
      stall = std::max(stall, watch.Longest());
      busiest = std::max(busiest, watch.Busiest());
    }
    return seconds / rounds;
  };
  const auto floor = [&](int rounds) {
    double seconds = 0;
    for (int round = 0; round < rounds; ++round) {
      bench.Form->ClearMap();
      bench.LineLength();
      QElapsedTimer timer;
      timer.start();
      bench.Form->Browser()->page()->runJavaScript(statement);
      whole = bench.LineLength() == points && whole;
      seconds += static_cast<double>(timer.nsecsElapsed()) * 1e-9;
    }
    return seconds / rounds;
  };
  double load[3] = {0, 0, 0};
  for (const bool colored : {false, true}) {
    bench.SetSpeedColors(colored);
    stall = 0;
    busiest = 0;
    const std::string name = std::string("window ") + (colored ? "coloured by speed" : "plain line") + " " +
                             std::to_string(points) + " points";
    hakuvo::bench::PrintPairs(name, "prebuilt vertex array", hakuvo::bench::MeasurePairs(pairs, 3, window, floor),
                              "wall time");
    std::printf("  longest stall of the window's thread: %lld ms, of which its own processor time at most %.1f ms\n",
                static_cast<long long>(stall), busiest);
  }
  if (::getloadavg(load, 3) > 0) std::printf("load average %.2f %.2f %.2f\n", load[0], load[1], load[2]);
  bench.SetSpeedColors(false);
  return whole ? 0 : 1;
}

int Screenshot(const char* fileName) {
  const char* trackFile = std::getenv("HAKUVO_SHOT_TRACK");
  if (trackFile == nullptr) {
    std::fprintf(stderr, "set HAKUVO_SHOT_TRACK to a track file\n");
    return 2;
  }
  TBench& bench = Bench();
  TGpsFileLink link;
  link.FileName = trackFile;
  bench.Form->SetCategory("ジョギング");
  QSignalSpy shown(bench.Form.get(), &TMapForm::TrackShown);
  bench.Form->SetLinkData(&link);
  if (shown.count() == 0) shown.wait(60000);
  bench.LineLength();
  QEventLoop loop;
  QTimer::singleShot(1500, &loop, &QEventLoop::quit);
  loop.exec();
  return bench.Form->grab().save(QString::fromLocal8Bit(fileName)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  int pairs = 0;
  int points = 10'000;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--parts=", 8) == 0) PartVertices = std::atoi(argv[i] + 8);
    if (std::strncmp(argv[i], "--paired=", 9) == 0) pairs = std::atoi(argv[i] + 9);
    if (std::strncmp(argv[i], "--points=", 9) == 0) points = std::atoi(argv[i] + 9);
    if (std::strcmp(argv[i], "--speed-colors") == 0) {
      SpeedColors = true;
      Bench().SetSpeedColors(true);
    }
  }
  if (pairs > 0) {
    const int status = Paired(pairs, points);
    TheBench.reset();
    std::error_code error;
    fs::remove_all(Folder(), error);
    return status;
  }
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--screenshot=", 13) == 0) {
      const int status = Screenshot(argv[i] + 13);
      TheBench.reset();
      return status;
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  TheBench.reset();
  std::error_code error;
  fs::remove_all(Folder(), error);
  return 0;
}
