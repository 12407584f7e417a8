#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>
#include <functional>
#include <string>

// The decoder and encoder themselves are the core's, shared with the command line; these are
// their QImage faces.
#include "core/links/jpeg_codec.h"

namespace hakuvo {

// Chooses the size a JPEG picture is wanted at, from its stored size. An empty answer asks for
// the full picture.
using TWantedQtSize = std::function<QSize(QSize storedSize)>;

inline TPictureSize ToPictureSize(QSize size) { return {size.width(), size.height()}; }
inline QSize ToQSize(TPictureSize size) { return {size.Width, size.Height}; }

// JpegReduction of the core for Qt's sizes.
int JpegReduction(QSize storedSize, QSize atLeast);

struct TDecodedImage {
  QImage Image;      // Format_RGB32, or Format_Grayscale8 for a grey picture
  QSize StoredSize;  // the size written in the file, before any reduction
};

// The core's DecodeJpegInto, straight into a QImage; the same errors.
TDecodedImage DecodeJpegImage(const unsigned char* data, std::size_t size, const TWantedQtSize& wanted = {});

// Encodes a picture as a baseline colour JPEG (YCbCr, 4:2:0) of the given quality. A picture
// with an alpha channel is put on white first.
std::string EncodeJpeg(const QImage& image, int quality);

}  // namespace hakuvo
