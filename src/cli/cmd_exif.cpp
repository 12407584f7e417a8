#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli_command.h"
#include "cli/messages.h"
#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/gps/jpeg_exif.h"

namespace {

using hakuvo::cli::Text;

std::string DateTimeText(hakuvo::TDateTime value) { return value == 0 ? "0" : hakuvo::DateTimeToStr(value); }

int RunExif(const std::vector<std::string>& args) {
  if (args.size() != 1) throw hakuvo::cli::UsageError{Text(hakuvo::cli::msgExpectedOneFile)};
  const std::string& fileName = args[0];
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error)) {
    throw hakuvo::EHakuvoError(Text(hakuvo::cli::msgFileNotFound, {fileName}));
  }
  // One reading, so that a file that is no photograph, or one without Exif data, is an error
  // instead of a row of zeros a script would take for a photograph taken nowhere at no time.
  hakuvo::TJpegExif exif;
  try {
    exif.SetFileName(fileName);
  } catch (const hakuvo::ENotJpegFileError&) {
    throw hakuvo::EHakuvoError(Text(hakuvo::cli::msgNotJpeg, {fileName}));
  } catch (const hakuvo::EJpegExifError&) {
    throw hakuvo::EHakuvoError(Text(hakuvo::cli::msgNoExif, {fileName}));
  }
  std::cout << "DateTimeOriginal=" << DateTimeText(exif.DateTimeOriginal()) << "\n"
            << "Orientation=" << exif.Orientation() << "\n"
            << "Latitude=" << hakuvo::FormatGeneral(exif.GpsLatitude()) << "\n"
            << "Longitude=" << hakuvo::FormatGeneral(exif.GpsLongitude()) << "\n";
  return 0;
}

hakuvo::cli::Registrar registrar({"exif", "FILE",
                                  "shooting time, rotation and GPS position of a JPEG photograph's Exif data",
                                  RunExif});

}  // namespace
