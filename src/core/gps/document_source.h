#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace hakuvo {

class TByteBuffer;

// Where the bytes of a document read in pieces come from, a few at a time.
class TDocumentSource {
 public:
  virtual ~TDocumentSource() = default;
  virtual std::size_t Size() const = 0;
  // Appends bytes offset to offset + count to `out`; false when they cannot all be read.
  virtual bool ReadAt(std::size_t offset, std::size_t count, TByteBuffer& out) = 0;
};

// A file read a piece at a time.
class TFileDocumentSource : public TDocumentSource {
 public:
  explicit TFileDocumentSource(const std::string& fileName);
  // False when the file cannot be opened or measured.
  bool Open();
  std::size_t Size() const override { return FSize; }
  bool ReadAt(std::size_t offset, std::size_t count, TByteBuffer& out) override;

 private:
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> FFile;
  std::size_t FSize = 0;
};

class TMemoryDocumentSource : public TDocumentSource {
 public:
  explicit TMemoryDocumentSource(std::string_view data) : FData(data) {}
  std::size_t Size() const override { return FData.size(); }
  bool ReadAt(std::size_t offset, std::size_t count, TByteBuffer& out) override;

 private:
  std::string_view FData;
};

}  // namespace hakuvo
