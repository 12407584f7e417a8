#include "core/register/find_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/gps/scoped_time_zone.h"
#include "core/register/register_fixtures.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

using test::ActCount;
using test::SetModified;
using test::TargetOf;

TEST(MatchFileNamePattern, MatchesLikeTheFileDialogsWithLetterCaseIgnored) {
  struct Case {
    const char* Pattern;
    const char* Name;
    bool Matches;
  };
  const Case cases[] = {
      {"*.jpg", "IMG_0001.JPG", true},
      {"IMG*", "img_0001.jpg", true},
      {"*.jpg", "IMG_0001.JPG.txt", false},
      {"*.jpg", ".jpg", true},
      {"IMG_????.JPG", "IMG_0001.JPG", true},
      {"IMG_????.JPG", "IMG_001.JPG", false},
      {"?", "", false},
      {"", "", true},
      {"", "a", false},
      {"*", "", true},
      {"**", "anything", true},
      {"a**b*c", "axxbyyc", true},
      {"a*b*c", "abcbcx", false},
      {"*ab*ab*ab*ab*x", "abababababababababababababab", false},
      {"[a].jpg", "[a].jpg", true},
      {"[a].jpg", "a.jpg", false},
      {"[", "[", true},
      {"写真?.jpg", "写真1.JPG", true},
      {"写?.jpg", "写真.jpg", true},
      {"ﾃｽﾄ*", "ﾃｽﾄ.txt", true},
      {"é*", "É.txt", false},  // only A-Z fold
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchFileNamePattern(c.Pattern, c.Name), c.Matches) << c.Pattern << " / " << c.Name;
  }
  EXPECT_TRUE(MatchAnyFileNamePattern({}, "x"));
  EXPECT_FALSE(MatchAnyFileNamePattern({"*.gpx"}, "x.jpg"));
}

TEST(IsFolderFault, TellsBrokenFoldersFromMissingOnes) {
  for (int error : {EIO, ESTALE, ENOTCONN, EHOSTDOWN}) EXPECT_TRUE(IsFolderFault(error)) << error;
  for (int error : {0, ENOENT, EACCES, ENOTDIR, ELOOP}) EXPECT_FALSE(IsFolderFault(error)) << error;
}

class FindFilesTest : public ::testing::Test {
 protected:
  ScopedTimeZone FZone{"UTC"};
  test::TTempFolder FFolder;
  TDiary FDiary{FFolder.Path("diary.xml")};

  std::string File(const std::string& relative, TDateTime modified) {
    const std::filesystem::path path = FFolder / relative;
    std::filesystem::create_directories(path.parent_path());
    FFolder.Write(relative, "x");
    SetModified(path.string(), modified);
    return path.string();
  }
  TFindFileOptions Options(TDateTime start, TDateTime end, std::vector<std::string> folders) {
    TFindFileOptions options;
    options.StartDate = start;
    options.EndDate = end;
    options.Folders = std::move(folders);
    options.Category = ctFile;
    return options;
  }
  std::vector<std::string> Paths(const TFindFileResult& result) {
    std::vector<std::string> paths;
    for (const auto& file : result.Registered) paths.push_back(file.Path);
    return paths;
  }
};

TEST_F(FindFilesTest, TwoPatternsThatBothMatchRegisterTheFileOnce) {
  const std::string photo = File("in/IMG_0001.JPG", EncodeDateTime(2014, 6, 1, 10, 0, 0));
  File("in/notes.txt", EncodeDateTime(2014, 6, 1, 10, 0, 0));
  TFindFileOptions options = Options(EncodeDate(2014, 6, 1), EncodeDate(2014, 6, 1), {FFolder.Path("in")});
  options.Patterns = {"*.jpg", "IMG*"};
  const TFindFileResult result = RegisterUpdatedFiles(TargetOf(FDiary), options);
  EXPECT_EQ(Paths(result), std::vector<std::string>{photo});
  EXPECT_EQ(FDiary.Files.Count(), 1);

  // Without patterns every file of the range is registered.
  options.Patterns.clear();
  EXPECT_EQ(RegisterUpdatedFiles(TargetOf(FDiary), options).Registered.size(), 2u);
}

TEST_F(FindFilesTest, OneOutingPerDayCountsTheFilesOtherwiseOneEach) {
  File("in/a.jpg", EncodeDateTime(2014, 6, 1, 9, 0, 0));
  File("in/b.jpg", EncodeDateTime(2014, 6, 1, 11, 0, 0));
  File("in/c.jpg", EncodeDateTime(2014, 6, 1, 15, 30, 0));
  TFindFileOptions options = Options(EncodeDate(2014, 6, 1), EncodeDate(2014, 6, 1), {FFolder.Path("in")});
  options.OneAct = true;
  RegisterUpdatedFiles(TargetOf(FDiary), options);
  ASSERT_EQ(ActCount(FDiary), 1);
  const TActData& act = *FDiary.Days[0]->ActDataList[0];
  EXPECT_EQ(act.Category, ctFile);
  EXPECT_EQ(act.Title, "a.jpg");
  EXPECT_EQ(act.RecordData->Data(), 3);
  EXPECT_EQ(act.LinkDataList.Count(), 3);
  EXPECT_NEAR(act.RecordData->StartTime, EncodeTime(9, 0, 0), 1e-9);

  TDiary separate(FFolder.Path("other.xml"));
  options.OneAct = false;
  RegisterUpdatedFiles(TargetOf(separate), options);
  ASSERT_EQ(ActCount(separate), 3);
  const char* titles[] = {"a.jpg", "b.jpg", "c.jpg"};
  const TDateTime starts[] = {EncodeTime(9, 0, 0), EncodeTime(11, 0, 0), EncodeTime(15, 30, 0)};
  for (int i = 0; i < 3; ++i) {
    const TActData& each = *separate.Days[0]->ActDataList[i];
    EXPECT_EQ(each.Title, titles[i]);
    EXPECT_EQ(each.RecordData->Data(), 1);
    EXPECT_NEAR(each.RecordData->StartTime, starts[i], 1e-9);
  }
}

TEST_F(FindFilesTest, DayByDayThenFolderByFolderAndAReversedRangeIsTheSame) {
  const std::string a1 = File("one/a.txt", EncodeDateTime(2014, 6, 2, 9, 0, 0));
  const std::string a2 = File("one/sub/b.txt", EncodeDateTime(2014, 6, 1, 9, 0, 0));
  const std::string b1 = File("two/c.txt", EncodeDateTime(2014, 6, 1, 23, 0, 0));
  const std::string b2 = File("two/d.txt", EncodeDateTime(2014, 6, 2, 1, 0, 0));
  File("two/late.txt", EncodeDateTime(2014, 6, 3, 0, 0, 0));
  File("two/early.txt", EncodeDateTime(2014, 5, 31, 23, 59, 59));
  const std::vector<std::string> expected = {a2, b1, a1, b2};
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed);
    TDiary diary(FFolder.Path("d.xml"));
    TDateTime start = EncodeDate(2014, 6, 1);
    TDateTime end = EncodeDate(2014, 6, 2);
    if (reversed) std::swap(start, end);
    TFindFileOptions options = Options(start, end, {FFolder.Path("one"), FFolder.Path("two")});
    options.SubFolders = true;
    EXPECT_EQ(Paths(RegisterUpdatedFiles(TargetOf(diary), options)), expected);
    EXPECT_EQ(diary.Days.Count(), 2);
  }
  // Without sub-folders the file in one/sub is not found.
  TFindFileOptions flat = Options(EncodeDate(2014, 6, 1), EncodeDate(2014, 6, 2), {FFolder.Path("one")});
  EXPECT_EQ(Paths(RegisterUpdatedFiles(TargetOf(FDiary), flat)), std::vector<std::string>{a1});
}

TEST_F(FindFilesTest, TheSameRangeTwiceLinksTheFilesTwice) {
  File("in/a.jpg", EncodeDateTime(2014, 6, 1, 9, 0, 0));
  const TFindFileOptions options = Options(EncodeDate(2014, 6, 1), EncodeDate(2014, 6, 1), {FFolder.Path("in")});
  RegisterUpdatedFiles(TargetOf(FDiary), options);
  RegisterUpdatedFiles(TargetOf(FDiary), options);
  EXPECT_EQ(ActCount(FDiary), 2);
  EXPECT_EQ(FDiary.Files.Count(), 2);
}

TEST_F(FindFilesTest, AUserCategoryMayHaveAnEmptyName) {
  File("in/a.jpg", EncodeDateTime(2014, 6, 1, 9, 0, 0));
  TFindFileOptions options = Options(EncodeDate(2014, 6, 1), EncodeDate(2014, 6, 1), {FFolder.Path("in")});
  options.Category = ctUserCategory;
  options.UserCategory = "";
  RegisterUpdatedFiles(TargetOf(FDiary), options);
  ASSERT_EQ(ActCount(FDiary), 1);
  EXPECT_EQ(FDiary.Days[0]->ActDataList[0]->Category, ctUserCategory);
  EXPECT_EQ(FDiary.Days[0]->ActDataList[0]->UserCategory, "");
}

TEST_F(FindFilesTest, ALinkBackUpTheTreeIsNotFollowed) {
  const std::string file = File("tree/sub/a.txt", EncodeDateTime(2014, 6, 1, 9, 0, 0));
  std::filesystem::create_directory_symlink(FFolder.Path("tree"), FFolder.Path("tree/sub/up"));
  std::filesystem::create_symlink(file, FFolder.Path("tree/link.txt"));
  TFindFileOptions options = Options(EncodeDate(2014, 6, 1), EncodeDate(2014, 6, 1), {FFolder.Path("tree")});
  options.SubFolders = true;
  // The link to a file is registered (with its target's time); the link to a folder is not walked.
  EXPECT_EQ(Paths(RegisterUpdatedFiles(TargetOf(FDiary), options)),
            (std::vector<std::string>{FFolder.Path("tree/link.txt"), file}));
}

TEST_F(FindFilesTest, MissingAndForbiddenFoldersGiveNothingSilently) {
  const std::string file = File("open/a.txt", EncodeDateTime(2014, 6, 1, 9, 0, 0));
  File("closed/b.txt", EncodeDateTime(2014, 6, 1, 9, 0, 0));
  ::chmod(FFolder.Path("closed").c_str(), 0);
  TFindFileOptions options = Options(EncodeDate(2014, 6, 1), EncodeDate(2014, 6, 1),
                                     {FFolder.Path("missing"), FFolder.Path("closed"), FFolder.Path("open")});
  const auto paths = Paths(RegisterUpdatedFiles(TargetOf(FDiary), options));
  ::chmod(FFolder.Path("closed").c_str(), 0700);
  // (Run as root the forbidden folder can still be read.)
  EXPECT_EQ(paths.back(), file);
}

TEST_F(FindFilesTest, ABrokenFolderStopsWithItsErrorNumberAfterWhatCameBeforeIt) {
  const TDateTime first = EncodeDate(2014, 6, 1);
  // A listing of made-up folders: "good" has a file on each of two days, "bad" fails half-way.
  const TFolderLister lister = [&](const std::string& folder, std::vector<TFolderEntry>& entries) {
    if (folder == "good") {
      entries.push_back({"a.txt", false, true, first + 0.5});
      entries.push_back({"b.txt", false, true, first + 1.5});
      return 0;
    }
    if (folder == "bad") {
      entries.push_back({"c.txt", false, true, first + 0.25});
      entries.push_back({"d.txt", false, true, first + 1.25});
      return EIO;
    }
    return ENOENT;
  };
  TFindFileOptions options = Options(first, first + 1, {"good", "bad", "never"});
  try {
    RegisterUpdatedFiles(TargetOf(FDiary), options, lister);
    FAIL() << "no error";
  } catch (const EFolderCheckError& error) {
    EXPECT_EQ(error.Error(), EIO);
    EXPECT_EQ(std::string(error.what()),
              "フォルダのチェックに失敗しました[" + std::to_string(EIO) + "]\r\nフォルダが壊れている可能性があります");
  }
  // The search of the first day had registered good/a.txt and bad/c.txt when it met the fault.
  ASSERT_EQ(FDiary.Files.Count(), 2);
  EXPECT_EQ(static_cast<TFileLink*>(FDiary.Files.Items(0))->FileName, "good/a.txt");
  EXPECT_EQ(static_cast<TFileLink*>(FDiary.Files.Items(1))->FileName, "bad/c.txt");
}

TEST_F(FindFilesTest, ACenturyOfDaysAndThousandsOfPatterns) {
  File("in/IMG_0001.JPG", EncodeDateTime(1990, 6, 1, 9, 0, 0));
  File("in/other.txt", EncodeDateTime(2014, 6, 1, 9, 0, 0));
  TFindFileOptions options = Options(EncodeDate(1950, 1, 1), EncodeDate(2049, 12, 31), {FFolder.Path("in")});
  for (int i = 0; i < 5000; ++i) options.Patterns.push_back("[" + std::to_string(i) + "]**?*");
  options.Patterns.push_back("img_*.jpg");
  const auto result = RegisterUpdatedFiles(TargetOf(FDiary), options);
  ASSERT_EQ(result.Registered.size(), 1u);
  EXPECT_EQ(FDiary.Days[0]->DateData, EncodeDate(1990, 6, 1));
}

}  // namespace
}  // namespace hakuvo
