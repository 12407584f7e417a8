// Writes the sample diaries shipped with the program (data/sample/). Run by hand after a change
// to the data file format: build target make_sample, then ./make_sample data/sample
//
// ./make_sample --years N FILE writes a long jogging diary instead (N years of about two outings
// a day, 15,000 for twenty years), to time how fast the program starts with a diary of a lifetime.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/model/category_info_list.h"
#include "core/model/link_data.h"
#include "sample_media.h"

using namespace hakuvo;

namespace {

struct Outing {
  int Month, Day, StartHour, StartMinute, Minutes;
  double Km;
  const char* Title;
  std::vector<std::string> Memo;
  const char* Place;
  int Year = 2026;
  // Files beside the diary, linked by their names alone: the diary's folder is where they are.
  std::vector<std::string> Files = {};
};

// The last outing's track and photographs, written beside the diaries: a new user finds the link
// window, the map and the speed graph filled. Times are Japan's (UTC+9), as the outings'.
std::vector<std::string> WriteSampleMedia(const std::string& folder) {
  const double latitude = 35.6717;
  const double longitude = 139.6949;
  const auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out << bytes;
    if (!out) {
      std::fprintf(stderr, "make_sample: cannot write %s/%s\n", folder.c_str(), name.c_str());
      std::exit(1);
    }
  };
  write("sample_track.gpx", sample_media::LoopTrackGpx("2026-11-07T22:00:00Z", 120, latitude, longitude));
  write("sample_photo1.jpg",
        sample_media::PhotographJpeg(640, 480, 40, "2026:11:08 07:05:00", latitude + 0.0022, longitude));
  write("sample_photo2.jpg",
        sample_media::PhotographJpeg(640, 480, 200, "2026:11:08 07:15:00", latitude, longitude + 0.0035));
  return {"sample_track.gpx", "sample_photo1.jpg", "sample_photo2.jpg"};
}

void WriteDiary(const std::string& fileName, TCategoryType kind, double weight, const std::vector<Outing>& outings) {
  TDiary diary(fileName);
  TCategoryInfo& info = *diary.Categories->GetCategoryItems(kind);
  info.SetIndicationKind(1);
  for (const Outing& o : outings) {
    const TDateTime date = EncodeDate(o.Year, o.Month, o.Day);
    TDayData* day = diary.Days.FindDate(date);
    if (day == nullptr) {
      auto fresh = std::make_unique<TDayData>();
      fresh->DateData = date;
      day = diary.Days.Add(std::move(fresh));
    }
    TActData* act = day->AddAct(CreateActData(kind));
    act->Title = o.Title;
    act->Memo = o.Memo;
    act->Place.Title = o.Place;
    auto& record = static_cast<TEnergyConsumptionRecord&>(*act->RecordData);
    record.Tani = info.Tani;
    record.StartTime = EncodeTime(o.StartHour, o.StartMinute, 0);
    record.EndTime = record.StartTime + o.Minutes / MinsPerDay;
    record.SetData(o.Km);
    record.Weight = weight;
    if (auto* walking = dynamic_cast<TWalkingRecord*>(&record)) walking->Pedometer = static_cast<int>(o.Km * 1350);
    for (const std::string& name : o.Files) {
      std::unique_ptr<TFileLink> link = CreateFileLink(name, 0);
      act->LinkDataList.Add(diary.Files.Add(std::move(link)));
    }
  }
  diary.Days.DateSort();
  const std::string name = CategoryNames()[kind];
  diary.File.SetDayGraphCategory(name);
  diary.File.SetMonthGraphCategory(name);
  diary.File.SetYearGraphCategory(name);
  diary.File.SetComboCategory(name);
  // The action graph opens at first start: distance as bars beside speed as a red line, so a new
  // user sees two different data rather than the count twice.
  diary.File.SetMultiDayGraphCategory(name);
  diary.File.SetMultiDayGraphCategory2(name);
  diary.File.SetMultiDayGraphRecordKind(1);
  diary.File.SetMultiDayGraphRecordKind2(2);
  diary.MultiDayGraphInfo2.SetIsBarSeries(false);
  diary.MultiDayGraphInfo2.SetSeriesColor(0x0000FF);
  diary.MultiDayGraphInfo2.SetLineSeriesWidth(2);
  diary.Save();
}

// Every day of `years` years up to 2025 with one to three outings (about two on average).
void WriteLongDiary(const std::string& fileName, int years) {
  std::mt19937 random(20260101);
  std::vector<Outing> outings;
  const char* titles[] = {"朝ラン", "夕方ジョグ", "ペース走", "LSD", "坂道ダッシュ", "皇居ラン"};
  const char* places[] = {"多摩川河川敷", "皇居外周", "近所の公園", "駅前通り", "河川敷特設コース"};
  for (int year = 2026 - years; year < 2026; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        const int count = 1 + static_cast<int>(random() % 100 < 95) + static_cast<int>(random() % 100 < 10);
        for (int i = 0; i < count; ++i) {
          const double km = 3 + static_cast<int>(random() % 150) / 10.0;
          std::vector<std::string> memo;
          if (random() % 10 < 3) memo = {"脚の調子は良い。", "次はもう少し長く。"};
          outings.push_back({month, day, 6 + i * 6, static_cast<int>(random() % 60), static_cast<int>(km * 6), km,
                             titles[random() % std::size(titles)], memo, places[random() % std::size(places)], year});
        }
      }
    }
  }
  WriteDiary(fileName, ctJogging, 62.5, outings);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--years") {
    const int years = std::atoi(argv[2]);
    if (years < 1 || years > 200) {
      std::fprintf(stderr, "make_sample: --years wants 1 to 200\n");
      return 2;
    }
    WriteLongDiary(argv[3], years);
    std::printf("wrote %s\n", argv[3]);
    return 0;
  }
  const std::string folder = argc > 1 ? argv[1] : ".";
  std::vector<Outing> jogging;
  const char* places[] = {"多摩川河川敷", "皇居外周", "近所の公園"};
  const char* morning[] = {"朝ラン", "ペース走", "LSD"};
  const char* evening[] = {"夕方ジョグ", "皇居ラン"};
  for (int i = 0; i < 24; ++i) {
    const int day = 1 + i * 28 / 24;
    const int month = 10 + (day > 30 ? 1 : 0);
    const double km = 5 + (i * 7 % 9) * 0.8;
    const int minutes = static_cast<int>(km * (5.6 + (i % 4) * 0.35));
    std::vector<std::string> memo;
    if (i % 3 == 0) memo = {"気持ちよく走れた。", "脚の張りは少し。"};
    if (i % 5 == 1) memo = {"向かい風が強かった。"};
    jogging.push_back({month, day > 30 ? day - 30 : day, i % 2 ? 18 : 6, i % 2 ? 30 : 15, minutes, km,
                       i % 2 ? evening[i / 2 % 2] : morning[i / 2 % 3], memo, places[i % 3]});
  }
  jogging.push_back(
      {11, 3, 9, 0, 128, 21.1, "ハーフマラソン大会", {"自己ベスト更新！", "1:58:20"}, "河川敷特設コース"});
  const std::vector<std::string> media = WriteSampleMedia(folder);
  jogging.push_back(
      {11, 8, 7, 0, 20, 3.6, "公園ループ", {"大会明けの軽いジョグ。", "写真を二枚。"}, "代々木公園", 2026, media});
  WriteDiary(folder + "/sample.hkvj", ctJogging, 62.5, jogging);

  std::vector<Outing> walking;
  for (int i = 0; i < 14; ++i) {
    walking.push_back({11, 1 + i, 7, 0, 40 + i % 3 * 10, 3.2 + (i % 4) * 0.6, i % 2 ? "朝の散歩" : "買い物がてら",
                       i % 4 == 0 ? std::vector<std::string>{"紅葉がきれいだった。"} : std::vector<std::string>{},
                       "駅前通り"});
  }
  WriteDiary(folder + "/sample.hkvw", ctWalking, 62.5, walking);

  std::vector<Outing> bicycle;
  for (int i = 0; i < 8; ++i) {
    bicycle.push_back({10, 4 + i * 3, 8, 30, 60 + i * 15, 18 + i * 4.5, i % 2 ? "サイクリング" : "湖一周",
                       i == 3 ? std::vector<std::string>{"峠の登りがきつい。"} : std::vector<std::string>{},
                       "湖畔サイクリングロード"});
  }
  WriteDiary(folder + "/sample.hkvb", ctBicycle, 62.5, bicycle);
  std::printf("wrote sample.hkvj, sample.hkvw and sample.hkvb to %s\n", folder.c_str());
  return 0;
}
