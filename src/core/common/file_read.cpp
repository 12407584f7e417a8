#include "core/common/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

struct TKind {
  const char* Japanese;
  const char* English;
};

TKind KindOf(unsigned mode) {
  if (S_ISDIR(mode)) return {"フォルダーです", "a folder"};
  if (S_ISFIFO(mode)) return {"名前付きパイプ (FIFO) です", "a named pipe (FIFO)"};
  if (S_ISCHR(mode) || S_ISBLK(mode)) return {"デバイスです", "a device"};
  if (S_ISSOCK(mode)) return {"ソケットです", "a socket"};
  return {"通常のファイルではありません", "not a plain file"};
}

std::string EnglishKind(const std::string& what) {
  if (what == "データファイル") return "the diary";
  if (what == "設定ファイル") return "the settings file";
  return "the file";
}

}  // namespace

EHakuvoError NotRegularFileError(const std::string& fileName, unsigned mode) {
  const TKind kind = KindOf(mode);
  return EHakuvoError("\"" + fileName + "\" は読み込めません: " + kind.Japanese + " (ファイルを指定してください)",
                      "cannot read \"" + fileName + "\": " + kind.English + " (give a file)");
}

EHakuvoError FileReadError(const std::string& what, const std::string& fileName, int error) {
  const std::string reason = std::generic_category().message(error);
  return EHakuvoError(what + " \"" + fileName + "\" を読み込めませんでした: " + reason,
                      "could not read " + EnglishKind(what) + " \"" + fileName + "\": " + reason);
}

TInputFile::TInputFile(TInputFile&& other) noexcept
    : FDescriptor(std::exchange(other.FDescriptor, -1)), FSize(other.FSize) {}

TInputFile& TInputFile::operator=(TInputFile&& other) noexcept {
  if (this != &other) {
    Close();
    FDescriptor = std::exchange(other.FDescriptor, -1);
    FSize = other.FSize;
  }
  return *this;
}

TInputFile::~TInputFile() { Close(); }

void TInputFile::Close() {
  if (FDescriptor >= 0) ::close(FDescriptor);
  FDescriptor = -1;
  FSize = 0;
}

bool TInputFile::Open(const std::string& fileName, int& error) {
  Close();
  error = 0;
  // Looked at before opening: opening a device can already do something (a tape rewinds).
  struct stat status {};
  if (::stat(fileName.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    throw NotRegularFileError(fileName, status.st_mode);
  }
  // Without O_NONBLOCK, opening a FIFO waits for a writer; the descriptor is checked again because
  // the path may have been replaced in between.
  const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (descriptor < 0) {
    error = errno;
    return false;
  }
  if (::fstat(descriptor, &status) != 0) {
    error = errno;
    ::close(descriptor);
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(descriptor);
    throw NotRegularFileError(fileName, status.st_mode);
  }
  // A regular file never blocks; the flag goes so that a stream built on it behaves as usual.
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  FDescriptor = descriptor;
  FSize = static_cast<std::uint64_t>(status.st_size);
  return true;
}

void TInputFile::OpenOrFail(const std::string& fileName) {
  int error = 0;
  if (!Open(fileName, error)) throw FileReadError("ファイル", fileName, error);
}

std::ptrdiff_t TInputFile::Read(void* data, std::size_t count) {
  for (;;) {
    const ssize_t got = ::read(FDescriptor, data, count);
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

std::ptrdiff_t TInputFile::ReadAt(std::uint64_t offset, void* data, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got =
        ::pread(FDescriptor, static_cast<char*>(data) + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<std::ptrdiff_t>(done);
}

std::FILE* TInputFile::ReleaseToStream() {
  std::FILE* const stream = ::fdopen(FDescriptor, "rb");
  if (stream != nullptr) FDescriptor = -1;
  return stream;
}

std::FILE* OpenInputStream(const std::string& fileName) {
  TInputFile file;
  int error = 0;
  if (!file.Open(fileName, error)) {
    errno = error;
    return nullptr;
  }
  return file.ReleaseToStream();
}

// Reads through a buffer of its own and seeks with the descriptor, as much as the readers ask.
class TInputFileStream::TBuffer : public std::streambuf {
 public:
  explicit TBuffer(const std::string& fileName) { FFile.Open(fileName, FError); }
  bool IsOpen() const { return FFile.IsOpen(); }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (!FFile.IsOpen()) return traits_type::eof();
    const std::ptrdiff_t got = FFile.Read(FData, sizeof FData);
    if (got <= 0) return traits_type::eof();
    setg(FData, FData, FData + got);
    return traits_type::to_int_type(*gptr());
  }

  std::streamsize xsgetn(char* target, std::streamsize count) override {
    std::streamsize done = 0;
    // What the buffer holds first, then large reads straight into the target.
    const std::streamsize buffered = std::min<std::streamsize>(count, egptr() - gptr());
    if (buffered > 0) {
      std::memcpy(target, gptr(), static_cast<std::size_t>(buffered));
      gbump(static_cast<int>(buffered));
      done = buffered;
    }
    while (done < count && FFile.IsOpen()) {
      if (count - done < static_cast<std::streamsize>(sizeof FData)) {
        if (underflow() == traits_type::eof()) break;
        const std::streamsize more = std::min<std::streamsize>(count - done, egptr() - gptr());
        std::memcpy(target + done, gptr(), static_cast<std::size_t>(more));
        gbump(static_cast<int>(more));
        done += more;
        continue;
      }
      const std::ptrdiff_t got = FFile.Read(target + done, static_cast<std::size_t>(count - done));
      if (got <= 0) break;
      done += got;
    }
    return done;
  }

  pos_type seekoff(off_type offset, std::ios_base::seekdir direction, std::ios_base::openmode) override {
    if (!FFile.IsOpen()) return pos_type(off_type(-1));
    if (direction == std::ios_base::cur) offset -= egptr() - gptr();  // the descriptor is ahead
    const int whence = direction == std::ios_base::beg   ? SEEK_SET
                       : direction == std::ios_base::cur ? SEEK_CUR
                                                         : SEEK_END;
    const off_t position = ::lseek(FFile.Descriptor(), static_cast<off_t>(offset), whence);
    setg(FData, FData, FData);
    if (position < 0) return pos_type(off_type(-1));
    return pos_type(static_cast<off_type>(position));
  }

  pos_type seekpos(pos_type position, std::ios_base::openmode mode) override {
    return seekoff(off_type(position), std::ios_base::beg, mode);
  }

 private:
  TInputFile FFile;
  int FError = 0;
  char FData[65536];
};

TInputFileStream::TInputFileStream(const std::string& fileName)
    : std::istream(nullptr), FBuffer(std::make_unique<TBuffer>(fileName)) {
  rdbuf(FBuffer.get());
  if (!FBuffer->IsOpen()) setstate(std::ios_base::failbit);
}

TInputFileStream::~TInputFileStream() = default;

std::string ReadWholeFile(const std::string& fileName, const std::string& what) {
  TInputFile file;
  int error = 0;
  if (!file.Open(fileName, error)) throw FileReadError(what, fileName, error);
  std::string bytes;
  // One byte more than the size, so that the end is seen without growing the text.
  bytes.resize(static_cast<std::size_t>(file.Size()) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const std::ptrdiff_t got = file.Read(bytes.data() + filled, bytes.size() - filled);
    if (got < 0) throw FileReadError(what, fileName, errno);
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace hakuvo
