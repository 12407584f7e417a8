#include "core/datafile/diary.h"

namespace hakuvo {

TDiary::TDiary(const std::string& fileName) {
  File.SetFileName(fileName);
  File.SetDayDataList(&Days);
  File.SetCategoryInfoList(Categories.get());
  File.SetFileList(&Files);
  File.SetThingList(&Things);
  File.SetPersonList(&Persons);
  File.SetMultiDayGraphInfo(&MultiDayGraphInfo);
  File.SetMultiDayGraphInfo2(&MultiDayGraphInfo2);
  File.SetChildWindowInfo(&ChildWindowInfo);
}

void TDiary::LoadForChange() {
  // Taken before the read: a change slipping in between shows as a change later, never as none.
  TFileIdentity identity = ReadFileIdentity(File.FileName());
  File.Load();
  DiskIdentity = identity;
}

void TDiary::Save() {
  File.Save();
  DiskIdentity = ReadFileIdentity(File.FileName());
}

bool TDiary::IsChangedOnDisk() const {
  if (!DiskIdentity.Exists) return false;  // never read nor written: nothing to lose
  return !IsFileUnchanged(DiskIdentity, File.FileName());
}

}  // namespace hakuvo
