#include <gtest/gtest.h>

#include <set>

#include "gui/main/command_line.h"

namespace hakuvo {
namespace {

struct TCase {
  std::vector<std::string> Parameters;
  TCategoryType Mode;
  bool AppDataFolder;
  std::string Diary;
};

TEST(CommandLineTest, SwitchesAndDiaryNames) {
  // Files that exist for this table.
  const std::set<std::string> files = {"/home/u/run.hkvj", "/WALKING", "diary.hkvw"};
  const auto isFile = [&](const std::string& path) { return files.count(path) > 0; };
  const TCase cases[] = {
      {{}, ctJogging, false, ""},
      {{"/WALKING"}, ctJogging, false, "/WALKING"},  // an existing file is never a switch
      {{"-walking"}, ctWalking, false, ""},
      {{"/bicycle", "-JOGGING"}, ctJogging, false, ""},  // the last mode switch wins
      {{"-walking", "/BICYCLE"}, ctBicycle, false, ""},
      {{"/WalkingMode"}, ctWalking, false, ""},  // the first seven letters decide
      {{"/WALKIN"}, ctJogging, false, ""},
      {{"-walking", "/ADBICYCLE", "/NOADWALKING"}, ctWalking, false, ""},  // AD and NOAD change nothing
      {{"/AD", "-NOAD"}, ctJogging, false, ""},
      {{"-appdatafolder"}, ctJogging, true, ""},
      {{"/APPDATAFOLDERX", "-walking"}, ctWalking, true, ""},
      {{"/home/u/run.hkvj", "-walking"}, ctWalking, false, "/home/u/run.hkvj"},
      {{"/home/u/missing.hkvj"}, ctJogging, false, "/home/u/missing.hkvj"},  // a path, reported when opened
      {{"diary.hkvw", "other.hkvb"}, ctWalking, false, "diary.hkvw"},        // the first diary named wins
      // Without a mode switch the diary's extension chooses the mode; a switch always wins.
      {{"/d/Bike.HKVB"}, ctBicycle, false, "/d/Bike.HKVB"},
      {{"/d/walk.hkvw", "-appdatafolder"}, ctWalking, true, "/d/walk.hkvw"},
      {{"/d/run.hkvj"}, ctJogging, false, "/d/run.hkvj"},
      {{"-jogging", "/d/walk.hkvw"}, ctJogging, false, "/d/walk.hkvw"},
      {{"/d/walk.hkvw", "/BICYCLE"}, ctBicycle, false, "/d/walk.hkvw"},
      {{"/d/notes.xml"}, ctJogging, false, "/d/notes.xml"},
      {{"-", "/"}, ctJogging, false, ""},  // empty switches
  };
  for (const TCase& c : cases) {
    std::string joined;
    for (const std::string& p : c.Parameters) joined += p + " ";
    SCOPED_TRACE(joined);
    const TCommandLine line = ParseCommandLine(c.Parameters, isFile);
    EXPECT_EQ(line.Mode, c.Mode);
    EXPECT_EQ(line.IsAppDataFolder, c.AppDataFolder);
    EXPECT_EQ(line.DiaryFileName, c.Diary);
  }
}

}  // namespace
}  // namespace hakuvo
