#include "core/datafile/diary_read.h"

#include <stdexcept>
#include <utility>

#include "core/datafile/diary_lock.h"

namespace hakuvo {

namespace {

void CopyGraphInfo(TGraphInfo& target, const TGraphInfo& source) {
  // Assign keeps the receiver's number of axis titles.
  target.RecordAxisTitle.resize(source.RecordAxisTitle.size());
  target.Assign(source);
}

void CopyView(TDayDataFile& target, const TDayDataFile& source) {
  target.SetDayGraphCategory(source.DayGraphCategory());
  target.SetMonthGraphCategory(source.MonthGraphCategory());
  target.SetYearGraphCategory(source.YearGraphCategory());
  target.SetComboCategory(source.ComboCategory());
  target.SetMultiDayGraphCategory(source.MultiDayGraphCategory());
  target.SetMultiDayGraphCategory2(source.MultiDayGraphCategory2());
  target.SetMultiDayGraphRecordKind(source.MultiDayGraphRecordKind());
  target.SetMultiDayGraphRecordKind2(source.MultiDayGraphRecordKind2());
  target.SetLeft(source.Left());
  target.SetTop(source.Top());
  target.SetWidth(source.Width());
  target.SetHeight(source.Height());
}

}  // namespace

TDiaryRead::TDiaryRead(const TDiary& shown, const std::string& path) : FDiary(std::make_unique<TDiary>(path)) {
  FDiary->Categories->CopyList(*shown.Categories);
  CopyGraphInfo(FDiary->MultiDayGraphInfo, shown.MultiDayGraphInfo);
  CopyGraphInfo(FDiary->MultiDayGraphInfo2, shown.MultiDayGraphInfo2);
  // The shown diary reads its window section into the record it was handed (the settings').
  FDiary->ChildWindowInfo.Assign(*shown.File.ChildWindowInfo());
  CopyView(FDiary->File, shown.File);
}

TDiaryRead::~TDiaryRead() = default;

void TDiaryRead::Read() {
  // No import or other save writes the file while it is read.
  const TDiaryLock lock(Path());
  FDiary->LoadForChange();
  FIsRead = true;
}

void TDiaryRead::HandOver(TDiary& shown) {
  if (!FIsRead) throw std::logic_error("TDiaryRead::HandOver: the diary was not read");
  TDiary& read = *FDiary;
  for (int i = 0; i < shown.Categories->Count() && i < read.Categories->Count(); ++i) {
    (*shown.Categories)[i]->Assign(*(*read.Categories)[i]);
  }
  CopyGraphInfo(shown.MultiDayGraphInfo, read.MultiDayGraphInfo);
  CopyGraphInfo(shown.MultiDayGraphInfo2, read.MultiDayGraphInfo2);
  shown.File.ChildWindowInfo()->Assign(read.ChildWindowInfo);
  CopyView(shown.File, read.File);
  // The lists swap their contents: the actions' links point into them and stay valid.
  shown.Files.Swap(read.Files);
  shown.Things.Swap(read.Things);
  shown.Persons.Swap(read.Persons);
  std::swap(shown.Days, read.Days);
  shown.File.SetFileName(read.File.FileName());
  shown.DiskIdentity = read.DiskIdentity;
  FIsRead = false;
}

}  // namespace hakuvo
