#include "gui/common/screen_bounds.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace hakuvo {

QRect AvailableAreaAt(const QPoint& point) {
  const QScreen* screen = QGuiApplication::screenAt(point);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect FitSizeToScreen(int left, int top, int width, int height) {
  // The size is limited before a rectangle is made of it: the far edge of an absurd size does
  // not fit into an int.
  const QRect area = AvailableAreaAt(QPoint(left, top));
  return {left, top, std::min(width, area.width()), std::min(height, area.height())};
}

QRect CentredOn(const QRect& owner, const QSize& size, const QRect& area) {
  QRect placed(QPoint(0, 0), size);
  placed.moveCenter(owner.center());
  if (area.isEmpty()) return placed;
  // Right and bottom edges first, so that a window larger than the area keeps its top left
  // corner on it.
  if (placed.right() > area.right()) placed.moveRight(area.right());
  if (placed.bottom() > area.bottom()) placed.moveBottom(area.bottom());
  if (placed.left() < area.left()) placed.moveLeft(area.left());
  if (placed.top() < area.top()) placed.moveTop(area.top());
  return placed;
}

}  // namespace hakuvo
