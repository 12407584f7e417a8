#pragma once

#include <chrono>
#include <filesystem>

namespace hakuvo {

// Keeps every other writer of diaries in the same folder (the desktop program's save, the
// command line's import and resave) out while a diary is read, changed and written, so that two
// writers never interleave their reads and writes. The lock is held on the diary's folder, as
// the diary itself is replaced by a new file on every save.
//
// Where the file system offers no locks (a network file system without a lock service), there
// is nothing to wait for: the lock is taken as given and IsHeld tells so; saves stay atomic.
// Waits up to `patience` for another writer, then throws EHakuvoError saying so.
class TDiaryLock {
 public:
  explicit TDiaryLock(const std::filesystem::path& diary,
                      std::chrono::milliseconds patience = std::chrono::milliseconds(10000));
  TDiaryLock(const TDiaryLock&) = delete;
  TDiaryLock& operator=(const TDiaryLock&) = delete;
  ~TDiaryLock();

  bool IsHeld() const { return FDescriptor >= 0; }

 private:
  int FDescriptor = -1;
};

}  // namespace hakuvo
