#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
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

// Takes the new content of a file being saved, piece by piece, into its temporary file: a large
// document is never held whole in memory on its way to the disk.
class TSaveOutput {
 public:
  virtual ~TSaveOutput() = default;
  // Throws EHakuvoError naming the file when the bytes cannot be written.
  virtual void Write(std::string_view bytes) = 0;
};

// Replaces the whole content of `target` with what `content` writes, so that at every moment the
// file on disk is either the old one or the complete new one, even after a crash or (when
// durable) a power cut.
//
// The bytes go to a hidden temporary file beside the target (".<name>.hakuvo-tmp"), which is
// flushed to disk and then renamed over the target; the folder is flushed last so the rename
// itself is durable (the two flushes are left out for a cache file). A symbolic link is
// followed, so the link stays and the file it points at is replaced.
//
// Replacing a file keeps what the user allowed on it, from the first byte on: the temporary file
// is created readable by its owner alone and given the old file's owner, permission bits, access
// control list and other extended attributes before anything is written into it. A new file gets
// what the umask and the folder's default permissions give any new file. A temporary file that a
// killed save left behind is found under its name and removed by the next save of the same file;
// one that a running save holds (it keeps a lock on it) makes this save fail instead.
//
// Refused with EHakuvoError, the target left as it was: a target that is there but no regular
// file (a folder, a FIFO, a device, a loop of symbolic links), and a target nobody may write (its
// write permission bits are all off, or this process may not write it).
//
// On failure the temporary file is removed, the old file is left as it was, and EHakuvoError
// is thrown with a message naming the file and the system's reason. An exception that `content`
// throws is passed on the same way.
void WriteFileAtomically(const std::filesystem::path& target, const std::function<void(TSaveOutput&)>& content,
                         TSaveDurability durability = sdDurable);
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         TSaveDurability durability = sdDurable);

}  // namespace hakuvo
