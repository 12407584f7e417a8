#include "core/links/jpeg_codec.h"

#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <jpeglib.h>

#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. An exception may
// not pass through libjpeg's C frames, so the error leaves by longjmp to the one frame that
// called libjpeg; that frame holds only plain C data, so nothing is skipped that needed a
// destructor. The exception is raised by its caller once libjpeg's state is destroyed.
struct TJpegErrorManager {
  jpeg_error_mgr Pub;  // first: libjpeg hands back a pointer to it
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<TJpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->Message);
  std::longjmp(manager->Jump, 1);
}

// Warnings (a file cut short, a damaged stretch of data) leave libjpeg decoding what it can;
// they are not printed on the terminal.
void IgnoreMessage(j_common_ptr) {}

void InstallErrorManager(j_common_ptr cinfo, TJpegErrorManager& manager) {
  cinfo->err = jpeg_std_error(&manager.Pub);
  manager.Pub.error_exit = ErrorExit;
  manager.Pub.output_message = IgnoreMessage;
  manager.Message[0] = '\0';
}

// A progressive file may hold any number of scans, and a crafted one with thousands of tiny
// scans keeps the decoder busy for minutes. Real cameras and editors write about ten.
constexpr int kMaxScans = 500;

struct TScanGuard {
  jpeg_progress_mgr Pub;  // first: libjpeg hands back a pointer to it
};

void CheckScans(j_common_ptr cinfo) {
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (decompress->input_scan_number > kMaxScans) {
    auto* manager = reinterpret_cast<TJpegErrorManager*>(cinfo->err);
    std::snprintf(manager->Message, sizeof manager->Message, "too many scans (more than %d)", kMaxScans);
    std::longjmp(manager->Jump, 1);
  }
}

// Neither libjpeg's working memory nor the decoded picture may exceed this: a header may claim
// 65500 x 65500 pixels in a few hundred bytes.
constexpr long kMaxMemory = 1L << 30;

constexpr const char* kTooManyPixelsFormat =
    "画素数が多すぎる画像です（%u × %u、4 億画素まで） / too many pixels (%u x %u, 400 million at most)";

// Everything the libjpeg frame reads and writes, kept outside it so that it survives a longjmp.
struct TDecodeJob {
  const unsigned char* Data = nullptr;
  unsigned long Size = 0;
  const TWantedSize* Wanted = nullptr;
  const TPixelAllocator* Allocate = nullptr;
  TPixelTarget Target;
  TPictureSize StoredSize;
  TPictureSize OutputSize;
  bool Cmyk = false;
  bool AdobeInverted = false;
  char Message[JMSG_LENGTH_MAX] = {};
};

// Called between libjpeg calls, never from inside libjpeg, so these may use C++ freely as long as
// nothing leaves them by an exception: the frame that calls them also holds a setjmp.
int ChooseReduction(const TDecodeJob& job) noexcept {
  if (!job.Wanted || !*job.Wanted) return 1;
  try {
    return JpegReduction(job.StoredSize, (*job.Wanted)(job.StoredSize));
  } catch (...) {
    return 1;
  }
}

unsigned char* AllocatePicture(TDecodeJob& job, int width, int height, bool grey) noexcept {
  const TPixelFormat format = grey ? pfGrey8 : pfRgb32;
  if (static_cast<long long>(width) * height * BytesPerPixel(format) > kMaxMemory) return nullptr;
  try {
    job.Target = (*job.Allocate)(width, height, format);
  } catch (...) {
    job.Target = {};
  }
  return job.Target.Bits;
}

// 0xFFRRGGBB in the machine's byte order, the fourth byte filled with 0xFF by libjpeg.
J_COLOR_SPACE NativeRgb32() { return std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB; }

// The only frame that calls libjpeg's decoder; it holds plain C data only (see above).
bool RunDecode(TDecodeJob* job) {
  jpeg_decompress_struct cinfo;
  TJpegErrorManager errors;
  TScanGuard scans;
  InstallErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  if (setjmp(errors.Jump)) {
    jpeg_destroy_decompress(&cinfo);
    std::memcpy(job->Message, errors.Message, sizeof job->Message);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxMemory;
  scans.Pub.progress_monitor = CheckScans;
  cinfo.progress = &scans.Pub;
  jpeg_mem_src(&cinfo, job->Data, job->Size);
  jpeg_read_header(&cinfo, TRUE);
  if (static_cast<long long>(cinfo.image_width) * cinfo.image_height > MaxPicturePixels) {
    // Plain C here (see above): the words are those of TooManyPixelsMessage.
    std::snprintf(errors.Message, sizeof errors.Message, kTooManyPixelsFormat, cinfo.image_width, cinfo.image_height,
                  cinfo.image_width, cinfo.image_height);
    std::longjmp(errors.Jump, 1);
  }
  job->StoredSize = {static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height)};
  const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
  job->Cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  job->AdobeInverted = cinfo.saw_Adobe_marker;
  cinfo.out_color_space = grey ? JCS_GRAYSCALE : job->Cmyk ? JCS_CMYK : NativeRgb32();
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned int>(ChooseReduction(*job));
  jpeg_start_decompress(&cinfo);
  job->OutputSize = {static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height)};
  unsigned char* bits = AllocatePicture(*job, job->OutputSize.Width, job->OutputSize.Height, grey);
  if (!bits) {
    std::snprintf(errors.Message, sizeof errors.Message, "picture too large (%u x %u)", cinfo.output_width,
                  cinfo.output_height);
    std::longjmp(errors.Jump, 1);
  }
  const std::ptrdiff_t stride = job->Target.Stride;
  JSAMPROW rows[16];
  while (cinfo.output_scanline < cinfo.output_height) {
    const unsigned int first = cinfo.output_scanline;
    unsigned int count = cinfo.output_height - first;
    if (count > 16) count = 16;
    for (unsigned int i = 0; i < count; ++i) rows[i] = bits + static_cast<std::ptrdiff_t>(first + i) * stride;
    jpeg_read_scanlines(&cinfo, rows, count);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

// libjpeg hands CMYK out as stored. Files with an Adobe marker (nearly all of them) store the
// inks inverted, 255 meaning no ink, which is the form the product below expects.
void CmykToRgb32(const TDecodeJob& job) {
  for (int y = 0; y < job.OutputSize.Height; ++y) {
    unsigned char* pixel = job.Target.Bits + static_cast<std::ptrdiff_t>(y) * job.Target.Stride;
    for (int x = 0; x < job.OutputSize.Width; ++x, pixel += 4) {
      std::uint32_t c = pixel[0], m = pixel[1], yellow = pixel[2], k = pixel[3];
      if (!job.AdobeInverted) c = 255 - c, m = 255 - m, yellow = 255 - yellow, k = 255 - k;
      const std::uint32_t rgb = 0xFF000000u | (c * k / 255) << 16 | (m * k / 255) << 8 | (yellow * k / 255);
      std::memcpy(pixel, &rgb, sizeof rgb);
    }
  }
}

struct TEncodeJob {
  const unsigned char* Bits = nullptr;
  unsigned int Width = 0;
  unsigned int Height = 0;
  std::ptrdiff_t Stride = 0;
  int Quality = 90;
  unsigned char* Out = nullptr;  // malloc'd by libjpeg's memory destination
  unsigned long OutSize = 0;
  char Message[JMSG_LENGTH_MAX] = {};
};

// The only frame that calls libjpeg's encoder; plain C data only.
bool RunEncode(TEncodeJob* job) {
  jpeg_compress_struct cinfo;
  TJpegErrorManager errors;
  InstallErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  if (setjmp(errors.Jump)) {
    jpeg_destroy_compress(&cinfo);
    std::memcpy(job->Message, errors.Message, sizeof job->Message);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &job->Out, &job->OutSize);
  cinfo.image_width = job->Width;
  cinfo.image_height = job->Height;
  cinfo.input_components = 4;
  cinfo.in_color_space = NativeRgb32();
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, job->Quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(job->Bits + static_cast<std::ptrdiff_t>(cinfo.next_scanline) * job->Stride);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

TPixelImage GreyToRgb32(const TPixelRows& grey) {
  TPixelImage rgb(grey.Width, grey.Height, pfRgb32);
  unsigned char* out = rgb.Bits();
  for (int y = 0; y < grey.Height; ++y) {
    const unsigned char* in = grey.Row(y);
    for (int x = 0; x < grey.Width; ++x, out += 4) {
      const std::uint32_t v = in[x];
      const std::uint32_t pixel = 0xFF000000u | v << 16 | v << 8 | v;
      std::memcpy(out, &pixel, sizeof pixel);
    }
  }
  return rgb;
}

}  // namespace

std::string TooManyPixelsMessage(long long width, long long height) {
  char message[JMSG_LENGTH_MAX];
  const auto w = static_cast<unsigned int>(width), h = static_cast<unsigned int>(height);
  std::snprintf(message, sizeof message, kTooManyPixelsFormat, w, h, w, h);
  return message;
}

int JpegReduction(TPictureSize storedSize, TPictureSize atLeast) {
  if (atLeast.IsEmpty()) return 1;
  for (int reduction : {8, 4, 2}) {
    const int width = (storedSize.Width + reduction - 1) / reduction;
    const int height = (storedSize.Height + reduction - 1) / reduction;
    if (width >= atLeast.Width && height >= atLeast.Height) return reduction;
  }
  return 1;
}

TPictureSize DecodeJpegInto(const unsigned char* data, std::size_t size, const TWantedSize& wanted,
                            const TPixelAllocator& allocate) {
  TDecodeJob job;
  job.Data = data;
  job.Size = size;
  job.Wanted = &wanted;
  job.Allocate = &allocate;
  if (!RunDecode(&job)) {
    const TJapaneseEnglish words = SplitJapaneseEnglish(job.Message);
    throw EHakuvoError(words.Japanese, words.English);
  }
  if (job.Cmyk) CmykToRgb32(job);
  return job.StoredSize;
}

TDecodedJpeg DecodeJpeg(const unsigned char* data, std::size_t size, const TWantedSize& wanted) {
  TDecodedJpeg result;
  const auto allocate = [&result](int width, int height, TPixelFormat format) {
    result.Image = TPixelImage(width, height, format);
    return TPixelTarget{result.Image.Bits(), result.Image.Stride()};
  };
  try {
    result.StoredSize = DecodeJpegInto(data, size, wanted, allocate);
  } catch (...) {
    result.Image = TPixelImage();
    throw;
  }
  return result;
}

std::string EncodeJpeg(const TPixelRows& picture, int quality) {
  if (picture.Bits == nullptr || picture.Width <= 0 || picture.Height <= 0) {
    throw EHakuvoError("JPEG: 画像が空です", "JPEG: the picture is empty");
  }
  TPixelImage expanded;
  const TPixelRows rgb = picture.Format == pfGrey8 ? (expanded = GreyToRgb32(picture)).Rows() : picture;
  TEncodeJob job;
  job.Bits = rgb.Bits;
  job.Width = static_cast<unsigned int>(rgb.Width);
  job.Height = static_cast<unsigned int>(rgb.Height);
  job.Stride = rgb.Stride;
  job.Quality = quality;
  const bool done = RunEncode(&job);
  const std::unique_ptr<unsigned char, decltype(&std::free)> out(job.Out, &std::free);
  if (!done) {
    const TJapaneseEnglish words = SplitJapaneseEnglish(job.Message);
    throw EHakuvoError("JPEG: " + words.Japanese, "JPEG: " + words.English);
  }
  return std::string(reinterpret_cast<const char*>(out.get()), job.OutSize);
}

}  // namespace hakuvo
