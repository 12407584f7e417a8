#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hakuvo {

// The two layouts pictures are decoded into. pfRgb32 is one 32-bit word per pixel in the
// machine's byte order, 0xFFRRGGBB, which is the layout of QImage::Format_RGB32, so the desktop
// program can decode straight into its own images.
enum TPixelFormat : std::uint8_t { pfGrey8, pfRgb32 };

int BytesPerPixel(TPixelFormat format);

struct TPictureSize {
  int Width = 0;
  int Height = 0;

  bool IsEmpty() const { return Width <= 0 || Height <= 0; }
  friend bool operator==(const TPictureSize&, const TPictureSize&) = default;
};

// Rows of pixels owned by someone else, Stride bytes apart.
struct TPixelRows {
  const unsigned char* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  std::ptrdiff_t Stride = 0;
  TPixelFormat Format = pfRgb32;

  const unsigned char* Row(int y) const { return Bits + static_cast<std::ptrdiff_t>(y) * Stride; }
};

// A picture that owns its pixels, rows packed without padding.
class TPixelImage {
 public:
  TPixelImage() = default;
  TPixelImage(int width, int height, TPixelFormat format);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TPictureSize Size() const { return {FWidth, FHeight}; }
  TPixelFormat Format() const { return FFormat; }
  std::ptrdiff_t Stride() const { return static_cast<std::ptrdiff_t>(FWidth) * BytesPerPixel(FFormat); }
  bool IsNull() const { return FBits.empty(); }
  unsigned char* Bits() { return FBits.data(); }
  TPixelRows Rows() const { return {FBits.data(), FWidth, FHeight, Stride(), FFormat}; }

 private:
  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FFormat = pfRgb32;
  std::vector<unsigned char> FBits;
};

}  // namespace hakuvo
