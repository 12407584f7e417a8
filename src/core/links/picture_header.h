#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/links/pixel_image.h"

namespace hakuvo {

// The kinds of picture whose size is read from their header before a decoder is trusted with them.
enum TPictureHeaderKind : std::uint8_t { phPng, phBmp, phGif };

// The width and height the header of a PNG, BMP or GIF file claims (for a GIF, the larger of the
// logical screen and its first image); none when the bytes do not start as that kind says. A
// decoder may refuse such a picture in words of its own before it can be counted, so the count
// is made here.
std::optional<TPictureSize> ClaimedPictureSize(const unsigned char* data, std::size_t size, TPictureHeaderKind kind);

// "画素数が多すぎる画像です（W × H、LIMIT 画素まで） / too many pixels (W x H, LIMIT at most)".
std::string TooManyPixelsMessage(long long width, long long height, long long limit);

}  // namespace hakuvo
