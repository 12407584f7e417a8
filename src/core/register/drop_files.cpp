#include "core/register/drop_files.h"

#include "core/common/hakuvo_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <set>

#include "core/gps/gps_file.h"
#include "core/gps/jpeg_exif.h"
#include "core/links/file_kind.h"
#include "core/links/link_path.h"
#include "core/register/file_time.h"

namespace hakuvo {

namespace {

constexpr TDateTime kOneHour = 1.0 / 24.0;

// Looks at what the name names without opening it: reading a FIFO would wait for a writer. The
// same look gives the file's time (none when it cannot be converted).
TDropRefusal CheckFile(const std::string& fileName, std::string& identity, std::optional<TDateTime>& modified,
                       int& systemError) {
  struct stat status {};
  if (::stat(fileName.c_str(), &status) != 0) {
    systemError = errno;
    return drMissing;
  }
  if (S_ISDIR(status.st_mode)) return drFolder;
  if (!S_ISREG(status.st_mode)) return drNotRegular;
  // A link to a file nobody can read is no use, and a photograph's date would silently fall back
  // to the file's time.
  const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    systemError = errno;
    return drUnreadable;
  }
  char probe = 0;
  const ssize_t got = ::read(descriptor, &probe, 1);
  if (got < 0) systemError = errno;
  ::close(descriptor);
  if (got < 0) return drUnreadable;
  // Device and inode name the file whatever path, link or "./" led to it.
  identity = std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
  TDateTime time = 0;
  if (LocalDateTimeOf(status.st_mtime, time)) modified = time;
  return drNone;
}

std::string FileNameOnly(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The photograph's shooting time and rotation from one reading of its Exif block (the drop of a
// thousand photographs reads each once). Any failure gives 0 for both, as the separate routines do.
void ReadPhotograph(const std::string& fileName, TDateTime& shot, int& orientation) {
  shot = 0;
  orientation = 0;
  try {
    TJpegExif exif;
    exif.SetFileName(fileName);
    shot = exif.DateTimeOriginal();
    orientation = exif.Orientation();
  } catch (const std::exception&) {
    shot = 0;
    orientation = 0;
  }
}

TDateTime FileDate(const std::optional<TDateTime>& modified, const TDropOptions& options, bool isJpeg, TDateTime shot,
                   const TGpsFile* track) {
  switch (options.DateRule) {
    case ddToday:
      return Today();
    case ddRememberedDate:
      return options.RememberedDate;
    case ddFileDate:
      break;
  }
  TDateTime date = modified ? *modified : Today();
  if (options.UseExifDate && isJpeg && shot != 0) date = shot;
  if (options.UseGpsDate && track != nullptr && track->FirstDateTime() > 0) date = track->FirstDateTime();
  return date;
}

}  // namespace

Extended RoundedTrackDistance(Extended kilometres) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(kilometres));
  return std::strtod(text, nullptr);
}

TDropReport DropFiles(TRegisterTarget target, const std::vector<std::string>& fileNames, const TDropOptions& options,
                      TRegisterProgress* progress) {
  TDropReport report;
  report.Files.resize(fileNames.size());
  for (std::size_t i = 0; i < fileNames.size(); ++i) report.Files[i].FileName = fileNames[i];
  if (progress != nullptr) progress->Start(static_cast<std::int64_t>(fileNames.size()));

  std::set<std::string> seen;
  std::set<std::string> inDiary;
  if (options.SkipFilesInDiary) {
    const TLinkDataList& links = target.Files.List();
    for (int i = 0; i < links.Count(); ++i) {
      if (const auto* file = dynamic_cast<const TFileLink*>(links[i])) {
        inDiary.insert(ResolveLinkName(file->FileName, options.DiaryFileName));
      }
    }
  }
  std::set<TDayData*> touchedDays;
  for (std::size_t i = 0; i < fileNames.size(); ++i) {
    const std::string& fileName = fileNames[i];
    TDropFileResult& result = report.Files[i];
    std::string identity;
    std::optional<TDateTime> modified;
    result.Refusal = CheckFile(fileName, identity, modified, result.SystemError);
    if (result.Refusal == drNone && options.SkipFilesInDiary && inDiary.count(fileName) > 0) {
      result.Refusal = drAlreadyInDiary;
    }
    if (result.Refusal == drNone && !seen.insert(identity).second) result.Refusal = drDuplicate;

    if (result.Refusal == drNone) {
      std::unique_ptr<TGpsFile> track;
      if (IsGpsFile(fileName)) {
        track = CreateGpsFile(fileName);
        try {
          track->SetFileName(fileName);
        } catch (const std::exception& error) {
          // A track that cannot be read ends the whole drop; what came before stays.
          result.Outcome = doRefused;
          result.Refusal = drTrackError;
          result.Message = error.what();
          result.EnglishMessage = EnglishText(error);
          report.Error = error.what();
          report.EnglishError = result.EnglishMessage;
          break;
        }
      }
      const bool isJpeg = IsJpegFile(fileName);
      TDateTime shot = 0;
      int orientation = 0;
      if (isJpeg) ReadPhotograph(fileName, shot, orientation);
      const TDateTime date = FileDate(modified, options, isJpeg, shot, track.get());
      const TDateTime timeOfDay = TimeOf(date);

      TDayData& day = target.FindOrAddDay(DateOf(date));
      std::unique_ptr<TFileLink> link = CreateFileLink(fileName, orientation);
      link->TempDate = date;

      TActData* act = FirstRegisteredAct(day);
      if (act != nullptr) {
        if (IsFileCountAct(*act)) act->RecordData->SetData(act->RecordData->Data() + 1);
        TRecordData& record = *act->RecordData;
        if (timeOfDay < record.StartTime) record.StartTime = timeOfDay;
        if (auto* timeRecord = dynamic_cast<TTimeRecord*>(&record)) {
          if (timeOfDay > timeRecord->EndTime) timeRecord->EndTime = timeOfDay;
        }
        result.Outcome = doAddedToAct;
      } else {
        std::unique_ptr<TActData> fresh = target.NewAct(options.Category);
        if (options.Category == ctUserCategory) fresh->UserCategory = options.UserCategory;
        fresh->RecordData->StartTime = timeOfDay;
        if (auto* timeRecord = dynamic_cast<TTimeRecord*>(fresh->RecordData.get())) {
          timeRecord->EndTime = TimeOf(date + kOneHour);
          // The distance of an outing made from files is what its tracks measure, not the
          // record's placeholder of 1.
          timeRecord->SetData(0);
        }
        fresh->Title = FileNameOnly(fileName);
        fresh->TempData = 1;
        act = day.AddAct(std::move(fresh));
        result.Outcome = doNewAct;
      }
      TLinkData* added = target.Files.Add(std::move(link));
      act->LinkDataList.Add(added);

      if (track != nullptr && track->GpsList.Count() > 0) {
        if (auto* timeRecord = dynamic_cast<TTimeRecord*>(act->RecordData.get())) {
          // A log without times (GGA sentences only) says nothing of when the outing ended.
          if (track->EndDateTime() > 0) timeRecord->EndTime = TimeOf(track->EndDateTime());
          timeRecord->SetData(timeRecord->Data() + RoundedTrackDistance(track->TotalDistance()));
        }
      }
      if (options.MakeViewFiles) options.MakeViewFiles(*act);

      result.Date = date;
      result.Act = act;
      report.LastDate = date;
      report.Changed = true;
      touchedDays.insert(&day);
    } else {
      result.Outcome = doRefused;
    }

    if (progress != nullptr && !progress->Step(static_cast<std::int64_t>(i), fileName)) {
      report.Stopped = true;
      break;
    }
  }

  if (report.Changed) {
    target.Days.DateSort();
    for (TDayData* day : touchedDays) {
      day->ActDataList.DateSort();
      for (const auto& act : day->ActDataList) act->LinkDataList.DateSort();
    }
  }
  return report;
}

}  // namespace hakuvo
