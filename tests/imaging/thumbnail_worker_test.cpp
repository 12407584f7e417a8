#include "imaging/thumbnail_worker.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QtEndian>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "imaging/imaging_test_util.h"
#include "imaging/link_thumbnail.h"

namespace hakuvo {
namespace {

using namespace hakuvo::test;
using namespace std::chrono_literals;

bool IsWhite(QRgb pixel) { return (pixel & 0xFFFFFF) == 0xFFFFFF; }
bool IsSkyBlue(QRgb pixel) { return (pixel & 0xFFFFFF) == (kSkyBlue & 0xFFFFFF); }
bool IsGrey(QRgb pixel) { return (pixel & 0xFFFFFF) == (kOutlineGrey & 0xFFFFFF); }
bool IsBlack(QRgb pixel) { return (pixel & 0xFFFFFF) == 0; }

// The images a worker hands over, gathered on the test's thread.
class TCollector {
 public:
  TThumbnailWorker::TDeliver Deliver() {
    return [this](int index, const QImage& image) {
      const std::lock_guard lock(FMutex);
      FOrder.push_back(index);
      FImages[index] = image;
      FChanged.notify_all();
    };
  }
  // Waits for `count` images; the limit only keeps a broken worker from hanging the tests.
  bool WaitFor(int count) {
    std::unique_lock lock(FMutex);
    return FChanged.wait_for(lock, 60s, [&] { return static_cast<int>(FOrder.size()) >= count; });
  }
  std::vector<int> Order() const {
    const std::lock_guard lock(FMutex);
    return FOrder;
  }
  QImage Image(int index) const {
    const std::lock_guard lock(FMutex);
    const auto found = FImages.find(index);
    return found == FImages.end() ? QImage() : found->second;
  }

 private:
  mutable std::mutex FMutex;
  std::condition_variable FChanged;
  std::vector<int> FOrder;
  std::map<int, QImage> FImages;
};

std::vector<QImage> RunToEnd(std::vector<TThumbnailJob> jobs, QSize size, int threads = 3) {
  const int count = static_cast<int>(jobs.size());
  TCollector collector;
  TThumbnailWorker worker(std::move(jobs), size, collector.Deliver(), threads);
  worker.Wait();
  EXPECT_FALSE(worker.IsRunning());
  std::vector<int> expected(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) expected[static_cast<std::size_t>(i)] = i;
  EXPECT_EQ(collector.Order(), expected) << "one image per link, in link order";
  std::vector<QImage> images;
  for (int i = 0; i < count; ++i) images.push_back(collector.Image(i));
  return images;
}

TThumbnailJob PictureJob(const std::string& file, int angle = 0) {
  TThumbnailJob job;
  job.Kind = TThumbnailKind::Picture;
  job.PictureFileName = file;
  job.Angle = angle;
  return job;
}

TThumbnailJob Job(TThumbnailKind kind) {
  TThumbnailJob job;
  job.Kind = kind;
  return job;
}

// The columns and rows of an image that are not white, as a rectangle.
QRect PaintedRect(const QImage& image) {
  QRect painted;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!IsWhite(image.pixel(x, y))) painted |= QRect(x, y, 1, 1);
    }
  }
  return painted;
}

std::uint32_t Crc32(const QByteArray& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char byte : bytes) {
    crc ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
  QByteArray chunk(4, '\0');
  qToBigEndian<quint32>(static_cast<quint32>(data.size()), chunk.data());
  const QByteArray body = QByteArray(type, 4) + data;
  QByteArray crc(4, '\0');
  qToBigEndian<quint32>(Crc32(body), crc.data());
  return chunk + body + crc;
}

// A few kilobytes that claim a picture of side x side pixels: a deflate stream of zeros far
// shorter than the rows it would take.
std::string PngBomb(int side) {
  QByteArray header(13, '\0');
  qToBigEndian<quint32>(static_cast<quint32>(side), header.data());
  qToBigEndian<quint32>(static_cast<quint32>(side), header.data() + 4);
  header[8] = 8;  // bit depth
  header[9] = 2;  // RGB
  const QByteArray zeros(4 << 20, '\0');
  const QByteArray zlib = qCompress(zeros, 9).mid(4);  // without Qt's length prefix
  const QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", zlib) +
                         PngChunk("IEND", QByteArray());
  return png.toStdString();
}

// A small JPEG whose frame header claims width x height: libjpeg takes the size at its word and
// finds the data short.
std::string JpegClaiming(int width, int height) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  PatternImage(64, 64).save(&buffer, "JPEG", 90);
  const qsizetype sof = jpeg.indexOf("\xFF\xC0");
  EXPECT_GT(sof, 0);
  qToBigEndian<quint16>(static_cast<quint16>(height), jpeg.data() + sof + 5);
  qToBigEndian<quint16>(static_cast<quint16>(width), jpeg.data() + sof + 7);
  return jpeg.toStdString();
}

class ThumbnailWorkerTest : public testing::Test {
 protected:
  std::string Picture(const std::string& name, QSize size, const char* format = "JPEG") {
    return SavePicture(PatternImage(size.width(), size.height()), Folder.Path(name), format);
  }
  TTempFolder Folder;
};

TEST(FittedPictureRect, FitsBeforeTurningAndCentresByCuttingTheHalf) {
  struct Case {
    QSize Picture;
    int Angle;
    QSize Image;
    QRect Expected;
  };
  const Case cases[] = {
      {{640, 480}, 90, {120, 120}, {15, 0, 90, 120}},  {{640, 480}, 270, {120, 120}, {15, 0, 90, 120}},
      {{640, 480}, 180, {120, 120}, {0, 15, 120, 90}}, {{1000, 1000}, 0, {100, 75}, {12, 0, 75, 75}},
      {{4000, 3000}, 0, {120, 120}, {0, 15, 120, 90}}, {{3000, 4000}, 0, {120, 120}, {15, 0, 90, 120}},
      {{100, 50}, 0, {120, 120}, {0, 30, 120, 60}},  // small pictures grow
      {{3000, 4000}, 90, {160, 90}, {20, 0, 120, 90}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FittedPictureRect(c.Picture, c.Angle, c.Image), c.Expected)
        << c.Picture.width() << "x" << c.Picture.height() << " at " << c.Angle;
  }
}

TEST_F(ThumbnailWorkerTest, APhotoAThingAPersonAndAFileGiveFourImagesInThatOrder) {
  TThumbnailJob file = Job(TThumbnailKind::File);
  file.PictureFileName = Folder.Path("manual.pdf");
  const std::vector<QImage> images = RunToEnd(
      {PictureJob(Picture("photo.jpg", {640, 480})), Job(TThumbnailKind::Thing), Job(TThumbnailKind::Person), file},
      {120, 120});
  ASSERT_EQ(images.size(), 4u);
  for (const QImage& image : images) EXPECT_EQ(image.size(), QSize(120, 120));

  // The photograph, 120 x 90 in the middle.
  EXPECT_EQ(PaintedRect(images[0]), QRect(0, 15, 120, 90));

  // The thing: a sky-blue rectangle of 70 %, 84 x 84 at 18.
  EXPECT_EQ(PaintedRect(images[1]), QRect(18, 18, 84, 84));
  EXPECT_TRUE(IsSkyBlue(images[1].pixel(18, 18)));
  EXPECT_TRUE(IsSkyBlue(images[1].pixel(101, 101)));

  // The person: a head of 57 at (31, 15) and the upper half of a body of 76 at (22, 66), whose
  // straight edge lies at 66 + 38.
  const QImage& person = images[2];
  EXPECT_TRUE(IsSkyBlue(person.pixel(60, 15 + 28))) << "the middle of the head";
  EXPECT_TRUE(IsWhite(person.pixel(31, 15))) << "the corner of the head's square";
  EXPECT_TRUE(IsSkyBlue(person.pixel(60, 100))) << "the shoulders";
  EXPECT_TRUE(IsSkyBlue(person.pixel(24, 103))) << "the shoulders reach out at the bottom";
  EXPECT_TRUE(IsWhite(person.pixel(60, 106))) << "nothing below the shoulders' edge";
  EXPECT_TRUE(IsWhite(person.pixel(23, 67))) << "the shoulders are round";
  const QRect personRect = PaintedRect(person);
  EXPECT_EQ(personRect.left(), 22);
  EXPECT_NEAR(personRect.right(), 22 + 75, 1);
  EXPECT_EQ(personRect.top(), 15);

  // The page outline alone (no icon was given): an 96 x 96 page at 12 with a corner of 22.
  const QImage& page = images[3];
  EXPECT_TRUE(IsGrey(page.pixel(12, 60))) << "left edge";
  EXPECT_TRUE(IsGrey(page.pixel(60, 108))) << "bottom edge";
  EXPECT_TRUE(IsGrey(page.pixel(108, 60))) << "right edge";
  EXPECT_TRUE(IsGrey(page.pixel(50, 12))) << "top edge";
  EXPECT_TRUE(IsGrey(page.pixel(86, 20))) << "the fold";
  EXPECT_TRUE(IsWhite(page.pixel(106, 13))) << "the cut corner";
  EXPECT_TRUE(IsWhite(page.pixel(60, 60)));
}

TEST_F(ThumbnailWorkerTest, TheFileIconIsCentredOverThePage) {
  QImage icon(32, 32, QImage::Format_ARGB32);
  icon.fill(qRgb(200, 0, 0));
  TThumbnailJob file = Job(TThumbnailKind::File);
  file.FileIcon = icon;
  const std::vector<QImage> images = RunToEnd({file}, {120, 120});
  EXPECT_EQ(images[0].pixel(44, 44), qRgb(200, 0, 0));
  EXPECT_EQ(images[0].pixel(75, 75), qRgb(200, 0, 0));
  EXPECT_TRUE(IsWhite(images[0].pixel(43, 60)));
  EXPECT_TRUE(IsGrey(images[0].pixel(12, 60)));
}

TEST_F(ThumbnailWorkerTest, APhotographTurnedAQuarterIsFittedTurnedAndCentred) {
  // The pattern's blue left half ends up on top after a clockwise quarter turn.
  const std::vector<QImage> images = RunToEnd({PictureJob(Picture("turned.jpg", {640, 480}), 90)}, {120, 120});
  const QImage& image = images[0];
  EXPECT_EQ(PaintedRect(image), QRect(15, 0, 90, 120));
  EXPECT_GT(qBlue(image.pixel(60, 20)), 150);
  EXPECT_LT(qBlue(image.pixel(60, 100)), 80);
  // The top of the picture went right: green grows from right to left.
  EXPECT_GT(qGreen(image.pixel(20, 60)), qGreen(image.pixel(100, 60)) + 100);
}

TEST_F(ThumbnailWorkerTest, ASquarePhotographInAWideImage) {
  const std::vector<QImage> images = RunToEnd({PictureJob(Picture("square.png", {1000, 1000}, "PNG"))}, {100, 75});
  EXPECT_EQ(images[0].size(), QSize(100, 75));
  EXPECT_EQ(PaintedRect(images[0]), QRect(12, 0, 75, 75));
}

TEST_F(ThumbnailWorkerTest, TheViewFileIsPreferredToThePhotograph) {
  QImage green(80, 60, QImage::Format_RGB32);
  green.fill(qRgb(0, 160, 0));
  TThumbnailJob job = PictureJob(Picture("big.jpg", {640, 480}));
  job.ViewFileName = SavePicture(green, Folder.Path("view.png"), "PNG");
  TThumbnailJob gone = PictureJob(Picture("big2.jpg", {640, 480}));
  gone.ViewFileName = Folder.Path("deleted-view.jpg");
  const std::vector<QImage> images = RunToEnd({job, gone}, {120, 120});
  EXPECT_EQ(images[0].pixel(60, 60), qRgb(0, 160, 0));
  EXPECT_GT(qBlue(images[1].pixel(10, 60)), 150) << "a missing view file falls back to the photograph";
}

TEST_F(ThumbnailWorkerTest, BadPicturesGiveTheirFrameOrSymbolAndTheRunGoesOn) {
  WriteBytes(Folder.Path("garbage.jpg"), std::string(5000, '\x55'));
  const std::string whole = ReadBytes(Picture("whole.jpg", {400, 300}));
  WriteBytes(Folder.Path("cut.jpg"), whole.substr(0, 200));
  WriteBytes(Folder.Path("huge.jpg"), JpegClaiming(20000, 20000));
  WriteBytes(Folder.Path("bomb.png"), PngBomb(30000));
  WriteBytes(Folder.Path("wrongkind.png"), whole);
  std::filesystem::create_directory(Folder.Path("folder.jpg"));
  TThumbnailJob thing = Job(TThumbnailKind::Thing);
  thing.PictureFileName = Folder.Path("garbage.jpg");
  TThumbnailJob person = Job(TThumbnailKind::Person);
  person.PictureFileName = Folder.Path("bomb.png");

  const std::vector<QImage> images =
      RunToEnd({PictureJob(Folder.Path("missing.jpg")), PictureJob(Folder.Path("garbage.jpg")),
                PictureJob(Folder.Path("cut.jpg")), PictureJob(Folder.Path("bomb.png")),
                PictureJob(Folder.Path("wrongkind.png")), PictureJob(Folder.Path("folder.jpg")), thing, person,
                PictureJob(Folder.Path("huge.jpg")), PictureJob(Folder.Path("whole.jpg"))},
               {120, 120});
  ASSERT_EQ(images.size(), 10u);
  for (int i : {0, 1, 3, 4, 5}) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(IsBlack(images[i].pixel(0, 0)) && IsBlack(images[i].pixel(119, 119))) << "a frame";
    EXPECT_TRUE(IsWhite(images[i].pixel(60, 60))) << "an empty frame";
  }
  // A picture cut short shows as far as it goes (libjpeg fills the rest), never a gap.
  EXPECT_FALSE(images[2].isNull());
  EXPECT_TRUE(IsSkyBlue(images[6].pixel(60, 60))) << "the thing's symbol";
  EXPECT_TRUE(IsSkyBlue(images[7].pixel(60, 43))) << "the person's symbol";
  // The huge picture is decoded at an eighth; whatever it shows, the run reaches the last link.
  EXPECT_EQ(images[8].size(), QSize(120, 120));
  EXPECT_EQ(PaintedRect(images[9]), QRect(0, 15, 120, 90));
}

TEST_F(ThumbnailWorkerTest, SeveralThreadsHandOverTheSameImagesInLinkOrder) {
  // A large picture first, so that the small ones after it are done before it.
  std::vector<TThumbnailJob> jobs{PictureJob(Picture("large.jpg", {3000, 2000}))};
  for (int i = 0; i < 12; ++i) {
    jobs.push_back(PictureJob(Picture("small" + std::to_string(i) + ".png", {40 + 10 * i, 30}, "PNG"), 90 * (i % 4)));
  }
  jobs.push_back(Job(TThumbnailKind::Person));
  const std::vector<QImage> alone = RunToEnd(jobs, {120, 120}, 1);
  const std::vector<QImage> together = RunToEnd(jobs, {120, 120}, 3);
  ASSERT_EQ(alone.size(), together.size());
  for (std::size_t i = 0; i < alone.size(); ++i) EXPECT_EQ(alone[i], together[i]) << i;
  EXPECT_EQ(RunToEnd({}, {120, 120}, 3).size(), 0u);
}

TEST_F(ThumbnailWorkerTest, AStoppedRunEndsBeforeTheNextLinkAndHandsOverNothingAfterwards) {
  const std::string photo = Picture("photo.jpg", {1600, 1200});
  std::vector<TThumbnailJob> jobs(200, PictureJob(photo));
  TCollector collector;
  auto worker = std::make_unique<TThumbnailWorker>(jobs, QSize(120, 120), collector.Deliver(), 2);
  ASSERT_TRUE(collector.WaitFor(1));
  worker->Stop();
  worker->Wait();
  EXPECT_TRUE(worker->IsRunning()) << "a stopped run did not reach its end";
  const std::vector<int> seen = collector.Order();
  EXPECT_LT(seen.size(), jobs.size());
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], static_cast<int>(i));
  worker.reset();
  EXPECT_EQ(collector.Order().size(), seen.size());
}

TEST_F(ThumbnailWorkerTest, AListChangedAHundredTimesASecondAndClosedMidRun) {
  const std::string photo = Picture("photo.jpg", {1600, 1200});
  const std::string missing = Folder.Path("missing.jpg");
  std::unique_ptr<TThumbnailWorker> worker;
  std::vector<std::unique_ptr<TCollector>> runs;
  for (int change = 0; change < 100; ++change) {
    // As the link window does: stop, wait for and free the old run before the new one starts.
    worker.reset();
    std::vector<TThumbnailJob> jobs;
    for (int i = 0; i < 30; ++i) jobs.push_back(PictureJob(i % 3 == 0 ? missing : photo, 90 * (i % 4)));
    runs.push_back(std::make_unique<TCollector>());
    worker =
        std::make_unique<TThumbnailWorker>(std::move(jobs), QSize(120, 120), runs.back()->Deliver(), 1 + change % 3);
    std::this_thread::sleep_for(10ms);
  }
  worker.reset();  // the window goes while its run is still going
  for (const auto& run : runs) {
    const std::vector<int> order = run->Order();
    for (std::size_t i = 0; i < order.size(); ++i) ASSERT_EQ(order[i], static_cast<int>(i));
  }
  // The last run, made again to its end, gives every image.
  std::vector<TThumbnailJob> jobs(5, PictureJob(photo));
  EXPECT_EQ(RunToEnd(jobs, {120, 120}).size(), 5u);
}

}  // namespace
}  // namespace hakuvo
