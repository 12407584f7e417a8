#include "core/settings/history_menu_list.h"

#include <algorithm>
#include <map>

#include "core/common/number_format.h"
#include "core/settings/ini_file.h"

namespace hakuvo {

namespace {

constexpr std::string_view Section = "File";
constexpr std::string_view CountKey = "HistoryFileNum";
constexpr std::string_view ItemKey = "HistoryFile";

std::string ItemName(std::size_t index) { return std::string(ItemKey) + std::to_string(index); }

}  // namespace

int THistoryMenuList::IndexOf(std::string_view path) const {
  // File names on Linux differ by letter case: "A.hkvw" and "a.hkvw" are two diaries.
  const auto found = std::find(FItems.begin(), FItems.end(), path);
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void THistoryMenuList::SetMax(int value) {
  if (value <= 0) return;
  FMax = value;
  if (FItems.size() > static_cast<std::size_t>(FMax)) FItems.resize(static_cast<std::size_t>(FMax));
}

void THistoryMenuList::Add(const std::string& path) {
  if (path.empty()) return;
  const int index = IndexOf(path);
  if (index >= 0) {
    std::rotate(FItems.begin(), FItems.begin() + index, FItems.begin() + index + 1);
    return;
  }
  FItems.insert(FItems.begin(), path);
  if (FItems.size() > static_cast<std::size_t>(FMax)) FItems.resize(static_cast<std::size_t>(FMax));
}

bool THistoryMenuList::Remove(std::string_view path) {
  const int index = IndexOf(path);
  if (index < 0) return false;
  FItems.erase(FItems.begin() + index);
  return true;
}

void THistoryMenuList::LoadFromIni(const TIniFile& ini) {
  FItems.clear();
  const int count = ini.ReadInteger(Section, CountKey, 0);
  // Walking the keys present rather than counting up to the stored number keeps a damaged
  // count of two thousand million from looping that many times.
  std::map<int, std::string> entries;
  for (const std::string& key : ini.ReadSection(Section)) {
    int index = -1;
    if (key.size() > ItemKey.size() && TryParseInt(std::string_view(key).substr(ItemKey.size()), index) && index >= 0 &&
        index < count && SameTextIgnoreCase(key, ItemName(static_cast<std::size_t>(index)))) {
      entries.emplace(index, ini.ReadString(Section, key, ""));
    }
  }
  for (auto& [index, path] : entries) {
    if (!path.empty() && IndexOf(path) < 0) FItems.push_back(std::move(path));
  }
}

void THistoryMenuList::SaveToIni(TIniFile& ini) const {
  ini.WriteInteger(Section, CountKey, static_cast<long long>(FItems.size()));
  for (std::size_t i = 0; i < FItems.size(); ++i) ini.WriteString(Section, ItemName(i), FItems[i]);
}

void THistoryMenuList::Load(const std::filesystem::path& iniFileName) { LoadFromIni(TIniFile(iniFileName)); }

void THistoryMenuList::Save(const std::filesystem::path& iniFileName) const {
  TIniFile ini(iniFileName);
  SaveToIni(ini);
  ini.UpdateFile();
}

}  // namespace hakuvo
