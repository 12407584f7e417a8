#pragma once

#include <memory>
#include <string>

#include "core/datafile/diary.h"

namespace hakuvo {

// A diary file read beside the diary on show, so that the reading can run on another thread
// while the shown diary stays as it is; the result is handed over in one quick step.
//
// It reads exactly what reading the file straight into the shown diary would: the reader starts
// from the shown diary's category settings, two-data graph settings, layout record and window
// choices, which the constructor copies (small, on the caller's thread).
class TDiaryRead {
 public:
  TDiaryRead(const TDiary& shown, const std::string& path);
  TDiaryRead(const TDiaryRead&) = delete;
  TDiaryRead& operator=(const TDiaryRead&) = delete;
  ~TDiaryRead();

  const std::string& Path() const { return FDiary->File.FileName(); }
  // The diary as read (before HandOver).
  const TDiary& Diary() const { return *FDiary; }

  // Reads the file under the folder's lock, on any thread; a failure throws EHakuvoError and
  // leaves this object unread.
  void Read();
  bool IsRead() const { return FIsRead; }

  // Puts the read diary into `shown`: days, file, thing and person lists, settings, window
  // choices, file name and what the file on disk was. Objects `shown` hands to its windows (the
  // category settings, the lists) stay the same objects with new contents; what `shown` held
  // before passes into this object and goes with it. Takes no longer than the category
  // settings' copy, whatever the diary's size.
  void HandOver(TDiary& shown);

 private:
  std::unique_ptr<TDiary> FDiary;
  bool FIsRead = false;
};

}  // namespace hakuvo
