#include "core/datafile/diary.h"

#include "core/links/link_path.h"

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

namespace {

void ResolveRelativeNames(TLinkDataOwner& files, const std::string& diaryFileName) {
  const TLinkDataList& links = files.List();
  for (int i = 0; i < links.Count(); ++i) {
    auto* file = dynamic_cast<TFileLink*>(links[i]);
    if (file == nullptr || file->FileName.empty() || file->FileName.front() == '/') continue;
    file->FileName = ResolveLinkName(file->FileName, diaryFileName);
  }
}

}  // namespace

void TDiary::Load() {
  File.Load();
  ResolveRelativeNames(Files, File.FileName());
}

void TDiary::LoadForChange() {
  // Taken before the read: a change slipping in between shows as a change later, never as none.
  TFileIdentity identity = ReadFileIdentity(File.FileName());
  Load();
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
