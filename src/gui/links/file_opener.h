#pragma once

#include <QString>
#include <functional>

namespace hakuvo {

// Hands a file to the desktop's program for its type; false when none took it.
using TFileOpener = std::function<bool(const QString& fileName)>;
// Tells the user why a file did not open.
using TOpenFailureReporter = std::function<void(const QString& message)>;

// The desktop's own opener.
bool OpenWithDesktop(const QString& fileName);

// Opens a linked file; a file that is gone, or that no program opens, is reported, not only
// written to the terminal the program may not have.
bool OpenLinkedFile(const QString& fileName, const TFileOpener& opener, const TOpenFailureReporter& report);

}  // namespace hakuvo
