#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

namespace hakuvo {

// Every reader of the program's files opens them through here. A path that names something other
// than a regular file (a folder named like a track, a FIFO, a device) is refused before a byte is
// read or any memory is set aside for it: a folder's size says nothing of a content, a FIFO
// without a writer would make the reader wait for ever, and a device may never end.
class TInputFile {
 public:
  TInputFile() = default;
  TInputFile(TInputFile&& other) noexcept;
  TInputFile& operator=(TInputFile&& other) noexcept;
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;
  ~TInputFile();

  // Opens `fileName` for reading. False, with the system's error number in `error`, when the
  // system refuses (a missing file, no permission): each reader words that in its own way. A
  // path that is there but no regular file throws EHakuvoError naming it (NotRegularFileError).
  bool Open(const std::string& fileName, int& error);
  // The same, throwing EHakuvoError "<prefix><reason>" (FileReadError) when the system refuses.
  void OpenOrFail(const std::string& fileName);

  bool IsOpen() const { return FDescriptor >= 0; }
  int Descriptor() const { return FDescriptor; }
  // The size when it was opened; the file may grow or shrink meanwhile, so reading goes on to
  // the end of the file whatever this says.
  std::uint64_t Size() const { return FSize; }

  // Up to `count` bytes from the current position (interrupted reads are taken up again);
  // -1 with errno set on a failure, 0 at the end.
  std::ptrdiff_t Read(void* data, std::size_t count);
  // Up to `count` bytes at `offset`, as many as the file has there.
  std::ptrdiff_t ReadAt(std::uint64_t offset, void* data, std::size_t count);
  // Hands the descriptor to a stdio stream (closed with fclose); the object is then closed.
  std::FILE* ReleaseToStream();
  void Close();

 private:
  int FDescriptor = -1;
  std::uint64_t FSize = 0;
};

// A stdio stream of a regular file for reading: nullptr with errno set when the system refuses,
// EHakuvoError when the path is no regular file. For readers built on fread.
std::FILE* OpenInputStream(const std::string& fileName);

// An input stream over a regular file, for readers built on std::istream. Like std::ifstream,
// it is failed (operator! is true) when the system refuses to open the file; a path that is no
// regular file throws EHakuvoError from the constructor.
class TInputFileStream : public std::istream {
 public:
  explicit TInputFileStream(const std::string& fileName);
  ~TInputFileStream() override;
  TInputFileStream(const TInputFileStream&) = delete;
  TInputFileStream& operator=(const TInputFileStream&) = delete;

 private:
  class TBuffer;
  std::unique_ptr<TBuffer> FBuffer;
};

// The whole file. Throws EHakuvoError with "データファイル "…" を読み込めませんでした: …"-like
// text: `what` names the kind of file ("データファイル", "設定ファイル").
std::string ReadWholeFile(const std::string& fileName, const std::string& what);

class EHakuvoError;
// "<file> は読み込めません: フォルダーです (ファイルを指定してください)" and the like, with its English.
EHakuvoError NotRegularFileError(const std::string& fileName, unsigned mode);
// "<what> "<file>" を読み込めませんでした: <the system's reason>", with its English; `what` is one of
// "ファイル", "データファイル", "設定ファイル".
EHakuvoError FileReadError(const std::string& what, const std::string& fileName, int error);

}  // namespace hakuvo
