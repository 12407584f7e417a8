#include "core/common/safe_file_writer.h"

#include <gtest/gtest.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
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
  std::error_code loop;  // a loop of links has no status to tell
  const bool hadOld = fs::is_regular_file(target, loop);
  const std::string old = hadOld ? ReadAll(target) : "";
  const fs::file_type oldType = fs::symlink_status(target).type();
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
  EXPECT_EQ(fs::symlink_status(target).type(), oldType) << "the target was replaced";
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
                                                      "フォルダーです"},
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
                                                      "Read-only file system"},
                                         // What is no regular file keeps what it is: a save must
                                         // not put a file in the place of a FIFO or a device.
                                         TFailureCase{"TargetIsAFifo",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        target = self.Folder / "diary.hkvj";
                                                        return ::mkfifo(target.c_str(), 0600) == 0;
                                                      },
                                                      "FIFO"},
                                         TFailureCase{"TargetIsADevice",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        target = self.Folder / "diary.hkvj";
                                                        return ::mknod(target.c_str(), S_IFCHR | 0666, makedev(1, 3)) ==
                                                               0;
                                                      },
                                                      "デバイスです"},
                                         TFailureCase{"SymbolicLinkLoop",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        target = self.Folder / "diary.hkvj";
                                                        fs::create_symlink("other.hkvj", target);
                                                        fs::create_symlink("diary.hkvj", self.Folder / "other.hkvj");
                                                        return true;
                                                      },
                                                      "循環"},
                                         // Marked read-only: not replaced, even by root.
                                         TFailureCase{"ReadOnlyFile",
                                                      [](SafeFileWriterTest& self, fs::path& target) {
                                                        target = self.Folder / "diary.hkvj";
                                                        WriteDirectly(target, "the previous diary");
                                                        return ::chmod(target.c_str(), 0444) == 0;
                                                      },
                                                      "読み取り専用"}),
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
    EXPECT_EQ(Entries(folder), std::set<std::string>{"diary.hkvj"}) << "the dead save's copy is still there";
  }
}

// Reads a file's extended attribute; none when it has none or the file system keeps none.
std::optional<std::string> Attribute(const fs::path& path, const char* name) {
  char value[1024];
  const ssize_t size = ::getxattr(path.c_str(), name, value, sizeof value);
  if (size < 0) return std::nullopt;
  return std::string(value, static_cast<std::size_t>(size));
}

// An access list in the kernel's form: its owner reads and writes, user 12345 too, the group
// reads, others nothing.
std::string AccessList() {
  std::string list;
  const auto put = [&](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) list += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(2, 4);  // version
  const std::uint32_t entries[][3] = {
      {0x01, 6, 0xFFFFFFFF}, {0x02, 6, 12345}, {0x04, 4, 0xFFFFFFFF}, {0x10, 6, 0xFFFFFFFF}, {0x20, 0, 0xFFFFFFFF}};
  for (const auto& entry : entries) {
    put(entry[0], 2);
    put(entry[1], 2);
    put(entry[2], 4);
  }
  return list;
}

// A private diary stays private while it is saved: the temporary copy has the old file's mode,
// access list and attributes before the first byte is written into it, and the new file keeps them.
TEST_F(SafeFileWriterTest, TheCopyIsAsPrivateAsTheFileBeforeAByteIsWritten) {
  const std::string list = AccessList();
  const struct {
    mode_t Mode;
    bool AccessList;
  } cases[] = {{0600, false}, {0640, false}, {0660, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mode);
    const fs::path target = Folder / "diary.hkvj";
    WriteDirectly(target, "the previous diary");
    ASSERT_EQ(::chmod(target.c_str(), c.Mode), 0);
    const bool attributes = ::setxattr(target.c_str(), "user.hakuvo.test", "kept", 4, 0) == 0;
    if (c.AccessList && ::setxattr(target.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0) {
      continue;  // no access lists here
    }

    const mode_t previous = ::umask(0);  // the loosest umask: nothing may come from it
    WriteFileAtomically(target, [&](TSaveOutput& output) {
      std::vector<fs::path> copies;
      for (const auto& entry : fs::directory_iterator(Folder)) {
        if (entry.path() != target) copies.push_back(entry.path());
      }
      ASSERT_EQ(copies.size(), 1u);
      struct stat info {};
      ASSERT_EQ(::stat(copies[0].c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 07777, c.Mode) << "the copy is readable by others";
      EXPECT_EQ(info.st_size, 0);
      if (attributes) {
        EXPECT_EQ(Attribute(copies[0], "user.hakuvo.test"), "kept");
      }
      if (c.AccessList) {
        EXPECT_EQ(Attribute(copies[0], "system.posix_acl_access"), list);
      }
      output.Write("the new ");
      output.Write("diary");
    });
    ::umask(previous);
    EXPECT_EQ(ReadAll(target), "the new diary");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.Mode);
    if (attributes) {
      EXPECT_EQ(Attribute(target, "user.hakuvo.test"), "kept");
    }
    if (c.AccessList) {
      EXPECT_EQ(Attribute(target, "system.posix_acl_access"), list);
    }
    fs::remove(target);
  }
}

// A temporary file left by a save that was killed is found by its name and removed by the next
// save of the same file; one that a running save holds is not touched.
TEST_F(SafeFileWriterTest, CopiesOfKilledSavesAreRemovedAndRunningOnesRespected) {
  const fs::path target = Folder / "diary.hkvj";
  const fs::path leftover = Folder / ".diary.hkvj.hakuvo-tmp";
  WriteDirectly(target, "the previous diary");
  WriteDirectly(leftover, "half of a private diary");
  ASSERT_EQ(::chmod(leftover.c_str(), 0644), 0);
  WriteFileAtomically(target, "saved");
  EXPECT_EQ(ReadAll(target), "saved");
  EXPECT_EQ(Entries(Folder), std::set<std::string>{"diary.hkvj"});

  // Another save is writing (it holds its lock): this one gives up and changes nothing.
  WriteDirectly(leftover, "another save's copy");
  const int held = ::open(leftover.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  try {
    WriteFileAtomically(target, "second");
    ADD_FAILURE() << "the save did not wait for the other one";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find("同じファイルの別の保存が終わりません"), std::string::npos)
        << error.what();
    EXPECT_NE(error.English().find("another save"), std::string::npos) << error.English();
  }
  ::close(held);
  EXPECT_EQ(ReadAll(target), "saved");
  EXPECT_EQ(ReadAll(leftover), "another save's copy");
}

// The content comes in pieces of any size; what it throws is passed on and nothing is replaced.
TEST_F(SafeFileWriterTest, ContentWrittenInPiecesAndFailuresOfTheWriter) {
  const fs::path target = Folder / "diary.hkvj";
  std::string expected;
  WriteFileAtomically(target, [&](TSaveOutput& output) {
    for (std::size_t size : {std::size_t{1}, std::size_t{300000}, std::size_t{0}, std::size_t{70000}, std::size_t{5}}) {
      const std::string piece(size, static_cast<char>('a' + size % 26));
      output.Write(piece);
      expected += piece;
    }
  });
  EXPECT_EQ(ReadAll(target), expected);
  EXPECT_THROW(WriteFileAtomically(target,
                                   [](TSaveOutput& output) {
                                     output.Write(std::string(400000, 'x'));
                                     throw EHakuvoError("the document could not be made");
                                   }),
               EHakuvoError);
  EXPECT_EQ(ReadAll(target), expected);
  EXPECT_EQ(Entries(Folder), std::set<std::string>{"diary.hkvj"});
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
      if (error.English().find("cannot flush to disk") == std::string::npos) result |= 4;
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
