#include "imaging/picture_loader.h"

#include <QImageReader>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <jpeglib.h>

#include "core/common/hakuvo_error.h"
#include "imaging/imaging_test_util.h"
#include "imaging/jpeg_codec.h"

namespace hakuvo {
namespace {

using namespace hakuvo::test;

// Expects LoadGraphic to raise an error that names the file.
void ExpectDamaged(const std::string& path) {
  try {
    LoadGraphic(path);
    ADD_FAILURE() << "no error for " << path;
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
}

// A CMYK JPEG as image editors write it (Adobe marker, inks inverted: 255 = no ink). Qt cannot
// write one, so libjpeg does.
std::string CmykJpeg(int width, int height, const unsigned char ink[4]) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
  for (int x = 0; x < width; ++x) std::copy(ink, ink + 4, row.begin() + x * 4);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string bytes(reinterpret_cast<const char*>(out), size);
  std::free(out);
  return bytes;
}

TEST(LoadGraphic, ReadsEachKindByItsExtensionInAnyLetterCase) {
  TTempFolder folder;
  const QImage pattern = PatternImage(40, 30);
  for (const auto& [name, format] : std::vector<std::pair<std::string, const char*>>{{"a.png", "png"},
                                                                                     {"b.BMP", "bmp"},
                                                                                     {"c.Jpg", "jpg"},
                                                                                     {"d.jpeg", "jpg"},
                                                                                     {"e.JPE", "jpg"},
                                                                                     {"f.ico", "ico"}}) {
    SCOPED_TRACE(name);
    SavePicture(pattern, folder.Path(name), format);
    const std::optional<QImage> image = LoadGraphic(folder.Path(name));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), QSize(40, 30));
    EXPECT_LT(MeanDifference(*image, pattern), 4.0);
  }
}

TEST(LoadGraphic, ReadsAGif) {
  TTempFolder folder;
  // A 1 x 1 GIF whose only pixel is colour 0 of the table, pure red.
  const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xFF, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
                               0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
  WriteBytes(folder.Path("red.gif"), std::string(reinterpret_cast<const char*>(gif), sizeof gif));
  const std::optional<QImage> image = LoadGraphic(folder.Path("red.gif"));
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->size(), QSize(1, 1));
  EXPECT_EQ(image->pixel(0, 0), qRgb(255, 0, 0));
}

TEST(LoadGraphic, GivesNoneForOtherKindsAndFilesThatCannotBeOpened) {
  TTempFolder folder;
  SavePicture(PatternImage(8, 8), folder.Path("picture.tif"), "png");
  SavePicture(PatternImage(8, 8), folder.Path("noextension"), "png");
  for (const std::string name : {"picture.tif", "noextension", "missing.jpg", "missing.png"}) {
    EXPECT_FALSE(LoadGraphic(folder.Path(name)).has_value()) << name;
  }
}

// A folder or a FIFO named like a picture is refused at once with its name, not waited on.
TEST(LoadGraphic, APathThatIsNoFileIsAnErrorNamingIt) {
  TTempFolder folder;
  std::filesystem::create_directory(folder.Path("folder.jpg"));
  ASSERT_EQ(mkfifo(folder.Path("pipe.png").c_str(), 0600), 0);
  for (const std::string name : {"folder.jpg", "pipe.png"}) {
    try {
      LoadGraphic(folder.Path(name));
      ADD_FAILURE() << "no error for " << name;
    } catch (const EHakuvoError& error) {
      EXPECT_NE(std::string(error.what()).find(folder.Path(name)), std::string::npos) << error.what();
    }
  }
}

TEST(LoadGraphic, DamagedPicturesRaiseAnErrorNamingTheFile) {
  TTempFolder folder;
  const QImage pattern = PatternImage(64, 48);
  SavePicture(pattern, folder.Path("good.jpg"), "jpg");
  const std::string jpeg = ReadBytes(folder.Path("good.jpg"));
  WriteBytes(folder.Path("text.jpg"), "this is no picture at all");
  WriteBytes(folder.Path("empty.jpg"), "");
  WriteBytes(folder.Path("header.jpg"), jpeg.substr(0, 40));  // ends inside the tables
  std::string zeroWidth = jpeg;
  const std::size_t sof = zeroWidth.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  zeroWidth[sof + 7] = zeroWidth[sof + 8] = '\0';
  WriteBytes(folder.Path("zerowidth.jpg"), zeroWidth);
  WriteBytes(folder.Path("text.png"), "this is no picture at all");
  SavePicture(pattern, folder.Path("png-named.bmp"), "png");
  for (const std::string name : {"text.jpg", "empty.jpg", "header.jpg", "zerowidth.jpg", "text.png", "png-named.bmp"}) {
    SCOPED_TRACE(name);
    ExpectDamaged(folder.Path(name));
  }
}

TEST(LoadGraphic, AJpegCutShortShowsWhatItHolds) {
  TTempFolder folder;
  const QImage pattern = PatternImage(256, 256);
  SavePicture(pattern, folder.Path("whole.jpg"), "jpg");
  const std::string jpeg = ReadBytes(folder.Path("whole.jpg"));
  WriteBytes(folder.Path("cut.jpg"), jpeg.substr(0, jpeg.size() / 2));
  const std::optional<QImage> image = LoadGraphic(folder.Path("cut.jpg"));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->size(), QSize(256, 256));
  EXPECT_LT(MeanDifference(image->copy(0, 0, 256, 64), pattern.copy(0, 0, 256, 64)), 4.0);
  const QRgb missing = image->pixel(250, 250);
  EXPECT_NEAR(qRed(missing), 128, 2);
  EXPECT_NEAR(qGreen(missing), 128, 2);
}

TEST(LoadGraphic, GreyAndCmykJpegsComeOutAsQtReadsThem) {
  TTempFolder folder;
  QImage grey(50, 40, QImage::Format_Grayscale8);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x) grey.scanLine(y)[x] = static_cast<uchar>(x * 5);
  SavePicture(grey, folder.Path("grey.jpg"), "jpg");
  const std::optional<QImage> greyRead = LoadGraphic(folder.Path("grey.jpg"));
  ASSERT_TRUE(greyRead.has_value());
  EXPECT_EQ(greyRead->format(), QImage::Format_Grayscale8);
  EXPECT_LT(MeanDifference(*greyRead, grey), 2.0);

  // Cyan ink at full strength, no magenta or yellow, no black: (0, 255, 255) on screen.
  const unsigned char cyan[4] = {0, 255, 255, 255};
  WriteBytes(folder.Path("cmyk.jpg"), CmykJpeg(32, 16, cyan));
  const std::optional<QImage> cmyk = LoadGraphic(folder.Path("cmyk.jpg"));
  ASSERT_TRUE(cmyk.has_value());
  const QRgb pixel = cmyk->pixel(10, 10);
  EXPECT_LE(qRed(pixel), 3);
  EXPECT_GE(qGreen(pixel), 252);
  EXPECT_GE(qBlue(pixel), 252);
  EXPECT_LT(MeanDifference(*cmyk, QImage(QString::fromStdString(folder.Path("cmyk.jpg")))), 1.0);
}

TEST(LoadGraphic, RealPhotographsMatchQtsOwnDecoder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(RealPhotos())) {
    const std::string path = entry.path().string();
    SCOPED_TRACE(path);
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false);
    const QImage reference = reader.read();
    ASSERT_FALSE(reference.isNull()) << reader.errorString().toStdString();
    const std::optional<QImage> image = LoadGraphic(path);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->size(), reference.size());
    EXPECT_LT(MeanDifference(*image, reference), 1.0);
    ++count;
  }
  EXPECT_EQ(count, 10);
}

struct ReductionCase {
  QSize Stored;
  QSize AtLeast;
  int Reduction;
};

TEST(JpegReduction, TakesTheStrongestReductionNotBelowTheWantedSize) {
  const ReductionCase cases[] = {
      {{4000, 3000}, {120, 90}, 8}, {{960, 720}, {120, 90}, 8},
      {{959, 713}, {120, 90}, 8},  // 120 x 90 after rounding up
      {{950, 720}, {120, 90}, 4},   {{1000, 1000}, {300, 300}, 2},
      {{1000, 1000}, {501, 10}, 1}, {{100, 50}, {120, 60}, 1},
      {{4000, 3000}, {}, 1},        {{3000, 4000}, {90, 120}, 8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JpegReduction(c.Stored, c.AtLeast), c.Reduction)
        << c.Stored.width() << "x" << c.Stored.height() << " for " << c.AtLeast.width() << "x" << c.AtLeast.height();
  }
}

TEST(LoadGraphicReduced, DecodesAJpegReducedButReportsItsStoredSize) {
  TTempFolder folder;
  const QImage pattern = PatternImage(1001, 750);
  SavePicture(pattern, folder.Path("big.jpg"), "jpg");
  QSize askedFor;
  const auto wanted = [&askedFor](QSize stored) {
    askedFor = stored;
    return QSize(120, 90);
  };
  const std::optional<TLoadedPicture> picture = LoadGraphicReduced(folder.Path("big.jpg"), wanted);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(askedFor, QSize(1001, 750));
  EXPECT_EQ(picture->StoredSize, QSize(1001, 750));
  EXPECT_EQ(picture->Image.size(), QSize(126, 94));  // 1/8, rounded up
  EXPECT_LT(MeanDifference(picture->Image, pattern.scaled(126, 94, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
            4.0);

  // Other kinds have no reduced decoding.
  SavePicture(pattern, folder.Path("big.png"), "png");
  const std::optional<TLoadedPicture> png = LoadGraphicReduced(folder.Path("big.png"), wanted);
  ASSERT_TRUE(png.has_value());
  EXPECT_EQ(png->Image.size(), QSize(1001, 750));
  EXPECT_EQ(png->StoredSize, QSize(1001, 750));
}

TEST(JpegCodec, EncodesWhatItDecodes) {
  const QImage pattern = PatternImage(77, 33);
  const std::string bytes = EncodeJpeg(pattern, 90);
  const TDecodedImage decoded = DecodeJpegImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  EXPECT_EQ(decoded.StoredSize, QSize(77, 33));
  EXPECT_LT(MeanDifference(decoded.Image, pattern), 4.0);
  EXPECT_THROW(EncodeJpeg(QImage(), 90), EHakuvoError);
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string BigEndian(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

// The start of a PNG file (signature and header, no pixels) claiming a picture of width x height.
std::string PngHeader(std::uint32_t width, std::uint32_t height) {
  const std::string header = "IHDR" + BigEndian(width) + BigEndian(height) + std::string("\x08\x02\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1A\n", 8) + BigEndian(13) + header + BigEndian(Crc32(header)) + BigEndian(0) +
         "IEND" + BigEndian(Crc32("IEND"));
}

std::string LittleEndian(std::uint32_t value, int bytes) {
  std::string text;
  for (int i = 0; i < bytes; ++i) text += static_cast<char>(value >> (8 * i));
  return text;
}

// The start of a BMP file (file and information headers, no pixels) claiming width x height.
std::string BmpHeader(std::uint32_t width, std::uint32_t height) {
  return "BM" + LittleEndian(54, 4) + LittleEndian(0, 4) + LittleEndian(54, 4) + LittleEndian(40, 4) +
         LittleEndian(width, 4) + LittleEndian(height, 4) + LittleEndian(1, 2) + LittleEndian(24, 2) +
         std::string(24, '\0');
}

// A GIF whose screen and one image claim width x height, with a few bytes of image data.
std::string GifHeader(std::uint32_t width, std::uint32_t height) {
  return "GIF89a" + LittleEndian(width, 2) + LittleEndian(height, 2) + std::string("\0\0\0", 3) + "," +
         LittleEndian(0, 4) + LittleEndian(width, 2) + LittleEndian(height, 2) +
         std::string("\0\x02\x02\x44\x01\0;", 7);
}

// Pictures whose header claims more pixels than any camera makes, or more than the toolkit's
// reader would decode, are refused in our words (the toolkit says only "Unable to read image
// data"), naming the file, the size and the limit, in Japanese for the windows and in English
// for the command line.
TEST(LoadGraphic, APictureClaimingTooManyPixelsIsRefusedInOurWords) {
  test::TTempFolder folder;
  std::string jpeg = ReadBytes(std::string(HAKUVO_TESTDATA_DIR) + "/photos/Canon_40D.jpg");
  const std::size_t frame = jpeg.rfind("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  jpeg[frame + 5] = jpeg[frame + 7] = '\xFF';
  jpeg[frame + 6] = jpeg[frame + 8] = '\xDC';
  const struct {
    std::string Name;
    std::string Bytes;
    const char* Size;
  } cases[] = {
      {"huge.png", PngHeader(30000, 30000), "30000 × 30000"},
      {"huge.bmp", BmpHeader(30000, 30000), "30000 × 30000"},
      {"huge.gif", GifHeader(30000, 30000), "30000 × 30000"},
      {"large.png", PngHeader(12000, 12000), "12000 × 12000"},
      {"large.bmp", BmpHeader(12000, 12000), "12000 × 12000"},
      {"large.gif", GifHeader(12000, 12000), "12000 × 12000"},
      {"huge.jpg", jpeg, "65500 × 65500"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteBytes(folder.Path(c.Name), c.Bytes);
    try {
      LoadGraphicReduced(folder.Path(c.Name), {});
      ADD_FAILURE() << "decoded";
    } catch (const EHakuvoError& error) {
      const std::string japanese = error.what(), english = error.English();
      EXPECT_NE(japanese.find("画素数が多すぎる画像です（" + std::string(c.Size)), std::string::npos) << japanese;
      EXPECT_EQ(japanese.find("too many"), std::string::npos) << japanese;
      EXPECT_EQ(japanese.find("Unable to read"), std::string::npos) << japanese;
      EXPECT_NE(japanese.find(folder.Path(c.Name)), std::string::npos) << japanese;
      EXPECT_NE(english.find("too many pixels"), std::string::npos) << english;
      EXPECT_NE(english.find(folder.Path(c.Name)), std::string::npos) << english;
    }
  }
}

}  // namespace
}  // namespace hakuvo
