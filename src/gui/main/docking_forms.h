#pragma once

#include "gui/document/dock_manager.h"

namespace hakuvo {

// Makes the main window's nine dockable windows by name. This is where the windows with a body
// of their own (graphs, map, link windows) are to be made, as only the main library sees all the
// feature libraries; a name without such a window gets a plain window with its caption, which
// docks, floats, closes and is stored like the rest.
TDockingFormFactory MainDockingFormFactory();

}  // namespace hakuvo
