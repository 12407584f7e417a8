// Reading generated tracks of 10,000 and 1,000,000 points (GPX, KML with gx:Track, NMEA with GGA
// and RMC sentences) and measuring them (total distance), each beside the floor any reader of the
// same file pays, in the same run: a bare pugixml parse that pulls out the time, latitude,
// longitude and altitude of every point, and for NMEA a bare split into lines and fields. The
// readings are timed with and without the distance, since the references compute none.
//
//   bench_tracks                                   runs the benchmarks and prints the ratios
//   bench_tracks --write-tracks=DIR [--points=N]   writes track.gpx, track.kml and track.nmea of N
//                                                  points (1,000,000 by default) for a comparison
//                                                  with other programs (bench/tracks_vs_gpsbabel.sh)
//
// The repetitions of all benchmarks are interleaved at random (unless the command line says
// otherwise), so that a busy moment of a shared machine does not fall on one side of a ratio only.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "paired_runs.h"

#include "core/gps/gps_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSmall = 10'000;
constexpr int kLarge = 1'000'000;

// ---------------------------------------------------------------------------------------------
// Generated tracks

// One fix of the generated outing, in UTC.
struct Fix {
  long long Seconds;  // since 2021-03-02 00:00:00 UTC
  double Latitude, Longitude, Altitude;
};

// A jog through Tokyo, one fix a second: steps of 2.5 to 3.5 metres whose heading wanders, and a
// height that drifts between 0 and 80 metres. The same seed gives the same track on every run.
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

struct Civil {
  int Year, Month, Day, Hour, Minute, Second;
};

Civil CivilOf(long long seconds) {
  // 2021-03-02 is day 18688 of the Unix epoch; days to a civil date after Howard Hinnant.
  long long days = 18688 + seconds / 86400;
  const int secondOfDay = static_cast<int>(seconds % 86400);
  days += 719468;
  const long long era = days / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
  return {year, month, day, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
}

std::string IsoTime(long long seconds) {
  const Civil c = CivilOf(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", c.Year, c.Month, c.Day, c.Hour, c.Minute,
                c.Second);
  return text;
}

std::string GpxText(const std::vector<Fix>& fixes) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"hakuvo bench\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
      " <trk>\n  <name>Generated outing</name>\n  <trkseg>\n";
  char line[192];
  for (const Fix& f : fixes) {
    std::snprintf(line, sizeof line, "   <trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele><time>%s</time></trkpt>\n",
                  f.Latitude, f.Longitude, f.Altitude, IsoTime(f.Seconds).c_str());
    text += line;
  }
  return text + "  </trkseg>\n </trk>\n</gpx>\n";
}

std::string KmlText(const std::vector<Fix>& fixes) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
      "<Document>\n <name>Generated outing</name>\n <Placemark>\n  <name>Track</name>\n  <gx:Track>\n";
  char line[128];
  for (const Fix& f : fixes) {
    std::snprintf(line, sizeof line, "   <when>%s</when>\n", IsoTime(f.Seconds).c_str());
    text += line;
  }
  for (const Fix& f : fixes) {
    std::snprintf(line, sizeof line, "   <gx:coord>%.7f %.7f %.1f</gx:coord>\n", f.Longitude, f.Latitude, f.Altitude);
    text += line;
  }
  return text + "  </gx:Track>\n </Placemark>\n</Document>\n</kml>\n";
}

// (d)ddmm.mmmm as a receiver writes it.
std::string NmeaAngle(double degrees, int degreeDigits) {
  const int whole = static_cast<int>(degrees);
  char text[32];
  std::snprintf(text, sizeof text, "%0*d%07.4f", degreeDigits, whole, (degrees - whole) * 60);
  return text;
}

std::string WithChecksum(const std::string& body) {
  unsigned sum = 0;
  for (std::size_t i = 1; i < body.size(); ++i) sum ^= static_cast<unsigned char>(body[i]);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
  return body + tail;
}

// A GGA sentence (the height) followed by an RMC sentence (date, time and position) per fix.
std::string NmeaText(const std::vector<Fix>& fixes) {
  std::string text;
  char body[160];
  for (const Fix& f : fixes) {
    const Civil c = CivilOf(f.Seconds);
    const std::string latitude = NmeaAngle(f.Latitude, 2);
    const std::string longitude = NmeaAngle(f.Longitude, 3);
    std::snprintf(body, sizeof body, "$GPGGA,%02d%02d%02d.00,%s,N,%s,E,1,09,0.9,%.1f,M,39.4,M,,", c.Hour, c.Minute,
                  c.Second, latitude.c_str(), longitude.c_str(), f.Altitude);
    text += WithChecksum(body);
    std::snprintf(body, sizeof body, "$GPRMC,%02d%02d%02d.00,A,%s,N,%s,E,5.8,%.1f,%02d%02d%02d,,,A", c.Hour, c.Minute,
                  c.Second, latitude.c_str(), longitude.c_str(), 45.0, c.Day, c.Month, c.Year % 100);
    text += WithChecksum(body);
  }
  return text;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

void WriteTracks(const fs::path& folder, int points) {
  fs::create_directories(folder);
  const std::vector<Fix> fixes = Outing(points);
  WriteFile(folder / "track.gpx", GpxText(fixes));
  WriteFile(folder / "track.kml", KmlText(fixes));
  WriteFile(folder / "track.nmea", NmeaText(fixes));
}

// The generated files, written once into a temporary folder before any timing starts and
// removed when the program ends.
class Tracks {
 public:
  Tracks() {
    std::string pattern = (fs::temp_directory_path() / "hakuvo-bench-tracks-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    FFolder = pattern;
    for (const int points : {kSmall, kLarge}) WriteTracks(FFolder / std::to_string(points), points);
  }
  ~Tracks() {
    std::error_code ignored;
    fs::remove_all(FFolder, ignored);
  }
  Tracks(const Tracks&) = delete;
  Tracks& operator=(const Tracks&) = delete;

  std::string File(int points, const char* extension) const {
    return (FFolder / std::to_string(points) / (std::string("track.") + extension)).string();
  }

 private:
  fs::path FFolder;
};

const Tracks& Files() {
  static const Tracks tracks;
  return tracks;
}

// ---------------------------------------------------------------------------------------------
// The diary's readers: what the program does with a dropped track (read the whole file, sum the
// distance).

void ReadWithOurReader(benchmark::State& state, const char* extension, bool sumDistance) {
  const int points = static_cast<int>(state.range(0));
  const std::string file = Files().File(points, extension);
  for (auto _ : state) {
    const auto track = hakuvo::CreateGpsFile(file);
    track->SetFileName(file);
    if (track->GpsList.Count() != points) state.SkipWithError("the reader did not take every point");
    if (sumDistance) benchmark::DoNotOptimize(track->TotalDistance());
  }
  state.SetItemsProcessed(state.iterations() * points);
}

void BM_ReadGpx(benchmark::State& state) { ReadWithOurReader(state, "gpx", true); }
void BM_ReadKml(benchmark::State& state) { ReadWithOurReader(state, "kml", true); }
void BM_ReadNmea(benchmark::State& state) { ReadWithOurReader(state, "nmea", true); }
// The reading alone, without the distance, which the references do not compute.
void BM_ReadGpxNoDistance(benchmark::State& state) { ReadWithOurReader(state, "gpx", false); }
void BM_ReadKmlNoDistance(benchmark::State& state) { ReadWithOurReader(state, "kml", false); }
void BM_ReadNmeaNoDistance(benchmark::State& state) { ReadWithOurReader(state, "nmea", false); }

// The Hubeny sum alone over the points of the large GPX, to show how much of a reading it is.
void BM_TotalDistanceOnly(benchmark::State& state) {
  const std::string file = Files().File(kLarge, "gpx");
  const auto track = hakuvo::CreateGpsFile(file);
  track->SetFileName(file);
  for (auto _ : state) benchmark::DoNotOptimize(track->TotalDistance());
  state.SetItemsProcessed(state.iterations() * kLarge);
}

// ---------------------------------------------------------------------------------------------
// References: the least a reader of the same file can do. Numbers through std::from_chars, times
// by hand into seconds, points into a plain vector.

struct BarePoint {
  long long Seconds;
  double Latitude, Longitude, Altitude;
};

double Number(std::string_view text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
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

// "yyyy-mm-ddThh:mm:ss..." as seconds since 1970; no checks, as the file is known.
long long IsoSeconds(const char* text) {
  if (std::strlen(text) < 19) return 0;
  return DaysFromCivil(Digits(text, 4), Digits(text + 5, 2), Digits(text + 8, 2)) * 86400 +
         Digits(text + 11, 2) * 3600 + Digits(text + 14, 2) * 60 + Digits(text + 17, 2);
}

void BM_BareGpx(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const std::string file = Files().File(points, "gpx");
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_file(file.c_str())) state.SkipWithError("pugixml could not parse the file");
    std::vector<BarePoint> list;
    for (const pugi::xml_node point : document.child("gpx").child("trk").child("trkseg").children("trkpt")) {
      list.push_back({IsoSeconds(point.child("time").child_value()), Number(point.attribute("lat").value()),
                      Number(point.attribute("lon").value()), Number(point.child("ele").child_value())});
    }
    if (static_cast<int>(list.size()) != points) state.SkipWithError("the bare reading missed points");
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * points);
}

void BM_BareKml(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const std::string file = Files().File(points, "kml");
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_file(file.c_str())) state.SkipWithError("pugixml could not parse the file");
    const pugi::xml_node track = document.child("kml").child("Document").child("Placemark").child("gx:Track");
    std::vector<long long> times;
    std::vector<BarePoint> list;
    for (const pugi::xml_node child : track.children()) {
      const char* name = child.name();
      if (std::strcmp(name, "when") == 0) {
        times.push_back(IsoSeconds(child.child_value()));
      } else if (std::strcmp(name, "gx:coord") == 0) {
        const std::string_view text = child.child_value();
        const std::size_t first = text.find(' ');
        const std::size_t second = text.find(' ', first + 1);
        const long long seconds = list.size() < times.size() ? times[list.size()] : 0;
        list.push_back({seconds, Number(text.substr(first + 1, second - first - 1)), Number(text.substr(0, first)),
                        Number(text.substr(second + 1))});
      }
    }
    if (static_cast<int>(list.size()) != points) state.SkipWithError("the bare reading missed points");
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * points);
}

std::string ReadWhole(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes;
  in.seekg(0, std::ios::end);
  bytes.resize(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

double NmeaDegrees(std::string_view field) {
  const double raw = Number(field) / 100;
  const double degrees = std::trunc(raw);
  return degrees + (raw - degrees) * 100 / 60;
}

void BM_BareNmea(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const std::string file = Files().File(points, "nmea");
  for (auto _ : state) {
    const std::string text = ReadWhole(file);
    std::vector<BarePoint> list;
    double altitude = 0;
    std::string_view fields[16];
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string_view line(text.data() + start, end - start);
      start = end + 1;
      std::size_t count = 0;
      for (std::size_t from = 0; count < 16;) {
        const std::size_t comma = line.find(',', from);
        fields[count++] = line.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from);
        if (comma == std::string_view::npos) break;
        from = comma + 1;
      }
      if (line.starts_with("$GPGGA") && count > 9) {
        altitude = Number(fields[9]);
      } else if (line.starts_with("$GPRMC") && count > 9 && fields[2] == "A") {
        const char* time = fields[1].data();
        const char* date = fields[9].data();
        const long long seconds =
            DaysFromCivil(2000 + Digits(date + 4, 2), Digits(date + 2, 2), Digits(date, 2)) * 86400 +
            Digits(time, 2) * 3600 + Digits(time + 2, 2) * 60 + Digits(time + 4, 2);
        list.push_back({seconds, NmeaDegrees(fields[3]), NmeaDegrees(fields[5]), altitude});
        altitude = 0;
      }
    }
    if (static_cast<int>(list.size()) != points) state.SkipWithError("the bare reading missed points");
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * points);
}

// The large files take about a second each: a fixed, small number of readings per repetition.
void Sizes(benchmark::internal::Benchmark* benchmark) { benchmark->Unit(benchmark::kMillisecond)->Repetitions(5); }

BENCHMARK(BM_ReadGpx)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_ReadGpxNoDistance)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_BareGpx)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_ReadKml)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_ReadKmlNoDistance)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_BareKml)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_ReadNmea)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_ReadNmeaNoDistance)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_BareNmea)->Arg(kSmall)->Apply(Sizes);
BENCHMARK(BM_ReadGpx)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_ReadGpxNoDistance)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_BareGpx)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_ReadKml)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_ReadKmlNoDistance)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_BareKml)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_ReadNmea)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_ReadNmeaNoDistance)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_BareNmea)->Arg(kLarge)->Iterations(3)->Apply(Sizes);
BENCHMARK(BM_TotalDistanceOnly)->Iterations(3)->Apply(Sizes);

// Keeps the median time of each benchmark so that the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that a saved report stays plain text.
  RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        const std::string name = run.run_name.function_name + "/" + run.run_name.args;
        RealMedians[name] = run.GetAdjustedRealTime();
        CpuMedians[name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> RealMedians;
  std::map<std::string, double> CpuMedians;
};

// CPU seconds of one reading of the large file of a format by our reader, distance included.
double TimeReading(const char* extension) {
  const std::string file = Files().File(kLarge, extension);
  const double start = hakuvo::bench::CpuSeconds();
  const auto track = hakuvo::CreateGpsFile(file);
  track->SetFileName(file);
  benchmark::DoNotOptimize(track->TotalDistance());
  if (track->GpsList.Count() != kLarge) throw std::runtime_error("the reader did not take every point");
  return hakuvo::bench::CpuSeconds() - start;
}

int WriteTracksCommand(const std::string& folder, int points) {
  WriteTracks(folder, points);
  for (const char* name : {"track.gpx", "track.kml", "track.nmea"}) {
    std::cout << (fs::path(folder) / name).string() << ": " << points << " points, "
              << fs::file_size(fs::path(folder) / name) / (1024 * 1024) << " MiB\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string writeFlag = "--write-tracks=";
  const std::string pointsFlag = "--points=";
  const std::string pairsFlag = "--pairs=";
  std::string writeFolder;
  int points = kLarge;
  int pairs = 9;
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], writeFlag.c_str(), writeFlag.size()) == 0) {
      writeFolder = argv[i] + writeFlag.size();
    } else if (std::strncmp(argv[i], pointsFlag.c_str(), pointsFlag.size()) == 0) {
      points = std::atoi(argv[i] + pointsFlag.size());
    } else if (std::strncmp(argv[i], pairsFlag.c_str(), pairsFlag.size()) == 0) {
      pairs = std::atoi(argv[i] + pairsFlag.size());
    } else {
      rest.push_back(argv[i]);
    }
  }
  if (!writeFolder.empty()) {
    if (points <= 0) {
      std::cerr << "bench_tracks: --points needs a positive number\n";
      return 2;
    }
    return WriteTracksCommand(writeFolder, points);
  }

  // Interleaving by default; a flag given on the command line comes later and wins.
  if (!hakuvo::bench::InitializeWithDefaults(static_cast<int>(rest.size()), rest.data(),
                                             {"--benchmark_enable_random_interleaving=true"})) {
    return 1;
  }
  Files();  // generated before any timing starts
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // Real time is what the user waits for; CPU time is the steadier figure on a machine whose
  // cores are shared, as it leaves out the time spent waiting for one.
  const auto ratio = [&reporter](const std::string& name, const std::string& reference) {
    const auto& real = reporter.RealMedians;
    const auto& cpu = reporter.CpuMedians;
    if (!real.count(name) || !real.count(reference)) return;
    std::cout << name << " / " << reference << " = " << real.at(name) / real.at(reference) << " real, "
              << cpu.at(name) / cpu.at(reference) << " CPU (medians)\n";
  };
  for (const int size : {kSmall, kLarge}) {
    const std::string arg = "/" + std::to_string(size);
    for (const char* format : {"Gpx", "Kml", "Nmea"}) {
      ratio(std::string("BM_Read") + format + arg, std::string("BM_Bare") + format + arg);
      ratio(std::string("BM_Read") + format + "NoDistance" + arg, std::string("BM_Bare") + format + arg);
    }
  }
  benchmark::Shutdown();
  // The figures that count for the KML reader: its time for the same points beside the GPX
  // reader's, paired.
  if (pairs > 0) {
    std::cout << "\n";
    hakuvo::bench::PrintPairs(
        "KML reader", "GPX reader",
        hakuvo::bench::MeasurePairs(
            pairs, 1, [](int) { return TimeReading("kml"); }, [](int) { return TimeReading("gpx"); }));
  }
  return 0;
}
