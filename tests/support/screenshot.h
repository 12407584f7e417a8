#pragma once

#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <vector>

namespace hakuvo::test {

// Saves a picture of a window as the test left it, when HAKUVO_SCREENSHOT_DIR names a folder:
// how a window looks is judged by eye, from the same state the test checked.
inline void SaveScreenshot(QWidget& window, const QString& name) {
  const char* folder = std::getenv("HAKUVO_SCREENSHOT_DIR");
  if (folder == nullptr || *folder == '\0') return;
  window.grab().save(QString::fromUtf8(folder) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The same for several windows at once (a main window and the windows floating over it), each
// drawn where it stands on the desktop, the first one underneath.
inline void SaveDesktopScreenshot(const std::vector<QWidget*>& windows, const QString& name) {
  const char* folder = std::getenv("HAKUVO_SCREENSHOT_DIR");
  if (folder == nullptr || *folder == '\0' || windows.empty()) return;
  QRect covered;
  for (const QWidget* window : windows) covered = covered.united(window->geometry());
  QPixmap desktop(covered.size());
  desktop.fill(Qt::darkGray);
  QPainter painter(&desktop);
  for (QWidget* window : windows) painter.drawPixmap(window->geometry().topLeft() - covered.topLeft(), window->grab());
  painter.end();
  desktop.save(QString::fromUtf8(folder) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace hakuvo::test
