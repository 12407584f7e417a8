#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "cli/messages.h"
#include "core/common/date_time.h"
#include "core/register/import_files.h"

namespace {

using hakuvo::cli::Text;
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
    throw UsageError{Text(hakuvo::cli::msgDateValues)};
  }
  const std::string mode = parsed.Value("--mode", "JOGGING");
  if (mode == "JOGGING") {
    options.Category = hakuvo::ctJogging;
  } else if (mode == "WALKING") {
    options.Category = hakuvo::ctWalking;
  } else if (mode == "BICYCLE") {
    options.Category = hakuvo::ctBicycle;
  } else {
    throw UsageError{Text(hakuvo::cli::msgModeValues)};
  }
  return options;
}

std::string SystemReason(int error) { return error != 0 ? hakuvo::cli::SystemErrorText(error) : std::string(); }

std::string RefusalText(const hakuvo::TDropFileResult& file) {
  switch (file.Refusal) {
    case hakuvo::drMissing:
      return Text(hakuvo::cli::msgRefusedMissing, {SystemReason(file.SystemError)});
    case hakuvo::drFolder:
      return Text(hakuvo::cli::msgRefusedFolder);
    case hakuvo::drNotRegular:
      return Text(hakuvo::cli::msgRefusedNotRegular);
    case hakuvo::drDuplicate:
      return Text(hakuvo::cli::msgRefusedDuplicate);
    case hakuvo::drTrackError:
      return Text(hakuvo::cli::msgRefusedTrack,
                  {hakuvo::cli::ErrorLine(hakuvo::cli::LocaleText(file.Message, file.EnglishMessage)).substr(7)});
    case hakuvo::drUnreadable:
      return Text(hakuvo::cli::msgRefusedUnreadable, {SystemReason(file.SystemError)});
    case hakuvo::drAlreadyInDiary:
      return Text(hakuvo::cli::msgRefusedInDiary);
    case hakuvo::drNone:
      break;
  }
  return {};
}

// Registers files into a diary as dropping them on the desktop program's window does, saves the
// diary (atomically, with the diary's folder locked from the read to the save) and prints what
// became of each file. A track that cannot be read ends the import there, as it ends a drop; the
// files before it are kept and saved.
int RunImport(const std::vector<std::string>& args) {
  const hakuvo::cli::Arguments parsed =
      hakuvo::cli::ParseArguments(args, {"--date", "--mode"}, {"--no-exif-date", "--no-gps-date", "--again"});
  if (parsed.Positional.size() < 2) throw UsageError{Text(hakuvo::cli::msgExpectedDiaryAndFiles)};
  const hakuvo::TDropOptions options = ParseOptions(parsed);
  const std::string& diaryName = parsed.Positional[0];
  const std::vector<std::string> files(parsed.Positional.begin() + 1, parsed.Positional.end());

  const hakuvo::TImportResult result = hakuvo::ImportFiles(diaryName, files, options, parsed.Has("--again"));
  const hakuvo::TDropReport& report = result.Report;

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
        // A file the diary already has is what a script running again expects, not a failure.
        hakuvo::cli::PrintRow({file.FileName,
                               file.Refusal == hakuvo::drAlreadyInDiary ? "already in the diary" : "refused", "",
                               RefusalText(file)});
        if (file.Refusal != hakuvo::drAlreadyInDiary) exitStatus = 1;
        break;
      case hakuvo::doNotReached:
        hakuvo::cli::PrintRow({file.FileName, "not imported", "", Text(hakuvo::cli::msgNotReached)});
        exitStatus = 1;
        break;
    }
  }
  if (report.Error) {
    std::cout.flush();
    hakuvo::cli::PrintError(hakuvo::cli::LocaleText(*report.Error, report.EnglishError.value_or(std::string())));
  }
  return exitStatus;
}

hakuvo::cli::Registrar registrar(
    {"import", "DIARY FILE... [--date file|today|YYYY/MM/DD] [--no-exif-date] [--no-gps-date] [--mode MODE] [--again]",
     "registers photographs, tracks and other files into DIARY (made when missing) as dropping them on the "
     "window does: one outing per day of the MODE (JOGGING, WALKING, BICYCLE; JOGGING by default), dated by "
     "the file's time, a photograph's shooting time or a track's first time; a file the diary already links "
     "is left out unless --again is given; saves DIARY and prints what became of each file",
     RunImport});

}  // namespace
