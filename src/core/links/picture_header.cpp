#include "core/links/picture_header.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace hakuvo {

namespace {

std::uint32_t BigEndian32(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
std::uint32_t LittleEndian32(const unsigned char* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
int LittleEndian16(const unsigned char* p) { return p[0] | (p[1] << 8); }

// A claimed side that does not fit an int is clamped: it is refused by its count anyway.
int Side(long long value) { return static_cast<int>(std::min<long long>(std::llabs(value), 0x7FFFFFFF)); }

std::optional<TPictureSize> PngSize(const unsigned char* data, std::size_t size) {
  // The signature, then the IHDR chunk: length, type, width, height.
  if (size < 24 || std::memcmp(data, "\x89PNG\r\n\x1A\n", 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  return TPictureSize{Side(BigEndian32(data + 16)), Side(BigEndian32(data + 20))};
}

std::optional<TPictureSize> BmpSize(const unsigned char* data, std::size_t size) {
  if (size < 18 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const std::uint32_t header = LittleEndian32(data + 14);
  if (header == 12) {  // the old OS/2 header: 16-bit sides
    if (size < 26) return std::nullopt;
    return TPictureSize{LittleEndian16(data + 18), LittleEndian16(data + 20)};
  }
  if (size < 26) return std::nullopt;
  // A negative height marks rows stored top down.
  return TPictureSize{Side(static_cast<std::int32_t>(LittleEndian32(data + 18))),
                      Side(static_cast<std::int32_t>(LittleEndian32(data + 22)))};
}

std::optional<TPictureSize> GifSize(const unsigned char* data, std::size_t size) {
  if (size < 10 || (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0)) return std::nullopt;
  TPictureSize claimed{LittleEndian16(data + 6), LittleEndian16(data + 8)};
  // The first image descriptor, after the global colour table and any extensions.
  std::size_t at = 13;
  if (size >= 11 && (data[10] & 0x80) != 0) at += 3u * (2u << (data[10] & 7));
  while (at < size && data[at] == 0x21) {
    at += 2;  // introducer and label, then sub-blocks up to an empty one
    while (at < size && data[at] != 0) at += data[at] + 1u;
    ++at;
  }
  if (at + 10 <= size && data[at] == 0x2C) {
    claimed.Width = std::max(claimed.Width, LittleEndian16(data + at + 1) + LittleEndian16(data + at + 5));
    claimed.Height = std::max(claimed.Height, LittleEndian16(data + at + 3) + LittleEndian16(data + at + 7));
  }
  return claimed;
}

}  // namespace

std::optional<TPictureSize> ClaimedPictureSize(const unsigned char* data, std::size_t size, TPictureHeaderKind kind) {
  switch (kind) {
    case phPng:
      return PngSize(data, size);
    case phBmp:
      return BmpSize(data, size);
    case phGif:
      return GifSize(data, size);
  }
  return std::nullopt;
}

std::string TooManyPixelsMessage(long long width, long long height, long long limit) {
  const std::string w = std::to_string(width), h = std::to_string(height), most = std::to_string(limit);
  return "画素数が多すぎる画像です（" + w + " × " + h + "、" + most + " 画素まで） / too many pixels (" + w + " x " +
         h + ", " + most + " at most)";
}

}  // namespace hakuvo
