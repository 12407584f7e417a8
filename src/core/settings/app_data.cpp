#include "core/settings/app_data.h"

#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <span>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/common/number_format.h"
#include "core/model/category_info_list.h"
#include "core/settings/ini_file.h"

namespace hakuvo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view VendorFolder = "Orimaze";
constexpr std::string_view ProgramName = "Hakuvo";
constexpr std::string_view ThumbnailFolderName = "Thumbnail";

// The folder named by an XDG variable, or the home folder's `fallback` below it.
fs::path XdgFolder(const char* variable, std::string_view fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] != '\0' && fs::path(value).is_absolute()) {
    return fs::path(value) / VendorFolder / ProgramName;
  }
  const fs::path home = HomeFolder();
  if (home.empty()) return {};
  return home / fallback / VendorFolder / ProgramName;
}

std::string IndexedKey(std::string_view prefix, std::size_t index) {
  return std::string(prefix) + std::to_string(index);
}

// Entries prefix0 .. prefix(count - 1); a missing entry reads as an empty string. A count above
// the number of keys in the section cannot be right (a damaged file would have us build
// millions of empty entries); the list then ends with the last entry present.
TStringList ReadList(const TIniFile& ini, std::string_view section, std::string_view prefix, int count) {
  if (count <= 0) return {};
  const TStringList keys = ini.ReadSection(section);
  std::map<std::size_t, std::string> present;
  for (const std::string& key : keys) {
    if (key.size() <= prefix.size()) continue;
    int index = -1;
    if (!TryParseInt(std::string_view(key).substr(prefix.size()), index) || index < 0 || index >= count) continue;
    const auto position = static_cast<std::size_t>(index);
    // "Floating01" or "Floating+1" is not entry 1: only the spelling written here counts.
    if (!SameTextIgnoreCase(key, IndexedKey(prefix, position))) continue;
    present.emplace(position, ini.ReadString(section, key, ""));
  }
  std::size_t size = static_cast<std::size_t>(count);
  if (size > keys.size()) size = present.empty() ? 0 : present.rbegin()->first + 1;
  TStringList list(size);
  for (auto& [index, value] : present) list[index] = std::move(value);
  return list;
}

void WriteList(TIniFile& ini, std::string_view section, std::string_view countKey, std::string_view prefix,
               const TStringList& list) {
  ini.WriteInteger(section, countKey, static_cast<long long>(list.size()));
  for (std::size_t i = 0; i < list.size(); ++i) ini.WriteString(section, IndexedKey(prefix, i), list[i]);
}

// Read at full precision: going through double would turn 35.6815 into a value that no longer
// equals the default it came from.
Extended ReadExtended(const TIniFile& ini, std::string_view section, std::string_view key, Extended defaultValue) {
  if (!ini.ValueExists(section, key)) return defaultValue;
  Extended value = 0;
  return TryParseNumber(ini.ReadString(section, key, ""), value) ? value : defaultValue;
}

// Serials outside the years 1 to 9999 name no calendar day; the date code cannot decode them.
TDateTime ReadDate(const TIniFile& ini, std::string_view section, std::string_view key, TDateTime defaultValue) {
  constexpr TDateTime FirstDay = -693593.0;  // 0001-01-01
  constexpr TDateTime EndDay = 2958466.0;    // 10000-01-01
  const TDateTime value = ini.ReadFloat(section, key, defaultValue);
  return value >= FirstDay && value < EndDay ? value : defaultValue;
}

TCategoryList ReadCategoryList(const TIniFile& ini) {
  const int count = ini.ReadInteger("Category", "Count", 0);
  if (count <= 0) return TCategoryList::DefaultOrder();
  TCategoryList list;
  for (const std::string& name : ReadList(ini, "Category", "Item", count)) {
    if (!name.empty()) list.Add({CategoryTypeFromName(name)});
  }
  // An empty list would offer no category at all, and it could not even be stored: a count of
  // 0 is what stands for the default order.
  return list.Count() > 0 ? list : TCategoryList::DefaultOrder();
}

void WriteCategoryList(TIniFile& ini, const TCategoryList& list) {
  ini.WriteInteger("Category", "Count", list.Count());
  for (int i = 0; i < list.Count(); ++i) {
    const TCategoryType category = list.Items(i).Category;
    const std::string& name = CategoryNames()[IsValidCategoryOrdinal(category) ? category : ctUserCategory];
    ini.WriteString("Category", IndexedKey("Item", static_cast<std::size_t>(i)), name);
  }
}

// The stored bounds where they keep the window reachable: its top no higher than 10 pixels
// above the desktop and not below it, at least a sliver of it left of the desktop's right.
TBounds PlaceOnDesktop(TBounds current, const TBounds& saved, const TBounds& desktop) {
  if (saved.Width <= 0 || saved.Height <= 0) return current;
  const long long desktopRight = static_cast<long long>(desktop.Left) + desktop.Width;
  const long long desktopBottom = static_cast<long long>(desktop.Top) + desktop.Height;
  if (saved.Top >= desktop.Top - 10LL && saved.Top <= desktopBottom) current.Top = saved.Top;
  if (saved.Left >= static_cast<long long>(desktop.Left) - saved.Width && saved.Left <= desktopRight) {
    current.Left = saved.Left;
  }
  current.Width = saved.Width;
  current.Height = saved.Height;
  return current;
}

// A count that is missing, damaged or negative means the list was never stored: it takes its
// default (the first-start layout for the bottom dock lists, empty for the others).
TStringList ReadFieldList(const TIniFile& ini, const TChildWindowField& field) {
  const int count = ini.ReadInteger(field.Ini.Section, field.Ini.CountKey, -1);
  if (count >= 0) return ReadList(ini, field.Ini.Section, field.Ini.Key, count);
  const std::span<const char* const> lines = field.IniDefault.Lines;
  return TStringList(lines.begin(), lines.end());
}

void ReadChildWindowField(const TIniFile& ini, const TChildWindowField& field, TChildWindowInfo& info) {
  static const TChildWindowInfo fresh;
  const TChildWindowIniDefault& byDefault = field.IniDefault;
  const bool isNumber = byDefault.Kind == TChildWindowIniDefault::dkNumber;
  const char* const section = field.Ini.Section;
  const char* const key = field.Ini.Key;
  switch (field.Type) {
    case cwInt:
      field.Int.Set(
          info, ini.ReadInteger(section, key, isNumber ? static_cast<int>(byDefault.Number) : field.Int.Get(fresh)));
      break;
    case cwFlag:
      field.Flag.Set(info, ini.ReadBool(section, key, isNumber ? byDefault.Number != 0 : field.Flag.Get(fresh)));
      break;
    case cwDate:
      field.Date.Set(info, ReadDate(ini, section, key,
                                    byDefault.Kind == TChildWindowIniDefault::dkNow ? Now() : field.Date.Get(fresh)));
      break;
    case cwReal:
      field.Real.Set(info, ReadExtended(ini, section, key, field.Real.Get(fresh)));
      break;
    case cwText:
      field.Text.Set(info, ini.ReadString(section, key, field.Text.Get(fresh)));
      break;
    case cwBytes:
      field.Text.Set(info, ini.ReadBinary(section, key));
      break;
    case cwList:
      field.List.Set(info, ReadFieldList(ini, field));
      break;
  }
}

void WriteChildWindowField(TIniFile& ini, const TChildWindowField& field, const TChildWindowInfo& info) {
  const char* const section = field.Ini.Section;
  const char* const key = field.Ini.Key;
  switch (field.Type) {
    case cwInt:
      ini.WriteInteger(section, key, field.Int.Get(info));
      break;
    case cwFlag:
      ini.WriteBool(section, key, field.Flag.Get(info));
      break;
    case cwDate:
      ini.WriteFloat(section, key, field.Date.Get(info));
      break;
    case cwReal:
      ini.WriteFloat(section, key, field.Real.Get(info));
      break;
    case cwText:
      ini.WriteString(section, key, field.Text.Get(info));
      break;
    case cwBytes:
      ini.WriteBinary(section, key, field.Text.Get(info));
      break;
    case cwList:
      WriteList(ini, section, field.Ini.CountKey, key, field.List.Get(info));
      break;
  }
}

// The map and link-view keys come last in the file, after the weight and the category order.
bool ComesAfterTheCategories(const TChildWindowField& field) {
  return std::string_view(field.Ini.Section) == "Map" || std::string_view(field.Ini.Section) == "Link";
}

}  // namespace

fs::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0' && fs::path(home).is_absolute()) return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* result = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
      result->pw_dir != nullptr && fs::path(result->pw_dir).is_absolute()) {
    return result->pw_dir;
  }
  return {};
}

fs::path UserSettingsFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

fs::path UserCacheFolder() { return XdgFolder("XDG_CACHE_HOME", ".cache"); }

bool IsWritableFolder(const fs::path& folder) {
  std::error_code error;
  return !folder.empty() && fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

TAppData::TAppData(fs::path programFolder)
    : DocumentsFolder(HomeFolder().string()), FProgramFolder(std::move(programFolder)) {
  ThumbnailFolder = DefaultThumbnailFolder();
}

std::string TAppData::IniFileNameOfMode(TCategoryType mode) {
  switch (mode) {
    case ctJogging:
      return "Jogging.ini";
    case ctWalking:
      return "Walking.ini";
    case ctBicycle:
      return "Bicycle.ini";
    default:
      throw std::invalid_argument("not a mode of the program: category " + std::to_string(static_cast<int>(mode)));
  }
}

void TAppData::SetIsAppDataFolder(bool value) {
  const std::string oldDefault = DefaultThumbnailFolder();
  FIsAppDataFolder = value;
  if (ThumbnailFolder == oldDefault) ThumbnailFolder = DefaultThumbnailFolder();
}

bool IsInstalledProgramFolder(const fs::path& folder) {
  // An installed program lives in a "bin" folder of its prefix (/usr/bin, ~/.local/bin). The
  // user's own ~/.local/bin is writable, yet settings, thumbnails and a diary's neighbours do not
  // belong among other programs' executables; a build tree or a portable copy is never so named.
  fs::path name = folder.filename();
  if (name.empty()) name = folder.parent_path().filename();
  return name == "bin";
}

bool TAppData::ChooseSettingsFolder(bool appDataSwitch) {
  bool useUserFolder = false;
  if (appDataSwitch || IsInstalledProgramFolder(FProgramFolder) || !IsWritableFolder(FProgramFolder)) {
    const fs::path folder = UserSettingsFolder();
    std::error_code error;
    if (!folder.empty()) fs::create_directories(folder, error);
    useUserFolder = !folder.empty() && !error && fs::is_directory(folder, error);
  }
  SetIsAppDataFolder(useUserFolder);
  return useUserFolder;
}

fs::path TAppData::SettingsFolder() const { return FIsAppDataFolder ? UserSettingsFolder() : FProgramFolder; }

fs::path TAppData::GetIniFileName() const { return SettingsFolder() / IniFileName; }

std::string TAppData::DefaultThumbnailFolder() const {
  if (FIsAppDataFolder) {
    const fs::path cache = UserCacheFolder();
    if (!cache.empty()) return (cache / ThumbnailFolderName).string();
  }
  return (FProgramFolder / ThumbnailFolderName).string();
}

void TAppData::Read() {
  const TIniFile ini(GetIniFileName());
  ReadFromIni(ini);
}

void TAppData::Write() const {
  // Starting from the file as it is keeps the recent files and whatever else others store.
  TIniFile ini(GetIniFileName());
  WriteToIni(ini);
  ini.UpdateFile();
}

void TAppData::ReadFromIni(const TIniFile& ini) {
  Left = ini.ReadInteger("Program", "Left", 0);
  Top = ini.ReadInteger("Program", "Top", 0);
  Width = ini.ReadInteger("Program", "Width", 0);
  Height = ini.ReadInteger("Program", "Height", 0);
  const int state = ini.ReadInteger("Program", "WindowState", wsNormal);
  WindowState = state >= wsNormal && state <= wsMaximized ? static_cast<TWindowState>(state) : wsNormal;

  DataFilePath = ini.ReadString("File", "DataFilePath", DocumentsFolder);
  FileName = ini.ReadString("File", "FileName", "");
  ComboCategory = ini.ReadString("Combo", "Category", "");
  DayGraphCategory = ini.ReadString("Graph", "DayCategory", "");
  MonthGraphCategory = ini.ReadString("Graph", "MonthCategory", "");
  YearGraphCategory = ini.ReadString("Graph", "YearCategory", "");
  GoogleMapGeocodeDate = ReadDate(ini, "Geocode", "Date", 0);
  // A negative count would grant more look-ups than the day allows.
  GoogleMapGeocodeCount = std::max(0, ini.ReadInteger("Geocode", "Count", 0));
  ToolBarImageSize = ini.ReadInteger("ToolBar", "Icon", 16);
  ThumbnailFolder = ini.ReadString("Thumbnail", "Folder", DefaultThumbnailFolder());
  IsMakeThumbnail = ini.ReadBool("Thumbnail", "Auto", false);

  for (const TChildWindowField& field : ChildWindowFields()) ReadChildWindowField(ini, field, ChildWindowInfo);
  Weight = ReadExtended(ini, "Energy", "Weight", 60.0L);
  if (CategoryList != nullptr) *CategoryList = ReadCategoryList(ini);
  IsShowAll = ini.ReadBool("Option", "ShowAll", false);
  MapServiceInfo.ReadFromIni(ini);
}

void TAppData::WriteToIni(TIniFile& ini) const {
  ini.WriteInteger("Program", "Left", Left);
  ini.WriteInteger("Program", "Top", Top);
  ini.WriteInteger("Program", "Width", Width);
  ini.WriteInteger("Program", "Height", Height);
  ini.WriteInteger("Program", "WindowState", WindowState);

  ini.WriteString("File", "DataFilePath", DataFilePath);
  ini.WriteString("File", "FileName", FileName);
  ini.WriteString("Combo", "Category", ComboCategory);
  ini.WriteString("Graph", "DayCategory", DayGraphCategory);
  ini.WriteString("Graph", "MonthCategory", MonthGraphCategory);
  ini.WriteString("Graph", "YearCategory", YearGraphCategory);
  ini.WriteFloat("Geocode", "Date", GoogleMapGeocodeDate);
  ini.WriteInteger("Geocode", "Count", GoogleMapGeocodeCount);
  ini.WriteInteger("ToolBar", "Icon", ToolBarImageSize);
  ini.WriteString("Thumbnail", "Folder", ThumbnailFolder);
  ini.WriteBool("Thumbnail", "Auto", IsMakeThumbnail);

  const std::span<const TChildWindowField> fields = ChildWindowFields();
  const auto last = std::find_if(fields.begin(), fields.end(), ComesAfterTheCategories);
  for (auto field = fields.begin(); field != last; ++field) WriteChildWindowField(ini, *field, ChildWindowInfo);
  ini.WriteFloat("Energy", "Weight", Weight);
  if (CategoryList != nullptr) WriteCategoryList(ini, *CategoryList);
  for (auto field = last; field != fields.end(); ++field) WriteChildWindowField(ini, *field, ChildWindowInfo);
  ini.WriteBool("Option", "ShowAll", IsShowAll);
}

bool TAppData::IsGoogleMapGeocodeLimit(TDateTime date) {
  const TDateTime day = DateOf(date);
  if (day != DateOf(GoogleMapGeocodeDate)) GoogleMapGeocodeCount = 0;
  if (GoogleMapGeocodeCount >= GeocodeLimitPerDay) return true;
  ++GoogleMapGeocodeCount;
  GoogleMapGeocodeDate = day;
  return false;
}

TBounds TAppData::MainFormBounds(const TBounds& current, const TBounds& desktop) const {
  return PlaceOnDesktop(current, {Left, Top, Width, Height}, desktop);
}

TBounds TAppData::RecordDialogBounds(const TBounds& current, const TBounds& desktop) const {
  const TChildWindowInfo& info = ChildWindowInfo;
  return PlaceOnDesktop(
      current, {info.RecordDialogLeft, info.RecordDialogTop, info.RecordDialogWidth, info.RecordDialogHeight}, desktop);
}

TBounds TAppData::ActFormBounds(const TBounds& current) const {
  const TChildWindowInfo& info = ChildWindowInfo;
  if (info.ActFormWidth <= 0 || info.ActFormHeight <= 0) return current;
  return {info.ActFormLeft, info.ActFormTop, info.ActFormWidth, info.ActFormHeight};
}

}  // namespace hakuvo
