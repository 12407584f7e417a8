#include "core/gps/document_source.h"

#include <algorithm>

#include "core/common/file_read.h"
#include "core/gps/gps_reader_util.h"

namespace hakuvo {

TFileDocumentSource::TFileDocumentSource(const std::string& fileName)
    : FFile(OpenInputStream(fileName), &std::fclose) {}

bool TFileDocumentSource::Open() {
  if (!FFile || ::fseeko(FFile.get(), 0, SEEK_END) != 0) return false;
  const off_t size = ::ftello(FFile.get());
  if (size < 0) return false;
  FSize = static_cast<std::size_t>(size);
  return true;
}

bool TFileDocumentSource::ReadAt(std::size_t offset, std::size_t count, TByteBuffer& out) {
  if (::fseeko(FFile.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return false;
  if (out.Size() + count > out.Capacity()) out.Reserve(std::max(out.Size() + count, 2 * out.Capacity()));
  const std::size_t got = std::fread(out.Data() + out.Size(), 1, count, FFile.get());
  out.Resize(out.Size() + got);
  return got == count;
}

bool TMemoryDocumentSource::ReadAt(std::size_t offset, std::size_t count, TByteBuffer& out) {
  if (offset > FData.size() || count > FData.size() - offset) return false;
  out.Append(FData.data() + offset, count);
  return true;
}

}  // namespace hakuvo
