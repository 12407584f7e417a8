#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>
#include <functional>
#include <string>

namespace hakuvo {

// Chooses the size a JPEG picture is wanted at, from its stored size. An empty answer asks for
// the full picture.
using TWantedSize = std::function<QSize(QSize storedSize)>;

struct TDecodedJpeg {
  QImage Image;      // Format_RGB32, or Format_Grayscale8 for a grey picture
  QSize StoredSize;  // the size written in the file, before any reduction
};

// The reduction (1, 2, 4 or 8) that libjpeg applies in its transform stage: the strongest whose
// result is still at least `atLeast` in both directions. libjpeg rounds a reduced size up.
int JpegReduction(QSize storedSize, QSize atLeast);

// Decodes a JPEG picture held in memory, reduced by JpegReduction(stored size, wanted(stored
// size)) when `wanted` is given. Colour, grey, CMYK and YCCK pictures are read; the Exif
// orientation is not applied. A picture libjpeg cannot decode raises EHakuvoError with
// libjpeg's reason (the caller adds the file name). A picture cut short decodes as far as it
// goes, the rest grey, as libjpeg does.
TDecodedJpeg DecodeJpeg(const unsigned char* data, std::size_t size, const TWantedSize& wanted = {});

// Encodes a picture as a baseline colour JPEG (YCbCr, 4:2:0) of the given quality. A picture
// with an alpha channel is put on white first.
std::string EncodeJpeg(const QImage& image, int quality);

}  // namespace hakuvo
