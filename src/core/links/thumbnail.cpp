#include "core/links/thumbnail.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/common/hakuvo_error.h"
#include "core/common/safe_file_writer.h"
#include "core/links/file_kind.h"
#include "core/links/jpeg_codec.h"
#include "core/links/picture_file.h"
#include "core/links/view_file_name.h"
#include "core/model/link_data.h"

namespace hakuvo {

namespace {

// numerator / denominator to the nearest integer, a half to the even one; both positive.
int RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t quotient = numerator / denominator;
  const std::int64_t twiceRest = 2 * (numerator % denominator);
  if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) ++quotient;
  return static_cast<int>(quotient);
}

// The source pixels one pixel of the new size is made of, and their shares (summing to one).
struct TTaps {
  std::vector<int> First;  // per new pixel
  std::vector<int> Count;
  std::vector<float> Weights;  // Count weights per new pixel, one after the other
  std::vector<std::size_t> Offset;
};

TTaps MakeTaps(int from, int to) {
  TTaps taps;
  taps.First.resize(to);
  taps.Count.resize(to);
  taps.Offset.resize(to);
  const double scale = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    taps.Offset[i] = taps.Weights.size();
    if (from >= to) {
      // Shrinking: the exact area each source pixel shares with the new one.
      const double start = i * scale;
      const double end = (i + 1) * scale;
      const int first = static_cast<int>(std::floor(start));
      const int last = std::min(from, static_cast<int>(std::ceil(end)));
      for (int j = first; j < last; ++j) {
        const double share = std::min(end, j + 1.0) - std::max(start, static_cast<double>(j));
        taps.Weights.push_back(static_cast<float>(share / scale));
      }
      taps.First[i] = first;
      taps.Count[i] = last - first;
    } else {
      // Enlarging: between the two nearest source pixel centres.
      const double position = std::clamp((i + 0.5) * scale - 0.5, 0.0, from - 1.0);
      const int first = std::min(static_cast<int>(position), from - 1);
      const double fraction = position - first;
      taps.First[i] = first;
      if (first + 1 < from && fraction > 0) {
        taps.Weights.push_back(static_cast<float>(1 - fraction));
        taps.Weights.push_back(static_cast<float>(fraction));
        taps.Count[i] = 2;
      } else {
        taps.Weights.push_back(1.0f);
        taps.Count[i] = 1;
      }
    }
  }
  return taps;
}

// One source row as red, green, blue floats.
void RowChannels(const TPixelRows& picture, int y, std::vector<float>& out) {
  const unsigned char* row = picture.Row(y);
  for (int x = 0; x < picture.Width; ++x) {
    if (picture.Format == pfGrey8) {
      out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = row[x];
    } else {
      std::uint32_t pixel;
      std::memcpy(&pixel, row + 4 * static_cast<std::ptrdiff_t>(x), sizeof pixel);
      out[3 * x] = static_cast<float>((pixel >> 16) & 0xFF);
      out[3 * x + 1] = static_cast<float>((pixel >> 8) & 0xFF);
      out[3 * x + 2] = static_cast<float>(pixel & 0xFF);
    }
  }
}

std::uint32_t ToByte(float value) { return static_cast<std::uint32_t>(std::clamp(value + 0.5f, 0.0f, 255.0f)); }

}  // namespace

TPictureSize ThumbnailSize(TPictureSize picture, int width, int height) {
  const std::int64_t w = std::max(picture.Width, 1);
  const std::int64_t h = std::max(picture.Height, 1);
  int thumbWidth = width;
  int thumbHeight = RoundHalfEven(width * h, w);
  if (thumbHeight > height) {
    thumbHeight = height;
    thumbWidth = RoundHalfEven(height * w, h);
  }
  // A panorama thousands of pixels wide for each one high would otherwise round to nothing,
  // which no JPEG can hold.
  return {std::max(thumbWidth, 1), std::max(thumbHeight, 1)};
}

TPixelImage ScaleSmooth(const TPixelRows& picture, TPictureSize size) {
  if (picture.Bits == nullptr || picture.Width <= 0 || picture.Height <= 0 || size.IsEmpty()) return {};
  const TTaps across = MakeTaps(picture.Width, size.Width);
  const TTaps down = MakeTaps(picture.Height, size.Height);

  // Across first, every source row into a row of the new width; then down.
  const std::size_t rowFloats = 3 * static_cast<std::size_t>(size.Width);
  std::vector<float> narrow(rowFloats * picture.Height);
  std::vector<float> source(3 * static_cast<std::size_t>(picture.Width));
  for (int y = 0; y < picture.Height; ++y) {
    RowChannels(picture, y, source);
    float* out = narrow.data() + rowFloats * y;
    for (int x = 0; x < size.Width; ++x) {
      const float* weight = across.Weights.data() + across.Offset[x];
      const float* in = source.data() + 3 * static_cast<std::size_t>(across.First[x]);
      float r = 0, g = 0, b = 0;
      for (int k = 0; k < across.Count[x]; ++k, in += 3) {
        r += weight[k] * in[0];
        g += weight[k] * in[1];
        b += weight[k] * in[2];
      }
      out[3 * x] = r, out[3 * x + 1] = g, out[3 * x + 2] = b;
    }
  }

  TPixelImage result(size.Width, size.Height, pfRgb32);
  std::vector<float> sum(rowFloats);
  for (int y = 0; y < size.Height; ++y) {
    std::fill(sum.begin(), sum.end(), 0.0f);
    const float* weight = down.Weights.data() + down.Offset[y];
    for (int k = 0; k < down.Count[y]; ++k) {
      const float* in = narrow.data() + rowFloats * static_cast<std::size_t>(down.First[y] + k);
      for (std::size_t i = 0; i < rowFloats; ++i) sum[i] += weight[k] * in[i];
    }
    unsigned char* out = result.Bits() + result.Stride() * y;
    for (int x = 0; x < size.Width; ++x, out += 4) {
      const std::uint32_t pixel =
          0xFF000000u | ToByte(sum[3 * x]) << 16 | ToByte(sum[3 * x + 1]) << 8 | ToByte(sum[3 * x + 2]);
      std::memcpy(out, &pixel, sizeof pixel);
    }
  }
  return result;
}

std::optional<std::string> MakeJpegThumbnail(const std::string& fileName, int width, int height) {
  const std::optional<TFileBytes> bytes = ReadPictureFile(fileName);
  if (!bytes) return std::nullopt;
  const auto wanted = [width, height](TPictureSize stored) { return ThumbnailSize(stored, width, height); };
  TDecodedJpeg decoded;
  try {
    decoded = DecodeJpeg(bytes->Data.get(), bytes->Size, wanted);
  } catch (const EHakuvoError& error) {
    ThrowUndecodablePicture(fileName, error);
  }
  const TPixelImage thumbnail = ScaleSmooth(decoded.Image.Rows(), ThumbnailSize(decoded.StoredSize, width, height));
  return EncodeJpeg(thumbnail.Rows(), kThumbnailQuality);
}

std::optional<std::string> ThumbnailSourceOf(const TLinkData& link) {
  if (const auto* image = dynamic_cast<const TImageFileLink*>(&link)) return image->FileName;
  if (const auto* thing = dynamic_cast<const TThingLink*>(&link)) return thing->PhotoFileName();
  return std::nullopt;
}

std::string WriteImageViewFile(const std::string& jpeg, const std::string& folder) {
  const std::string name = MakeViewFileName(folder, ".jpg");
  WriteFileAtomically(name, jpeg, sdCacheFile);
  return name;
}

void SetImageViewFile(TLinkData& link, const std::string& name) {
  if (auto* image = dynamic_cast<TImageFileLink*>(&link)) {
    image->DeleteViewFile();
    image->ViewFileName = name;
  } else if (auto* thing = dynamic_cast<TThingLink*>(&link)) {
    thing->DeleteViewFile();
    thing->SetViewFileName(name);
  }
}

void ReplaceImageViewFile(TLinkData& link, const std::string& jpeg, const std::string& folder) {
  SetImageViewFile(link, WriteImageViewFile(jpeg, folder));
}

bool MakeJpegViewFile(TLinkData& link, int width, int height, const std::string& folder) {
  const std::optional<std::string> source = ThumbnailSourceOf(link);
  if (!source || source->empty() || !IsJpegFile(*source)) return false;
  const std::optional<std::string> jpeg = MakeJpegThumbnail(*source, width, height);
  if (!jpeg) return false;
  ReplaceImageViewFile(link, *jpeg, folder);
  return true;
}

}  // namespace hakuvo
