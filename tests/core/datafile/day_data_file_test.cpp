#include "core/datafile/day_data_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/common/hakuvo_error.h"
#include "core/datafile/diary_fixture.h"

namespace hakuvo {
namespace {

TEST(DayDataFile, ADiarySavedAndLoadedKeepsEveryFieldAndSavesToTheSameBytes) {
  TTempFolder folder;
  TDiaryFixture original;
  FillDiary(original);
  original.Save(folder / "first.hkvj");
  const std::string first = ReadFileBytes(folder / "first.hkvj");

  TDiaryFixture loaded;
  loaded.ChildWindowInfo.ActListWeight = 77;
  loaded.ChildWindowInfo.IsViewEnergyConsumption = false;
  loaded.Load(folder / "first.hkvj");
  ExpectSameDiary(original, loaded);
  // The two values the data file does not hold stay as the settings had them.
  EXPECT_EQ(loaded.ChildWindowInfo.ActListWeight, 77);
  EXPECT_FALSE(loaded.ChildWindowInfo.IsViewEnergyConsumption);

  loaded.Save(folder / "second.hkvj");
  EXPECT_EQ(ReadFileBytes(folder / "second.hkvj"), first);
}

// The camera's clock offset rides on the link list as an attribute older readers never look at;
// an outing without one is written exactly as before.
TEST(DayDataFile, TheCameraClockOffsetIsAnAttributeOfTheLinkListOnlyWhenSet) {
  TDiaryFixture diary;
  FillDiary(diary);
  const std::string text = diary.SaveToString();
  std::size_t count = 0;
  for (std::size_t at = text.find("カメラ時計補正"); at != std::string::npos;
       at = text.find("カメラ時計補正", at + 1)) {
    ++count;
    EXPECT_EQ(text.compare(at, std::string("カメラ時計補正=\"-75.5\"").size(), "カメラ時計補正=\"-75.5\""), 0);
    EXPECT_EQ(text.rfind("<リンク", at), text.rfind('<', at));
  }
  EXPECT_EQ(count, 1u);

  TDiaryFixture loaded;
  loaded.LoadString(text);
  int withOffset = 0;
  for (const auto& day : loaded.Days)
    for (const auto& act : day->ActDataList) withOffset += act->CameraClockOffset == -75.5L;
  EXPECT_EQ(withOffset, 1);
}

TEST(DayDataFile, TheDocumentHasItsFrameSectionOrderAndLineBreaksAsReferences) {
  TDiaryFixture diary;
  FillDiary(diary);
  const std::string bytes = diary.SaveToString();
  EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?><tekuri Ver=\"0.1\">", 0), 0u)
      << bytes.substr(0, 80);
  std::size_t previous = 0;
  for (const char* section : {"<日リスト>", "<カテゴリリスト>", "<ファイルリスト>", "<物リスト>", "<人リスト>",
                              "<グラフ ", "<ウインドウ>", "<子ウインドウ>"}) {
    const std::size_t at = bytes.find(section);
    ASSERT_NE(at, std::string::npos) << section;
    EXPECT_GT(at, previous) << section;
    previous = at;
  }
  EXPECT_EQ(bytes.find('\n'), std::string::npos) << "no raw line break anywhere: memos carry theirs as references";
  EXPECT_NE(bytes.find("メモ=\"一行目&#13;&#10;&#13;&#10;三行目 &lt;&amp;&quot;'> と&#09;タブ&#13;&#10;\""),
            std::string::npos);
  // Times are fractions of a day in the shortest form; dates whole day counts.
  EXPECT_NE(bytes.find("時刻=\"0.3125\""), std::string::npos);
  EXPECT_NE(bytes.find("<日データ 日付=\"42095\" 天気=\"晴れ\""), std::string::npos);
  EXPECT_NE(bytes.find("RightPanelDockInfo=\"01AB00FF10\""), std::string::npos);

  // An empty diary writes every section too.
  TDiaryFixture empty;
  const std::string bare = empty.SaveToString();
  for (const char* section : {"<日リスト/>", "<ファイルリスト/>", "<物リスト/>", "<人リスト/>", "<Channel2 ",
                              "<Window ", "<FileLinkSearch "}) {
    EXPECT_NE(bare.find(section), std::string::npos) << section;
  }
}

TEST(DayDataFile, LoadReplacesThePreviousDiaryAndUpdatesTheSettingsObjectsInPlace) {
  TDiaryFixture original;
  FillDiary(original);
  const std::string bytes = original.SaveToString();

  TDiaryFixture target;
  FillDiary(target);  // a previous diary, then made different
  target.Days[0]->ActDataList[0]->Title = "前の日記";
  target.Files.Add(std::make_unique<TFileLink>());
  target.Categories->Items(3)->SetIsWeather(false);
  std::vector<const TCategoryInfo*> before;
  for (int i = 0; i < target.Categories->Count(); ++i) before.push_back(target.Categories->Items(i));

  target.LoadString(bytes);
  ExpectSameDiary(original, target);
  for (int i = 0; i < target.Categories->Count(); ++i) EXPECT_EQ(target.Categories->Items(i), before[i]);
  // Actions refer to the members of the diary's own lists.
  const TActData& jogging = *target.Days[0]->ActDataList[ctJogging];
  ASSERT_EQ(jogging.LinkDataList.Count(), 5);
  EXPECT_EQ(jogging.LinkDataList[0], target.Files.Items(1));
  EXPECT_EQ(jogging.LinkDataList[1], target.Files.Items(0));
  EXPECT_EQ(jogging.LinkDataList[2], target.Things.Items(0));
  EXPECT_EQ(jogging.LinkDataList[3], target.Persons.Items(0));
  EXPECT_EQ(target.Days[0]->ActDataList[ctWalking]->LinkDataList[0], target.Files.Items(0));
}

// A well-formed XML file of another kind is no diary: opening it must fail and change nothing,
// or the next save would write the diary over that file.
TEST(DayDataFile, AFileWithNoneOfTheDiarysSectionsIsRefused) {
  TDiaryFixture diary;
  FillDiary(diary);
  const std::string before = diary.SaveToString();
  for (const char* text : {"<tekuri/>", "<?xml version=\"1.0\"?><日記 Ver=\"9\"><未知/></日記>",
                           "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"35\" lon=\"139\"/></trkseg></trk></gpx>",
                           "<html><body><日リスト/></body></html>"}) {
    try {
      diary.LoadString(text, "other.xml");
      ADD_FAILURE() << "no error for " << text;
    } catch (const EHakuvoError& error) {
      EXPECT_NE(std::string(error.what()).find("\"other.xml\""), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find("日記のファイルではありません"), std::string::npos) << error.what();
    }
    EXPECT_EQ(diary.SaveToString(), before) << text;
  }
}

// Any root is taken once one section is the diary's. Every list of the diary then comes from the
// file, empty where the file has no section for it: no day, file, thing or person of the diary
// open before may survive into this one. Settings the file does not hold stay.
TEST(DayDataFile, AFileWithSomeSectionsReplacesEveryList) {
  TDiaryFixture expected;
  FillDiary(expected);
  expected.Days.Clear();
  expected.Files.Clear();
  expected.Things.Clear();
  expected.Persons.Clear();
  for (const char* text : {"<tekuri><ウインドウ/></tekuri>", "<日記 Ver=\"9\"><未知/><日リスト/></日記>"}) {
    TDiaryFixture diary;
    FillDiary(diary);
    diary.LoadString(text);
    EXPECT_EQ(diary.Days.Count(), 0) << text;
    EXPECT_EQ(diary.Files.Count(), 0) << text;
    EXPECT_EQ(diary.Things.Count(), 0) << text;
    EXPECT_EQ(diary.Persons.Count(), 0) << text;
    EXPECT_EQ(diary.SaveToString(), expected.SaveToString()) << text;
  }

  // A file list alone: the days go with the rest, and the new links are the list's.
  TDiaryFixture diary;
  FillDiary(diary);
  diary.LoadString(
      "<tekuri><ファイルリスト><ファイル ファイル名=\"/new/place.jpg\" コード=\"{X}\" 種類=\"\"/>"
      "</ファイルリスト></tekuri>");
  ASSERT_EQ(diary.Files.Count(), 1);
  EXPECT_EQ(dynamic_cast<const TFileLink&>(*diary.Files.Items(0)).FileName, "/new/place.jpg");
  EXPECT_EQ(diary.Days.Count(), 0);
  EXPECT_EQ(diary.Things.Count(), 0);
  EXPECT_EQ(diary.Persons.Count(), 0);
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

TEST(DayDataFile, LinksAreFoundInAnyOrderAndACodeListedTwiceMeansItsFirstLink) {
  const std::string code[] = {"{00000000-0000-4000-8000-000000000000}", "{00000000-0000-4000-8000-000000000001}",
                              "{00000000-0000-4000-8000-000000000002}"};
  std::string text = "<tekuri><ファイルリスト>";
  // The second code twice; the lookup must not take the second entry because it comes next.
  for (const auto& [c, name] :
       {std::pair{code[0], "a"}, std::pair{code[1], "b"}, std::pair{code[2], "c"}, std::pair{code[1], "b2"}}) {
    text += "<ファイル ファイル名=\"" + std::string(name) + "\" コード=\"" + c + "\"/>";
  }
  text +=
      "</ファイルリスト><日リスト><日データ 日付=\"1\" 天気=\"\" メモ=\"\"><行動 カテゴリ=\"1\" ユーザーカテゴリ=\"\" "
      "タイトル=\"\" タグ=\"\" メモ=\"\" 天気=\"\" 気温=\"0\" 風向=\"-1\" 風速=\"0\"><リンク>";
  for (const int i : {2, 1, 0, 2, 1, 1}) text += "<ファイル コード=\"" + code[i] + "\"/>";
  text += "</リンク></行動></日データ></日リスト></tekuri>";

  TDiaryFixture diary;
  diary.LoadString(text);
  std::string names;
  for (const TLinkData* link : diary.Days[0]->ActDataList[0]->LinkDataList) {
    names += dynamic_cast<const TFileLink&>(*link).FileName + " ";
  }
  EXPECT_EQ(names, "c b a c b b ");
}

}  // namespace
}  // namespace hakuvo
