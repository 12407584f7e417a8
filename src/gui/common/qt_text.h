#pragma once

#include <QString>
#include <string>

namespace hakuvo {

// The core speaks UTF-8 std::string; Qt speaks QString. These are the only crossing points.
inline QString ToQString(const std::string& text) { return QString::fromStdString(text); }
inline std::string ToStdString(const QString& text) { return text.toStdString(); }

}  // namespace hakuvo
