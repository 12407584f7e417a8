// The settings object reading an arbitrary settings file: it must never crash, keep its lists
// within what the file holds, and what it writes must read back to the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/common/date_time.h"
#include "core/model/category_info_list.h"
#include "core/settings/app_data.h"
#include "core/settings/ini_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace hakuvo;
  // Missing dates default to now; a fixed clock keeps the runs comparable.
  SetNowForTesting(45418.5);
  TIniFile ini;
  ini.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));

  TCategoryList categories;
  TAppData settings("/opt/hakuvo");
  settings.CategoryList = &categories;
  settings.ReadFromIni(ini);

  const TChildWindowInfo& info = settings.ChildWindowInfo;
  Check(settings.WindowState <= wsMaximized);
  Check(info.LinkViewInfo.ViewStyle() <= vsReport);
  Check(settings.GoogleMapGeocodeCount >= 0);
  // Every entry of a list costs the file at least a key line, defaults aside.
  for (const TStringList* list : {&info.RightPanelDockClientList, &info.RightTabDockClientList, &info.FloatingList,
                                  &info.FileLinkSearchFolderList, &info.FileLinkSearchFileNameList}) {
    Check(list->size() <= size);
  }
  Check(info.BottomPanelDockClientList.size() <= size + 1);
  Check(info.BottomTabDockClientList.size() <= size + 3);
  Check(categories.Count() <= static_cast<int>(size) + 17);
  for (int i = 0; i < categories.Count(); ++i) Check(IsValidCategoryOrdinal(categories.Items(i).Category));
  settings.IsGoogleMapGeocodeLimit(settings.ChildWindowInfo.DropFileDialogDate);

  // Written into a fresh document, read back and written again, the text does not move.
  TIniFile first;
  settings.WriteToIni(first);
  TIniFile firstFile;
  firstFile.LoadFromBytes(first.SaveToBytes());
  TCategoryList rereadCategories;
  TAppData reread("/opt/hakuvo");
  reread.CategoryList = &rereadCategories;
  reread.ReadFromIni(firstFile);
  TIniFile second;
  reread.WriteToIni(second);
  Check(second.Text() == first.Text());

  // Written over the file it came from (as a real write does), it reads back the same too.
  settings.WriteToIni(ini);
  TIniFile updated;
  updated.LoadFromBytes(ini.SaveToBytes());
  TCategoryList updatedCategories;
  TAppData fromUpdated("/opt/hakuvo");
  fromUpdated.CategoryList = &updatedCategories;
  fromUpdated.ReadFromIni(updated);
  TIniFile third;
  fromUpdated.WriteToIni(third);
  Check(third.Text() == first.Text());
  return 0;
}
