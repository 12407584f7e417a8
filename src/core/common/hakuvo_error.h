#pragma once

#include <stdexcept>
#include <string>

namespace hakuvo {

// Base of every error the core raises; the message is the user's text (Japanese, UTF-8).
class EHakuvoError : public std::runtime_error {
public:
  explicit EHakuvoError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace hakuvo
