#pragma once

#include <cstdint>

namespace hakuvo {

// Colours are stored as integers in 0x00BBGGRR order (red in the low byte).
using TColor = std::int32_t;

}  // namespace hakuvo
