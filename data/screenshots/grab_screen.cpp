// Saves the screen of the display it runs on as a PNG file: the desktop program's screenshot for
// the software centres is taken from a virtual display that holds its window alone
// (scripts/make-screenshot.sh).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: grab_screen OUT.png\n");
    return 2;
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  const QPixmap picture = screen != nullptr ? screen->grabWindow(0) : QPixmap();
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "grab_screen: cannot grab the screen into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
