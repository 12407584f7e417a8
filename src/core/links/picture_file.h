#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace hakuvo {

class EHakuvoError;

struct TFileBytes {
  std::unique_ptr<unsigned char[]> Data;  // left uninitialised: a photograph is megabytes
  std::size_t Size = 0;
};

// The whole content of a picture file; none when it cannot be opened or read. A path that is no
// plain file (a folder, a pipe, a device) throws EHakuvoError naming it.
std::optional<TFileBytes> ReadPictureFile(const std::string& fileName);

// The error of a picture that was read but cannot be decoded, naming the file and the reason (a
// reason written "Japanese / English" is said in the user's language).
[[noreturn]] void ThrowUndecodablePicture(const std::string& fileName, const std::string& reason);
// The same with the reason a decoder gave, in both its languages.
[[noreturn]] void ThrowUndecodablePicture(const std::string& fileName, const EHakuvoError& reason);

}  // namespace hakuvo
