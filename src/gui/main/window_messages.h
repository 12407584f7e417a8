#pragma once

#include <QEvent>
#include <QtGlobal>

class QObject;

namespace hakuvo {

class TActData;

// The messages child windows post to the main window, and the main window forwards to its
// dockable children. Posting (never calling) keeps a child's own event finished before the
// main window reacts, and keeps the children ignorant of the main window's type.
enum TWindowMessage : int {
  WM_USER = 1024,
  WM_CHILD_CLOSED = WM_USER + 100,
  WM_DATA_CHANGED = WM_USER + 102,
  WM_SELECT_DAY = WM_USER + 103,        // WParam: whole-day date serial
  WM_CATEGORY_CHANGED = WM_USER + 104,  // WParam: category type
  WM_SELECT_MONTH = WM_USER + 105,      // WParam: date serial
  WM_LINK_VIEW_CHANGED = WM_USER + 106,
  WM_GPS_RANGE_CHANGED = WM_USER + 107,
  WM_LINK_ORDER_CHANGED = WM_USER + 108,
  WM_SELECT_ACT = WM_USER + 110,  // the action travels in the event
  WM_VIEW_SETTING_CHANGED = WM_USER + 112,
  WM_SELECT_YEAR = WM_USER + 113,  // WParam: date serial
  WM_SELECT_ROW = WM_USER + 114,   // LParam: row index of the main list
};

// One posted window message.
class TWindowMessageEvent : public QEvent {
 public:
  TWindowMessageEvent(int message, qint64 wParam = 0, qint64 lParam = 0, TActData* act = nullptr)
      : QEvent(EventType()), FMessage(message), FWParam(wParam), FLParam(lParam), FAct(act) {}

  // The one event type every window message travels under.
  static QEvent::Type EventType();

  int Message() const { return FMessage; }
  qint64 WParam() const { return FWParam; }
  qint64 LParam() const { return FLParam; }
  // WM_SELECT_ACT: the action to select. The receiver only compares it with its rows, so an
  // action freed while the message waited is never touched.
  TActData* Act() const { return FAct; }

 private:
  int FMessage;
  qint64 FWParam;
  qint64 FLParam;
  TActData* FAct;
};

// Posts a message to a window; it is handled once control returns to the event loop.
void PostWindowMessage(QObject* target, int message, qint64 wParam = 0, qint64 lParam = 0);
// WM_SELECT_ACT for an action of the diary (search windows).
void PostSelectAct(QObject* target, TActData* act);

}  // namespace hakuvo
