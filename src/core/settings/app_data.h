#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/model/category_type.h"
#include "core/settings/child_window_info.h"
#include "core/settings/map_service_info.h"

namespace hakuvo {

class TCategoryList;
class TIniFile;

enum TWindowState : std::uint8_t { wsNormal = 0, wsMinimized, wsMaximized };

// A window's place on the screen, in pixels.
struct TBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TBounds&) const = default;
};

// The per-user folders of the settings ($XDG_CONFIG_HOME/Orimaze/Hakuvo) and of the cache
// ($XDG_CACHE_HOME/Orimaze/Hakuvo). A variable that is unset, empty or not an absolute path
// stands for ~/.config and ~/.cache. Empty when not even the home folder is known.
std::filesystem::path UserSettingsFolder();
std::filesystem::path UserCacheFolder();
// $HOME, else the home folder of the user's account; empty when neither is known.
std::filesystem::path HomeFolder();
// Whether the program can create files in the folder (it must exist).
bool IsWritableFolder(const std::filesystem::path& folder);
// Whether the program runs from an installation (its folder is a prefix's "bin"): its settings
// then go to the user's folder even when the folder is writable.
bool IsInstalledProgramFolder(const std::filesystem::path& folder);

// The settings of one mode of the program: window places and sizes, column widths, the docking
// layout, remembered dialog choices, the last file, the category order, the map and link
// display defaults and the daily counter of address look-ups. They live in an INI file
// ("Jogging.ini" and so on) beside the program or in the user's settings folder; the recent
// files (THistoryMenuList) share that file and survive every write made here.
class TAppData {
 public:
  static constexpr int GeocodeLimitPerDay = 2400;

  // `programFolder` is the folder of the executable: the settings live there while it is
  // writable, and its "Thumbnail" subfolder is the default thumbnail folder.
  explicit TAppData(std::filesystem::path programFolder);
  TAppData(const TAppData&) = delete;
  TAppData& operator=(const TAppData&) = delete;

  // The settings file name of a mode: "Jogging.ini", "Walking.ini" or "Bicycle.ini". Any
  // other category is not a mode of the program and throws std::invalid_argument.
  static std::string IniFileNameOfMode(TCategoryType mode);
  void SetMode(TCategoryType mode) { IniFileName = IniFileNameOfMode(mode); }

  const std::filesystem::path& ProgramFolder() const { return FProgramFolder; }

  // Whether the file lives in the user's settings folder. Set it before Read: the default
  // thumbnail folder follows it (into the user's cache folder), and a ThumbnailFolder still
  // at the old default moves along.
  bool IsAppDataFolder() const { return FIsAppDataFolder; }
  void SetIsAppDataFolder(bool value);
  // Settles where the settings live: in the user's settings folder when `appDataSwitch` is
  // given, the program is installed or its folder is not writable, provided that folder can be
  // created;
  // otherwise in the program folder. Returns IsAppDataFolder.
  bool ChooseSettingsFolder(bool appDataSwitch);

  // The folder of the settings file (empty, meaning the working folder, when the user's
  // folder is wanted but unknown), and the file itself.
  std::filesystem::path SettingsFolder() const;
  std::filesystem::path GetIniFileName() const;
  // The thumbnail folder a file without the key gets: "Thumbnail" in the program folder, or
  // in the user's cache folder while the settings live in the user's folder.
  std::string DefaultThumbnailFolder() const;

  // Fills every field from the settings file; a missing file or key gives the default, a
  // number that does not convert too. A file that exists but cannot be read throws
  // EHakuvoError and leaves the object as it was.
  void Read();
  // Writes every field into the settings file, keeping the keys of others, atomically.
  // Throws EHakuvoError when the file cannot be read or written; the old file then stays.
  void Write() const;
  // The same over a document in memory.
  void ReadFromIni(const TIniFile& ini);
  void WriteToIni(TIniFile& ini) const;

  // Counts one address look-up on the day of `date`. Returns true, counting nothing, once
  // GeocodeLimitPerDay look-ups were made that day; the counter starts again each day.
  bool IsGoogleMapGeocodeLimit(TDateTime date);
  bool IsGoogleMapGeocodeLimit() { return IsGoogleMapGeocodeLimit(Now()); }

  // The bounds a window starts with: `current` with the stored bounds applied as far as they
  // keep the window reachable on `desktop`. Bounds never stored (a width or height of 0 or
  // less) leave `current` as it is. The search window takes its stored bounds as they are.
  TBounds MainFormBounds(const TBounds& current, const TBounds& desktop) const;
  TBounds RecordDialogBounds(const TBounds& current, const TBounds& desktop) const;
  TBounds ActFormBounds(const TBounds& current) const;

  int GoogleMapGeocodeCount = 0;
  TDateTime GoogleMapGeocodeDate = 0;
  std::string IniFileName = "Hakuvo.ini";
  // The default of DataFilePath: the user's documents folder. The core knows only the home
  // folder; the desktop program sets its own documents folder before Read.
  std::string DocumentsFolder;
  std::string DataFilePath;  // folder of the last opened or saved data file
  std::string FileName;      // the data file reopened at start
  int ToolBarImageSize = 16;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  TWindowState WindowState = wsNormal;
  TChildWindowInfo ChildWindowInfo;
  std::string ThumbnailFolder;
  bool IsMakeThumbnail = false;
  Extended Weight = 60.0L;  // the last body weight entered
  // The main window's category order; filled by Read, stored by Write, left alone while null.
  TCategoryList* CategoryList = nullptr;
  std::string ComboCategory;
  std::string DayGraphCategory;
  std::string MonthGraphCategory;
  std::string YearGraphCategory;
  // The View menu offers every window and command, not only those shown at first start.
  bool IsShowAll = false;
  // Tile, geocoding and external map servers of the map window; read only.
  TMapServiceInfo MapServiceInfo;

 private:
  std::filesystem::path FProgramFolder;
  bool FIsAppDataFolder = false;
};

}  // namespace hakuvo
