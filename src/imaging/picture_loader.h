#pragma once

#include <QImage>
#include <QSize>

#include <optional>
#include <string>

#include "imaging/jpeg_codec.h"

namespace hakuvo {

// Reads a picture file, its kind told by the extension: ".jpg", ".jpeg", ".jpe" through
// libjpeg; ".gif", ".png", ".bmp", ".ico" through QImage. Gives none for any other extension and
// for a file that cannot be opened (missing, unreadable). A path that is no plain file (a folder,
// a FIFO, a device) and a picture that cannot be decoded raise EHakuvoError naming the file.
std::optional<QImage> LoadGraphic(const std::string& fileName);

struct TLoadedPicture {
  QImage Image;
  QSize StoredSize;  // the picture's own size; Image may be smaller for a JPEG
};

// LoadGraphic for a picture about to be shrunk: a JPEG is decoded reduced by 1/2, 1/4 or 1/8 to
// the smallest size not below what `wanted` asks for its stored size (see JpegReduction), which
// skips most of the decoder's work. Other kinds come at full size.
std::optional<TLoadedPicture> LoadGraphicReduced(const std::string& fileName, const TWantedQtSize& wanted);

}  // namespace hakuvo
