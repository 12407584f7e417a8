#include <charconv>
#include <cstring>
#include <string>

#include "core/common/number_format.h"
#include "core/common/utf16.h"
#include "core/datafile/day_data_xml.h"
#include "core/datafile/xml_element_reader.h"

namespace hakuvo {

const TPersonField kPersonFields[21] = {
    {"姓", &TPersonLink::LastName, &TPersonLink::SetLastName, nullptr, nullptr},
    {"名", &TPersonLink::FirstName, &TPersonLink::SetFirstName, nullptr, nullptr},
    {"メール", &TPersonLink::MailAddress, &TPersonLink::SetMailAddress, nullptr, nullptr},
    {"メール2", &TPersonLink::MailAddress2, &TPersonLink::SetMailAddress2, nullptr, nullptr},
    {"住所", &TPersonLink::Address, &TPersonLink::SetAddress, nullptr, nullptr},
    {"緯度", nullptr, nullptr, &TPersonLink::Latitude, &TPersonLink::SetLatitude},
    {"経度", nullptr, nullptr, &TPersonLink::Longitude, &TPersonLink::SetLongitude},
    {"郵便番号", &TPersonLink::PostCode, &TPersonLink::SetPostCode, nullptr, nullptr},
    {"電話", &TPersonLink::Tel, &TPersonLink::SetTel, nullptr, nullptr},
    {"FAX", &TPersonLink::Fax, &TPersonLink::SetFax, nullptr, nullptr},
    {"携帯", &TPersonLink::CellPhoneNumber, &TPersonLink::SetCellPhoneNumber, nullptr, nullptr},
    {"会社名", &TPersonLink::CompanyName, &TPersonLink::SetCompanyName, nullptr, nullptr},
    {"部署名", &TPersonLink::CompanyDepartment, &TPersonLink::SetCompanyDepartment, nullptr, nullptr},
    {"会社メール", &TPersonLink::CompanyMailAddress, &TPersonLink::SetCompanyMailAddress, nullptr, nullptr},
    {"会社住所", &TPersonLink::CompanyAddress, &TPersonLink::SetCompanyAddress, nullptr, nullptr},
    {"会社緯度", nullptr, nullptr, &TPersonLink::CompanyLatitude, &TPersonLink::SetCompanyLatitude},
    {"会社経度", nullptr, nullptr, &TPersonLink::CompanyLongitude, &TPersonLink::SetCompanyLongitude},
    {"会社郵便番号", &TPersonLink::CompanyPostCode, &TPersonLink::SetCompanyPostCode, nullptr, nullptr},
    {"会社電話番号", &TPersonLink::CompanyTel, &TPersonLink::SetCompanyTel, nullptr, nullptr},
    {"会社FAX", &TPersonLink::CompanyFax, &TPersonLink::SetCompanyFax, nullptr, nullptr},
    {"会社携帯", &TPersonLink::CompanyCellPhoneNumber, &TPersonLink::SetCompanyCellPhoneNumber, nullptr, nullptr},
};

const char* const kChildWindowElements[10] = {
    "RecordDialog", "ActForm", "ActList",      "LinkList",       "Panel",
    "Docking",      "MapInfo", "LinkViewInfo", "DropFileDialog", "FileLinkSearch",
};

namespace {

// Appends the attributes of one element, in the order they are called.
class TElementWriter {
 public:
  explicit TElementWriter(pugi::xml_node node) : FNode(node) {}

  pugi::xml_node Node() const { return FNode; }
  TElementWriter Child(const char* name) { return TElementWriter(FNode.append_child(name)); }

  // A text that is not well-formed UTF-8 (a file name in another encoding) is escaped so that
  // the file stays well-formed XML for every reader; the reader takes the escapes back.
  void Text(const char* name, const std::string& value) {
    if (NeedsByteEscapes(value)) {
      const std::string escaped = EscapeToUtf8Text(value);
      FNode.append_attribute(name).set_value(escaped.c_str(), escaped.size());
      return;
    }
    FNode.append_attribute(name).set_value(value.c_str(), value.size());
  }
  void Text(const char* name, const char* value) { Text(name, std::string(value)); }
  void Lines(const char* name, const TStringList& lines) { Text(name, StringsText(lines)); }
  void Int(const char* name, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    FNode.append_attribute(name).set_value(buffer, static_cast<std::size_t>(result.ptr - buffer));
  }
  void Flag(const char* name, bool value) { Text(name, FormatFlag(value)); }
  void Real(const char* name, Extended value) { Text(name, FormatGeneral(StorableReal(value))); }
  void Double(const char* name, double value) { Text(name, FormatGeneral(StorableDouble(value))); }
  void DateTime(const char* name, TDateTime value) { Text(name, FormatGeneral(StorableDateTime(value))); }

  // One attribute per entry, named by the prefix and the entry's index.
  void Indexed(const char* prefix, const std::vector<std::string>& texts) {
    std::string name = prefix;
    const std::size_t length = name.size();
    for (std::size_t i = 0; i < texts.size(); ++i) {
      name.resize(length);
      name += std::to_string(i);
      Text(name.c_str(), texts[i]);
    }
  }

 private:
  pugi::xml_node FNode;
};

void WriteGraphInfo(TElementWriter parent, const char* name, const TGraphInfo& info) {
  TElementWriter w = parent.Child(name);
  w.Flag("Y軸時間", info.IsYAxisDate());
  w.Flag("棒グラフ", info.IsBarSeries());
  w.Int("色", info.SeriesColor());
  w.Int("線幅", info.LineSeriesWidth());
  w.Int("棒幅", info.BarSeriesWidth());
  w.Int("時間軸", info.DayAxisKind());
  w.Int("期間", info.AxisTerm());
  w.DateTime("開始日", info.StartDate());
  w.DateTime("終了日", info.EndDate());
  w.Flag("記録軸自動", info.IsAutoRecordAxis());
  w.Real("記録軸最大値", info.RecordAxisMax());
  w.Real("記録軸最小値", info.RecordAxisMin());
  w.Child("記録軸タイトル").Indexed("軸", info.RecordAxisTitle);
}

void WriteSpeedGraphInfo(TElementWriter parent, const TSpeedGraphInfo& info) {
  TElementWriter w = parent.Child("速度グラフ");
  w.Flag("速度グラフ表示", info.IsSpeedSeries());
  w.Int("速度グラフ色", info.SpeedSeriesColor());
  w.Int("速度グラフ幅", info.SpeedLineSeriesWidth());
  w.Flag("高度グラフ表示", info.IsAltitudeSeries());
  w.Int("高度グラフ色", info.AltitudeSeriesColor());
  w.Int("高度グラフ透明度", info.AltitudeTransparency());
  w.Flag("速度軸自動", info.IsLeftAutoAxis());
  w.Real("速度軸最大", info.LeftAxisMax());
  w.Real("速度軸最小", info.LeftAxisMin());
  w.Flag("高度軸自動", info.IsRightAutoAxis());
  w.Real("高度軸最大", info.RightAxisMax());
  w.Real("高度軸最小", info.RightAxisMin());
  w.Int("速度移動平均", info.SpeedMovingAverage());
  w.Int("高度移動平均", info.AltitudeMovingAverage());
  w.Real("限界速度", info.LimitSpeed());
  w.Int("X軸種類", info.BottomAxisKind());
  w.Flag("平均速度", info.IsAverageSpeed());
  // Written only when chosen: the element stays as it always was for everyone else.
  if (info.IsPaceAxis()) w.Flag("ペース軸", true);
}

void WriteCategory(TElementWriter list, const TCategoryInfo& info) {
  const std::string name = "カテゴリ" + std::to_string(static_cast<int>(info.Category()));
  TElementWriter w = list.Child(name.c_str());
  w.Int("表示", info.IndicationKind());
  w.Flag("記録", info.IsRecordData());
  w.Flag("時刻", info.IsTime());
  w.Flag("天気", info.IsWeather());
  w.Flag("気温", info.IsTemperature());
  w.Flag("風向", info.IsWindDirection());
  w.Flag("風速", info.IsWindSpeed());
  if (const auto* fishing = dynamic_cast<const TFishingCategoryInfo*>(&info)) {
    w.Flag("釣り-大きさ", fishing->IsDimension());
    w.Flag("釣り-水温", fishing->IsWaterTemperature());
  }
  if (const auto* energy = dynamic_cast<const TEnergyConsumptionCategoryInfo*>(&info)) {
    w.Flag("エネルギー消費量-体重", energy->IsWeight());
    if (const auto* walking = dynamic_cast<const TWalkingCategoryInfo*>(&info)) {
      w.Flag("ウォーキング-歩数", walking->IsPedometer());
    }
  }
  if (const auto* evaluation = dynamic_cast<const TEvaluationCategoryInfo*>(&info)) {
    w.Flag("評価-URL", evaluation->IsUrl());
    if (const auto* book = dynamic_cast<const TBookCategoryInfo*>(&info)) w.Flag("本-著者", book->IsAuthor());
  }
  if (const auto* pressure = dynamic_cast<const TBloodPressureCategoryInfo*>(&info)) {
    w.Flag("血圧-最低血圧", pressure->IsMinBloodPressure());
    w.Flag("血圧-脈拍", pressure->IsPulse());
  }
  w.Child("単位").Indexed("単位", info.Tani);
  TElementWriter calc = w.Child("計算");
  for (std::size_t i = 0; i < info.CalcKind.size(); ++i) {
    calc.Int(("計算" + std::to_string(i)).c_str(), info.CalcKind[i]);
  }
  WriteGraphInfo(w, "日グラフ", info.GraphInfo());
  WriteGraphInfo(w, "月グラフ", info.MonthGraphInfo());
  WriteGraphInfo(w, "年グラフ", info.YearGraphInfo());
  WriteSpeedGraphInfo(w, info.SpeedGraphInfo());
  TElementWriter map = w.Child("地図");
  map.Int("ライン色", info.MapInfo().LineColor());
  map.Int("ライン幅", info.MapInfo().LineWidth());
  map.Real("ライン透明度", info.MapInfo().LineOpacity());
  map.Real("限界速度", info.MapInfo().LimitSpeed());
  // Written only when on: a file without it reads as before, and older readers pass it by.
  if (info.MapInfo().IsSpeedColor()) map.Flag("速度色分け", true);
}

void WriteRecord(TElementWriter act, const TRecordData& record) {
  TElementWriter w = act.Child("記録");
  w.Int("種類", record.IndicationKind);
  w.Real("データ", record.Data());
  w.DateTime("時刻", record.StartTime);
  if (const auto* time = dynamic_cast<const TTimeRecord*>(&record)) {
    w.DateTime("時刻-終了時刻", time->EndTime);
    if (const auto* energy = dynamic_cast<const TEnergyConsumptionRecord*>(&record)) {
      w.Real("体重", energy->Weight);
      if (const auto* walking = dynamic_cast<const TWalkingRecord*>(&record)) w.Int("歩数", walking->Pedometer);
    }
  } else if (const auto* fishing = dynamic_cast<const TFishingRecord*>(&record)) {
    w.Real("大きさ", fishing->Dimension);
    w.Real("水温", fishing->WaterTemperature);
  } else if (const auto* pressure = dynamic_cast<const TBloodPressureRecord*>(&record)) {
    w.Real("最低血圧", pressure->MinBloodPressure);
    w.Real("脈拍", pressure->Pulse);
  }
  w.Child("単位").Indexed("単位", record.Tani);
}

void WriteAct(TElementWriter day, const TActData& act) {
  TElementWriter w = day.Child("行動");
  w.Int("カテゴリ", act.Category);
  w.Text("ユーザーカテゴリ", act.UserCategory);
  w.Text("タイトル", act.Title);
  w.Text("タグ", act.Tag);
  w.Lines("メモ", act.Memo);
  w.Text("天気", act.Weather);
  w.Real("気温", act.Temperature);
  w.Int("風向", act.WindDirection);
  w.Real("風速", act.WindSpeed);
  if (const auto* fishing = dynamic_cast<const TFishingAct*>(&act)) w.Text("釣り-魚種", fishing->FishSpecies);
  if (const auto* timePlace = dynamic_cast<const TTimePlaceAct*>(&act)) {
    w.Text("出発地", timePlace->DeparturePlace);
    w.Text("到着地", timePlace->ArrivalPlace);
  }
  if (const auto* evaluation = dynamic_cast<const TEvaluationAct*>(&act)) {
    w.Text("URL", evaluation->Url);
    if (const auto* book = dynamic_cast<const TBookAct*>(&act)) w.Text("著者", book->Author);
  }

  TElementWriter place = w.Child("場所");
  place.Text("名称", act.Place.Title);
  place.Text("住所", act.Place.Address);
  place.Real("緯度", act.Place.Latitude);
  place.Real("経度", act.Place.Longitude);
  if (act.RecordData) WriteRecord(w, *act.RecordData);
  TElementWriter links = w.Child("リンク");
  // An attribute of the link list, written only when set: readers that do not know it read the
  // list's children alone, and an outing without an offset is stored as it always was.
  if (act.CameraClockOffset != 0) links.Real(CameraClockOffsetAttribute, act.CameraClockOffset);
  for (const TLinkData* link : act.LinkDataList) {
    const char* name = nullptr;
    switch (link->LinkType()) {
      case ltFile:
        name = "ファイル";
        break;
      case ltThing:
        name = "物";
        break;
      case ltPerson:
        name = "人";
        break;
      case ltElse:
        break;
    }
    if (name != nullptr) links.Child(name).Text("コード", link->FindData());
  }
}

void WriteDay(TElementWriter list, const TDayData& day) {
  TElementWriter w = list.Child("日データ");
  w.DateTime("日付", day.DateData);
  w.Text("天気", day.Weather);
  w.Lines("メモ", day.Memo);
  for (const auto& act : day.ActDataList) WriteAct(w, *act);
}

void WriteFiles(TElementWriter root, const TLinkDataList& files) {
  TElementWriter list = root.Child("ファイルリスト");
  for (const TLinkData* link : files) {
    const auto* file = dynamic_cast<const TFileLink*>(link);
    if (file == nullptr) continue;
    TElementWriter w = list.Child("ファイル");
    w.Text("ファイル名", file->FileName);
    w.Text("コード", file->GuidCode());
    if (const auto* image = dynamic_cast<const TImageFileLink*>(file)) {
      w.Text("種類", "Image");
      w.Int("回転", image->RotateAngle);
      w.Text("縮小", image->ViewFileName);
    } else if (const auto* gps = dynamic_cast<const TGpsFileLink*>(file)) {
      w.Text("種類", "GPS");
      w.Double("開始", gps->StartPos);
      w.Double("終了", gps->EndPos);
      w.Text("縮小", gps->ViewFileName);
    } else {
      w.Text("種類", "");
    }
  }
}

void WriteThingAttributes(TElementWriter& w, const TThingLink& thing) {
  w.Text("コード", thing.GuidCode());
  w.Text("カテゴリ", thing.Category());
  w.Text("写真ファイル名", thing.PhotoFileName());
  w.Text("縮小", thing.ViewFileName());
  w.Int("写真回転", thing.PhotoRotate());
  w.Lines("メモ", thing.Memo());
}

void WriteThings(TElementWriter root, const TLinkDataList& things) {
  TElementWriter list = root.Child("物リスト");
  for (const TLinkData* link : things) {
    const auto* thing = dynamic_cast<const TThingLink*>(link);
    if (thing == nullptr) continue;
    TElementWriter w = list.Child("物");
    w.Text("名称", thing->Name());
    WriteThingAttributes(w, *thing);
  }
}

void WritePersons(TElementWriter root, const TLinkDataList& persons) {
  TElementWriter list = root.Child("人リスト");
  for (const TLinkData* link : persons) {
    const auto* person = dynamic_cast<const TPersonLink*>(link);
    if (person == nullptr) continue;
    TElementWriter w = list.Child("人");
    WriteThingAttributes(w, *person);
    for (const TPersonField& field : kPersonFields) {
      if (field.Text != nullptr) {
        w.Text(field.Name, (person->*field.Text)());
      } else {
        w.Real(field.Name, (person->*field.Number)());
      }
    }
  }
}

void WriteGraphSection(TElementWriter root, const TDayDataSources& sources) {
  const TDayDataFileView& view = sources.View;
  TElementWriter w = root.Child("グラフ");
  w.Text("カテゴリ", view.ComboCategory);
  w.Text("日カテゴリ", view.DayGraphCategory);
  w.Text("月カテゴリ", view.MonthGraphCategory);
  w.Text("年カテゴリ", view.YearGraphCategory);
  TElementWriter channel = w.Child("Channel2");
  channel.Text("カテゴリ1", view.MultiDayGraphCategory);
  channel.Text("カテゴリ2", view.MultiDayGraphCategory2);
  channel.Int("記録1", view.MultiDayGraphRecordKind);
  channel.Int("記録2", view.MultiDayGraphRecordKind2);
  WriteGraphInfo(channel, "グラフ1", sources.MultiDayGraphInfo);
  WriteGraphInfo(channel, "グラフ2", sources.MultiDayGraphInfo2);
}

void WriteWindowSection(TElementWriter root, const TDayDataFileView& view) {
  TElementWriter w = root.Child("ウインドウ").Child("Window");
  w.Int("Left", view.Left);
  w.Int("Top", view.Top);
  w.Int("Width", view.Width);
  w.Int("Height", view.Height);
}

void WriteChildWindowField(TElementWriter& w, const TChildWindowField& field, const TChildWindowInfo& info) {
  const char* const name = field.Xml.Attribute;
  switch (field.Type) {
    case cwInt:
      w.Int(name, field.Int.Get(info));
      break;
    case cwFlag:
      w.Flag(name, field.Flag.Get(info));
      break;
    case cwDate:
      w.DateTime(name, field.Date.Get(info));
      break;
    case cwReal:
      w.Real(name, field.Real.Get(info));
      break;
    case cwText:
      w.Text(name, field.Text.Get(info));
      break;
    case cwBytes:
      w.Text(name, BytesToHex(field.Text.Get(info)));
      break;
    case cwList:
      w.Child(name).Indexed(name, field.List.Get(info));
      break;
  }
}

void WriteChildWindowSection(TElementWriter root, const TChildWindowInfo& info) {
  TElementWriter section = root.Child("子ウインドウ");
  for (const char* const element : kChildWindowElements) {
    TElementWriter w = section.Child(element);
    for (const TChildWindowField& field : ChildWindowFields()) {
      if (field.InDataFile() && std::strcmp(field.Xml.Element, element) == 0) WriteChildWindowField(w, field, info);
    }
  }
}

}  // namespace

namespace {

// Bytes of a text and of the references its line breaks become.
std::size_t TextBytes(const TStringList& lines) {
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 12;
  return bytes;
}

}  // namespace

std::size_t EstimatedDocumentSize(const TDayDataSources& sources) {
  std::size_t bytes = 65536 + 4096 * static_cast<std::size_t>(sources.Categories.Count());
  for (const auto& day : sources.Days) {
    bytes += 256 + TextBytes(day->Memo);
    for (const auto& act : day->ActDataList) {
      bytes += 1024 + TextBytes(act->Memo) + act->Title.size() + act->Place.Title.size() + act->Place.Address.size() +
               128 * static_cast<std::size_t>(act->LinkDataList.Count());
    }
  }
  for (const TLinkData* link : sources.Files) {
    if (const auto* file = dynamic_cast<const TViewFileLink*>(link)) bytes += file->ViewFileName.size();
    if (const auto* file = dynamic_cast<const TFileLink*>(link)) bytes += 256 + file->FileName.size();
  }
  for (const TLinkDataList* list : {&sources.Things, &sources.Persons}) {
    for (const TLinkData* link : *list) {
      if (const auto* thing = dynamic_cast<const TThingLink*>(link)) bytes += 2048 + TextBytes(thing->Memo());
    }
  }
  return bytes * 5 / 4;
}

namespace {

// The whole document but the days: the day list's element is there, empty.
void WriteSkeleton(const TDayDataSources& sources, pugi::xml_document& document) {
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version").set_value("1.0");
  declaration.append_attribute("encoding").set_value("UTF-8");
  TElementWriter root(document.append_child(kRootName));
  root.Text("Ver", "0.1");

  root.Child("日リスト");
  TElementWriter categories = root.Child("カテゴリリスト");
  for (int i = 0; i < sources.Categories.Count(); ++i) WriteCategory(categories, *sources.Categories[i]);
  WriteFiles(root, sources.Files);
  WriteThings(root, sources.Things);
  WritePersons(root, sources.Persons);
  WriteGraphSection(root, sources);
  WriteWindowSection(root, sources.View);
  WriteChildWindowSection(root, sources.ChildWindowInfo);
}

// Days are turned into text this many at a time, each batch in a tree of its own that is then
// dropped: the tree of the whole diary, larger than the file it writes, never exists at once.
constexpr std::size_t kDaysPerBatch = 64;

void WriteDayBatches(const TDayDataList& days, pugi::xml_writer& out) {
  pugi::xml_document batch;
  std::size_t inBatch = 0;
  const auto flush = [&] {
    for (pugi::xml_node day = batch.first_child().first_child(); day; day = day.next_sibling()) {
      day.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    }
    batch.reset();
    inBatch = 0;
  };
  for (const auto& day : days) {
    if (inBatch == 0) batch.append_child("日リスト");
    WriteDay(TElementWriter(batch.first_child()), *day);
    if (++inBatch == kDaysPerBatch) flush();
  }
  if (inBatch > 0) flush();
}

void WriteText(pugi::xml_writer& out, std::string_view text) { out.write(text.data(), text.size()); }

}  // namespace

void WriteDayDataDocument(const TDayDataSources& sources, pugi::xml_writer& out) {
  pugi::xml_document skeleton;
  WriteSkeleton(sources, skeleton);
  // What pugixml writes for the whole tree without indentation (line breaks in values as character
  // references), the day list's content made
  // from batches in place of its empty element.
  skeleton.first_child().print(out, "", pugi::format_raw, pugi::encoding_utf8);
  const pugi::xml_node root = skeleton.child(kRootName);
  WriteText(out, "<");
  WriteText(out, kRootName);
  WriteText(out, " Ver=\"0.1\">");
  for (pugi::xml_node section = root.first_child(); section; section = section.next_sibling()) {
    if (std::strcmp(section.name(), "日リスト") == 0 && sources.Days.Count() > 0) {
      WriteText(out, "<日リスト>");
      WriteDayBatches(sources.Days, out);
      WriteText(out, "</日リスト>");
    } else {
      section.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    }
  }
  WriteText(out, "</");
  WriteText(out, kRootName);
  WriteText(out, ">");
}

}  // namespace hakuvo
