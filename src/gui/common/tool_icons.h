#pragma once

#include <QIcon>

namespace hakuvo {

enum TToolIcon { tiAdd, tiDelete, tiEdit, tiSettings, tiFind };

// Small icons of the action panel's tool bar, drawn by the program so that they look the same
// whatever icon theme the desktop has (or none).
QIcon ToolIcon(TToolIcon kind);

// The search buttons' magnifier: the icon theme's "edit-find" where the desktop has one, so that
// it matches the other programs; the drawn one otherwise.
QIcon FindIcon();

}  // namespace hakuvo
