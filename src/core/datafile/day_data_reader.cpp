#include "core/datafile/day_data_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>

#include "core/common/guid.h"
#include "core/datafile/day_data_xml.h"

namespace hakuvo {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsNamed(pugi::xml_node node, const char* name) { return SameName(node.name(), name); }

// A compass index outside the sixteen points would index past the names; it reads as "none".
std::int8_t WindDirectionOf(int value) { return value >= -1 && value <= 15 ? static_cast<std::int8_t>(value) : -1; }

// Codes that SameCode finds equal hash alike: setting bit 5 of each byte folds ASCII upper case
// onto lower case (it also pairs a few other characters, which costs at most a comparison), and
// so the code is taken eight bytes at a time.
std::size_t CodeHash(std::string_view code) {
  constexpr std::uint64_t kFold = 0x2020202020202020ull;
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = code.size();
  std::size_t i = 0;
  for (; i + 8 <= code.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, code.data() + i, 8);
    hash = (hash ^ (word | kFold)) * kMultiplier;
    hash ^= hash >> 29;
  }
  for (; i < code.size(); ++i) hash = (hash ^ (static_cast<unsigned char>(code[i]) | 0x20u)) * kMultiplier;
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

}  // namespace

bool SameCode(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  // Codes are written as they were made: the same letter case, nearly always.
  if (a == b) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

void TCodeIndex::Build(const std::vector<std::string_view>& codes, const std::vector<bool>& present,
                       std::vector<bool>& shadowed) {
  FCodes = &codes;
  std::size_t size = 16;
  while (size < codes.size() * 2) size *= 2;
  FSlots.assign(size, 0);
  FMask = size - 1;
  shadowed.assign(codes.size(), true);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (!present[i]) continue;
    std::size_t slot = CodeHash(codes[i]) & FMask;
    while (FSlots[slot] != 0 && !SameCode(codes[FSlots[slot] - 1], codes[i])) slot = (slot + 1) & FMask;
    if (FSlots[slot] != 0) continue;  // an earlier link has the code
    FSlots[slot] = static_cast<std::uint32_t>(i + 1);
    shadowed[i] = false;
  }
}

std::size_t TCodeIndex::Find(std::string_view code) const {
  if (FCodes == nullptr) return npos;
  for (std::size_t slot = CodeHash(code) & FMask; FSlots[slot] != 0; slot = (slot + 1) & FMask) {
    const std::size_t position = FSlots[slot] - 1;
    if (SameCode((*FCodes)[position], code)) return position;
  }
  return npos;
}

void TLinkListLoad::BuildIndex() {
  FLinks = Fresh.List().Data();
  std::vector<const std::string*> codes(FLinks.size(), nullptr);
  std::size_t total = 0;
  for (std::size_t i = 0; i < FLinks.size(); ++i) {
    // The section's links were all made by the reader, each with a code.
    codes[i] = &static_cast<const TGuidLink*>(FLinks[i])->GuidCode();
    total += codes[i]->size();
  }
  // The codes side by side in the list's order, the order actions mostly refer to them in: the
  // comparisons then read memory in sequence instead of each link's own string somewhere.
  FCodeText.clear();
  FCodeText.reserve(total);
  std::vector<std::size_t> offsets(FLinks.size(), 0);
  for (std::size_t i = 0; i < FLinks.size(); ++i) {
    offsets[i] = FCodeText.size();
    if (codes[i] != nullptr) FCodeText += *codes[i];
  }
  FCodes.assign(FLinks.size(), std::string_view());
  std::vector<bool> present(FLinks.size(), false);
  for (std::size_t i = 0; i < FLinks.size(); ++i) {
    if (codes[i] == nullptr) continue;
    FCodes[i] = std::string_view(FCodeText).substr(offsets[i], codes[i]->size());
    present[i] = true;
  }
  FIndex.Build(FCodes, present, FShadowed);
  FNext = 0;
}

TLinkData* TLinkListLoad::Find(std::string_view code) {
  // Links are mostly referred to in the order the list has them (both grow as actions are
  // entered): the one after the last found is tried before the index.
  if (FNext < FLinks.size() && !FShadowed[FNext] && SameCode(FCodes[FNext], code)) return FLinks[FNext++];
  const std::size_t found = FIndex.Find(code);
  if (found == TCodeIndex::npos) return nullptr;
  FNext = found + 1;
  return FLinks[found];
}

TDayDataReader::TDayDataReader(TXmlSource& source, const TTargets& targets)
    : FSource(source), FTargets(targets), FFiles(targets.Files), FThings(targets.Things), FPersons(targets.Persons) {
  FCategories.CopyList(targets.Categories);
  // The copies keep the originals' number of axis titles: Assign keeps the receiver's.
  FMultiDayGraphInfo.RecordAxisTitle.resize(targets.MultiDayGraphInfo.RecordAxisTitle.size());
  FMultiDayGraphInfo.Assign(targets.MultiDayGraphInfo);
  FMultiDayGraphInfo2.RecordAxisTitle.resize(targets.MultiDayGraphInfo2.RecordAxisTitle.size());
  FMultiDayGraphInfo2.Assign(targets.MultiDayGraphInfo2);
  FChildWindowInfo.Assign(targets.ChildWindowInfo);
  FView = targets.View;
}

void TDayDataReader::Read(pugi::xml_node root) {
  // A file of another kind may be well-formed XML too; overwriting it at the next save would
  // destroy it. Any root element is taken, as long as something in it is the diary's.
  bool any = false;
  for (const char* section : kDiarySections) any = any || root.child(section);
  if (!any) {
    FSource.FailAt(
        root, "には跳記の日記の項目 (日リスト、カテゴリリストなど) がひとつもありません: 日記のファイルではありません",
        "holds none of the diary's sections (day list, category list and so on): not a diary");
  }
  // The lists come first: actions refer to their members by code.
  if (const pugi::xml_node list = root.child("ファイルリスト")) ReadFileList(list);
  FFiles.BuildIndex();
  if (const pugi::xml_node list = root.child("物リスト")) ReadThingList(list);
  FThings.BuildIndex();
  if (const pugi::xml_node list = root.child("人リスト")) ReadPersonList(list);
  FPersons.BuildIndex();
  if (const pugi::xml_node list = root.child("日リスト")) ReadDays(list);
  if (const pugi::xml_node list = root.child("カテゴリリスト")) ReadCategories(list);
  if (const pugi::xml_node section = root.child("グラフ")) ReadGraphSection(section);
  if (const pugi::xml_node section = root.child("ウインドウ")) ReadWindowSection(section);
  if (const pugi::xml_node section = root.child("子ウインドウ")) ReadChildWindowSection(section);
}

void TDayDataReader::Commit() {
  for (int i = 0; i < FTargets.Categories.Count() && i < FCategories.Count(); ++i) {
    FTargets.Categories[i]->Assign(*FCategories[i]);
  }
  FTargets.MultiDayGraphInfo.Assign(FMultiDayGraphInfo);
  FTargets.MultiDayGraphInfo2.Assign(FMultiDayGraphInfo2);
  FTargets.ChildWindowInfo.Assign(FChildWindowInfo);
  FTargets.View = std::move(FView);

  // Every list of the diary is replaced, also by an empty one when the file has no section for
  // it: nothing of the diary open before may pass into this file at its next save. The previous
  // links and days go to the reader and die with it.
  for (TLinkListLoad* list : {&FFiles, &FThings, &FPersons}) list->Target.Swap(list->Fresh);
  std::swap(FTargets.Days, FDays);
}

void TDayDataReader::ReadFileList(pugi::xml_node list) {
  ForEachElement(list, [&](pugi::xml_node node) {
    TElementReader r(FSource, node);
    std::string fileName = r.Text("ファイル名");
    const char* const code = r.Find("コード");
    const char* const kind = r.Find("種類");
    // Without a code the link gets a new one.
    TStoredGuidCode guidCode{code != nullptr ? std::string(code) : NewGuidString()};
    std::unique_ptr<TFileLink> link;
    if (kind != nullptr && std::strcmp(kind, "Image") == 0) {
      auto image = std::make_unique<TImageFileLink>(std::move(guidCode));
      image->RotateAngle = r.Int("回転");
      image->ViewFileName = r.Text("縮小");
      link = std::move(image);
    } else if (kind != nullptr && std::strcmp(kind, "GPS") == 0) {
      auto gps = std::make_unique<TGpsFileLink>(std::move(guidCode));
      gps->StartPos = r.Double("開始");
      gps->EndPos = r.Double("終了");
      gps->ViewFileName = r.Text("縮小");
      link = std::move(gps);
    } else {
      link = std::make_unique<TFileLink>(std::move(guidCode));
    }
    link->FileName = std::move(fileName);
    FFiles.Fresh.Add(std::move(link));
    FSource.RemoveRead(node);
  });
}

namespace {

// What a thing and a person share after the code.
void ReadThingAttributes(TElementReader& r, TThingLink& thing) {
  thing.SetCategory(r.Text("カテゴリ"));
  thing.SetPhotoFileName(r.Text("写真ファイル名"));
  std::string viewFileName;
  if (r.TryText("縮小", viewFileName)) thing.SetViewFileName(viewFileName);
  thing.SetPhotoRotate(r.Int("写真回転"));
  thing.Memo() = r.Lines("メモ");
}

}  // namespace

void TDayDataReader::ReadThingList(pugi::xml_node list) {
  ForEachElement(list, [&](pugi::xml_node node) {
    TElementReader r(FSource, node);
    const char* name = r.Required("名称");
    auto thing = std::make_unique<TThingLink>(TStoredGuidCode{r.Text("コード")});
    thing->SetName(name);
    ReadThingAttributes(r, *thing);
    FThings.Fresh.Add(std::move(thing));
  });
}

void TDayDataReader::ReadPersonList(pugi::xml_node list) {
  ForEachElement(list, [&](pugi::xml_node node) {
    TElementReader r(FSource, node);
    auto person = std::make_unique<TPersonLink>(TStoredGuidCode{r.Text("コード")});
    ReadThingAttributes(r, *person);
    for (const TPersonField& field : kPersonFields) {
      if (field.SetText != nullptr) {
        ((*person).*field.SetText)(r.Text(field.Name));
      } else {
        ((*person).*field.SetNumber)(r.Real(field.Name));
      }
    }
    FPersons.Fresh.Add(std::move(person));
  });
}

void TDayDataReader::ReadDays(pugi::xml_node list) {
  ForEachElement(list, [&](pugi::xml_node node) {
    auto day = std::make_unique<TDayData>();
    TElementReader r(FSource, node);
    day->DateData = r.DateTime("日付");
    day->Weather = r.Text("天気");
    day->Memo = r.Lines("メモ");
    ForEachElement(node, [&](pugi::xml_node act) { day->AddAct(ReadAct(act, *day)); });
    FDays.Add(std::move(day));
    // The day's elements are done with: their memory serves the days still to come.
    FSource.RemoveRead(node);
  });
}

// The classes with attributes of their own that the action of each kind and its record belong
// to, taken once from what CreateActData makes: each action then needs no dynamic_cast, which
// walks the class chain comparing type names and cost a good part of a load.
struct TKindClasses {
  bool FishingAct = false;
  bool TimePlaceAct = false;
  bool EvaluationAct = false;
  bool BookAct = false;
  bool TimeRecord = false;
  bool EnergyRecord = false;
  bool WalkingRecord = false;
  bool FishingRecord = false;
  bool BloodPressureRecord = false;
};

namespace {

const TKindClasses& KindClassesOf(TCategoryType category) {
  static const auto table = [] {
    std::array<TKindClasses, CategoryTypeCount> kinds{};
    for (int i = 0; i < CategoryTypeCount; ++i) {
      const std::unique_ptr<TActData> act = CreateActData(static_cast<TCategoryType>(i));
      const TActData* a = act.get();
      const TRecordData* record = act->RecordData.get();
      TKindClasses& k = kinds[static_cast<std::size_t>(i)];
      k.FishingAct = dynamic_cast<const TFishingAct*>(a) != nullptr;
      k.TimePlaceAct = dynamic_cast<const TTimePlaceAct*>(a) != nullptr;
      k.EvaluationAct = dynamic_cast<const TEvaluationAct*>(a) != nullptr;
      k.BookAct = dynamic_cast<const TBookAct*>(a) != nullptr;
      k.TimeRecord = dynamic_cast<const TTimeRecord*>(record) != nullptr;
      k.EnergyRecord = dynamic_cast<const TEnergyConsumptionRecord*>(record) != nullptr;
      k.WalkingRecord = dynamic_cast<const TWalkingRecord*>(record) != nullptr;
      k.FishingRecord = dynamic_cast<const TFishingRecord*>(record) != nullptr;
      k.BloodPressureRecord = dynamic_cast<const TBloodPressureRecord*>(record) != nullptr;
    }
    return kinds;
  }();
  return table[category];
}

}  // namespace

std::unique_ptr<TActData> TDayDataReader::ReadAct(pugi::xml_node node, TDayData& day) {
  TElementReader r(FSource, node);
  const int ordinal = r.Int("カテゴリ");
  // Only 0..16 name a kind; anything else is kept as a user category rather than refused.
  auto category = IsValidCategoryOrdinal(ordinal) ? static_cast<TCategoryType>(ordinal) : ctUserCategory;
  const char* userCategory = r.Required("ユーザーカテゴリ");
  // A user category named like a built-in one becomes that one.
  if (*userCategory != '\0' && IsCategoryName(userCategory)) {
    category = CategoryTypeFromName(userCategory);
    userCategory = "";
  }
  // Every action CreateActData makes for a kind is of the same class: the casts below are sound.
  const TKindClasses& classes = KindClassesOf(category);
  std::unique_ptr<TActData> act = CreateActData(category);
  act->Category = category;
  act->UserCategory = userCategory;
  act->DayData = &day;
  act->Title = r.Required("タイトル");
  act->Tag = r.Required("タグ");
  act->Memo = r.Lines("メモ");
  act->Weather = r.Required("天気");
  act->Temperature = r.Real("気温");
  act->WindDirection = WindDirectionOf(r.Int("風向"));
  act->WindSpeed = r.Real("風速");
  // The kind's own texts may be missing: an action that became a built-in kind by its user
  // category name was written without them.
  if (classes.FishingAct) r.TryText("釣り-魚種", static_cast<TFishingAct&>(*act).FishSpecies);
  if (classes.TimePlaceAct) {
    auto& timePlace = static_cast<TTimePlaceAct&>(*act);
    r.TryText("出発地", timePlace.DeparturePlace);
    r.TryText("到着地", timePlace.ArrivalPlace);
  }
  if (classes.EvaluationAct) {
    r.TryText("URL", static_cast<TEvaluationAct&>(*act).Url);
    if (classes.BookAct) r.TryText("著者", static_cast<TBookAct&>(*act).Author);
  }

  // One pass over the children instead of a search from the first for each; the first child of
  // each name counts. Flags rather than tests of the nodes, each of which is a call into pugixml.
  pugi::xml_node place, record, links;
  bool hasPlace = false, hasRecord = false, hasLinks = false;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    const char* name = child.name();
    if (!hasPlace && SameName(name, "場所")) {
      place = child;
      hasPlace = true;
    } else if (!hasRecord && SameName(name, "記録")) {
      record = child;
      hasRecord = true;
    } else if (!hasLinks && SameName(name, "リンク")) {
      links = child;
      hasLinks = true;
    }
  }
  if (hasPlace) {
    TElementReader p(FSource, place);
    act->Place.Title = p.Required("名称");
    act->Place.Address = p.Required("住所");
    act->Place.Latitude = p.Real("緯度");
    act->Place.Longitude = p.Real("経度");
  }
  if (hasRecord) ReadRecord(record, r, classes, *act->RecordData);
  if (hasLinks) ReadLinks(links, *act);
  return act;
}

void TDayDataReader::ReadRecord(pugi::xml_node node, TElementReader& act, const TKindClasses& classes,
                                TRecordData& record) {
  TElementReader r(FSource, node);
  const int kind = r.Int("種類");
  record.IndicationKind = kind >= 0 && kind < record.RecordNumber() ? kind : 1;
  record.SetData(r.Real("データ"));
  record.StartTime = r.DateTime("時刻");

  // A missing attribute of the record's class ends them quietly; the rest keep their defaults.
  if (classes.TimeRecord) {
    if (r.TryDateTime("時刻-終了時刻", static_cast<TTimeRecord&>(record).EndTime)) {
      if (classes.EnergyRecord) {
        r.TryReal("体重", static_cast<TEnergyConsumptionRecord&>(record).Weight);  // older files: the weight stays 60
        if (classes.WalkingRecord) r.TryInt("歩数", static_cast<TWalkingRecord&>(record).Pedometer);
      }
    }
  } else if (classes.FishingRecord) {
    auto& fishing = static_cast<TFishingRecord&>(record);
    if (r.TryReal("大きさ", fishing.Dimension) && !r.TryReal("水温", fishing.WaterTemperature)) {
      act.TryReal("釣り-水温", fishing.WaterTemperature);  // where older files kept it
    }
  } else if (classes.BloodPressureRecord) {
    auto& pressure = static_cast<TBloodPressureRecord&>(record);
    if (r.TryReal("最低血圧", pressure.MinBloodPressure)) r.TryReal("脈拍", pressure.Pulse);
  }

  if (const pugi::xml_node units = node.child("単位")) {
    ReadIndexed(units, "単位", record.Tani, static_cast<std::size_t>(record.RecordNumber()));
  }
}

void TDayDataReader::ReadLinks(pugi::xml_node node, TActData& act) {
  // Gathered first and copied at once: the action's list is then allocated once at its size.
  FActLinks.Clear();
  TElementReader(FSource, node).TryReal(CameraClockOffsetAttribute, act.CameraClockOffset);
  ReadLinksInto(node, FActLinks);
  if (FActLinks.Count() > 0) act.LinkDataList.CopyList(FActLinks);
}

void TDayDataReader::ReadLinksInto(pugi::xml_node node, TLinkDataList& links) {
  ForEachElement(node, [&](pugi::xml_node child) {
    TElementReader r(FSource, child);
    if (IsNamed(child, "ファイル")) {
      if (const char* const code = r.Find("コード")) {
        if (TLinkData* link = FFiles.Find(code)) links.Add(link);
        return;
      }
      // Older files name the file itself; it joins the diary's file list with a new code.
      const std::string path = r.Text("パス");
      if (path.empty()) return;
      std::unique_ptr<TFileLink> link = CreateFileLink(path);
      links.Add(link.get());
      FFiles.Fresh.Add(std::move(link));
    } else if (IsNamed(child, "物")) {
      if (TLinkData* link = FThings.Find(r.Required("コード"))) links.Add(link);
    } else if (IsNamed(child, "人")) {
      if (TLinkData* link = FPersons.Find(r.Required("コード"))) links.Add(link);
    }
  });
}

void TDayDataReader::ReadIndexed(pugi::xml_node node, const char* prefix, std::vector<std::string>& texts,
                                 std::size_t limit) {
  // Attribute i is prefix + i wherever it stands; as written, it is simply the i-th.
  std::vector<std::string>& names = IndexedNames(prefix);
  std::size_t i = 0;
  for (pugi::xml_attribute a = node.first_attribute(); i < limit; a = a.next_attribute(), ++i) {
    const char* const attributeName = a.name();
    if (*attributeName == '\0') break;  // past the last (see TElementReader::Find)
    while (names.size() <= i) names.push_back(prefix + std::to_string(names.size()));
    const std::string& name = names[i];
    const char* text =
        SameName(attributeName, name.c_str()) ? a.value() : TElementReader(FSource, node).Required(name.c_str());
    // Assigned into the strings already there: a unit is short and needs no memory of its own.
    if (i < texts.size()) {
      texts[i] = text;
    } else {
      texts.emplace_back(text);
    }
  }
}

std::vector<std::string>& TDayDataReader::IndexedNames(const char* prefix) {
  auto names = std::find_if(FIndexedNames.begin(), FIndexedNames.end(),
                            [&](const auto& entry) { return entry.first == prefix; });
  if (names == FIndexedNames.end()) names = FIndexedNames.insert(FIndexedNames.end(), {prefix, {}});
  return names->second;
}

const std::string& TDayDataReader::IndexedName(const char* prefix, std::size_t index) {
  std::vector<std::string>& names = IndexedNames(prefix);
  while (names.size() <= index) names.push_back(prefix + std::to_string(names.size()));
  return names[index];
}

}  // namespace hakuvo
