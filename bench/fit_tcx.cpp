// Reading a generated outing of 1,000,000 points as a FIT file (written here by our own encoder,
// with the fields a watch records every second) and as a TCX file, each beside the least any
// reader of the same file must do, in the same run:
//
//   FIT: the file read into memory and its messages walked: definitions remembered, and for every
//        "record" the time, latitude, longitude and altitude converted (semicircles to degrees,
//        altitude scale and offset, seconds to a day serial) into a plain vector;
//   TCX: pugixml's load_file with its default options and a walk of every Trackpoint that pulls
//        the same four values into a plain vector (std::from_chars, times by hand).
//
// The figures that count are the paired ones printed after the table: each pair runs our reader
// and its reference right after each other (in turns, which goes first), the ratio is taken
// within the pair, and the minimum and median of the ratios are printed, so that a busy moment of
// a shared machine falls on both sides of a ratio.
//
//   bench_fit_tcx                                   the table, then the paired ratios
//   bench_fit_tcx --pairs=N                         N pairs (15 by default)
//   bench_fit_tcx --write-tracks=DIR [--points=N]   writes track.fit and track.tcx of N points
//                                                   (1,000,000 by default) for the comparison
//                                                   with gpsbabel (bench/tracks_vs_gpsbabel.sh, FORMATS="fit tcx")
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "core/gps/gps_file.h"
#include "paired_runs.h"
#include "support/fit_writer.h"

namespace {

namespace fs = std::filesystem;
using hakuvo::test::TFitField;
using hakuvo::test::TFitWriter;

constexpr int kPoints = 1'000'000;

// A jog through Tokyo, one fix a second, as in the other track benchmarks.
struct Fix {
  long long Seconds;  // since 2021-03-02 00:00:00 UTC
  double Latitude, Longitude, Altitude;
};

std::vector<Fix> Outing(int points) {
  std::mt19937_64 random(20210302);
  std::normal_distribution<double> turn(0, 0.08);
  std::uniform_real_distribution<double> step(2.5, 3.5);
  std::normal_distribution<double> climb(0, 0.15);
  std::vector<Fix> fixes;
  fixes.reserve(static_cast<std::size_t>(points));
  double latitude = 35.681236, longitude = 139.767125, altitude = 40, heading = 0.7;
  for (int i = 0; i < points; ++i) {
    fixes.push_back({i, latitude, longitude, altitude});
    heading += turn(random);
    const double metres = step(random);
    latitude += metres * std::cos(heading) / 111'000;
    longitude += metres * std::sin(heading) / (111'000 * std::cos(latitude * std::numbers::pi / 180));
    altitude = std::clamp(altitude + climb(random), 0.0, 80.0);
  }
  return fixes;
}

constexpr long long kStartFitSeconds = 983'491'200;  // 2021-03-02 00:00:00 UTC on the FIT clock

// A watch's activity: a file_id message, then a record a second with time, position, both
// altitudes, heart rate, cadence, distance and both speeds, and a lap and a session at the end.
std::string FitFile(const std::vector<Fix>& fixes) {
  TFitWriter fit;
  fit.Reserve(fixes.size() * 32 + 1024);
  fit.Define(0, 0, {{0, 1, 0x00}, {1, 2, 0x84}, {2, 2, 0x84}, {4, 4, 0x86}}).Data(0, {4, 1, 3121, kStartFitSeconds});
  const std::vector<TFitField> record = {hakuvo::test::kFitTimestamp,
                                         hakuvo::test::kFitLatitude,
                                         hakuvo::test::kFitLongitude,
                                         hakuvo::test::kFitAltitude,
                                         hakuvo::test::kFitEnhancedAltitude,
                                         {3, 1, 0x02},
                                         {4, 1, 0x02},
                                         {5, 4, 0x86},
                                         {6, 2, 0x84},
                                         {73, 4, 0x86}};
  fit.Define(1, hakuvo::test::kFitRecord, record);
  double metres = 0;
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    const Fix& f = fixes[i];
    if (i > 0)
      metres += hakuvo::TGpsFile::PointDistance(fixes[i - 1].Latitude, fixes[i - 1].Longitude, f.Latitude, f.Longitude);
    fit.Data(1, {kStartFitSeconds + f.Seconds, hakuvo::test::FitSemicircles(f.Latitude),
                 hakuvo::test::FitSemicircles(f.Longitude), hakuvo::test::FitAltitude(f.Altitude),
                 hakuvo::test::FitAltitude(f.Altitude), 120 + static_cast<int>(i % 40), 85, std::llround(metres * 100),
                 3000, 3000});
  }
  const long long end = kStartFitSeconds + fixes.back().Seconds;
  fit.Define(2, 19, {hakuvo::test::kFitTimestamp, {2, 4, 0x86}, {9, 4, 0x86}}).Data(2, {end, kStartFitSeconds, 1});
  fit.Define(3, 18, {hakuvo::test::kFitTimestamp, {2, 4, 0x86}, {9, 4, 0x86}}).Data(3, {end, kStartFitSeconds, 1});
  return fit.File();
}

std::string Iso(long long seconds) {
  const std::time_t t = 1'614'643'200 + seconds;  // 2021-03-02 00:00:00 UTC
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

// A TCX activity of one lap, each point with time, position, altitude, distance and heart rate.
std::string TcxFile(const std::vector<Fix>& fixes) {
  std::string text;
  text.reserve(fixes.size() * 330 + 1024);
  text +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<TrainingCenterDatabase xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n"
      " <Activities>\n  <Activity Sport=\"Running\">\n   <Id>" +
      Iso(0) + "</Id>\n   <Lap StartTime=\"" + Iso(0) + "\">\n    <Track>\n";
  char line[512];
  double metres = 0;
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    const Fix& f = fixes[i];
    if (i > 0)
      metres += hakuvo::TGpsFile::PointDistance(fixes[i - 1].Latitude, fixes[i - 1].Longitude, f.Latitude, f.Longitude);
    std::snprintf(line, sizeof line,
                  "     <Trackpoint>\n      <Time>%s</Time>\n      <Position>\n       "
                  "<LatitudeDegrees>%.7f</LatitudeDegrees>\n       <LongitudeDegrees>%.7f</LongitudeDegrees>\n      "
                  "</Position>\n      <AltitudeMeters>%.1f</AltitudeMeters>\n      "
                  "<DistanceMeters>%.1f</DistanceMeters>\n      <HeartRateBpm>\n       <Value>%d</Value>\n      "
                  "</HeartRateBpm>\n     </Trackpoint>\n",
                  Iso(f.Seconds).c_str(), f.Latitude, f.Longitude, f.Altitude, metres, 120 + static_cast<int>(i % 40));
    text += line;
  }
  text += "    </Track>\n   </Lap>\n  </Activity>\n </Activities>\n</TrainingCenterDatabase>\n";
  return text;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteTracks(const fs::path& folder, int points) {
  fs::create_directories(folder);
  const std::vector<Fix> fixes = Outing(points);
  WriteFile(folder / "track.fit", FitFile(fixes));
  WriteFile(folder / "track.tcx", TcxFile(fixes));
}

// The generated files, written once into a temporary folder before any timing starts.
class Tracks {
 public:
  Tracks() {
    std::string pattern = (fs::temp_directory_path() / "hakuvo-bench-fit-tcx-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    FFolder = pattern;
    WriteTracks(FFolder, kPoints);
  }
  ~Tracks() {
    std::error_code ignored;
    fs::remove_all(FFolder, ignored);
  }
  Tracks(const Tracks&) = delete;
  Tracks& operator=(const Tracks&) = delete;
  std::string File(const char* extension) const { return (FFolder / (std::string("track.") + extension)).string(); }

 private:
  fs::path FFolder;
};

const Tracks& Files() {
  static const Tracks tracks;
  return tracks;
}

// ---------------------------------------------------------------------------------------------
// Our readers, as the program reads a dropped track (without the distance, which the references
// do not compute; the distance's own cost is in bench_tracks).

int ReadOurs(const std::string& file) {
  const auto track = hakuvo::CreateGpsFile(file);
  track->SetFileName(file);
  return track->GpsList.Count();
}

// ---------------------------------------------------------------------------------------------
// References.

struct BarePoint {
  double Time, Latitude, Longitude, Altitude;
};

std::string ReadWhole(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes;
  in.seekg(0, std::ios::end);
  bytes.resize(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

std::uint32_t Load32(const unsigned char* p, bool big) {
  std::uint32_t value;
  std::memcpy(&value, p, 4);
  return big ? __builtin_bswap32(value) : value;
}

// Walks the messages of one FIT file (no check values, no chained files, no compressed times):
// the least a reader does to find the records and convert their fields.
int BareFit(const std::string& file) {
  const std::string bytes = ReadWhole(file);
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t headerSize = b[0];
  const std::size_t end = headerSize + Load32(b + 4, false);
  struct Local {
    bool Big = false;
    std::uint16_t Global = 0;
    std::uint32_t Size = 0;
    int Time = -1, Latitude = -1, Longitude = -1, Altitude = -1, Enhanced = -1;
  } locals[16];
  std::vector<BarePoint> list;
  std::size_t at = headerSize;
  while (at < end) {
    const unsigned char header = b[at++];
    if (header & 0x40) {
      Local& d = locals[header & 0x0F];
      d = Local();
      d.Big = b[at + 1] != 0;
      d.Global = d.Big ? static_cast<std::uint16_t>(b[at + 2] << 8 | b[at + 3])
                       : static_cast<std::uint16_t>(b[at + 3] << 8 | b[at + 2]);
      const int fields = b[at + 4];
      at += 5;
      for (int i = 0; i < fields; ++i, at += 3) {
        const int offset = static_cast<int>(d.Size);
        switch (b[at]) {
          case 253:
            d.Time = offset;
            break;
          case 0:
            d.Latitude = offset;
            break;
          case 1:
            d.Longitude = offset;
            break;
          case 2:
            d.Altitude = offset;
            break;
          case 78:
            d.Enhanced = offset;
            break;
          default:
            break;
        }
        d.Size += b[at + 1];
      }
      if (header & 0x20) {
        const int developer = b[at++];
        for (int i = 0; i < developer; ++i, at += 3) d.Size += b[at + 1];
      }
      continue;
    }
    const Local& d = locals[header & 0x0F];
    const unsigned char* f = b + at;
    at += d.Size;
    if (d.Global != 20 || d.Latitude < 0 || d.Longitude < 0) continue;
    const auto latitude = static_cast<std::int32_t>(Load32(f + d.Latitude, d.Big));
    const auto longitude = static_cast<std::int32_t>(Load32(f + d.Longitude, d.Big));
    if (latitude == 0x7FFFFFFF || longitude == 0x7FFFFFFF) continue;
    const double time = d.Time < 0 ? 0 : 32873 + Load32(f + d.Time, d.Big) / 86400.0;
    double altitude = 0;
    if (d.Enhanced >= 0) altitude = Load32(f + d.Enhanced, d.Big) / 5.0 - 500;
    list.push_back({time, latitude * (180.0 / 2147483648.0), longitude * (180.0 / 2147483648.0), altitude});
  }
  benchmark::DoNotOptimize(list.data());
  return static_cast<int>(list.size());
}

double Number(const char* text) {
  double value = 0;
  std::from_chars(text, text + std::strlen(text), value);
  return value;
}

int Digits(const char* p, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i) value = value * 10 + (p[i] - '0');
  return value;
}

long long DaysFromCivil(int year, int month, int day) {
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

double IsoDays(const char* text) {
  if (std::strlen(text) < 19) return 0;
  const long long seconds = DaysFromCivil(Digits(text, 4), Digits(text + 5, 2), Digits(text + 8, 2)) * 86400 +
                            Digits(text + 11, 2) * 3600 + Digits(text + 14, 2) * 60 + Digits(text + 17, 2);
  return 25569 + seconds / 86400.0;
}

int BareTcx(const std::string& file) {
  pugi::xml_document document;
  if (!document.load_file(file.c_str())) return -1;
  std::vector<BarePoint> list;
  const pugi::xml_node activities = document.child("TrainingCenterDatabase").child("Activities");
  for (const pugi::xml_node activity : activities.children("Activity")) {
    for (const pugi::xml_node lap : activity.children("Lap")) {
      for (const pugi::xml_node track : lap.children("Track")) {
        for (const pugi::xml_node point : track.children("Trackpoint")) {
          const pugi::xml_node position = point.child("Position");
          if (!position) continue;
          list.push_back({IsoDays(point.child_value("Time")), Number(position.child_value("LatitudeDegrees")),
                          Number(position.child_value("LongitudeDegrees")),
                          Number(point.child_value("AltitudeMeters"))});
        }
      }
    }
  }
  benchmark::DoNotOptimize(list.data());
  return static_cast<int>(list.size());
}

// ---------------------------------------------------------------------------------------------
// The table: each reading on its own, five repetitions interleaved at random.

void Timed(benchmark::State& state, int (*read)(const std::string&), const char* extension) {
  const std::string file = Files().File(extension);
  for (auto _ : state) {
    if (read(file) != kPoints) state.SkipWithError("a reading missed points");
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_ReadFit(benchmark::State& state) { Timed(state, ReadOurs, "fit"); }
void BM_BareFit(benchmark::State& state) { Timed(state, BareFit, "fit"); }
void BM_ReadTcx(benchmark::State& state) { Timed(state, ReadOurs, "tcx"); }
void BM_BareTcx(benchmark::State& state) { Timed(state, BareTcx, "tcx"); }

void Sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);
}
BENCHMARK(BM_ReadFit)->Apply(Sizes);
BENCHMARK(BM_BareFit)->Apply(Sizes);
BENCHMARK(BM_ReadTcx)->Apply(Sizes);
BENCHMARK(BM_BareTcx)->Apply(Sizes);

// ---------------------------------------------------------------------------------------------
// The paired figures.

double TimeOne(int (*read)(const std::string&), const std::string& file) {
  const double start = hakuvo::bench::CpuSeconds();
  if (read(file) != kPoints) throw std::runtime_error("a reading missed points of " + file);
  return hakuvo::bench::CpuSeconds() - start;
}

void Paired(const char* name, int (*ours)(const std::string&), int (*bare)(const std::string&), const std::string& file,
            int pairs) {
  const hakuvo::bench::TPairedResult result = hakuvo::bench::MeasurePairs(
      pairs, 1, [&](int) { return TimeOne(ours, file); }, [&](int) { return TimeOne(bare, file); });
  std::cout << name << ": ";
  hakuvo::bench::PrintPairs("ours", "bare", result, "CPU time");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string writeFlag = "--write-tracks=", pointsFlag = "--points=", pairsFlag = "--pairs=";
  std::string writeFolder;
  int points = kPoints;
  int pairs = 15;
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with(writeFlag)) {
      writeFolder = arg.substr(writeFlag.size());
    } else if (arg.starts_with(pointsFlag)) {
      points = std::atoi(argv[i] + pointsFlag.size());
    } else if (arg.starts_with(pairsFlag)) {
      pairs = std::atoi(argv[i] + pairsFlag.size());
    } else {
      rest.push_back(argv[i]);
    }
  }
  if (!writeFolder.empty()) {
    if (points <= 0) {
      std::cerr << "bench_fit_tcx: --points needs a positive number\n";
      return 2;
    }
    WriteTracks(writeFolder, points);
    for (const char* name : {"track.fit", "track.tcx"}) {
      std::cout << (fs::path(writeFolder) / name).string() << ": " << points << " points, "
                << fs::file_size(fs::path(writeFolder) / name) / (1024 * 1024) << " MiB\n";
    }
    return 0;
  }
  if (!hakuvo::bench::InitializeWithDefaults(static_cast<int>(rest.size()), rest.data(),
                                             {"--benchmark_enable_random_interleaving=true"})) {
    return 1;
  }
  // The same zone for every reading, and no look-up of /etc/localtime for it.
  ::setenv("TZ", "UTC", 0);
  ::tzset();
  Files();  // written before any timing starts
  benchmark::RunSpecifiedBenchmarks();
  if (pairs > 0) {
    std::cout << "\n";
    Paired("FIT: ours / bare message walk", ReadOurs, BareFit, Files().File("fit"), pairs);
    Paired("TCX: ours / bare pugixml walk", ReadOurs, BareTcx, Files().File("tcx"), pairs);
  }
  return 0;
}
