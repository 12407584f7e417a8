#pragma once

namespace hakuvo {

// The diary's stored values keep the 80-bit precision they were computed with.
using Extended = long double;

}  // namespace hakuvo
