#include "core/common/safe_file_writer.h"

#include <gtest/gtest.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "core/common/hakuvo_error.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteDirectly(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

class SafeFileWriterTest : public testing::Test {
 public:
  // The mounts go before the folder can.
  void TearDown() override {
    for (const fs::path& mount : Mounts) ::umount2(mount.c_str(), MNT_DETACH);
  }

  // A small file system of its own, for faults no permission bit can cause for root.
  bool MountTmpfs(const fs::path& where, const char* options) {
    fs::create_directory(where);
    if (::mount("tmpfs", where.c_str(), "tmpfs", 0, options) != 0) return false;
    Mounts.push_back(where);
    return true;
  }

  test::TTempFolder Temp;
  fs::path Folder = Temp.Path();
  std::vector<fs::path> Mounts;
};

TEST_F(SafeFileWriterTest, ReplacesTheWholeFileAndLeavesNothingBehind) {
  const fs::path target = Folder / "diary.hkvj";
  WriteFileAtomically(target, "first version, rather long");
  EXPECT_EQ(ReadAll(target), "first version, rather long");

  WriteFileAtomically(target, "short");  // no tail of the longer old content may remain
  EXPECT_EQ(ReadAll(target), "short");

  const std::string binary("\0\xFF\xFE\r\n\0", 6);
  WriteFileAtomically(target, binary);
  EXPECT_EQ(ReadAll(target), binary);

  WriteFileAtomically(target, "");
  EXPECT_TRUE(fs::exists(target));
  EXPECT_EQ(fs::file_size(target), 0u);
  EXPECT_EQ(Entries(Folder), std::set<std::string>{"diary.hkvj"});
}

TEST_F(SafeFileWriterTest, KeepsThePermissionsOfTheReplacedFile) {
  const fs::path target = Folder / "Jogging.ini";
  WriteDirectly(target, "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  WriteFileAtomically(target, "new");
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  // A new file gets what the umask allows, not the private mode of a temporary file.
  const mode_t previous = ::umask(022);
  WriteFileAtomically(Folder / "fresh.ini", "x");
  ::umask(previous);
  ASSERT_EQ(::stat((Folder / "fresh.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(SafeFileWriterTest, SavingThroughALinkReplacesTheFileItPointsAt) {
  fs::create_directory(Folder / "real");
  WriteDirectly(Folder / "real" / "diary.hkvj", "old");
  fs::create_symlink("real/diary.hkvj", Folder / "link.hkvj");

  WriteFileAtomically(Folder / "link.hkvj", "new");
  EXPECT_TRUE(fs::is_symlink(Folder / "link.hkvj"));
  EXPECT_EQ(ReadAll(Folder / "real" / "diary.hkvj"), "new");
  EXPECT_EQ(Entries(Folder / "real"), std::set<std::string>{"diary.hkvj"});
}

// Each case makes one step of the save fail; the old file must stay as it was, no temporary
// file may remain, and the message must name the file and the system's reason.
struct TFailureCase {
  const char* Name;
  std::function<bool(SafeFileWriterTest&, fs::path& target)> Prepare;  // false: cannot run here
  const char* Reason;
};

class SafeFileWriterFailure : public SafeFileWriterTest, public testing::WithParamInterface<TFailureCase> {};

TEST_P(SafeFileWriterFailure, LeavesTheOldFileUntouched) {
  fs::path target;
  if (!GetParam().Prepare(*this, target)) GTEST_SKIP() << "cannot mount a tmpfs here";
  const fs::path folder = target.parent_path();
  const bool hadOld = fs::is_regular_file(target);
  const std::string old = hadOld ? ReadAll(target) : "";
  const std::set<std::string> before = fs::is_directory(folder) ? Entries(folder) : std::set<std::string>{};

  const std::string bytes(1 << 20, 'x');
  try {
    WriteFileAtomically(target, bytes);
    ADD_FAILURE() << "the save did not fail";
  } catch (const EHakuvoError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find(target.string()), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().Reason), std::string::npos) << message;
  }
  if (hadOld) {
    EXPECT_EQ(ReadAll(target), old);
  }
  if (fs::is_directory(folder)) {
    EXPECT_EQ(Entries(folder), before);
  }
}

// Restores the file size limit and the signal it raises when the test ends.
struct TFileSizeLimit {
  explicit TFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &Saved);
    PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = Saved;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, PreviousHandler);
  }
  rlimit Saved{};
  void (*PreviousHandler)(int) = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Steps, SafeFileWriterFailure,
                         testing::Values(TFailureCase{"TargetIsAFolder",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        target = self.Folder / "diary.hkvj";
                                                        fs::create_directory(target);
                                                        WriteDirectly(target / "inside", "kept");
                                                        return true;
                                                      },
                                                      "Is a directory"},
                                         TFailureCase{"FolderMissing",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        target = self.Folder / "missing" / "diary.hkvj";
                                                        return true;
                                                      },
                                                      "No such file or directory"},
                                         TFailureCase{"FolderIsAFile",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        WriteDirectly(self.Folder / "plain", "kept");
                                                        target = self.Folder / "plain" / "diary.hkvj";
                                                        return true;
                                                      },
                                                      "Not a directory"},
                                         TFailureCase{"DiskFull",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        if (!self.MountTmpfs(self.Folder / "small", "size=64k"))
                                                          return false;
                                                        target = self.Folder / "small" / "diary.hkvj";
                                                        WriteDirectly(target, "the previous diary");
                                                        return true;
                                                      },
                                                      "No space left on device"},
                                         TFailureCase{"ReadOnlyMount",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        const fs::path where = self.Folder / "ro";
                                                        if (!self.MountTmpfs(where, "size=1m")) return false;
                                                        target = where / "diary.hkvj";
                                                        WriteDirectly(target, "the previous diary");
                                                        return ::mount("tmpfs", where.c_str(), "tmpfs",
                                                                       MS_REMOUNT | MS_RDONLY, "size=1m") == 0;
                                                      },
                                                      "Read-only file system"}),
                         [](const testing::TestParamInfo<TFailureCase>& param) {
                           return std::string(param.param.Name);
                         });

// A write cut short half-way (here by the file size limit, which root is held to as well).
TEST_F(SafeFileWriterTest, AWriteFailingHalfWayKeepsTheOldFile) {
  const fs::path target = Folder / "diary.hkvj";
  WriteDirectly(target, "the previous diary");
  {
    TFileSizeLimit limit(4096);
    try {
      WriteFileAtomically(target, std::string(100000, 'x'));
      ADD_FAILURE() << "the save did not fail";
    } catch (const EHakuvoError& error) {
      EXPECT_NE(std::string(error.what()).find("File too large"), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(ReadAll(target), "the previous diary");
  EXPECT_EQ(Entries(Folder), std::set<std::string>{"diary.hkvj"});
}

// The process dies in the middle of writing: the kernel ends it with SIGXFSZ when the file
// size limit is reached, a crash at a known point rather than at a lucky moment. A cache file,
// which is not flushed, is still never seen half-written under its name.
TEST_F(SafeFileWriterTest, AProcessKilledWhileSavingLeavesTheOldFileWhole) {
  for (const TSaveDurability durability : {sdDurable, sdCacheFile}) {
    SCOPED_TRACE(durability == sdDurable ? "durable" : "cache file");
    const fs::path folder = Folder / (durability == sdDurable ? "durable" : "cache");
    fs::create_directory(folder);
    const fs::path target = folder / "diary.hkvj";
    WriteDirectly(target, "the previous diary");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit noCore{0, 0};
      ::setrlimit(RLIMIT_CORE, &noCore);
      std::signal(SIGXFSZ, SIG_DFL);
      const rlimit small{65536, 65536};
      ::setrlimit(RLIMIT_FSIZE, &small);
      try {
        WriteFileAtomically(target, std::string(1 << 20, 'x'), durability);
      } catch (...) {
      }
      ::_exit(0);  // not reached when the signal ends the process
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

    EXPECT_EQ(ReadAll(target), "the previous diary");
    // Only the dead process's hidden temporary file is left beside it; the next save works.
    const std::set<std::string> names = Entries(folder);
    EXPECT_EQ(names.size(), 2u);
    EXPECT_EQ(names.count("diary.hkvj"), 1u);
    WriteFileAtomically(target, "saved again", durability);
    EXPECT_EQ(ReadAll(target), "saved again");
  }
}

// Makes every fsync and fdatasync of this process fail with EIO from now on: a disk that cannot
// flush, to tell a save that flushes from one that does not.
bool RefuseFlushes() {
#if defined(__x86_64__)
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fsync, 2, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fdatasync, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EIO & SECCOMP_RET_DATA)),
  };
  const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
#else
  return false;
#endif
}

// A cache file (a thumbnail, a reduced track) is not flushed: on a disk whose flushes fail it is
// saved all the same, where the diary's save reports the failure and keeps the old file. Run in
// a child process, whose flushes alone are refused.
TEST_F(SafeFileWriterTest, ACacheFileIsSavedWithoutFlushingTheDisk) {
  const fs::path diary = Folder / "diary.hkvj";
  const fs::path thumbnail = Folder / "0123456789ABCDEF0123456789ABCDEF.jpg";
  WriteDirectly(diary, "the previous diary");
  WriteDirectly(thumbnail, "the previous thumbnail");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!RefuseFlushes()) ::_exit(3);
    int result = 0;
    try {
      WriteFileAtomically(thumbnail, "a new thumbnail", sdCacheFile);
    } catch (...) {
      result |= 1;  // the cache file needed a flush
    }
    try {
      WriteFileAtomically(diary, "a new diary");
      result |= 2;  // the diary was taken as saved without its flush
    } catch (const EHakuvoError& error) {
      if (std::strstr(error.what(), "cannot flush to disk") == nullptr) result |= 4;
    }
    ::_exit(result);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "no seccomp filter here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadAll(thumbnail), "a new thumbnail");
  EXPECT_EQ(ReadAll(diary), "the previous diary");
  EXPECT_EQ(Entries(Folder), (std::set<std::string>{diary.filename().string(), thumbnail.filename().string()}));
}

}  // namespace
}  // namespace hakuvo
