// Files written by older versions, and the safe readings of values out of their range.

#include <gtest/gtest.h>

#include "core/common/guid.h"
#include "core/common/hakuvo_error.h"
#include "core/datafile/diary_fixture.h"

namespace hakuvo {
namespace {

const TFileLink& FileAt(const TDiaryFixture& diary, int index) {
  return dynamic_cast<const TFileLink&>(*diary.Files.Items(index));
}

TEST(DayDataFileOlder, ActionsRecordsAndLinksOfOlderFilesLoadAsTheyShould) {
  TDiaryFixture diary;
  diary.Load(FixturePath("old_actions.xml"));

  ASSERT_EQ(diary.Files.Count(), 3);
  EXPECT_EQ(typeid(*diary.Files.Items(0)), typeid(TFileLink)) << "\"image\" in lower case is not an image link";
  EXPECT_EQ(FileAt(diary, 0).GuidCode(), "{AAAAAAAA-0000-4000-8000-000000000001}");
  EXPECT_EQ(typeid(*diary.Files.Items(1)), typeid(TFileLink));
  EXPECT_TRUE(IsGuidString(FileAt(diary, 1).GuidCode())) << "a link without a code gets a new one";
  EXPECT_EQ(FileAt(diary, 1).FileName, "/tracks/b.gpx");
  ASSERT_EQ(typeid(*diary.Files.Items(2)), typeid(TImageFileLink));
  EXPECT_EQ(dynamic_cast<const TImageFileLink&>(*diary.Files.Items(2)).RotateAngle, 90);

  ASSERT_EQ(diary.Days.Count(), 2);
  EXPECT_EQ(diary.Days[0]->DateData, 42096) << "days keep the file's order";
  EXPECT_EQ(diary.Days[1]->DateData, 42000);
  const TActDataList& acts = diary.Days[0]->ActDataList;
  ASSERT_EQ(acts.Count(), 6);

  EXPECT_EQ(typeid(*acts[0]), typeid(TBicycleAct)) << "a user category named like a built-in one becomes it";
  EXPECT_EQ(acts[0]->Category, ctBicycle);
  EXPECT_EQ(acts[0]->UserCategory, "");
  EXPECT_EQ(typeid(*acts[1]), typeid(TActData));
  EXPECT_EQ(acts[1]->Category, ctUserCategory);
  EXPECT_EQ(acts[1]->UserCategory, "") << "\"ユーザー\" is the user category with no name";

  const auto& fishing = dynamic_cast<const TFishingAct&>(*acts[2]);
  EXPECT_EQ(fishing.FishSpecies, "アジ");
  const auto& fish = dynamic_cast<const TFishingRecord&>(*fishing.RecordData);
  EXPECT_EQ(fish.Dimension, 20);
  EXPECT_EQ(fish.WaterTemperature, 17.5L) << "older files kept the water temperature on the action";

  const auto& jogging = dynamic_cast<const TEnergyConsumptionRecord&>(*acts[3]->RecordData);
  EXPECT_EQ(jogging.EndTime, 0.3125);
  EXPECT_EQ(jogging.Weight, 60) << "no weight in the file: the default stays";
  EXPECT_EQ(jogging.Tani, (std::vector<std::string>{"回", "km", "", "", ""}));

  const auto& walking = dynamic_cast<const TWalkingRecord&>(*acts[4]->RecordData);
  EXPECT_EQ(walking.Data(), 5);
  EXPECT_EQ(walking.EndTime, TWalkingRecord().EndTime) << "the missing end time ends the class's attributes";
  EXPECT_EQ(walking.Weight, 60);
  EXPECT_EQ(walking.Pedometer, 0);

  // Codes compare without regard to case; unknown codes and unknown kinds of link are dropped.
  const TLinkDataList& links = acts[5]->LinkDataList;
  ASSERT_EQ(links.Count(), 3);
  EXPECT_EQ(links[0], diary.Files.Items(2));
  EXPECT_EQ(links[1], diary.Things.Items(0));
  EXPECT_EQ(links[2], diary.Files.Items(0));
  EXPECT_EQ(acts[5]->DayData, diary.Days[0]);

  EXPECT_EQ(typeid(*diary.Days[1]->ActDataList[0]), typeid(TBloodPressureAct));
}

TEST(DayDataFileOlder, FileLinksGivenByPathJoinTheDiarysFileList) {
  TDiaryFixture diary;
  FillDiary(diary);
  diary.Load(FixturePath("old_paths.xml"));

  // The file has no file list: the list holds one link per non-empty path, and nothing of the
  // diary open before.
  const int before = 0;
  ASSERT_EQ(diary.Files.Count(), before + 3);
  ASSERT_EQ(diary.Days.Count(), 1);
  const TLinkDataList& links = diary.Days[0]->ActDataList[0]->LinkDataList;
  ASSERT_EQ(links.Count(), 3);
  const char* const names[] = {"/old/photo.JPG", "/old/track.nmea", "/old/notes.txt"};
  const std::type_info* const kinds[] = {&typeid(TImageFileLink), &typeid(TGpsFileLink), &typeid(TFileLink)};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(links[i], diary.Files.Items(before + i));
    EXPECT_EQ(dynamic_cast<const TFileLink&>(*links[i]).FileName, names[i]);
    EXPECT_EQ(typeid(*links[i]), *kinds[i]);
    EXPECT_TRUE(IsGuidString(links[i]->FindData()));
  }
  EXPECT_NE(links[0]->FindData(), links[1]->FindData());

  // Saved again, the links are written with their codes and found again.
  TDiaryFixture reloaded;
  reloaded.LoadString(diary.SaveToString());
  ASSERT_EQ(reloaded.Days[0]->ActDataList[0]->LinkDataList.Count(), 3);
  EXPECT_EQ(reloaded.Days[0]->ActDataList[0]->LinkDataList[2]->FindData(), links[2]->FindData());
}

TEST(DayDataFileOlder, SettingsOfOlderFilesChangeOnlyWhatTheFileHolds) {
  TDiaryFixture expected;
  FillDiary(expected);
  TDiaryFixture diary;
  FillDiary(diary);
  diary.Load(FixturePath("old_settings.xml"));
  const TCategoryInfoList& categories = *diary.Categories;

  // An element without "表示" changes nothing, whatever else it holds.
  const auto& fishing = dynamic_cast<const TFishingCategoryInfo&>(*categories.GetCategoryItems(ctFishing));
  const auto& fishingBefore =
      dynamic_cast<const TFishingCategoryInfo&>(*expected.Categories->GetCategoryItems(ctFishing));
  EXPECT_EQ(fishing.IsRecordData(), fishingBefore.IsRecordData());
  EXPECT_EQ(fishing.IsDimension(), fishingBefore.IsDimension());
  EXPECT_EQ(fishing.IndicationKind(), fishingBefore.IndicationKind());

  const auto& jogging = dynamic_cast<const TEnergyConsumptionCategoryInfo&>(*categories.GetCategoryItems(ctJogging));
  EXPECT_EQ(jogging.IndicationKind(), 1) << "an index outside the record reads as the main value";
  EXPECT_FALSE(jogging.IsRecordData());
  EXPECT_TRUE(jogging.IsWeather());
  EXPECT_TRUE(jogging.IsWeight()) << "no weight flag in the file: it stays";
  EXPECT_EQ(jogging.Tani, (std::vector<std::string>{"a", "b", "c", "d", "e"})) << "only as many units as indices";
  const auto& calcBefore = expected.Categories->GetCategoryItems(ctJogging)->CalcKind;
  EXPECT_EQ(jogging.CalcKind, (std::vector<TRecordCalcKind>{ckTotal, ckAverage, ckTotal, calcBefore[3], calcBefore[4]}))
      << "rules outside 0..2 read as ckTotal";
  EXPECT_EQ(jogging.GraphInfo().DayAxisKind(), daAll);
  EXPECT_EQ(jogging.GraphInfo().RecordAxisTitle, (std::vector<std::string>{"回数", "距離", "速さ", "体重", "kcal"}));
  EXPECT_EQ(jogging.MonthGraphInfo().SeriesColor(), 255);
  EXPECT_EQ(jogging.MonthGraphInfo().RecordAxisTitle,
            expected.Categories->GetCategoryItems(ctJogging)->MonthGraphInfo().RecordAxisTitle)
      << "no titles element: the titles stay";
  EXPECT_EQ(jogging.SpeedGraphInfo().SpeedMovingAverage(), 5) << "no speed graph element: it stays";
  EXPECT_EQ(jogging.MapInfo().LineColor(), 65280);
  EXPECT_EQ(jogging.MapInfo().LineOpacity(), 0.5L);
  EXPECT_EQ(jogging.MapInfo().LimitSpeed(), 12.3L) << "no limit speed: it stays";
  EXPECT_FALSE(jogging.MapInfo().IsSpeedColor());
  EXPECT_TRUE(categories.GetCategoryItems(ctSwimming)->IsWeather()) << "no element: the settings stay";

  EXPECT_EQ(diary.View.ComboCategory, "ジョギング");
  EXPECT_EQ(diary.View.YearGraphCategory, "消えたカテゴリ");
  EXPECT_EQ(diary.View.MultiDayGraphCategory, expected.View.MultiDayGraphCategory) << "no Channel2";
  EXPECT_EQ(diary.View.MultiDayGraphRecordKind2, expected.View.MultiDayGraphRecordKind2);
  EXPECT_EQ(diary.MultiDayGraphInfo.AxisTerm(), expected.MultiDayGraphInfo.AxisTerm());
  EXPECT_EQ(diary.View.Width, expected.View.Width) << "no Window";

  const TChildWindowInfo& info = diary.ChildWindowInfo;
  const TChildWindowInfo& before = expected.ChildWindowInfo;
  EXPECT_EQ(info.ActListTitle, 11);
  EXPECT_EQ(info.ActListTime, 13);
  EXPECT_EQ(info.ActListDate, before.ActListDate) << "a list without Date is from before the newer columns";
  EXPECT_EQ(info.ActListEndTime, before.ActListEndTime);
  EXPECT_EQ(info.ActListEnergyConsumption, before.ActListEnergyConsumption);
  EXPECT_EQ(info.RightPanelDockInfo, std::string("\x01\xAB", 2));
  EXPECT_EQ(info.BottomPanelDockInfo, before.BottomPanelDockInfo) << "an empty stream text leaves the layout";
  EXPECT_TRUE(info.RightPanelDockClientList.empty()) << "a list element without attributes empties the list";
  EXPECT_EQ(info.FloatingList, (TStringList{"MapForm\t1\t2\t3\t4"}));
  EXPECT_EQ(info.BottomTabDockClientList, before.BottomTabDockClientList);
  EXPECT_EQ(info.LinkViewInfo.ViewStyle(), vsIcon);
  EXPECT_EQ(info.LinkViewInfo.ThumbnailHeight(), 80);
  EXPECT_EQ(info.RecordDialogWidth, before.RecordDialogWidth);
  EXPECT_EQ(info.FileLinkSearchFolderList, before.FileLinkSearchFolderList);
}

// Ordinals outside the model's ranges take the safe choice instead of stopping the load.
TEST(DayDataFileOlder, ValuesOutOfRangeTakeTheSafeChoice) {
  struct TCase {
    const char* Act;
    const char* Kind;
    TCategoryType Category;
    int IndicationKind;
    int WindDirection;
  } const cases[] = {
      {R"(カテゴリ="17" ユーザーカテゴリ="" 風向="3")", "5", ctUserCategory, 1, 3},
      {R"(カテゴリ="-1" ユーザーカテゴリ="山" 風向="16")", "2", ctUserCategory, 1, -1},
      {R"(カテゴリ="1" ユーザーカテゴリ="" 風向="-2")", "9", ctJogging, 1, -1},
      {R"(カテゴリ="16" ユーザーカテゴリ="" 風向="15")", "0", ctBloodPressure, 0, 15},
  };
  for (const TCase& c : cases) {
    const std::string text = std::string("<tekuri><日リスト><日データ 日付=\"1\" 天気=\"\" メモ=\"\"><行動 ") + c.Act +
                             R"( タイトル="" タグ="" メモ="" 天気="" 気温="0" 風速="0"><記録 種類=")" + c.Kind +
                             R"(" データ="1" 時刻="0"/></行動></日データ></日リスト></tekuri>)";
    TDiaryFixture diary;
    diary.LoadString(text);
    const TActData& act = *diary.Days[0]->ActDataList[0];
    EXPECT_EQ(act.Category, c.Category) << c.Act;
    EXPECT_EQ(act.RecordData->IndicationKind, c.IndicationKind) << c.Act;
    EXPECT_EQ(act.WindDirection, c.WindDirection) << c.Act;
  }
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

// Numbered attributes are taken by their names, in whatever order a hand-edited file has them.
TEST(DayDataFileOlder, NumberedAttributesAreTakenByName) {
  TDiaryFixture diary;
  diary.LoadString(R"(<tekuri><子ウインドウ><Docking RightPanelDockInfo="" BottomPanelDockInfo="">)"
                   R"(<Floating Floating1="b" Floating0="a" Floating2="c"/></Docking></子ウインドウ></tekuri>)");
  EXPECT_EQ(diary.ChildWindowInfo.FloatingList, (TStringList{"a", "b", "c"}));
  EXPECT_THROW(diary.LoadString(R"(<tekuri><子ウインドウ><FileLinkSearch SubFolder="1" OneAct="0">)"
                                R"(<FolderList FolderList0="a" Other="b"/></FileLinkSearch></子ウインドウ></tekuri>)"),
               EHakuvoError);
  EXPECT_EQ(diary.ChildWindowInfo.FloatingList, (TStringList{"a", "b", "c"}));
}

}  // namespace
}  // namespace hakuvo
