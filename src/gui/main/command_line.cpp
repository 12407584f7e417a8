#include "gui/main/command_line.h"

#include "core/common/text_util.h"

namespace hakuvo {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

bool IsSwitch(const std::string& parameter) {
  if (parameter[0] == '-') return true;
  return parameter[0] == '/' && parameter.find('/', 1) == std::string::npos;
}

// The mode whose diaries carry the file's extension, for a diary opened without a mode switch
// (from the desktop's file manager, which knows nothing of modes).
bool ModeOfDiary(const std::string& fileName, TCategoryType& mode) {
  if (EndsWithIgnoreCase(fileName, ".hkvj")) {
    mode = ctJogging;
  } else if (EndsWithIgnoreCase(fileName, ".hkvw")) {
    mode = ctWalking;
  } else if (EndsWithIgnoreCase(fileName, ".hkvb")) {
    mode = ctBicycle;
  } else {
    return false;
  }
  return true;
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& parameters,
                              const std::function<bool(const std::string&)>& isFile) {
  TCommandLine result;
  bool modeGiven = false;
  for (const std::string& parameter : parameters) {
    if (parameter.empty()) continue;
    if (isFile(parameter) || !IsSwitch(parameter)) {
      if (result.DiaryFileName.empty()) result.DiaryFileName = parameter;
      continue;
    }
    const std::string name = AsciiUpper(parameter.substr(1));
    if (StartsWith(name, "APPDATAFOLDER")) result.IsAppDataFolder = true;
    if (StartsWith(name, "AD") || StartsWith(name, "NOAD")) continue;
    const std::string head = name.substr(0, 7);
    modeGiven = modeGiven || head == "JOGGING" || head == "WALKING" || head == "BICYCLE";
    if (head == "JOGGING") {
      result.Mode = ctJogging;
    } else if (head == "WALKING") {
      result.Mode = ctWalking;
    } else if (head == "BICYCLE") {
      result.Mode = ctBicycle;
    }
  }
  if (!modeGiven) ModeOfDiary(result.DiaryFileName, result.Mode);
  return result;
}

}  // namespace hakuvo
