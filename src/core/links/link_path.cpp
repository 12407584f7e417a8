#include "core/links/link_path.h"

#include <filesystem>
#include <system_error>

namespace hakuvo {

namespace fs = std::filesystem;

namespace {

std::string Normal(const fs::path& path) {
  std::string text = path.lexically_normal().string();
  // "/a/b/" names the same as "/a/b"; the root itself keeps its slash.
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

std::string AbsoluteLinkName(const std::string& given) {
  if (given.empty()) return given;
  std::error_code error;
  const fs::path absolute = fs::absolute(fs::path(given), error);
  return error ? given : Normal(absolute);
}

std::string ResolveLinkName(const std::string& stored, const std::string& diaryFileName) {
  if (stored.empty()) return stored;
  const fs::path path(stored);
  if (path.is_absolute()) return Normal(path);
  if (diaryFileName.empty()) return AbsoluteLinkName(stored);
  const fs::path diaryFolder = fs::path(AbsoluteLinkName(diaryFileName)).parent_path();
  return Normal(diaryFolder / path);
}

}  // namespace hakuvo
