#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QAction;
class QMenu;

namespace hakuvo {

class TAppData;
class TDockManager;

// The View menu's window items and the "show all features" switch.
//
// Each of the nine windows has a check item that closes the window when it is shown and shows
// it otherwise; its check mark follows the window. The items of the link window, link preview,
// map, speed graph and two-data graph, and the commands handed to AddExtendedCommand (link
// display settings, map defaults, thing and person lists, registering updated files), stay
// hidden unless "すべての機能を表示する(&X)" is checked; that choice is kept in the settings.
class TViewMenuItems : public QObject {
  Q_OBJECT

 public:
  // `settings` (may be null) gives the switch its start value and keeps each change.
  TViewMenuItems(TDockManager& docks, TAppData* settings, QObject* parent = nullptr);

  // The item of a window, by its name; nullptr for a name that names no window.
  QAction* FormAction(const QString& name) const;
  QAction* ShowAllAction() const { return FShowAll; }

  // Adds the window items to a menu: the action graph, the day, month and year graphs, then the
  // extended windows.
  void AddFormItems(QMenu& menu) const;
  // Adds a separator and the switch at the end of the menu.
  void AddShowAllItem(QMenu& menu) const;
  // A command that shows only with all features.
  void AddExtendedCommand(QAction* action);

  bool IsShowAll() const;
  void SetShowAll(bool value);
  // Check marks follow the windows and extended items follow the switch. Also run by itself
  // whenever a window is shown or hidden.
  void Update();

 signals:
  void ShowAllChanged(bool showAll);

 private:
  TDockManager& FDocks;
  TAppData* FSettings;
  std::vector<QAction*> FFormActions;  // in the order of the window list
  std::vector<QPointer<QAction>> FExtended;
  QAction* FShowAll;
};

}  // namespace hakuvo
