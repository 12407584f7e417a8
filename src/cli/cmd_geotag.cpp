#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "cli/messages.h"
#include "core/common/number_format.h"
#include "core/gps/photo_position.h"
#include "core/model/link_data.h"

namespace hakuvo::cli {
namespace {

std::string Coordinate(double value) { return FormatGeneral(value); }

std::string Offset(Extended seconds) {
  // Appended rather than prefixed: GCC 12 at -O3 takes "literal + temporary" for an overlapping copy.
  std::string text = seconds > 0 ? "+" : "";
  text += FormatGeneral(seconds);
  return text;
}

void PrintPhoto(const TDayData& day, const TActData& act, const TActPhoto& photo) {
  const TPhotoPosition& p = photo.Position;
  const std::string date = DateToStr(day.DateData);
  const std::string shot = photo.ShotTime != 0 ? DateTimeToStr(photo.ShotTime) : "0";
  switch (p.Source) {
    case psExif:
      PrintRow({date, photo.Link->FileName, shot, "exif", Coordinate(p.Latitude), Coordinate(p.Longitude), "", "", ""});
      return;
    case psTrack:
      PrintRow({date, photo.Link->FileName, shot, "track", Coordinate(p.Latitude), Coordinate(p.Longitude),
                DateTimeToStr(p.TrackTime), Offset(act.CameraClockOffset), ""});
      return;
    case psNone:
      break;
  }
  std::string reason = PhotoMissReasonKey(p.Reason);
  if (p.Reason == pmUnreadable && !photo.Error.empty()) reason += ": " + photo.Error;
  const bool timed = p.Reason == pmBeforeTrack || p.Reason == pmAfterTrack;
  PrintRow({date, photo.Link->FileName, shot, "none", "", "", timed ? DateTimeToStr(p.TrackTime) : "",
            timed ? Offset(act.CameraClockOffset) : "", reason});
}

// Where the desktop program's map puts each photograph of the outings, and why there. Reads the
// photographs and tracks; writes nothing.
int RunGeotag(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {"--date"}, {});
  if (parsed.Positional.size() != 1) throw UsageError{Text(msgOneDiary)};
  TDateTime only = 0;
  const bool oneDay = parsed.Has("--date");
  if (oneDay && !TryStrToDate(parsed.Value("--date"), only)) throw UsageError{Text(msgGeotagDate)};
  Diary diary(parsed.Positional[0]);
  diary.Load();
  std::cout << "date\tfile\tshot_time\tsource\tlatitude\tlongitude\ttrack_time\toffset_s\treason\n";
  for (const auto& day : diary.Days) {
    if (oneDay && std::floor(day->DateData) != std::floor(only)) continue;
    for (const auto& act : day->ActDataList) {
      for (const TActPhoto& photo : PlaceActPhotos(*act)) PrintPhoto(*day, *act, photo);
    }
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}

const Registrar registrar({"geotag", "DIARY [--date YYYY/MM/DD]",
                           "where the map puts each photograph of the outings (of that day only with --date): its "
                           "own GPS position (exif), the track's position at its shooting time plus the outing's "
                           "camera clock offset (track), or why it is not placed (none); writes nothing",
                           RunGeotag});

}  // namespace
}  // namespace hakuvo::cli
