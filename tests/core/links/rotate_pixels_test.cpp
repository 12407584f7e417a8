#include "core/links/upright_thumbnail.h"

#include <gtest/gtest.h>

#include <vector>

namespace hakuvo {
namespace {

// A 3 x 2 grey picture 1 2 3 / 4 5 6 turned each way, read row by row.
TEST(RotatePixels, TurnsClockwiseByQuarters) {
  TPixelImage picture(3, 2, pfGrey8);
  for (int i = 0; i < 6; ++i) picture.Bits()[i] = static_cast<unsigned char>(i + 1);
  const struct {
    int Degrees;
    int Width, Height;
    std::vector<int> Pixels;
  } cases[] = {
      {0, 3, 2, {1, 2, 3, 4, 5, 6}},
      {90, 2, 3, {4, 1, 5, 2, 6, 3}},
      {180, 3, 2, {6, 5, 4, 3, 2, 1}},
      {270, 2, 3, {3, 6, 2, 5, 1, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Degrees);
    TPixelImage turned = RotatePixels(picture.Rows(), c.Degrees);
    ASSERT_EQ(turned.Width(), c.Width);
    ASSERT_EQ(turned.Height(), c.Height);
    EXPECT_EQ(std::vector<int>(turned.Bits(), turned.Bits() + 6), c.Pixels);
  }
}

}  // namespace
}  // namespace hakuvo
