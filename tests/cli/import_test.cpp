// Runs `hakuvo-cli import` and compares what it saves with the drop procedure run here.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/register/drop_files.h"
#include "support/fit_writer.h"
#include "support/run_cli.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

using test::RunCli;
using Result = test::TCliResult;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Link codes are drawn afresh by every run.
std::string WithoutCodes(const std::string& text) {
  static const std::regex code("\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
  return std::regex_replace(text, code, "{CODE}");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> TestDataFiles() {
  std::vector<std::string> files;
  for (const char* folder : {"photos", "tracks"}) {
    for (const auto& entry : std::filesystem::directory_iterator(std::string(HAKUVO_TESTDATA_DIR) + "/" + folder)) {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(CliImport, SavesTheSameDiaryAsTheDropProcedure) {
  test::TTempFolder folder;
  const std::vector<std::string> files = TestDataFiles();
  std::string arguments = "import " + Quote(folder.Path("cli.xml"));
  for (const std::string& file : files) arguments += " " + Quote(file);
  const Result result = RunCli(arguments);
  ASSERT_EQ(result.Status, 0) << result.Out;
  const std::vector<std::string> lines = Lines(result.Out);
  ASSERT_EQ(lines.size(), files.size() + 1);
  EXPECT_EQ(lines[0], "file\tresult\tdate\tdetail");
  EXPECT_EQ(lines[1].rfind(files[0] + "\tnew outing\t", 0), 0u) << lines[1];

  TDiary dropped(folder.Path("drop.xml"));
  TDropOptions options;
  options.UseExifDate = true;
  options.UseGpsDate = true;
  DropFiles({dropped.Days, *dropped.Categories, dropped.Files}, files, options);
  dropped.Save();
  const std::string saved = ReadFile(folder.Path("cli.xml"));
  ASSERT_FALSE(saved.empty());
  EXPECT_EQ(WithoutCodes(saved), WithoutCodes(ReadFile(folder.Path("drop.xml"))));
}

TEST(CliImport, ReportsEachFileAndAddsToAnExistingDiary) {
  test::TTempFolder folder;
  const std::string diary = folder.Path("d.xml");
  const std::string photo = TestDataFiles().front();
  ASSERT_EQ(RunCli("import " + Quote(diary) + " " + Quote(photo) + " --date 2020/02/03").Status, 0);
  const std::string note = folder.Write("note.txt", "x");
  std::filesystem::create_directory(folder.Path("dir"));
  const Result result = RunCli("import " + Quote(diary) + " " + Quote(note) + " " + Quote(folder.Path("dir")) + " " +
                               Quote(note) + " " + Quote(folder.Path("none")) + " --date 2020/2/3 --no-exif-date");
  EXPECT_EQ(result.Status, 1);
  const std::vector<std::string> lines = Lines(result.Out);
  ASSERT_EQ(lines.size(), 5u) << result.Out;
  // The outing the first import made is read back from the file: a new one is begun.
  EXPECT_EQ(lines[1], note + "\tnew outing\t2020/02/03 00:00:00\tnote.txt");
  EXPECT_EQ(lines[2], folder.Path("dir") + "\trefused\t\ta folder, not a file");
  EXPECT_EQ(lines[3], note + "\trefused\t\tthe same file was given earlier");
  EXPECT_EQ(lines[4], folder.Path("none") + "\trefused\t\tcannot be looked at: no such file or folder");

  TDiary reread(diary);
  reread.Load();
  ASSERT_EQ(reread.Days.Count(), 1);
  EXPECT_EQ(reread.Days[0]->ActDataList.Count(), 2);
}

TEST(CliImport, AnUnreadableTrackEndsTheImportAndKeepsWhatCameBefore) {
  test::TTempFolder folder;
  const std::string diary = folder.Path("d.xml");
  const std::string note = folder.Write("note.txt", "x");
  const std::string broken = folder.Write("broken.gpx", "<gpx>");
  const Result result = RunCli("import " + Quote(diary) + " " + Quote(note) + " " + Quote(broken) + " " + Quote(note));
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Out.find(broken + "\trefused\t\tthe track cannot be read: "), std::string::npos) << result.Out;
  EXPECT_NE(result.Out.find("\tnot imported\t"), std::string::npos);
  EXPECT_NE(result.Out.find("error: "), std::string::npos);
  TDiary reread(diary);
  reread.Load();
  EXPECT_EQ(reread.Files.Count(), 1);
}

TEST(CliImport, RefusesAWrongCommandLine) {
  for (const char* arguments : {"import", "import d.xml", "import d.xml a.jpg --date yesterday",
                                "import d.xml a.jpg --mode SWIMMING", "import d.xml a.jpg --no-such"}) {
    EXPECT_EQ(RunCli(arguments).Status, 2) << arguments;
  }
}

TEST(CliImport, ABrokenDiaryIsNotOverwritten) {
  test::TTempFolder folder;
  const std::string diary = folder.Write("d.xml", "not a diary");
  EXPECT_EQ(RunCli("import " + Quote(diary) + " " + Quote(folder.Write("a.txt", "x"))).Status, 1);
  EXPECT_EQ(ReadFile(diary), "not a diary");
}

// A watch's FIT file (and a TCX) joins the diary as a GPX does: the outing of its day, begun at
// the first fix, ending at the last, with the distance of the track; a second run of that day
// widens the same outing.
TEST(CliImport, FitAndTcxTracksMakeAndWidenTheOutingOfTheirDay) {
  test::TTempFolder folder;
  const auto run = [&](const std::string& name, int hour, int minutes, double north) {
    test::TFitWriter fit;
    fit.Define(0, 20, {test::kFitTimestamp, test::kFitLatitude, test::kFitLongitude});
    // One fix a minute, heading north along a meridian.
    for (int m = 0; m <= minutes; ++m) {
      fit.Data(0, {test::FitSeconds(2023, 5, 14, hour, m, 0), test::FitSemicircles(35 + north * m / minutes),
                   test::FitSemicircles(139)});
    }
    return folder.Write(name, fit.File());
  };
  // 00:00 and 01:00 UTC are 09:00 and 10:00 in Tokyo; about 5.5 and 2.2 km.
  const std::string first = run("morning.FIT", 0, 30, 0.05);
  const std::string second = run("later.fit", 1, 20, 0.02);
  const std::string diary = folder.Path("d.xml");
  setenv("TZ", "Asia/Tokyo", 1);
  const Result result = RunCli("import " + Quote(diary) + " " + Quote(first) + " " + Quote(second));
  const Result list = RunCli("list " + Quote(diary));
  const Result tcx = RunCli("import " + Quote(folder.Path("t.xml")) + " " +
                            Quote(std::string(HAKUVO_TESTDATA_DIR) + "/tracks/tcxparser-test.tcx"));
  const Result tcxList = RunCli("list " + Quote(folder.Path("t.xml")));
  unsetenv("TZ");
  ASSERT_EQ(result.Status, 0) << result.Out;
  const std::vector<std::string> lines = Lines(result.Out);
  ASSERT_EQ(lines.size(), 3u) << result.Out;
  EXPECT_EQ(lines[1], first + "\tnew outing\t2023/05/14 09:00:00\tmorning.FIT");
  EXPECT_EQ(lines[2].rfind(second + "\t", 0), 0u) << lines[2];
  EXPECT_EQ(lines[2].find("new outing"), std::string::npos) << lines[2];
  // 0.05 degrees of latitude are 5.55 km near 35 degrees north, 0.02 are 2.22 km: 5.5 + 2.2.
  EXPECT_NE(list.Out.find("2023/05/14\t09:00\t10:20\tmorning.FIT\t7.7\t"), std::string::npos) << list.Out;

  ASSERT_EQ(tcx.Status, 0) << tcx.Out;
  EXPECT_NE(tcxList.Out.find("2012/12/27\t06:29\t07:03\ttcxparser-test.tcx\t4.7\t"), std::string::npos) << tcxList.Out;
}

}  // namespace
}  // namespace hakuvo
