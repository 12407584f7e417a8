#include "core/register/file_time.h"

#include <sys/stat.h>

namespace hakuvo {

bool LocalDateTimeOf(std::time_t seconds, TDateTime& result) {
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return false;
  TDateTime date = 0;
  TDateTime time = 0;
  if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date)) return false;
  // A leap second reads as the last second of its minute.
  if (!TryEncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, 0, time)) return false;
  result = date + time;
  return true;
}

bool FileModifiedTime(const std::string& fileName, TDateTime& result) {
  struct stat status {};
  if (::stat(fileName.c_str(), &status) != 0) return false;
  return LocalDateTimeOf(status.st_mtime, result);
}

}  // namespace hakuvo
