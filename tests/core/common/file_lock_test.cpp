// Saves and the diary lock on a file system that keeps no locks (NFS without a lock service),
// and two writers of diaries in one folder.
#include "core/common/file_lock.h"

#include <gtest/gtest.h>
#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "core/common/hakuvo_error.h"
#include "core/common/safe_file_writer.h"
#include "core/datafile/diary_lock.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

int gRefusal = 0;
int RefusingFlock(int, int) {
  errno = gRefusal;
  return -1;
}

// Puts a file system in place whose every flock fails with `error`, for the test's length.
class TRefusedLocks {
 public:
  explicit TRefusedLocks(int error) {
    gRefusal = error;
    FPrevious = SetFlockFunctionForTests(&RefusingFlock);
  }
  TRefusedLocks(const TRefusedLocks&) = delete;
  TRefusedLocks& operator=(const TRefusedLocks&) = delete;
  ~TRefusedLocks() { SetFlockFunctionForTests(FPrevious); }

 private:
  TFlockFunction FPrevious;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(FileLock, WithoutLocksOnTheFileSystemSavesStillReplaceTheFileAndLeaveNothing) {
  for (const int error : {ENOLCK, EOPNOTSUPP, EBADF}) {
    SCOPED_TRACE(error);
    test::TTempFolder folder;
    const fs::path target = folder / "diary.hkvj";
    folder.Write("diary.hkvj", "old");
    // A copy a killed save left: without locks it cannot be told from a running one, and goes.
    folder.Write(".diary.hkvj.hakuvo-tmp", "half");
    const TRefusedLocks refused(error);
    const auto start = std::chrono::steady_clock::now();
    WriteFileAtomically(target, "new");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"diary.hkvj"});
    const TDiaryLock lock(target);
    EXPECT_FALSE(lock.IsHeld());
  }
}

TEST(FileLock, TheDiaryLockKeepsASecondWriterOutUntilTheFirstIsDone) {
  test::TTempFolder folder;
  const fs::path diary = folder / "d.hkvj";
  {
    const TDiaryLock first(diary);
    ASSERT_TRUE(first.IsHeld());
    try {
      const TDiaryLock second(folder / "other.hkvj", std::chrono::milliseconds(100));
      ADD_FAILURE() << "two writers held the folder at once";
    } catch (const EHakuvoError& error) {
      EXPECT_NE(std::string(error.what()).find("別のプログラムがこのフォルダーの日記を書き込み中です"),
                std::string::npos)
          << error.what();
      EXPECT_NE(error.English().find("Another program is writing a diary"), std::string::npos) << error.English();
    }
  }
  const TDiaryLock afterwards(diary, std::chrono::milliseconds(100));
  EXPECT_TRUE(afterwards.IsHeld());
}

TEST(FileLock, ALockHeldElsewhereIsNotTakenForMissingLocks) {
  test::TTempFolder folder;
  folder.Write("d.hkvj", "old");
  const TRefusedLocks refused(EWOULDBLOCK);
  EXPECT_THROW(TDiaryLock(folder / "d.hkvj", std::chrono::milliseconds(60)), EHakuvoError);
}

}  // namespace
}  // namespace hakuvo
