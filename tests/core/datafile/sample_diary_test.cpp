// The sample diaries that come with the program: the jogging one shows a new user what the link
// window, the map and the speed graph are for.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/datafile/diary.h"
#include "core/gps/gps_file.h"
#include "core/gps/jpeg_exif.h"
#include "core/model/link_data.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

const fs::path kSampleFolder = fs::path(HAKUVO_TEST_FIXTURES) / ".." / ".." / "data" / "sample";

TEST(SampleDiary, TheLastOutingLinksATrackAndTwoPhotographsBesideTheDiary) {
  TDiary diary((kSampleFolder / "sample.hkvj").string());
  diary.Load();
  ASSERT_GT(diary.Days.Count(), 0);
  const TDayData& last = *diary.Days[diary.Days.Count() - 1];
  ASSERT_EQ(last.ActDataList.Count(), 1);
  const TActData& outing = *last.ActDataList[0];
  ASSERT_EQ(outing.LinkDataList.Count(), 3);

  const auto* track = dynamic_cast<const TGpsFileLink*>(outing.LinkDataList[0]);
  ASSERT_NE(track, nullptr);
  // Stored by name only, so that the sample works wherever it is copied to: the diary's folder
  // resolves it when the diary is read.
  EXPECT_EQ(track->FileName, (kSampleFolder / "sample_track.gpx").lexically_normal().string());
  std::unique_ptr<TGpsFile> read = CreateGpsFile((kSampleFolder / track->FileName).string());
  read->SetFileName((kSampleFolder / track->FileName).string());
  EXPECT_EQ(read->GpsList.Count(), 120);
  // The outing's distance is what its track measures.
  EXPECT_NEAR(static_cast<double>(read->TotalDistance()), static_cast<double>(outing.RecordData->Data()), 0.25);

  for (int i = 1; i <= 2; ++i) {
    SCOPED_TRACE(i);
    const auto* photo = dynamic_cast<const TImageFileLink*>(outing.LinkDataList[i]);
    ASSERT_NE(photo, nullptr);
    const std::string path = (kSampleFolder / photo->FileName).string();
    EXPECT_EQ(photo->FileName,
              (kSampleFolder / ("sample_photo" + std::to_string(i) + ".jpg")).lexically_normal().string());
    EXPECT_EQ(DateOf(ExifDateTimeOriginal(path)), last.DateData) << "shot on the outing's day";
    double latitude = 0;
    double longitude = 0;
    ASSERT_TRUE(ExifPosition(path, latitude, longitude));
    EXPECT_NEAR(latitude, 35.67, 0.01);
    EXPECT_NEAR(longitude, 139.69, 0.01);
  }
}

}  // namespace
}  // namespace hakuvo
