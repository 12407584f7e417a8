#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/messages.h"
#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/gps/gps_file.h"
#include "core/gps/track_summary.h"

namespace {

std::string DateTimeText(hakuvo::TDateTime value) { return value == 0 ? "0" : hakuvo::DateTimeToStr(value); }

hakuvo::TDateTime ParseDateTime(const std::string& option, const std::string& text) {
  hakuvo::TDateTime value = 0;
  if (!hakuvo::TryStrToDateTime(text, value)) {
    throw hakuvo::cli::UsageError{hakuvo::cli::Text(hakuvo::cli::msgDateTimeValue, {option, text})};
  }
  return value;
}

int RunTrack(const std::vector<std::string>& args) {
  std::optional<std::string> fileName;
  std::optional<hakuvo::TDateTime> start, end;
  bool points = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--points") {
      points = true;
    } else if (arg == "--start" || arg == "--end") {
      if (i + 1 >= args.size()) throw hakuvo::cli::UsageError{hakuvo::cli::Text(hakuvo::cli::msgNeedsDateTime, {arg})};
      (arg == "--start" ? start : end) = ParseDateTime(arg, args[++i]);
    } else if (arg.starts_with("--")) {
      throw hakuvo::cli::UsageError{hakuvo::cli::Text(hakuvo::cli::msgUnknownOption, {arg})};
    } else if (fileName) {
      throw hakuvo::cli::UsageError{hakuvo::cli::Text(hakuvo::cli::msgExpectedOneFile)};
    } else {
      fileName = arg;
    }
  }
  if (!fileName) throw hakuvo::cli::UsageError{hakuvo::cli::Text(hakuvo::cli::msgExpectedOneFile)};

  const auto track = hakuvo::CreateGpsFile(*fileName);
  if (!track) throw hakuvo::EHakuvoError(hakuvo::cli::Text(hakuvo::cli::msgNotTrackFile, {*fileName}));
  // One open end of the window stays open; with neither the whole file is read.
  if (start || end) {
    track->SetStartPos(start.value_or(-1));
    track->SetEndPos(end.value_or(std::numeric_limits<double>::max()));
  }
  track->SetFileName(*fileName);

  std::cout << "points=" << track->GpsList.Count() << "\n"
            << "distance_km=" << hakuvo::FormatGeneral(track->TotalDistance()) << "\n"
            << "first=" << DateTimeText(track->FirstDateTime()) << "\n"
            << "last=" << DateTimeText(track->EndDateTime()) << "\n";
  // New keys only after the old ones, so scripts reading by position keep working.
  const hakuvo::TTrackSummary summary = hakuvo::SummarizeTrack(track->GpsList);
  std::cout << "ascent_m=" << hakuvo::FormatGeneral(summary.AscentM) << "\n"
            << "descent_m=" << hakuvo::FormatGeneral(summary.DescentM) << "\n"
            << "moving_s=" << hakuvo::FormatGeneral(summary.MovingS) << "\n"
            << "moving_speed_kmh=" << hakuvo::FormatGeneral(summary.MovingSpeedKmh) << "\n"
            << "max_speed_kmh=" << hakuvo::FormatGeneral(summary.MaxSpeedKmh) << "\n";
  if (points) {
    std::cout << "time\tlatitude\tlongitude\taltitude\n";
    for (const auto& point : track->GpsList) {
      std::cout << DateTimeText(point->RecordTime()) << "\t" << hakuvo::FormatGeneral(point->Latitude()) << "\t"
                << hakuvo::FormatGeneral(point->Longitude()) << "\t" << hakuvo::FormatGeneral(point->Altitude())
                << "\n";
    }
  }
  return 0;
}

hakuvo::cli::Registrar registrar({"track", "FILE [--start DT --end DT] [--points]",
                                  "points, distance and times of a GPS track (NMEA, GPX, KML, FIT or TCX); DT is local "
                                  "\"yyyy/mm/dd hh:nn:ss\"",
                                  RunTrack});

}  // namespace
