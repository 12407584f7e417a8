#include "gui/document/diary_document.h"

#include "core/datafile/diary_lock.h"
#include "core/datafile/diary_read.h"

#include <stdexcept>

namespace hakuvo {

TDiaryDocument::TDiaryDocument(QObject* parent) : QObject(parent) {
  RegisterMetaTypes();
  // A change reported by a window is recorded in turn, like every other message.
  for (auto signal :
       {&TDiaryDocument::ChildClosed, &TDiaryDocument::DataChanged, &TDiaryDocument::LinkViewChanged,
        &TDiaryDocument::GpsRangeChanged, &TDiaryDocument::LinkOrderChanged, &TDiaryDocument::ViewSettingChanged}) {
    connect(this, signal, this, &TDiaryDocument::MarkChanged, Qt::QueuedConnection);
  }
}

TDiaryDocument::~TDiaryDocument() = default;

void TDiaryDocument::RegisterMetaTypes() {
  static const bool registered = [] {
    qRegisterMetaType<TDateTime>("TDateTime");
    qRegisterMetaType<TDateTime>("hakuvo::TDateTime");
    qRegisterMetaType<TCategoryType>("TCategoryType");
    qRegisterMetaType<TCategoryType>("hakuvo::TCategoryType");
    qRegisterMetaType<const TActData*>("const TActData*");
    qRegisterMetaType<const TActData*>("const hakuvo::TActData*");
    return true;
  }();
  (void)registered;
}

void TDiaryDocument::SetChildWindowInfo(TChildWindowInfo* info) {
  FDiary.File.SetChildWindowInfo(info != nullptr ? info : &FDiary.ChildWindowInfo);
}

void TDiaryDocument::SetIsChange(bool value) {
  if (FIsChange == value) return;
  FIsChange = value;
  emit IsChangeChanged(value);
}

void TDiaryDocument::New() {
  emit DiaryAboutToBeReset();
  FDiary.Days.Clear();
  FDiary.Files.Clear();
  FDiary.File.SetFileName("");
  emit DiaryReset();
  emit FileNameChanged();
  SetIsChange(false);
}

void TDiaryDocument::Open(const std::string& path) {
  TDiaryRead read(FDiary, path);
  // A file that cannot be read throws here, before anything of the diary changed.
  read.Read();
  Adopt(read);
}

void TDiaryDocument::Adopt(TDiaryRead& read) {
  emit DiaryAboutToBeReset();
  read.HandOver(FDiary);
  emit DiaryReset();
  emit FileNameChanged();
  SetIsChange(false);
}

void TDiaryDocument::Save() {
  if (FileName().empty()) throw std::logic_error("TDiaryDocument::Save: the diary has no file name");
  SaveAs(FileName());
}

void TDiaryDocument::SaveAs(const std::string& path, bool overwriteChanges) {
  const TDiaryLock lock(path);
  // Checked under the lock: an import cannot slip in between the check and the rename.
  if (!overwriteChanges && path == FileName() && FDiary.IsChangedOnDisk()) throw EDiaryChangedOnDisk(path);
  emit AboutToSave();
  const std::string oldName = FDiary.File.FileName();
  FDiary.File.SetFileName(path);
  try {
    FDiary.Save();
  } catch (...) {
    FDiary.File.SetFileName(oldName);
    throw;
  }
  if (oldName != path) emit FileNameChanged();
  SetIsChange(false);
}

}  // namespace hakuvo
