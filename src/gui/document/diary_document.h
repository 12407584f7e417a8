#pragma once

#include <QMetaType>
#include <QObject>
#include <string>

#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"
#include "core/datafile/diary.h"
#include "core/model/act_data.h"
#include "core/model/category_type.h"

namespace hakuvo {

class TDiaryRead;

// The one open diary of the program: its days, category settings, file, thing and person
// lists, the two-data graph settings, the file it lives in and whether it changed since.
//
// It is also the post office between windows. A window never calls another: it emits one of
// the message signals below and every listener connects with Qt::QueuedConnection, so the
// sender's own event is over before anyone reacts. The document itself listens the same way
// to the messages that mean the diary (or its layout) changed and marks itself modified.
// The diary's file was written by another program since the diary read or wrote it.
class EDiaryChangedOnDisk : public EHakuvoError {
 public:
  explicit EDiaryChangedOnDisk(const std::string& fileName)
      : EHakuvoError("日記ファイルがほかのプログラムによって変更されています: " + fileName) {}
};

class TDiaryDocument : public QObject {
  Q_OBJECT

 public:
  explicit TDiaryDocument(QObject* parent = nullptr);
  ~TDiaryDocument() override;

  // Makes the message argument types known to queued connections made by signature.
  static void RegisterMetaTypes();

  TDiary& Diary() { return FDiary; }
  const TDiary& Diary() const { return FDiary; }
  TDayDataList& DayDataList() { return FDiary.Days; }
  TCategoryInfoList& CategoryInfoList() { return *FDiary.Categories; }
  TLinkDataOwner& FileList() { return FDiary.Files; }
  TLinkDataOwner& ThingList() { return FDiary.Things; }
  TLinkDataOwner& PersonList() { return FDiary.Persons; }
  TGraphInfo& MultiGraphInfo1() { return FDiary.MultiDayGraphInfo; }
  TGraphInfo& MultiGraphInfo2() { return FDiary.MultiDayGraphInfo2; }
  // The graph and window choices that travel with the file: read back after Open, set by the
  // main window before Save.
  TDayDataFile& DataFile() { return FDiary.File; }

  // The layout record the file's window section is read into and written from. The main window
  // hands in the settings' record, so a diary reopens in the layout it was saved with; nullptr
  // goes back to the diary's own record.
  void SetChildWindowInfo(TChildWindowInfo* info);
  TChildWindowInfo& ChildWindowInfo() { return *FDiary.File.ChildWindowInfo(); }

  // Empty for a diary that was never saved.
  const std::string& FileName() const { return FDiary.File.FileName(); }
  bool IsChange() const { return FIsChange; }
  void SetIsChange(bool value);

  // An empty diary: the days and file links go, the things, persons and category settings stay.
  void New();
  // Reads a diary file. A file that cannot be read throws EHakuvoError and leaves the diary and
  // the file name as they were, so a later save cannot write the old diary over that file.
  void Open(const std::string& path);
  // Takes a diary read apart (on a worker) in place of this one, as Open does once it has read
  // the file; what this diary held goes into `read`.
  void Adopt(TDiaryRead& read);
  // Writes the diary to FileName (which must not be empty).
  void Save();
  // Writes the diary under a new name. On failure it throws and the file name stays as it was.
  // Written over its own file, the diary first checks that the file is still the one it read or
  // last wrote; when another program (an import) wrote it since, EDiaryChangedOnDisk is thrown
  // and nothing is written, unless `overwriteChanges` says the user chose to write over them.
  // The folder is locked (TDiaryLock) from the check to the rename.
  void SaveAs(const std::string& path, bool overwriteChanges = false);
  // True when the diary's file was written by someone else since it was read or saved here.
  bool IsChangedOnDisk() const { return FDiary.IsChangedOnDisk(); }

 signals:
  // Sent directly, around New and Open: the actions a view holds are freed in between, so a
  // view lets go of them on the first and rebuilds on the second (also after a failed Open,
  // when the diary is the one it was).
  void DiaryAboutToBeReset();
  void DiaryReset();
  // Sent directly before the diary is written: the live window layout goes into the record now.
  void AboutToSave();
  // Sent directly after files were dropped in: the day, month and year graphs show the mode's
  // category again, as the main window's own category does.
  void GraphCategoriesReset();
  void FileNameChanged();
  void IsChangeChanged(bool isChange);

  // The window messages. Connect with Qt::QueuedConnection.
  void ChildClosed();
  void DataChanged();
  void SelectDay(hakuvo::TDateTime date);  // a whole-day date serial
  void CategoryChanged(hakuvo::TCategoryType category);
  void SelectMonth(hakuvo::TDateTime date);
  void LinkViewChanged();
  void GpsRangeChanged();
  void LinkOrderChanged();
  // The receiver only compares the action with its rows, so an action freed while the message
  // waited is never touched.
  void SelectAct(const hakuvo::TActData* act);
  void ViewSettingChanged();
  void SelectYear(hakuvo::TDateTime date);
  void SelectRow(int row);  // a row index of the main list

 private:
  void MarkChanged() { SetIsChange(true); }

  TDiary FDiary{""};
  bool FIsChange = false;
};

}  // namespace hakuvo

Q_DECLARE_METATYPE(hakuvo::TCategoryType)
Q_DECLARE_METATYPE(const hakuvo::TActData*)
