#pragma once

#include <QRect>

#include "core/settings/app_data.h"

namespace hakuvo {

// Window places are kept by the settings as TBounds and handled by Qt as QRect.
inline QRect ToQRect(const TBounds& bounds) { return QRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height); }
inline TBounds ToBounds(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }

}  // namespace hakuvo
