#include "core/links/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

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

std::optional<TFileBytes> ReadPictureFile(const std::string& fileName) {
  // Opened without blocking so that a FIFO is refused by the check below instead of waiting for
  // a writer.
  const TDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat status {};
  if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  TFileBytes bytes;
  const auto capacity = static_cast<std::size_t>(status.st_size);
  bytes.Data.reset(new unsigned char[capacity == 0 ? 1 : capacity]);
  // A file that shrinks meanwhile is read as far as it goes; growth is ignored.
  while (bytes.Size < capacity) {
    const ssize_t count = ::read(file.Get(), bytes.Data.get() + bytes.Size, capacity - bytes.Size);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return std::nullopt;
    if (count == 0) break;
    bytes.Size += static_cast<std::size_t>(count);
  }
  return bytes;
}

void ThrowUndecodablePicture(const std::string& fileName, const std::string& reason) {
  throw EHakuvoError("画像ファイルを読み込めません: " + fileName + " (" + reason + ")");
}

}  // namespace hakuvo
