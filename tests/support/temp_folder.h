#pragma once

#include <filesystem>
#include <string>

namespace hakuvo::test {

// A fresh folder of its own under the system's temporary folder, removed with everything in it
// when the object goes: tests that run side by side never see each other's files.
class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder itself.
  const std::filesystem::path& Path() const { return FPath; }
  // The name of a file in the folder, in the form the program's own functions take.
  std::string Path(const std::string& name) const { return (FPath / name).string(); }
  std::filesystem::path operator/(const std::string& name) const { return FPath / name; }
  // Writes the bytes to a file of that name (replacing it) and returns the file's name.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path FPath;
};

}  // namespace hakuvo::test
