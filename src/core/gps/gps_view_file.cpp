#include "core/gps/gps_view_file.h"

#include <sstream>

#include "core/common/safe_file_writer.h"
#include "core/gps/gps_file.h"
#include "core/links/view_file_name.h"
#include "core/model/link_data.h"

namespace hakuvo {

bool MakeGpsViewFile(TGpsFileLink& link, const std::string& folder) {
  const std::unique_ptr<TGpsFile> reader = CreateGpsFile(link.FileName);
  if (!reader) return false;
  // A fresh reader has an empty window, so the whole file is read.
  reader->SetFileName(link.FileName);

  std::ostringstream bytes(std::ios::binary);
  reader->GpsList.SaveToStream(bytes);
  const std::string name = MakeViewFileName(folder, ".gps");
  // A reduced track can always be read from its track file again: no flush to disk.
  WriteFileAtomically(name, bytes.view(), sdCacheFile);

  // Only now that the new file is whole does the old one go.
  if (link.ViewFileName != name) link.DeleteViewFile();
  link.ViewFileName = name;
  return true;
}

}  // namespace hakuvo
