#pragma once

#include <QSize>

#include <string>

namespace hakuvo {

class TLinkData;

// A name for a new view file (a thumbnail or a reduced track) in the thumbnail folder: the
// folder ("." when empty), "/", 32 upper-case hexadecimal digits of a new GUID and the extension
// (with its dot). A new GUID is drawn for as long as something of that name exists.
std::string MakeViewFileName(const std::string& folder, const std::string& extension);

// The thumbnail size of a w x h picture in a box of width x height: the full width and the
// height in proportion, or, when that is too tall, the full height and the width in proportion.
// Both are rounded to the nearest whole pixel, a half to the even neighbour, and are at least
// one pixel. Small pictures are enlarged.
QSize ThumbnailSize(QSize picture, int width, int height);

// Makes the thumbnail of an image file link (from its FileName) or of a thing or person link
// (from its PhotoFileName): the picture scaled smoothly to ThumbnailSize, saved as a baseline
// colour JPEG of quality 90 under MakeViewFileName(folder, ".jpg"). The link's previous view
// file is then deleted and its ViewFileName set to the new one. Returns false, doing nothing,
// for another kind of link, a missing source file or one that is no picture. A damaged picture
// or a failed save raises EHakuvoError and leaves the link and its old view file as they were.
bool MakeImageViewFile(TLinkData& link, int width, int height, const std::string& folder);

}  // namespace hakuvo
