#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/model/category_type.h"

namespace hakuvo {

// What the program's command line asks for.
struct TCommandLine {
  TCategoryType Mode = ctJogging;  // ctJogging, ctWalking or ctBicycle
  bool IsAppDataFolder = false;    // keep the settings in the user's folder
  std::string DiaryFileName;       // a diary to open at start; empty when none was named
};

// Reads the parameters (without the program's own name). A parameter that names an existing
// file is a diary, even when it begins with "/" (an absolute path). Otherwise a parameter
// beginning with "-" or "/" is a switch, compared in upper case: "AD..." and "NOAD..." are
// accepted and change nothing; "JOGGING", "WALKING" and "BICYCLE" (first seven letters) choose
// the mode, the last one winning; "APPDATAFOLDER..." moves the settings. A "/" parameter with
// a further "/" in it is a path, not a switch. Any other parameter names the diary to open, so
// that a mistyped name is reported rather than silently replaced by the last diary; the first
// one named wins. Without a mode switch, a diary named with the extension of another mode's
// diaries (".hkvw", ".hkvb", ".hkvj", letter case ignored) starts that mode. `isFile` tells
// whether a path names an existing file.
TCommandLine ParseCommandLine(const std::vector<std::string>& parameters,
                              const std::function<bool(const std::string&)>& isFile);

}  // namespace hakuvo
