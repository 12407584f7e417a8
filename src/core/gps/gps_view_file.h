#pragma once

#include <string>

namespace hakuvo {

class TGpsFileLink;

// Makes the ".gps" view file of a track link: the whole track of its FileName (the link's
// StartPos and EndPos do not apply; they trim the list when it is shown), saved under
// MakeViewFileName(folder, ".gps") as a cache file (not flushed to disk: the track file can
// always give it again). Then the link's old view file is deleted and its ViewFileName
// names the new one. The folder must exist: callers create the thumbnail folder.
//
// Returns false, doing nothing, when FileName is not a track file by its extension. A track that
// cannot be read (a missing file, a broken document) or a view file that cannot be written raises
// EHakuvoError and leaves the link and its old view file as they were: the old file may be the
// only copy left of a track whose own file has gone.
bool MakeGpsViewFile(TGpsFileLink& link, const std::string& folder);

}  // namespace hakuvo
