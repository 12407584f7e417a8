#pragma once

// The frames the dock manager puts the dockable windows in. Only the dock manager uses them.

#include <QDockWidget>
#include <QFrame>
#include <QPointer>
#include <QToolBar>
#include <functional>

class QLabel;
class QTabBar;
class QVBoxLayout;

namespace hakuvo {

class TDockingForm;

// The frame of one window while it sits in a dock panel or floats. Its close box and its menu
// go to the dock manager, which decides where the window goes.
class TDockHost : public QDockWidget {
 public:
  using TCloseHandler = std::function<void(TDockingForm*)>;
  using TMenuHandler = std::function<void(TDockingForm*, const QPoint& globalPos)>;

  TDockHost(TDockingForm* form, QWidget* parent, TCloseHandler onClose, TMenuHandler onMenu);

  TDockingForm* Form() const { return FForm; }
  // Puts the window back into the frame after it was shown elsewhere (popped out of a tab).
  void TakeBackForm();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QPointer<TDockingForm> FForm;
  TCloseHandler FOnClose;
  TMenuHandler FOnMenu;
};

// A tab strip: a tool bar at the far right or at the very bottom of the main window, holding a
// tab per window docked there. A tool bar area lies outside the dock areas, so the strip stays
// beside the panel whatever size the panel takes.
class TTabStrip : public QToolBar {
 public:
  TTabStrip(const QString& name, bool isRight, QWidget* parent);

  QTabBar* Bar() const { return FBar; }
  bool IsRight() const { return FIsRight; }
  // Whether the chosen tab is drawn as chosen: only while its window is out. Otherwise the
  // strip would seem to name the window of the panel above it after a tab of another window.
  void SetTabHighlighted(bool highlighted);
  bool IsTabHighlighted() const;
  // The tab of a window (by its name), or -1.
  int TabOf(const QString& formName) const;

 private:
  QTabBar* FBar;
  bool FIsRight;
};

// The window of a chosen tab, popped out beside its strip over the main window's work area.
// A caption line holds a button that docks the window into the strip's panel and a close box.
class TTabPopOut : public QFrame {
 public:
  TTabPopOut(QWidget* parent, std::function<void()> onPin, std::function<void()> onClose);

  // Shows the window in the frame (taking it out of wherever it was).
  void SetForm(TDockingForm* form);
  TDockingForm* Form() const { return FForm; }
  void ClearForm() { FForm = nullptr; }

 private:
  QLabel* FCaption;
  QVBoxLayout* FLayout;
  QPointer<TDockingForm> FForm;
};

}  // namespace hakuvo
