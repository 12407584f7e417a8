#pragma once

#include <unistd.h>
#include <QApplication>

#include <cstdlib>

namespace hakuvo::test {

// The one application object of a GUI test program, made when the first test needs it (on the
// offscreen platform unless the caller chose another) and left to the end of the process: torn
// down among the other statics at exit, Qt's own clean-up routines crash.
inline QApplication& EnsureQtApplication() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The map window's web engine: its sandbox cannot start under root (as CI runs), and it shares
  // its drawing context with the windows, which must be settled before the application exists.
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  static int argc = 1;
  static char name[] = "hakuvo-test";
  static char* argv[] = {name, nullptr};
  return *new QApplication(argc, argv);
}

}  // namespace hakuvo::test
