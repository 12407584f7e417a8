#include "core/common/guid.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
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
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(high >> 32),
                static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFFF),
                static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
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
