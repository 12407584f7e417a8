#pragma once

#include <memory>

namespace hakuvo {

class TGpsFile;
class TGpsFileLink;

// The points of a track link as the display windows (the map and the speed graph) show them: its
// ".gps" view file trimmed to the link's range when there is one, otherwise its track file read
// with that range. The view file is a cache anyone may have touched: one that is missing or fails
// its checks counts as absent, and the track file is read instead. Either way the track carries
// the link's file name and range. nullptr when the link's file is no track file by its extension,
// view file or not; an unreadable track file raises EHakuvoError.
std::unique_ptr<TGpsFile> LoadDisplayTrack(const TGpsFileLink& link);

}  // namespace hakuvo
