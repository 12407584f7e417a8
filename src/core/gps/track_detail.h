#pragma once

#include <array>
#include <string>

namespace hakuvo {

class TGpsFileLink;

// The link window's detail columns for a track: its distance, its time from the first to the last
// fix and its climb, over the part of the track the link shows.
inline constexpr std::array<const char*, 3> TrackDetailCaptions = {"距離(km)", "時間", "上昇(m)"};

// "12.34", "1:05:09", "35"; the time empty for a track without times, all three empty for a link
// whose track cannot be read. Reads the track: for a worker, not for a window's own thread.
std::array<std::string, 3> TrackDetailTexts(const TGpsFileLink& link);

}  // namespace hakuvo
