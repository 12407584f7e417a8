#include "gui/main/window_messages.h"

#include <QCoreApplication>

namespace hakuvo {

QEvent::Type TWindowMessageEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void PostWindowMessage(QObject* target, int message, qint64 wParam, qint64 lParam) {
  if (target == nullptr) return;
  QCoreApplication::postEvent(target, new TWindowMessageEvent(message, wParam, lParam));
}

void PostSelectAct(QObject* target, TActData* act) {
  if (target == nullptr) return;
  QCoreApplication::postEvent(target, new TWindowMessageEvent(WM_SELECT_ACT, 0, 0, act));
}

}  // namespace hakuvo
