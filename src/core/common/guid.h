#pragma once

#include <string>

namespace hakuvo {

// A new random (version 4) GUID in the braced upper-case form, 38 characters:
// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
std::string NewGuidString();

// True when the text has the braced 38-character form (either letter case).
bool IsGuidString(const std::string& text);

}  // namespace hakuvo
