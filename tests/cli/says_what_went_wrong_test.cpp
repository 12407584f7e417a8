// The command line's own words: errors in the user's language, real reasons, and tables that
// read the same in every locale.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/model/link_data.h"
#include "support/run_cli.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

using test::RunCli;
using test::RunCliIn;

const std::string kPhotos = std::string(HAKUVO_TESTDATA_DIR) + "/photos/";
const std::string kTracks = std::string(HAKUVO_TESTDATA_DIR) + "/tracks/";

std::string Quote(const std::string& text) { return "'" + text + "'"; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> LinkNames(const std::string& diaryName) {
  TDiary diary(diaryName);
  diary.Load();
  std::vector<std::string> names;
  const TLinkDataList& links = diary.Files.List();
  for (int i = 0; i < links.Count(); ++i) {
    if (const auto* file = dynamic_cast<const TFileLink*>(links[i])) names.push_back(file->FileName);
  }
  return names;
}

// Runs in `folder` as the working folder, as a user typing relative names would.
test::TCliResult RunCliFrom(const std::filesystem::path& folder, const std::string& arguments) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  test::TCliResult result = RunCli(arguments);
  std::filesystem::current_path(before);
  return result;
}

TEST(CliErrors, WrongInputIsOneErrorLineWithStatus1InTheUsersLanguage) {
  test::TTempFolder folder;
  const std::string diary = folder.Path("d.hkvj");
  ASSERT_EQ(RunCli("import " + Quote(diary) + " " + Quote(kPhotos + "Canon_40D.jpg")).Status, 0);
  struct Case {
    std::string Arguments;
    std::string English;
    std::string Japanese;
  };
  const Case cases[] = {
      {"calc '1+'", "error: the formula is not correct (character 2)\n",
       "error: 「+」の後に値がありません（2 文字目）\n"},
      {"graph " + Quote(diary) + " --period day --category ランニング",
       "error: the diary has no category 'ランニング'\n", "error: 日記に「ランニング」という分類はありません\n"},
      {"exif " + Quote(kTracks + "bike_gpx.gpx"), "error: " + kTracks + "bike_gpx.gpx: not a JPEG photograph\n",
       "error: " + kTracks + "bike_gpx.gpx は JPEG 写真ではありません\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const test::TCliResult english = RunCliIn("C", c.Arguments);
    EXPECT_EQ(english.Status, 1);
    EXPECT_EQ(english.Out, c.English);
    const test::TCliResult japanese = RunCliIn("ja_JP.UTF-8", c.Arguments);
    EXPECT_EQ(japanese.Status, 1);
    EXPECT_EQ(japanese.Out, c.Japanese);
  }
}

// Errors raised by the core (reading tracks, diaries and pictures) follow the same rule as the
// command line's own: English outside a Japanese locale, with no Japanese word in it, and
// Japanese within one.
TEST(CliErrors, CoreErrorsSpeakTheLanguageOfTheLocale) {
  test::TTempFolder folder;
  const auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(folder.Path(name), std::ios::binary) << bytes;
    return folder.Path(name);
  };
  const std::string brokenGpx = write("broken.gpx", "<gpx>\n<trk>");
  const std::string emptyFit = write("empty.fit", "");
  const std::string ggaLog = write("gga.nmea",
                                   "$GPGGA,120000,3540.000,N,13945.000,E,1,08,1.0,12.0,M,,,,*20\n"
                                   "$GPGGA,120001,north,N,13945.000,E,1,08,1.0,12.0,M,,,,*52\n");
  const std::string route = write("route.txt", "a route");
  const std::string brokenDiary = write("broken.hkvj", "<tekuri><日リスト>");
  const std::string notDiary = write("other.hkvj", "<html><body/></html>");
  std::filesystem::create_directory(folder.Path("folder.hkvj"));
  std::string huge;
  {
    std::ifstream in(kPhotos + "Canon_40D.jpg", std::ios::binary);
    huge.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::size_t frame = huge.rfind("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    huge[frame + 5] = huge[frame + 7] = '\xFF';
    huge[frame + 6] = huge[frame + 8] = '\xDC';
  }
  const std::string hugePhoto = write("huge.jpg", huge);
  struct Case {
    std::string Arguments;
    std::string English;   // a part of the error line in English
    std::string Japanese;  // the same in Japanese
  };
  const Case cases[] = {
      {"track " + Quote(folder.Path("missing.gpx")), "; not found; check the file name",
       "; が見つかりません; ファイル名を確認してください"},
      {"track " + Quote(folder.Path("missing.kml")), "missing.kml; cannot open the file",
       "missing.kml; ファイルを開けません"},
      {"track " + Quote(brokenGpx), "; line 2: not well-formed XML", "; 2行目: XMLの形式が正しくありません"},
      {"track " + Quote(emptyFit), "; byte 0: not a readable FIT file (the file is empty)",
       "; 0バイト目: FITファイルとして読めません（ファイルが空です）"},
      {"track " + Quote(ggaLog), "; line 2: \"north\" is not a number", "; 2行目: \"north\" は数値ではありません"},
      {"track " + Quote(route), route + ": not a GPS track", route + " は GPS ファイル"},
      {"track " + Quote(brokenGpx) + " --start yesterday", "--start expects a local date-time",
       "--start には \"2021/03/02 09:30:00\" のような日時を指定してください"},
      {"list " + Quote(brokenDiary), "could not read the diary \"" + brokenDiary + "\": not well-formed XML",
       "データファイル \"" + brokenDiary + "\" を読み込めませんでした: XML として正しくありません"},
      {"list " + Quote(notDiary), "holds none of the diary's sections", "には跳記の日記の項目"},
      {"list " + Quote(folder.Path("folder.hkvj")), ": a folder (give a file)", " は読み込めません: フォルダーです"},
      {"thumbnail " + Quote(hugePhoto) + " --out " + Quote(folder.Path("out")),
       "cannot read the picture " + hugePhoto + " (too many pixels (65500 x 65500, 400 million at most))",
       "画像ファイルを読み込めません: " + hugePhoto + " (画素数が多すぎる画像です（65500 × 65500、4 億画素まで）)"},
      {"import " + Quote(folder.Path("d.hkvj")) + " " + Quote(brokenGpx), "line 2: not well-formed XML",
       "2行目: XMLの形式が正しくありません"},
  };
  const auto isAscii = [](const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const test::TCliResult english = RunCliIn("C", c.Arguments + " 2>&1 >/dev/null");
    EXPECT_NE(english.Status, 0);
    EXPECT_NE(english.Out.find(c.English), std::string::npos) << english.Out;
    // The diary's own element names may be Japanese; the words around them may not.
    if (c.Arguments.find("broken.hkvj") == std::string::npos) {
      EXPECT_TRUE(isAscii(english.Out)) << english.Out;
    }
    const test::TCliResult japanese = RunCliIn("ja_JP.UTF-8", c.Arguments + " 2>&1 >/dev/null");
    EXPECT_EQ(japanese.Status, english.Status);
    EXPECT_NE(japanese.Out.find(c.Japanese), std::string::npos) << japanese.Out;
    EXPECT_EQ(Lines(english.Out).size(), 1u) << english.Out;
    EXPECT_EQ(Lines(japanese.Out).size(), 1u) << japanese.Out;
  }
}

TEST(CliErrors, TheLocaleVariablesChooseTheLanguageInPosixOrder) {
  struct Case {
    std::string Environment;
    bool Japanese;
  };
  const Case cases[] = {
      {"LC_ALL= LC_MESSAGES= LANG=ja_JP.UTF-8", true},
      {"LC_ALL= LC_MESSAGES=ja_JP.UTF-8 LANG=C", true},
      {"LC_ALL=C LC_MESSAGES=ja_JP.UTF-8 LANG=ja_JP.UTF-8", false},
      {"LC_ALL= LC_MESSAGES= LANG=en_GB.UTF-8", false},
      {"LC_ALL= LC_MESSAGES= LANG=", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Environment);
    const std::string command = "env " + c.Environment + " " + HAKUVO_CLI_PATH + " calc 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[512] = {};
    const std::size_t got = std::fread(buffer, 1, sizeof buffer - 1, pipe);
    pclose(pipe);
    const std::string out(buffer, got);
    EXPECT_EQ(out.find("式を 1 つの引数") != std::string::npos, c.Japanese) << out;
  }
}

TEST(CliErrors, TablesAndKeyValueLinesAreTheSameInEveryLocale) {
  test::TTempFolder folder;
  const std::string diary = folder.Path("d.hkvj");
  ASSERT_EQ(RunCli("import " + Quote(diary) + " " + Quote(kPhotos + "gps_DSCN0010.jpg") + " " +
                   Quote(kTracks + "bike_gpx.gpx"))
                .Status,
            0);
  for (const std::string& arguments : std::vector<std::string>{
           "list " + Quote(diary), "graph " + Quote(diary) + " --period month --category ジョギング",
           "exif " + Quote(kPhotos + "gps_DSCN0010.jpg"), "track " + Quote(kTracks + "bike_gpx.gpx")}) {
    SCOPED_TRACE(arguments);
    const test::TCliResult english = RunCliIn("C", arguments);
    const test::TCliResult japanese = RunCliIn("ja_JP.UTF-8", arguments);
    EXPECT_EQ(english.Status, 0) << english.Out;
    EXPECT_EQ(english.Out, japanese.Out);
  }
}

TEST(CliImport, RelativeNamesAreStoredAbsoluteAndNormalised) {
  test::TTempFolder folder;
  std::filesystem::create_directories(folder / "photos");
  std::filesystem::copy_file(kPhotos + "Canon_40D.jpg", folder / "photos" / "a.jpg");
  std::filesystem::copy_file(kTracks + "bike_gpx.gpx", folder / "photos" / "t.gpx");
  const test::TCliResult result = RunCliFrom(folder.Path(), "import d.hkvj photos/a.jpg ./photos/../photos/t.gpx");
  ASSERT_EQ(result.Status, 0) << result.Out;
  const std::vector<std::string> names = LinkNames(folder.Path("d.hkvj"));
  ASSERT_EQ(names.size(), 2u);
  for (const std::string& name : names) {
    EXPECT_TRUE(name == folder.Path("photos/a.jpg") || name == folder.Path("photos/t.gpx")) << name;
  }
}

TEST(CliImport, AFileAlreadyInTheDiaryIsNotAddedAgainUnlessAsked) {
  test::TTempFolder folder;
  std::filesystem::create_directories(folder / "photos");
  std::filesystem::copy_file(kPhotos + "Canon_40D.jpg", folder / "photos" / "a.jpg");
  const std::string diary = folder.Path("d.hkvj");
  ASSERT_EQ(RunCli("import " + Quote(diary) + " " + Quote(folder.Path("photos/a.jpg"))).Status, 0);

  // The same file under another spelling, from another folder, is still the same file.
  const test::TCliResult again = RunCliFrom(folder / "photos", "import ../d.hkvj ./a.jpg");
  EXPECT_EQ(again.Status, 0) << again.Out;
  const std::vector<std::string> lines = Lines(again.Out);
  ASSERT_EQ(lines.size(), 2u) << again.Out;
  EXPECT_EQ(lines[1], "./a.jpg\talready in the diary\t\talready in the diary (--again adds it anyway)");
  EXPECT_EQ(LinkNames(diary).size(), 1u);

  const test::TCliResult forced =
      RunCli("import " + Quote(diary) + " " + Quote(folder.Path("photos/a.jpg")) + " --again");
  EXPECT_EQ(forced.Status, 0) << forced.Out;
  EXPECT_EQ(LinkNames(diary).size(), 2u);
}

TEST(CliImport, ARelativeNameAlreadyInTheDiaryCountsFromTheDiarysFolder) {
  test::TTempFolder folder;
  std::filesystem::create_directories(folder / "photos");
  std::filesystem::copy_file(kPhotos + "Canon_40D.jpg", folder / "photos" / "a.jpg");
  const std::string diary = folder.Path("d.hkvj");
  ASSERT_EQ(RunCli("import " + Quote(diary) + " " + Quote(folder.Path("photos/a.jpg"))).Status, 0);
  {
    // As an older version wrote it: relative to wherever it was run.
    TDiary edited(diary);
    edited.Load();
    dynamic_cast<TFileLink*>(edited.Files.List()[0])->FileName = "photos/a.jpg";
    edited.Save();
  }
  const test::TCliResult again = RunCli("import " + Quote(diary) + " " + Quote(folder.Path("photos/a.jpg")));
  EXPECT_EQ(again.Status, 0);
  EXPECT_NE(again.Out.find("\talready in the diary\t"), std::string::npos) << again.Out;
  EXPECT_EQ(LinkNames(diary).size(), 1u);
}

TEST(CliImport, RefusalsGiveTheSystemsReasonAndKeepEachRowOnOneLine) {
  test::TTempFolder folder;
  std::filesystem::create_symlink("loop", folder / "loop");
  const std::string odd = folder.Write("tab\there\nand newline.txt", "x");
  const std::string diary = folder.Path("d.hkvj");
  const test::TCliResult result = RunCli("import " + Quote(diary) + " " + Quote(folder.Path("loop")) + " " +
                                         Quote(folder.Path("missing.jpg")) + " " + Quote(odd) + " --date 2021/01/02");
  EXPECT_EQ(result.Status, 1);
  const std::vector<std::string> lines = Lines(result.Out);
  ASSERT_EQ(lines.size(), 4u) << result.Out;
  EXPECT_EQ(lines[1], folder.Path("loop") + "\trefused\t\tcannot be looked at: the symbolic links form a loop");
  EXPECT_EQ(lines[2], folder.Path("missing.jpg") + "\trefused\t\tcannot be looked at: no such file or folder");
  EXPECT_EQ(lines[3], folder.Path("tab\\there\\nand newline.txt") +
                          "\tnew outing\t2021/01/02 00:00:00\ttab\\there\\nand newline.txt");
}

TEST(CliImport, APhotographNobodyMayReadIsRefusedNotRegistered) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
  test::TTempFolder folder;
  const std::string photo = folder.Path("locked.jpg");
  std::filesystem::copy_file(kPhotos + "Canon_40D.jpg", photo);
  std::filesystem::permissions(photo, std::filesystem::perms::none);
  const test::TCliResult result = RunCli("import " + Quote(folder.Path("d.hkvj")) + " " + Quote(photo));
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Out.find(photo + "\trefused\t\tcannot be read: permission denied"), std::string::npos) << result.Out;
  EXPECT_FALSE(std::filesystem::exists(folder / "d.hkvj"));
}

}  // namespace
}  // namespace hakuvo
