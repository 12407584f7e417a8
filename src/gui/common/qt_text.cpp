#include "gui/common/qt_text.h"
