// Thumbnails of a 24-megapixel photograph, beside the floor any JPEG thumbnailer pays: a bare
// libjpeg decode of the same file reduced to 1/8 in its transform stage. A thumbnail from a
// full-size decode is measured too, to show what the reduced decode saves.
//
//   bench_thumbnails                      runs the benchmarks and prints the ratios
//   bench_thumbnails --write-photos=DIR   writes the 50 test photographs for a comparison with
//                                         other programs (bench/thumbnails_vs_vips.sh) and stops
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "core/model/link_data.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_loader.h"
#include "imaging/view_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 6000;  // 24 megapixels, 3:2, as a current camera takes them
constexpr int kHeight = 4000;
constexpr int kPhotos = 50;
constexpr int kThumbnailBox = 120;

// A photograph-like picture: broad gradients, textures of several sizes and sensor-like noise,
// so that the entropy decoder, which dominates a reduced decode, has a camera's amount of work.
// Written at quality 90 it takes about as many bytes as a camera's file.
std::string GeneratePhotograph() {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = kWidth;
  cinfo.image_height = kHeight;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(kWidth * 3);
  std::uint32_t noise = 2463534242u;
  while (cinfo.next_scanline < cinfo.image_height) {
    const double y = cinfo.next_scanline;
    for (int x = 0; x < kWidth; ++x) {
      noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
      const double grain = static_cast<double>(noise & 15) - 7.5;
      const double broad = 60 * std::sin(x * 0.0011 + y * 0.0007);
      const double texture = 35 * std::sin(x * 0.031 + std::sin(y * 0.013) * 3) * std::cos(y * 0.027);
      const double fine = 14 * std::sin(x * 0.41 + y * 0.23);
      const double value[3] = {128 + broad + texture + fine + grain, 120 + broad * 0.8 - texture + grain,
                               110 - broad + fine * 0.5 + grain};
      for (int c = 0; c < 3; ++c) row[x * 3 + c] = static_cast<unsigned char>(std::clamp(value[c], 0.0, 255.0));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string bytes(reinterpret_cast<const char*>(out), size);
  std::free(out);
  return bytes;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Workspace {
  fs::path Folder;
  fs::path Photo;
  fs::path Thumbnails;

  Workspace() {
    Folder = fs::temp_directory_path() / ("hakuvo-bench-thumbnails-" + std::to_string(::getpid()));
    Thumbnails = Folder / "thumbnails";
    fs::create_directories(Thumbnails);
    Photo = Folder / "photo.jpg";
    WriteFile(Photo, GeneratePhotograph());
    std::cerr << "photograph: " << kWidth << " x " << kHeight << ", " << fs::file_size(Photo) / 1024 << " KiB\n";
  }
  ~Workspace() {
    std::error_code ignored;
    fs::remove_all(Folder, ignored);
  }
};

Workspace& Files() {
  static Workspace workspace;
  return workspace;
}

// One iteration is one thumbnail, made as the diary makes it: reduced decode, smooth
// resampling, quality-90 encode and an atomic, flushed write into the thumbnail folder (the
// previous thumbnail deleted).
void BM_Thumbnail(benchmark::State& state) {
  const std::string photo = Files().Photo.string();
  const std::string folder = Files().Thumbnails.string();
  hakuvo::TImageFileLink link;
  link.FileName = photo;
  for (auto _ : state) {
    if (!hakuvo::MakeImageViewFile(link, kThumbnailBox, kThumbnailBox, folder)) state.SkipWithError("no thumbnail");
  }
  link.DeleteViewFile();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Thumbnail)->Unit(benchmark::kMillisecond)->Iterations(kPhotos)->Repetitions(5);

// The floor: libjpeg alone, reading the file and decoding it at 1/8 into RGB rows that are
// thrown away. No resampling, no encoding, no writing.
void BM_BareDecodeAtOneEighth(benchmark::State& state) {
  const std::string photo = Files().Photo.string();
  std::vector<unsigned char> row;
  for (auto _ : state) {
    FILE* file = std::fopen(photo.c_str(), "rb");
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 8;
    jpeg_start_decompress(&cinfo);
    row.resize(static_cast<std::size_t>(cinfo.output_width) * cinfo.output_components);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW rows[1] = {row.data()};
      jpeg_read_scanlines(&cinfo, rows, 1);
    }
    benchmark::DoNotOptimize(row.data());
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BareDecodeAtOneEighth)->Unit(benchmark::kMillisecond)->Iterations(kPhotos)->Repetitions(5);

// What the thumbnail would cost without the reduced decode: full-size decode, then resampling.
void BM_ThumbnailFromFullDecode(benchmark::State& state) {
  const std::string photo = Files().Photo.string();
  for (auto _ : state) {
    const std::optional<QImage> picture = hakuvo::LoadGraphic(photo);
    const QSize size = hakuvo::ThumbnailSize(picture->size(), kThumbnailBox, kThumbnailBox);
    const std::string bytes =
        hakuvo::EncodeJpeg(picture->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 90);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ThumbnailFromFullDecode)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3);

// Keeps the median time of each benchmark so that the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that a saved report stays plain text.
  RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        Medians[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> Medians;
};

int WritePhotos(const fs::path& folder) {
  fs::create_directories(folder);
  const std::string bytes = GeneratePhotograph();
  for (int i = 1; i <= kPhotos; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "photo_%02d.jpg", i);
    WriteFile(folder / name, bytes);
  }
  std::cout << kPhotos << " photographs of " << kWidth << " x " << kHeight << " (" << bytes.size() / 1024
            << " KiB each) in " << folder.string() << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string writeFlag = "--write-photos=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], writeFlag.c_str(), writeFlag.size()) == 0) return WritePhotos(argv[i] + writeFlag.size());
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Files();  // generated before any timing starts
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto& medians = reporter.Medians;
  const auto ratio = [&medians](const char* name, const char* reference) {
    if (!medians.count(name) || !medians.count(reference)) return;
    std::cout << name << " / " << reference << " = " << medians.at(name) / medians.at(reference) << " (medians)\n";
  };
  ratio("BM_Thumbnail", "BM_BareDecodeAtOneEighth");
  ratio("BM_ThumbnailFromFullDecode", "BM_BareDecodeAtOneEighth");
  ratio("BM_ThumbnailFromFullDecode", "BM_Thumbnail");
  benchmark::Shutdown();
  return 0;
}
