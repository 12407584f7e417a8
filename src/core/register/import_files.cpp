#include "core/register/import_files.h"

#include <sys/stat.h>

#include <cerrno>

#include "core/datafile/diary_lock.h"
#include "core/links/link_path.h"

namespace hakuvo {

TImportResult ImportFiles(const std::string& diaryName, const std::vector<std::string>& fileNames, TDropOptions options,
                          bool again) {
  const TDiaryLock lock(diaryName);
  TImportResult result;
  result.Diary = std::make_unique<TDiary>(diaryName);
  TDiary& diary = *result.Diary;
  // A diary that is not there yet is begun; one that is there must load (an unreadable one is
  // an error, not an empty diary to write over it).
  struct stat status {};
  if (::stat(diaryName.c_str(), &status) == 0 || errno != ENOENT) diary.LoadForChange();

  std::vector<std::string> absolute;
  absolute.reserve(fileNames.size());
  for (const std::string& name : fileNames) absolute.push_back(AbsoluteLinkName(name));
  options.SkipFilesInDiary = !again;
  options.DiaryFileName = diaryName;
  result.Report = DropFiles({diary.Days, *diary.Categories, diary.Files}, absolute, options, nullptr);
  if (result.Report.Changed) diary.Save();
  for (std::size_t i = 0; i < fileNames.size() && i < result.Report.Files.size(); ++i) {
    result.Report.Files[i].FileName = fileNames[i];
  }
  return result;
}

}  // namespace hakuvo
