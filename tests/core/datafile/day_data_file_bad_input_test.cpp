// Bad files give an error that names the file, the element and the attribute, and change nothing.

#include <gtest/gtest.h>

#include <cstring>

#include "core/common/hakuvo_error.h"
#include "core/datafile/diary_fixture.h"

namespace hakuvo {
namespace {

struct TBadCase {
  const char* Name;
  // Replacements, each of a first occurrence, in a saved diary; none: Text is the whole file.
  std::vector<std::pair<std::string, std::string>> Edits;
  std::string Text;
  std::vector<std::string> Expected;  // parts of the message
};

void PrintTo(const TBadCase& c, std::ostream* out) { *out << c.Name; }

std::string Mutated(const std::string& bytes, const TBadCase& c) {
  if (c.Edits.empty()) return c.Text;
  std::string text = bytes;
  for (const auto& [from, to] : c.Edits) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) ADD_FAILURE() << c.Name << ": \"" << from << "\" not in the saved diary";
    if (at != std::string::npos) text.replace(at, from.size(), to);
  }
  return text;
}

class DayDataFileBadInput : public testing::TestWithParam<TBadCase> {};

TEST_P(DayDataFileBadInput, FailsWithWhereAndChangesNothing) {
  const TBadCase& c = GetParam();
  TDiaryFixture diary;
  FillDiary(diary);
  const std::string before = diary.SaveToString();
  const TLinkData* firstFile = diary.Files.Items(0);
  const TDayData* firstDay = diary.Days[0];
  const TCategoryInfo* firstCategory = diary.Categories->Items(0);

  try {
    diary.LoadString(Mutated(before, c), "/home/a/日記.hkvj");
    FAIL() << "the load did not fail";
  } catch (const EHakuvoError& error) {
    const std::string message = error.what();
    EXPECT_LT(message.size(), 600u) << "a message is a line a message box shows at once";
    EXPECT_NE(message.find("\"/home/a/日記.hkvj\""), std::string::npos) << message;
    for (const std::string& part : c.Expected) EXPECT_NE(message.find(part), std::string::npos) << message;
  }
  EXPECT_EQ(diary.SaveToString(), before) << "a failed load changed the diary";
  EXPECT_EQ(diary.Files.Items(0), firstFile);
  EXPECT_EQ(diary.Days[0], firstDay);
  EXPECT_EQ(diary.Categories->Items(0), firstCategory);
}

const std::string kOneDay = R"(<tekuri><日リスト><日データ 日付="1" 天気="" メモ=""/></日リスト></tekuri>)";

INSTANTIATE_TEST_SUITE_P(
    Cases, DayDataFileBadInput,
    testing::Values(
        TBadCase{"NotXml", {}, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), {"XML として正しくありません"}},
        TBadCase{"Empty", {}, "", {"要素がひとつもありません"}},
        TBadCase{"UnclosedElement", {{"<物リスト>", ""}}, "", {"XML として正しくありません", "先頭から"}},
        TBadCase{"TruncatedHalfWay", {}, kOneDay.substr(0, kOneDay.size() / 2), {"XML として正しくありません"}},
        TBadCase{"MissingActionTitle",
                 {{" タイトル=\"行動3\"", ""}},
                 "",
                 {"要素 \"日リスト/日データ[1]/行動[4]\"", "属性 \"タイトル\" がありません"}},
        TBadCase{"CommaInANumber",
                 {{"気温=\"15.3\"", "気温=\"15,3\""}},
                 "",
                 {"日リスト/日データ[1]/行動[4]", "\"気温\" の値 \"15,3\" は数値ではありません"}},
        TBadCase{"EmptyDate",
                 {{"日付=\"42096\"", "日付=\"\""}},
                 "",
                 {"日リスト/日データ[2]", "\"日付\" の値 \"\" は数値ではありません"}},
        TBadCase{"FractionForAnInteger",
                 {{"風向=\"2\"", "風向=\"2.5\""}},
                 "",
                 {"\"風向\" の値 \"2.5\" は整数ではありません"}},
        TBadCase{"IntegerTooLarge", {{"風向=\"2\"", "風向=\"99999999999\""}}, "", {"は整数ではありません"}},
        TBadCase{"InfiniteNumber", {{"気温=\"15.3\"", "気温=\"1E99999\""}}, "", {"は数値ではありません"}},
        TBadCase{"MissingGraphElement",
                 {{"<日グラフ ", "<日グラフX "}, {"</日グラフ>", "</日グラフX>"}},
                 "",
                 {"要素 \"カテゴリリスト/カテゴリ0\" に子要素 \"日グラフ\" がありません"}},
        TBadCase{"BadFlagInACategory",
                 {{"<カテゴリ7 表示=\"1\" 記録=\"", "<カテゴリ7 表示=\"1\" 記録=\"x"}},
                 "",
                 {"カテゴリ7", "記録"}},
        TBadCase{"ThingWithoutName",
                 {{"<物 名称=\"ランニングシューズ\"", "<物"}},
                 "",
                 {"物リスト/物[1]", "\"名称\" がありません"}},
        TBadCase{"PersonNumber", {{"会社緯度=\"-33.5\"", "会社緯度=\"南緯33.5\""}}, "", {"人リスト/人", "会社緯度"}},
        TBadCase{"LinkWithoutCodeOrPath",
                 {{"<ファイル コード=", "<ファイル 旧コード="}},
                 "",
                 {"リンク/ファイル", "\"パス\" がありません"}},
        TBadCase{"BadRotation", {{"回転=\"90\"", "回転=\"右\""}}, "", {"ファイルリスト/ファイル[1]", "回転"}},
        TBadCase{"LastSectionBadStream",
                 {{"RightPanelDockInfo=\"01AB00FF10\"", "RightPanelDockInfo=\"01AB00FF1\""}},
                 "",
                 {"子ウインドウ/Docking", "RightPanelDockInfo", "16 進数"}},
        TBadCase{"LastSectionMissingAttribute",
                 {{" SubFolder=\"1\"", ""}},
                 "",
                 {"子ウインドウ/FileLinkSearch", "SubFolder"}},
        TBadCase{"TimeBeyondTheCalendar",
                 {{"時刻=\"0.3125\"", "時刻=\"1e309\""}},
                 "",
                 {"日リスト/日データ[1]/行動[1]/記録", "\"時刻\" の値 \"1e309\"", "日付の範囲"}},
        TBadCase{"GraphEndBeforeTheCalendar",
                 {{"終了日=\"42100.5\"", "終了日=\"-1e309\""}},
                 "",
                 {"カテゴリリスト/カテゴリ0/日グラフ", "\"終了日\" の値 \"-1e309\"", "日付の範囲"}},
        TBadCase{"DayInTheYearTenThousand",
                 {{"日付=\"42096\"", "日付=\"2958466\""}},
                 "",
                 {"日リスト/日データ[2]", "\"日付\"", "日付の範囲"}},
        TBadCase{"DialogDateBeyondTheCalendar",
                 {{"Date=\"42095.5\"", "Date=\"1E300\""}},
                 "",
                 {"子ウインドウ/DropFileDialog", "\"Date\"", "日付の範囲"}},
        TBadCase{"LargestDoubleWrittenInFull",
                 {{"開始=\"0.25\"", "開始=\"1.7976931348623157E308\""}},
                 "",
                 {"ファイルリスト/ファイル[2]", "\"開始\"", "大きすぎます"}},
        TBadCase{
            "AnElementAfterTheRoot", {{"</tekuri>", "</tekuri><tekuri/>"}}, "", {"ルート要素の外に内容があります"}},
        TBadCase{"TextAfterTheRoot", {{"</tekuri>", "</tekuri>\n追記"}}, "", {"ルート要素の外に内容があります"}},
        TBadCase{"TextBeforeTheRoot", {{"<tekuri", "前置き<tekuri"}}, "", {"ルート要素の外に内容があります"}},
        TBadCase{"AHugeBadValueIsQuotedShort",
                 {{"気温=\"15.3\"", "気温=\"" + std::string(1000000, '9') + "\n\""}},
                 "",
                 {"\"気温\" の値 \"" + std::string(60, '9') + "…\" (全 1000001 バイト) は数値ではありません"}},
        TBadCase{"ChannelWithoutGraph",
                 {{"<グラフ2 ", "<グラフ3 "}, {"</グラフ2>", "</グラフ3>"}},
                 "",
                 {"グラフ/Channel2", "グラフ2"}}),
    [](const testing::TestParamInfo<TBadCase>& param) { return std::string(param.param.Name); });

// A file cut short anywhere (a copy that stopped, a disk that filled under another program).
TEST(DayDataFileBadFile, ATruncatedFileFailsAndChangesNothing) {
  TTempFolder folder;
  TDiaryFixture diary;
  FillDiary(diary);
  const std::string before = diary.SaveToString();
  for (const std::size_t cut : {std::size_t{1}, before.size() / 10, before.size() / 2, before.size() - 1}) {
    WriteFileBytes(folder / "cut.hkvj", before.substr(0, cut));
    EXPECT_THROW(diary.Load(folder / "cut.hkvj"), EHakuvoError) << cut;
    EXPECT_EQ(diary.SaveToString(), before) << cut;
  }
}

TEST(DayDataFileBadFile, AFileThatCannotBeReadNamesTheReason) {
  TTempFolder folder;
  TDiaryFixture diary;
  FillDiary(diary);
  const std::string before = diary.SaveToString();
  for (const auto& [path, reason] :
       {std::pair{folder / "missing.hkvj", "No such file or directory"}, std::pair{folder.Path(), "フォルダーです"}}) {
    try {
      diary.Load(path);
      ADD_FAILURE() << "no error for " << path;
    } catch (const EHakuvoError& error) {
      EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(diary.SaveToString(), before);
}

// Files edited by hand have lines: the message says which, read from the file or from memory.
TEST(DayDataFileBadFile, TheMessageGivesTheLineOfTheElement) {
  const std::string text =
      "<?xml version=\"1.0\"?>\n<tekuri>\n<日リスト>\n<日データ 日付=\"1\" 天気=\"\" メモ=\"a&#10;b\"/>\n"
      "<日データ 日付=\"2\" 天気=\"\"/>\n</日リスト>\n</tekuri>\n";
  TTempFolder folder;
  WriteFileBytes(folder / "hand.hkvj", text);
  TDiaryFixture diary;
  for (const bool fromFile : {true, false}) {
    try {
      if (fromFile) {
        diary.Load(folder / "hand.hkvj");
      } else {
        diary.LoadString(text, "hand.hkvj");
      }
      ADD_FAILURE() << "no error";
    } catch (const EHakuvoError& error) {
      EXPECT_NE(
          std::string(error.what()).find("日リスト/日データ[2]\" に属性 \"メモ\" がありません (5 行目, 先頭から 101 "),
          std::string::npos)
          << error.what();
    }
  }
}

// Only the predefined entities and character references are expanded: no entity definitions of
// a document type are used, so neither entity bombs nor external files reach the diary.
TEST(DayDataFileBadFile, EntitiesOfADocumentTypeAreNotExpanded) {
  TDiaryFixture diary;
  diary.LoadString(R"(<?xml version="1.0"?><!DOCTYPE tekuri [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;">
<!ENTITY x SYSTEM "file:///etc/passwd">]>
<tekuri><日リスト><日データ 日付="1" 天気="&b;&x;" メモ="&lt;&#x41;"/></日リスト></tekuri>)");
  ASSERT_EQ(diary.Days.Count(), 1);
  EXPECT_EQ(diary.Days[0]->Weather, "&b;&x;");
  EXPECT_EQ(diary.Days[0]->Memo, TStringList{"<A"});
}

}  // namespace
}  // namespace hakuvo
