// Bringing files into the diary: the registration of the files changed on disk over a year's
// range, and a drop of photographs beside the reading of their Exif dates alone.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/datafile/diary.h"
#include "core/gps/jpeg_exif.h"
#include "core/register/drop_files.h"
#include "core/register/find_files.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTreeFiles = 10000;
constexpr int kPhotographs = 1000;

void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A photograph as a camera leaves it for an Exif reader: the Exif block with IFD0 (orientation,
// the Exif pointer), the Exif IFD with the shooting time, and a body of picture data after it.
std::string Photograph(const std::string& shot) {
  std::string tiff = "II";
  Put16(tiff, 42);
  Put32(tiff, 8);
  Put16(tiff, 2);
  Put16(tiff, 274);
  Put16(tiff, 3);
  Put32(tiff, 1);
  Put32(tiff, 6);
  Put16(tiff, 34665);
  Put16(tiff, 4);
  Put32(tiff, 1);
  Put32(tiff, 38);
  Put32(tiff, 0);
  Put16(tiff, 1);
  Put16(tiff, 36867);
  Put16(tiff, 2);
  Put32(tiff, 20);
  Put32(tiff, 56);
  Put32(tiff, 0);
  tiff += shot + std::string(1, '\0');
  const std::string segment = std::string("Exif\0\0", 6) + tiff;
  std::string jpeg = "\xFF\xD8\xFF\xE1";
  jpeg += static_cast<char>((segment.size() + 2) >> 8);
  jpeg += static_cast<char>((segment.size() + 2) & 0xFF);
  return jpeg + segment + std::string(200000, '\x55') + "\xFF\xD9";
}

struct TFixture {
  fs::path Root;
  std::vector<std::string> Photographs;

  TFixture() {
    std::string pattern = (fs::temp_directory_path() / "hakuvo-bench-register-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    Root = pattern;
    // A tree of 10,000 files: 20 folders of 10 sub-folders of 50 files each, modified over two
    // years, a file an hour and a bit.
    const std::time_t start = 1672531200;  // 2023-01-01 UTC
    for (int i = 0; i < kTreeFiles; ++i) {
      char folderName[32];
      std::snprintf(folderName, sizeof folderName, "f%d/s%d", i / 500, i / 50 % 10);
      const fs::path folder = Root / "tree" / folderName;
      fs::create_directories(folder);
      char fileName[32];
      std::snprintf(fileName, sizeof fileName, i % 3 == 0 ? "IMG_%d.JPG" : "note_%d.txt", i);
      const fs::path file = folder / fileName;
      std::ofstream(file) << "x";
      const std::time_t when = start + static_cast<std::time_t>(i) * 6300;
      utimbuf times{when, when};
      ::utime(file.c_str(), &times);
    }
    fs::create_directories(Root / "photos");
    for (int i = 0; i < kPhotographs; ++i) {
      char shot[32];
      std::snprintf(shot, sizeof shot, "2024:%02d:%02d %02d:%02d:00", 1 + i / 100 % 12, 1 + i % 28, 6 + i % 12, i % 60);
      char fileName[32];
      std::snprintf(fileName, sizeof fileName, "P%d.jpg", i);
      const std::string path = (Root / "photos" / fileName).string();
      std::ofstream(path, std::ios::binary) << Photograph(shot);
      Photographs.push_back(path);
    }
  }
  ~TFixture() {
    std::error_code ignored;
    fs::remove_all(Root, ignored);
  }
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void BM_RegisterUpdatedFiles365Days(benchmark::State& state) {
  TFixture& fixture = Fixture();
  hakuvo::TFindFileOptions options;
  options.StartDate = hakuvo::EncodeDate(2023, 3, 1);
  options.EndDate = hakuvo::EncodeDate(2024, 2, 29);
  options.Folders = {(fixture.Root / "tree").string()};
  options.Patterns = {"*.jpg", "IMG*", "*.txt"};
  options.SubFolders = true;
  options.OneAct = true;
  std::size_t registered = 0;
  for (auto _ : state) {
    hakuvo::TDiary diary("");
    registered = hakuvo::RegisterUpdatedFiles({diary.Days, *diary.Categories, diary.Files}, options).Registered.size();
    benchmark::DoNotOptimize(registered);
  }
  state.counters["files"] = static_cast<double>(registered);
}
BENCHMARK(BM_RegisterUpdatedFiles365Days)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_DropPhotographs(benchmark::State& state) {
  TFixture& fixture = Fixture();
  hakuvo::TDropOptions options;
  options.UseExifDate = true;
  for (auto _ : state) {
    hakuvo::TDiary diary("");
    const auto report = hakuvo::DropFiles({diary.Days, *diary.Categories, diary.Files}, fixture.Photographs, options);
    benchmark::DoNotOptimize(report.LastDate);
  }
}
BENCHMARK(BM_DropPhotographs)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The reference: the shooting time of each photograph, read as the drop reads it, and nothing else.
void BM_ExifDatesOnly(benchmark::State& state) {
  TFixture& fixture = Fixture();
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& path : fixture.Photographs) sum += hakuvo::ExifDateTimeOriginal(path);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ExifDatesOnly)->Unit(benchmark::kMillisecond)->Repetitions(5);

// Keeps the median of each benchmark to print the ratio after the table.
class TMedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        Real[run.run_name.function_name] = run.GetAdjustedRealTime();
        Cpu[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
  }
  std::map<std::string, double> Real;
  std::map<std::string, double> Cpu;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("TZ", "UTC", 0);
  benchmark::Initialize(&argc, argv);
  Fixture();
  TMedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.Real.count("BM_DropPhotographs") != 0 && reporter.Real.count("BM_ExifDatesOnly") != 0) {
    std::cout << "drop / Exif dates alone, medians: real "
              << reporter.Real["BM_DropPhotographs"] / reporter.Real["BM_ExifDatesOnly"] << ", CPU "
              << reporter.Cpu["BM_DropPhotographs"] / reporter.Cpu["BM_ExifDatesOnly"] << "\n";
  }
  benchmark::Shutdown();
  return 0;
}
