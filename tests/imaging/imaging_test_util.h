#pragma once

#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_folder.h"

namespace hakuvo::test {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A picture with a feature in every region: a horizontal red ramp, a vertical green ramp and a
// blue left half, so that a turned, mirrored or channel-swapped result shows.
inline QImage PatternImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) line[x] = qRgb(255 * x / width, 255 * y / height, x < width / 2 ? 200 : 30);
  }
  return image;
}

// Written by Qt's own writer, so that our decoder is checked against another encoder.
inline std::string SavePicture(const QImage& image, const std::string& path, const char* format, int quality = 95) {
  image.save(QString::fromStdString(path), format, quality);
  return path;
}

inline std::string RealPhotos() { return std::string(HAKUVO_TESTDATA_DIR) + "/photos"; }

// Mean absolute difference per channel of two pictures of one size, in 0..255.
inline double MeanDifference(const QImage& a, const QImage& b) {
  const QImage left = a.convertToFormat(QImage::Format_RGB32);
  const QImage right = b.convertToFormat(QImage::Format_RGB32);
  double sum = 0;
  for (int y = 0; y < left.height(); ++y) {
    for (int x = 0; x < left.width(); ++x) {
      const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * left.width() * left.height());
}

}  // namespace hakuvo::test
