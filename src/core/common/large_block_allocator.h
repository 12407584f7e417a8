#pragma once

#include <cstddef>
#include <new>

namespace hakuvo {

// Blocks of a few megabytes and more are laid on 2 MiB boundaries and offered to the kernel for
// huge pages. A million track points fill 64 MB; in 4 KiB pages that is 16,000 page faults as the
// reader writes them, which cost a reading of a long log about as much as splitting its lines.
// Small blocks come from the ordinary heap.
namespace large_block {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a block is ordinary: huge pages would round it up for too little gain.
constexpr std::size_t kThreshold = 2 * kHugePage;

void* Allocate(std::size_t bytes);
void Deallocate(void* block, std::size_t bytes) noexcept;

}  // namespace large_block

template <typename T>
class TLargeBlockAllocator {
 public:
  using value_type = T;

  TLargeBlockAllocator() = default;
  template <typename U>
  explicit TLargeBlockAllocator(const TLargeBlockAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    static_assert(alignof(T) <= large_block::kHugePage);
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const std::size_t bytes = count * sizeof(T);
    if (bytes < large_block::kThreshold) return static_cast<T*>(::operator new (bytes, std::align_val_t{alignof(T)}));
    return static_cast<T*>(large_block::Allocate(bytes));
  }
  void deallocate(T* block, std::size_t count) noexcept {
    const std::size_t bytes = count * sizeof(T);
    if (bytes < large_block::kThreshold) {
      ::operator delete (block, std::align_val_t{alignof(T)});
    } else {
      large_block::Deallocate(block, bytes);
    }
  }

  template <typename U>
  bool operator==(const TLargeBlockAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace hakuvo
