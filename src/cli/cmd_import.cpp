#include <sys/stat.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "core/common/date_time.h"
#include "core/register/drop_files.h"

namespace {

using hakuvo::cli::UsageError;

hakuvo::TDropOptions ParseOptions(const hakuvo::cli::Arguments& parsed) {
  hakuvo::TDropOptions options;
  options.UseExifDate = !parsed.Has("--no-exif-date");
  options.UseGpsDate = !parsed.Has("--no-gps-date");
  const std::string date = parsed.Value("--date", "file");
  if (date == "file") {
    options.DateRule = hakuvo::ddFileDate;
  } else if (date == "today") {
    options.DateRule = hakuvo::ddToday;
  } else if (hakuvo::TryStrToDate(date, options.RememberedDate)) {
    options.DateRule = hakuvo::ddRememberedDate;
  } else {
    throw UsageError{"--date must be file, today or a date YYYY/MM/DD"};
  }
  const std::string mode = parsed.Value("--mode", "JOGGING");
  if (mode == "JOGGING") {
    options.Category = hakuvo::ctJogging;
  } else if (mode == "WALKING") {
    options.Category = hakuvo::ctWalking;
  } else if (mode == "BICYCLE") {
    options.Category = hakuvo::ctBicycle;
  } else {
    throw UsageError{"--mode must be JOGGING, WALKING or BICYCLE"};
  }
  return options;
}

std::string RefusalText(const hakuvo::TDropFileResult& file) {
  switch (file.Refusal) {
    case hakuvo::drMissing:
      return "no such file, or it cannot be looked at";
    case hakuvo::drFolder:
      return "a folder, not a file";
    case hakuvo::drNotRegular:
      return "not a plain file (a FIFO, a device or a socket)";
    case hakuvo::drDuplicate:
      return "the same file was given earlier";
    case hakuvo::drTrackError:
      return "the track cannot be read: " + hakuvo::cli::ErrorLine(file.Message).substr(7);
    case hakuvo::drNone:
      break;
  }
  return {};
}

// Registers files into a diary as dropping them on the desktop program's window does, saves the
// diary (atomically) and prints what became of each file. A track that cannot be read ends the
// import there, as it ends a drop; the files before it are kept and saved.
int RunImport(const std::vector<std::string>& args) {
  const hakuvo::cli::Arguments parsed =
      hakuvo::cli::ParseArguments(args, {"--date", "--mode"}, {"--no-exif-date", "--no-gps-date"});
  if (parsed.Positional.size() < 2) throw UsageError{"expected DIARY and at least one FILE"};
  const hakuvo::TDropOptions options = ParseOptions(parsed);
  const std::string& diaryName = parsed.Positional[0];
  const std::vector<std::string> files(parsed.Positional.begin() + 1, parsed.Positional.end());

  hakuvo::cli::Diary diary(diaryName);
  // A diary that is not there yet is begun; one that is there must load.
  struct stat status {};
  if (::stat(diaryName.c_str(), &status) == 0) diary.Load();

  const hakuvo::TDropReport report =
      hakuvo::DropFiles({diary.Days, *diary.Categories, diary.Files}, files, options, nullptr);
  if (report.Changed) diary.Save();

  int exitStatus = 0;
  std::cout << "file\tresult\tdate\tdetail\n";
  for (const hakuvo::TDropFileResult& file : report.Files) {
    switch (file.Outcome) {
      case hakuvo::doNewAct:
        hakuvo::cli::PrintRow({file.FileName, "new outing", hakuvo::DateTimeToStr(file.Date), file.Act->Title});
        break;
      case hakuvo::doAddedToAct:
        hakuvo::cli::PrintRow({file.FileName, "widened outing", hakuvo::DateTimeToStr(file.Date), file.Act->Title});
        break;
      case hakuvo::doRefused:
        hakuvo::cli::PrintRow({file.FileName, "refused", "", RefusalText(file)});
        exitStatus = 1;
        break;
      case hakuvo::doNotReached:
        hakuvo::cli::PrintRow({file.FileName, "not imported", "", "the import ended at a track that cannot be read"});
        exitStatus = 1;
        break;
    }
  }
  if (report.Error) {
    std::cout.flush();
    hakuvo::cli::PrintError(*report.Error);
  }
  return exitStatus;
}

hakuvo::cli::Registrar registrar(
    {"import", "DIARY FILE... [--date file|today|YYYY/MM/DD] [--no-exif-date] [--no-gps-date] [--mode MODE]",
     "registers photographs, tracks and other files into DIARY (made when missing) as dropping them on the "
     "window does: one outing per day of the MODE (JOGGING, WALKING, BICYCLE; JOGGING by default), dated by "
     "the file's time, a photograph's shooting time or a track's first time; saves DIARY and prints what "
     "became of each file",
     RunImport});

}  // namespace
