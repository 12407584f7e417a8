// A save that fails, for whatever reason, leaves the previous file as it was and loadable.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <pugixml.hpp>

#include <csignal>

#include "core/common/hakuvo_error.h"
#include "core/datafile/diary_fixture.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

// A diary of well over 64 KiB.
void FillLargeDiary(TDiaryFixture& diary) {
  FillDiary(diary);
  for (int i = 0; i < 400; ++i) {
    auto day = std::make_unique<TDayData>();
    day->DateData = 43000 + i;
    day->Memo = {std::string(200, 'x')};
    auto act = CreateActData(ctJogging);
    // The default end (1/24) has no 15-digit form that reads back to the same double.
    dynamic_cast<TTimeRecord&>(*act->RecordData).EndTime = 0.375;
    day->AddAct(std::move(act));
    diary.Days.Add(std::move(day));
  }
}

class DayDataFileSave : public testing::Test {
 public:
  void SetUp() override {
    TDiaryFixture previous;
    previous.Days.Add(std::make_unique<TDayData>())->Weather = "前の日記";
    Previous = previous.SaveToString();
    FillLargeDiary(Large);
  }
  void TearDown() override {
    for (const fs::path& mount : Mounts) ::umount2(mount.c_str(), MNT_DETACH);
  }

  bool MountTmpfs(const fs::path& where, unsigned long flags, const char* options) {
    fs::create_directories(where);
    if (::mount("tmpfs", where.c_str(), "tmpfs", flags, options) != 0) return false;
    Mounts.push_back(where);
    return true;
  }

  // The old file is byte for byte what it was, still loads, and nothing was left beside it.
  void ExpectPreviousKept(const fs::path& target) {
    EXPECT_EQ(ReadFileBytes(target), Previous);
    TDiaryFixture check;
    ASSERT_NO_THROW(check.Load(target));
    ASSERT_EQ(check.Days.Count(), 1);
    EXPECT_EQ(check.Days[0]->Weather, "前の日記");
  }

  TTempFolder Folder;
  std::vector<fs::path> Mounts;
  std::string Previous;
  TDiaryFixture Large;
};

TEST_F(DayDataFileSave, ASaveReplacesTheWholeFile) {
  const fs::path target = Folder / "diary.hkvj";
  WriteFileBytes(target, std::string(1 << 20, 'z'));  // longer than the new content
  Large.Save(target);
  EXPECT_EQ(ReadFileBytes(target), Large.SaveToString());
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder.Path()), fs::directory_iterator()), 1);
}

// The text is made a few days at a time straight into the file: it must be what pugixml writes
// for the whole tree, to the byte, across the batches of days.
TEST_F(DayDataFileSave, TheStreamedTextIsTheWholeTreesText) {
  const fs::path target = Folder / "diary.hkvj";
  Large.Save(target);
  const std::string saved = ReadFileBytes(target);
  EXPECT_EQ(saved, Large.SaveToString());
  pugi::xml_document whole;
  ASSERT_TRUE(whole.load_buffer(saved.data(), saved.size(), pugi::parse_default | pugi::parse_declaration));
  struct TText : pugi::xml_writer {
    void write(const void* data, std::size_t size) override { Text.append(static_cast<const char*>(data), size); }
    std::string Text;
  } text;
  whole.save(text, "", pugi::format_raw, pugi::encoding_utf8);
  EXPECT_EQ(saved, text.Text);
  EXPECT_GT(Large.Days.Count(), 200);
}

TEST_F(DayDataFileSave, AFullDiskKeepsThePreviousFile) {
  const fs::path where = Folder / "small";
  if (!MountTmpfs(where, 0, "size=64k")) GTEST_SKIP() << "cannot mount a tmpfs here";
  const fs::path target = where / "diary.hkvj";
  WriteFileBytes(target, Previous);
  EXPECT_THROW(Large.Save(target), EHakuvoError);
  ExpectPreviousKept(target);
  EXPECT_EQ(std::distance(fs::directory_iterator(where), fs::directory_iterator()), 1) << "temporary file left";
}

TEST_F(DayDataFileSave, AReadOnlyPlaceKeepsThePreviousFile) {
  const fs::path where = Folder / "ro";
  if (!MountTmpfs(where, 0, "size=1m")) GTEST_SKIP() << "cannot mount a tmpfs here";
  const fs::path target = where / "diary.hkvj";
  WriteFileBytes(target, Previous);
  ASSERT_EQ(::mount("tmpfs", where.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"), 0);
  try {
    Large.Save(target);
    ADD_FAILURE() << "the save did not fail";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find(target.string()), std::string::npos) << error.what();
  }
  ExpectPreviousKept(target);
}

// The process is ended half-way through writing: the kernel kills it with SIGXFSZ once the file
// size limit is reached, a crash at a known point of the write.
TEST_F(DayDataFileSave, AProcessKilledWhileSavingLeavesThePreviousFile) {
  const fs::path target = Folder / "diary.hkvj";
  WriteFileBytes(target, Previous);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{16384, 16384};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      Large.Save(target);
    } catch (...) {
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the save was not cut short";
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
  ExpectPreviousKept(target);

  // The next save works, removes the copy the killed one left, and its file loads back whole.
  Large.Save(target);
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder.Path()), fs::directory_iterator()), 1);
  TDiaryFixture check;
  check.Load(target);
  ExpectSameDiary(Large, check);
}

}  // namespace
}  // namespace hakuvo
