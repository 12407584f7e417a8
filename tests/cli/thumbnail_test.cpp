// `thumbnail` makes pictures for a person: upright, named after their photographs, replaced when
// run again; --view-files makes the diary's own view files as the program reads them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/links/jpeg_codec.h"
#include "support/run_cli.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

const std::string kPhotos = std::string(HAKUVO_TESTDATA_DIR) + "/photos/";

TPictureSize SizeOf(const fs::path& jpeg) {
  std::ifstream in(jpeg, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()).StoredSize;
}

int FilesIn(const fs::path& folder) {
  return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(CliThumbnail, PicturesComeOutUprightUnderTheirOwnNamesAndAreReplacedWhenRunAgain) {
  test::TTempFolder folder;
  const fs::path out = folder / "thumbs";
  const std::string arguments = "thumbnail '" + kPhotos + "orientation_landscape_1.jpg' '" + kPhotos +
                                "orientation_landscape_6.jpg' --size 100 --out '" + out.string() + "'";
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    const test::TCliResult result = test::RunCli(arguments);
    ASSERT_EQ(result.Status, 0) << result.Out;
    EXPECT_EQ(result.Out, "file\tthumbnail\n" + kPhotos + "orientation_landscape_1.jpg\t" +
                              (out / "orientation_landscape_1.jpg").string() + "\n" + kPhotos +
                              "orientation_landscape_6.jpg\t" + (out / "orientation_landscape_6.jpg").string() + "\n");
    EXPECT_EQ(FilesIn(out), 2);
  }
  // Both show the same landscape scene; the second is stored turned and marked to be turned a
  // quarter, so upright it is as wide as the first.
  const TPictureSize plain = SizeOf(out / "orientation_landscape_1.jpg");
  const TPictureSize turned = SizeOf(out / "orientation_landscape_6.jpg");
  EXPECT_GT(plain.Width, plain.Height);
  EXPECT_EQ(turned.Width, plain.Width);
  EXPECT_EQ(turned.Height, plain.Height);
}

TEST(CliThumbnail, ViewFilesStayAsTheProgramReadsThem) {
  test::TTempFolder folder;
  const fs::path out = folder / "view";
  const test::TCliResult result = test::RunCli(
      "thumbnail '" + kPhotos + "orientation_landscape_6.jpg' --size 100 --out '" + out.string() + "' --view-files");
  ASSERT_EQ(result.Status, 0) << result.Out;
  ASSERT_EQ(FilesIn(out), 1);
  const TPictureSize stored = SizeOf(fs::directory_iterator(out)->path());
  // Unturned: the stored picture stands on its side.
  EXPECT_LT(stored.Width, stored.Height);
}

}  // namespace
}  // namespace hakuvo
