#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace hakuvo {

// The hourglass while a long operation runs; the normal cursor returns on every exit.
class TWaitCursor {
 public:
  TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace hakuvo
