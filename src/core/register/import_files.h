#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/register/drop_files.h"

namespace hakuvo {

struct TImportResult {
  std::unique_ptr<TDiary> Diary;  // as saved; the report's actions live in it
  TDropReport Report;             // its file names as the caller gave them
};

// Registers files into the diary file `diaryName` (begun when missing) as a drop on the window
// does, and saves it when anything was registered. The diary's folder is locked from the read to
// the save, so the desktop program's save or another import never interleaves with it.
//
// Links store absolute, normalised names, whatever folder the names were given from. Unless
// `again` is set, a file some link of the diary already names is refused as drAlreadyInDiary:
// importing the same folder twice adds nothing the second time.
TImportResult ImportFiles(const std::string& diaryName, const std::vector<std::string>& fileNames, TDropOptions options,
                          bool again);

}  // namespace hakuvo
