// Load and save of a generated 20-year diary, each beside what pugixml alone needs for the same
// file in the same run: a parse that walks every element and converts every attribute with
// std::from_chars, and a build of the same document that is written with save_file.
//
// Also counts the heap while a load and a save run: the peaks are reported against the file's
// size.
//
// The figures that count are the paired ones printed after the table: each pair times the code
// and its reference right after each other (in turns, which goes first), and the ratio is taken
// within the pair, so that a busy moment of a shared machine falls on both sides of a ratio. The
// minimum and the median of those ratios are printed; the table's own statistics come from
// repetitions run minutes apart and are not fit for a ratio.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>
#include <pugixml.hpp>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "bare_walk.h"
#include "core/common/date_time.h"
#include "core/datafile/day_data_file.h"

#include "paired_runs.h"

// Every heap byte of the process, through operator new and pugixml's allocator.
namespace heap {

std::atomic<long long> Current{0};
std::atomic<long long> Peak{0};

[[gnu::noinline]] void* Take(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) return nullptr;
  const long long now = Current += static_cast<long long>(malloc_usable_size(block));
  long long peak = Peak.load();
  while (now > peak && !Peak.compare_exchange_weak(peak, now)) {
  }
  return block;
}

// The same for blocks laid on a boundary (the reader's large buffers).
[[gnu::noinline]] void* TakeAligned(std::size_t size, std::size_t alignment) {
  void* block = nullptr;
  if (posix_memalign(&block, std::max(alignment, sizeof(void*)), size == 0 ? 1 : size) != 0) return nullptr;
  const long long now = Current += static_cast<long long>(malloc_usable_size(block));
  long long peak = Peak.load();
  while (now > peak && !Peak.compare_exchange_weak(peak, now)) {
  }
  return block;
}

[[gnu::noinline]] void Give(void* block) {
  if (block == nullptr) return;
  Current -= static_cast<long long>(malloc_usable_size(block));
  std::free(block);
}

// Before any document exists.
const bool kPugixmlCounted = (pugi::set_memory_management_functions(Take, Give), true);

}  // namespace heap

void* operator new(std::size_t size) {
  if (void* block = heap::Take(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { heap::Give(block); }
void operator delete[](void* block) noexcept { heap::Give(block); }
void operator delete(void* block, std::size_t) noexcept { heap::Give(block); }
void operator delete[](void* block, std::size_t) noexcept { heap::Give(block); }
void* operator new(std::size_t size, std::align_val_t alignment) {
  if (void* block = heap::TakeAligned(size, static_cast<std::size_t>(alignment))) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void operator delete(void* block, std::align_val_t) noexcept { heap::Give(block); }
void operator delete[](void* block, std::align_val_t) noexcept { heap::Give(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { heap::Give(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { heap::Give(block); }

namespace {

using namespace hakuvo;
namespace fs = std::filesystem;

struct TDiaryObjects {
  TDiaryObjects() {
    File.SetDayDataList(&Days);
    File.SetCategoryInfoList(Categories.get());
    File.SetFileList(&Files);
    File.SetThingList(&Things);
    File.SetPersonList(&Persons);
    File.SetMultiDayGraphInfo(&MultiDayGraphInfo);
    File.SetMultiDayGraphInfo2(&MultiDayGraphInfo2);
    File.SetChildWindowInfo(&ChildWindowInfo);
  }

  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Categories = TCategoryInfoList::CreateStandard();
  TLinkDataOwner Files;
  TLinkDataOwner Things;
  TLinkDataOwner Persons;
  TGraphInfo MultiDayGraphInfo;
  TGraphInfo MultiDayGraphInfo2;
  TChildWindowInfo ChildWindowInfo;
  TDayDataFile File;
};

const char* const kPhrases[] = {"皇居の周りを二周した。", "桜がきれいだった。",     "向かい風が強くて苦しい。",
                                "途中で雨に降られた。",   "新しい靴の調子が良い。", "膝に少し違和感あり。",
                                "朝の空気が気持ちいい。", "川沿いの道を往復。",     "信号待ちが多かった。",
                                "ペースを上げてみた。"};
const char* const kPlaces[] = {"皇居", "代々木公園", "多摩川", "駒沢公園", "荒川河川敷", "石神井公園"};
const char* const kWeathers[] = {"晴れ", "曇り", "雨", "雪", ""};

std::string Memo(std::mt19937& random) {
  std::string text;
  const int lines = 1 + static_cast<int>(random() % 2);
  for (int i = 0; i < lines; ++i) {
    if (i > 0) text += "\n";
    text += kPhrases[random() % std::size(kPhrases)];
    text += kPhrases[random() % std::size(kPhrases)];
  }
  return text;
}

TCategoryType PickCategory(std::mt19937& random) {
  const unsigned roll = random() % 100;
  if (roll < 38) return ctJogging;
  if (roll < 62) return ctWalking;
  if (roll < 76) return ctBicycle;
  return static_cast<TCategoryType>(random() % CategoryTypeCount);  // every kind, the three again
}

// About 7,300 days and 15,000 actions, every record class, memos, places and links of all kinds.
void Generate(TDiaryObjects& diary) {
  std::mt19937 random(20240601);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<TLinkData*> things;
  std::vector<TLinkData*> persons;
  for (int i = 0; i < 40; ++i) {
    auto thing = std::make_unique<TThingLink>();
    thing->SetName("道具" + std::to_string(i));
    thing->SetCategory("靴");
    thing->Memo() = SplitLines(Memo(random));
    things.push_back(diary.Things.Add(std::move(thing)));
    auto person = std::make_unique<TPersonLink>();
    person->SetLastName("山田");
    person->SetFirstName("太郎" + std::to_string(i));
    person->SetMailAddress("taro" + std::to_string(i) + "@example.jp");
    person->SetLatitude(35 + unit(random));
    persons.push_back(diary.Persons.Add(std::move(person)));
  }
  const TDateTime first = EncodeDate(2005, 1, 1);
  int fileNumber = 0;
  for (int d = 0; d < 7300; ++d) {
    auto day = std::make_unique<TDayData>();
    day->DateData = first + d;
    day->Weather = kWeathers[random() % std::size(kWeathers)];
    if (random() % 10 == 0) day->Memo = SplitLines(Memo(random));
    const unsigned roll = random() % 100;
    const int acts = roll < 25 ? 1 : roll < 70 ? 2 : roll < 95 ? 3 : 4;
    for (int a = 0; a < acts; ++a) {
      const TCategoryType category = PickCategory(random);
      auto act = CreateActData(category);
      act->Category = category;
      if (category == ctUserCategory) act->UserCategory = "ヨガ";
      act->Title = std::string(kPlaces[random() % std::size(kPlaces)]) + "コース";
      act->Weather = kWeathers[random() % std::size(kWeathers)];
      act->Temperature = static_cast<int>(random() % 350) / 10.0L;
      act->WindDirection = static_cast<std::int8_t>(static_cast<int>(random() % 17) - 1);
      act->WindSpeed = static_cast<int>(random() % 100) / 10.0L;
      if (random() % 10 < 3) act->Memo = SplitLines(Memo(random));
      if (random() % 10 < 3) {
        act->Place.Title = kPlaces[random() % std::size(kPlaces)];
        act->Place.Address = "東京都";
        act->Place.Latitude = 35 + unit(random);
        act->Place.Longitude = 139 + unit(random);
      }
      TRecordData& record = *act->RecordData;
      const int startMinute = 300 + static_cast<int>(random() % 900);
      record.StartTime = startMinute / 1440.0;
      record.SetData(static_cast<int>(random() % 2000) / 100.0L);
      if (auto* time = dynamic_cast<TTimeRecord*>(&record)) time->EndTime = (startMinute + 30 + random() % 90) / 1440.0;
      if (auto* energy = dynamic_cast<TEnergyConsumptionRecord*>(&record)) energy->Weight = 60 + random() % 200 / 10.0L;
      if (auto* walking = dynamic_cast<TWalkingRecord*>(&record))
        walking->Pedometer = static_cast<int>(random() % 20000);
      if (auto* fishing = dynamic_cast<TFishingRecord*>(&record)) fishing->Dimension = random() % 500 / 10.0L;
      if (auto* pressure = dynamic_cast<TBloodPressureRecord*>(&record)) pressure->Pulse = 60 + random() % 30;
      record.Tani = diary.Categories->GetCategoryItems(category)->Tani;

      const bool outing = dynamic_cast<TTimeRecord*>(&record) != nullptr;
      if (outing && random() % 10 < 5) {
        auto gps = std::make_unique<TGpsFileLink>();
        gps->FileName = "/home/user/gps/" + std::to_string(++fileNumber) + ".gpx";
        gps->EndPos = 1;
        act->LinkDataList.Add(diary.Files.Add(std::move(gps)));
      }
      if (random() % 10 < 2) {
        auto image = std::make_unique<TImageFileLink>();
        image->FileName = "/home/user/写真/IMG_" + std::to_string(++fileNumber) + ".JPG";
        image->RotateAngle = 90 * static_cast<int>(random() % 4);
        act->LinkDataList.Add(diary.Files.Add(std::move(image)));
      }
      if (random() % 10 == 0) act->LinkDataList.Add(things[random() % things.size()]);
      if (random() % 10 == 0) act->LinkDataList.Add(persons[random() % persons.size()]);
      if (auto* book = dynamic_cast<TBookAct*>(act.get())) book->Author = "著者";
      day->AddAct(std::move(act));
    }
    diary.Days.Add(std::move(day));
  }
}

// The generated diary, written once; removed at exit.
struct TBenchFile {
  TBenchFile() {
    Folder = fs::temp_directory_path() / ("hakuvo-bench-datafile-" + std::to_string(::getpid()));
    fs::create_directories(Folder);
    Path = Folder / "diary.hkvj";
    TDiaryObjects diary;
    Generate(diary);
    diary.File.SetFileName(Path.string());
    diary.File.Save();
    Size = fs::file_size(Path);
    for (const auto& day : diary.Days) Actions += day->ActDataList.Count();
    Days = diary.Days.Count();
  }
  ~TBenchFile() {
    std::error_code ignored;
    fs::remove_all(Folder, ignored);
  }
  fs::path Folder;
  fs::path Path;
  std::uintmax_t Size = 0;
  int Days = 0;
  int Actions = 0;
};

const TBenchFile& BenchFile() {
  static const TBenchFile file;
  return file;
}

void SetFileCounters(benchmark::State& state) {
  const TBenchFile& file = BenchFile();
  state.counters["file_MB"] = static_cast<double>(file.Size) / 1e6;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.Size));
}

void BM_Load(benchmark::State& state) {
  const TBenchFile& file = BenchFile();
  double peakRatio = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto diary = std::make_unique<TDiaryObjects>();
    diary->File.SetFileName(file.Path.string());
    const long long before = heap::Current.load();
    heap::Peak = before;
    state.ResumeTiming();
    diary->File.Load();
    state.PauseTiming();
    peakRatio = static_cast<double>(heap::Peak.load() - before) / static_cast<double>(file.Size);
    if (diary->Days.Count() != file.Days) state.SkipWithError("the load lost days");
    diary.reset();
    state.ResumeTiming();
  }
  state.counters["peak_heap_per_file_byte"] = peakRatio;
  state.counters["days"] = file.Days;
  state.counters["actions"] = file.Actions;
  SetFileCounters(state);
}

using hakuvo::bench::WalkNumbers;

void BM_BarePugixmlParseAndWalk(benchmark::State& state) {
  const TBenchFile& file = BenchFile();
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_file(file.Path.c_str())) state.SkipWithError("parse failed");
    long long attributes = 0;
    benchmark::DoNotOptimize(WalkNumbers(document, attributes));
    benchmark::DoNotOptimize(attributes);
  }
  SetFileCounters(state);
}

void BM_Save(benchmark::State& state) {
  const TBenchFile& file = BenchFile();
  TDiaryObjects diary;
  diary.File.SetFileName(file.Path.string());
  diary.File.Load();
  diary.File.SetFileName((file.Folder / "saved.hkvj").string());
  for (auto _ : state) diary.File.Save();
  SetFileCounters(state);
}

void CopyTree(pugi::xml_node from, pugi::xml_node to) {
  for (pugi::xml_node child = from.first_child(); child; child = child.next_sibling()) {
    pugi::xml_node copy = to.append_child(child.type());
    copy.set_name(child.name());
    for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute()) {
      copy.append_attribute(a.name()).set_value(a.value());
    }
    CopyTree(child, copy);
  }
}

// The same document built node by node from texts already at hand, and written by pugixml.
void BM_BarePugixmlBuildAndSaveFile(benchmark::State& state) {
  const TBenchFile& file = BenchFile();
  pugi::xml_document source;
  source.load_file(file.Path.c_str(), pugi::parse_default | pugi::parse_declaration);
  const std::string target = (file.Folder / "bare.hkvj").string();
  for (auto _ : state) {
    pugi::xml_document document;
    CopyTree(source, document);
    if (!document.save_file(target.c_str(), "", pugi::format_raw, pugi::encoding_utf8)) {
      state.SkipWithError("save_file failed");
    }
  }
  SetFileCounters(state);
}

// ---- Paired measurements ------------------------------------------------------------------------

using hakuvo::bench::CpuSeconds;
using hakuvo::bench::MeasurePairs;
using hakuvo::bench::PrintPairs;

// CPU seconds of `rounds` runs of `run`; `prepare` and `finish` run around each, untimed.
template <typename Prepare, typename Run, typename Finish>
double TimeRounds(int rounds, Prepare&& prepare, Run&& run, Finish&& finish) {
  double total = 0;
  for (int i = 0; i < rounds; ++i) {
    prepare();
    const double start = CpuSeconds();
    run();
    total += CpuSeconds() - start;
    finish();
  }
  return total / rounds;
}

void RunPaired(int pairs) {
  const TBenchFile& file = BenchFile();
  std::unique_ptr<TDiaryObjects> diary;
  const auto load = [&](int rounds = 1) {
    return TimeRounds(
        rounds,
        [&] {
          diary = std::make_unique<TDiaryObjects>();
          diary->File.SetFileName(file.Path.string());
        },
        [&] { diary->File.Load(); }, [&] { diary.reset(); });
  };
  const auto walk = [&](int rounds = 1) {
    return TimeRounds(
        rounds, [] {},
        [&] {
          pugi::xml_document document;
          document.load_file(file.Path.c_str());
          long long attributes = 0;
          benchmark::DoNotOptimize(WalkNumbers(document, attributes));
        },
        [] {});
  };
  PrintPairs("load", "bare parse-and-walk", MeasurePairs(pairs, 3, load, walk));

  TDiaryObjects loaded;
  loaded.File.SetFileName(file.Path.string());
  loaded.File.Load();
  loaded.File.SetFileName((file.Folder / "saved.hkvj").string());
  pugi::xml_document source;
  source.load_file(file.Path.c_str(), pugi::parse_default | pugi::parse_declaration);
  const std::string bare = (file.Folder / "bare.hkvj").string();
  const auto save = [&](int rounds = 1) {
    return TimeRounds(
        rounds, [] {}, [&] { loaded.File.Save(); }, [] {});
  };
  const auto bareSave = [&](int rounds = 1) {
    return TimeRounds(
        rounds, [] {},
        [&] {
          pugi::xml_document document;
          CopyTree(source, document);
          document.save_file(bare.c_str(), "", pugi::format_raw, pugi::encoding_utf8);
        },
        [] {});
  };
  PrintPairs("save", "bare build-and-save_file", MeasurePairs(pairs, 3, save, bareSave));
}

// The heap's peak above what was in use before, while `run` runs.
template <typename Run>
long long PeakHeap(Run&& run) {
  const long long before = heap::Current.load();
  heap::Peak = before;
  run();
  return heap::Peak.load() - before;
}

void PrintPeaks() {
  const TBenchFile& file = BenchFile();
  const auto megabytes = [](long long bytes) { return static_cast<double>(bytes) / 1e6; };
  const auto perByte = [&](long long bytes) { return static_cast<double>(bytes) / static_cast<double>(file.Size); };
  TDiaryObjects diary;
  diary.File.SetFileName(file.Path.string());
  const long long load = PeakHeap([&] { diary.File.Load(); });
  diary.File.SetFileName((file.Folder / "saved.hkvj").string());
  const long long save = PeakHeap([&] { diary.File.Save(); });
  const long long toString = PeakHeap([&] { benchmark::DoNotOptimize(diary.File.SaveToString()); });
  std::cout << "peak heap above the diary's own, file " << megabytes(static_cast<long long>(file.Size)) << " MB: load "
            << megabytes(load) << " MB (" << perByte(load) << " per file byte), save " << megabytes(save) << " MB ("
            << perByte(save) << "), the same document into a string " << megabytes(toString) << " MB ("
            << perByte(toString) << ")\n";
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", bench::Minimum);
BENCHMARK(BM_BarePugixmlParseAndWalk)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", bench::Minimum);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", bench::Minimum);
BENCHMARK(BM_BarePugixmlBuildAndSaveFile)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", bench::Minimum);

}  // namespace

constexpr int kPairs = 21;

int main(int argc, char** argv) {
  if (!bench::InitializeWithDefaults(
          argc, argv,
          {"--benchmark_enable_random_interleaving=true", "--benchmark_repetitions=3", "--benchmark_min_time=0.5"}))
    return 1;
  BenchFile();  // generated before any timing starts
  bench::TAggregateReporter reporter(true);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // CPU time: on a machine whose cores are shared it leaves out the time spent waiting for one.
  const auto ratio = [&reporter](const std::string& name, const std::string& reference) {
    const auto& cpu = reporter.Cpu;
    if (!cpu.count(name) || !cpu.count(reference)) return;
    std::cout << name << " / " << reference << " (CPU time):";
    for (const char* statistic : {"median", "min"}) {
      const auto a = cpu.at(name).find(statistic);
      const auto b = cpu.at(reference).find(statistic);
      if (a != cpu.at(name).end() && b != cpu.at(reference).end()) {
        std::cout << ' ' << statistic << "s " << a->second / b->second;
      }
    }
    std::cout << '\n';
  };
  ratio("BM_Load", "BM_BarePugixmlParseAndWalk");
  ratio("BM_Save", "BM_BarePugixmlBuildAndSaveFile");
  std::cout << '\n';
  PrintPeaks();
  RunPaired(kPairs);
  benchmark::Shutdown();
  return 0;
}
