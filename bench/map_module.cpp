// The map as the program makes it at its first show: the main window (no web engine in the
// process), then the map window shown, its module loaded and its page made. Prints the times
// and whether the web engine was mapped before and after, and saves the window as a picture.
//   bench_map_module DIARY [PICTURE]
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "gui/document/docking_form.h"
#include "gui/main/main_form.h"
#include "gui/main/map_dock.h"

namespace {

bool WebEngineMapped() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngine");
}

template <typename Done>
bool WaitUntil(Done done, int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

}  // namespace

int main(int argc, char** argv) {
  if (::getuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_map_module DIARY [PICTURE]\n");
    return 2;
  }
  const QTemporaryDir settings;
  hakuvo::TMainForm form({QString::fromLocal8Bit(argv[1])}, settings.path().toStdString());
  form.show();
  if (!WaitUntil([&] { return !form.IsReadingDiary(); }, 30000)) return 1;
  std::printf("web engine mapped before the map: %s\n", WebEngineMapped() ? "yes" : "no");
  auto* dock = dynamic_cast<hakuvo::TMapDock*>(form.Docks().Form(QStringLiteral("GoogleMapForm")));
  if (dock == nullptr) return 1;
  QElapsedTimer timer;
  timer.start();
  form.Docks().ShowForm(dock);
  if (!WaitUntil([&] { return dock->Map() != nullptr || !dock->Problem().isEmpty(); }, 30000)) return 1;
  if (!dock->Problem().isEmpty()) {
    std::printf("map not made: %s\n", qPrintable(dock->Problem()));
    return 1;
  }
  std::printf("map module loaded and window made: %lld ms\n", static_cast<long long>(timer.elapsed()));
  bool loaded = false;
  QObject::connect(dock->MapWindow(), SIGNAL(MapLoaded()), &app, SLOT(quit()));
  QObject::connect(dock->MapWindow(), &QObject::destroyed, [&] { loaded = false; });
  QTimer::singleShot(30000, &app, &QCoreApplication::quit);
  QApplication::exec();
  loaded = timer.elapsed() < 30000;
  std::printf("map page made: %lld ms%s\n", static_cast<long long>(timer.elapsed()), loaded ? "" : " (timed out)");
  std::printf("web engine mapped after the map: %s\n", WebEngineMapped() ? "yes" : "no");
  if (argc > 2) {
    WaitUntil([] { return false; }, 1500);
    dock->grab().save(QString::fromLocal8Bit(argv[2]));
  }
  form.SetIsChange(false);
  return loaded ? 0 : 1;
}
