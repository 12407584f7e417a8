#include "core/register/all_view_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/register/register_fixtures.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

class Recorder : public TRegisterProgress {
 public:
  explicit Recorder(int stopAfter = -1) : FStopAfter(stopAfter) {}
  void Start(std::int64_t max) override { Max = max; }
  bool Step(std::int64_t position, const std::string& fileName) override {
    Names.push_back(fileName);
    return FStopAfter < 0 || position + 1 < FStopAfter;
  }
  std::int64_t Max = -1;
  std::vector<std::string> Names;

 private:
  int FStopAfter;
};

class AllViewFilesTest : public ::testing::Test {
 protected:
  test::TTempFolder FFolder;
  TDiary FDiary{FFolder.Path("d.xml")};
  TActData* FAct = nullptr;
  TImageFileLink* FImage = nullptr;
  TGpsFileLink* FTrack = nullptr;
  TPersonLink* FPerson = nullptr;

  void SetUp() override {
    FAct = test::TargetOf(FDiary).FindOrAddDay(EncodeDate(2014, 6, 1)).AddAct(CreateActData(ctJogging));
    auto add = [&](std::unique_ptr<TLinkData> link, TLinkDataOwner& owner) {
      TLinkData* added = owner.Add(std::move(link));
      FAct->LinkDataList.Add(added);
      return added;
    };
    auto image = std::make_unique<TImageFileLink>();
    image->FileName = "a.jpg";
    image->ViewFileName = FFolder.Write("A.jpg", "thumb");
    FImage = static_cast<TImageFileLink*>(add(std::move(image), FDiary.Files));
    auto plain = std::make_unique<TFileLink>();
    plain->FileName = "notes.txt";
    add(std::move(plain), FDiary.Files);
    auto track = std::make_unique<TGpsFileLink>();
    track->FileName = "run.gpx";
    FTrack = static_cast<TGpsFileLink*>(add(std::move(track), FDiary.Files));
    auto person = std::make_unique<TPersonLink>();
    person->SetPhotoFileName("face.jpg");
    person->SetViewFileName(FFolder.Write("P.jpg", "thumb"));
    FPerson = static_cast<TPersonLink*>(add(std::move(person), FDiary.Persons));
  }
};

TEST_F(AllViewFilesTest, MakesThoseOfPicturesTracksThingsAndPersonsOnly) {
  Recorder progress;
  std::vector<TLinkData*> made;
  EXPECT_TRUE(MakeAllViewFiles(
      FDiary.Days, [&](TLinkData& link) { made.push_back(&link); }, &progress));
  EXPECT_EQ(made, (std::vector<TLinkData*>{FImage, FTrack, FPerson}));
  EXPECT_EQ(progress.Max, 3);
  EXPECT_EQ(progress.Names, (std::vector<std::string>{"a.jpg", "run.gpx", "face.jpg"}));
}

TEST_F(AllViewFilesTest, DeletesTheViewFilesAndStopsWhenAsked) {
  const std::string imageView = FImage->ViewFileName;
  const std::string personView = FPerson->ViewFileName();
  Recorder stopping(1);
  EXPECT_FALSE(DeleteAllViewFiles(FDiary.Days, &stopping));
  EXPECT_EQ(stopping.Max, 3);
  EXPECT_TRUE(std::filesystem::exists(imageView));

  Recorder progress;
  EXPECT_TRUE(DeleteAllViewFiles(FDiary.Days, &progress));
  EXPECT_FALSE(std::filesystem::exists(imageView));
  EXPECT_FALSE(std::filesystem::exists(personView));
  EXPECT_TRUE(FImage->ViewFileName.empty());
  EXPECT_TRUE(FPerson->ViewFileName().empty());
  EXPECT_EQ(progress.Names, (std::vector<std::string>{imageView, "", personView}));
}

}  // namespace
}  // namespace hakuvo
