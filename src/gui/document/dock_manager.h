#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/settings/child_window_info.h"
#include "gui/document/docking_form.h"
#include "gui/document/layout_entry.h"

class QDockWidget;
class QMainWindow;
class QTabBar;
class QWidget;

namespace hakuvo {

class TDiaryDocument;
class TDockHost;
class TTabPopOut;
class TTabStrip;

// A floating window's place: where its frame starts, and the size of its inside.
QRect FloatingBounds(const QWidget& window);
void PlaceFloating(QWidget& window, const QRect& bounds);

// Where a dockable window is.
enum TDockSite : std::uint8_t { dsFloating = 0, dsRightPanel, dsRightTabs, dsBottomPanel, dsBottomTabs };

// Makes the window of a name; nullptr (or no factory at all) gets a plain TDockingForm with the
// name's caption. The main window supplies one that builds the graphs, the map and the link
// windows, so that this folder needs none of them.
using TDockingFormFactory = std::function<TDockingForm*(const QString& name)>;

// The docking of the main window's nine child windows: the right and bottom dock panels (Qt's
// right and bottom dock areas, hidden while they hold no window), the right and bottom tab
// strips whose tabs pop their window out beside the strip, floating windows, closing, and
// storing and restoring the whole arrangement in the layout record of the settings.
//
// It owns the windows. Every rearrangement the user makes is reported by LayoutChanged (and,
// with a document, marks the diary modified); a closed window posts the document's ChildClosed.
class TDockManager : public QObject {
  Q_OBJECT

 public:
  static constexpr int TabStripThickness = 24;

  // Creates the nine windows, hidden and floating. With a document, the windows hear its
  // DataChanged, LinkViewChanged and GpsRangeChanged, and the layout is stored into the
  // document's layout record before every save.
  TDockManager(QMainWindow& window, TDiaryDocument* document, const TDockingFormFactory& factory = {});
  ~TDockManager() override;

  QMainWindow& Window() const { return FWindow; }
  // The nine windows in their fixed order.
  const std::vector<TDockingForm*>& DockingFormList() const { return FForms; }
  TDockingForm* Form(const QString& name) const;
  // The frame of a window while it is in a panel or floating (for tests and for key handling).
  QDockWidget* Host(const TDockingForm* form) const;

  TDockSite Site(const TDockingForm* form) const;
  // Docked in a panel and shown, a tab of a strip, or a shown floating window.
  bool IsFormShown(const TDockingForm* form) const;

  // Docks a window into a panel or onto a tab strip. A window that goes into a hidden panel
  // brings the panel back at its stored size.
  void DockInto(TDockingForm* form, TDockSite site);
  // Makes a window float at the given bounds and shows it.
  void MakeFloating(TDockingForm* form, const QRect& bounds);
  // The View item's "show": the window shows where it is: in its panel or strip, or floating
  // where it was last left. The first time it docks into the right panel with at least a usable
  // height, or into the bottom one when the right has no room left; with no room in either it
  // floats, cascaded from the main window's corner.
  void ShowForm(TDockingForm* form);
  // The close box, or the View item's "close": the window is hidden, and a docked window is
  // first undocked to a floating 640 x 480 window at the desktop's top-left, so that it comes
  // back there.
  void CloseForm(TDockingForm* form);
  // The View item: closes a shown window, shows a hidden one.
  void ToggleForm(TDockingForm* form);

  // The tab strips (dsRightTabs or dsBottomTabs).
  QTabBar* TabBar(TDockSite strip) const;
  // 24 while the strip holds a tab, 0 otherwise.
  int TabStripSize(TDockSite strip) const;
  // Shows a tab's window beside its strip; another popped-out window goes back behind its tab.
  void PopOut(TDockingForm* form);
  void HidePopOut();
  TDockingForm* PoppedOutForm() const;
  // Where a popped-out window shows, in the main window's coordinates.
  QRect PopOutGeometry() const;

  // The panels (dsRightPanel or dsBottomPanel).
  bool IsPanelShown(TDockSite panel) const;
  // The width of the right panel or the height of the bottom one: the current size while it is
  // shown, otherwise the size it will take when a window docks there.
  int PanelSize(TDockSite panel) const;
  // Shares a panel evenly among its panes.
  void EvenPanes(TDockSite panel);

  // Writes the arrangement into the record's dock lists, pane streams, floating list and panel
  // sizes. A pane stream is Qt's saved state of the main window's docks, kept for each panel
  // that holds windows; the left and memo panel sizes are left as the record has them.
  void StoreLayout(TChildWindowInfo& info);
  // Rebuilds the arrangement from a record, once at start. Whatever the record holds, the
  // result is a usable layout.
  void RestoreLayout(const TChildWindowInfo& info);

 signals:
  // The user changed the arrangement (docked, undocked, moved a splitter).
  void LayoutChanged();
  // A window was shown or hidden somewhere; View menu check marks follow.
  void FormVisibilityChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TEntry {
    TDockingForm* Form = nullptr;
    TDockHost* Host = nullptr;
    // dsRightTabs or dsBottomTabs while the window is a tab; dsFloating otherwise.
    TDockSite TabSite = dsFloating;
    // The size the window pops out at from a tab strip.
    QSize TabSize{DefaultDockWidth, DefaultDockHeight};
    // The panel it was last seen in and when it arrived there: the stored list keeps that order.
    TDockSite LastPanel = dsFloating;
    std::uint64_t DockOrder = 0;
    // Whether the window was ever placed; a window never shown opens at its design place.
    bool IsPlaced = false;
  };

  void CreateForms(const TDockingFormFactory& factory);
  void ConnectDocument();
  TEntry* Find(const TDockingForm* form);
  const TEntry* Find(const TDockingForm* form) const;
  TEntry* FindByName(const QString& name);
  TTabStrip* Strip(TDockSite strip) const;
  std::vector<TDockHost*> PanelHosts(TDockSite panel) const;
  TDockSite PanelOf(const TDockHost* host) const;
  QRect Desktop() const;

  // Takes a window off its tab strip (its body back into its frame); nothing for other windows.
  void LeaveTabStrip(TEntry& entry);
  void AddTab(TEntry& entry, TDockSite strip);
  void PlaceInPanel(TEntry& entry, TDockSite panel);
  // The panel a window shown for the first time goes to; dsFloating when both are full.
  TDockSite PanelWithRoomFor(const TDockingForm* form) const;
  // A window that has just docked gets at least the length it needs to be read.
  void GiveUsableLength(TEntry& entry, TDockSite panel);
  void ApplyPanelSize(TDockSite panel);
  void UpdateStrips();
  // Notes the shown panels' sizes, for when they come back after being empty.
  void RememberPanelSizes();
  // Brings the bookkeeping up to date after the arrangement changed: panels that were hidden
  // and got a window take their stored size, the docking order, the strips. `byUser` reports
  // the change as a layout change.
  void SyncSites(bool byUser);
  void OnHostMoved();
  void OnTabClicked(TDockSite strip, int index);
  void ShowHostMenu(TDockingForm* form, const QPoint& globalPos);
  void PlacePopOut();

  // Restoring (dock_layout.cpp).
  struct TPlan;
  void ApplyPlan(const TPlan& plan);
  bool MatchesPlan(const TPlan& plan) const;
  void ResetAllToHidden();
  bool RestorePaneStream(const std::string& stream);

  QMainWindow& FWindow;
  QPointer<TDiaryDocument> FDocument;
  std::vector<TDockingForm*> FForms;
  std::vector<TEntry> FEntries;
  TTabStrip* FRightStrip = nullptr;
  TTabStrip* FBottomStrip = nullptr;
  TTabPopOut* FPopOut = nullptr;
  std::array<int, 2> FPanelSize{DefaultPanelSize, DefaultPanelSize};  // right, bottom
  std::array<bool, 2> FPanelShown{false, false};
  std::uint64_t FDockCounter = 0;
  int FCascaded = 0;
  int FRestoring = 0;
  bool FSeparatorPressed = false;
  bool FWatchingClicks = false;
};

}  // namespace hakuvo
