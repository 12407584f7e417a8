#pragma once

#include <string>

#include "core/common/extended.h"

namespace hakuvo {

// Where an action took place.
class TPlace {
 public:
  virtual ~TPlace() = default;
  virtual void Assign(const TPlace& source) { *this = source; }

  std::string Title;
  std::string Address;
  Extended Latitude = 0;
  Extended Longitude = 0;
};

}  // namespace hakuvo
