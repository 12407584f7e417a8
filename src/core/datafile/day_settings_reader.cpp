#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "core/datafile/day_data_reader.h"
#include "core/datafile/day_data_xml.h"

namespace hakuvo {

namespace {

// Ordinals outside their enumeration fall back to the value a new object has.
TDayAxisType DayAxisOf(int value) {
  return value >= daTerm && value <= daAll ? static_cast<TDayAxisType>(value) : daAll;
}
TBottomAxisType BottomAxisOf(int value) {
  return value >= baDistance && value <= baTermMin ? static_cast<TBottomAxisType>(value) : baDistance;
}
TRecordCalcKind CalcKindOf(int value) {
  return value >= ckTotal && value <= ckWeightedAverage ? static_cast<TRecordCalcKind>(value) : ckTotal;
}

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

}  // namespace

void TDayDataReader::ReadCategories(pugi::xml_node list) {
  for (int i = 0; i < FCategories.Count(); ++i) {
    TCategoryInfo& info = *FCategories[i];
    const std::string name = "カテゴリ" + std::to_string(static_cast<int>(info.Category()));
    const pugi::xml_node node = list.child(name.c_str());
    // Without "表示" the element carries nothing the reader takes: the settings stay.
    if (node && node.attribute("表示")) ReadCategory(node, info);
  }
}

void TDayDataReader::ReadCategory(pugi::xml_node node, TCategoryInfo& info) {
  TElementReader r(FSource, node);
  const int kind = r.Int("表示");
  info.SetIndicationKind(kind >= 0 && kind < info.RecordNumber() ? kind : 1);
  info.SetIsRecordData(r.Flag("記録"));
  info.SetIsTime(r.Flag("時刻"));
  info.SetIsWeather(r.Flag("天気"));
  info.SetIsTemperature(r.Flag("気温"));
  info.SetIsWindDirection(r.Flag("風向"));
  info.SetIsWindSpeed(r.Flag("風速"));
  if (auto* fishing = dynamic_cast<TFishingCategoryInfo*>(&info)) {
    fishing->SetIsDimension(r.Flag("釣り-大きさ"));
    fishing->SetIsWaterTemperature(r.Flag("釣り-水温"));
  }
  if (auto* energy = dynamic_cast<TEnergyConsumptionCategoryInfo*>(&info)) {
    int weight = 0;
    if (r.TryInt("エネルギー消費量-体重", weight)) energy->SetIsWeight(weight != 0);
    if (auto* walking = dynamic_cast<TWalkingCategoryInfo*>(&info))
      walking->SetIsPedometer(r.Flag("ウォーキング-歩数"));
  }
  if (auto* evaluation = dynamic_cast<TEvaluationCategoryInfo*>(&info)) {
    evaluation->SetIsUrl(r.Flag("評価-URL"));
    if (auto* book = dynamic_cast<TBookCategoryInfo*>(&info)) book->SetIsAuthor(r.Flag("本-著者"));
  }
  if (auto* pressure = dynamic_cast<TBloodPressureCategoryInfo*>(&info)) {
    pressure->SetIsMinBloodPressure(r.Flag("血圧-最低血圧"));
    pressure->SetIsPulse(r.Flag("血圧-脈拍"));
  }

  const auto recordNumber = static_cast<std::size_t>(info.RecordNumber());
  if (const pugi::xml_node units = node.child("単位")) ReadIndexed(units, "単位", info.Tani, recordNumber);
  if (const pugi::xml_node calc = node.child("計算")) {
    TElementReader c(FSource, calc);
    const std::size_t count = std::min(AttributeCount(calc), recordNumber);
    for (std::size_t i = 0; i < count; ++i) info.CalcKind[i] = CalcKindOf(c.Int(IndexedName("計算", i).c_str()));
  }
  ReadGraphInfo(r, "日グラフ", info.GraphInfo());
  ReadGraphInfo(r, "月グラフ", info.MonthGraphInfo());
  ReadGraphInfo(r, "年グラフ", info.YearGraphInfo());
  if (const pugi::xml_node speed = node.child("速度グラフ")) ReadSpeedGraphInfo(speed, info.SpeedGraphInfo());
  if (const pugi::xml_node map = node.child("地図")) ReadMapInfo(map, info.MapInfo());
}

void TDayDataReader::ReadGraphInfo(const TElementReader& parent, const char* name, TGraphInfo& info) {
  const pugi::xml_node node = parent.RequiredChild(name);
  TElementReader r(FSource, node);
  info.SetIsYAxisDate(r.Flag("Y軸時間"));
  info.SetIsBarSeries(r.Flag("棒グラフ"));
  info.SetSeriesColor(r.Int("色"));
  info.SetLineSeriesWidth(r.Int("線幅"));
  info.SetBarSeriesWidth(r.Int("棒幅"));
  info.SetDayAxisKind(DayAxisOf(r.Int("時間軸")));
  info.SetAxisTerm(r.Int("期間"));
  info.SetStartDate(r.DateTime("開始日"));
  info.SetEndDate(r.DateTime("終了日"));
  info.SetIsAutoRecordAxis(r.Flag("記録軸自動"));
  info.SetRecordAxisMax(r.Real("記録軸最大値"));
  info.SetRecordAxisMin(r.Real("記録軸最小値"));
  if (const pugi::xml_node titles = node.child("記録軸タイトル")) {
    ReadIndexed(titles, "軸", info.RecordAxisTitle, info.RecordAxisTitle.size());
  }
}

void TDayDataReader::ReadSpeedGraphInfo(pugi::xml_node node, TSpeedGraphInfo& info) {
  TElementReader r(FSource, node);
  info.SetIsSpeedSeries(r.Flag("速度グラフ表示"));
  info.SetSpeedSeriesColor(r.Int("速度グラフ色"));
  info.SetSpeedLineSeriesWidth(r.Int("速度グラフ幅"));
  info.SetIsAltitudeSeries(r.Flag("高度グラフ表示"));
  info.SetAltitudeSeriesColor(r.Int("高度グラフ色"));
  info.SetAltitudeTransparency(r.Int("高度グラフ透明度"));
  info.SetIsLeftAutoAxis(r.Flag("速度軸自動"));
  info.SetLeftAxisMax(r.Real("速度軸最大"));
  info.SetLeftAxisMin(r.Real("速度軸最小"));
  info.SetIsRightAutoAxis(r.Flag("高度軸自動"));
  info.SetRightAxisMax(r.Real("高度軸最大"));
  info.SetRightAxisMin(r.Real("高度軸最小"));
  info.SetSpeedMovingAverage(r.Int("速度移動平均"));
  info.SetAltitudeMovingAverage(r.Int("高度移動平均"));
  info.SetLimitSpeed(r.Real("限界速度"));
  info.SetBottomAxisKind(BottomAxisOf(r.Int("X軸種類")));
  info.SetIsAverageSpeed(r.Flag("平均速度"));
  int pace = 0;
  info.SetIsPaceAxis(r.TryInt("ペース軸", pace) && pace != 0);
}

void TDayDataReader::ReadMapInfo(pugi::xml_node node, TMapInfo& info) {
  TElementReader r(FSource, node);
  info.SetLineColor(r.Int("ライン色"));
  info.SetLineWidth(r.Int("ライン幅"));
  info.SetLineOpacity(r.Real("ライン透明度"));
  Extended limit = 0;
  if (r.TryReal("限界速度", limit)) info.SetLimitSpeed(limit);
  int speedColor = 0;
  info.SetIsSpeedColor(r.TryInt("速度色分け", speedColor) && speedColor != 0);
}

void TDayDataReader::ReadGraphSection(pugi::xml_node node) {
  TElementReader r(FSource, node);
  FView.ComboCategory = r.Text("カテゴリ");
  FView.DayGraphCategory = r.Text("日カテゴリ");
  FView.MonthGraphCategory = r.Text("月カテゴリ");
  FView.YearGraphCategory = r.Text("年カテゴリ");
  if (const pugi::xml_node channel = node.child("Channel2")) {
    TElementReader c(FSource, channel);
    FView.MultiDayGraphCategory = c.Text("カテゴリ1");
    FView.MultiDayGraphCategory2 = c.Text("カテゴリ2");
    FView.MultiDayGraphRecordKind = c.Int("記録1");
    FView.MultiDayGraphRecordKind2 = c.Int("記録2");
    ReadGraphInfo(c, "グラフ1", FMultiDayGraphInfo);
    ReadGraphInfo(c, "グラフ2", FMultiDayGraphInfo2);
  }
}

void TDayDataReader::ReadWindowSection(pugi::xml_node node) {
  const pugi::xml_node window = node.child("Window");
  if (!window) return;
  TElementReader r(FSource, window);
  FView.Left = r.Int("Left");
  FView.Top = r.Int("Top");
  FView.Width = r.Int("Width");
  FView.Height = r.Int("Height");
}

void TDayDataReader::ReadChildWindowField(TElementReader& r, const TChildWindowField& field) {
  TChildWindowInfo& info = FChildWindowInfo;
  const char* const name = field.Xml.Attribute;
  switch (field.Type) {
    case cwInt:
      field.Int.Set(info, r.Int(name));
      break;
    case cwFlag:
      field.Flag.Set(info, r.Flag(name));
      break;
    case cwDate:
      field.Date.Set(info, r.DateTime(name));
      break;
    case cwReal:
      field.Real.Set(info, r.Real(name));
      break;
    case cwText:
      field.Text.Set(info, r.Text(name));
      break;
    case cwBytes: {
      const char* const text = r.Required(name);
      // An empty text leaves the layout as it was.
      if (*text == '\0') break;
      std::string bytes;
      if (!HexToBytes(text, bytes)) {
        r.Fail(std::string("の属性 \"") + name + "\" の値は 16 進数の並びではありません",
               std::string("attribute \"") + name + "\" is not a run of hexadecimal digits");
      }
      field.Text.Set(info, std::move(bytes));
      break;
    }
    case cwList:
      // A list element that is there replaces the list, also with no entries at all.
      if (const pugi::xml_node list = r.Node().child(name)) {
        TStringList lines;
        ReadIndexed(list, name, lines, kNoLimit);
        field.List.Set(info, std::move(lines));
      }
      break;
  }
}

void TDayDataReader::ReadChildWindowSection(pugi::xml_node node) {
  for (const char* const element : kChildWindowElements) {
    const pugi::xml_node child = node.child(element);
    if (!child) continue;
    TElementReader r(FSource, child);
    for (const TChildWindowField& field : ChildWindowFields()) {
      if (!field.InDataFile() || std::strcmp(field.Xml.Element, element) != 0) continue;
      if (field.Xml.TiedTo != nullptr && !r.Has(field.Xml.TiedTo)) continue;
      ReadChildWindowField(r, field);
    }
  }
}

}  // namespace hakuvo
