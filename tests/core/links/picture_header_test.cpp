#include "core/links/picture_header.h"

#include <gtest/gtest.h>

#include <string>

namespace hakuvo {
namespace {

std::optional<TPictureSize> Claimed(const std::string& bytes, TPictureHeaderKind kind) {
  return ClaimedPictureSize(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), kind);
}

std::string Le(unsigned value, int bytes) {
  std::string text;
  for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
  return text;
}

TEST(ClaimedPictureSize, ReadsTheSizeEachKindOfHeaderClaims) {
  const std::string png =
      std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) + std::string("\0\0\x75\x30\0\0\x01\x2C", 8);
  const std::string bmp = "BM" + std::string(12, '\0') + Le(40, 4) + Le(640, 4) + Le(static_cast<unsigned>(-480), 4);
  const std::string os2Bmp = "BM" + std::string(12, '\0') + Le(12, 4) + Le(320, 2) + Le(200, 2) + std::string(4, '\0');
  // A global colour table of 2 entries, a graphic control extension, then an image placed at
  // (10, 20) of 500 x 40 on a screen of 100 x 50.
  const std::string gif = "GIF89a" + Le(100, 2) + Le(50, 2) + std::string("\x80\0\0", 3) + std::string(6, '\0') +
                          std::string("\x21\xF9\x04\0\0\0\0\0", 8) + "," + Le(10, 2) + Le(20, 2) + Le(500, 2) +
                          Le(40, 2) + std::string(1, '\0');
  const struct {
    const char* What;
    std::string Bytes;
    TPictureHeaderKind Kind;
    std::optional<TPictureSize> Size;
  } cases[] = {
      {"PNG", png, phPng, TPictureSize{30000, 300}},
      {"BMP stored top down", bmp, phBmp, TPictureSize{640, 480}},
      {"OS/2 BMP", os2Bmp, phBmp, TPictureSize{320, 200}},
      {"GIF image beyond its screen", gif, phGif, TPictureSize{510, 60}},
      {"PNG cut short", png.substr(0, 20), phPng, std::nullopt},
      {"a BMP read as a PNG", bmp, phPng, std::nullopt},
      {"a PNG read as a GIF", png, phGif, std::nullopt},
      {"nothing", "", phBmp, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const std::optional<TPictureSize> size = Claimed(c.Bytes, c.Kind);
    ASSERT_EQ(size.has_value(), c.Size.has_value());
    if (size) {
      EXPECT_EQ(size->Width, c.Size->Width);
      EXPECT_EQ(size->Height, c.Size->Height);
    }
  }
}

}  // namespace
}  // namespace hakuvo
