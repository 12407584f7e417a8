#include "core/links/view_file_name.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

using test::TTempFolder;

TEST(ViewFileName, FolderSlashGuidDigitsAndExtension) {
  TTempFolder folder;
  struct Case {
    std::string Folder, Extension, Prefix;
  };
  const Case cases[] = {
      {folder.Path().string(), ".gps", folder.Path().string() + "/"},
      {folder.Path().string() + "/", ".jpg", folder.Path().string() + "/"},  // no doubled separator
      {"", ".gps", "./"},                                                    // the current folder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Folder + c.Extension);
    const std::string name = MakeViewFileName(c.Folder, c.Extension);
    ASSERT_TRUE(name.starts_with(c.Prefix)) << name;
    EXPECT_TRUE(std::regex_match(name.substr(c.Prefix.size()), std::regex("[0-9A-F]{32}\\" + c.Extension))) << name;
    EXPECT_FALSE(fs::exists(name));
  }
}

TEST(ViewFileName, EveryCallDrawsANewGuid) {
  std::set<std::string> names;
  for (int i = 0; i < 100; ++i) names.insert(MakeViewFileName("/tmp", ".gps"));
  EXPECT_EQ(names.size(), 100u);
}

TEST(ViewFileName, DrawsAgainWhileTheNameIsTaken) {
  TTempFolder folder;
  const std::vector<std::string> guids = {
      "{11111111-1111-4111-8111-111111111111}",  // a file of that name is there
      "{22222222-2222-4222-8222-222222222222}",  // a link to nowhere is there: still taken
      "{33333333-3333-4333-8333-333333333333}",  // a folder of that name is there
      "{4444AAAA-BBBB-4CCC-8DDD-EEEEFFFF0000}",  // free
  };
  std::ofstream(folder.Path().string() + "/11111111111141118111111111111111.gps") << "x";
  fs::create_symlink(folder.Path().string() + "/nowhere",
                     folder.Path().string() + "/22222222222242228222222222222222.gps");
  fs::create_directory(folder.Path().string() + "/33333333333343338333333333333333.gps");
  // The same digits with another extension do not make the name taken.
  std::ofstream(folder.Path().string() + "/4444AAAABBBB4CCC8DDDEEEEFFFF0000.jpg") << "x";

  std::size_t drawn = 0;
  const std::string name = MakeViewFileName(folder.Path().string(), ".gps", [&] { return guids.at(drawn++); });
  EXPECT_EQ(name, folder.Path().string() + "/4444AAAABBBB4CCC8DDDEEEEFFFF0000.gps");
  EXPECT_EQ(drawn, 4u);
}

}  // namespace
}  // namespace hakuvo
