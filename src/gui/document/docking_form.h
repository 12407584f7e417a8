#pragma once

#include <QString>
#include <QWidget>
#include <array>

namespace hakuvo {

// Base of the windows that dock into the main window's panels and tab strips or float on the
// desktop. The window is only the body: the dock manager wraps it in a frame for each place it
// goes, so a window never needs to know whether it is docked, a tab or floating.
class TDockingForm : public QWidget {
  Q_OBJECT

 public:
  // The client area the windows are laid out for.
  static constexpr int DesignWidth = 624;
  static constexpr int DesignHeight = 442;

  // `name` is the window's name in the stored layout; `caption` its title and tab text.
  TDockingForm(const QString& name, const QString& caption, QWidget* parent = nullptr);

  QString Name() const { return objectName(); }
  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption) { setWindowTitle(caption); }

  // Rebuilds what the window shows from the diary; called when the diary's data changed.
  virtual void RefreshData() {}
  // The link windows follow a changed picture turn, the map and the speed graph a changed
  // track range; other windows ignore both.
  virtual void LinkViewChanged() {}
  virtual void GpsRangeChanged() {}

  QSize sizeHint() const override { return {DesignWidth, DesignHeight}; }

 signals:
  // The window's own controls ask to close it; the dock manager closes it as its close box
  // would.
  void CloseRequested();
};

// One of the nine dockable windows: its name in the stored layout, its caption and its View
// menu item. Extended windows have their View item hidden unless all features are shown.
struct TDockingFormKind {
  const char* Name;
  const char* Caption;
  const char* ViewItem;
  bool IsExtended;
};

constexpr int DockingFormCount = 9;

// The nine windows in their fixed order (the order of the floating list and of the View items).
const std::array<TDockingFormKind, DockingFormCount>& DockingFormKinds();
// The order in which they are created: the link window is given the preview, the map and the
// speed graph, so those come first.
const std::array<const char*, DockingFormCount>& DockingFormCreationOrder();
// The kind of a name, or nullptr for a name that names no window.
const TDockingFormKind* FindDockingFormKind(const QString& name);

}  // namespace hakuvo
