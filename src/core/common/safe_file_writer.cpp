#include "core/common/safe_file_writer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "core/common/file_lock.h"
#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

namespace fs = std::filesystem;

std::string SystemReason(int error) { return std::generic_category().message(error); }

// The steps and reasons below are written "Japanese / English": the windows say the first, the
// command line the one of the user's locale.
TJapaneseEnglish Words(std::string_view both) { return SplitJapaneseEnglish(both); }

[[noreturn]] void Fail(const fs::path& target, std::string_view step, int error) {
  const TJapaneseEnglish words = Words(step);
  const std::string reason = SystemReason(error);
  throw EHakuvoError("ファイルを保存できませんでした: " + target.string() + " (" + words.Japanese + ": " + reason + ")",
                     "Could not save the file: " + target.string() + " (" + words.English + ": " + reason + ")");
}

[[noreturn]] void Refuse(const fs::path& target, std::string_view reason) {
  const TJapaneseEnglish words = Words(reason);
  throw EHakuvoError("ファイルを保存できませんでした: " + target.string() + " (" + words.Japanese + ")",
                     "Could not save the file: " + target.string() + " (" + words.English + ")");
}

// Saving through a link must replace the file the link points at, not the link itself.
fs::path ResolveLinks(const fs::path& requested) {
  fs::path target = requested;
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    const fs::path link = fs::read_symlink(target, ec);
    if (ec) return target;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  // Renaming over the link would replace it with a file and break the loop the user made.
  Refuse(requested, "シンボリックリンクが循環しています / the symbolic links form a loop");
}

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "フォルダーです / it is a folder";
  if (S_ISFIFO(mode)) return "名前付きパイプ (FIFO) です / it is a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "デバイスです / it is a device";
  if (S_ISSOCK(mode)) return "ソケットです / it is a socket";
  return "通常のファイルではありません / it is not a regular file";
}

// The old file's status, or none for a new file; refuses what must not be replaced.
bool CheckTarget(const fs::path& target, struct stat& old) {
  if (::stat(target.c_str(), &old) != 0) {
    const int error = errno;
    if (error == ENOENT) return false;  // a new file (a missing folder shows when the file is made)
    if (error == ELOOP) Refuse(target, "シンボリックリンクが循環しています / the symbolic links form a loop");
    Fail(target, "ファイルの状態を調べられません / cannot examine the file", error);
  }
  if (!S_ISREG(old.st_mode)) {
    const TJapaneseEnglish kind = Words(KindOf(old.st_mode));
    Refuse(target, "通常のファイルではありません: " + kind.Japanese + " / not a regular file: " + kind.English);
  }
  // Marked read-only by its owner, or not ours to write: root may pass the permission check, but
  // a file whose write bits are all off was meant to stay as it is.
  if ((old.st_mode & 0222) == 0) Refuse(target, "読み取り専用のファイルです / the file is read-only");
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    Fail(target, "書き込みが許可されていません / not allowed to write the file", errno);
  }
  return true;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Removes a temporary file under our name that no running save holds: its process died. False
// when a save holds it.
bool RemoveLeftover(const fs::path& path, const fs::path& target) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    const int error = errno;
    if (error == ENOENT) return true;  // gone meanwhile
    // Not a file we made (a link put there, say): the name is ours, the entry goes, not what
    // it points at.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
      Fail(target, "残った一時ファイルを削除できません / cannot remove a leftover temporary file", errno);
    }
    return true;
  }
  bool removed = false;
  const bool locked = CallFlock(descriptor, LOCK_EX | LOCK_NB) == 0;
  // Without locks on this file system a running save cannot be told from a dead one; the
  // leftover goes, and a save still writing it finds its rename refused and says so.
  if (locked || IsLockingUnavailable(errno)) {
    struct stat held {
    }, named{};
    if (::fstat(descriptor, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && SameFile(held, named)) {
      if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        const int error = errno;
        ::close(descriptor);
        Fail(target, "残った一時ファイルを削除できません / cannot remove a leftover temporary file", error);
      }
    }
    removed = true;
  }
  ::close(descriptor);
  return removed;
}

// Closes the descriptor and removes the temporary file unless the rename took it over.
class TTemporaryFile {
 public:
  TTemporaryFile(const fs::path& folder, const fs::path& target, bool replacing) {
    // Cut so that a target name near the length limit still leaves room for the ending.
    const std::string name = target.filename().string().substr(0, 200);
    const fs::path path = folder / ("." + name + ".hakuvo-tmp");
    // Private until the old file's permissions are copied; a new file starts as any new file
    // does (umask, the folder's default access list), as it will stay.
    const mode_t mode = replacing ? 0600 : 0666;
    // A second of waiting for another save of the same file, which takes far less.
    for (int attempt = 0; attempt < 40; ++attempt) {
      const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
      if (descriptor < 0) {
        const int error = errno;
        if (error != EEXIST) Fail(target, "一時ファイルを作成できません / cannot create a temporary file", error);
        if (!RemoveLeftover(path, target)) {
          std::this_thread::sleep_for(std::chrono::milliseconds(25));  // another save of the same file runs
        }
        continue;
      }
      // The lock tells a later save that this file is in use; a leftover cleaner may have taken
      // the name away between the creation and the lock, so the name is checked once locked.
      // Where the file system keeps no locks the save goes on without one: the rename still
      // replaces the target in one step.
      struct stat held {
      }, named{};
      const bool locked = CallFlock(descriptor, LOCK_EX | LOCK_NB) == 0 || IsLockingUnavailable(errno);
      if (locked && ::fstat(descriptor, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && SameFile(held, named)) {
        FDescriptor = descriptor;
        FPath = path;
        return;
      }
      ::close(descriptor);
    }
    Refuse(target, "同じファイルの別の保存が終わりません / another save of the same file is still running");
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  ~TTemporaryFile() {
    // Removed while still locked, so that no other save takes it for a leftover of its own.
    if (!FPath.empty()) ::unlink(FPath.c_str());
    if (FDescriptor >= 0) ::close(FDescriptor);
  }

  int Descriptor() const { return FDescriptor; }
  const fs::path& Path() const { return FPath; }

  // close() can report a failed delayed write (network file systems), so it is checked too.
  int Close() {
    const int result = ::close(FDescriptor);
    FDescriptor = -1;
    return result == 0 ? 0 : errno;
  }
  void Release() { FPath.clear(); }

 private:
  int FDescriptor = -1;
  fs::path FPath;
};

void WriteAll(int descriptor, std::string_view bytes, const fs::path& target) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      const int error = errno;
      if (error == EINTR) continue;
      Fail(target, "書き込みに失敗しました / write failed", error);
    }
    if (written == 0) Fail(target, "書き込みに失敗しました / write failed", EIO);
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Gathers small pieces into writes of a useful size.
class TBufferedOutput : public TSaveOutput {
 public:
  TBufferedOutput(int descriptor, const fs::path& target) : FDescriptor(descriptor), FTarget(target) {}
  void Write(std::string_view bytes) override {
    if (FSize + bytes.size() > kCapacity) {
      Flush();
      if (bytes.size() >= kCapacity) {
        WriteAll(FDescriptor, bytes, FTarget);
        return;
      }
    }
    std::memcpy(FBuffer.get() + FSize, bytes.data(), bytes.size());
    FSize += bytes.size();
  }
  void Flush() {
    WriteAll(FDescriptor, std::string_view(FBuffer.get(), FSize), FTarget);
    FSize = 0;
  }

 private:
  static constexpr std::size_t kCapacity = 256 * 1024;
  int FDescriptor;
  const fs::path& FTarget;
  std::unique_ptr<char[]> FBuffer = std::make_unique_for_overwrite<char[]>(kCapacity);
  std::size_t FSize = 0;
};

// The old file's extended attributes, its access control list among them.
void CopyAttributes(int descriptor, const fs::path& old, const fs::path& target) {
  std::vector<char> names;
  for (;;) {
    const ssize_t size = ::listxattr(old.c_str(), nullptr, 0);
    if (size <= 0) {
      if (size < 0 && errno != ENOTSUP && errno != ENODATA) {
        Fail(target, "拡張属性を読めません / cannot read the extended attributes", errno);
      }
      return;
    }
    names.resize(static_cast<std::size_t>(size));
    const ssize_t got = ::listxattr(old.c_str(), names.data(), names.size());
    if (got >= 0) {
      names.resize(static_cast<std::size_t>(got));
      break;
    }
    if (errno != ERANGE) Fail(target, "拡張属性を読めません / cannot read the extended attributes", errno);
  }
  std::vector<char> value;
  for (std::size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
    const char* const name = names.data() + at;
    const ssize_t size = ::getxattr(old.c_str(), name, nullptr, 0);
    if (size < 0) continue;  // gone meanwhile, or not ours to read
    value.resize(static_cast<std::size_t>(size));
    const ssize_t got = ::getxattr(old.c_str(), name, value.data(), value.size());
    if (got < 0) continue;
    if (::fsetxattr(descriptor, name, value.data(), static_cast<std::size_t>(got), 0) == 0) continue;
    const int error = errno;
    // The access list decides who may read the diary: without it the new file would allow other
    // people than the old one did. Other attributes (a security label only the system may set,
    // a file system that has none) are kept where they can be.
    if (std::strcmp(name, "system.posix_acl_access") == 0 && error != ENOTSUP) {
      Fail(target, "アクセス制御リストを写せません / cannot copy the access control list", error);
    }
  }
}

// The replacement should not loosen or tighten what the user allowed on the old file.
void CopyOwnerModeAndAttributes(int descriptor, const fs::path& target, const struct stat& old) {
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    [[maybe_unused]] const int ignored = ::fchown(descriptor, old.st_uid, old.st_gid);
  }
  CopyAttributes(descriptor, target, target);
  // Last: a change of owner drops the set-user and set-group bits, and the mode's group bits are
  // the access list's mask, which the list just copied has the same.
  if (::fchmod(descriptor, old.st_mode & 07777) != 0) {
    Fail(target, "アクセス権を写せません / cannot copy the permissions", errno);
  }
}

void SyncFolder(const fs::path& folder, const fs::path& target) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;  // the file is in place; a folder we cannot open cannot be flushed
  int error = 0;
  if (::fsync(descriptor) != 0) error = errno;
  if (error == EINVAL || error == ENOTSUP) error = 0;  // the file system has nothing to flush
  ::close(descriptor);
  if (error != 0) {
    Fail(target,
         "保存しましたがフォルダーをディスクに書き出せません / saved, but the folder could not be flushed to disk",
         error);
  }
}

}  // namespace

void WriteFileAtomically(const fs::path& requested, const std::function<void(TSaveOutput&)>& content,
                         TSaveDurability durability) {
  const fs::path target = ResolveLinks(requested);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const bool durable = durability == sdDurable;
  struct stat old {};
  const bool replacing = CheckTarget(target, old);

  TTemporaryFile temporary(folder, target, replacing);
  if (replacing) CopyOwnerModeAndAttributes(temporary.Descriptor(), target, old);
  TBufferedOutput output(temporary.Descriptor(), target);
  content(output);
  output.Flush();
  if (durable && ::fsync(temporary.Descriptor()) != 0) {
    const int error = errno;
    Fail(target, "ディスクに書き出せません / cannot flush to disk", error);
  }
  if (const int error = temporary.Close(); error != 0) {
    Fail(target, "書き込みに失敗しました / write failed", error);
  }
  if (::rename(temporary.Path().c_str(), target.c_str()) != 0) {
    const int error = errno;
    Fail(target, "置き換えに失敗しました / cannot replace the file", error);
  }
  temporary.Release();
  if (durable) SyncFolder(folder, target);
}

void WriteFileAtomically(const fs::path& target, std::string_view bytes, TSaveDurability durability) {
  WriteFileAtomically(
      target, [bytes](TSaveOutput& output) { output.Write(bytes); }, durability);
}

}  // namespace hakuvo
