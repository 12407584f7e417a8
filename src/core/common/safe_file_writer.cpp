#include "core/common/safe_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

namespace fs = std::filesystem;

std::string SystemReason(int error) { return std::generic_category().message(error); }

[[noreturn]] void Fail(const fs::path& target, const std::string& step, int error) {
  throw EHakuvoError("ファイルを保存できませんでした / Could not save the file: " + target.string() + " (" + step +
                     ": " + SystemReason(error) + ")");
}

// Saving through a link must replace the file the link points at, not the link itself.
fs::path ResolveLinks(fs::path target) {
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    const fs::path link = fs::read_symlink(target, ec);
    if (ec) return target;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return target;  // a loop: let the rename report it
}

std::string RandomSuffix() {
  static thread_local std::mt19937_64 generator{std::random_device{}()};
  static constexpr char digits[] = "0123456789abcdef";
  std::uint64_t bits = generator();
  std::string text;
  for (int i = 0; i < 12; ++i, bits >>= 4) text += digits[bits & 15];
  return text;
}

// Closes the descriptor and removes the temporary file unless the rename took it over.
class TTemporaryFile {
 public:
  TTemporaryFile(const fs::path& folder, const fs::path& target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      // Cut so that a target name near the length limit still leaves room for the suffix.
      const std::string name = target.filename().string().substr(0, 200);
      fs::path candidate = folder / ("." + name + "." + RandomSuffix() + ".tmp");
      // 0666 lets the umask decide, as for any newly created file.
      FDescriptor = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (FDescriptor >= 0) {
        FPath = std::move(candidate);
        return;
      }
      if (const int error = errno; error != EEXIST) {
        Fail(target, "一時ファイルを作成できません / cannot create a temporary file", error);
      }
    }
    Fail(target, "一時ファイルを作成できません / cannot create a temporary file", EEXIST);
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  ~TTemporaryFile() {
    if (FDescriptor >= 0) ::close(FDescriptor);
    if (!FPath.empty()) ::unlink(FPath.c_str());
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

// The replacement should not loosen or tighten what the user allowed on the old file.
void CopyOwnerAndMode(int descriptor, const fs::path& target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return;
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    [[maybe_unused]] const int ignored = ::fchown(descriptor, old.st_uid, old.st_gid);
  }
  ::fchmod(descriptor, old.st_mode & 07777);
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

void WriteFileAtomically(const fs::path& requested, std::string_view bytes, TSaveDurability durability) {
  const fs::path target = ResolveLinks(requested);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const bool durable = durability == sdDurable;

  TTemporaryFile temporary(folder, target);
  WriteAll(temporary.Descriptor(), bytes, target);
  CopyOwnerAndMode(temporary.Descriptor(), target);
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

}  // namespace hakuvo
