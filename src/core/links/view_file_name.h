#pragma once

#include <functional>
#include <string>

namespace hakuvo {

// A name for a new view file (a thumbnail or a reduced track) in the thumbnail folder: the folder
// ("." when empty), "/", the 32 upper-case hexadecimal digits of a new GUID (no braces, no dashes)
// and the extension, dot included. A new GUID is drawn for as long as something of that name
// exists, so the name is free when it is returned.
std::string MakeViewFileName(const std::string& folder, const std::string& extension);

// The same with the GUIDs taken from `newGuid` (braced form), so that a test can make the first
// draws collide with files that are there.
std::string MakeViewFileName(const std::string& folder, const std::string& extension,
                             const std::function<std::string()>& newGuid);

}  // namespace hakuvo
