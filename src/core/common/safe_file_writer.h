#pragma once

#include <filesystem>
#include <string_view>

namespace hakuvo {

// Replaces the whole content of `target` with `bytes` so that at every moment the file on disk
// is either the old one or the complete new one, even after a crash or a power cut.
//
// The bytes go to a hidden temporary file in the target's folder, which is flushed to disk and
// then renamed over the target; the folder is flushed last so the rename itself is durable.
// A symbolic link is followed, so the link stays and the file it points at is replaced. The new
// file keeps the permission bits (and, where allowed, the owner) of the file it replaces.
//
// On failure the temporary file is removed, the old file is left as it was, and EHakuvoError
// is thrown with a message naming the file and the system's reason.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace hakuvo
