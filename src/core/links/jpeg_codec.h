#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "core/links/pixel_image.h"

namespace hakuvo {

// Chooses the size a JPEG picture is wanted at, from its stored size. An empty answer asks for
// the full picture.
// No camera makes pictures of more pixels than this (the largest sensors are a few hundred
// megapixels); a header that claims more is damaged or hostile and is refused before any
// decoding, which would otherwise cost seconds and hundreds of megabytes for a grey picture.
constexpr long long MaxPicturePixels = 400'000'000;
// The refusal's words, for every decoder of pictures.
std::string TooManyPixelsMessage(long long width, long long height);

using TWantedSize = std::function<TPictureSize(TPictureSize storedSize)>;

// Where a decoded picture goes: the first byte of its top row and the distance between rows.
struct TPixelTarget {
  unsigned char* Bits = nullptr;
  std::ptrdiff_t Stride = 0;
};

// Gives room for a picture of width x height pixels in `format`; a target without bits refuses
// the picture (no memory for it).
using TPixelAllocator = std::function<TPixelTarget(int width, int height, TPixelFormat format)>;

// The reduction (1, 2, 4 or 8) that libjpeg applies in its transform stage: the strongest whose
// result is still at least `atLeast` in both directions. libjpeg rounds a reduced size up.
int JpegReduction(TPictureSize storedSize, TPictureSize atLeast);

// Decodes a JPEG picture held in memory into the room `allocate` gives, reduced by
// JpegReduction(stored size, wanted(stored size)) when `wanted` is given, and returns the stored
// size (before any reduction). Grey pictures come as pfGrey8; colour, CMYK and YCCK pictures as
// pfRgb32. The Exif orientation is not applied. A picture libjpeg cannot decode, or one larger
// than the decoder may take, raises EHakuvoError with the reason (the caller adds the file name).
// A picture cut short decodes as far as it goes, the rest grey, as libjpeg does.
TPictureSize DecodeJpegInto(const unsigned char* data, std::size_t size, const TWantedSize& wanted,
                            const TPixelAllocator& allocate);

struct TDecodedJpeg {
  TPixelImage Image;
  TPictureSize StoredSize;
};

// DecodeJpegInto a picture of its own.
TDecodedJpeg DecodeJpeg(const unsigned char* data, std::size_t size, const TWantedSize& wanted = {});

// Encodes pfRgb32 rows as a baseline colour JPEG (YCbCr, 4:2:0) of the given quality; grey rows
// are encoded as colour too, as every thumbnail is.
std::string EncodeJpeg(const TPixelRows& picture, int quality);

}  // namespace hakuvo
