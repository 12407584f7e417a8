#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>

#include <functional>
#include <string>

#include "support/qt_application.h"
#include "support/temp_folder.h"

namespace hakuvo::test {

// Serves the event loop until `done` holds; the limit only keeps a broken run from hanging the
// tests.
inline bool ServeUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > 60000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return true;
}

// A picture with a blue left half and red right half, so that a turn shows.
inline std::string SaveHalves(const std::string& path, int width, int height, const char* format = "PNG") {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, x < width / 2 ? qRgb(0, 0, 220) : qRgb(220, 0, 0));
  }
  image.save(QString::fromStdString(path), format, 95);
  return path;
}

inline bool IsWhite(QRgb pixel) { return (pixel & 0xFFFFFF) == 0xFFFFFF; }

inline QRect PaintedRect(const QImage& image) {
  QRect painted;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!IsWhite(image.pixel(x, y))) painted |= QRect(x, y, 1, 1);
    }
  }
  return painted;
}

}  // namespace hakuvo::test
