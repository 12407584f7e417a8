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

}  // namespace hakuvo
