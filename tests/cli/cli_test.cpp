// Runs hakuvo-cli on diaries written here and checks what it prints.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "core/common/guid.h"
#include "core/datafile/day_data_file.h"
#include "core/model/category_info_list.h"
#include "core/settings/child_window_info.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

struct Result {
  int Status;
  std::string Out;
};

Result RunCli(const std::string& arguments) {
  const std::string command = std::string(HAKUVO_CLI_PATH) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, ""};
  std::string out;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    DiaryPath = (Folder / "test.hkvj").string();
    // Twelve jogging outings of 1.5 .. 18 km, one walk of 9 km that the category must leave out.
    for (int i = 1; i <= 12; ++i) AddOuting(ctJogging, i, i * 1.5);
    AddOuting(ctWalking, 3, 9);
    TLinkDataOwner files, things, persons;
    TGraphInfo g1, g2;
    TChildWindowInfo layout;
    TDayDataFile file;
    file.SetFileName(DiaryPath);
    file.SetDayDataList(&Days);
    file.SetCategoryInfoList(Infos.get());
    file.SetFileList(&files);
    file.SetThingList(&things);
    file.SetPersonList(&persons);
    file.SetMultiDayGraphInfo(&g1);
    file.SetMultiDayGraphInfo2(&g2);
    file.SetChildWindowInfo(&layout);
    file.Save();
  }

  void AddOuting(TCategoryType kind, int day, double km) {
    const TDateTime date = EncodeDate(2025, 4, day);
    TDayData* found = Days.FindDate(date);
    if (found == nullptr) {
      auto fresh = std::make_unique<TDayData>();
      fresh->DateData = date;
      found = Days.Add(std::move(fresh));
    }
    TActData* act = found->AddAct(CreateActData(kind));
    act->RecordData->Tani = Infos->GetCategoryItems(kind)->Tani;
    auto& record = static_cast<TTimeRecord&>(*act->RecordData);
    record.StartTime = EncodeTime(7, 0, 0);
    record.EndTime = EncodeTime(8, 0, 0);
    record.SetData(km);
  }

  test::TTempFolder Temp;
  std::filesystem::path Folder = Temp.Path();
  std::string DiaryPath;
  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Infos = TCategoryInfoList::CreateStandard();
};

TEST_F(Cli, ExtractListsExactlyTheOutingsOfAtLeastFiveKilometres) {
  const Result result = RunCli("extract " + DiaryPath + " --category ジョギング '=[距離] >= 5'");
  ASSERT_EQ(result.Status, 0) << result.Out;
  const auto lines = Lines(result.Out);
  ASSERT_EQ(lines.size(), 1u + 9u) << result.Out;  // 6, 7.5, ... 18 km
  EXPECT_EQ(lines[0], "日付\t開始時刻\t終了時刻\tタイトル\t距離\t\t速度\t");
  EXPECT_EQ(lines[1], "2025/04/04\t07:00\t08:00\t\t6\tkm\t6.0\tkm/h");
  EXPECT_EQ(lines.back(), "2025/04/12\t07:00\t08:00\t\t18\tkm\t18.0\tkm/h");
}

TEST_F(Cli, FormulaErrorsAndUsageErrorsHaveTheirExitStatus) {
  Result bad = RunCli("extract " + DiaryPath + " --category ジョギング '=[高度] > 1'");
  EXPECT_EQ(bad.Status, 1);
  EXPECT_NE(bad.Out.find("error: enSyntaxError at"), std::string::npos) << bad.Out;
  EXPECT_EQ(RunCli("extract " + DiaryPath).Status, 2);
  EXPECT_EQ(RunCli("no-such-command").Status, 2);
  EXPECT_EQ(RunCli("list " + (Folder / "missing.hkvj").string()).Status, 1);
  EXPECT_EQ(RunCli("--help").Status, 0);
}

TEST_F(Cli, ListAndGraphMirrorTheWindows) {
  const auto list = Lines(RunCli("list " + DiaryPath).Out);
  ASSERT_EQ(list.size(), 14u);
  EXPECT_EQ(list[0], "日付\t開始時刻\t終了時刻\tタイトル\t距離(km)\t速度(km/h)");
  const auto energy = Lines(RunCli("list --energy " + DiaryPath).Out);
  EXPECT_EQ(energy[1], "2025/04/01\t07:00\t08:00\t\t1.5\t1.5\t60\t441");

  const auto months = Lines(RunCli("graph " + DiaryPath + " --period month --category ジョギング --kind 1").Out);
  ASSERT_EQ(months.size(), 2u);
  EXPECT_EQ(months[1], "2025/04/01\t117");
  const auto acts = Lines(RunCli("graph " + DiaryPath + " --period act --category ウォーキング").Out);
  ASSERT_EQ(acts.size(), 2u);
  EXPECT_EQ(acts[1], "2025/04/03\t4/3\t9");
}

TEST_F(Cli, ResaveKeepsTheDiary) {
  const std::string copy = (Folder / "copy.hkvj").string();
  ASSERT_EQ(RunCli("resave " + DiaryPath + " " + copy).Status, 0);
  EXPECT_EQ(RunCli("list " + copy).Out, RunCli("list " + DiaryPath).Out);
}

}  // namespace
}  // namespace hakuvo
