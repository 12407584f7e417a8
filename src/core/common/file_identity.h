#pragma once

#include <cstdint>
#include <filesystem>

namespace hakuvo {

// What a file on disk was when the program last read or wrote it: enough to tell later whether
// someone else has written it since.
struct TFileIdentity {
  bool Exists = false;
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::uint64_t Size = 0;
  std::int64_t ModifiedNs = 0;  // nanoseconds since the epoch
  std::uint64_t Hash = 0;       // of the whole content

  bool operator==(const TFileIdentity&) const = default;
};

// The identity of the file now; a missing file gives Exists == false. Throws EHakuvoError naming
// the file when it is there but cannot be read.
TFileIdentity ReadFileIdentity(const std::filesystem::path& path);

// True when the file at `path` still holds what `known` describes. Size and modification time
// decide at once when they tell a change; when only the time or the file differs (a touch, a
// copy of the same bytes), or the file system keeps whole seconds only, the content decides.
bool IsFileUnchanged(const TFileIdentity& known, const std::filesystem::path& path);

// A fast non-cryptographic hash of bytes, the same on every run.
std::uint64_t ContentHash(const void* data, std::size_t size, std::uint64_t seed = 0);

}  // namespace hakuvo
