// The link window showing 50 linked 24-megapixel photographs, as the user waits for them: the
// time to the first thumbnail, the time to all of them, and the longest the user-interface
// thread was kept from its events meanwhile (a 2 ms timer measures the gaps). Once without view
// files, beside `hakuvo-cli thumbnail` making the same 50 thumbnails, and once with view files.
// For each gap the thread's own processor time tells the program's work from the waits of a
// loaded machine, where the thread is ready but not running: "busiest" is the most processor
// time the thread spent between two ticks.
//
//   bench_link_window --photos=DIR [--cli=PATH] [--runs=N]
//
// DIR holds the photographs (bench_thumbnails --write-photos=DIR writes 50 of 6000 x 4000).
// The figures are medians of N runs (5 unless told).
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/model/link_data.h"
#include "core/model/link_view_info.h"
#include "gui/links/link_form.h"
#include "imaging/link_thumbnail.h"
#include "imaging/view_file.h"

namespace {

namespace fs = std::filesystem;

struct TRun {
  double FirstMs = 0;
  double AllMs = 0;
  double LongestBlockMs = 0;
  // The thread's processor time within the longest gap, and the most it spent within any gap.
  double LongestBlockCpuMs = 0;
  double BusiestBlockMs = 0;
  // Of the busiest block: the part spent in the kernel (page faults, reclaim), when it ended and
  // how many images had arrived by then (-1: the call that gives the window its links).
  double BusiestSystemMs = 0;
  double BusiestAtMs = 0;
  int BusiestImages = 0;
  // The processor time of the rest of the process (the worker) over the run.
  double WorkerCpuMs = 0;
};

double Ms(const timeval& time) { return static_cast<double>(time.tv_sec) * 1e3 + time.tv_usec / 1e3; }

double UsageMs(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return Ms(usage.ru_utime) + Ms(usage.ru_stime);
}

double ThreadSystemMs() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return Ms(usage.ru_stime);
}

// The processor time of the calling thread.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Shows the links in a fresh window and serves the event loop until every row has its image.
TRun ShowLinks(hakuvo::TLinkDataList& links, hakuvo::TLinkViewInfo& info) {
  hakuvo::TLinkForm form(nullptr);
  form.SetLinkViewInfo(&info);
  form.resize(900, 700);
  form.show();
  QCoreApplication::processEvents();

  TRun run;
  QElapsedTimer clock;
  qint64 lastTick = 0;
  double lastCpu = 0;
  double lastSystem = 0;
  int done = -1;
  const auto gap = [&](qint64 now, double cpu) {
    const double wall = (now - lastTick) / 1e6;
    const double system = ThreadSystemMs();
    if (wall > run.LongestBlockMs) {
      run.LongestBlockMs = wall;
      run.LongestBlockCpuMs = cpu - lastCpu;
    }
    if (cpu - lastCpu > run.BusiestBlockMs) {
      run.BusiestBlockMs = cpu - lastCpu;
      run.BusiestSystemMs = system - lastSystem;
      run.BusiestAtMs = now / 1e6;
      run.BusiestImages = done;
    }
    lastTick = now;
    lastCpu = cpu;
    lastSystem = system;
  };
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticker, &QTimer::timeout, [&] { gap(clock.nsecsElapsed(), ThreadCpuMs()); });
  ticker.start(2);
  clock.start();
  lastCpu = ThreadCpuMs();
  lastSystem = ThreadSystemMs();
  const double processStart = UsageMs(RUSAGE_SELF);
  const double threadStart = lastCpu;
  // The call itself keeps the user-interface thread: it counts as a block too.
  form.SetLinkDataList(&links);
  gap(clock.nsecsElapsed(), ThreadCpuMs());
  const int rows = form.Model()->rowCount();
  done = 0;
  while (done < rows) {
    // Sleeps until an event comes (the ticker wakes it at the latest): the overload with a time
    // limit never waits, and a thread spinning in it takes a core from the worker.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    while (done < rows && !form.ThumbnailImage(done).isNull()) {
      if (done == 0) run.FirstMs = clock.nsecsElapsed() / 1e6;
      ++done;
    }
  }
  run.AllMs = clock.nsecsElapsed() / 1e6;
  run.WorkerCpuMs = (UsageMs(RUSAGE_SELF) - processStart) - (ThreadCpuMs() - threadStart);
  return run;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Report(const char* title, const std::vector<TRun>& runs) {
  std::vector<double> first, all, block, busiest, worker;
  double worstCpu = 0;
  double worst = 0;
  const TRun* busiestRun = &runs.front();
  for (const TRun& run : runs) {
    if (run.BusiestBlockMs > busiestRun->BusiestBlockMs) busiestRun = &run;
    first.push_back(run.FirstMs);
    all.push_back(run.AllMs);
    block.push_back(run.LongestBlockMs);
    busiest.push_back(run.BusiestBlockMs);
    worker.push_back(run.WorkerCpuMs);
    if (run.LongestBlockMs > worst) {
      worst = run.LongestBlockMs;
      worstCpu = run.LongestBlockCpuMs;
    }
  }
  std::printf(
      "%s: first %.1f ms, all %.1f ms, longest UI block %.1f ms (median of %zu; worst block %.1f ms, of it %.1f ms "
      "on the processor); busiest UI block %.1f ms on the processor (median; worst %.1f ms); worker processor time "
      "%.1f ms\n",
      title, Median(first), Median(all), Median(block), runs.size(), worst, worstCpu, Median(busiest),
      *std::max_element(busiest.begin(), busiest.end()), Median(worker));
  std::printf(
      "  busiest UI block: %.1f ms on the processor, %.1f ms of it in the kernel, ending at %.1f ms with %d images "
      "in\n",
      busiestRun->BusiestBlockMs, busiestRun->BusiestSystemMs, busiestRun->BusiestAtMs, busiestRun->BusiestImages);
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  std::string photos, cli;
  int runs = 5;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--photos=", 9) == 0) photos = argv[i] + 9;
    if (std::strncmp(argv[i], "--cli=", 6) == 0) cli = argv[i] + 6;
    if (std::strncmp(argv[i], "--runs=", 7) == 0) runs = std::max(1, std::atoi(argv[i] + 7));
  }
  if (photos.empty()) {
    std::fprintf(stderr, "usage: bench_link_window --photos=DIR [--cli=PATH] [--runs=N]\n");
    return 2;
  }
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(photos)) {
    if (entry.path().extension() == ".jpg") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  std::vector<std::unique_ptr<hakuvo::TImageFileLink>> owned;
  hakuvo::TLinkDataList links;
  for (const std::string& file : files) {
    owned.push_back(std::make_unique<hakuvo::TImageFileLink>());
    owned.back()->FileName = file;
    links.Add(owned.back().get());
  }
  std::printf("%zu photographs in %s\n", files.size(), photos.c_str());
  hakuvo::TLinkViewInfo info;
  ShowLinks(links, info);  // the files into the page cache, as for the command line's runs

  {
    // The drawing alone, on this thread: what the worker does for each link.
    QElapsedTimer clock;
    clock.start();
    for (const std::string& file : files) {
      hakuvo::TThumbnailJob job;
      job.Kind = hakuvo::TThumbnailKind::Picture;
      job.PictureFileName = file;
      hakuvo::MakeLinkThumbnail(job, QSize(120, 120));
    }
    std::printf("thumbnails drawn on one thread: %.1f ms\n", clock.nsecsElapsed() / 1e6);
  }

  std::vector<TRun> without;
  for (int i = 0; i < runs; ++i) without.push_back(ShowLinks(links, info));
  Report("link window, no view files", without);

  if (!cli.empty()) {
    std::vector<double> times, cpu;
    for (int i = 0; i < runs; ++i) {
      const double childrenBefore = UsageMs(RUSAGE_CHILDREN);
      QTemporaryDir out;
      QStringList arguments{"thumbnail"};
      for (const std::string& file : files) arguments << QString::fromStdString(file);
      arguments << "--size"
                << "120"
                << "--out" << out.path();
      QElapsedTimer clock;
      clock.start();
      QProcess process;
      process.start(QString::fromStdString(cli), arguments);
      if (!process.waitForStarted()) {
        std::fprintf(stderr, "cannot start %s\n", cli.c_str());
        return 1;
      }
      process.waitForFinished(-1);
      times.push_back(clock.nsecsElapsed() / 1e6);
      cpu.push_back(UsageMs(RUSAGE_CHILDREN) - childrenBefore);
      if (process.exitCode() != 0) {
        std::fprintf(stderr, "hakuvo-cli failed: %s\n", process.readAllStandardError().constData());
        return 1;
      }
    }
    const double cliMs = Median(times);
    std::vector<double> all;
    for (const TRun& run : without) all.push_back(run.AllMs);
    std::vector<double> worker;
    for (const TRun& run : without) worker.push_back(run.WorkerCpuMs);
    std::printf(
        "hakuvo-cli thumbnail: %.1f ms, processor time %.1f ms (medians of %d); link window / cli = %.2f, "
        "worker / cli processor time = %.2f\n",
        cliMs, Median(cpu), runs, Median(all) / cliMs, Median(worker) / Median(cpu));
  }

  QTemporaryDir thumbs;
  for (auto& link : owned) hakuvo::MakeImageViewFile(*link, 120, 120, thumbs.path().toStdString());
  std::vector<TRun> with;
  for (int i = 0; i < runs; ++i) with.push_back(ShowLinks(links, info));
  Report("link window, view files", with);
  return 0;
}
