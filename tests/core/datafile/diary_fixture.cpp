#include "core/datafile/diary_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace hakuvo {

namespace {

TDayDataFileView ViewOf(const TDayDataFile& file) {
  TDayDataFileView view;
  view.DayGraphCategory = file.DayGraphCategory();
  view.MonthGraphCategory = file.MonthGraphCategory();
  view.YearGraphCategory = file.YearGraphCategory();
  view.ComboCategory = file.ComboCategory();
  view.MultiDayGraphCategory = file.MultiDayGraphCategory();
  view.MultiDayGraphCategory2 = file.MultiDayGraphCategory2();
  view.MultiDayGraphRecordKind2 = file.MultiDayGraphRecordKind2();
  view.MultiDayGraphRecordKind = file.MultiDayGraphRecordKind();
  view.Width = file.Width();
  view.Top = file.Top();
  view.Height = file.Height();
  view.Left = file.Left();
  return view;
}

void SetView(TDayDataFile& file, const TDayDataFileView& view) {
  file.SetDayGraphCategory(view.DayGraphCategory);
  file.SetMonthGraphCategory(view.MonthGraphCategory);
  file.SetYearGraphCategory(view.YearGraphCategory);
  file.SetComboCategory(view.ComboCategory);
  file.SetMultiDayGraphCategory(view.MultiDayGraphCategory);
  file.SetMultiDayGraphCategory2(view.MultiDayGraphCategory2);
  file.SetMultiDayGraphRecordKind2(view.MultiDayGraphRecordKind2);
  file.SetMultiDayGraphRecordKind(view.MultiDayGraphRecordKind);
  file.SetWidth(view.Width);
  file.SetTop(view.Top);
  file.SetHeight(view.Height);
  file.SetLeft(view.Left);
}

// Runs a load and takes the file's choices back whatever happens.
template <typename F>
void LoadThrough(TDiaryFixture& diary, TDayDataFile& file, F&& load) {
  try {
    load(file);
  } catch (...) {
    diary.View = ViewOf(file);
    throw;
  }
  diary.View = ViewOf(file);
}

void FillGraphInfo(TGraphInfo& graph, int seed) {
  graph.SetIsYAxisDate(seed % 2 == 0);
  graph.SetIsBarSeries(seed % 2 == 1);
  graph.SetSeriesColor(0x102030 + seed);
  graph.SetLineSeriesWidth(3 + seed);
  graph.SetBarSeriesWidth(5 + seed);
  graph.SetDayAxisKind(static_cast<TDayAxisType>(seed % 3));
  graph.SetAxisTerm(60 + seed);
  graph.SetStartDate(42000 + seed);
  graph.SetEndDate(42100.5 + seed);
  graph.SetIsAutoRecordAxis(seed % 2 == 0);
  graph.SetRecordAxisMax(100.25L + seed);
  graph.SetRecordAxisMin(-3.5L - seed);
  for (std::size_t i = 0; i < graph.RecordAxisTitle.size(); ++i) {
    graph.RecordAxisTitle[i] = "軸タイトル" + std::to_string(seed) + "-" + std::to_string(i);
  }
}

void FillCategory(TCategoryInfo& info) {
  const int seed = info.Category();
  info.SetIndicationKind(info.RecordNumber() - 1);
  info.SetIsRecordData(!info.IsRecordData());
  info.SetIsTime(!info.IsTime());
  info.SetIsWeather(true);
  info.SetIsTemperature(seed % 2 == 0);
  info.SetIsWindDirection(seed % 3 == 0);
  info.SetIsWindSpeed(true);
  if (auto* fishing = dynamic_cast<TFishingCategoryInfo*>(&info)) {
    fishing->SetIsDimension(true);
    fishing->SetIsWaterTemperature(true);
  }
  if (auto* energy = dynamic_cast<TEnergyConsumptionCategoryInfo*>(&info)) energy->SetIsWeight(true);
  if (auto* walking = dynamic_cast<TWalkingCategoryInfo*>(&info)) walking->SetIsPedometer(false);
  if (auto* evaluation = dynamic_cast<TEvaluationCategoryInfo*>(&info)) evaluation->SetIsUrl(true);
  if (auto* book = dynamic_cast<TBookCategoryInfo*>(&info)) book->SetIsAuthor(false);
  if (auto* pressure = dynamic_cast<TBloodPressureCategoryInfo*>(&info)) {
    pressure->SetIsMinBloodPressure(true);
    pressure->SetIsPulse(true);
  }
  for (std::size_t i = 0; i < info.Tani.size(); ++i) {
    info.Tani[i] = "単位" + std::to_string(seed) + "." + std::to_string(i);
    info.CalcKind[i] = static_cast<TRecordCalcKind>((seed + i) % 3);
  }
  FillGraphInfo(info.GraphInfo(), seed);
  FillGraphInfo(info.MonthGraphInfo(), seed + 1);
  FillGraphInfo(info.YearGraphInfo(), seed + 2);
  TSpeedGraphInfo& speed = info.SpeedGraphInfo();
  speed.SetIsSpeedSeries(false);
  speed.SetSpeedSeriesColor(0x0000F0 + seed);
  speed.SetSpeedLineSeriesWidth(4);
  speed.SetIsAltitudeSeries(false);
  speed.SetAltitudeSeriesColor(0x00F000 + seed);
  speed.SetAltitudeTransparency(55);
  speed.SetIsLeftAutoAxis(false);
  speed.SetLeftAxisMax(30.5L);
  speed.SetLeftAxisMin(1.25L);
  speed.SetIsRightAutoAxis(false);
  speed.SetRightAxisMax(1200);
  speed.SetRightAxisMin(-10);
  speed.SetSpeedMovingAverage(5);
  speed.SetAltitudeMovingAverage(7);
  speed.SetLimitSpeed(45.5L);
  speed.SetBottomAxisKind(baTermMin);
  speed.SetIsAverageSpeed(false);
  speed.SetIsPaceAxis(true);
  info.MapInfo().SetLineColor(0x00FF00 + seed);
  info.MapInfo().SetLineWidth(6);
  info.MapInfo().SetLineOpacity(0.75L);
  info.MapInfo().SetLimitSpeed(12.3L);
  info.MapInfo().SetIsSpeedColor(seed % 2 == 1);  // both states go through the file
}

TFileLink* AddFile(TDiaryFixture& diary, std::unique_ptr<TFileLink> link, const std::string& name) {
  link->FileName = name;
  return static_cast<TFileLink*>(diary.Files.Add(std::move(link)));
}

void FillRecord(TRecordData& record, int seed) {
  record.IndicationKind = seed % record.RecordNumber();
  record.SetData(seed + 0.5L);
  record.StartTime = 0.3125;  // 07:30
  for (std::size_t i = 0; i < record.Tani.size(); ++i) record.Tani[i] = "u" + std::to_string(i);
  if (auto* time = dynamic_cast<TTimeRecord*>(&record)) time->EndTime = 0.375 + seed / 1024.0;
  if (auto* energy = dynamic_cast<TEnergyConsumptionRecord*>(&record)) energy->Weight = 65.5L + seed;
  if (auto* walking = dynamic_cast<TWalkingRecord*>(&record)) walking->Pedometer = 8000 + seed;
  if (auto* fishing = dynamic_cast<TFishingRecord*>(&record)) {
    fishing->Dimension = 23.5L;
    fishing->WaterTemperature = 18.25L;
  }
  if (auto* pressure = dynamic_cast<TBloodPressureRecord*>(&record)) {
    record.StartTime = 42095.8125;  // blood pressure keeps the date with the time
    pressure->MinBloodPressure = 80;
    pressure->Pulse = 62.5L;
  }
}

void FillChildWindowInfo(TChildWindowInfo& info) {
  info.RightPanelDockClientList = {"MapForm\t300\t200", "SpeedGraphForm\t300\t150"};
  info.RightTabDockClientList = {"LinkForm\t300\t200"};
  info.BottomPanelDockClientList = {"ActMultiGraphForm\t150\t300"};
  info.BottomTabDockClientList = {"GraphForm\t150\t300", "MonthGraphForm\t150\t300", "YearGraphForm\t150\t300"};
  info.FloatingList = {"LinkPreviewForm\t10\t20\t400\t300"};
  info.RightPanelDockInfo = std::string("\x01\xAB\x00\xFF\x10", 5);
  info.BottomPanelDockInfo = "layout";
  info.LeftPanelWidth = 165;
  info.RightPanelWidth = 301;
  info.BottomPanelHeight = 302;
  info.MemoPanelHeight = 203;
  info.MapDefaultInfo.SetMapType("SATELLITE");
  info.MapDefaultInfo.SetZoom(15);
  info.MapDefaultInfo.SetLatitude(43.0625L);
  info.MapDefaultInfo.SetLongitude(141.3542L);
  info.LinkViewInfo.SetViewStyle(vsList);
  info.LinkViewInfo.SetThumbnailWidth(160);
  info.LinkViewInfo.SetThumbnailHeight(90);
  info.LinkViewInfo.SetWidthBlank(8);
  info.LinkViewInfo.SetHeightBlank(9);
  info.RecordDialogLeft = -10;
  info.RecordDialogTop = 11;
  info.RecordDialogWidth = 612;
  info.RecordDialogHeight = 413;
  info.RecordDialogLinkPanelVisible = true;
  info.RecordDialogLinkPanelWidth = 314;
  info.RecordDialogLinkPreviewPanelHeight = 215;
  info.ActFormLeft = 16;
  info.ActFormTop = 17;
  info.ActFormWidth = 518;
  info.ActFormHeight = 319;
  info.ActListTitle = 120;
  info.ActListData = 121;
  info.ActListTime = 122;
  info.ActListDate = 123;
  info.ActListEndTime = 124;
  info.ActListSpeed = 125;
  info.ActListWeight = 126;
  info.ActListEnergyConsumption = 127;
  info.IsViewEnergyConsumption = true;
  info.LinkListTitle = 128;
  info.LinkListLink = 129;
  info.LinkListNote = 130;
  info.DropFileDialogDestination = 2;
  info.DropFileDialogJpeg = true;
  info.DropFileDialogGps = true;
  info.DropFileDialogDate = 42095.5;
  info.DropFileDialogCategory = "ウォーキング";
  info.DropFileDialogUserCategory = "ヨガ";
  info.DropFileDialogOneAct = true;
  info.FileLinkSearchFolderList = {"/home/a/写真", "/home/a/gps"};
  info.FileLinkSearchFileNameList = {"*.jpg", "*.gpx"};
  info.IsFileLinkSearchSubFolder = true;
  info.IsFileLinkSearchOneAct = true;
}

}  // namespace

TDiaryFixture::TDiaryFixture() : Categories(TCategoryInfoList::CreateStandard()) {}

TDayDataFile TDiaryFixture::File(const std::string& fileName) {
  TDayDataFile file;
  file.SetFileName(fileName);
  file.SetDayDataList(&Days);
  file.SetCategoryInfoList(Categories.get());
  file.SetFileList(&Files);
  file.SetThingList(&Things);
  file.SetPersonList(&Persons);
  file.SetMultiDayGraphInfo(&MultiDayGraphInfo);
  file.SetMultiDayGraphInfo2(&MultiDayGraphInfo2);
  file.SetChildWindowInfo(&ChildWindowInfo);
  SetView(file, View);
  return file;
}

void TDiaryFixture::Save(const std::filesystem::path& fileName) { File(fileName.string()).Save(); }

std::string TDiaryFixture::SaveToString() { return File("diary.hkvj").SaveToString(); }

void TDiaryFixture::Load(const std::filesystem::path& fileName) {
  TDayDataFile file = File(fileName.string());
  LoadThrough(*this, file, [](TDayDataFile& f) { f.Load(); });
}

void TDiaryFixture::LoadString(const std::string& bytes, const std::string& fileName) {
  TDayDataFile file = File(fileName);
  LoadThrough(*this, file, [&](TDayDataFile& f) { f.LoadFromString(bytes); });
}

void FillDiary(TDiaryFixture& diary) {
  auto image = std::make_unique<TImageFileLink>();
  image->RotateAngle = 90;
  image->ViewFileName = "/cache/{0D3E1C2B-0000-4000-8000-000000000001}.jpg";
  TFileLink* imageLink = AddFile(diary, std::move(image), "/photos/写真 1.jpg");
  auto gps = std::make_unique<TGpsFileLink>();
  gps->StartPos = 0.25;
  gps->EndPos = 0.75;
  gps->ViewFileName = "/cache/{0D3E1C2B-0000-4000-8000-000000000002}.gps";
  TFileLink* gpsLink = AddFile(diary, std::move(gps), "/tracks/run.gpx");
  TFileLink* plainLink = AddFile(diary, std::make_unique<TFileLink>(), "C:\\docs\\memo \"a&b\".txt");
  AddFile(diary, std::make_unique<TFileLink>(), "/unreferenced.pdf");

  auto thing = std::make_unique<TThingLink>();
  thing->SetName("ランニングシューズ");
  thing->SetCategory("靴");
  thing->SetPhotoFileName("/photos/shoes.jpg");
  thing->SetViewFileName("/cache/shoes.jpg");
  thing->SetPhotoRotate(270);
  thing->Memo() = {"2足目", "", "  字下げ"};
  TLinkData* thingLink = diary.Things.Add(std::move(thing));
  diary.Things.Add(std::make_unique<TThingLink>());

  auto person = std::make_unique<TPersonLink>();
  person->SetCategory("友人");
  person->SetPhotoFileName("/photos/taro.png");
  person->SetPhotoRotate(180);
  person->Memo() = {"走友達"};
  int n = 0;
  for (auto setter :
       {&TPersonLink::SetLastName, &TPersonLink::SetFirstName, &TPersonLink::SetMailAddress,
        &TPersonLink::SetMailAddress2, &TPersonLink::SetAddress, &TPersonLink::SetPostCode, &TPersonLink::SetTel,
        &TPersonLink::SetFax, &TPersonLink::SetCellPhoneNumber, &TPersonLink::SetCompanyName,
        &TPersonLink::SetCompanyDepartment, &TPersonLink::SetCompanyMailAddress, &TPersonLink::SetCompanyAddress,
        &TPersonLink::SetCompanyPostCode, &TPersonLink::SetCompanyTel, &TPersonLink::SetCompanyFax,
        &TPersonLink::SetCompanyCellPhoneNumber}) {
    ((*person).*setter)("値" + std::to_string(++n));
  }
  person->SetLatitude(35.6875L);
  person->SetLongitude(139.703125L);
  person->SetCompanyLatitude(-33.5L);
  person->SetCompanyLongitude(151.25L);
  TLinkData* personLink = diary.Persons.Add(std::move(person));

  auto day = std::make_unique<TDayData>();
  day->DateData = 42095;
  day->Weather = "晴れ";
  day->Memo = {"一行目", "", "三行目 <&\"'> と\tタブ"};
  for (int i = 0; i < CategoryTypeCount; ++i) {
    auto act = CreateActData(static_cast<TCategoryType>(i));
    act->Category = static_cast<TCategoryType>(i);
    if (i == ctUserCategory) act->UserCategory = "ヨガ";
    act->Title = "行動" + std::to_string(i);
    act->Tag = "tag" + std::to_string(i);
    act->Memo = {"memo " + std::to_string(i), "二行目"};
    act->Weather = "曇り";
    act->Temperature = 12.3L + i;
    act->WindDirection = static_cast<std::int8_t>(i - 1);
    act->WindSpeed = 3.25L;
    act->Place.Title = "皇居";
    act->Place.Address = "東京都千代田区";
    act->Place.Latitude = 35.6852L;
    act->Place.Longitude = 139.7528L + i;
    FillRecord(*act->RecordData, i);
    if (i == 2) act->CameraClockOffset = -75.5L;  // the one outing whose camera ran fast
    if (auto* fishing = dynamic_cast<TFishingAct*>(act.get())) fishing->FishSpecies = "アジ";
    if (auto* vehicle = dynamic_cast<TTimePlaceAct*>(act.get())) {
      vehicle->DeparturePlace = "新宿";
      vehicle->ArrivalPlace = "渋谷";
    }
    if (auto* evaluation = dynamic_cast<TEvaluationAct*>(act.get())) evaluation->Url = "https://example.org/?a=1&b=2";
    if (auto* book = dynamic_cast<TBookAct*>(act.get())) book->Author = "夏目漱石";
    if (i == ctJogging) {
      for (TLinkData* link : {static_cast<TLinkData*>(gpsLink), static_cast<TLinkData*>(imageLink), thingLink,
                              personLink, static_cast<TLinkData*>(plainLink)}) {
        act->LinkDataList.Add(link);
      }
    }
    if (i == ctWalking) act->LinkDataList.Add(imageLink);  // a link shared by two actions
    day->AddAct(std::move(act));
  }
  diary.Days.Add(std::move(day));

  // A second day without memo, and an earlier day after it: the list order is kept as it is.
  auto second = std::make_unique<TDayData>();
  second->DateData = 42096;
  auto jogging = CreateActData(ctJogging);
  jogging->Memo = {"a", ""};
  FillRecord(*jogging->RecordData, 3);
  second->AddAct(std::move(jogging));
  diary.Days.Add(std::move(second));
  auto earlier = std::make_unique<TDayData>();
  earlier->DateData = 41000;
  earlier->Weather = "雨";
  diary.Days.Add(std::move(earlier));

  for (int i = 0; i < diary.Categories->Count(); ++i) FillCategory(*diary.Categories->Items(i));
  FillGraphInfo(diary.MultiDayGraphInfo, 40);
  FillGraphInfo(diary.MultiDayGraphInfo2, 41);
  FillChildWindowInfo(diary.ChildWindowInfo);
  diary.View.ComboCategory = "ジョギング";
  diary.View.DayGraphCategory = "ウォーキング";
  diary.View.MonthGraphCategory = "ヨガ";
  diary.View.YearGraphCategory = "自転車";
  diary.View.MultiDayGraphCategory = "体重";
  diary.View.MultiDayGraphCategory2 = "血圧";
  diary.View.MultiDayGraphRecordKind = 2;
  diary.View.MultiDayGraphRecordKind2 = 3;
  diary.View.Left = -8;
  diary.View.Top = 20;
  diary.View.Width = 1024;
  diary.View.Height = 768;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(HAKUVO_TEST_FIXTURES) / "datafile" / name;
}

}  // namespace hakuvo
