#include "core/gps/jpeg_exif.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/common/date_time.h"

namespace hakuvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kOrientation = 274;
constexpr std::uint16_t kDateTime = 306;
constexpr std::uint16_t kExifPointer = 34665;
constexpr std::uint16_t kGpsPointer = 34853;
constexpr std::uint16_t kDateTimeOriginal = 36867;
constexpr std::uint16_t kLatitudeRef = 1;
constexpr std::uint16_t kLatitude = 2;
constexpr std::uint16_t kLongitudeRef = 3;
constexpr std::uint16_t kLongitude = 4;

struct TestEntry {
  std::uint16_t Tag = 0;
  std::uint16_t Type = 0;
  std::uint32_t Count = 0;
  Bytes Data;                          // the value, in the value field when it fits in 4 bytes
  std::optional<std::uint32_t> Field;  // a raw value field instead of Data
  int PointsAtIfd = -1;                // the value field is the offset of this IFD
};

// Lays out a TIFF block: header, the IFDs one after another (IFD0 first), then the values that
// do not fit in their entry.
class TiffBuilder {
 public:
  explicit TiffBuilder(bool bigEndian) : FBig(bigEndian) {}

  TestEntry Ascii(std::uint16_t tag, const std::string& text) const {
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    return {tag, 2, static_cast<std::uint32_t>(data.size()), data, std::nullopt, -1};
  }
  TestEntry Short(std::uint16_t tag, std::uint16_t value) const {
    Bytes data;
    Put16(data, value);
    return {tag, 3, 1, data, std::nullopt, -1};
  }
  TestEntry Long(std::uint16_t tag, std::uint32_t value) const {
    Bytes data;
    Put32(data, value);
    return {tag, 4, 1, data, std::nullopt, -1};
  }
  TestEntry Rationals(std::uint16_t tag, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& values) const {
    Bytes data;
    for (const auto& [numerator, denominator] : values) {
      Put32(data, numerator);
      Put32(data, denominator);
    }
    return {tag, 5, static_cast<std::uint32_t>(values.size()), data, std::nullopt, -1};
  }
  // Type 10, as some phones write the GPS angles.
  TestEntry SignedRationals(std::uint16_t tag, const std::vector<std::pair<std::int32_t, std::int32_t>>& values) const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> bits;
    for (const auto& [numerator, denominator] : values) {
      bits.emplace_back(static_cast<std::uint32_t>(numerator), static_cast<std::uint32_t>(denominator));
    }
    TestEntry entry = Rationals(tag, bits);
    entry.Type = 10;
    return entry;
  }
  TestEntry Raw(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t field) const {
    return {tag, type, count, {}, field, -1};
  }
  TestEntry Pointer(std::uint16_t tag, int ifd, std::uint16_t type = 4) const {
    return {tag, type, 1, {}, std::nullopt, ifd};
  }

  Bytes Build(const std::vector<std::vector<TestEntry>>& ifds) const {
    std::vector<std::uint32_t> offsets;
    std::uint32_t next = 8;
    for (const auto& ifd : ifds) {
      offsets.push_back(next);
      next += static_cast<std::uint32_t>(2 + 12 * ifd.size() + 4);
    }
    Bytes out = FBig ? Bytes{'M', 'M', 0, 0x2A} : Bytes{'I', 'I', 0x2A, 0};
    Put32(out, 8);
    Bytes extra;
    for (const auto& ifd : ifds) {
      Put16(out, static_cast<std::uint16_t>(ifd.size()));
      for (const auto& entry : ifd) {
        Put16(out, entry.Tag);
        Put16(out, entry.Type);
        Put32(out, entry.Count);
        if (entry.Field) {
          Put32(out, *entry.Field);
        } else if (entry.PointsAtIfd >= 0) {
          Put32(out, offsets.at(static_cast<std::size_t>(entry.PointsAtIfd)));
        } else if (entry.Data.size() <= 4) {
          Bytes field = entry.Data;
          field.resize(4, 0);
          out.insert(out.end(), field.begin(), field.end());
        } else {
          Put32(out, static_cast<std::uint32_t>(next + extra.size()));
          extra.insert(extra.end(), entry.Data.begin(), entry.Data.end());
        }
      }
      Put32(out, 0);  // no next IFD
    }
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
  }

 private:
  void Put16(Bytes& out, std::uint16_t v) const {
    const std::uint8_t hi = static_cast<std::uint8_t>(v >> 8), lo = static_cast<std::uint8_t>(v);
    out.insert(out.end(),
               FBig ? std::initializer_list<std::uint8_t>{hi, lo} : std::initializer_list<std::uint8_t>{lo, hi});
  }
  void Put32(Bytes& out, std::uint32_t v) const {
    for (int i = 0; i < 4; ++i) {
      const int shift = FBig ? 24 - 8 * i : 8 * i;
      out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
  }

  bool FBig;
};

Bytes Segment(std::uint8_t marker, const Bytes& payload) {
  const std::size_t length = payload.size() + 2;
  Bytes out{0xFF, marker, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)};
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

const Bytes kJfifApp0 = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
const Bytes kXmpApp1 = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0});
const Bytes kComment = Segment(0xFE, {'h', 'i'});

// A photograph: start marker, the given segments, the Exif segment, a start of scan and an end.
Bytes Jpeg(const Bytes& tiff, const std::vector<Bytes>& before = {}) {
  Bytes out{0xFF, 0xD8};
  for (const auto& segment : before) out.insert(out.end(), segment.begin(), segment.end());
  Bytes exif{'E', 'x', 'i', 'f', 0, 0};
  exif.insert(exif.end(), tiff.begin(), tiff.end());
  const Bytes app1 = Segment(0xE1, exif);
  out.insert(out.end(), app1.begin(), app1.end());
  const Bytes scan = Segment(0xDA, {1, 1, 0, 0, 0x3F, 0});
  out.insert(out.end(), scan.begin(), scan.end());
  out.insert(out.end(), {0x12, 0x34, 0xFF, 0xD9});
  return out;
}

// The usual camera layout: IFD0 with orientation, date and the two pointers, the Exif IFD with
// the shooting time, and a GPS IFD (here 35°40'30" S, 139°45' W).
std::vector<std::vector<TestEntry>> CameraIfds(const TiffBuilder& b,
                                               const std::string& dateTime = "2012:08:15 10:20:30",
                                               const std::string& original = "2014:06:01 12:34:56") {
  return {
      {b.Short(kOrientation, 6), b.Ascii(kDateTime, dateTime), b.Pointer(kExifPointer, 1), b.Pointer(kGpsPointer, 2)},
      {b.Ascii(kDateTimeOriginal, original)},
      {b.Raw(0, 1, 4, 0x02020000), b.Ascii(kLatitudeRef, "S"), b.Rationals(kLatitude, {{35, 1}, {40, 1}, {3000, 100}}),
       b.Ascii(kLongitudeRef, "W"), b.Rationals(kLongitude, {{139, 1}, {45, 1}, {0, 1}})}};
}

TJpegExif Read(const Bytes& bytes) {
  TJpegExif exif;
  exif.ReadBuffer(bytes.data(), bytes.size());
  return exif;
}

std::string WriteTemp(const std::string& name, const Bytes& bytes) {
  const std::string path = ::testing::TempDir() + "jpeg_exif_test_" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string Text(TDateTime value) { return value == 0 ? "0" : DateTimeToStr(value); }

// What the three routines answer for a file, in one line for easy comparison.
std::string Routines(const std::string& path) {
  double latitude = -1, longitude = -1;
  const bool found = ExifPosition(path, latitude, longitude);
  return Text(ExifDateTimeOriginal(path)) + " " + std::to_string(ExifOrientation(path)) + " " +
         (found ? "pos" : "nopos") + " " + std::to_string(latitude) + " " + std::to_string(longitude);
}

const std::string kEmptyAnswer = "0 0 nopos 0.000000 0.000000";

std::string Photo(const std::string& name) { return std::string(HAKUVO_TESTDATA_DIR) + "/photos/" + name; }

TEST(JpegExif, RealPhotographsGiveTheirRecordedValues) {
  struct Case {
    const char* File;
    const char* DateTimeOriginal;  // what the routine answers: IFD0's time when there is no original
    const char* DateTime;
    int Orientation;
    double Latitude;
    double Longitude;
  };
  const Case cases[] = {
      {"Canon_40D.jpg", "2008/05/30 15:56:01", "2008/07/31 10:38:11", 0, 0, 0},
      {"exif-org_fujifilm-dx10.jpg", "2001/04/12 20:33:14", "2001/04/12 20:33:14", 0, 0, 0},
      {"gps_DSCN0010.jpg", "2008/10/22 16:28:39", "2008/11/01 21:15:07", 0, 43.4674483333333, 11.8851266666639},
      {"gps_DSCN0027.jpg", "2008/10/22 16:44:01", "2008/11/01 21:15:09", 0, 43.4684416666667, 11.881515},
      {"orientation_landscape_1.jpg", "0", "0", 0, 0, 0},
      {"orientation_landscape_3.jpg", "0", "0", 180, 0, 0},
      {"orientation_landscape_6.jpg", "0", "0", 90, 0, 0},
      {"orientation_landscape_8.jpg", "0", "0", 270, 0, 0},
      {"orientation_portrait_6.jpg", "0", "0", 90, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    const std::string path = Photo(c.File);
    TJpegExif exif;
    ASSERT_NO_THROW(exif.SetFileName(path));
    EXPECT_EQ(exif.FileName(), path);
    EXPECT_EQ(Text(exif.DateTime()), c.DateTime);
    EXPECT_EQ(Text(ExifDateTimeOriginal(path)), c.DateTimeOriginal);
    EXPECT_EQ(ExifOrientation(path), c.Orientation);
    double latitude = -1, longitude = -1;
    EXPECT_EQ(ExifPosition(path, latitude, longitude), c.Latitude != 0);
    EXPECT_NEAR(latitude, c.Latitude, 1e-9);
    EXPECT_NEAR(longitude, c.Longitude, 1e-9);
  }
}

// Its only date is an XMP ModifyDate; there is no Exif block to read it from.
TEST(JpegExif, PhotographWithOnlyXmpHasNoExif) {
  const std::string path = Photo("invalid_image01088.jpg");
  TJpegExif exif;
  EXPECT_THROW(exif.SetFileName(path), EJpegExifError);
  EXPECT_EQ(Routines(path), kEmptyAnswer);
}

TEST(JpegExif, ReadsBothByteOrdersAlike) {
  for (const bool big : {true, false}) {
    SCOPED_TRACE(big ? "big-endian" : "little-endian");
    const TiffBuilder b(big);
    const TJpegExif exif = Read(Jpeg(b.Build(CameraIfds(b))));
    EXPECT_EQ(exif.Orientation(), 90);
    EXPECT_EQ(Text(exif.DateTime()), "2012/08/15 10:20:30");
    EXPECT_EQ(Text(exif.DateTimeOriginal()), "2014/06/01 12:34:56");
    EXPECT_NEAR(exif.GpsLatitude(), -35.675, 1e-12);
    EXPECT_NEAR(exif.GpsLongitude(), -139.75, 1e-12);
  }
}

TEST(JpegExif, FindsTheExifSegmentBehindOtherSegments) {
  const TiffBuilder b(false);
  const Bytes tiff = b.Build(CameraIfds(b));
  const std::vector<std::vector<Bytes>> prefixes = {
      {kJfifApp0}, {kJfifApp0, kComment}, {kXmpApp1}, {kJfifApp0, kXmpApp1, Segment(0xE2, Bytes(300, 7))}};
  for (std::size_t i = 0; i < prefixes.size(); ++i) {
    SCOPED_TRACE(i);
    const std::string path = WriteTemp("behind.jpg", Jpeg(tiff, prefixes[i]));
    EXPECT_EQ(Routines(path), "2014/06/01 12:34:56 90 pos -35.675000 -139.750000");
  }
  // Fill bytes before a marker are allowed.
  Bytes padded = Jpeg(tiff, {kJfifApp0});
  padded.insert(padded.begin() + 2 + static_cast<std::ptrdiff_t>(kJfifApp0.size()), {0xFF, 0xFF});
  EXPECT_EQ(Read(padded).Orientation(), 90);
}

TEST(JpegExif, NoExifBeforeTheScanIsNotExif) {
  const TiffBuilder b(false);
  Bytes scanFirst{0xFF, 0xD8};
  const Bytes scan = Segment(0xDA, {1, 1, 0, 0, 0x3F, 0});
  scanFirst.insert(scanFirst.end(), kJfifApp0.begin(), kJfifApp0.end());
  scanFirst.insert(scanFirst.end(), scan.begin(), scan.end());
  const Bytes exif = Jpeg(b.Build(CameraIfds(b)));
  scanFirst.insert(scanFirst.end(), exif.begin() + 2, exif.end());  // an Exif block after the scan is image data
  const std::vector<Bytes> cases = {
      scanFirst,
      {0xFF, 0xD8},
      {0xFF, 0xD8, 0xFF, 0xD9},
      {0xFF, 0xD8, 0x00, 0x00, 0xFF, 0xE1},                    // not a marker where one belongs
      {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01, 0xFF, 0xE1, 0, 8},  // a length shorter than itself
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_THROW(Read(cases[i]), EJpegExifError);
  }
}

TEST(JpegExif, NonJpegFilesAreNotJpeg) {
  const std::vector<Bytes> cases = {
      {}, {0xFF}, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}, {0xD8, 0xFF, 0xE1}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    try {
      Read(cases[i]);
      ADD_FAILURE() << "no error";
    } catch (const ENotJpegFileError& error) {
      EXPECT_STREQ(error.what(), "Not Jpeg");
    }
    EXPECT_EQ(Routines(WriteTemp("not.png", cases[i])), kEmptyAnswer);
  }
  EXPECT_EQ(Routines(::testing::TempDir() + "jpeg_exif_test_missing.jpg"), kEmptyAnswer);
  TJpegExif exif;
  EXPECT_THROW(exif.SetFileName(::testing::TempDir() + "jpeg_exif_test_missing.jpg"), EHakuvoError);
}

TEST(JpegExif, GpsReferencesGiveTheSign) {
  struct Case {
    const char* LatitudeRef;
    const char* LongitudeRef;
    double Latitude;
    double Longitude;
  };
  const Case cases[] = {{"N", "E", 35.675, 139.75},
                        {"S", "E", -35.675, 139.75},
                        {"N", "W", 35.675, -139.75},
                        {"S", "W", -35.675, -139.75}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.LatitudeRef) + c.LongitudeRef);
    const TiffBuilder b(true);
    // The references may come after the values they qualify.
    const TJpegExif exif = Read(Jpeg(b.Build(
        {{b.Pointer(kGpsPointer, 1)},
         {b.Rationals(kLatitude, {{35, 1}, {40, 1}, {3000, 100}}), b.Rationals(kLongitude, {{139, 1}, {45, 1}, {0, 1}}),
          b.Ascii(kLatitudeRef, c.LatitudeRef), b.Ascii(kLongitudeRef, c.LongitudeRef)}})));
    EXPECT_DOUBLE_EQ(exif.GpsLatitude(), c.Latitude);
    EXPECT_DOUBLE_EQ(exif.GpsLongitude(), c.Longitude);
  }
}

TEST(JpegExif, GpsTermsWithoutDenominatorOrWrongTypeAreLeftOut) {
  const TiffBuilder b(false);
  const TJpegExif exif = Read(Jpeg(b.Build({{b.Pointer(kGpsPointer, 1)},
                                            {b.Rationals(kLatitude, {{35, 1}, {40, 0}, {1800, 1}}),
                                             b.Long(kLongitude, 139), b.Ascii(kLongitudeRef, "W")}})));
  EXPECT_DOUBLE_EQ(exif.GpsLatitude(), 35.5);
  EXPECT_EQ(exif.GpsLongitude(), 0);  // a LONG is no coordinate, and 0 takes no sign
  EXPECT_FALSE(std::signbit(exif.GpsLongitude()));
  // Fewer than three rationals: the missing terms count nothing.
  const TJpegExif degreesOnly = Read(Jpeg(b.Build({{b.Pointer(kGpsPointer, 1)}, {b.Rationals(kLatitude, {{12, 1}})}})));
  EXPECT_DOUBLE_EQ(degreesOnly.GpsLatitude(), 12);
}

TEST(JpegExif, SignedRationalAnglesAreReadLikeUnsignedOnes) {
  using Terms = std::vector<std::pair<std::int32_t, std::int32_t>>;
  struct Case {
    const char* what;
    Terms latitude;
    const char* latitudeRef;  // nullptr: no reference tag
    Terms longitude;
    const char* longitudeRef;
    double expectedLatitude, expectedLongitude;
  };
  const Case cases[] = {
      {"north east", {{35, 1}, {40, 1}, {3000, 100}}, "N", {{139, 1}, {45, 1}, {0, 1}}, "E", 35.675, 139.75},
      {"south west by reference",
       {{35, 1}, {40, 1}, {3000, 100}},
       "S",
       {{139, 1}, {45, 1}, {0, 1}},
       "W",
       -35.675,
       -139.75},
      {"the sign in the numbers",
       {{-35, 1}, {40, 1}, {30, 1}},
       nullptr,
       {{-139, 1}, {45, 1}, {0, 1}},
       nullptr,
       -35.675,
       -139.75},
      {"a sign and its reference agree", {{-35, 1}, {40, 1}, {30, 1}}, "S", {{139, 1}, {45, 1}}, "W", -35.675, -139.75},
      {"negative denominators",
       {{35, -1}, {-40, -1}, {0, 1}},
       "N",
       {{1390, 10}, {45, 0}, {0, 1}},
       "E",
       -(35 + 40 / 60.0),
       139},
      {"decimal degrees in one term", {{35675000, 1000000}}, "N", {{-139750000, 1000000}}, nullptr, 35.675, -139.75},
  };
  for (const Case& c : cases) {
    for (const bool big : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (big ? ", MM" : ", II"));
      const TiffBuilder b(big);
      std::vector<TestEntry> gps = {b.SignedRationals(kLatitude, c.latitude),
                                    b.SignedRationals(kLongitude, c.longitude)};
      if (c.latitudeRef) gps.push_back(b.Ascii(kLatitudeRef, c.latitudeRef));
      if (c.longitudeRef) gps.push_back(b.Ascii(kLongitudeRef, c.longitudeRef));
      const Bytes photo = Jpeg(b.Build({{b.Pointer(kGpsPointer, 1)}, gps}));
      const TJpegExif exif = Read(photo);
      EXPECT_NEAR(exif.GpsLatitude(), c.expectedLatitude, 1e-12);
      EXPECT_NEAR(exif.GpsLongitude(), c.expectedLongitude, 1e-12);
      double latitude = 0, longitude = 0;
      EXPECT_TRUE(ExifPosition(WriteTemp("signed.jpg", photo), latitude, longitude));
      EXPECT_NEAR(latitude, c.expectedLatitude, 1e-12);
    }
  }
}

TEST(JpegExif, OrientationBecomesTheTurnThatShowsThePhotographUpright) {
  const int angles[] = {0, 0, 0, 180, 0, 0, 90, 0, 270, 0};  // by Exif value 0..9; mirrored ones give 0
  for (std::uint16_t value = 0; value < 10; ++value) {
    SCOPED_TRACE(value);
    for (const bool big : {true, false}) {
      const TiffBuilder b(big);
      EXPECT_EQ(Read(Jpeg(b.Build({{b.Short(kOrientation, value)}}))).Orientation(), angles[value]);
      EXPECT_EQ(Read(Jpeg(b.Build({{b.Long(kOrientation, value)}}))).Orientation(), angles[value]);
    }
  }
  const TiffBuilder b(true);
  EXPECT_EQ(Read(Jpeg(b.Build({{b.Ascii(kOrientation, "6")}}))).Orientation(), 0);
}

TEST(JpegExif, ShootingTimeFallsBackToTheIfd0Time) {
  const TiffBuilder b(true);
  const TJpegExif noOriginal = Read(Jpeg(b.Build({{b.Ascii(kDateTime, "2012:08:15 10:20:30")}})));
  EXPECT_EQ(Text(noOriginal.DateTimeOriginal()), "2012/08/15 10:20:30");
  // Only the Exif IFD holds the shooting time, and only a LONG pointer leads there.
  const TJpegExif shortPointer =
      Read(Jpeg(b.Build({{b.Ascii(kDateTime, "2012:08:15 10:20:30"), b.Pointer(kExifPointer, 1, 3),
                          b.Ascii(kDateTimeOriginal, "2001:01:01 00:00:00")},
                         {b.Ascii(kDateTimeOriginal, "2014:06:01 12:34:56")}})));
  EXPECT_EQ(Text(shortPointer.DateTimeOriginal()), "2012/08/15 10:20:30");
}

TEST(JpegExif, AnInvalidDateLosesOnlyThatDate) {
  const TiffBuilder b(false);
  // A camera whose clock was never set; the rest of the photograph is still read.
  const std::string unset =
      WriteTemp("unset.jpg", Jpeg(b.Build(CameraIfds(b, "0000:00:00 00:00:00", "0000:00:00 00:00:00"))));
  EXPECT_EQ(Routines(unset), "0 90 pos -35.675000 -139.750000");
  const std::string badOriginal =
      WriteTemp("blank.jpg", Jpeg(b.Build(CameraIfds(b, "2012:08:15 10:20:30", "    :  :     :  :  "))));
  EXPECT_EQ(Routines(badOriginal), "2012/08/15 10:20:30 90 pos -35.675000 -139.750000");

  const char* invalid[] = {"2012:02:30 10:20:30", "2012:08:15 24:00:00", "2012:08:15", "", "2012:0x:15 10:20:30"};
  for (const char* text : invalid) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Read(Jpeg(b.Build({{b.Ascii(kDateTime, text), b.Short(kOrientation, 3)}}))).DateTime(), 0);
  }
  // Text after the nineteen characters (a zone letter) is not read.
  EXPECT_EQ(Text(Read(Jpeg(b.Build({{b.Ascii(kDateTime, "2012:08:27 15:37:28Z")}}))).DateTime()),
            "2012/08/27 15:37:28");
}

TEST(JpegExif, TruncatedFilesFailCleanly) {
  const TiffBuilder b(true);
  const Bytes tiff = b.Build(CameraIfds(b));
  const Bytes full = Jpeg(tiff, {kJfifApp0});
  const std::size_t tiffEnd = 2 + kJfifApp0.size() + 10 + tiff.size();
  for (std::size_t size = 0; size < tiffEnd; ++size) {
    const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_THROW(Read(cut), EHakuvoError) << "cut at " << size;
  }
  EXPECT_EQ(Read(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(tiffEnd))).Orientation(), 90);
  const Bytes half(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(tiffEnd - 5));
  EXPECT_EQ(Routines(WriteTemp("cut.jpg", half)), kEmptyAnswer);
}

TEST(JpegExif, IfdLoopsAreNotWalkedAgain) {
  for (const bool big : {true, false}) {
    const TiffBuilder b(big);
    // Both pointers lead back to IFD0 itself.
    const Bytes loop =
        Jpeg(b.Build({{b.Short(kOrientation, 8), b.Pointer(kExifPointer, 0), b.Pointer(kGpsPointer, 0)}}));
    EXPECT_EQ(Read(loop).Orientation(), 270);
    // The GPS pointer leads into the middle of IFD0, and to the header (offset 0, "none").
    const Bytes inside =
        Jpeg(b.Build({{b.Short(kOrientation, 3), b.Raw(kExifPointer, 4, 1, 0), b.Raw(kGpsPointer, 4, 1, 8 + 2 + 12)}}));
    EXPECT_EQ(Read(inside).Orientation(), 180);
    // The Exif and GPS pointers share one IFD: it is read once, as the Exif IFD.
    const TJpegExif shared =
        Read(Jpeg(b.Build({{b.Pointer(kExifPointer, 1), b.Pointer(kGpsPointer, 1)},
                           {b.Ascii(kDateTimeOriginal, "2014:06:01 12:34:56"), b.Rationals(kLatitude, {{10, 1}})}})));
    EXPECT_EQ(Text(shared.DateTimeOriginal()), "2014/06/01 12:34:56");
    EXPECT_EQ(shared.GpsLatitude(), 0);
  }
}

TEST(JpegExif, OffsetsAndCountsOutsideTheFileAreRejected) {
  const TiffBuilder b(false);
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"text past the end", b.Build({{b.Short(kOrientation, 6), b.Raw(kDateTime, 2, 20, 0xFFFFFFF0)}})},
      {"Exif IFD past the end", b.Build({{b.Short(kOrientation, 6), b.Raw(kExifPointer, 4, 1, 0xFFFFFFFF)}})},
      {"GPS IFD past the end", b.Build({{b.Short(kOrientation, 6), b.Raw(kGpsPointer, 4, 1, 100000)}})},
      {"huge text count", b.Build({{b.Short(kOrientation, 6), b.Raw(kDateTime, 2, 0xFFFFFFFF, 8)}})},
      {"rational count overflowing 32 bits",
       b.Build({{b.Pointer(kGpsPointer, 1)}, {b.Raw(kLatitude, 5, 0x20000001, 8)}})},
      {"signed rational count overflowing 32 bits",
       b.Build({{b.Pointer(kGpsPointer, 1)}, {b.Raw(kLongitude, 10, 0x20000001, 8)}})},
      {"signed rationals past the end", b.Build({{b.Pointer(kGpsPointer, 1)}, {b.Raw(kLatitude, 10, 3, 0xFFFFFFF0)}})},
      {"text count just past the end", b.Build({{b.Raw(kDateTime, 2, 200, 8)}})},
  };
  for (const auto& [name, tiff] : cases) {
    SCOPED_TRACE(name);
    EXPECT_THROW(Read(Jpeg(tiff)), EHakuvoError);
    EXPECT_EQ(Routines(WriteTemp("bad.jpg", Jpeg(tiff))), kEmptyAnswer);
  }
  // IFD0 announcing more entries than the file holds, and IFD0 itself past the end.
  Bytes manyEntries = b.Build({{b.Short(kOrientation, 6)}});
  manyEntries[8] = 0xFF;
  manyEntries[9] = 0xFF;
  EXPECT_THROW(Read(Jpeg(manyEntries)), EHakuvoError);
  Bytes farIfd0 = b.Build({{b.Short(kOrientation, 6)}});
  farIfd0[4] = farIfd0[5] = farIfd0[6] = farIfd0[7] = 0xFF;
  EXPECT_THROW(Read(Jpeg(farIfd0)), EHakuvoError);
}

TEST(JpegExif, ReadingAgainClearsThePreviousPhotograph) {
  const TiffBuilder b(true);
  TJpegExif exif;
  const Bytes camera = Jpeg(b.Build(CameraIfds(b)));
  exif.ReadBuffer(camera.data(), camera.size());
  const Bytes bare = Jpeg(b.Build({{}}));
  exif.ReadBuffer(bare.data(), bare.size());
  EXPECT_EQ(exif.DateTimeOriginal(), 0);
  EXPECT_EQ(exif.Orientation(), 0);
  EXPECT_EQ(exif.GpsLatitude(), 0);
  EXPECT_EQ(exif.GpsLongitude(), 0);
}

}  // namespace
}  // namespace hakuvo
