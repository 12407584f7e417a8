#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "core/common/hakuvo_error.h"
#include "core/datafile/diary.h"
#include "core/datafile/diary_read.h"
#include "diary_fixture.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

class DiaryReadTest : public ::testing::Test {
 protected:
  DiaryReadTest() {
    TDiaryFixture full;
    FillDiary(full);
    full.Save(Full);
    // Without its settings sections: the category settings, graph settings and layout come
    // from the diary shown.
    std::string bytes = ReadFileBytes(Full);
    for (const std::string section : {"カテゴリリスト", "グラフ", "ウインドウ", "子ウインドウ"}) {
      const std::size_t start = bytes.find("<" + section + ">");
      const std::string end = "</" + section + ">";
      const std::size_t stop = bytes.find(end, start);
      if (start == std::string::npos || stop == std::string::npos) continue;
      bytes.erase(start, stop + end.size() - start);
    }
    EXPECT_NE(bytes, ReadFileBytes(Full)) << "the file has settings sections to leave out";
    WriteFileBytes(DaysOnly, bytes);
  }

  // A diary as the window holds it after showing `path`.
  static std::unique_ptr<TDiary> Shown(const fs::path& path) {
    auto diary = std::make_unique<TDiary>(path.string());
    diary->LoadForChange();
    return diary;
  }

  TTempFolder Folder;
  fs::path Full = Folder.Path() / "full.hkvj";
  fs::path DaysOnly = Folder.Path() / "days.hkvj";
};

// Read apart and handed over, a diary is what reading the file straight into the shown diary
// gives, whichever diary was shown before and whatever the file leaves out.
TEST_F(DiaryReadTest, HandedOverIsWhatReadingStraightInGives) {
  const struct {
    const char* Name;
    fs::path* Before;
    fs::path* Read;
  } cases[] = {{"full over days-only", &DaysOnly, &Full},
               {"days-only over full", &Full, &DaysOnly},
               {"full over itself", &Full, &Full}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TDiary> straight = Shown(*c.Before);
    straight->File.SetFileName(c.Read->string());
    straight->LoadForChange();

    std::unique_ptr<TDiary> shown = Shown(*c.Before);
    TCategoryInfo* const firstCategory = (*shown->Categories)[0];
    TDiaryRead read(*shown, c.Read->string());
    std::thread worker([&] { read.Read(); });
    worker.join();
    read.HandOver(*shown);

    EXPECT_EQ(shown->File.SaveToString(), straight->File.SaveToString());
    EXPECT_EQ(shown->File.FileName(), c.Read->string());
    EXPECT_FALSE(shown->IsChangedOnDisk());
    EXPECT_EQ((*shown->Categories)[0], firstCategory) << "the windows' category objects stay the same objects";
    EXPECT_THROW(read.HandOver(*shown), std::logic_error) << "a read is handed over once";
  }
}

TEST_F(DiaryReadTest, AFileThatCannotBeReadLeavesTheShownDiaryAsItWas) {
  const fs::path bad = Folder.Path() / "bad.hkvj";
  WriteFileBytes(bad, "<跳記><日リスト><日データ 日付=\"x\"/></日リスト></跳記>");
  std::unique_ptr<TDiary> shown = Shown(Full);
  const std::string before = shown->File.SaveToString();
  TDiaryRead read(*shown, bad.string());
  EXPECT_THROW(read.Read(), EHakuvoError);
  EXPECT_FALSE(read.IsRead());
  EXPECT_THROW(read.HandOver(*shown), std::logic_error);
  EXPECT_EQ(shown->File.SaveToString(), before);
  EXPECT_EQ(shown->File.FileName(), Full.string());
}

}  // namespace
}  // namespace hakuvo
