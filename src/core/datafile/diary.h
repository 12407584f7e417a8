#pragma once

#include <memory>
#include <string>

#include "core/common/file_identity.h"
#include "core/datafile/day_data_file.h"
#include "core/model/category_info_list.h"
#include "core/model/day_data.h"
#include "core/model/graph_info.h"
#include "core/model/link_data.h"
#include "core/settings/child_window_info.h"

namespace hakuvo {

// Everything one diary file holds, owned together, with the data file wired to it. The desktop
// program's diary document, the command line, the fuzz target and the sample generator each work
// on one of these.
struct TDiary {
  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Categories = TCategoryInfoList::CreateStandard();
  TLinkDataOwner Files;
  TLinkDataOwner Things;
  TLinkDataOwner Persons;
  TGraphInfo MultiDayGraphInfo;
  TGraphInfo MultiDayGraphInfo2;
  TChildWindowInfo ChildWindowInfo;
  TDayDataFile File;

  explicit TDiary(const std::string& fileName);
  TDiary(const TDiary&) = delete;
  TDiary& operator=(const TDiary&) = delete;

  // The file as this diary last read or wrote it; empty before either.
  TFileIdentity DiskIdentity;

  // Reads File.FileName() for looking at only. Both reads take a link's relative file name (as
  // older versions stored what was typed) from the diary's folder, wherever the program runs.
  void Load();
  // Reads and writes File.FileName() and notes what the file on disk is afterwards, for a later
  // IsChangedOnDisk. The caller holds the folder's TDiaryLock around a read, a change and its save.
  void LoadForChange();
  void Save();
  // True when the file on disk is no longer the one this diary read or wrote (another program
  // wrote it, or it was removed).
  bool IsChangedOnDisk() const;
};

}  // namespace hakuvo
