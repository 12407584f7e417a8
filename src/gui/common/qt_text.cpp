#include "imaging/qt_text.h"
