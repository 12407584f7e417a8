// Every reader of the program's files refuses a path that is no regular file at once, with an
// error naming it: a folder named like a track used to ask for 2^63 bytes, a FIFO to wait for ever.

#include "core/common/file_read.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "core/common/hakuvo_error.h"
#include "core/datafile/diary.h"
#include "core/gps/gps_data.h"
#include "core/gps/gps_file.h"
#include "core/gps/jpeg_exif.h"
#include "core/settings/ini_file.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

class FileReadTest : public testing::Test {
 public:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "hakuvo-read-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    Folder = pattern;
    // A reader that waits on a FIFO would hang the test: the alarm ends it instead.
    ::alarm(20);
  }
  void TearDown() override {
    ::alarm(0);
    std::error_code ignored;
    fs::remove_all(Folder, ignored);
  }

  // A folder, a FIFO and a device, each under a name the reader takes for its own kind.
  std::vector<std::string> NotFiles(const std::string& extension) {
    const fs::path folder = Folder / ("folder" + extension);
    fs::create_directory(folder);
    const fs::path fifo = Folder / ("fifo" + extension);
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path device = Folder / ("device" + extension);
    fs::create_symlink("/dev/zero", device);  // endless: a reader that took it would never stop
    return {folder.string(), fifo.string(), device.string()};
  }

  fs::path Folder;
};

struct TReaderCase {
  const char* Name;
  const char* Extension;
  std::function<void(const std::string&)> Read;
};

void PrintTo(const TReaderCase& c, std::ostream* out) { *out << c.Name; }

class EveryReader : public FileReadTest, public testing::WithParamInterface<TReaderCase> {};

TEST_P(EveryReader, RefusesWhatIsNoFileWithItsName) {
  for (const std::string& path : NotFiles(GetParam().Extension)) {
    try {
      GetParam().Read(path);
      ADD_FAILURE() << GetParam().Name << " took " << path;
    } catch (const EHakuvoError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(path), std::string::npos) << message;
      EXPECT_NE(message.find("ファイルを指定してください"), std::string::npos) << message;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Readers, EveryReader,
    testing::Values(TReaderCase{"Gpx", ".gpx", [](const std::string& path) { CreateGpsFile(path)->SetFileName(path); }},
                    TReaderCase{"Kml", ".kml", [](const std::string& path) { CreateGpsFile(path)->SetFileName(path); }},
                    TReaderCase{"Nmea", ".nmea",
                                [](const std::string& path) { CreateGpsFile(path)->SetFileName(path); }},
                    TReaderCase{"GpsViewFile", ".gps",
                                [](const std::string& path) {
                                  TGpsDataList points;
                                  points.LoadFromFile(path);
                                }},
                    TReaderCase{"Exif", ".jpg",
                                [](const std::string& path) {
                                  TJpegExif exif;
                                  exif.SetFileName(path);
                                }},
                    TReaderCase{"DataFile", ".hkvj",
                                [](const std::string& path) {
                                  TDiary diary(path);
                                  diary.Load();
                                }},
                    TReaderCase{"SettingsFile", ".ini", [](const std::string& path) { TIniFile ini(path); }}),
    [](const testing::TestParamInfo<TReaderCase>& param) { return std::string(param.param.Name); });

TEST_F(FileReadTest, ARegularFileIsReadWholeByEveryMeans) {
  const fs::path path = Folder / "plain.bin";
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 7 % 251);
  std::ofstream(path, std::ios::binary) << bytes;

  EXPECT_EQ(ReadWholeFile(path.string(), "ファイル"), bytes);

  TInputFile file;
  int error = -1;
  ASSERT_TRUE(file.Open(path.string(), error));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(file.Size(), bytes.size());
  std::string middle(1000, '\0');
  ASSERT_EQ(file.ReadAt(150000, middle.data(), middle.size()), 1000);
  EXPECT_EQ(middle, bytes.substr(150000, 1000));
  EXPECT_EQ(file.ReadAt(bytes.size() - 10, middle.data(), middle.size()), 10) << "as many as there are";

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(OpenInputStream(path.string()), &std::fclose);
  ASSERT_NE(stream, nullptr);
  std::string viaStdio(bytes.size() + 1, '\0');
  EXPECT_EQ(std::fread(viaStdio.data(), 1, viaStdio.size(), stream.get()), bytes.size());

  // Reads of every size, a seek back and a seek to the end, as the readers of photographs do.
  TInputFileStream in(path.string());
  ASSERT_TRUE(in);
  std::string piece(3, '\0');
  in.read(piece.data(), 3);
  EXPECT_EQ(piece, bytes.substr(0, 3));
  EXPECT_EQ(in.tellg(), 3);
  std::string large(100000, '\0');
  in.read(large.data(), static_cast<std::streamsize>(large.size()));
  EXPECT_EQ(large, bytes.substr(3, 100000));
  in.seekg(0, std::ios::end);
  EXPECT_EQ(in.tellg(), static_cast<std::streamoff>(bytes.size()));
  in.seekg(7);
  EXPECT_EQ(in.get(), static_cast<unsigned char>(bytes[7]));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes.substr(8));
}

TEST_F(FileReadTest, AMissingFileIsTheSystemsErrorForTheReaderToWord) {
  const std::string path = (Folder / "missing.gpx").string();
  TInputFile file;
  int error = 0;
  EXPECT_FALSE(file.Open(path, error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(OpenInputStream(path), nullptr);
  EXPECT_FALSE(TInputFileStream(path));
  try {
    ReadWholeFile(path, "データファイル");
    ADD_FAILURE() << "no error";
  } catch (const EHakuvoError& failure) {
    EXPECT_EQ(std::string(failure.what()),
              "データファイル \"" + path + "\" を読み込めませんでした: No such file or directory");
  }
}

}  // namespace
}  // namespace hakuvo
