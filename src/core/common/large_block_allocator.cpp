#include "core/common/large_block_allocator.h"

#include <sys/mman.h>

namespace hakuvo::large_block {

void* Allocate(std::size_t bytes) {
  void* const block = ::operator new (bytes, std::align_val_t{kHugePage});
  // Only advice: a kernel without huge pages, or one that has none free, gives ordinary pages.
  ::madvise(block, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);
  return block;
}

void Deallocate(void* block, std::size_t) noexcept { ::operator delete (block, std::align_val_t{kHugePage}); }

}  // namespace hakuvo::large_block
