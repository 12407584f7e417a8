#include <unistd.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "gui/common/timing_log.h"
#include "gui/list/act_list_view.h"
#include "gui/main/main_form.h"
#include "gui/main/qt_translation.h"

namespace {

// Without a display Qt would abort with a message about platform plugins that tells a user
// nothing; say what is missing and how to run the program anyway.
bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// Reports, with HAKUVO_TIMING=1, when the list has first been painted, and then when it was first
// painted with the diary's rows: the window paints before the diary is read, and the second is
// the time a user waits from starting the program to seeing the diary.
class TFirstPaintLogger : public QObject {
 public:
  TFirstPaintLogger(const hakuvo::TTimingWatch& watch, const QAbstractItemView& view) : FWatch(watch), FView(view) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    if (!FPainted) {
      FPainted = true;
      FWatch.Log("window painted with its list");
    }
    if (FView.model() != nullptr && FView.model()->rowCount() > 0) {
      watched->removeEventFilter(this);
      FWatch.Log("list painted with the diary rows");
    }
    return false;
  }

 private:
  const hakuvo::TTimingWatch& FWatch;
  const QAbstractItemView& FView;
  bool FPainted = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "hakuvo: no display found (DISPLAY is not set); run it on a desktop or under a virtual "
                 "display, e.g.: xvfb-run -a hakuvo [DIARY]\n");
    return 1;
  }
  // From the process's own start: the libraries mapped before main() are part of the wait.
  const hakuvo::TTimingWatch sinceStart = hakuvo::TTimingWatch::SinceProcessStart();
  sinceStart.Log("main() reached");
  // No shared drawing context is asked for here: it costs every start a graphics driver and a
  // context (a fifth of a second on a software renderer) although the map, its only user, may
  // never be shown. The map's loader makes it before the web engine is loaded. A root account
  // cannot run the engine's sandbox at all, so it runs without one there.
  if (::geteuid() == 0 && std::getenv("QTWEBENGINE_DISABLE_SANDBOX") == nullptr) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  }
  QApplication app(argc, argv);
  sinceStart.Log("application made");
  QApplication::setApplicationName(QStringLiteral("Hakuvo"));
  QApplication::setOrganizationName(QStringLiteral("Orimaze"));
  // The toolkit's own buttons and dialogs speak the program's language, whatever the locale.
  hakuvo::InstallJapaneseQtTranslation(app);
  // Qt has taken its own options out of the command line by now.
  const QStringList parameters = QApplication::arguments().mid(1);
  const std::filesystem::path programFolder = QApplication::applicationDirPath().toStdString();
  hakuvo::TMainForm window(parameters, programFolder);
  sinceStart.Log("main window made");
  TFirstPaintLogger paintLogger(sinceStart, *window.ListView());
  if (hakuvo::IsTimingLogged()) window.ListView()->viewport()->installEventFilter(&paintLogger);
  window.show();
  return QApplication::exec();
}
