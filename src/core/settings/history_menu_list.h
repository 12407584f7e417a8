#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/text_util.h"

namespace hakuvo {

class TIniFile;

// The recently opened or saved data files, newest first, as the File menu lists them. Paths
// compare exactly, byte for byte, as the file system tells them apart. The list lives in the settings file of the mode,
// section "File": HistoryFileNum and HistoryFile0, HistoryFile1, ...
class THistoryMenuList {
 public:
  static constexpr int DefaultMax = 10;

  const TStringList& Items() const { return FItems; }
  std::size_t Count() const { return FItems.size(); }
  const std::string& operator[](std::size_t index) const { return FItems[index]; }
  int IndexOf(std::string_view path) const;

  int Max() const { return FMax; }
  // A positive maximum drops the entries beyond it; a list with no room for even one entry
  // would lose the user's history, so other values are ignored (the menu hides its items
  // itself when it wants none).
  void SetMax(int value);

  // Puts the path at the top. A path already listed moves there; a new one is inserted and the oldest entries beyond
  // Max are dropped. An empty path is ignored.
  void Add(const std::string& path);
  // Returns whether the path was listed.
  bool Remove(std::string_view path);
  void Clear() { FItems.clear(); }

  // Reads the stored entries as they are, without applying Max, so a longer list written by
  // hand shows until it next changes. Empty entries and repeats of an earlier entry are skipped.
  void LoadFromIni(const TIniFile& ini);
  // Sets the count and the entries; higher-numbered keys of a longer old list stay and are
  // ignored, as every other key of the document does.
  void SaveToIni(TIniFile& ini) const;

  // Reads the list from the settings file; a missing file gives an empty list.
  void Load(const std::filesystem::path& iniFileName);
  // Loads the settings file (so its other keys survive), stores the list and rewrites it
  // atomically, creating the settings folder when needed.
  void Save(const std::filesystem::path& iniFileName) const;

 private:
  TStringList FItems;
  int FMax = DefaultMax;
};

}  // namespace hakuvo
