#include "core/settings/history_menu_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/common/utf16.h"
#include "core/settings/ini_file.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

THistoryMenuList ListOf(std::initializer_list<const char*> newestFirst) {
  THistoryMenuList list;
  for (auto it = std::rbegin(newestFirst); it != std::rend(newestFirst); ++it) list.Add(*it);
  return list;
}

TEST(HistoryMenuList, AddPutsThePathOnTopAndKeepsTenAtMost) {
  THistoryMenuList list;
  list.Add("");
  EXPECT_EQ(list.Count(), 0u);
  for (int i = 1; i <= 11; ++i) list.Add("/diary/" + std::to_string(i) + ".hkvj");
  ASSERT_EQ(list.Count(), 10u);
  EXPECT_EQ(list[0], "/diary/11.hkvj");
  EXPECT_EQ(list[9], "/diary/2.hkvj");  // the oldest, 1, was dropped
  EXPECT_EQ(list.IndexOf("/diary/1.hkvj"), -1);
}

TEST(HistoryMenuList, AListedPathMovesUpAndIsNotRepeated) {
  THistoryMenuList list = ListOf({"/a/One.hkvj", "/a/Two.hkvj", "/a/Three.hkvj"});
  list.Add("/a/Three.hkvj");
  EXPECT_EQ(list.Items(), (TStringList{"/a/Three.hkvj", "/a/One.hkvj", "/a/Two.hkvj"}));
  list.Add("/a/Three.hkvj");  // already on top
  EXPECT_EQ(list.Items(), (TStringList{"/a/Three.hkvj", "/a/One.hkvj", "/a/Two.hkvj"}));

  // A full list does not lose its last entry when a listed path moves up.
  for (int i = 0; i < 7; ++i) list.Add("/b/" + std::to_string(i));
  list.Add("/a/Two.hkvj");
  EXPECT_EQ(list.Count(), 10u);
  EXPECT_EQ(list[0], "/a/Two.hkvj");
}

// Names that differ only in letter case are different files here: each keeps its own entry,
// and finding, moving and removing one leaves the other alone.
TEST(HistoryMenuList, NamesDifferingInLetterCaseAreDifferentFiles) {
  THistoryMenuList list;
  list.Add("/d/A.hkvw");
  list.Add("/d/a.hkvw");
  EXPECT_EQ(list.Items(), (TStringList{"/d/a.hkvw", "/d/A.hkvw"}));
  EXPECT_EQ(list.IndexOf("/d/A.hkvw"), 1);
  EXPECT_EQ(list.IndexOf("/D/A.HKVW"), -1);

  list.Add("/d/A.hkvw");
  EXPECT_EQ(list.Items(), (TStringList{"/d/A.hkvw", "/d/a.hkvw"}));
  EXPECT_FALSE(list.Remove("/D/a.hkvw"));
  EXPECT_TRUE(list.Remove("/d/a.hkvw"));
  EXPECT_EQ(list.Items(), TStringList{"/d/A.hkvw"});

  TIniFile ini;
  ini.LoadFromText(
      "[File]\nHistoryFileNum=3\nHistoryFile0=/d/a.hkvw\nHistoryFile1=/d/A.hkvw\nHistoryFile2=/d/a.hkvw\n");
  list.LoadFromIni(ini);
  EXPECT_EQ(list.Items(), (TStringList{"/d/a.hkvw", "/d/A.hkvw"}));
}

TEST(HistoryMenuList, RemoveAndMaximum) {
  THistoryMenuList list = ListOf({"/1", "/2", "/3", "/4", "/5"});
  EXPECT_TRUE(list.Remove("/3"));
  EXPECT_FALSE(list.Remove("/3"));
  EXPECT_EQ(list.Items(), (TStringList{"/1", "/2", "/4", "/5"}));

  list.SetMax(0);  // no room at all would throw the history away
  list.SetMax(-5);
  EXPECT_EQ(list.Max(), 10);
  EXPECT_EQ(list.Count(), 4u);
  list.SetMax(2);
  EXPECT_EQ(list.Items(), (TStringList{"/1", "/2"}));
  list.Add("/new");
  EXPECT_EQ(list.Items(), (TStringList{"/new", "/1"}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
}

TEST(HistoryMenuList, LoadsEveryStoredEntryAndOnlyThose) {
  struct Case {
    const char* Name;
    const char* File;
    TStringList Expected;
  };
  const Case cases[] = {
      {"no count", "[File]\nHistoryFile0=/a\n", {}},
      {"count decides",
       "[File]\nHistoryFileNum=2\nHistoryFile0=/a\nHistoryFile1=/b\nHistoryFile2=/old\n",
       {"/a", "/b"}},
      {"any letter case", "[file]\nhistoryfilenum=1\nHISTORYFILE0=/a\n", {"/a"}},
      {"count beyond the entries", "[File]\nHistoryFileNum=5\nHistoryFile0=/a\nHistoryFile3=/d\n", {"/a", "/d"}},
      {"huge count", "[File]\nHistoryFileNum=2147483647\nHistoryFile0=/a\n", {"/a"}},
      {"negative count", "[File]\nHistoryFileNum=-3\nHistoryFile0=/a\n", {}},
      {"not a number", "[File]\nHistoryFileNum=two\nHistoryFile0=/a\n", {}},
      {"only the key names it writes",
       "[File]\nHistoryFileNum=2\nHistoryFile01=/x\nHistoryFile+1=/y\nHistoryFile1=/b\n",
       {"/b"}},
      {"empty and repeated entries",
       "[File]\nHistoryFileNum=4\nHistoryFile0=/a\nHistoryFile1=\nHistoryFile2=/a\nHistoryFile3=/b\n",
       {"/a", "/b"}},
  };
  for (const Case& c : cases) {
    TIniFile ini;
    ini.LoadFromText(c.File);
    THistoryMenuList list;
    list.Add("/stale");
    list.LoadFromIni(ini);
    EXPECT_EQ(list.Items(), c.Expected) << c.Name;
  }

  // A list stored longer than the maximum shows whole until it next changes.
  TIniFile ini;
  ini.WriteInteger("File", "HistoryFileNum", 12);
  for (int i = 0; i < 12; ++i) ini.WriteString("File", "HistoryFile" + std::to_string(i), "/" + std::to_string(i));
  THistoryMenuList list;
  list.LoadFromIni(ini);
  EXPECT_EQ(list.Count(), 12u);
  list.Add("/new");
  EXPECT_EQ(list.Count(), 10u);
  EXPECT_EQ(list[9], "/8");
}

class HistoryMenuListOnDisk : public testing::Test {
 protected:
  test::TTempFolder Temp;
  fs::path Folder = Temp.Path();
};

TEST_F(HistoryMenuListOnDisk, SaveKeepsTheOtherSettingsAndOldHigherEntries) {
  const fs::path file = Folder / "Orimaze" / "Hakuvo" / "Jogging.ini";  // folder made by Save
  TIniFile settings;
  settings.WriteInteger("Program", "Left", 40);
  settings.WriteString("File", "FileName", "/home/user/日記.hkvj");
  settings.SaveToFile(file);

  ListOf({"/home/user/日記.hkvj", "/b", "/c"}).Save(file);
  ListOf({"/c"}).Save(file);  // shrunk: HistoryFile1 and 2 stay behind, unread

  const TIniFile reread(file);
  EXPECT_EQ(reread.ReadInteger("Program", "Left", 0), 40);
  EXPECT_EQ(reread.ReadString("File", "FileName", ""), "/home/user/日記.hkvj");
  EXPECT_EQ(reread.ReadInteger("File", "HistoryFileNum", -1), 1);
  EXPECT_EQ(reread.ReadString("File", "HistoryFile2", ""), "/c");

  THistoryMenuList loaded;
  loaded.Load(file);
  EXPECT_EQ(loaded.Items(), TStringList{"/c"});

  std::ifstream in(file, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
}

// Names in another encoding than UTF-8 are names all the same: the list in the UTF-16 file gives
// them back byte for byte, so the menu opens those very files.
TEST_F(HistoryMenuListOnDisk, NamesThatAreNotUtf8ComeBackByteForByte) {
  const TStringList names = {
      "/d/caf\xE9.hkvj",                   // Latin-1
      "/d/\x93\xFA\x8BL.hkvj",             // Shift_JIS
      "/d/\xE8\xB7.hkvj",                  // a character cut short
      "/d/\xED\xB3\x80\xEF\xBF\xBD.hkvj",  // an encoded surrogate, then a real U+FFFD
      "/d/日記.hkvj",
  };
  THistoryMenuList list;
  for (auto it = names.rbegin(); it != names.rend(); ++it) list.Add(*it);
  list.Save(Folder / "Jogging.ini");

  THistoryMenuList loaded;
  loaded.Load(Folder / "Jogging.ini");
  EXPECT_EQ(loaded.Items(), names);
  EXPECT_TRUE(TIniFile(Folder / "Jogging.ini").IsWellFormed());
  EXPECT_FALSE(fs::exists(Folder / "Jogging.ini.bak"));
}

TEST_F(HistoryMenuListOnDisk, EachSettingsFileHasItsOwnList) {
  ListOf({"/jog.hkvj"}).Save(Folder / "Jogging.ini");
  ListOf({"/walk.hkvw"}).Save(Folder / "Walking.ini");
  THistoryMenuList walking;
  walking.Load(Folder / "Walking.ini");
  EXPECT_EQ(walking.Items(), TStringList{"/walk.hkvw"});
  THistoryMenuList bicycle;
  bicycle.Load(Folder / "Bicycle.ini");  // never written
  EXPECT_EQ(bicycle.Count(), 0u);
}

}  // namespace
}  // namespace hakuvo
