#include "core/links/view_file_name.h"

#include <filesystem>
#include <system_error>

#include "core/common/guid.h"

namespace hakuvo {

namespace {

std::string HexDigitsOf(const std::string& guid) {
  std::string digits;
  digits.reserve(32);
  for (const char c : guid) {
    if (c != '{' && c != '}' && c != '-') digits += c;
  }
  return digits;
}

}  // namespace

std::string MakeViewFileName(const std::string& folder, const std::string& extension) {
  return MakeViewFileName(folder, extension, &NewGuidString);
}

std::string MakeViewFileName(const std::string& folder, const std::string& extension,
                             const std::function<std::string()>& newGuid) {
  std::string prefix = folder.empty() ? std::string(".") : folder;
  if (prefix.back() != '/') prefix += '/';
  for (;;) {
    std::string name = prefix + HexDigitsOf(newGuid()) + extension;
    // symlink_status: a dangling link is taken too, since writing through it would land elsewhere.
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(name, error))) return name;
  }
}

}  // namespace hakuvo
