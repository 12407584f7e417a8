#pragma once

#include <QIcon>

namespace hakuvo {

enum TToolIcon { tiAdd, tiDelete, tiEdit, tiSettings };

// Small icons of the action panel's tool bar, drawn by the program so that they look the same
// whatever icon theme the desktop has (or none).
QIcon ToolIcon(TToolIcon kind);

}  // namespace hakuvo
