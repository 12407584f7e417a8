#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/model/act_data.h"
#include "core/register/register_target.h"

namespace hakuvo {

// Where the date of a dropped file comes from (the stored values of the remembered choice).
enum TDropDateRule : int {
  ddFileDate = 0,   // the file's last-modified time, or the photograph's or track's own time
  ddToday = 1,      // today
  ddRememberedDate  // TDropOptions::RememberedDate
};

struct TDropOptions {
  TDropDateRule DateRule = ddFileDate;
  bool UseExifDate = false;  // with ddFileDate: a photograph's shooting time wins
  bool UseGpsDate = false;   // with ddFileDate: a track's first time wins
  TDateTime RememberedDate = 0;
  // The category of the actions a drop makes (the program's mode), and a user category's name.
  TCategoryType Category = ctJogging;
  std::string UserCategory;
  // A file whose name a link of the diary already holds is refused (drAlreadyInDiary): a script
  // importing the same folders again and again adds each file once.
  bool SkipFilesInDiary = false;
  // The diary's own file: a relative name a link already holds is taken from its folder.
  std::string DiaryFileName;
  // When thumbnails are made automatically: makes the view files of an action's links.
  std::function<void(TActData&)> MakeViewFiles;
};

// What became of one dropped file.
enum TDropOutcome {
  doNewAct,      // a new action was made for it
  doAddedToAct,  // it joined (and widened) the action an earlier file of this run made
  doRefused,     // it was not registered (see TDropRefusal)
  doNotReached   // the drop ended before it: stopped by the user or by a track that failed
};

enum TDropRefusal {
  drNone,
  drMissing,        // nothing is there, or it cannot be looked at
  drFolder,         // a folder, not a file
  drNotRegular,     // a FIFO, a device or a socket: reading it might never end
  drDuplicate,      // the same file came earlier in this drop
  drTrackError,     // a track its reader could not read; this ends the drop
  drUnreadable,     // it is there but cannot be opened for reading (SystemError tells why)
  drAlreadyInDiary  // with SkipFilesInDiary: a link of the diary already names it
};

struct TDropFileResult {
  std::string FileName;
  TDropOutcome Outcome = doNotReached;
  TDropRefusal Refusal = drNone;
  std::string Message;         // the reader's error for drTrackError
  std::string EnglishMessage;  // the same in English, for the command line
  int SystemError = 0;         // errno for drMissing and drUnreadable
  TDateTime Date = 0;          // the date the file was registered under
  TActData* Act = nullptr;     // the action that holds its link
};

struct TDropReport {
  std::vector<TDropFileResult> Files;
  // The date of the last file registered (0 when none was): its day's first action is the one to
  // select afterwards.
  TDateTime LastDate = 0;
  bool Stopped = false;  // the user stopped the drop
  // The reader's error of a track that could not be read; the drop ended there. The files before
  // it stay registered.
  std::optional<std::string> Error;
  std::optional<std::string> EnglishError;
  // Whether the diary changed (a file was registered).
  bool Changed = false;
};

// Registers dropped files into the diary: each becomes a link of the action of its day that an
// earlier file of this run made (widened to the file's time, and for a track extended to its end
// with its distance added), or of a new action of the options' category. Afterwards the days are
// in date order and every day that received a file has its actions in time order and their links
// in date order.
TDropReport DropFiles(TRegisterTarget target, const std::vector<std::string>& fileNames, const TDropOptions& options,
                      TRegisterProgress* progress = nullptr);

// The distance a track adds to an outing: its length in km to one decimal.
Extended RoundedTrackDistance(Extended kilometres);

}  // namespace hakuvo
