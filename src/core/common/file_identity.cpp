#include "core/common/file_identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, int error) {
  const std::string reason = std::generic_category().message(error);
  throw EHakuvoError("ファイルを確認できません: " + path.string() + " (" + reason + ")",
                     "Cannot check the file: " + path.string() + " (" + reason + ")");
}

std::int64_t ModifiedNsOf(const struct stat& status) {
  return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash ^= word;
  hash *= kMultiplier;
  return hash ^ (hash >> 29);
}

class TDescriptor {
 public:
  explicit TDescriptor(int descriptor) : FDescriptor(descriptor) {}
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  ~TDescriptor() {
    if (FDescriptor >= 0) ::close(FDescriptor);
  }
  int Get() const { return FDescriptor; }

 private:
  int FDescriptor;
};

}  // namespace

std::uint64_t ContentHash(const void* data, std::size_t size, std::uint64_t seed) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::uint64_t hash = seed ^ (size * kMultiplier);
  std::size_t at = 0;
  for (; at + 8 <= size; at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes + at, 8);
    hash = Mix(hash, word);
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, bytes + at, size - at);
  return Mix(hash, tail ^ (size - at));
}

TFileIdentity ReadFileIdentity(const std::filesystem::path& path) {
  const TDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) {
    if (errno == ENOENT) return {};
    Fail(path, errno);
  }
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) Fail(path, errno);
  TFileIdentity identity;
  identity.Exists = true;
  identity.Device = status.st_dev;
  identity.Inode = status.st_ino;
  identity.Size = static_cast<std::uint64_t>(status.st_size);
  identity.ModifiedNs = ModifiedNsOf(status);
  constexpr std::size_t kBlock = 1 << 20;
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
  std::uint64_t hash = 0;
  std::uint64_t total = 0;
  for (;;) {
    // Whole blocks, however the reads come back, so that the same bytes always hash the same.
    std::size_t filled = 0;
    while (filled < kBlock) {
      const ssize_t got = ::read(file.Get(), buffer.get() + filled, kBlock - filled);
      if (got < 0) {
        if (errno == EINTR) continue;
        Fail(path, errno);
      }
      if (got == 0) break;
      filled += static_cast<std::size_t>(got);
    }
    if (filled == 0) break;
    hash = ContentHash(buffer.get(), filled, hash);
    total += filled;
    if (filled < kBlock) break;
  }
  // The bytes read are the content compared later; the status may have been taken a moment
  // before a writer grew the file.
  identity.Size = total;
  identity.Hash = hash;
  return identity;
}

bool IsFileUnchanged(const TFileIdentity& known, const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    if (errno == ENOENT) return !known.Exists;
    Fail(path, errno);
  }
  if (!known.Exists) return false;
  if (static_cast<std::uint64_t>(status.st_size) != known.Size) return false;
  const std::int64_t modified = ModifiedNsOf(status);
  const bool coarseTimes = modified % 1'000'000'000 == 0;
  if (status.st_dev == known.Device && status.st_ino == known.Inode && modified == known.ModifiedNs && !coarseTimes) {
    return true;
  }
  return ReadFileIdentity(path).Hash == known.Hash;
}

}  // namespace hakuvo
