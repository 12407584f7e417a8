// A photograph whose header claims more pixels than any camera makes is refused before decoding.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/common/hakuvo_error.h"
#include "core/links/jpeg_codec.h"

namespace hakuvo {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The real photograph with the size in its frame header (the last one: the first belongs to the
// Exif thumbnail) replaced.
std::string WithClaimedSize(int width, int height) {
  std::string bytes = ReadAll(std::string(HAKUVO_TESTDATA_DIR) + "/photos/Canon_40D.jpg");
  const std::size_t frame = bytes.rfind("\xFF\xC0");
  EXPECT_NE(frame, std::string::npos);
  bytes[frame + 5] = static_cast<char>(height >> 8);
  bytes[frame + 6] = static_cast<char>(height & 0xFF);
  bytes[frame + 7] = static_cast<char>(width >> 8);
  bytes[frame + 8] = static_cast<char>(width & 0xFF);
  return bytes;
}

TEST(PixelLimit, AHeaderClaimingMoreThanAnyCameraIsRefusedBeforeDecoding) {
  const struct {
    int Width, Height;
    bool Refused;
  } cases[] = {{65500, 65500, true}, {20001, 20000, true}, {20000, 20000, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
    const std::string bytes = WithClaimedSize(c.Width, c.Height);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (c.Refused) {
      try {
        DecodeJpeg(data, bytes.size());
        ADD_FAILURE() << "decoded";
      } catch (const EHakuvoError& error) {
        EXPECT_NE(std::string(error.what()).find("画素数が多すぎる画像です"), std::string::npos) << error.what();
      }
    } else {
      // Within the limit the claim is believed and the decoder goes on (asked for a small
      // picture, scaled down in the decoder, so the test stays quick).
      EXPECT_NO_THROW(DecodeJpeg(data, bytes.size(), [](TPictureSize) { return TPictureSize{100, 100}; }));
    }
  }
}

}  // namespace
}  // namespace hakuvo
