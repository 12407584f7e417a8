#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace hakuvo {

// How far a save must survive.
enum TSaveDurability : std::uint8_t {
  // The user's own data (a diary, the settings): flushed to disk, so that even a power cut leaves
  // the old file or the whole new one.
  sdDurable,
  // A file that can always be made again (a thumbnail, a reduced track): nothing is flushed, which
  // makes a save of a few kilobytes a hundred times quicker on a disk. A process that dies still
  // never leaves a half-written file under the name; after a power cut the file may be missing,
  // empty or damaged, and whoever reads such a cache must take a file it cannot read for absent.
  sdCacheFile,
};

// Replaces the whole content of `target` with `bytes` so that at every moment the file on disk
// is either the old one or the complete new one, even after a crash or (when durable) a power
// cut.
//
// The bytes go to a hidden temporary file in the target's folder, which is flushed to disk and
// then renamed over the target; the folder is flushed last so the rename itself is durable (the
// two flushes are left out for a cache file). A symbolic link is followed, so the link stays and
// the file it points at is replaced. The new file keeps the permission bits (and, where allowed,
// the owner) of the file it replaces.
//
// On failure the temporary file is removed, the old file is left as it was, and EHakuvoError
// is thrown with a message naming the file and the system's reason.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         TSaveDurability durability = sdDurable);

}  // namespace hakuvo
