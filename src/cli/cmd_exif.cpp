#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/gps/jpeg_exif.h"

namespace {

std::string DateTimeText(hakuvo::TDateTime value) { return value == 0 ? "0" : hakuvo::DateTimeToStr(value); }

int RunExif(const std::vector<std::string>& args) {
  if (args.size() != 1) throw hakuvo::cli::UsageError{"expected one FILE"};
  const std::string& fileName = args[0];
  // The routines answer 0 for anything unreadable; a mistyped name deserves an error instead.
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error)) throw hakuvo::EHakuvoError(fileName + " が見つかりません");
  double latitude = 0, longitude = 0;
  hakuvo::ExifPosition(fileName, latitude, longitude);
  std::cout << "DateTimeOriginal=" << DateTimeText(hakuvo::ExifDateTimeOriginal(fileName)) << "\n"
            << "Orientation=" << hakuvo::ExifOrientation(fileName) << "\n"
            << "Latitude=" << hakuvo::FormatGeneral(latitude) << "\n"
            << "Longitude=" << hakuvo::FormatGeneral(longitude) << "\n";
  return 0;
}

hakuvo::cli::Registrar registrar({"exif", "FILE",
                                  "shooting time, rotation and GPS position of a JPEG photograph's Exif data",
                                  RunExif});

}  // namespace
