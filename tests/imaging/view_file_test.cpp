#include "imaging/view_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include <jpeglib.h>

#include "core/common/hakuvo_error.h"
#include "core/model/link_data.h"
#include "imaging/imaging_test_util.h"
#include "imaging/picture_loader.h"

namespace hakuvo {
namespace {

using namespace hakuvo::test;
namespace fs = std::filesystem;

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().string());
  return names;
}

struct JpegHeader {
  bool Baseline = false;  // an SOF0 frame
  int Components = 0;
  int Width = 0;
  int Height = 0;
  std::vector<int> LuminanceTable;  // natural order
};

JpegHeader ReadJpegHeader(const std::string& bytes) {
  JpegHeader header;
  const std::size_t sof0 = bytes.find("\xFF\xC0");
  header.Baseline = sof0 != std::string::npos && bytes.find("\xFF\xC2") == std::string::npos;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  header.Components = cinfo.num_components;
  header.Width = static_cast<int>(cinfo.image_width);
  header.Height = static_cast<int>(cinfo.image_height);
  for (int i = 0; i < DCTSIZE2; ++i) header.LuminanceTable.push_back(cinfo.quant_tbl_ptrs[0]->quantval[i]);
  jpeg_destroy_decompress(&cinfo);
  return header;
}

// The luminance table of the JPEG standard, scaled as libjpeg scales it for quality 90.
std::vector<int> LuminanceTableAtQuality90() {
  const int standard[DCTSIZE2] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                  14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                  18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                  49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
  std::vector<int> table;
  for (const int value : standard) table.push_back(std::clamp((value * 20 + 50) / 100, 1, 255));
  return table;
}

struct ViewFileNameParts {
  std::string Folder;
  std::string Digits;
  std::string Extension;
};

// Splits "folder/DIGITS.ext" at the last "/" and the last ".".
ViewFileNameParts SplitViewFileName(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.rfind('.');
  if (slash == std::string::npos || dot == std::string::npos || dot < slash) return {};
  return {name.substr(0, slash), name.substr(slash + 1, dot - slash - 1), name.substr(dot)};
}

bool IsUpperHex32(const std::string& digits) {
  return digits.size() == 32 && std::all_of(digits.begin(), digits.end(),
                                            [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

TEST(MakeViewFileName, NamesANewFileByAGuidInTheFolder) {
  TTempFolder folder;
  const ViewFileNameParts here = SplitViewFileName(MakeViewFileName("", ".jpg"));
  EXPECT_EQ(here.Folder, ".");
  EXPECT_TRUE(IsUpperHex32(here.Digits)) << here.Digits;
  EXPECT_EQ(here.Extension, ".jpg");
  const std::string thereName = MakeViewFileName(folder.Path().string(), ".gps");
  const ViewFileNameParts there = SplitViewFileName(thereName);
  EXPECT_EQ(there.Folder, folder.Path().string());
  EXPECT_TRUE(IsUpperHex32(there.Digits)) << there.Digits;
  EXPECT_EQ(there.Extension, ".gps");
  EXPECT_FALSE(fs::exists(thereName));
  EXPECT_EQ(SplitViewFileName(MakeViewFileName(folder.Path().string() + "/", ".jpg")).Folder, folder.Path().string());
  std::set<std::string> names;
  for (int i = 0; i < 100; ++i) names.insert(MakeViewFileName(folder.Path().string(), ".jpg"));
  EXPECT_EQ(names.size(), 100u);
}

struct SizeCase {
  QSize Picture;
  QSize Box;
  QSize Thumbnail;
};

TEST(ThumbnailSize, FitsThePictureInTheBoxRoundingHalvesToEven) {
  const SizeCase cases[] = {
      {{4000, 3000}, {120, 120}, {120, 90}},  {{3000, 4000}, {120, 120}, {90, 120}},
      {{100, 50}, {120, 120}, {120, 60}},     {{120, 120}, {120, 120}, {120, 120}},
      {{16, 3}, {120, 120}, {120, 22}},       {{16, 5}, {120, 120}, {120, 38}},  // 22.5 and 37.5
      {{3, 16}, {120, 120}, {22, 120}},       {{5, 16}, {120, 120}, {38, 120}},
      {{4000, 3000}, {160, 100}, {133, 100}}, {{4000, 3000}, {200, 300}, {200, 150}},
      {{100000, 1}, {120, 120}, {120, 1}},  // would round to nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ThumbnailSize(c.Picture, c.Box.width(), c.Box.height()), c.Thumbnail)
        << c.Picture.width() << "x" << c.Picture.height() << " in " << c.Box.width() << "x" << c.Box.height();
  }
}

class MakeImageViewFileTest : public testing::Test {
 protected:
  TTempFolder Source;
  TTempFolder Thumbs;

  std::string Picture(const std::string& name, const QImage& image, const char* format) {
    return SavePicture(image, Source.Path(name), format);
  }
  QImage Thumbnail(const std::string& viewFile) {
    const std::optional<QImage> image = LoadGraphic(viewFile);
    EXPECT_TRUE(image.has_value()) << viewFile;
    return image.value_or(QImage());
  }
};

TEST_F(MakeImageViewFileTest, WritesAQuality90ColourJpegOfTheFittedSize) {
  struct Case {
    QSize Picture;
    const char* Format;
    QSize Thumbnail;
  };
  const Case cases[] = {{{4000, 3000}, "jpg", {120, 90}},
                        {{3000, 4000}, "jpg", {90, 120}},
                        {{100, 50}, "png", {120, 60}},
                        {{1001, 750}, "jpg", {120, 90}},
                        {{64, 64}, "bmp", {120, 120}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Picture.width() << "x" << c.Picture.height() << " " << c.Format);
    TImageFileLink link;
    const QImage pattern = PatternImage(c.Picture.width(), c.Picture.height());
    link.FileName = Picture(std::string("picture.") + c.Format, pattern, c.Format);
    ASSERT_TRUE(MakeImageViewFile(link, 120, 120, Thumbs.Path().string()));
    EXPECT_EQ(fs::path(link.ViewFileName).parent_path(), fs::path(Thumbs.Path().string()));
    EXPECT_EQ(fs::path(link.ViewFileName).extension(), ".jpg");
    const JpegHeader header = ReadJpegHeader(ReadBytes(link.ViewFileName));
    EXPECT_TRUE(header.Baseline);
    EXPECT_EQ(header.Components, 3);
    EXPECT_EQ(QSize(header.Width, header.Height), c.Thumbnail);
    EXPECT_EQ(header.LuminanceTable, LuminanceTableAtQuality90());
    // The same picture, smaller: not turned, mirrored or with its colours swapped.
    const QImage expected = pattern.scaled(c.Thumbnail, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(MeanDifference(Thumbnail(link.ViewFileName), expected), 5.0);
  }
}

TEST_F(MakeImageViewFileTest, MakingItAgainLeavesOneViewFile) {
  TImageFileLink link;
  link.FileName = Picture("photo.jpg", PatternImage(800, 600), "jpg");
  ASSERT_TRUE(MakeImageViewFile(link, 120, 120, Thumbs.Path().string()));
  const std::string first = link.ViewFileName;
  ASSERT_TRUE(MakeImageViewFile(link, 120, 120, Thumbs.Path().string()));
  EXPECT_NE(link.ViewFileName, first);
  EXPECT_EQ(FilesIn(Thumbs.Path().string()), std::set<std::string>{link.ViewFileName});
  EXPECT_TRUE(fs::exists(link.FileName));  // the linked file itself is never touched
}

TEST_F(MakeImageViewFileTest, ThingsAndPersonsUseTheirPhotograph) {
  const std::string photo = Picture("face.png", PatternImage(300, 400), "png");
  TThingLink thing;
  thing.SetPhotoFileName(photo);
  ASSERT_TRUE(MakeImageViewFile(thing, 120, 120, Thumbs.Path().string()));
  EXPECT_EQ(Thumbnail(thing.ViewFileName()).size(), QSize(90, 120));
  TPersonLink person;
  person.SetPhotoFileName(photo);
  ASSERT_TRUE(MakeImageViewFile(person, 120, 120, Thumbs.Path().string()));
  const std::string first = person.ViewFileName();
  ASSERT_TRUE(MakeImageViewFile(person, 60, 60, Thumbs.Path().string()));
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(Thumbnail(person.ViewFileName()).size(), QSize(45, 60));
}

TEST_F(MakeImageViewFileTest, DoesNothingWithoutAPictureToShrink) {
  const std::string photo = Picture("photo.jpg", PatternImage(80, 60), "jpg");
  TFileLink plain;
  plain.FileName = photo;
  TGpsFileLink track;
  track.FileName = photo;
  EXPECT_FALSE(MakeImageViewFile(plain, 120, 120, Thumbs.Path().string()));
  EXPECT_FALSE(MakeImageViewFile(track, 120, 120, Thumbs.Path().string()));
  EXPECT_TRUE(track.ViewFileName.empty());

  TImageFileLink link;
  link.ViewFileName = Thumbs.Path("OLD.jpg");
  WriteBytes(link.ViewFileName, "old thumbnail");
  for (const std::string& source : {std::string(), Source.Path("missing.jpg"), Source.Path("notes.txt")}) {
    WriteBytes(Source.Path("notes.txt"), "text");
    link.FileName = source;
    EXPECT_FALSE(MakeImageViewFile(link, 120, 120, Thumbs.Path().string())) << source;
  }
  TThingLink thing;
  EXPECT_FALSE(MakeImageViewFile(thing, 120, 120, Thumbs.Path().string()));
  EXPECT_EQ(link.ViewFileName, Thumbs.Path("OLD.jpg"));
  EXPECT_EQ(FilesIn(Thumbs.Path().string()), std::set<std::string>{Thumbs.Path("OLD.jpg")});
}

TEST_F(MakeImageViewFileTest, AFailureLeavesTheLinkAndItsOldThumbnail) {
  TImageFileLink link;
  link.ViewFileName = Thumbs.Path("OLD.jpg");
  WriteBytes(link.ViewFileName, "old thumbnail");
  link.FileName = Source.Path("broken.jpg");
  WriteBytes(link.FileName, "not a picture");
  EXPECT_THROW(MakeImageViewFile(link, 120, 120, Thumbs.Path().string()), EHakuvoError);
  link.FileName = Picture("good.jpg", PatternImage(80, 60), "jpg");
  EXPECT_THROW(MakeImageViewFile(link, 120, 120, Thumbs.Path("no such folder")), EHakuvoError);
  EXPECT_EQ(link.ViewFileName, Thumbs.Path("OLD.jpg"));
  EXPECT_EQ(ReadBytes(link.ViewFileName), "old thumbnail");
  EXPECT_EQ(FilesIn(Thumbs.Path().string()), std::set<std::string>{Thumbs.Path("OLD.jpg")});
}

TEST_F(MakeImageViewFileTest, TransparentPartsBecomeWhite) {
  QImage icon(32, 32, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 16; ++x) icon.setPixel(x, y, qRgb(0, 0, 0));
  TImageFileLink link;
  link.FileName = Picture("icon.png", icon, "png");
  ASSERT_TRUE(MakeImageViewFile(link, 120, 120, Thumbs.Path().string()));
  const QImage thumbnail = Thumbnail(link.ViewFileName);
  EXPECT_LT(qGray(thumbnail.pixel(10, 60)), 10);
  EXPECT_GT(qGray(thumbnail.pixel(110, 60)), 245);
}

TEST_F(MakeImageViewFileTest, RealPhotographs) {
  for (const auto& entry : fs::directory_iterator(RealPhotos())) {
    SCOPED_TRACE(entry.path().string());
    TImageFileLink link;
    link.FileName = entry.path().string();
    const std::optional<QImage> full = LoadGraphic(link.FileName);
    ASSERT_TRUE(full.has_value());
    ASSERT_TRUE(MakeImageViewFile(link, 120, 120, Thumbs.Path().string()));
    const QSize size = ThumbnailSize(full->size(), 120, 120);
    const QImage thumbnail = Thumbnail(link.ViewFileName);
    EXPECT_EQ(thumbnail.size(), size);
    EXPECT_TRUE(size.width() == 120 || size.height() == 120);
    // Reduced decoding and the re-encoding each shift fine detail a little; compared a quarter
    // the size, the thumbnail must still be the picture, not turned, mirrored or colour-swapped.
    const auto quarter = [&size](const QImage& image) {
      return image.scaled(size / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    EXPECT_LT(MeanDifference(quarter(thumbnail),
                             quarter(full->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))),
              4.0);
  }
}

}  // namespace
}  // namespace hakuvo
