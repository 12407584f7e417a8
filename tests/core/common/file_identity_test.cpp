#include "core/common/file_identity.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

void SetModified(const std::string& path, long seconds, long nanoseconds) {
  const struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(FileIdentity, TellsAChangeFromATouchOrACopyOfTheSameBytes) {
  test::TTempFolder folder;
  const std::string path = folder.Write("d.hkvj", "<diary>one</diary>");
  SetModified(path, 1'700'000'000, 123'456'789);
  const TFileIdentity known = ReadFileIdentity(path);
  ASSERT_TRUE(known.Exists);
  EXPECT_TRUE(IsFileUnchanged(known, path));

  struct Case {
    const char* What;
    std::string Bytes;  // empty: removed
    long Nanoseconds;
    bool Unchanged;
  };
  const Case cases[] = {
      // Same size, same time to the second: the nanoseconds tell, and then the content.
      {"other bytes of the same size, a nanosecond later", "<diary>two</diary>", 123'456'790, false},
      {"the same bytes written again later", "<diary>one</diary>", 999, true},
      {"a longer file", "<diary>one more</diary>", 123'456'789, false},
      {"removed", "", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove(path);
    if (!c.Bytes.empty()) {
      // A new file under the name, as an atomic save makes it.
      folder.Write("d.hkvj", c.Bytes);
      SetModified(path, 1'700'000'000, c.Nanoseconds);
    }
    EXPECT_EQ(IsFileUnchanged(known, path), c.Unchanged);
  }
}

TEST(FileIdentity, OnAFileSystemWithWholeSecondsTheContentDecides) {
  test::TTempFolder folder;
  const std::string path = folder.Write("d.hkvj", "abcdefgh");
  SetModified(path, 1'700'000'000, 0);
  const TFileIdentity known = ReadFileIdentity(path);
  // Rewritten in place within the same second: size, inode and time all agree.
  folder.Write("d.hkvj", "abcdefgX");
  SetModified(path, 1'700'000'000, 0);
  EXPECT_FALSE(IsFileUnchanged(known, path));
}

TEST(FileIdentity, AMissingFileIsKnownAsMissing) {
  test::TTempFolder folder;
  const TFileIdentity missing = ReadFileIdentity(folder.Path("none"));
  EXPECT_FALSE(missing.Exists);
  EXPECT_TRUE(IsFileUnchanged(missing, folder.Path("none")));
  folder.Write("none", "");
  EXPECT_FALSE(IsFileUnchanged(missing, folder.Path("none")));
}

TEST(FileIdentity, TheHashCoversEveryByteAcrossBlocks) {
  test::TTempFolder folder;
  std::string big(3 * 1024 * 1024 + 17, 'x');
  const std::string path = folder.Write("big", big);
  const TFileIdentity known = ReadFileIdentity(path);
  for (const std::size_t at : {std::size_t{0}, std::size_t{1024 * 1024}, big.size() - 1}) {
    std::string changed = big;
    changed[at] = 'y';
    folder.Write("other", changed);
    EXPECT_NE(ReadFileIdentity(folder.Path("other")).Hash, known.Hash) << at;
  }
}

}  // namespace
}  // namespace hakuvo
