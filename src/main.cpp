#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <cstdio>
#include <cstdlib>

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

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "hakuvo: no display found (DISPLAY is not set); run it on a desktop or under a virtual "
                 "display, e.g.: xvfb-run -a hakuvo [DIARY]\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Hakuvo"));
  QApplication::setOrganizationName(QStringLiteral("Orimaze"));
  QLabel window(QStringLiteral("跳記"));
  window.setWindowTitle(QStringLiteral("跳記"));
  window.resize(640, 480);
  window.show();
  return QApplication::exec();
}
