#include "core/datafile/diary_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>

#include "core/common/file_lock.h"
#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

std::filesystem::path FolderOf(const std::filesystem::path& diary) {
  // The folder the save writes into: a diary reached through a link is replaced where it lies.
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(diary, error);
  if (error) resolved = std::filesystem::absolute(diary);
  return resolved.has_parent_path() ? resolved.parent_path() : std::filesystem::path("/");
}

}  // namespace

TDiaryLock::TDiaryLock(const std::filesystem::path& diary, std::chrono::milliseconds patience) {
  const std::filesystem::path folder = FolderOf(diary);
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that cannot be opened cannot hold the diary either; the read or the save that
  // follows reports that in its own words.
  if (descriptor < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    if (CallFlock(descriptor, LOCK_EX | LOCK_NB) == 0) {
      FDescriptor = descriptor;
      return;
    }
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK) {
      ::close(descriptor);
      if (IsLockingUnavailable(error)) return;
      const std::string reason = std::generic_category().message(error);
      throw EHakuvoError("日記を書き込み用に確保できません: " + diary.string() + " (" + reason + ")",
                         "Cannot reserve the diary for writing: " + diary.string() + " (" + reason + ")");
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      ::close(descriptor);
      throw EHakuvoError(
          "別のプログラムがこのフォルダーの日記を書き込み中です。しばらくしてからやり直してください: " + diary.string(),
          "Another program is writing a diary in this folder; try again in a moment: " + diary.string());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TDiaryLock::~TDiaryLock() {
  if (FDescriptor >= 0) ::close(FDescriptor);
}

}  // namespace hakuvo
