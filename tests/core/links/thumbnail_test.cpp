// JPEG thumbnails made by the core alone, as the command line makes them.
#include "core/links/thumbnail.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/links/jpeg_codec.h"
#include "core/model/link_data.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "hakuvo-thumbnail-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  std::string Path(const std::string& name = "") const {
    return name.empty() ? FPath.string() : (FPath / name).string();
  }

 private:
  fs::path FPath;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t PixelAt(const TPixelRows& rows, int x, int y) {
  std::uint32_t pixel;
  std::memcpy(&pixel, rows.Row(y) + 4 * x, sizeof pixel);
  return pixel;
}

TPixelImage Grey(int width, int height, const std::vector<unsigned char>& values) {
  TPixelImage image(width, height, pfGrey8);
  std::memcpy(image.Bits(), values.data(), values.size());
  return image;
}

// A red ramp across, a green ramp down and a blue left half, so that a turn, a mirror or swapped
// channels show.
TPixelImage Pattern(int width, int height) {
  TPixelImage image(width, height, pfRgb32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel =
          0xFF000000u | (255u * x / width) << 16 | (255u * y / height) << 8 | (x < width / 2 ? 200u : 30u);
      std::memcpy(image.Bits() + image.Stride() * y + 4 * x, &pixel, sizeof pixel);
    }
  }
  return image;
}

TEST(ScaleSmooth, AveragesTheCoveredAreaAndBlendsWhenEnlarging) {
  struct Case {
    int Width;
    std::vector<unsigned char> Source;  // one grey row
    int NewWidth;
    std::vector<unsigned char> Expected;
  };
  const Case cases[] = {
      {4, {0, 0, 255, 255}, 2, {0, 255}},  {3, {0, 90, 180}, 1, {90}},
      {3, {30, 60, 90}, 2, {40, 80}},  // 30 + 60 / 2 over 1.5 pixels, and the other half
      {2, {0, 200}, 4, {0, 50, 150, 200}}, {5, {77, 77, 77, 77, 77}, 3, {77, 77, 77}},
  };
  for (const auto& c : cases) {
    const TPixelImage source = Grey(c.Width, 1, c.Source);
    const TPixelImage scaled = ScaleSmooth(source.Rows(), {c.NewWidth, 1});
    ASSERT_EQ(scaled.Size(), (TPictureSize{c.NewWidth, 1}));
    ASSERT_EQ(scaled.Format(), pfRgb32);
    for (int x = 0; x < c.NewWidth; ++x) {
      const std::uint32_t v = c.Expected[x];
      EXPECT_EQ(PixelAt(scaled.Rows(), x, 0), 0xFF000000u | v << 16 | v << 8 | v)
          << c.Width << " -> " << c.NewWidth << " at " << x;
    }
  }
  // The two directions are independent: a picture shrunk down keeps what it had across.
  const TPixelImage pattern = Pattern(64, 48);
  const TPixelImage small = ScaleSmooth(pattern.Rows(), {8, 6});
  EXPECT_GT((PixelAt(small.Rows(), 7, 0) >> 16) & 0xFF, 200u);  // red grows to the right
  EXPECT_GT((PixelAt(small.Rows(), 0, 5) >> 8) & 0xFF, 200u);   // green grows downwards
  EXPECT_EQ(PixelAt(small.Rows(), 0, 0) & 0xFF, 200u);          // blue on the left
}

TEST(JpegCodec, DecodesReducedWhatItEncodedAndRefusesNonsense) {
  const TPixelImage pattern = Pattern(161, 120);
  const std::string bytes = EncodeJpeg(pattern.Rows(), 90);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  TPictureSize asked;
  const TDecodedJpeg reduced = DecodeJpeg(data, bytes.size(), [&asked](TPictureSize stored) {
    asked = stored;
    return TPictureSize{20, 15};
  });
  EXPECT_EQ(asked, (TPictureSize{161, 120}));
  EXPECT_EQ(reduced.StoredSize, (TPictureSize{161, 120}));
  EXPECT_EQ(reduced.Image.Size(), (TPictureSize{21, 15}));  // 1/8, rounded up
  const TDecodedJpeg full = DecodeJpeg(data, bytes.size());
  ASSERT_EQ(full.Image.Size(), (TPictureSize{161, 120}));
  const std::uint32_t corner = PixelAt(full.Image.Rows(), 150, 110);
  EXPECT_NEAR(static_cast<int>((corner >> 16) & 0xFF), 237, 6);
  EXPECT_NEAR(static_cast<int>((corner >> 8) & 0xFF), 233, 6);
  EXPECT_NEAR(static_cast<int>(corner & 0xFF), 30, 6);

  const std::string nonsense = "not a picture";
  EXPECT_THROW(DecodeJpeg(reinterpret_cast<const unsigned char*>(nonsense.data()), nonsense.size()), EHakuvoError);
  EXPECT_THROW(EncodeJpeg(TPixelRows{}, 90), EHakuvoError);
}

TEST(MakeJpegViewFile, MakesTheThumbnailOfAJpegPhotographOnly) {
  Folder source, thumbs;
  const std::string photo = source.Path("photo.JPG");
  std::ofstream(photo, std::ios::binary) << EncodeJpeg(Pattern(400, 300).Rows(), 95);
  TImageFileLink link;
  link.FileName = photo;
  ASSERT_TRUE(MakeJpegViewFile(link, 120, 120, thumbs.Path()));
  EXPECT_EQ(fs::path(link.ViewFileName).parent_path(), fs::path(thumbs.Path()));
  const std::string bytes = ReadAll(link.ViewFileName);
  const TDecodedJpeg thumbnail = DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  EXPECT_EQ(thumbnail.StoredSize, (TPictureSize{120, 90}));

  // Making it again replaces the file; a thing's photograph is its source.
  const std::string first = link.ViewFileName;
  ASSERT_TRUE(MakeJpegViewFile(link, 60, 60, thumbs.Path()));
  EXPECT_FALSE(fs::exists(first));
  TThingLink thing;
  thing.SetPhotoFileName(photo);
  EXPECT_TRUE(MakeJpegViewFile(thing, 120, 120, thumbs.Path()));

  // Nothing for another kind of file, a missing one or another kind of link.
  TImageFileLink other;
  for (const std::string& name : {source.Path("drawing.png"), source.Path("missing.jpg"), std::string()}) {
    std::ofstream(source.Path("drawing.png")) << "png";
    other.FileName = name;
    EXPECT_FALSE(MakeJpegViewFile(other, 120, 120, thumbs.Path())) << name;
    EXPECT_TRUE(other.ViewFileName.empty());
  }
  TFileLink plain;
  plain.FileName = photo;
  EXPECT_FALSE(MakeJpegViewFile(plain, 120, 120, thumbs.Path()));

  // A damaged photograph is an error naming it, and the link keeps its thumbnail.
  std::ofstream(source.Path("broken.jpg")) << "not a picture";
  link.FileName = source.Path("broken.jpg");
  const std::string kept = link.ViewFileName;
  try {
    MakeJpegViewFile(link, 120, 120, thumbs.Path());
    ADD_FAILURE() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find("broken.jpg"), std::string::npos) << error.what();
  }
  EXPECT_EQ(link.ViewFileName, kept);
  EXPECT_TRUE(fs::exists(kept));
}

}  // namespace
}  // namespace hakuvo
