#pragma once

#include <QSize>

#include <optional>
#include <string>

// MakeViewFileName, the name of a new thumbnail, and the JPEG thumbnails are the core's.
#include "core/links/thumbnail.h"
#include "core/links/view_file_name.h"

namespace hakuvo {

class TLinkData;

// The core's ThumbnailSize for Qt's sizes.
QSize ThumbnailSize(QSize picture, int width, int height);

// Makes the thumbnail file of a picture file in `folder` and returns its name, touching no link
// (safe on any thread): the picture scaled smoothly to ThumbnailSize and saved as a baseline colour
// JPEG of quality 90 under MakeViewFileName(folder, ".jpg"). None for a missing file or one that is
// no picture; a damaged picture or a failed save raises EHakuvoError. The link is then given the
// name with SetImageViewFile, where the link lives.
std::optional<std::string> MakeImageThumbnailFile(const std::string& source, int width, int height,
                                                  const std::string& folder);

// Makes the thumbnail of an image file link (from its FileName) or of a thing or person link
// (from its PhotoFileName): the picture scaled smoothly to ThumbnailSize, saved as a baseline
// colour JPEG of quality 90 under MakeViewFileName(folder, ".jpg"), as a cache file (it can always
// be made again, so it is not flushed to disk). The link's previous view file is then deleted and
// its ViewFileName set to the new one. Returns false, doing nothing,
// for another kind of link, a missing source file or one that is no picture. A damaged picture
// or a failed save raises EHakuvoError and leaves the link and its old view file as they were.
// A JPEG photograph goes through the core alone (MakeJpegViewFile), as the command line makes
// it; the other kinds are read and scaled by QImage.
bool MakeImageViewFile(TLinkData& link, int width, int height, const std::string& folder);

}  // namespace hakuvo
