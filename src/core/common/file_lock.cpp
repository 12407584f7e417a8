#include "core/common/file_lock.h"

#include <sys/file.h>

#include <atomic>
#include <cerrno>

namespace hakuvo {

namespace {

std::atomic<TFlockFunction> gFlock{&::flock};

}  // namespace

TFlockFunction SetFlockFunctionForTests(TFlockFunction function) {
  return gFlock.exchange(function != nullptr ? function : &::flock);
}

int CallFlock(int descriptor, int operation) { return gFlock.load()(descriptor, operation); }

bool IsLockingUnavailable(int error) {
  return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EBADF || error == EINVAL ||
         error == ENOSYS;
}

}  // namespace hakuvo
