#pragma once

#include <QRect>

namespace hakuvo {

// The free area (without panels and docks) of the screen under a point, else of the primary
// screen.
QRect AvailableAreaAt(const QPoint& point);

// Restored bounds with a size that fits into the free area of the screen under their top left
// corner; the position stays. A size read from the settings may come from a larger screen, or be
// absurd (a window of 30000 pixels takes gigabytes, one of 2^31 pixels cannot be closed): a
// restored window is never larger than the screen it opens on.
QRect FitSizeToScreen(int left, int top, int width, int height);
inline QRect FitSizeToScreen(const QRect& bounds) {
  return FitSizeToScreen(bounds.x(), bounds.y(), bounds.width(), bounds.height());
}

// A rectangle of the size centred on another one (a window first opened over its owner), moved
// so that it stays inside the area where it can.
QRect CentredOn(const QRect& owner, const QSize& size, const QRect& area);

}  // namespace hakuvo
