#pragma once

#include "gui/document/dock_manager.h"
#include "gui/document/window_ports.h"
#include "gui/main/map_dock.h"

namespace hakuvo {

class TAppData;
class TDiaryDocument;

// What the main window hands to the windows it makes: the diary, the settings, and the ports
// of the windows made before (filled as they are made).
struct TDockingFormContext {
  TDiaryDocument* Document = nullptr;
  TAppData* AppData = nullptr;
  TWindowPorts* Ports = nullptr;
  // Makes the map when it is first shown.
  TMapWindowMaker CreateMapWindow;
  // Reports a map that cannot be made when a place is edited through it.
  std::function<void(QWidget*, const QString&)> ShowError;
};

// Makes the main window's nine dockable windows by name. This is where the windows with a body
// of their own (graphs, map, link windows) are made, as only the main library sees all the
// feature libraries; a name without such a window gets a plain window with its caption, which
// docks, floats, closes and is stored like the rest. The context must outlive the factory.
TDockingFormFactory MainDockingFormFactory(const TDockingFormContext& context);

}  // namespace hakuvo
