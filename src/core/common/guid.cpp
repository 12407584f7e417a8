#include "core/common/guid.h"

#include <cctype>
#include <cstdint>
#include <mutex>
#include <random>

namespace hakuvo {

namespace {

std::uint64_t NextRandom() {
  // One engine for the process, seeded once from the system's entropy source.
  static std::mutex mutex;
  static std::mt19937_64 engine = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(), device(), device(), device(), device()};
    return std::mt19937_64(seed);
  }();
  std::lock_guard<std::mutex> lock(mutex);
  return engine();
}

}  // namespace

std::string NewGuidString() {
  std::uint64_t high = NextRandom();
  std::uint64_t low = NextRandom();
  high = (high & ~0xF000ull) | 0x4000ull;                // version 4
  low = (low & ~(0xC000ull << 48)) | (0x8000ull << 48);  // RFC 4122 variant
  // Written digit by digit: links are made by the ten thousand when a diary is read, and
  // snprintf took most of the time of each.
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "{00000000-0000-0000-0000-000000000000}";
  int digit = 0;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] == '-') continue;
    const std::uint64_t word = digit < 16 ? high : low;
    text[i] = kHex[(word >> (60 - 4 * (digit % 16))) & 0xF];
    ++digit;
  }
  return text;
}

bool IsGuidString(const std::string& text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

}  // namespace hakuvo
