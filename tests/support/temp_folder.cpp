#include "support/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace hakuvo::test {

TTempFolder::TTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "hakuvo-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder: " + pattern);
  FPath = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

std::string TTempFolder::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = Path(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
  return path;
}

}  // namespace hakuvo::test
