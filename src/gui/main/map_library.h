#pragma once

#include <QString>
#include <QStringList>

#include "gui/document/window_ports.h"

namespace hakuvo {

// The map module's file name and the places the program looks for it, in order: beside the
// program (a build tree, a portable copy), then where an install puts it.
QStringList MapModuleCandidates(const QString& programFolder);

// Loads the map module (once) and makes a map window with it. Before the module's web engine
// is loaded, the drawing context it shares with the windows is made: the web engine makes it
// itself only when it is loaded before the application object, which would cost every start a
// graphics driver and 80 MB. Throws EHakuvoError saying what failed when the module cannot be
// found or loaded.
TMapWindow CreateMapWindowFromModule(TAppData& appData, TCategoryInfoList& categoryInfoList, QWidget* parent);

}  // namespace hakuvo
